// Aggregate functions: COUNT, COUNT_BIG, SUM, AVG, MIN, MAX.
#pragma once

#include <memory>
#include <string_view>

#include "standin/standin.h"
#include "types/eval_context.h"

namespace standin {

class Aggregate {
 public:
  virtual ~Aggregate() = default;
  // NULLs are ignored (except by COUNT(*), which the caller feeds non-null
  // values).
  virtual bool add(const Value& v, const EvalContext& ctx, Error* err) = 0;
  // Over no rows: COUNT gives 0, the others NULL.
  virtual Value result() const = 0;
};

// `distinct` for COUNT(DISTINCT x) etc. nullptr for an unknown name and for
// SUM or AVG of a type that cannot be summed (aggregate_argument_error).
std::unique_ptr<Aggregate> make_aggregate(std::string_view name, bool distinct, const TypeInfo& arg_type);

// SUM of int -> int, of decimal(p,s) -> decimal(38,s), of money -> money,
// of float -> float; AVG likewise (decimal: scale at least 6); COUNT -> int;
// COUNT_BIG -> bigint; MIN/MAX -> the argument's type.
TypeInfo aggregate_result_type(std::string_view name, const TypeInfo& arg_type);

// Msg 8117 "Operand data type varchar is invalid for sum operator."
Error aggregate_argument_error(std::string_view name, const TypeInfo& arg_type);

// Whether `name` is one of the aggregates (case-insensitive).
bool is_aggregate_name(std::string_view name);

}  // namespace standin
