#include "storage/data_directory.h"

#include <algorithm>
#include <system_error>

#include "standin/standin.h"
#include "storage/file_names.h"
#include "storage/snapshot_file.h"

namespace standin::storage {
namespace {

bool ends_with(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool is_snapshot_file(std::string_view name) { return ends_with(name, ".snap"); }

bool is_journal_file(std::string_view name) { return starts_with(name, "journal.") && ends_with(name, ".log"); }

bool is_temp_file(std::string_view name) { return ends_with(name, kTempSuffix); }

FileHandle lock_directory(const std::filesystem::path& dir) {
  const std::filesystem::path lock_path = dir / std::string(kLockFileName);
  FileHandle lock = open_file(lock_path, OpenFor::LockingOrCreating);
  if (!try_lock_exclusively(lock, lock_path)) {
    throw OpenError("data directory " + dir.string() + " is in use by another process");
  }
  return lock;
}

// Only the manifest tells a data directory apart from any other folder: a
// directory whose creation stopped before the manifest holds no data yet.
void require_existing(const std::filesystem::path& dir) {
  if (!std::filesystem::exists(dir)) {
    throw OpenError("data directory " + dir.string() + " does not exist");
  }
  if (!std::filesystem::is_directory(dir)) {
    throw OpenError(dir.string() + " is no data directory: it is not a directory");
  }
  if (!std::filesystem::exists(dir / std::string(kManifestFileName))) {
    throw OpenError(dir.string() + " is no data directory: it holds no " + std::string(kManifestFileName));
  }
}

}  // namespace

DataDirectory::DataDirectory(std::filesystem::path dir, FileHandle lock)
    : dir_(std::move(dir)), lock_(std::move(lock)) {}

DataDirectory::~DataDirectory() = default;

std::unique_ptr<DataDirectory> DataDirectory::open(const std::filesystem::path& dir, OpenMode mode) {
  if (mode == OpenMode::MustExist) require_existing(dir);
  std::filesystem::create_directories(dir);
  FileHandle lock = lock_directory(dir);
  std::unique_ptr<DataDirectory> data(new DataDirectory(dir, std::move(lock)));
  data->load_or_create_manifest();
  data->remove_unreferenced_files();
  return data;
}

// Without a manifest the directory is new, or its creation was interrupted
// before the manifest was written; then it can hold an empty journal at most.
// Snapshot files without a manifest mean the manifest was lost, and guessing
// which snapshots were in force could bring back dropped data.
void DataDirectory::load_or_create_manifest() {
  std::filesystem::path manifest_path = file(kManifestFileName);
  if (std::filesystem::exists(manifest_path)) {
    manifest_ = decode_manifest(read_whole_file(manifest_path), manifest_path);
  } else {
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      std::string name = entry.path().filename().string();
      if (is_snapshot_file(name)) {
        throw OpenError("data directory " + dir_.string() + " holds snapshot " + name +
                        " but no MANIFEST; refusing to guess which snapshots are current");
      }
    }
    manifest_ = Manifest{};
    Journal::create(file(journal_file_name(0)), 0);
    write_file_atomically(manifest_path, encode_manifest(manifest_));
  }
  std::filesystem::path journal_path = file(journal_file_name(manifest_.generation));
  if (!std::filesystem::exists(journal_path)) {
    throw OpenError("journal file " + journal_path.string() + " is missing");
  }
  journal_.emplace(Journal::open(journal_path, manifest_.generation));
}

// Temporary files, snapshots of an interrupted or superseded checkpoint and
// old journals. Only names of our own kinds are touched.
void DataDirectory::remove_unreferenced_files() {
  std::vector<std::filesystem::path> obsolete;
  std::string current_journal = journal_file_name(manifest_.generation);
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    std::string name = entry.path().filename().string();
    bool referenced = std::any_of(manifest_.entries.begin(), manifest_.entries.end(),
                                  [&](const Manifest::Entry& e) { return e.file == name; });
    bool staged =
        std::any_of(staged_.begin(), staged_.end(), [&](const auto& s) { return s.second && *s.second == name; });
    if (is_temp_file(name) || (is_snapshot_file(name) && !referenced && !staged) ||
        (is_journal_file(name) && name != current_journal)) {
      obsolete.push_back(entry.path());
    }
  }
  for (const auto& path : obsolete) std::filesystem::remove(path);
  if (!obsolete.empty()) sync_directory(dir_);
}

