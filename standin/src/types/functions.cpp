#include "types/functions.h"

#include "types/ascii.h"
#include "types/function_families.h"

namespace standin {

bool null_argument(std::span<const Value> args, const TypeInfo& result, Value* out) {
  for (const Value& v : args) {
    if (v.is_null()) {
      *out = Value::null(result);
      return true;
    }
  }
  return false;
}

const ScalarFunction* find_scalar_function(std::string_view name) {
  for (auto family : {string_functions(), date_functions(), math_functions(), null_functions()}) {
    for (const ScalarFunction& f : family) {
      if (iequals(name, f.name)) return &f;
    }
  }
  return nullptr;
}

}  // namespace standin
