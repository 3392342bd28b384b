#include "common/sql_text.h"

#include <cstdint>

namespace tools {

std::string quoted(std::string_view value) {
  std::string literal = "'";
  for (char c : value) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  literal += '\'';
  return literal;
}

std::string_view trimmed(std::string_view value) {
  size_t begin = value.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  size_t end = value.find_last_not_of(' ');
  return value.substr(begin, end - begin + 1);
}

namespace {

// Code points of 0x80-0x9F in Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string cp1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    auto byte = static_cast<uint8_t>(c);
    char32_t code = byte;
    if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80] != 0) code = kHighControls[byte - 0x80];
    append_utf8(out, code);
  }
  return out;
}

}  // namespace tools
