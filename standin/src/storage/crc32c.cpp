#include "storage/crc32c.h"

#include <array>

namespace standin::storage {
namespace {

// Reflected polynomial of CRC-32C.
constexpr uint32_t kPolynomial = 0x82F63B78u;

// Slicing-by-4 tables: table[k][b] is the CRC of byte b followed by k zero
// bytes, so four input bytes are folded per step instead of one.
using Tables = std::array<std::array<uint32_t, 256>, 4>;

constexpr Tables make_tables() {
  Tables t{};
  for (uint32_t b = 0; b < 256; ++b) {
    uint32_t crc = b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1u) ? kPolynomial : 0u);
    t[0][b] = crc;
  }
  for (uint32_t b = 0; b < 256; ++b) {
    for (int k = 1; k < 4; ++k) t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFFu];
  }
  return t;
}

constexpr Tables kTables = make_tables();

}  // namespace

uint32_t crc32c_extend(uint32_t crc, std::string_view data) {
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  size_t n = data.size();
  uint32_t c = ~crc;
  while (n >= 4) {
    c ^= uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    c = kTables[3][c & 0xFFu] ^ kTables[2][(c >> 8) & 0xFFu] ^ kTables[1][(c >> 16) & 0xFFu] ^ kTables[0][c >> 24];
    p += 4;
    n -= 4;
  }
  while (n-- > 0) c = (c >> 8) ^ kTables[0][(c ^ *p++) & 0xFFu];
  return ~c;
}

}  // namespace standin::storage
