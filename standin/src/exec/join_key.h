// Hash keys for equality joins: two values get the same key exactly when
// `=` holds between them. Only pairs of columns whose types compare without
// a conversion that could change the outcome are joined by key: exact
// numerics with exact numerics (int = decimal(9,2) compares 5 and 5.00
// equal), floats with floats, strings with strings (under the server
// collation). Any other equality is applied as a filter.
#pragma once

#include <optional>
#include <string>

#include "standin/value.h"

namespace standin {

enum class KeyFamily { None, Exact, Float, String };

KeyFamily key_family(const TypeInfo& t);

// The key of `v`; nullopt for NULL, which equals nothing.
std::optional<std::string> join_key(const Value& v);

}  // namespace standin
