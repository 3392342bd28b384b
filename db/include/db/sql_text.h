// Helpers for writing values into statement text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace db {

// `value` in single quotes, with every single quote inside it doubled, so
// that a value read from the database can be written into a statement.
std::string quoted(std::string_view value);

// `name` in square brackets, with every closing bracket inside it doubled:
// a name read from the catalogue written into a statement as an identifier.
std::string bracketed(std::string_view name);

// The lines each followed by CR LF: the text of a statement that is built
// line by line.
std::string join_lines_crlf(const std::vector<std::string>& lines);

// Splits a script text into lines at CR, LF or CR LF; a line break at the
// very end does not make an extra empty line.
std::vector<std::string> split_lines(std::string_view text);

bool iequals(std::string_view a, std::string_view b);

// `text` without the blanks and control characters (codes up to 32) at
// either end, as the upgrade trims values it reads and lines it compares.
std::string_view trimmed(std::string_view text);

}  // namespace db
