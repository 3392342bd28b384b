#include "sqlite_dialect.h"

#include <cctype>

namespace bench {
namespace {

size_t find_select(std::string_view s) {
  for (size_t i = 0; i + 8 <= s.size(); ++i) {
    std::string_view word = s.substr(i, 8);
    bool match = word[0] == ' ' && word[7] == ' ';
    for (size_t k = 1; match && k < 7; ++k) {
      match = std::toupper(static_cast<unsigned char>(word[k])) == "SELECT"[k - 1];
    }
    if (match) return i;
  }
  return std::string_view::npos;
}

// The end of the value starting at `pos`: a literal in single quotes (with
// '' inside) or everything up to the next comma.
size_t value_end(std::string_view s, size_t pos) {
  if (pos < s.size() && s[pos] == '\'') {
    for (size_t i = pos + 1; i < s.size(); ++i) {
      if (s[i] != '\'') continue;
      if (i + 1 < s.size() && s[i + 1] == '\'') {
        ++i;
        continue;
      }
      return i + 1;
    }
    return s.size();
  }
  size_t comma = s.find(',', pos);
  return comma == std::string_view::npos ? s.size() : comma;
}

}  // namespace

std::string positional_insert_for_sqlite(std::string_view statement) {
  size_t select = find_select(statement);
  if (select == std::string_view::npos) return std::string(statement);
  std::string out(statement.substr(0, select + 8));
  size_t pos = select + 8;
  bool first = true;
  while (pos < statement.size()) {
    while (pos < statement.size() && statement[pos] == ' ') ++pos;
    // A label is a name followed by '=' before any literal or comma.
    size_t equals = statement.find('=', pos);
    size_t stop = statement.find_first_of("',", pos);
    if (equals != std::string_view::npos && (stop == std::string_view::npos || equals < stop)) {
      pos = equals + 1;  // drop the label
    }
    size_t end = value_end(statement, pos);
    if (!first) out += ", ";
    out.append(statement.substr(pos, end - pos));
    first = false;
    pos = end < statement.size() ? end + 1 : end;  // past the comma
  }
  return out;
}

}  // namespace bench
