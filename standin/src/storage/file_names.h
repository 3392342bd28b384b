// Names of the files inside a data directory:
//
//   LOCK                  held with flock(2) by the process that has it open
//   MANIFEST              which snapshot files and which journal are current
//   <db>.<gen>.snap       a database snapshot written by checkpoint <gen>
//   journal.<gen>.log     statements committed since checkpoint <gen>
//   *.tmp                 an interrupted atomic write; never read
//
// <db> is the database name escaped for any file system: ASCII letters,
// digits, '_' and '-' stay, every other byte becomes %XX. A name whose escape
// would be too long for a file name is cut and completed by a checksum of the
// whole name. The manifest maps database names to files, so the file name
// never has to be turned back into a database name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin::storage {

inline constexpr std::string_view kLockFileName = "LOCK";
inline constexpr std::string_view kManifestFileName = "MANIFEST";

std::string escape_database_name(std::string_view name);
std::string snapshot_file_name(std::string_view database, uint64_t generation);
std::string journal_file_name(uint64_t generation);

}  // namespace standin::storage
