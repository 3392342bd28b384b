// LIKE pattern matching under the collation: % (any run), _ (one
// character), [abc], [a-z], [^a], and an optional escape character.
// Characters match when they fold alike (case-insensitive,
// accent-sensitive); a range [a-z] holds every character that sorts
// between its ends, so 'ä' is in [a-z].
#include <vector>

#include "types/collation.h"
#include "types/compare.h"
#include "types/utf8.h"

namespace standin {

namespace {

constexpr char32_t kNoEscape = 0xFFFFFFFF;

std::vector<char32_t> decode(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  size_t pos = 0;
  while (pos < s.size()) out.push_back(utf8_next(s, &pos));
  return out;
}

// Sort position of a character for range tests: base letter, then accent.
uint64_t sort_position(char32_t c) {
  CharFold f = fold_char(c);
  return (static_cast<uint64_t>(primary_weight(f.base[0])) << 40) |
         (static_cast<uint64_t>(f.base[1] ? primary_weight(f.base[1]) : 0) << 8) | f.accent;
}

bool same_char(char32_t a, char32_t b) { return a == b || fold_char(a) == fold_char(b); }

class Matcher {
 public:
  Matcher(const std::vector<char32_t>& text, const std::vector<char32_t>& pattern, char32_t escape)
      : t_(text), p_(pattern), escape_(escape) {}

  bool match(size_t ti, size_t pi) const {
    while (pi < p_.size()) {
      char32_t pc = p_[pi];
      if (pc == '%') {
        while (pi < p_.size() && p_[pi] == '%') ++pi;
        if (pi == p_.size()) return true;
        for (size_t k = ti; k <= t_.size(); ++k) {
          if (match(k, pi)) return true;
        }
        return false;
      }
      if (ti >= t_.size()) return false;
      size_t next_pi;
      if (!match_one(t_[ti], pi, &next_pi)) return false;
      ++ti;
      pi = next_pi;
    }
    return ti == t_.size();
  }

 private:
  // Matches one text character against the pattern element at pi.
  bool match_one(char32_t c, size_t pi, size_t* next_pi) const {
    char32_t pc = p_[pi];
    if (pc == escape_ && pi + 1 < p_.size()) {
      *next_pi = pi + 2;
      return same_char(c, p_[pi + 1]);
    }
    if (pc == '_') {
      *next_pi = pi + 1;
      return true;
    }
    if (pc == '[') {
      size_t close = pi + 1;
      if (close < p_.size() && p_[close] == '^') ++close;
      if (close < p_.size()) ++close;  // a ']' right after '[' is a member
      while (close < p_.size() && p_[close] != ']') ++close;
      if (close < p_.size()) {
        *next_pi = close + 1;
        return in_set(c, pi + 1, close);
      }
    }
    *next_pi = pi + 1;
    return same_char(c, pc);
  }

  bool in_set(char32_t c, size_t begin, size_t end) const {
    bool negated = p_[begin] == '^';
    if (negated) ++begin;
    bool found = false;
    uint64_t pos = 0;
    bool have_pos = false;
    for (size_t i = begin; i < end && !found; ++i) {
      if (i + 2 < end && p_[i + 1] == '-') {
        if (!have_pos) {
          pos = sort_position(c);
          have_pos = true;
        }
        found = sort_position(p_[i]) <= pos && pos <= sort_position(p_[i + 2]);
        i += 2;
      } else {
        found = same_char(c, p_[i]);
      }
    }
    return found != negated;
  }

  const std::vector<char32_t>& t_;
  const std::vector<char32_t>& p_;
  char32_t escape_;
};

bool match_text(std::string_view text, std::string_view pattern, char32_t escape);

bool like_impl(std::string_view text, std::string_view pattern, char32_t escape) {
  // Trailing blanks of the matched text may be dropped; those of the
  // pattern count.
  if (match_text(text, pattern, escape)) return true;
  size_t n = text.size();
  while (n > 0 && text[n - 1] == ' ') --n;
  return n < text.size() && match_text(text.substr(0, n), pattern, escape);
}

bool match_text(std::string_view text, std::string_view pattern, char32_t escape) {
  // Pure "abc%" patterns are the common case: a prefix test, no decoding.
  if (escape == kNoEscape && !pattern.empty() && pattern.back() == '%') {
    std::string_view prefix = pattern.substr(0, pattern.size() - 1);
    if (prefix.find_first_of("%_[") == std::string_view::npos) {
      bool ascii = true;
      for (char ch : prefix) ascii &= static_cast<unsigned char>(ch) < 0x80;
      if (ascii) {
        if (text.size() < prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
          if (!same_char(static_cast<unsigned char>(text[i]), static_cast<unsigned char>(prefix[i]))) {
            return false;
          }
        }
        return true;
      }
    }
  }
  std::vector<char32_t> t = decode(text), p = decode(pattern);
  return Matcher(t, p, escape).match(0, 0);
}

}  // namespace

bool like_match(std::string_view text, std::string_view pattern) { return like_impl(text, pattern, kNoEscape); }

bool like_match(std::string_view text, std::string_view pattern, char32_t escape) {
  return like_impl(text, pattern, escape);
}

}  // namespace standin
