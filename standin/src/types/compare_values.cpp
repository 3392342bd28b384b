// Comparison of two values of any types: the common type decides how.
#include <cstring>

#include "types/compare.h"
#include "types/convert.h"
#include "types/sql_error.h"

namespace standin {

namespace {

template <typename T>
int three_way(const T& a, const T& b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool is_character(const TypeInfo& t) { return t.is_string() || t.type == Type::UniqueIdentifier; }

// Both values already have the same type family.
int compare_same(const Value& a, const Value& b) {
  const TypeInfo& t = a.type();
  if (t.is_integer()) return three_way(a.int_value(), b.int_value());
  switch (t.type) {
    case Type::Decimal:
    case Type::Money: return compare(a.decimal_value(), b.decimal_value());
    case Type::Real:
    case Type::Float: return three_way(a.float_value(), b.float_value());
    case Type::DateTime:
    case Type::SmallDateTime:
    case Type::Date: return three_way(a.datetime_value(), b.datetime_value());
    case Type::Binary:
    case Type::VarBinary:
    case Type::Image: {
      int c = a.string_value().compare(b.string_value());
      return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    default: return collate_compare(a.string_value(), b.string_value());
  }
}

}  // namespace

bool compare_values(const Value& a, const Value& b, const EvalContext& ctx, int* result, Error* err) {
  const TypeInfo& ta = a.type();
  const TypeInfo& tb = b.type();
  // The common cases need no conversion and no allocation.
  if (ta.is_integer() && tb.is_integer()) {
    *result = three_way(a.int_value(), b.int_value());
    return true;
  }
  if (is_character(ta) && is_character(tb)) {
    *result = collate_compare(a.string_value(), b.string_value());
    return true;
  }
  if (ta.is_temporal() && tb.is_temporal()) {
    *result = three_way(a.datetime_value(), b.datetime_value());
    return true;
  }
  if (ta.is_exact_numeric() && tb.is_exact_numeric()) {
    Decimal da = ta.is_integer() ? Decimal::from_int(a.int_value()) : a.decimal_value();
    Decimal db = tb.is_integer() ? Decimal::from_int(b.int_value()) : b.decimal_value();
    *result = compare(da, db);
    return true;
  }
  TypeInfo common = common_type(ta, tb);
  if (!implicit_conversion_allowed(ta, common) || !implicit_conversion_allowed(tb, common)) {
    return fail(err, 206,
                "Operand type clash: " + std::string(type_message_name(ta.type)) + " is incompatible with " +
                    std::string(type_message_name(tb.type)));
  }
  Value ca, cb;
  if (!cast_value(a, common, ctx, &ca, err) || !cast_value(b, common, ctx, &cb, err)) {
    return false;
  }
  *result = compare_same(ca, cb);
  return true;
}

}  // namespace standin
