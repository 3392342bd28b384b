// Unsigned 256-bit integers for the intermediate results of decimal
// arithmetic: the exact product of two 38-digit numbers has up to 76
// digits, and a quotient is computed from a dividend scaled up by as many.
#pragma once

#include <cstdint>

namespace standin {

using u128 = unsigned __int128;

struct U256 {
  u128 hi = 0;
  u128 lo = 0;

  static U256 of(u128 v) { return {0, v}; }
  bool fits_u128() const { return hi == 0; }
  bool is_zero() const { return hi == 0 && lo == 0; }

  friend bool operator<(const U256& a, const U256& b) { return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo; }
};

// a * b without loss.
inline U256 mul_wide(u128 a, u128 b) {
  const u128 mask = ~uint64_t{0};
  u128 a0 = a & mask, a1 = a >> 64, b0 = b & mask, b1 = b >> 64;
  u128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  u128 mid = (p00 >> 64) + (p01 & mask) + (p10 & mask);
  U256 r;
  r.lo = (p00 & mask) | (mid << 64);
  r.hi = p11 + (p01 >> 64) + (p10 >> 64) + (mid >> 64);
  return r;
}

// a * b; false when the product needs more than 256 bits.
inline bool mul_wide(const U256& a, u128 b, U256* out) {
  U256 low = mul_wide(a.lo, b);
  U256 high = mul_wide(a.hi, b);
  if (high.hi != 0) return false;
  u128 hi = low.hi + high.lo;
  if (hi < low.hi) return false;
  *out = {hi, low.lo};
  return true;
}

inline U256 add_wide(const U256& a, const U256& b) {
  U256 r;
  r.lo = a.lo + b.lo;
  r.hi = a.hi + b.hi + (r.lo < a.lo ? 1 : 0);
  return r;
}

inline U256 sub_wide(const U256& a, const U256& b) {  // requires b <= a
  U256 r;
  r.lo = a.lo - b.lo;
  r.hi = a.hi - b.hi - (a.lo < b.lo ? 1 : 0);
  return r;
}

// Quotient and remainder of a / d, d != 0. Shift-and-subtract: slow, but
// only reached when an operand does not fit 128 bits.
inline U256 divmod_wide(const U256& a, u128 d, u128* remainder) {
  if (a.hi == 0) {
    *remainder = a.lo % d;
    return U256::of(a.lo / d);
  }
  U256 q;
  u128 r = 0;
  for (int bit = 255; bit >= 0; --bit) {
    bool carry = (r >> 127) != 0;
    u128 in = bit >= 128 ? (a.hi >> (bit - 128)) & 1 : (a.lo >> bit) & 1;
    r = (r << 1) | in;
    if (carry || r >= d) {
      r -= d;
      if (bit >= 128)
        q.hi |= u128{1} << (bit - 128);
      else
        q.lo |= u128{1} << bit;
    }
  }
  *remainder = r;
  return q;
}

}  // namespace standin
