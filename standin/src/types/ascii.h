// ASCII case folding for names: keywords, type, function and date-part
// names, variables. Only A-Z and a-z fold; other bytes (UTF-8 included) are
// left alone, whatever the C locale says.
#pragma once

#include <string>
#include <string_view>

namespace standin {

inline char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
inline char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

inline bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

inline std::string ascii_lowered(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = ascii_lower(c);
  return r;
}

inline std::string ascii_uppered(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = ascii_upper(c);
  return r;
}

}  // namespace standin
