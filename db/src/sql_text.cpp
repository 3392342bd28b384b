#include "db/sql_text.h"

#include <cctype>

namespace db {

std::string_view trimmed(std::string_view text) {
  auto blank_or_control = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank_or_control(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank_or_control(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

// `text` between `open` and `close`, every `close` inside it doubled: the
// one escape rule of T-SQL's string literals and bracketed names.
std::string enclosed(std::string_view text, char open, char close) {
  std::string out(1, open);
  for (char c : text) {
    out += c;
    if (c == close) out += close;
  }
  out += close;
  return out;
}

}  // namespace

std::string quoted(std::string_view value) { return enclosed(value, '\'', '\''); }

std::string bracketed(std::string_view name) { return enclosed(name, '[', ']'); }

std::string join_lines_crlf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

std::vector<std::string> split_lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace db
