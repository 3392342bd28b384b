// TypeInfo: classification, names and precedence of the SQL types.
#include <string>

#include "standin/value.h"
#include "types/convert.h"

namespace standin {

bool TypeInfo::is_string() const {
  switch (type) {
    case Type::Char:
    case Type::VarChar:
    case Type::NChar:
    case Type::NVarChar:
    case Type::Text:
    case Type::NText: return true;
    default: return false;
  }
}

bool TypeInfo::is_unicode() const { return type == Type::NChar || type == Type::NVarChar || type == Type::NText; }

bool TypeInfo::is_binary() const { return type == Type::Binary || type == Type::VarBinary || type == Type::Image; }

bool TypeInfo::is_integer() const {
  switch (type) {
    case Type::Bit:
    case Type::TinyInt:
    case Type::SmallInt:
    case Type::Int:
    case Type::BigInt: return true;
    default: return false;
  }
}

bool TypeInfo::is_exact_numeric() const { return is_integer() || type == Type::Decimal || type == Type::Money; }

bool TypeInfo::is_numeric() const { return is_exact_numeric() || type == Type::Real || type == Type::Float; }

bool TypeInfo::is_temporal() const {
  return type == Type::DateTime || type == Type::SmallDateTime || type == Type::Date;
}

bool TypeInfo::is_lob() const { return type == Type::Text || type == Type::NText || type == Type::Image; }

namespace {

// The aliases keep their own names; otherwise the name of the type in
// messages.
std::string_view base_name(const TypeInfo& t) {
  if (t.type == Type::Money && t.alias == TypeAlias::SmallMoney) return "smallmoney";
  if (t.type == Type::NVarChar && t.alias == TypeAlias::Sysname) return "sysname";
  return type_message_name(t.type);
}

}  // namespace

std::string TypeInfo::sql_name() const {
  std::string name(base_name(*this));
  if (type == Type::Decimal) {
    return name + "(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
  }
  if (alias == TypeAlias::Sysname || is_lob()) return name;
  if (is_string() || is_binary()) {
    return name + "(" + (length == kMax ? std::string("max") : std::to_string(length)) + ")";
  }
  return name;
}

int TypeInfo::precedence() const {
  switch (type) {
    case Type::Binary: return 1;
    case Type::VarBinary: return 2;
    case Type::Char: return 3;
    case Type::VarChar: return 4;
    case Type::NChar: return 5;
    case Type::NVarChar: return 6;
    case Type::UniqueIdentifier: return 7;
    case Type::Image: return 8;
    case Type::Text: return 9;
    case Type::NText: return 10;
    case Type::Bit: return 11;
    case Type::TinyInt: return 12;
    case Type::SmallInt: return 13;
    case Type::Int: return 14;
    case Type::BigInt: return 15;
    case Type::Money: return alias == TypeAlias::SmallMoney ? 16 : 17;
    case Type::Decimal: return 18;
    case Type::Real: return 19;
    case Type::Float: return 20;
    case Type::Date: return 21;
    case Type::SmallDateTime: return 22;
    case Type::DateTime: return 23;
  }
  return 0;
}

TypeInfo TypeInfo::of(Type t) {
  switch (t) {
    case Type::Bit: return {t, 1, 1, 0};
    case Type::TinyInt: return {t, 1, 3, 0};
    case Type::SmallInt: return {t, 2, 5, 0};
    case Type::Int: return {t, 4, 10, 0};
    case Type::BigInt: return {t, 8, 19, 0};
    case Type::Decimal: return {t, 9, 18, 0};
    case Type::Money: return {t, 8, 19, 4};
    case Type::Real: return {t, 4, 24, 0};
    case Type::Float: return {t, 8, 53, 0};
    case Type::Char:
    case Type::VarChar:
    case Type::NChar:
    case Type::NVarChar:
    case Type::Binary:
    case Type::VarBinary: return {t, 1, 0, 0};
    case Type::Text:
    case Type::NText:
    case Type::Image: return {t, kMax, 0, 0};
    case Type::DateTime: return {t, 8, 23, 3};
    case Type::SmallDateTime: return {t, 4, 16, 0};
    case Type::Date: return {t, 3, 10, 0};
    case Type::UniqueIdentifier: return {t, 16, 0, 0};
  }
  return {t, 0, 0, 0};
}

}  // namespace standin
