// The built-in scalar functions, looked up by name.
#pragma once

#include <span>
#include <string_view>

#include "standin/standin.h"
#include "types/eval_context.h"

namespace standin {

// Evaluates a call. `args` are already evaluated; NULL handling is the
// function's own (most return NULL for a NULL argument, ISNULL does not).
using ScalarFn = bool (*)(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err);

struct ScalarFunction {
  const char* name;
  int min_args;
  int max_args;
  ScalarFn fn;
};

// Case-insensitive; nullptr if unknown.
const ScalarFunction* find_scalar_function(std::string_view name);

}  // namespace standin
