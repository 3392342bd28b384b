// Value factories and the client display form.
#include <charconv>
#include <cstdio>
#include <utility>

#include "standin/value.h"
#include "types/utf8.h"

namespace standin {

Value Value::integer(int64_t v, Type t) {
  Value r;
  r.type_ = TypeInfo::of(t);
  r.null_ = false;
  r.n_ = v;
  return r;
}

Value Value::decimal(Decimal d, TypeInfo t) {
  Value r;
  r.type_ = t;
  r.null_ = false;
  if (d.scale() != t.scale) d.rescale(t.scale, &d);
  r.n_ = d.unscaled();
  return r;
}

Value Value::decimal(Decimal d) {
  int precision = d.digits() > d.scale() ? d.digits() : d.scale();
  if (precision < 1) precision = 1;
  return decimal(d, TypeInfo::decimal(static_cast<uint8_t>(precision), d.scale()));
}

Value Value::money(Decimal d) { return decimal(d, TypeInfo::of(Type::Money)); }

Value Value::floating(double d, Type t) {
  Value r;
  r.type_ = TypeInfo::of(t);
  r.null_ = false;
  r.f_ = t == Type::Real ? static_cast<double>(static_cast<float>(d)) : d;
  return r;
}

Value Value::string(std::string s, TypeInfo t) {
  Value r;
  r.type_ = t;
  r.null_ = false;
  r.s_ = std::move(s);
  return r;
}

Value Value::varchar(std::string s) {
  int32_t n = static_cast<int32_t>(utf8_length(s));
  return string(std::move(s), TypeInfo::varchar(n > 0 ? n : 1));
}

Value Value::nvarchar(std::string s) {
  int32_t n = static_cast<int32_t>(utf8_length(s));
  return string(std::move(s), TypeInfo::nvarchar(n > 0 ? n : 1));
}

Value Value::datetime(DateTime d, Type t) {
  Value r;
  r.type_ = TypeInfo::of(t);
  r.null_ = false;
  r.t_ = d;
  return r;
}

Value Value::binary(std::string bytes, TypeInfo t) { return string(std::move(bytes), t); }

Value Value::guid(std::string canonical) { return string(std::move(canonical), TypeInfo::of(Type::UniqueIdentifier)); }

namespace {

std::string shortest_double(double d, bool single) {
  char buf[64];
  auto res =
      single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(d)) : std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, res.ptr);
}

std::string hex_bytes(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s = "0x";
  for (unsigned char c : bytes) {
    s += kHex[c >> 4];
    s += kHex[c & 15];
  }
  return s;
}

}  // namespace

std::string Value::to_display() const {
  if (null_) return "NULL";
  switch (type_.type) {
    case Type::Bit:
    case Type::TinyInt:
    case Type::SmallInt:
    case Type::Int:
    case Type::BigInt: return std::to_string(int_value());
    case Type::Decimal:
    case Type::Money: return decimal_value().to_string();
    case Type::Real: return shortest_double(f_, true);
    case Type::Float: return shortest_double(f_, false);
    case Type::Binary:
    case Type::VarBinary:
    case Type::Image: return hex_bytes(s_);
    case Type::DateTime: return t_.to_string();
    case Type::SmallDateTime: return t_.to_string().substr(0, 19);
    case Type::Date: return t_.to_string().substr(0, 10);
    default: return s_;
  }
}

}  // namespace standin
