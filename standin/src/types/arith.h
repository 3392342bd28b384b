// The arithmetic operators and string concatenation, with SQL Server's
// result types, overflow checks and NULL propagation.
#pragma once

#include "standin/standin.h"
#include "types/eval_context.h"

namespace standin {

enum class ArithOp { Add, Subtract, Multiply, Divide, Modulo };

// a op b. NULL operands give a NULL of the result type. String + string
// concatenates; string + number converts the string to the number's type;
// datetime + number adds days (fractions as time of day).
bool arith(ArithOp op, const Value& a, const Value& b, const EvalContext& ctx, Value* out, Error* err);

// Unary minus. Unary plus needs no function: it changes nothing, on
// strings too.
bool negate(const Value& a, Value* out, Error* err);

// The type of `a op b`; for decimals SQL Server's precision and scale rules.
TypeInfo arith_result_type(ArithOp op, const TypeInfo& a, const TypeInfo& b);

bool concat(const Value& a, const Value& b, Value* out, Error* err);  // '+' on strings

}  // namespace standin
