// DataDirectory: the files behind a server that is not purely in memory.
//
// The engine keeps the databases in use in memory. On disk it keeps, per
// database, the snapshot of the last checkpoint that changed it, and one
// journal of the statements committed since the last checkpoint. Opening
// replays: load the snapshots, then run the journal's statements again.
//
// Usage by the engine:
//   auto dir = DataDirectory::open(path);           // lock, recover
//   for (auto& [db, payload] : dir->read_snapshots()) load(db, payload);
//   ... or one database at a time: dir->read_snapshot(db)
//   for (auto& record : dir->read_journal()) replay(record);
//   ... per completed statement: dir->append_journal(record);
//   ... per committed transaction: dir->append_journal_group(records);
//   ... per command text:        dir->sync_journal();
//   checkpoint: write_snapshot() for every database, remove_snapshot() for
//   dropped ones, then reset_journal(), which commits them all at once.
//
// Payloads are opaque bytes; the catalog encodes them (see codec.h). Not
// thread-safe: the server serialises access.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "standin/standin.h"
#include "storage/file_io.h"
#include "storage/journal.h"
#include "storage/manifest.h"

namespace standin::storage {

class DataDirectory {
 public:
  // Creates `dir` when missing and takes an exclusive lock on dir/LOCK, or
  // throws OpenError("data directory DIR is in use by another process").
  // Verifies the manifest and the journal (dropping a torn journal tail) and
  // removes leftovers of an interrupted checkpoint. Throws OpenError for
  // damaged files, std::system_error for I/O failures.
  // With MustExist, a missing directory or one without a MANIFEST is refused
  // with an OpenError naming it, before anything in it is created or locked.
  static std::unique_ptr<DataDirectory> open(const std::filesystem::path& dir,
                                             OpenMode mode = OpenMode::CreateIfMissing);

  ~DataDirectory();  // releases the lock
  DataDirectory(const DataDirectory&) = delete;
  DataDirectory& operator=(const DataDirectory&) = delete;

  // Stages the snapshot of one database for the next checkpoint. Durable at
  // once (the file is synced), but in force only when reset_journal() commits
  // the checkpoint; until then reads still see the previous checkpoint.
  void write_snapshot(std::string_view database, std::string_view payload);

  // Stages the removal of a database's snapshot for the next checkpoint.
  void remove_snapshot(std::string_view database);

  // The committed snapshots, each verified, in the order in which the
  // databases were first written. Throws OpenError naming the file and the
  // reason (checksum, unknown version, missing file); never returns part of
  // a damaged set.
  std::vector<std::pair<std::string, std::string>> read_snapshots();

  // The committed snapshot of one database, verified like those of
  // read_snapshots(). Throws OpenError when there is none.
  std::string read_snapshot(std::string_view database);

  // Names of the databases of the committed snapshots, in the order of
  // read_snapshots(), without reading the files.
  std::vector<std::string> snapshot_names() const;

  // Appends one record with a single write(2): a killed process keeps it.
  void append_journal(std::string_view payload);
  // Appends several records with a single write(2) (a committed transaction).
  void append_journal_group(const std::vector<std::string>& payloads);

  // fdatasync of the journal: records appended so far survive power loss.
  void sync_journal();

  // The records of the journal, in order. A torn tail has already been
  // dropped (and the file truncated) by open(); damage in front of intact
  // records throws OpenError.
  std::vector<std::string> read_journal();

  // Commits a checkpoint: the staged snapshots and removals take effect and
  // the journal starts empty, in one atomic step (the manifest's rename).
  void reset_journal();

  // Bytes of journal records since the last checkpoint.
  uint64_t journal_bytes() const;

  const std::filesystem::path& path() const { return dir_; }

 private:
  DataDirectory(std::filesystem::path dir, FileHandle lock);

  std::filesystem::path file(std::string_view name) const { return dir_ / std::string(name); }
  void load_or_create_manifest();
  void remove_unreferenced_files();
  Manifest next_manifest() const;
  std::string read_entry(const Manifest::Entry& entry);

  std::filesystem::path dir_;
  FileHandle lock_;
  Manifest manifest_;
  std::optional<Journal> journal_;
  // Staged for the next checkpoint: database -> new file, or nullopt for a
  // removal. Kept in staging order for new databases.
  std::vector<std::pair<std::string, std::optional<std::string>>> staged_;
};

}  // namespace standin::storage
