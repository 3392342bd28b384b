#include "types/number_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "types/convert.h"

namespace standin {

namespace {

std::string_view trim_blanks(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

bool parse_integer_text(std::string_view text, int64_t* out, bool* overflow) {
  *overflow = false;
  text = trim_blanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  unsigned __int128 v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > (static_cast<unsigned __int128>(1) << 63)) {
      *overflow = true;
      v = static_cast<unsigned __int128>(1) << 63;
    }
  }
  if (!negative && v == (static_cast<unsigned __int128>(1) << 63)) {
    *overflow = true;
    return false;
  }
  if (*overflow) return false;
  *out = negative ? static_cast<int64_t>(-static_cast<__int128>(v)) : static_cast<int64_t>(v);
  return true;
}

bool parse_float_text(std::string_view text, double* out) {
  text = trim_blanks(text);
  if (text.empty()) return false;
  std::string s(text);
  for (char c : s) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) {
      return false;
    }
  }
  char* end = nullptr;
  errno = 0;
  double d = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(d)) return false;
  *out = d;
  return true;
}

bool parse_money_text(std::string_view text, std::string* plain) {
  text = trim_blanks(text);
  plain->clear();
  bool sign_seen = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '$' && plain->empty()) continue;
    if (c == ',') continue;
    if ((c == '-' || c == '+') && plain->empty() && !sign_seen) {
      sign_seen = true;
      *plain += c;
      continue;
    }
    *plain += c;
  }
  return !plain->empty();
}

std::string format_float_default(double d) {
  if (d == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", d);
  // SQL Server writes the exponent with three digits: 1.23457e+008.
  std::string s = buf;
  size_t e = s.find('e');
  if (e != std::string::npos) {
    std::string digits = s.substr(e + 2);
    while (digits.size() < 3) digits = "0" + digits;
    s = s.substr(0, e + 2) + digits;
  }
  return s;
}

}  // namespace standin
