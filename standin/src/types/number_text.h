// Numbers as text and text as numbers, the way conversions need them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace standin {

// Leading and trailing blanks ignored, optional sign, digits only.
bool parse_integer_text(std::string_view text, int64_t* out, bool* overflow);

// Decimal or exponent notation; blanks ignored.
bool parse_float_text(std::string_view text, double* out);

// Money text: optional currency sign and thousands separators.
bool parse_money_text(std::string_view text, std::string* plain);

}  // namespace standin
