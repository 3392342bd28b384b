// Decimal: exact numbers of up to 38 digits as a 128-bit unscaled integer
// and a scale. Intermediate results are computed exactly in 256 bits and
// rounded once, half away from zero, as SQL Server does.
#include <cmath>
#include <string>

#include "types/decimal_math.h"

namespace standin {

namespace {

constexpr int kMaxDigits = Decimal::kMaxPrecision;

struct Pow10Table {
  u128 v[kMaxDigits + 1];
  constexpr Pow10Table() : v() {
    v[0] = 1;
    for (int i = 1; i <= kMaxDigits; ++i) v[i] = v[i - 1] * 10;
  }
};
constexpr Pow10Table kPow10;

u128 magnitude(__int128 v) { return v < 0 ? -static_cast<u128>(v) : static_cast<u128>(v); }

// m * 10^k; false when beyond 256 bits.
bool scale_up(U256 m, int k, U256* out) {
  while (k > 0) {
    int step = k > kMaxDigits ? kMaxDigits : k;
    if (!mul_wide(m, kPow10.v[step], &m)) return false;
    k -= step;
  }
  *out = m;
  return true;
}

// m / 10^k rounded half away from zero (m is a magnitude).
U256 scale_down(U256 m, int k) {
  if (k <= 0) return m;
  u128 rem;
  while (k > 1) {
    int step = k - 1 > kMaxDigits ? kMaxDigits : k - 1;
    m = divmod_wide(m, kPow10.v[step], &rem);
    k -= step;
  }
  m = divmod_wide(m, 10, &rem);
  if (rem >= 5) m = add_wide(m, U256::of(1));
  return m;
}

// A signed 256-bit magnitude at `scale` to a Decimal at `target` scale.
bool finish(U256 m, bool negative, int scale, uint8_t target, Decimal* out) {
  if (target >= scale) {
    if (!scale_up(m, target - scale, &m)) return false;
  } else {
    m = scale_down(m, scale - target);
  }
  if (!m.fits_u128() || m.lo > max_unscaled(kMaxDigits)) return false;
  __int128 v = static_cast<__int128>(m.lo);
  *out = Decimal(negative ? -v : v, target);
  return true;
}

// |d| at scale `to` (>= d.scale()), exact.
U256 widened(const Decimal& d, int to) {
  U256 m = U256::of(magnitude(d.unscaled()));
  scale_up(m, to - d.scale(), &m);  // at most 76 digits: always fits
  return m;
}

bool add_signed(const Decimal& a, const Decimal& b, bool negate_b, uint8_t scale, Decimal* out) {
  int common = a.scale() > b.scale() ? a.scale() : b.scale();
  U256 ma = widened(a, common), mb = widened(b, common);
  bool na = a.sign() < 0, nb = (b.sign() < 0) != negate_b;
  if (na == nb) return finish(add_wide(ma, mb), na, common, scale, out);
  if (mb < ma) return finish(sub_wide(ma, mb), na, common, scale, out);
  return finish(sub_wide(mb, ma), nb, common, scale, out);
}

}  // namespace

u128 pow10_u128(int n) { return kPow10.v[n]; }

int digit_count(u128 v) {
  int n = 1;
  while (n < kMaxDigits + 1 && v >= kPow10.v[n]) ++n;
  return n;
}

bool decimal_fits(const Decimal& d, int precision) { return magnitude(d.unscaled()) <= max_unscaled(precision); }

bool decimal_add(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out) {
  return add_signed(a, b, false, scale, out);
}

bool decimal_subtract(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out) {
  return add_signed(a, b, true, scale, out);
}

bool decimal_multiply(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out) {
  U256 m = mul_wide(magnitude(a.unscaled()), magnitude(b.unscaled()));
  bool negative = (a.sign() < 0) != (b.sign() < 0);
  return finish(m, negative && !m.is_zero(), a.scale() + b.scale(), scale, out);
}

bool decimal_divide(const Decimal& a, const Decimal& b, uint8_t scale, Decimal* out) {
  // The truncated quotient at one digit more than needed, so that the
  // final rounding sees the first dropped digit.
  int wanted = scale > a.scale() - b.scale() ? scale : a.scale() - b.scale();
  int t = wanted + 1;
  int e = t - a.scale() + b.scale();
  U256 n;
  if (!scale_up(U256::of(magnitude(a.unscaled())), e, &n)) return false;
  u128 rem;
  U256 q = divmod_wide(n, magnitude(b.unscaled()), &rem);
  bool negative = (a.sign() < 0) != (b.sign() < 0);
  return finish(q, negative && !q.is_zero(), t, scale, out);
}

bool decimal_modulo(const Decimal& a, const Decimal& b, Decimal* out) {
  int common = a.scale() > b.scale() ? a.scale() : b.scale();
  U256 ma = widened(a, common), mb = widened(b, common);
  if (!mb.fits_u128()) {  // |b| > |a| is not certain, but the remainder is a then
    if (ma < mb) return finish(ma, a.sign() < 0, common, common, out);
    return false;
  }
  u128 rem;
  divmod_wide(ma, mb.lo, &rem);
  return finish(U256::of(rem), a.sign() < 0 && rem != 0, common, common, out);
}

bool decimal_from_double(double v, uint8_t scale, Decimal* out) {
  if (!std::isfinite(v)) return false;
  long double x = std::fabs(static_cast<long double>(v)) * std::pow(10.0L, scale);
  x = std::floor(x + 0.5L);
  if (x >= 1e38L) return false;
  __int128 u = static_cast<__int128>(x);
  *out = Decimal(v < 0 ? -u : u, scale);
  return true;
}

bool decimal_to_int64(const Decimal& d, bool round, int64_t* out) {
  U256 m = U256::of(magnitude(d.unscaled()));
  if (round) {
    m = scale_down(m, d.scale());
  } else {
    u128 rem;
    m = divmod_wide(m, kPow10.v[d.scale()], &rem);
  }
  if (!m.fits_u128()) return false;
  u128 limit = d.sign() < 0 ? u128{1} << 63 : (u128{1} << 63) - 1;
  if (m.lo > limit) return false;
  *out = d.sign() < 0 ? static_cast<int64_t>(-static_cast<__int128>(m.lo)) : static_cast<int64_t>(m.lo);
  return true;
}

int Decimal::digits() const { return digit_count(magnitude(unscaled_)); }

bool Decimal::rescale(uint8_t new_scale, Decimal* out) const {
  if (new_scale == scale_) {
    *out = *this;
    return true;
  }
  return finish(U256::of(magnitude(unscaled_)), unscaled_ < 0, scale_, new_scale, out);
}

double Decimal::to_double() const {
  return static_cast<double>(static_cast<long double>(unscaled_) / std::pow(10.0L, static_cast<int>(scale_)));
}

std::string Decimal::to_string() const {
  u128 m = magnitude(unscaled_);
  char buf[48];
  int n = 0;
  do {
    buf[n++] = static_cast<char>('0' + static_cast<int>(m % 10));
    m /= 10;
  } while (m != 0);
  while (n <= scale_) buf[n++] = '0';  // at least one digit before the point
  std::string s;
  s.reserve(n + 2);
  if (unscaled_ < 0) s += '-';
  for (int i = n - 1; i >= 0; --i) {
    s += buf[i];
    if (i == scale_ && i != 0) s += '.';
  }
  return s;
}

bool Decimal::parse(std::string_view text, Decimal* out) {
  size_t i = 0, n = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (i < n && blank(text[i])) ++i;
  while (n > i && blank(text[n - 1])) --n;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  u128 m = 0;
  int digits = 0, scale = 0;
  bool any = false, point = false;
  for (; i < n; ++i) {
    char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    any = true;
    if (point) ++scale;
    if (m == 0 && c == '0' && !point) continue;  // leading zeros
    if (++digits > kMaxDigits || scale > kMaxDigits) return false;
    m = m * 10 + static_cast<u128>(c - '0');
  }
  if (!any) return false;
  __int128 v = static_cast<__int128>(m);
  *out = Decimal(negative ? -v : v, static_cast<uint8_t>(scale));
  return true;
}

int compare(const Decimal& a, const Decimal& b) {
  if (a.sign() != b.sign()) return a.sign() < b.sign() ? -1 : 1;
  if (a.scale() == b.scale()) {
    return a.unscaled() < b.unscaled() ? -1 : (a.unscaled() > b.unscaled() ? 1 : 0);
  }
  int common = a.scale() > b.scale() ? a.scale() : b.scale();
  U256 ma = widened(a, common), mb = widened(b, common);
  int c = ma < mb ? -1 : (mb < ma ? 1 : 0);
  return a.sign() < 0 ? -c : c;
}

}  // namespace standin