void DataDirectory::write_snapshot(std::string_view database, std::string_view payload) {
  std::string name = snapshot_file_name(database, manifest_.generation + 1);
  write_file_atomically(file(name), encode_snapshot(database, payload));
  std::erase_if(staged_, [&](const auto& s) { return s.first == database; });
  staged_.emplace_back(std::string(database), name);
}

void DataDirectory::remove_snapshot(std::string_view database) {
  std::erase_if(staged_, [&](const auto& s) { return s.first == database; });
  staged_.emplace_back(std::string(database), std::nullopt);
}

std::string DataDirectory::read_entry(const Manifest::Entry& entry) {
  std::filesystem::path path = file(entry.file);
  if (!std::filesystem::exists(path)) {
    throw OpenError("snapshot file " + path.string() + " of database " + entry.database + " is missing");
  }
  Snapshot snapshot = decode_snapshot(read_whole_file(path), path);
  if (snapshot.database != entry.database) {
    throw OpenError("snapshot file " + path.string() + " holds database " + snapshot.database + ", expected " +
                    entry.database);
  }
  return std::move(snapshot.payload);
}

std::vector<std::pair<std::string, std::string>> DataDirectory::read_snapshots() {
  std::vector<std::pair<std::string, std::string>> snapshots;
  for (const auto& entry : manifest_.entries) snapshots.emplace_back(entry.database, read_entry(entry));
  return snapshots;
}

std::string DataDirectory::read_snapshot(std::string_view database) {
  for (const auto& entry : manifest_.entries)
    if (entry.database == database) return read_entry(entry);
  throw OpenError("data directory " + dir_.string() + " holds no snapshot of database " + std::string(database));
}

std::vector<std::string> DataDirectory::snapshot_names() const {
  std::vector<std::string> names;
  for (const auto& entry : manifest_.entries) names.push_back(entry.database);
  return names;
}

void DataDirectory::append_journal(std::string_view payload) { journal_->append(payload); }

void DataDirectory::append_journal_group(const std::vector<std::string>& payloads) { journal_->append_group(payloads); }

void DataDirectory::sync_journal() { journal_->sync(); }

std::vector<std::string> DataDirectory::read_journal() {
  return scan_journal(read_whole_file(journal_->path()), manifest_.generation, journal_->path()).records;
}

// The committed entries with the staged changes applied: replaced files in
// place, removals dropped, new databases at the end in staging order.
Manifest DataDirectory::next_manifest() const {
  Manifest next;
  next.generation = manifest_.generation + 1;
  auto staged_for = [&](const std::string& database) {
    return std::find_if(staged_.begin(), staged_.end(), [&](const auto& s) { return s.first == database; });
  };
  for (const auto& entry : manifest_.entries) {
    auto staged = staged_for(entry.database);
    if (staged == staged_.end()) {
      next.entries.push_back(entry);
    } else if (staged->second) {
      next.entries.push_back({entry.database, *staged->second});
    }
  }
  for (const auto& staged : staged_) {
    bool known = std::any_of(manifest_.entries.begin(), manifest_.entries.end(),
                             [&](const Manifest::Entry& e) { return e.database == staged.first; });
    if (!known && staged.second) next.entries.push_back({staged.first, *staged.second});
  }
  return next;
}

void DataDirectory::reset_journal() {
  Manifest next = next_manifest();
  std::filesystem::path journal_path = file(journal_file_name(next.generation));
  Journal::create(journal_path, next.generation);
  // The checkpoint takes effect with this rename.
  write_file_atomically(file(kManifestFileName), encode_manifest(next));
  manifest_ = std::move(next);
  staged_.clear();
  journal_.emplace(Journal::open(journal_path, manifest_.generation));
  remove_unreferenced_files();
}

uint64_t DataDirectory::journal_bytes() const { return journal_->record_bytes(); }

}  // namespace standin::storage
