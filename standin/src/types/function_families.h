// The function families, registered by functions.cpp. Each family lives in
// a file of its own (string_functions.cpp, date_functions.cpp, ...).
#pragma once

#include <span>

#include "types/functions.h"

namespace standin {

std::span<const ScalarFunction> string_functions();
std::span<const ScalarFunction> date_functions();
std::span<const ScalarFunction> math_functions();
std::span<const ScalarFunction> null_functions();

// The first NULL argument's result, shared by the functions that return
// NULL for any NULL argument: true (with *out set) when an argument is NULL.
bool null_argument(std::span<const Value> args, const TypeInfo& result, Value* out);

}  // namespace standin
