// Type names of declarations and conversions.
#include "types/type_names.h"

#include <string>

#include "types/ascii.h"
#include "types/sql_error.h"

namespace standin {

namespace {

// How a name takes its arguments.
enum class Shape {
  Fixed,      // no arguments: int, datetime, text
  Length,     // (n) or (max): char, varchar, binary
  Precision,  // (p[, s]): numeric, decimal
  FloatBits,  // (n): float(24) is real
};

struct NameEntry {
  const char* name;
  Type type;
  Shape shape;
  int max_length;  // Length: the largest n
  TypeAlias alias;
};

constexpr NameEntry kNames[] = {
    {"bit", Type::Bit, Shape::Fixed, 0, TypeAlias::None},
    {"tinyint", Type::TinyInt, Shape::Fixed, 0, TypeAlias::None},
    {"smallint", Type::SmallInt, Shape::Fixed, 0, TypeAlias::None},
    {"int", Type::Int, Shape::Fixed, 0, TypeAlias::None},
    {"integer", Type::Int, Shape::Fixed, 0, TypeAlias::None},
    {"bigint", Type::BigInt, Shape::Fixed, 0, TypeAlias::None},
    {"numeric", Type::Decimal, Shape::Precision, 0, TypeAlias::None},
    {"decimal", Type::Decimal, Shape::Precision, 0, TypeAlias::None},
    {"float", Type::Float, Shape::FloatBits, 0, TypeAlias::None},
    {"real", Type::Real, Shape::Fixed, 0, TypeAlias::None},
    {"money", Type::Money, Shape::Fixed, 0, TypeAlias::None},
    {"smallmoney", Type::Money, Shape::Fixed, 0, TypeAlias::SmallMoney},
    {"char", Type::Char, Shape::Length, 8000, TypeAlias::None},
    {"varchar", Type::VarChar, Shape::Length, 8000, TypeAlias::None},
    {"nchar", Type::NChar, Shape::Length, 4000, TypeAlias::None},
    {"nvarchar", Type::NVarChar, Shape::Length, 4000, TypeAlias::None},
    {"text", Type::Text, Shape::Fixed, 0, TypeAlias::None},
    {"ntext", Type::NText, Shape::Fixed, 0, TypeAlias::None},
    {"image", Type::Image, Shape::Fixed, 0, TypeAlias::None},
    {"binary", Type::Binary, Shape::Length, 8000, TypeAlias::None},
    {"varbinary", Type::VarBinary, Shape::Length, 8000, TypeAlias::None},
    {"datetime", Type::DateTime, Shape::Fixed, 0, TypeAlias::None},
    {"smalldatetime", Type::SmallDateTime, Shape::Fixed, 0, TypeAlias::None},
    {"date", Type::Date, Shape::Fixed, 0, TypeAlias::None},
    {"uniqueidentifier", Type::UniqueIdentifier, Shape::Fixed, 0, TypeAlias::None},
    {"sysname", Type::NVarChar, Shape::Fixed, 0, TypeAlias::Sysname},
};

const NameEntry* find_name(std::string_view name) {
  for (const NameEntry& e : kNames) {
    if (iequals(name, e.name)) return &e;
  }
  return nullptr;
}

bool no_arguments_allowed(const NameEntry& e, TypeUse use, Error* err) {
  if (use == TypeUse::Cast) {
    return fail(err, 291, "CAST or CONVERT: invalid attributes specified for type '" + std::string(e.name) + "'");
  }
  return fail(err, 2716,
              "Column, parameter, or variable #1: Cannot specify a column width on data "
              "type " +
                  std::string(e.name) + ".");
}

bool resolve_length(const NameEntry& e, std::optional<int> n, bool max_length, TypeUse use, TypeInfo* out, Error* err) {
  if (max_length) {
    if (e.type == Type::Char || e.type == Type::NChar || e.type == Type::Binary) {
      return fail(err, 2716,
                  "Column, parameter, or variable #1: Cannot specify a column "
                  "width on data type " +
                      std::string(e.name) + ".");
    }
    out->length = TypeInfo::kMax;
    return true;
  }
  if (!n) {
    out->length = use == TypeUse::Cast ? 30 : 1;
    return true;
  }
  if (*n < 1) return fail(err, 1001, "Length or precision 0 is invalid.", 15);
  if (*n > e.max_length) {
    return fail(err, 131,
                "The size (" + std::to_string(*n) + ") given to the type '" + e.name +
                    "' exceeds the maximum allowed for any data type (" + std::to_string(e.max_length) + ").",
                15);
  }
  out->length = *n;
  return true;
}

bool resolve_precision(std::optional<int> p, std::optional<int> s, TypeInfo* out, Error* err) {
  int precision = p.value_or(18), scale = s.value_or(0);
  if (precision < 1 || precision > Decimal::kMaxPrecision) {
    return fail(err, 2750,
                "Column or parameter #1: Specified column precision " + std::to_string(precision) +
                    " is greater than the maximum precision of 38.");
  }
  if (scale < 0 || scale > precision) {
    return fail(err, 192, "The scale must be less than or equal to the precision.");
  }
  out->precision = static_cast<uint8_t>(precision);
  out->scale = static_cast<uint8_t>(scale);
  out->length = precision <= 9 ? 5 : precision <= 19 ? 9 : precision <= 28 ? 13 : 17;
  return true;
}

}  // namespace

Error unknown_column_type_error(int ordinal, std::string_view type_name) {
  return make_error(2715, "Column, parameter, or variable #" + std::to_string(ordinal) + ": Cannot find data type " +
                              std::string(type_name) + ".");
}

bool parse_type_name(std::string_view name, std::optional<int> arg1, std::optional<int> arg2, bool max_length,
                     TypeUse use, TypeInfo* out, Error* err) {
  const NameEntry* e = find_name(name);
  if (!e) {
    if (use == TypeUse::Cast) {
      return fail(err, 243, "Type " + std::string(name) + " is not a defined system type.");
    }
    if (err) *err = unknown_column_type_error(1, name);
    return false;
  }
  TypeInfo t = TypeInfo::of(e->type);
  t.alias = e->alias;
  if (e->alias == TypeAlias::Sysname) t.length = 128;
  if (e->alias == TypeAlias::SmallMoney) {
    t.length = 4;
    t.precision = 10;
  }
  switch (e->shape) {
    case Shape::Fixed:
      if (arg1 || arg2 || max_length) return no_arguments_allowed(*e, use, err);
      break;
    case Shape::Length:
      if (arg2) return no_arguments_allowed(*e, use, err);
      if (!resolve_length(*e, arg1, max_length, use, &t, err)) return false;
      break;
    case Shape::Precision:
      if (max_length) return no_arguments_allowed(*e, use, err);
      if (!resolve_precision(arg1, arg2, &t, err)) return false;
      break;
    case Shape::FloatBits:
      if (arg2 || max_length) return no_arguments_allowed(*e, use, err);
      if (arg1 && (*arg1 < 1 || *arg1 > 53)) {
        return fail(err, 2750,
                    "Column or parameter #1: Specified column precision " + std::to_string(*arg1) +
                        " is greater than the maximum precision of 53.");
      }
      if (arg1 && *arg1 <= 24) t = TypeInfo::of(Type::Real);
      break;
  }
  *out = t;
  return true;
}

}  // namespace standin
