// Collation and comparison. The databases use a case-insensitive,
// accent-sensitive Western European collation: 'ä' = 'Ä', 'a' <> 'ä',
// trailing blanks are ignored.
#pragma once

#include <string>
#include <string_view>

#include "standin/standin.h"
#include "types/eval_context.h"

namespace standin {

// <0, 0, >0; UTF-8 input. Letters sort in German dictionary order (ä right
// after a, ß next to ss), equality is exact case-insensitive.
int collate_compare(std::string_view a, std::string_view b);

// Equal keys exactly when collate_compare == 0 (for hashing, grouping,
// unique keys). Ordering of keys is not the collation's ordering.
std::string collate_key(std::string_view s);

// % _ [abc] [a-z] [^a], collation-aware. As on SQL Server for char and
// varchar, trailing blanks of the matched text are ignored while those of
// the pattern count: 'abc ' LIKE 'abc' holds, 'abc' LIKE 'abc ' does not.
bool like_match(std::string_view text, std::string_view pattern);

// LIKE with an ESCAPE character.
bool like_match(std::string_view text, std::string_view pattern, char32_t escape);

// Compares two non-null values after implicit conversion to their common type.
bool compare_values(const Value& a, const Value& b, const EvalContext& ctx, int* result, Error* err);

}  // namespace standin
