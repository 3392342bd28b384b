// Text helpers for writing SQL statements.
#pragma once

#include <string>
#include <string_view>

namespace tools {

// `value` as a plain string literal: in single quotes, every quote doubled.
std::string quoted(std::string_view value);

// `value` without leading and trailing blanks.
std::string_view trimmed(std::string_view value);

// Converts Windows-1252 (a superset of ISO-8859-1 in 0x80-0x9F, where the
// Bundesbank file would carry an en dash) to UTF-8. Bytes that code page
// leaves undefined are taken as the Latin-1 control characters they are.
std::string cp1252_to_utf8(std::string_view text);

}  // namespace tools
