// Numeric functions: ROUND, CEILING, FLOOR, ABS. Each keeps its argument's
// type family: integers stay integers, money stays money, float stays
// float; ROUND keeps a decimal(p, s) (so rounding that carries into a new
// digit overflows, as on SQL Server), CEILING and FLOOR give decimal(p, 0).
#include <cmath>

#include "types/convert.h"
#include "types/decimal_math.h"
#include "types/function_families.h"
#include "types/sql_error.h"

namespace standin {

namespace {

enum class Direction { Nearest, TowardZero, Up, Down };

// f rounded at 1/unit; CEILING and FLOOR round to whole numbers.
double rounded(double f, double unit, Direction dir) {
  switch (dir) {
    case Direction::Nearest: return std::round(f * unit) / unit;
    case Direction::TowardZero: return std::trunc(f * unit) / unit;
    case Direction::Up: return std::ceil(f);
    case Direction::Down: return std::floor(f);
  }
  return f;
}

// d rounded at 10^-digits (digits may be negative), kept at d's scale.
bool round_decimal(const Decimal& d, int digits, Direction dir, Decimal* out) {
  int drop = d.scale() - digits;  // how many trailing digits go
  if (drop <= 0) {
    *out = d;
    return true;
  }
  if (drop > 38) {  // every digit goes; only a step away from zero would remain
    bool step = (dir == Direction::Up && d.sign() > 0) || (dir == Direction::Down && d.sign() < 0);
    *out = Decimal(0, d.scale());
    return !step;
  }
  unsigned __int128 unit = pow10_u128(drop);
  __int128 v = d.unscaled();
  unsigned __int128 mag = v < 0 ? -static_cast<unsigned __int128>(v) : static_cast<unsigned __int128>(v);
  unsigned __int128 rest = mag % unit, kept = mag - rest;
  bool away = false;  // away from zero by one unit
  switch (dir) {
    case Direction::Nearest: away = rest * 2 >= unit; break;
    case Direction::TowardZero: away = false; break;
    case Direction::Up: away = rest != 0 && v > 0; break;
    case Direction::Down: away = rest != 0 && v < 0; break;
  }
  if (away) kept += unit;
  if (kept > max_unscaled(38)) return false;
  __int128 r = static_cast<__int128>(kept);
  *out = Decimal(v < 0 ? -r : r, d.scale());
  return true;
}

int64_t pow10_i64(int n) {
  int64_t p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

bool round_integer(int64_t v, int digits, Direction dir, int64_t* out) {
  if (digits >= 0) {
    *out = v;
    return true;
  }
  if (-digits > 18) {
    *out = 0;
    return true;
  }
  int64_t unit = pow10_i64(-digits);
  int64_t rest = v % unit, kept = v - rest;
  if (dir == Direction::Nearest && (rest >= 0 ? rest : -rest) * 2 >= unit) {
    kept += v < 0 ? -unit : unit;
  }
  *out = kept;
  return true;
}

bool int_arg(const Value& v, const EvalContext& ctx, int64_t* out, Error* err) {
  if (v.type().is_integer()) {
    *out = v.int_value();
    return true;
  }
  Value i;
  if (!cast_value(v, TypeInfo::of(Type::Int), ctx, &i, err)) return false;
  *out = i.int_value();
  return true;
}

// A string argument becomes float, as SQL Server converts it.
// `function` is the name the message gives: round, ceiling, floor or abs.
bool numeric_arg(const Value& v, const char* function, const EvalContext& ctx, Value* out, Error* err) {
  if (v.type().is_numeric()) {
    *out = v;
    return true;
  }
  if (v.type().is_string()) return cast_value(v, TypeInfo::of(Type::Float), ctx, out, err);
  return fail(err, 8116,
              "Argument data type " + std::string(type_message_name(v.type().type)) + " is invalid for argument 1 of " +
                  function + " function.");
}

TypeInfo round_type(const TypeInfo& t) {
  if (t.is_integer())
    return TypeInfo::of(t.type == Type::Bit || t.type == Type::TinyInt || t.type == Type::SmallInt ? Type::Int
                                                                                                   : t.type);
  if (t.is_string()) return TypeInfo::of(Type::Float);
  return t;
}

bool apply_rounding(const Value& x, int digits, Direction dir, const TypeInfo& rt, Value* out, Error* err) {
  const TypeInfo& t = x.type();
  if (t.is_integer()) {
    int64_t r;
    round_integer(x.int_value(), digits, dir, &r);
    if (rt.type == Type::Int && (r < INT32_MIN || r > INT32_MAX)) return fail_overflow(err, "int");
    *out = Value::integer(r, rt.type);
    return true;
  }
  if (t.type == Type::Decimal || t.type == Type::Money) {
    Decimal r;
    if (!round_decimal(x.decimal_value(), digits, dir, &r)) return fail_overflow(err, "numeric");
    Decimal scaled;
    if (!r.rescale(rt.scale, &scaled) || (rt.type == Type::Decimal && !decimal_fits(scaled, rt.precision))) {
      return fail(err, 8115,
                  "Arithmetic overflow error converting expression to data type " +
                      std::string(type_message_name(rt.type)) + ".");
    }
    *out = Value::decimal(scaled, rt);
    return true;
  }
  *out = Value::floating(rounded(x.float_value(), std::pow(10.0, digits), dir), rt.type);
  return true;
}

bool fn_round(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  TypeInfo rt = round_type(args[0].type());
  if (null_argument(args.subspan(0, 2), rt, out)) return true;
  Value x;
  int64_t digits, function = 0;
  if (!numeric_arg(args[0], "round", ctx, &x, err) || !int_arg(args[1], ctx, &digits, err)) return false;
  if (args.size() > 2 && !args[2].is_null() && !int_arg(args[2], ctx, &function, err)) return false;
  if (digits < -100) digits = -100;
  if (digits > 100) digits = 100;
  return apply_rounding(x, static_cast<int>(digits), function != 0 ? Direction::TowardZero : Direction::Nearest, rt,
                        out, err);
}

template <Direction D>
bool fn_ceiling_floor(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  TypeInfo t = args[0].type();
  TypeInfo rt = t.type == Type::Decimal ? TypeInfo::decimal(t.precision, 0) : round_type(t);
  if (null_argument(args, rt, out)) return true;
  Value x;
  if (!numeric_arg(args[0], D == Direction::Up ? "ceiling" : "floor", ctx, &x, err)) return false;
  return apply_rounding(x, 0, D, rt, out, err);
}

bool fn_abs(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  TypeInfo rt = round_type(args[0].type());
  if (args[0].type().type == Type::Decimal) rt = args[0].type();
  if (null_argument(args, rt, out)) return true;
  Value x;
  if (!numeric_arg(args[0], "abs", ctx, &x, err)) return false;
  const TypeInfo& t = x.type();
  if (t.is_integer()) {
    int64_t v = x.int_value();
    if (v == INT64_MIN || (rt.type == Type::Int && v == INT32_MIN)) return fail_overflow(err, "int");
    *out = Value::integer(v < 0 ? -v : v, rt.type);
  } else if (t.type == Type::Decimal || t.type == Type::Money) {
    Decimal d = x.decimal_value();
    *out = Value::decimal(Decimal(d.sign() < 0 ? -d.unscaled() : d.unscaled(), d.scale()), t);
  } else {
    *out = Value::floating(std::fabs(x.float_value()), t.type);
  }
  return true;
}

constexpr ScalarFunction kMathFunctions[] = {
    {"ROUND", 2, 3, fn_round},
    {"CEILING", 1, 1, fn_ceiling_floor<Direction::Up>},
    {"FLOOR", 1, 1, fn_ceiling_floor<Direction::Down>},
    {"ABS", 1, 1, fn_abs},
};

}  // namespace

std::span<const ScalarFunction> math_functions() { return kMathFunctions; }

}  // namespace standin
