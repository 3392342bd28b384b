// Exact decimal arithmetic on Decimal with explicit result scales; the
// operators' result types are decided in arith.cpp.
#pragma once

#include <cstdint>

#include "standin/value.h"
#include "types/wide_int.h"

namespace standin {

// 10^n for 0 <= n <= 38.
u128 pow10_u128(int n);

// Digits of v, at least 1.
int digit_count(u128 v);

// The largest unscaled value of the given precision: 10^p - 1.
inline u128 max_unscaled(int precision) { return pow10_u128(precision) - 1; }

// Each computes the exact result, rounds it half away from zero to
// `scale` and fails when it needs more than 38 digits.
bool decimal_add(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out);
bool decimal_subtract(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out);
bool decimal_multiply(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out);
// b must not be zero.
bool decimal_divide(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out);
// Remainder with the sign of a, at scale max(a.scale, b.scale); b not zero.
bool decimal_modulo(const Decimal& a, const Decimal& b, Decimal* out);

// Whether d fits decimal(precision, d.scale()).
bool decimal_fits(const Decimal& d, int precision);

// Exact conversion of a double to the nearest decimal of `scale`.
bool decimal_from_double(double v, uint8_t scale, Decimal* out);

// Truncates toward zero to an integer; false when it exceeds int64.
bool decimal_to_int64(const Decimal& d, bool round, int64_t* out);

}  // namespace standin
