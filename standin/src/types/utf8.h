// UTF-8 helpers. Strings are held as UTF-8 and their SQL length counts
// characters, not bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace standin {

// Number of code points (continuation bytes are not counted).
inline size_t utf8_length(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// Decodes the code point at s[*pos] and advances *pos. Invalid bytes
// decode as themselves (as Latin-1), so any input is accepted.
inline char32_t utf8_next(std::string_view s, size_t* pos) {
  unsigned char c = static_cast<unsigned char>(s[*pos]);
  if (c < 0x80) {
    ++*pos;
    return c;
  }
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (extra == 0 || *pos + static_cast<size_t>(extra) >= s.size()) {
    ++*pos;
    return c;
  }
  char32_t cp = c & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    unsigned char cc = static_cast<unsigned char>(s[*pos + i]);
    if ((cc & 0xC0) != 0x80) {
      ++*pos;
      return c;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  *pos += extra + 1;
  return cp;
}

inline void utf8_append(std::string* out, char32_t cp) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (cp >> 18));
    *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Byte offset of the first `chars` code points (the whole string when shorter).
inline size_t utf8_prefix_bytes(std::string_view s, size_t chars) {
  size_t pos = 0;
  while (chars > 0 && pos < s.size()) {
    utf8_next(s, &pos);
    --chars;
  }
  return pos;
}

}  // namespace standin
