// CRC-32C (Castagnoli), the checksum of every record and file the data
// directory writes. Chosen over the zlib CRC-32 because it detects more
// error patterns in short records and is what LevelDB and ext4 use.
#pragma once

#include <cstdint>
#include <string_view>

namespace standin::storage {

// Continues a checksum: crc32c_extend(crc32c(a), b) == crc32c(a + b).
uint32_t crc32c_extend(uint32_t crc, std::string_view data);

inline uint32_t crc32c(std::string_view data) { return crc32c_extend(0, data); }

}  // namespace standin::storage
