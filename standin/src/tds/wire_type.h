// The type codes of the wire and the fixed facts about them that both the
// writer and the reader of values need.
#pragma once

#include <cstdint>

namespace standin::tds {

enum WireType : uint8_t {
  kNull = 0x1F,
  kInt1 = 0x30,
  kBit = 0x32,
  kInt2 = 0x34,
  kInt4 = 0x38,
  kDateTime4 = 0x3A,
  kFloat4 = 0x3B,
  kMoney = 0x3C,
  kDateTime = 0x3D,
  kFloat8 = 0x3E,
  kMoney4 = 0x7A,
  kInt8 = 0x7F,
  kGuid = 0x24,
  kIntN = 0x26,
  kDecimal = 0x37,
  kNumeric = 0x3F,
  kBitN = 0x68,
  kDecimalN = 0x6A,
  kNumericN = 0x6C,
  kFloatN = 0x6D,
  kMoneyN = 0x6E,
  kDateTimeN = 0x6F,
  kDateN = 0x28,
  kTimeN = 0x29,
  kDateTime2N = 0x2A,
  kDateTimeOffsetN = 0x2B,
  kChar = 0x2F,
  kVarChar = 0x27,
  kBinary = 0x2D,
  kVarBinary = 0x25,
  kBigVarBinary = 0xA5,
  kBigVarChar = 0xA7,
  kBigBinary = 0xAD,
  kBigChar = 0xAF,
  kNVarChar = 0xE7,
  kNChar = 0xEF,
  kText = 0x23,
  kNText = 0x63,
  kImage = 0x22,
};

// A two-byte maximum length of 0xFFFF marks a PLP (max) type.
constexpr uint16_t kPlpMarker = 0xFFFF;
constexpr uint64_t kPlpNull = ~uint64_t{0};
constexpr uint64_t kPlpUnknownLength = ~uint64_t{0} - 1;
constexpr uint16_t kUShortNull = 0xFFFF;

// Days from 0001-01-01 to 1900-01-01, the engine's day zero.
constexpr int32_t kDaysFromYearOne = 693595;

// Bytes of a decimal's magnitude plus its sign byte, by precision.
constexpr uint8_t decimal_wire_length(int precision) {
  return precision <= 9 ? 5 : precision <= 19 ? 9 : precision <= 28 ? 13 : 17;
}

}  // namespace standin::tds
