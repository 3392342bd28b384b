// A case-insensitive, accent-sensitive collation for Western European text.
//
// Every character folds to base letters plus an accent (see CharFold).
// Strings compare on two levels, like a dictionary: first by the base
// letters of the whole string ("Äpfel" sorts among the "apf..." words),
// then, when those are equal, by the accents ("a" < "ä"). Case never
// counts. Trailing blanks are dropped before comparing. ASCII text, by far
// the most common, is compared through a table without decoding.
#include <string>

#include "types/collation.h"
#include "types/compare.h"
#include "types/utf8.h"

namespace standin {

namespace {

enum Accent : uint8_t {
  kNone = 0,
  kGrave,
  kAcute,
  kCircumflex,
  kTilde,
  kDiaeresis,
  kRing,
  kCedilla,
  kStroke,
  kCaron,
  kEth,
  kHook,
};

// Latin-1 letters U+00C0..U+00FF (upper and lower case fold alike).
struct LatinFold {
  char base0, base1;
  uint8_t accent;
};
constexpr LatinFold kLatin1[32] = {
    {'a', 0, kGrave},      {'a', 0, kAcute},     {'a', 0, kCircumflex}, {'a', 0, kTilde},      {'a', 0, kDiaeresis},
    {'a', 0, kRing},       {'a', 'e', kNone},    {'c', 0, kCedilla},    {'e', 0, kGrave},      {'e', 0, kAcute},
    {'e', 0, kCircumflex}, {'e', 0, kDiaeresis}, {'i', 0, kGrave},      {'i', 0, kAcute},      {'i', 0, kCircumflex},
    {'i', 0, kDiaeresis},  {'d', 0, kEth},       {'n', 0, kTilde},      {'o', 0, kGrave},      {'o', 0, kAcute},
    {'o', 0, kCircumflex}, {'o', 0, kTilde},     {'o', 0, kDiaeresis},  {0, 0, kNone},  // × ÷
    {'o', 0, kStroke},     {'u', 0, kGrave},     {'u', 0, kAcute},      {'u', 0, kCircumflex}, {'u', 0, kDiaeresis},
    {'y', 0, kAcute},      {0, 0, kNone},        {'s', 's', kNone},  // þ ß
};

constexpr char32_t kThorn = 0xFE;

// Simple case folding outside Latin-1.
char32_t fold_case(char32_t cp) {
  if (cp >= 0x100 && cp <= 0x17F && cp != 0x130 && cp != 0x131 && cp != 0x138 && cp != 0x149 && cp != 0x17F) {
    bool odd_lower = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
    if (odd_lower) return (cp & 1) ? cp + 1 : cp;
    return (cp & 1) ? cp : cp + 1;
  }
  if ((cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2)) return cp + 32;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 32;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 80;
  return cp;
}

// The byte of a code point in the Windows Western code page, for the
// punctuation it adds to Latin-1 (dashes, quotes, euro sign); 0 otherwise.
uint8_t cp1252_punctuation_byte(char32_t cp) {
  switch (cp) {
    case 0x20AC: return 0x80;
    case 0x201A: return 0x82;
    case 0x201E: return 0x84;
    case 0x2026: return 0x85;
    case 0x2020: return 0x86;
    case 0x2021: return 0x87;
    case 0x02C6: return 0x88;
    case 0x2030: return 0x89;
    case 0x2039: return 0x8B;
    case 0x2018: return 0x91;
    case 0x2019: return 0x92;
    case 0x201C: return 0x93;
    case 0x201D: return 0x94;
    case 0x2022: return 0x95;
    case 0x2013: return 0x96;
    case 0x2014: return 0x97;
    case 0x02DC: return 0x98;
    case 0x2122: return 0x99;
    case 0x203A: return 0x9B;
    default: return 0;
  }
}

// Weights of the ASCII characters; letters fold to lower case.
struct AsciiWeights {
  uint16_t w[128];
  constexpr AsciiWeights() : w() {
    for (int c = 0; c < 128; ++c) {
      if (c >= 'a' && c <= 'z')
        w[c] = static_cast<uint16_t>(0x200 + (c - 'a') * 2);
      else if (c >= 'A' && c <= 'Z')
        w[c] = static_cast<uint16_t>(0x200 + (c - 'A') * 2);
      else if (c >= '0' && c <= '9')
        w[c] = static_cast<uint16_t>(0x100 + (c - '0'));
      else
        w[c] = static_cast<uint16_t>(c);
    }
  }
};
constexpr AsciiWeights kAscii;

size_t trimmed_size(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

// Yields the collation units (base letter + accent) of a string one by one.
class UnitReader {
 public:
  UnitReader(std::string_view s, size_t pos) : s_(s), pos_(pos) {}
  bool next(char32_t* base, uint8_t* accent) {
    if (pending_) {
      *base = pending_;
      *accent = 0;
      pending_ = 0;
      return true;
    }
    if (pos_ >= s_.size()) return false;
    CharFold f = fold_char(utf8_next(s_, &pos_));
    *base = f.base[0];
    *accent = f.accent;
    pending_ = f.base[1];
    return true;
  }

 private:
  std::string_view s_;
  size_t pos_;
  char32_t pending_ = 0;
};

int compare_units(std::string_view a, std::string_view b, size_t start) {
  // Level 1: base letters over the whole strings.
  UnitReader ra(a, start), rb(b, start);
  int accents = 0;
  while (true) {
    char32_t ba, bb;
    uint8_t aa, ab;
    bool more_a = ra.next(&ba, &aa), more_b = rb.next(&bb, &ab);
    if (!more_a || !more_b) {
      if (more_a != more_b) return more_a ? 1 : -1;
      return accents;
    }
    uint32_t wa = primary_weight(ba), wb = primary_weight(bb);
    if (wa != wb) return wa < wb ? -1 : 1;
    // Level 2: the first accent difference decides if the letters tie.
    if (accents == 0 && aa != ab) accents = aa < ab ? -1 : 1;
  }
}

}  // namespace

CharFold fold_char(char32_t cp) {
  if (cp < 0x80) {
    char32_t c = cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
    return {{c, 0}, kNone};
  }
  if (cp >= 0xC0 && cp <= 0xFF) {
    const LatinFold& f = kLatin1[(cp - 0xC0) & 31];
    if (f.base0 == 0) {  // × ÷ þ
      if ((cp & 31) == 0x1E) return {{kThorn, 0}, kNone};
      return {{cp, 0}, kNone};
    }
    if (cp == 0xFF) return {{'y', 0}, kDiaeresis};
    return {{static_cast<char32_t>(f.base0), static_cast<char32_t>(f.base1)}, f.accent};
  }
  switch (cp) {
    case 0x160:
    case 0x161: return {{'s', 0}, kCaron};
    case 0x17D:
    case 0x17E: return {{'z', 0}, kCaron};
    case 0x152:
    case 0x153: return {{'o', 'e'}, kNone};
    case 0x178: return {{'y', 0}, kDiaeresis};
    case 0x192: return {{'f', 0}, kHook};
    default: break;
  }
  return {{fold_case(cp), 0}, kNone};
}

uint32_t primary_weight(char32_t base) {
  if (base < 0x80) return kAscii.w[base];
  if (base == kThorn) return 0x200 + 26 * 2;
  if (base < 0x100) return base;
  if (uint8_t b = cp1252_punctuation_byte(base)) return b;
  return 0x10000 + base;
}

int collate_compare(std::string_view a, std::string_view b) {
  a = a.substr(0, trimmed_size(a));
  b = b.substr(0, trimmed_size(b));
  size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t i = 0;
  for (; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if ((ca | cb) & 0x80) return compare_units(a, b, i);
    if (ca != cb && kAscii.w[ca] != kAscii.w[cb]) return kAscii.w[ca] < kAscii.w[cb] ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return compare_units(a, b, i);
}

std::string collate_key(std::string_view s) {
  s = s.substr(0, trimmed_size(s));
  std::string key;
  key.reserve(s.size());
  size_t i = 0;
  for (; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c & 0x80) break;
    key += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  if (i == s.size()) return key;
  // Beyond ASCII: base letters as UTF-8, then, when any unit carries an
  // accent, a 0xFF byte (never part of UTF-8) and one accent byte per unit.
  std::string accents(i, '\0');
  bool any_accent = false;
  UnitReader r(s, i);
  char32_t base;
  uint8_t accent;
  while (r.next(&base, &accent)) {
    utf8_append(&key, base);
    accents += static_cast<char>(accent);
    any_accent |= accent != 0;
  }
  if (any_accent) {
    key += '\xFF';
    key += accents;
  }
  return key;
}

}  // namespace standin
