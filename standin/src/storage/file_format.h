// What every file of a data directory begins and ends with.
//
// A file starts with an 8-byte magic naming its kind and a 32-bit format
// version, so that a stranger's file or a file of a newer release is refused
// with a clear sentence instead of being misread. Whole-file formats (the
// snapshot and the manifest) end with the CRC-32C of everything before it;
// the journal checks each record instead (see journal.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "storage/codec.h"

namespace standin::storage {

struct FileKind {
  std::string_view magic;  // exactly 8 bytes
  uint32_t version;        // the one version this build reads and writes
  std::string_view noun;   // for messages: "snapshot file"
};

inline constexpr FileKind kSnapshotKind{"STDNSNAP", 1, "snapshot file"};
inline constexpr FileKind kManifestKind{"STDNMANI", 1, "manifest file"};
inline constexpr FileKind kJournalKind{"STDNJRNL", 1, "journal file"};

inline constexpr size_t kFileHeaderSize = 12;

void write_file_header(Writer& out, const FileKind& kind);

// Checks magic and version; throws OpenError naming `path` and the reason.
void check_file_header(Reader& in, const FileKind& kind, const std::filesystem::path& path);

// Appends the CRC-32C of the bytes written so far.
std::string seal(Writer out);

// Verifies a sealed whole file (header first, then the checksum, so that a
// file of another version is reported as such) and returns a Reader placed
// after the header and limited to the body. Throws OpenError.
Reader unseal(std::string_view file, const FileKind& kind, const std::filesystem::path& path);

// OpenError "<noun> <path>: <reason>".
[[noreturn]] void throw_damaged(const FileKind& kind, const std::filesystem::path& path, const std::string& reason);

}  // namespace standin::storage
