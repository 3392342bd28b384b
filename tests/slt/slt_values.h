// Results of a query as sqllogictest writes them: each value as text in the
// manner its column letter asks for, sorted as the record asks, and the MD5
// hash that stands for a long list of values.
#pragma once

#include <string>
#include <vector>

#include "slt_record.h"
#include "standin/standin.h"

namespace slt {

// One value as text: 'I' an integer, 'R' a real with three decimals, 'T'
// text ("(empty)" for the empty string, '@' for unprintable bytes); NULL
// is "NULL" whatever the letter.
std::string format_value(const standin::Value& v, char type);

// The values of a result set row by row, sorted as `sort` asks.
std::vector<std::string> format_result(const standin::ResultSet& rs, const std::string& types, Record::Sort sort);

// Lower-case hex MD5 of the values, each followed by a newline.
std::string hash_values(const std::vector<std::string>& values);

// Whether `actual` matches the expected lines of a query: the values one a
// line, the rows one a line with values separated by blanks, or
// "N values hashing to H".
bool matches_expected(const std::vector<std::string>& actual, size_t columns, const std::vector<std::string>& expected);

}  // namespace slt
