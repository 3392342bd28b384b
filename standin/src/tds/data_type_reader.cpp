// Parameter values coming in: a TYPE_INFO, then the value's bytes.
#include <bit>
#include <cmath>

#include "tds/data_types.h"
#include "tds/packet.h"
#include "tds/wire_type.h"
#include "types/codepage.h"

namespace standin::tds {

namespace {

// What a TYPE_INFO said: the wire type and whatever its value reading needs.
struct Declared {
  uint8_t wire = 0;
  uint32_t max_length = 0;  // bytes; kPlpMarker for PLP types
  uint8_t precision = 0;
  uint8_t scale = 0;
};

__int128 read_le(WireReader& in, size_t bytes) {
  unsigned __int128 v = 0;
  std::string_view b = in.bytes(bytes);
  for (size_t i = bytes; i-- > 0;) v = v << 8 | static_cast<uint8_t>(b[i]);
  return static_cast<__int128>(v);
}

int64_t sign_extend(__int128 v, size_t bytes) {
  int shift = 64 - static_cast<int>(bytes) * 8;
  return static_cast<int64_t>(static_cast<uint64_t>(v) << shift) >> shift;
}

bool is_fixed(uint8_t wire) {
  switch (wire) {
    case kNull:
    case kInt1:
    case kBit:
    case kInt2:
    case kInt4:
    case kDateTime4:
    case kFloat4:
    case kMoney:
    case kDateTime:
    case kFloat8:
    case kMoney4:
    case kInt8: return true;
  }
  return false;
}

Declared read_type_info(WireReader& in) {
  Declared d;
  d.wire = in.u8();
  if (is_fixed(d.wire)) return d;
  switch (d.wire) {
    case kDateN: return d;
    case kTimeN:
    case kDateTime2N:
    case kDateTimeOffsetN:
      d.scale = in.u8();
      if (d.scale > 7) throw ProtocolError("time scale above 7");
      return d;
    case kGuid:
    case kIntN:
    case kBitN:
    case kFloatN:
    case kMoneyN:
    case kDateTimeN:
    case kChar:
    case kVarChar:
    case kBinary:
    case kVarBinary: d.max_length = in.u8(); return d;
    case kDecimal:
    case kNumeric:
    case kDecimalN:
    case kNumericN:
      d.max_length = in.u8();
      d.precision = in.u8();
      d.scale = in.u8();
      if (d.precision < 1 || d.precision > 38 || d.scale > d.precision)
        throw ProtocolError("decimal precision or scale out of range");
      return d;
    case kBigVarBinary:
    case kBigBinary: d.max_length = in.u16(); return d;
    case kBigVarChar:
    case kBigChar:
    case kNVarChar:
    case kNChar:
      d.max_length = in.u16();
      in.skip(kCollation.size());
      return d;
    case kText:
    case kNText:
    case kImage:
      d.max_length = in.u32();
      if (d.wire != kImage) in.skip(kCollation.size());
      return d;
  }
  throw ProtocolError("unknown parameter type " + std::to_string(d.wire));
}

size_t fixed_length(uint8_t wire) {
  switch (wire) {
    case kNull: return 0;
    case kInt1:
    case kBit: return 1;
    case kInt2: return 2;
    case kInt4:
    case kDateTime4:
    case kFloat4:
    case kMoney4: return 4;
    default: return 8;  // money, datetime, float, bigint
  }
}

// The bytes of a PLP value, its chunks joined. Nothing when NULL.
std::optional<std::string> read_plp(WireReader& in) {
  uint64_t total = in.u64();
  if (total == kPlpNull) return std::nullopt;
  if (total != kPlpUnknownLength && total > in.remaining()) throw ProtocolError("a value is longer than its message");
  std::string bytes;
  for (;;) {
    uint32_t chunk = in.u32();
    if (chunk == 0) break;
    bytes.append(in.bytes(chunk));
  }
  return bytes;
}

// The value's bytes, or nothing when the value is NULL.
std::optional<std::string_view> read_value_bytes(WireReader& in, const Declared& d, std::string* plp_buffer) {
  if (is_fixed(d.wire)) {
    if (d.wire == kNull) return std::nullopt;
    return in.bytes(fixed_length(d.wire));
  }
  if (d.wire == kText || d.wire == kNText || d.wire == kImage) {
    // As a parameter the value has no text pointer: its length, then itself.
    uint32_t n = in.u32();
    if (n == 0xFFFFFFFF) return std::nullopt;
    return in.bytes(n);
  }
  if (d.wire >= 0x80) {
    if (d.max_length == kPlpMarker) {
      auto plp = read_plp(in);
      if (!plp) return std::nullopt;
      *plp_buffer = std::move(*plp);
      return std::string_view(*plp_buffer);
    }
    uint16_t n = in.u16();
    if (n == kUShortNull) return std::nullopt;
    return in.bytes(n);
  }
  uint8_t n = in.u8();
  if (n == 0 && d.wire != kChar && d.wire != kVarChar && d.wire != kBinary && d.wire != kVarBinary) return std::nullopt;
  return in.bytes(n);
}

TypeInfo engine_type(const Declared& d) {
  switch (d.wire) {
    case kNull: return TypeInfo::of(Type::Int);
    case kInt1: return TypeInfo::of(Type::TinyInt);
    case kInt2: return TypeInfo::of(Type::SmallInt);
    case kInt4: return TypeInfo::of(Type::Int);
    case kInt8: return TypeInfo::of(Type::BigInt);
    case kBit:
    case kBitN: return TypeInfo::of(Type::Bit);
    case kIntN:
      return TypeInfo::of(d.max_length == 1   ? Type::TinyInt
                          : d.max_length == 2 ? Type::SmallInt
                          : d.max_length == 8 ? Type::BigInt
                                              : Type::Int);
    case kFloat4: return TypeInfo::of(Type::Real);
    case kFloat8: return TypeInfo::of(Type::Float);
    case kFloatN: return TypeInfo::of(d.max_length == 4 ? Type::Real : Type::Float);
    case kMoney:
    case kMoney4:
    case kMoneyN: return TypeInfo::of(Type::Money);
    case kDecimal:
    case kNumeric:
    case kDecimalN:
    case kNumericN: return TypeInfo::decimal(d.precision, d.scale);
    case kDateTime4: return TypeInfo::of(Type::SmallDateTime);
    case kDateTimeN: return TypeInfo::of(d.max_length == 4 ? Type::SmallDateTime : Type::DateTime);
    case kDateN: return TypeInfo::of(Type::Date);
    case kTimeN:
    case kDateTime2N:
    case kDateTimeOffsetN:
    case kDateTime: return TypeInfo::of(Type::DateTime);
    case kGuid: return TypeInfo::of(Type::UniqueIdentifier);
  }
  bool plp = d.max_length == kPlpMarker || d.wire == kText || d.wire == kNText || d.wire == kImage;
  int32_t unit = d.wire == kNVarChar || d.wire == kNChar || d.wire == kNText ? 2 : 1;
  int32_t length = plp ? TypeInfo::kMax : std::max<int32_t>(1, static_cast<int32_t>(d.max_length) / unit);
  switch (d.wire) {
    case kChar:
    case kBigChar: return {Type::Char, length};
    case kVarChar:
    case kBigVarChar:
    case kText: return {Type::VarChar, length};
    case kNChar: return {Type::NChar, length};
    case kNVarChar:
    case kNText: return {Type::NVarChar, length};
    case kBinary:
    case kBigBinary: return {Type::Binary, length};
    default: return {Type::VarBinary, length};
  }
}

// time (10^-scale seconds since midnight) and date parts of the new
// date/time types, rounded to the engine's 1/300 second.
DateTime new_style_datetime(const Declared& d, std::string_view b) {
  size_t time_bytes = d.wire == kDateN ? 0 : d.scale <= 2 ? 3 : d.scale <= 4 ? 4 : 5;
  size_t date_bytes = d.wire == kTimeN ? 0 : 3;
  if (b.size() < time_bytes + date_bytes) throw ProtocolError("date or time value too short");
  WireReader in(b);
  uint64_t units = static_cast<uint64_t>(read_le(in, time_bytes));
  int32_t days = date_bytes ? static_cast<int32_t>(read_le(in, 3)) - kDaysFromYearOne : 0;
  uint64_t per_second = 1;
  for (int i = 0; i < d.scale; ++i) per_second *= 10;
  uint64_t ticks = (units * DateTime::kTicksPerSecond * 2 + per_second) / (2 * per_second);
  if (ticks >= static_cast<uint64_t>(DateTime::kTicksPerDay)) {
    days += static_cast<int32_t>(ticks / DateTime::kTicksPerDay);
    ticks %= DateTime::kTicksPerDay;
  }
  return DateTime{days, static_cast<int32_t>(ticks)};
}

Value temporal_value(const Declared& d, const TypeInfo& type, std::string_view b) {
  WireReader in(b);
  if (d.wire == kDateTimeN || d.wire == kDateTime || d.wire == kDateTime4) {
    if (b.size() == 4) {
      int32_t days = in.u16();
      int32_t minutes = in.u16();
      return Value::datetime(DateTime{days, minutes * 60 * DateTime::kTicksPerSecond}, type.type);
    }
    if (b.size() != 8) throw ProtocolError("datetime value of a wrong length");
    int32_t days = static_cast<int32_t>(in.u32());
    uint32_t ticks = in.u32();
    if (ticks >= static_cast<uint32_t>(DateTime::kTicksPerDay)) throw ProtocolError("datetime ticks out of range");
    return Value::datetime(DateTime{days, static_cast<int32_t>(ticks)}, type.type);
  }
  return Value::datetime(new_style_datetime(d, b), type.type);
}

Value numeric_value(const TypeInfo& type, std::string_view b) {
  WireReader in(b);
  switch (type.type) {
    case Type::Bit:
    case Type::TinyInt:
    case Type::SmallInt:
    case Type::Int:
    case Type::BigInt: {
      if (b.size() != 1 && b.size() != 2 && b.size() != 4 && b.size() != 8)
        throw ProtocolError("integer value of a wrong length");
      __int128 raw = read_le(in, b.size());
      int64_t v = b.size() == 1 ? static_cast<int64_t>(raw) : sign_extend(raw, b.size());
      if (type.type == Type::Bit) v = v != 0;
      return Value::integer(v, type.type);
    }
    case Type::Real:
    case Type::Float:
      if (b.size() == 4) return Value::floating(std::bit_cast<float>(in.u32()), type.type);
      if (b.size() == 8) return Value::floating(std::bit_cast<double>(in.u64()), type.type);
      throw ProtocolError("float value of a wrong length");
    case Type::Money: {
      int64_t n;
      if (b.size() == 4)
        n = static_cast<int32_t>(in.u32());
      else if (b.size() == 8)
        n = static_cast<int64_t>(uint64_t{in.u32()} << 32 | in.u32());
      else
        throw ProtocolError("money value of a wrong length");
      return Value::money(Decimal(n, 4));
    }
    default: {  // decimal
      if (b.size() < 2 || b.size() > 17) throw ProtocolError("decimal value of a wrong length");
      bool positive = in.u8() != 0;
      __int128 magnitude = read_le(in, std::min<size_t>(b.size() - 1, 16));
      if (magnitude < 0 || Decimal(magnitude, 0).digits() > type.precision)
        throw ProtocolError("decimal value out of range");
      return Value::decimal(Decimal(positive ? magnitude : -magnitude, type.scale), type);
    }
  }
}

}  // namespace

Value read_typed_value(WireReader& in) {
  Declared d = read_type_info(in);
  TypeInfo type = engine_type(d);
  std::string plp;
  auto bytes = read_value_bytes(in, d, &plp);
  if (!bytes) return Value::null(type);
  if (type.is_temporal()) return temporal_value(d, type, *bytes);
  if (type.type == Type::UniqueIdentifier) {
    if (bytes->size() != 16) throw ProtocolError("uniqueidentifier value of a wrong length");
    return Value::guid(guid_text(*bytes));
  }
  if (type.is_unicode()) return Value::string(from_utf16le_bytes(*bytes), type);
  if (type.is_string()) return Value::string(from_codepage_bytes(*bytes), type);
  if (type.is_binary()) return Value::binary(std::string(*bytes), type);
  return numeric_value(type, *bytes);
}

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
// Wire byte order of the canonical text's sixteen bytes.
constexpr int kGuidOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string guid_text(std::string_view wire16) {
  std::string text;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    uint8_t b = static_cast<uint8_t>(wire16[kGuidOrder[i]]);
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

std::string guid_bytes(std::string_view canonical) {
  std::string digits;
  for (char c : canonical) {
    if (c == '-' || c == '{' || c == '}') continue;
    if (hex_digit(c) < 0) return {};
    digits += c;
  }
  if (digits.size() != 32) return {};
  std::string wire(16, '\0');
  for (size_t i = 0; i < 16; ++i)
    wire[kGuidOrder[i]] = static_cast<char>(hex_digit(digits[2 * i]) << 4 | hex_digit(digits[2 * i + 1]));
  return wire;
}

}  // namespace standin::tds
