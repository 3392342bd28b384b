// A snapshot file: one database's catalog and rows as the catalog serialises
// them (an opaque payload here), together with the database's name.
//
//   header (magic "STDNSNAP", version) | str name | str payload | crc32c
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace standin::storage {

struct Snapshot {
  std::string database;
  std::string payload;
};

std::string encode_snapshot(std::string_view database, std::string_view payload);

// Throws OpenError naming `path` when the file is not a valid snapshot.
// Takes the file's bytes over, so that a large snapshot is not held twice.
Snapshot decode_snapshot(std::string file, const std::filesystem::path& path);

}  // namespace standin::storage
