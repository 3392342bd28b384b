// Column metadata and row values going out.
#include <algorithm>
#include <bit>
#include <cstring>

#include "tds/data_types.h"
#include "tds/wire_type.h"
#include "types/codepage.h"
#include "types/convert.h"

namespace standin::tds {

namespace {

constexpr int32_t kMaxNarrowBytes = 8000;

// How a column travels, derived once from its engine type.
struct Shape {
  uint8_t wire = kIntN;
  uint16_t max_bytes = 0;  // kPlpMarker for the max forms
  bool collated = false;
  bool unicode = false;
  bool has_length = true;  // DATEN alone carries no length in TYPE_INFO
};

uint8_t integer_bytes(Type t) {
  switch (t) {
    case Type::TinyInt: return 1;
    case Type::SmallInt: return 2;
    case Type::BigInt: return 8;
    default: return 4;
  }
}

Shape string_shape(const TypeInfo& t) {
  Shape s;
  s.unicode = t.is_unicode();
  s.collated = t.is_string();
  int32_t unit = s.unicode ? 2 : 1;
  bool fixed = t.type == Type::Char || t.type == Type::NChar || t.type == Type::Binary;
  bool max = t.is_lob() || t.length == TypeInfo::kMax || t.length * unit > kMaxNarrowBytes;
  if (t.is_binary())
    s.wire = fixed && !max ? kBigBinary : kBigVarBinary;
  else if (s.unicode)
    s.wire = fixed && !max ? kNChar : kNVarChar;
  else
    s.wire = fixed && !max ? kBigChar : kBigVarChar;
  s.max_bytes = max ? kPlpMarker : static_cast<uint16_t>(std::max(1, t.length) * unit);
  return s;
}

Shape shape_of(const TypeInfo& t, WireDialect dialect) {
  switch (t.type) {
    case Type::Bit: return {kBitN, 1};
    case Type::TinyInt:
    case Type::SmallInt:
    case Type::Int:
    case Type::BigInt: return {kIntN, integer_bytes(t.type)};
    case Type::Decimal: return {kDecimalN, decimal_wire_length(t.precision)};
    case Type::Money: return {kMoneyN, static_cast<uint16_t>(t.alias == TypeAlias::SmallMoney ? 4 : 8)};
    case Type::Real: return {kFloatN, 4};
    case Type::Float: return {kFloatN, 8};
    case Type::DateTime: return {kDateTimeN, 8};
    case Type::SmallDateTime: return {kDateTimeN, 4};
    case Type::Date:
      if (dialect.date_type) return {kDateN, 3, false, false, false};
      return {kDateTimeN, 8};
    case Type::UniqueIdentifier: return {kGuid, 16};
    default: return string_shape(t);
  }
}

// The value converted to the column's type where its type differs. A value
// that does not convert goes out as NULL rather than as wrong bytes.
Value coerced(const TypeInfo& type, const Value& value) {
  if (value.is_null()) return value;
  bool same = value.type().type == type.type && (type.type != Type::Decimal || value.type().scale == type.scale);
  if (same) return value;
  EvalContext context;
  Value out;
  Error error;
  if (cast_value(value, type, context, &out, &error) && out.type().type == type.type) return out;
  return Value::null(type);
}

void write_decimal(WireWriter& out, uint8_t length, __int128 unscaled) {
  out.u8(length);
  out.u8(unscaled < 0 ? 0 : 1);
  unsigned __int128 magnitude =
      unscaled < 0 ? -static_cast<unsigned __int128>(unscaled) : static_cast<unsigned __int128>(unscaled);
  for (int i = 1; i < length; ++i) {
    out.u8(static_cast<uint8_t>(magnitude));
    magnitude >>= 8;
  }
}

void write_datetime(WireWriter& out, const Shape& s, DateTime d) {
  if (s.wire == kDateN) {
    uint32_t days = static_cast<uint32_t>(d.days + kDaysFromYearOne);
    out.u8(3);
    for (int i = 0; i < 3; ++i) out.u8(static_cast<uint8_t>(days >> (8 * i)));
  } else if (s.max_bytes == 4) {
    out.u8(4);
    out.u16(static_cast<uint16_t>(d.days));
    out.u16(static_cast<uint16_t>(d.ticks / (60 * DateTime::kTicksPerSecond)));
  } else {
    out.u8(8);
    out.u32(static_cast<uint32_t>(d.days));
    out.u32(static_cast<uint32_t>(d.ticks));
  }
}

// A PLP value as one chunk.
void write_plp(WireWriter& out, std::string_view bytes) {
  out.u64(bytes.size());
  if (!bytes.empty()) {
    out.u32(static_cast<uint32_t>(bytes.size()));
    out.raw(bytes);
  }
  out.u32(0);
}

void write_bytes(WireWriter& out, const Shape& s, const Value& v) {
  std::string bytes = s.unicode    ? to_utf16le_bytes(v.string_value())
                      : s.collated ? to_codepage_bytes(v.string_value())
                                   : v.string_value();
  if (s.max_bytes == kPlpMarker) return write_plp(out, bytes);
  if (bytes.size() > s.max_bytes) bytes.resize(s.max_bytes & (s.unicode ? ~1u : ~0u));
  out.u16(static_cast<uint16_t>(bytes.size()));
  out.raw(bytes);
}

void write_null(WireWriter& out, const Shape& s) {
  if (s.max_bytes == kPlpMarker)
    out.u64(kPlpNull);
  else if (s.wire == kBigVarChar || s.wire == kBigChar || s.wire == kNVarChar || s.wire == kNChar ||
           s.wire == kBigVarBinary || s.wire == kBigBinary)
    out.u16(kUShortNull);
  else
    out.u8(0);
}

void write_number(WireWriter& out, const Shape& s, const Value& v) {
  switch (s.wire) {
    case kBitN:
    case kIntN: {
      out.u8(static_cast<uint8_t>(s.max_bytes));
      uint64_t n = static_cast<uint64_t>(v.int_value());
      for (int i = 0; i < s.max_bytes; ++i) out.u8(static_cast<uint8_t>(n >> (8 * i)));
      return;
    }
    case kDecimalN: return write_decimal(out, static_cast<uint8_t>(s.max_bytes), v.decimal_value().unscaled());
    case kMoneyN: {
      int64_t n = static_cast<int64_t>(v.decimal_value().unscaled());
      out.u8(static_cast<uint8_t>(s.max_bytes));
      if (s.max_bytes == 4) return out.u32(static_cast<uint32_t>(n));
      out.u32(static_cast<uint32_t>(static_cast<uint64_t>(n) >> 32));
      return out.u32(static_cast<uint32_t>(n));
    }
    case kFloatN:
      out.u8(static_cast<uint8_t>(s.max_bytes));
      if (s.max_bytes == 4) return out.u32(std::bit_cast<uint32_t>(static_cast<float>(v.float_value())));
      return out.u64(std::bit_cast<uint64_t>(v.float_value()));
  }
}

}  // namespace

void write_type_info(WireWriter& out, const TypeInfo& type, WireDialect dialect) {
  Shape s = shape_of(type, dialect);
  out.u8(s.wire);
  if (!s.has_length) return;
  if (s.wire >= 0x80)
    out.u16(s.max_bytes);
  else
    out.u8(static_cast<uint8_t>(s.max_bytes));
  if (s.wire == kDecimalN) {
    out.u8(type.precision);
    out.u8(type.scale);
  }
  if (s.collated) out.raw(kCollation);
}

void write_value(WireWriter& out, const TypeInfo& type, const Value& value, WireDialect dialect) {
  Shape s = shape_of(type, dialect);
  Value v = coerced(type, value);
  if (v.is_null()) return write_null(out, s);
  switch (s.wire) {
    case kDateTimeN:
    case kDateN: return write_datetime(out, s, v.datetime_value());
    case kGuid: {
      std::string bytes = guid_bytes(v.string_value());
      if (bytes.empty()) return out.u8(0);
      out.u8(16);
      return out.raw(bytes);
    }
    case kBitN:
    case kIntN:
    case kDecimalN:
    case kMoneyN:
    case kFloatN: return write_number(out, s, v);
    default: return write_bytes(out, s, v);
  }
}

}  // namespace standin::tds
