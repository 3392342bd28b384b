// The manifest names the state a data directory is in: the generation of the
// last checkpoint, the snapshot file of every database (in creation order)
// and, through the generation, the journal that continues from them.
//
// A checkpoint writes its snapshot files under new names and then replaces
// the manifest atomically; the rename of the manifest is the moment the
// checkpoint takes effect. A crash before it leaves the previous manifest,
// whose files are all still there, so the engine never sees a mix of old
// and new snapshots and never replays a statement twice.
//
//   header (magic "STDNMANI", version) | varint generation | varint count |
//   count x (str database, str file) | crc32c
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace standin::storage {

struct Manifest {
  struct Entry {
    std::string database;
    std::string file;  // inside the data directory
  };
  uint64_t generation = 0;
  std::vector<Entry> entries;
};

std::string encode_manifest(const Manifest& manifest);

// Throws OpenError naming `path` when the file is not a valid manifest.
Manifest decode_manifest(std::string_view file, const std::filesystem::path& path);

}  // namespace standin::storage
