#include "storage/snapshot_file.h"

#include "storage/file_format.h"

namespace standin::storage {

std::string encode_snapshot(std::string_view database, std::string_view payload) {
  Writer out;
  write_file_header(out, kSnapshotKind);
  out.str(database);
  out.str(payload);
  return seal(std::move(out));
}

Snapshot decode_snapshot(std::string_view file, const std::filesystem::path& path) {
  Reader in = unseal(file, kSnapshotKind, path);
  Snapshot snapshot;
  if (!in.str(&snapshot.database) || !in.str(&snapshot.payload) || !in.at_end()) {
    throw_damaged(kSnapshotKind, path, "malformed content");
  }
  return snapshot;
}

}  // namespace standin::storage
