#include "types/codepage.h"

#include "types/utf8.h"

namespace standin {

namespace {

// Code points of the bytes 0x80..0x9F; 0 where the code page has none.
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int byte_of(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == cp) return 0x80 + i;
  }
  return -1;
}

char32_t code_point_of(unsigned char b) {
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80] ? kHigh[b - 0x80] : b;
  return b;
}

}  // namespace

std::string to_codepage_text(std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) ascii &= static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  std::string out;
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp = utf8_next(utf8, &pos);
    utf8_append(&out, byte_of(cp) >= 0 ? cp : U'?');
  }
  return out;
}

std::string to_codepage_bytes(std::string_view utf8) {
  std::string out;
  size_t pos = 0;
  while (pos < utf8.size()) {
    int b = byte_of(utf8_next(utf8, &pos));
    out += static_cast<char>(b >= 0 ? b : '?');
  }
  return out;
}

std::string from_codepage_bytes(std::string_view bytes) {
  std::string out;
  for (unsigned char b : bytes) utf8_append(&out, code_point_of(b));
  return out;
}

std::string to_utf16le_bytes(std::string_view utf8) {
  std::string out;
  size_t pos = 0;
  auto unit = [&out](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
  };
  while (pos < utf8.size()) {
    char32_t cp = utf8_next(utf8, &pos);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      unit(0xD800 + (cp >> 10));
      unit(0xDC00 + (cp & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

std::string from_utf16le_bytes(std::string_view bytes) {
  std::string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t u =
        static_cast<unsigned char>(bytes[i]) | (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8);
    if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
      char32_t lo = static_cast<unsigned char>(bytes[i + 2]) |
                    (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 3])) << 8);
      u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
      i += 2;
    }
    utf8_append(&out, u);
  }
  return out;
}

}  // namespace standin
