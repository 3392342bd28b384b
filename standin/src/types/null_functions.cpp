// NULL replacement: ISNULL, COALESCE, NULLIF, and NEWID.
#include <random>
#include <string>

#include "types/compare.h"
#include "types/convert.h"
#include "types/function_families.h"

namespace standin {

namespace {

// ISNULL(a, b): the type of a; b is converted to it (text is cut to a's
// length without an error, as SQL Server does).
bool fn_isnull(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  if (!args[0].is_null()) {
    *out = args[0];
    return true;
  }
  return cast_value(args[1], args[0].type(), ctx, out, err);
}

// COALESCE: the first non-NULL argument, in the type of highest precedence.
bool fn_coalesce(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  TypeInfo t = args[0].type();
  for (const Value& v : args.subspan(1)) t = common_type(t, v.type());
  for (const Value& v : args) {
    if (!v.is_null()) return cast_value(v, t, ctx, out, err);
  }
  *out = Value::null(t);
  return true;
}

bool fn_nullif(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  if (args[0].is_null() || args[1].is_null()) {
    *out = args[0];
    return true;
  }
  int c;
  if (!compare_values(args[0], args[1], ctx, &c, err)) return false;
  *out = c == 0 ? Value::null(args[0].type()) : args[0];
  return true;
}

std::string random_guid() {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  static const char kHex[] = "0123456789ABCDEF";
  uint64_t hi = rng(), lo = rng();
  hi = (hi & ~0xF000ULL) | 0x4000ULL;        // version 4
  lo = (lo & ~(3ULL << 62)) | (2ULL << 62);  // variant 10
  std::string s;
  for (int i = 0; i < 32; ++i) {
    uint64_t word = i < 16 ? hi : lo;
    s += kHex[(word >> (60 - 4 * (i % 16))) & 15];
    if (i == 7 || i == 11 || i == 15 || i == 19) s += '-';
  }
  return s;
}

bool fn_newid(std::span<const Value>, const EvalContext& ctx, Value* out, Error*) {
  *out = Value::guid(ctx.new_guid ? ctx.new_guid() : random_guid());
  return true;
}

constexpr ScalarFunction kNullFunctions[] = {
    {"ISNULL", 2, 2, fn_isnull},
    {"COALESCE", 1, 64, fn_coalesce},
    {"NULLIF", 2, 2, fn_nullif},
    {"NEWID", 0, 0, fn_newid},
};

}  // namespace

std::span<const ScalarFunction> null_functions() { return kNullFunctions; }

}  // namespace standin
