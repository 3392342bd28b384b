// The character weights behind collate_compare, collate_key and LIKE.
#pragma once

#include <cstdint>

namespace standin {

// One character as the collation sees it: one or two base letters (ß is
// "ss", æ is "ae") and an accent mark. Case is gone; two characters are
// equal exactly when their folds are equal.
struct CharFold {
  char32_t base[2];  // base[1] == 0 when there is no second letter
  uint8_t accent;    // 0: none; otherwise which accent
  bool operator==(const CharFold&) const = default;
};

CharFold fold_char(char32_t cp);

// The primary sort weight of a base letter (as found in CharFold::base):
// punctuation and symbols first, then digits, then letters in alphabetical
// order, then the rest of Unicode by code point.
uint32_t primary_weight(char32_t base);

}  // namespace standin
