// Arithmetic operators. The result type follows SQL Server: the operand of
// higher data-type precedence decides; exact decimals get the precision and
// scale of SQL Server's rules, capped at 38 digits by giving up scale (but
// keeping at least 6 decimals where there were that many); strings meet
// numbers by becoming numbers; datetime plus a number adds days.
#include "types/arith.h"

#include <cmath>
#include <string>

#include "types/calendar.h"
#include "types/convert.h"
#include "types/decimal_math.h"
#include "types/sql_error.h"
#include "types/utf8.h"

namespace standin {

namespace {

const char* op_name(ArithOp op) {
  switch (op) {
    case ArithOp::Add: return "add";
    case ArithOp::Subtract: return "subtract";
    case ArithOp::Multiply: return "multiply";
    case ArithOp::Divide: return "divide";
    case ArithOp::Modulo: return "modulo";
  }
  return "?";
}

std::string name_of(const TypeInfo& t) { return std::string(type_message_name(t.type)); }

bool incompatible(const TypeInfo& a, const TypeInfo& b, ArithOp op, Error* err) {
  return fail(
      err, 402,
      "The data types " + name_of(a) + " and " + name_of(b) + " are incompatible in the " + op_name(op) + " operator.");
}

TypeInfo decimal_of(const TypeInfo& t) {
  switch (t.type) {
    case Type::Bit: return TypeInfo::decimal(1, 0);
    case Type::TinyInt: return TypeInfo::decimal(3, 0);
    case Type::SmallInt: return TypeInfo::decimal(5, 0);
    case Type::Int: return TypeInfo::decimal(10, 0);
    case Type::BigInt: return TypeInfo::decimal(19, 0);
    case Type::Money: return TypeInfo::decimal(19, 4);
    default: return t;
  }
}

TypeInfo decimal_result(ArithOp op, const TypeInfo& a, const TypeInfo& b) {
  TypeInfo x = decimal_of(a), y = decimal_of(b);
  int p1 = x.precision, s1 = x.scale, p2 = y.precision, s2 = y.scale;
  int p = 0, s = 0;
  switch (op) {
    case ArithOp::Add:
    case ArithOp::Subtract:
      s = std::max(s1, s2);
      p = std::max(p1 - s1, p2 - s2) + s + 1;
      break;
    case ArithOp::Multiply:
      p = p1 + p2 + 1;
      s = s1 + s2;
      break;
    case ArithOp::Divide:
      s = std::max(6, s1 + p2 + 1);
      p = p1 - s1 + s2 + s;
      break;
    case ArithOp::Modulo:
      s = std::max(s1, s2);
      p = std::min(p1 - s1, p2 - s2) + s;
      break;
  }
  if (p > Decimal::kMaxPrecision) {
    int excess = p - Decimal::kMaxPrecision;
    s = std::max(s - excess, std::min(s, 6));
    p = Decimal::kMaxPrecision;
  }
  return TypeInfo::decimal(static_cast<uint8_t>(p), static_cast<uint8_t>(s));
}

TypeInfo string_result(const TypeInfo& a, const TypeInfo& b) {
  bool unicode = a.is_unicode() || b.is_unicode();
  int32_t cap = unicode ? 4000 : 8000;
  TypeInfo r = unicode ? TypeInfo::nvarchar(0) : TypeInfo::varchar(0);
  if (a.type == Type::Char && b.type == Type::Char) r.type = Type::Char;
  if (a.type == Type::NChar && b.type == Type::NChar) r.type = Type::NChar;
  if (a.length == TypeInfo::kMax || b.length == TypeInfo::kMax) {
    r.length = TypeInfo::kMax;
  } else {
    r.length = std::min(cap, a.length + b.length);
  }
  return r;
}

// The result type, or an error for operands the operator does not take.
bool result_type(ArithOp op, const TypeInfo& a, const TypeInfo& b, TypeInfo* out, Error* err) {
  if (a.is_lob() || b.is_lob() || a.type == Type::UniqueIdentifier || b.type == Type::UniqueIdentifier) {
    return incompatible(a, b, op, err);
  }
  if (a.is_string() && b.is_string()) {
    if (op != ArithOp::Add) return incompatible(a, b, op, err);
    *out = string_result(a, b);
    return true;
  }
  if (a.is_binary() || b.is_binary()) {
    if (op == ArithOp::Add && a.is_binary() && b.is_binary()) {
      *out = {Type::VarBinary,
              a.length == TypeInfo::kMax || b.length == TypeInfo::kMax ? TypeInfo::kMax
                                                                       : std::min(8000, a.length + b.length),
              0, 0};
      return true;
    }
    return incompatible(a, b, op, err);
  }
  // A string operand takes the other operand's type.
  const TypeInfo& x = a.is_string() ? b : a;
  const TypeInfo& y = b.is_string() ? a : b;
  if (x.type == Type::Date || y.type == Type::Date) {
    return fail(err, 206, "Operand type clash: " + name_of(a) + " is incompatible with " + name_of(b));
  }
  if (x.is_temporal() || y.is_temporal()) {
    if (op != ArithOp::Add && op != ArithOp::Subtract) {
      const TypeInfo& t = x.is_temporal() ? x : y;
      return fail(err, 8117, "Operand data type " + name_of(t) + " is invalid for " + op_name(op) + " operator.");
    }
    const TypeInfo& t = x.precedence() >= y.precedence() ? x : y;
    *out = TypeInfo::of(t.type);
    return true;
  }
  bool any_float = x.type == Type::Float || x.type == Type::Real || y.type == Type::Float || y.type == Type::Real;
  if (any_float) {
    if (op == ArithOp::Modulo) return incompatible(a, b, op, err);
    *out = TypeInfo::of(x.type == Type::Float || y.type == Type::Float ? Type::Float : Type::Real);
    return true;
  }
  if (x.type == Type::Decimal || y.type == Type::Decimal) {
    *out = decimal_result(op, x, y);
    return true;
  }
  if (x.type == Type::Money || y.type == Type::Money) {
    *out = TypeInfo::of(Type::Money);
    return true;
  }
  if (x.type == Type::Bit && y.type == Type::Bit) return incompatible(a, b, op, err);
  const TypeInfo& hi = x.precedence() >= y.precedence() ? x : y;
  *out = TypeInfo::of(hi.type == Type::Bit ? Type::Int : hi.type);
  return true;
}

bool divide_by_zero(Error* err) { return fail(err, 8134, "Divide by zero error encountered."); }

bool integer_arith(ArithOp op, int64_t a, int64_t b, const TypeInfo& rt, Value* out, Error* err) {
  int64_t r = 0;
  bool overflow = false;
  switch (op) {
    case ArithOp::Add: overflow = __builtin_add_overflow(a, b, &r); break;
    case ArithOp::Subtract: overflow = __builtin_sub_overflow(a, b, &r); break;
    case ArithOp::Multiply: overflow = __builtin_mul_overflow(a, b, &r); break;
    case ArithOp::Divide:
    case ArithOp::Modulo:
      if (b == 0) return divide_by_zero(err);
      if (a == INT64_MIN && b == -1) {
        overflow = op == ArithOp::Divide;
        r = 0;
      } else {
        r = op == ArithOp::Divide ? a / b : a % b;
      }
      break;
  }
  bool in_range = rt.type == Type::BigInt || (rt.type == Type::Int && r >= INT32_MIN && r <= INT32_MAX) ||
                  (rt.type == Type::SmallInt && r >= -32768 && r <= 32767) ||
                  (rt.type == Type::TinyInt && r >= 0 && r <= 255);
  if (overflow || !in_range) return fail_overflow(err, name_of(rt));
  *out = Value::integer(r, rt.type);
  return true;
}

Decimal exact_of(const Value& v) {
  return v.type().is_integer() ? Decimal::from_int(v.int_value()) : v.decimal_value();
}

bool decimal_arith(ArithOp op, const Decimal& a, const Decimal& b, const TypeInfo& rt, Value* out, Error* err) {
  Decimal r;
  bool ok = false;
  switch (op) {
    case ArithOp::Add: ok = decimal_add(a, b, rt.scale, &r); break;
    case ArithOp::Subtract: ok = decimal_subtract(a, b, rt.scale, &r); break;
    case ArithOp::Multiply: ok = decimal_multiply(a, b, rt.scale, &r); break;
    case ArithOp::Divide:
      if (b.is_zero()) return divide_by_zero(err);
      ok = decimal_divide(a, b, rt.scale, &r);
      break;
    case ArithOp::Modulo:
      if (b.is_zero()) return divide_by_zero(err);
      ok = decimal_modulo(a, b, &r) && r.rescale(rt.scale, &r);
      break;
  }
  if (rt.type == Type::Money) {
    ok = ok && r.unscaled() <= INT64_MAX && r.unscaled() >= INT64_MIN;
  } else {
    ok = ok && decimal_fits(r, rt.precision);
  }
  if (!ok) return fail_overflow(err, name_of(rt));
  *out = Value::decimal(r, rt);
  return true;
}

bool float_arith(ArithOp op, double a, double b, const TypeInfo& rt, Value* out, Error* err) {
  double r = 0;
  switch (op) {
    case ArithOp::Add: r = a + b; break;
    case ArithOp::Subtract: r = a - b; break;
    case ArithOp::Multiply: r = a * b; break;
    case ArithOp::Divide:
      if (b == 0) return divide_by_zero(err);
      r = a / b;
      break;
    case ArithOp::Modulo: return false;
  }
  if (!std::isfinite(r)) return fail_overflow(err, name_of(rt));
  *out = Value::floating(r, rt.type);
  return true;
}

bool datetime_arith(ArithOp op, const DateTime& a, const DateTime& b, const TypeInfo& rt, Value* out, Error* err) {
  int64_t sign = op == ArithOp::Subtract ? -1 : 1;
  int64_t ticks = (static_cast<int64_t>(a.days) + sign * b.days) * DateTime::kTicksPerDay + a.ticks + sign * b.ticks;
  int64_t days =
      ticks >= 0 ? ticks / DateTime::kTicksPerDay : -((-ticks + DateTime::kTicksPerDay - 1) / DateTime::kTicksPerDay);
  DateTime r;
  r.days = static_cast<int32_t>(days);
  r.ticks = static_cast<int32_t>(ticks - days * DateTime::kTicksPerDay);
  int64_t min_days = rt.type == Type::SmallDateTime ? 0 : kDateTimeMinDays;
  int64_t max_days = rt.type == Type::SmallDateTime ? kSmallDateTimeMaxDays : kMaxDays;
  if (days < min_days || days > max_days) return fail_overflow(err, name_of(rt));
  Value v = Value::datetime(r, Type::DateTime);
  if (rt.type == Type::SmallDateTime) {
    Error ignored;
    return cast_value(v, rt, EvalContext{}, out, err ? err : &ignored);
  }
  *out = v;
  return true;
}

}  // namespace

TypeInfo arith_result_type(ArithOp op, const TypeInfo& a, const TypeInfo& b) {
  TypeInfo t;
  Error ignored;
  if (!result_type(op, a, b, &t, &ignored)) return TypeInfo::of(Type::Int);
  return t;
}

bool arith(ArithOp op, const Value& a, const Value& b, const EvalContext& ctx, Value* out, Error* err) {
  const TypeInfo& ta = a.type();
  const TypeInfo& tb = b.type();
  // int op int: the hot path, no conversion.
  if (ta.type == Type::Int && tb.type == Type::Int && !a.is_null() && !b.is_null()) {
    return integer_arith(op, a.int_value(), b.int_value(), ta, out, err);
  }
  TypeInfo rt;
  if (!result_type(op, ta, tb, &rt, err)) return false;
  if (a.is_null() || b.is_null()) {
    *out = Value::null(rt);
    return true;
  }
  if (ta.is_string() && tb.is_string()) return concat(a, b, out, err);
  if (ta.is_binary() && tb.is_binary()) {
    *out = Value::binary(a.string_value() + b.string_value(), rt);
    return true;
  }
  if (rt.is_temporal()) {
    Value da, db;
    TypeInfo dt = TypeInfo::of(Type::DateTime);
    if (!cast_value(a, dt, ctx, &da, err) || !cast_value(b, dt, ctx, &db, err)) return false;
    return datetime_arith(op, da.datetime_value(), db.datetime_value(), rt, out, err);
  }
  // Strings become the other operand's type first.
  Value ca = a, cb = b;
  if (ta.is_string() && !cast_value(a, tb, ctx, &ca, err)) return false;
  if (tb.is_string() && !cast_value(b, ta, ctx, &cb, err)) return false;
  if (rt.type == Type::Float || rt.type == Type::Real) {
    Value fa, fb;
    TypeInfo ft = TypeInfo::of(Type::Float);
    if (!cast_value(ca, ft, ctx, &fa, err) || !cast_value(cb, ft, ctx, &fb, err)) return false;
    return float_arith(op, fa.float_value(), fb.float_value(), rt, out, err);
  }
  if (rt.type == Type::Decimal || rt.type == Type::Money) {
    return decimal_arith(op, exact_of(ca), exact_of(cb), rt, out, err);
  }
  return integer_arith(op, ca.int_value(), cb.int_value(), rt, out, err);
}

bool negate(const Value& a, Value* out, Error* err) {
  const TypeInfo& t = a.type();
  if (!t.is_numeric()) {
    return fail(err, 8117, "Operand data type " + name_of(t) + " is invalid for minus operator.");
  }
  if (a.is_null()) {
    *out = a;
    return true;
  }
  if (t.is_integer()) {
    if (t.type == Type::Bit || t.type == Type::TinyInt) {
      return fail(err, 8117, "Operand data type " + name_of(t) + " is invalid for minus operator.");
    }
    int64_t v = a.int_value();
    bool fits = t.type == Type::BigInt ? v != INT64_MIN : t.type == Type::Int ? v != INT32_MIN : v != -32768;
    if (!fits) return fail_overflow(err, name_of(t));
    *out = Value::integer(-v, t.type);
    return true;
  }
  if (t.type == Type::Decimal || t.type == Type::Money) {
    Decimal d = a.decimal_value();
    *out = Value::decimal(Decimal(-d.unscaled(), d.scale()), t);
    return true;
  }
  *out = Value::floating(-a.float_value(), t.type);
  return true;
}

bool concat(const Value& a, const Value& b, Value* out, Error* err) {
  const TypeInfo& ta = a.type();
  const TypeInfo& tb = b.type();
  if (!ta.is_string() || !tb.is_string() || ta.is_lob() || tb.is_lob()) {
    return incompatible(ta, tb, ArithOp::Add, err);
  }
  TypeInfo rt = string_result(ta, tb);
  if (a.is_null() || b.is_null()) {
    *out = Value::null(rt);
    return true;
  }
  std::string s;
  s.reserve(a.string_value().size() + b.string_value().size());
  s += a.string_value();
  s += b.string_value();
  if (rt.length != TypeInfo::kMax && utf8_length(s) > static_cast<size_t>(rt.length)) {
    s.resize(utf8_prefix_bytes(s, static_cast<size_t>(rt.length)));
  }
  *out = Value::string(std::move(s), rt);
  return true;
}

}  // namespace standin
