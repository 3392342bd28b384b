#include "storage/snapshot_file.h"

#include "storage/file_format.h"

namespace standin::storage {

std::string encode_snapshot(std::string_view database, std::string_view payload) {
  Writer out;
  // Header, two length prefixes of at most 10 bytes each, checksum: the
  // payload of megabytes is copied once.
  out.reserve(kFileHeaderSize + size_t{2} * 10 + database.size() + payload.size() + 4);
  write_file_header(out, kSnapshotKind);
  out.str(database);
  out.str(payload);
  return seal(std::move(out));
}

Snapshot decode_snapshot(std::string file, const std::filesystem::path& path) {
  Reader in = unseal(file, kSnapshotKind, path);
  Snapshot snapshot;
  std::string_view payload;
  if (!in.str(&snapshot.database) || !in.str_view(&payload) || !in.at_end()) {
    throw_damaged(kSnapshotKind, path, "malformed content");
  }
  // Cut the payload out of the file's own buffer instead of copying it.
  size_t offset = static_cast<size_t>(payload.data() - file.data());
  size_t length = payload.size();
  file.erase(0, offset);
  file.resize(length);
  snapshot.payload = std::move(file);
  return snapshot;
}

}  // namespace standin::storage
