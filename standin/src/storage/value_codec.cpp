// Encoding of TypeInfo and Value. A value is its type, a null flag and, when
// not null, a payload whose shape the type decides:
//   integers and bit       zig-zag varint
//   decimal and money      zig-zag varint of the 128-bit unscaled integer
//   real and float         the 8 bytes of the IEEE double
//   dates                  zig-zag varints of days and ticks
//   strings, binary, guid  length-prefixed bytes
#include <bit>
#include <cstring>

#include "storage/codec.h"

namespace standin::storage {
namespace {

enum class Payload { Integer, Exact, Floating, Temporal, Bytes, Guid };

Payload payload_of(Type t) {
  switch (t) {
    case Type::Bit:
    case Type::TinyInt:
    case Type::SmallInt:
    case Type::Int:
    case Type::BigInt: return Payload::Integer;
    case Type::Decimal:
    case Type::Money: return Payload::Exact;
    case Type::Real:
    case Type::Float: return Payload::Floating;
    case Type::DateTime:
    case Type::SmallDateTime:
    case Type::Date: return Payload::Temporal;
    case Type::UniqueIdentifier: return Payload::Guid;
    default: return Payload::Bytes;
  }
}

bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// "6F9619FF-8B86-D011-B42D-00C04FC964FF"
bool is_canonical_guid(std::string_view s) {
  if (s.size() != 36) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? s[i] != '-' : !is_hex(s[i])) return false;
  }
  return true;
}

constexpr __int128 kTenTo19 = 10000000000000000000ULL;
constexpr __int128 kMaxDecimal = kTenTo19 * kTenTo19 - 1;  // 38 nines

}  // namespace

void Writer::type(const TypeInfo& t) {
  u8(static_cast<uint8_t>(t.type));
  svarint(t.length);
  u8(t.precision);
  u8(t.scale);
  u8(static_cast<uint8_t>(t.alias));
}

void Writer::value(const Value& v) {
  type(v.type());
  u8(v.is_null() ? 1 : 0);
  if (v.is_null()) return;
  switch (payload_of(v.type().type)) {
    case Payload::Integer: svarint(v.int_value()); break;
    case Payload::Exact: svarint128(v.decimal_value().unscaled()); break;
    case Payload::Floating: u64(std::bit_cast<uint64_t>(v.float_value())); break;
    case Payload::Temporal:
      svarint(v.datetime_value().days);
      svarint(v.datetime_value().ticks);
      break;
    case Payload::Bytes:
    case Payload::Guid: str(v.string_value()); break;
  }
}

bool Reader::type(TypeInfo* t) {
  uint8_t kind = 0, precision = 0, scale = 0, alias = 0;
  int64_t length = 0;
  if (!u8(&kind) || !svarint(&length) || !u8(&precision) || !u8(&scale) || !u8(&alias)) {
    return false;
  }
  if (alias > static_cast<uint8_t>(TypeAlias::SmallMoney)) return fail();
  if (kind > static_cast<uint8_t>(Type::UniqueIdentifier)) return fail();
  if (length < TypeInfo::kMax || length > INT32_MAX) return fail();
  if (scale > precision) return fail();
  if (kind == static_cast<uint8_t>(Type::Decimal) && precision > Decimal::kMaxPrecision) {
    return fail();
  }
  *t = TypeInfo{static_cast<Type>(kind), static_cast<int32_t>(length), precision, scale, static_cast<TypeAlias>(alias)};
  return true;
}

bool Reader::value(Value* v) {
  TypeInfo t;
  uint8_t null_flag = 0;
  if (!type(&t) || !u8(&null_flag)) return false;
  if (null_flag > 1) return fail();
  if (null_flag == 1) {
    *v = Value::null(t);
    return true;
  }
  return value_payload(t, v);
}

bool Reader::value_payload(const TypeInfo& t, Value* v) {
  switch (payload_of(t.type)) {
    case Payload::Integer: {
      int64_t n = 0;
      if (!svarint(&n)) return false;
      *v = Value::integer(n, t.type);
      break;
    }
    case Payload::Exact: {
      __int128 n = 0;
      if (!svarint128(&n)) return false;
      if (n > kMaxDecimal || n < -kMaxDecimal) return fail();
      *v = t.type == Type::Money ? Value::money(Decimal(n, t.scale)) : Value::decimal(Decimal(n, t.scale), t);
      break;
    }
    case Payload::Floating: {
      uint64_t bits = 0;
      if (!u64(&bits)) return false;
      *v = Value::floating(std::bit_cast<double>(bits), t.type);
      break;
    }
    case Payload::Temporal: {
      int64_t days = 0, ticks = 0;
      if (!svarint(&days) || !svarint(&ticks)) return false;
      if (days < INT32_MIN || days > INT32_MAX) return fail();
      if (ticks < 0 || ticks >= DateTime::kTicksPerDay) return fail();
      *v = Value::datetime(DateTime{static_cast<int32_t>(days), static_cast<int32_t>(ticks)}, t.type);
      break;
    }
    case Payload::Guid: {
      std::string s;
      if (!str(&s)) return false;
      if (!is_canonical_guid(s)) return fail();
      *v = Value::guid(std::move(s));
      break;
    }
    case Payload::Bytes: {
      std::string s;
      if (!str(&s)) return false;
      *v = t.is_binary() ? Value::binary(std::move(s), t) : Value::string(std::move(s), t);
      break;
    }
  }
  // The factories derive a type from the payload; the stored one is exact.
  v->set_type(t);
  return true;
}

}  // namespace standin::storage
