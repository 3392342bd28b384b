#include "types_test_support.h"

#include <algorithm>

#include "types/compare.h"

namespace standin {
namespace {

using namespace standin::testing;

TEST(Collation, CaseInsensitiveAccentSensitive) {
  EXPECT_EQ(collate_compare("Mandstam", "mandstam"), 0);
  EXPECT_EQ(collate_compare("ä", "Ä"), 0);
  EXPECT_EQ(collate_compare("ÖSTERREICH", "österreich"), 0);
  EXPECT_NE(collate_compare("a", "ä"), 0);
  EXPECT_NE(collate_compare("Mueller", "Müller"), 0);
  EXPECT_EQ(collate_compare("Straße", "STRASSE"), 0);
  EXPECT_EQ(collate_compare("Š€", "š€"), 0);
  EXPECT_NE(collate_compare("–", "-"), 0);
  EXPECT_EQ(collate_compare("ΑΒΓ", "αβγ"), 0);
}

TEST(Collation, TrailingBlanksAreIgnored) {
  EXPECT_EQ(collate_compare("abc", "abc   "), 0);
  EXPECT_EQ(collate_compare("Äbc ", "äBC"), 0);
  EXPECT_EQ(collate_compare("", "   "), 0);
  EXPECT_LT(collate_compare(" abc", "abc"), 0);  // leading blanks count
  EXPECT_EQ(collate_key("ABC  "), collate_key("abc"));
}

TEST(Collation, GermanDictionaryOrder) {
  std::vector<std::string> words = {"Zander", "Ärger",   "apfel",  "Bär",   "Arm", "Ähre", "ab", "Abend",
                                    "Straße", "Strasse", "Strauß", "Äpfel", "10",  "9",    "-x"};
  std::sort(words.begin(), words.end(),
            [](const std::string& a, const std::string& b) { return collate_compare(a, b) < 0; });
  // ä right after a, among the words with a; ß with ss; punctuation, then
  // digits, then letters.
  std::vector<std::string> expected = {"-x",    "10",  "9",   "ab",     "Abend",   "Ähre",   "apfel", "Äpfel",
                                       "Ärger", "Arm", "Bär", "Straße", "Strasse", "Strauß", "Zander"};
  for (size_t i = 0; i < words.size(); ++i) {
    // Straße and Strasse are equal: either order is right.
    if (words[i] == "Strasse" || words[i] == "Straße") continue;
    EXPECT_EQ(words[i], expected[i]) << i;
  }
  EXPECT_LT(collate_compare("a", "ä"), 0);
  EXPECT_LT(collate_compare("ä", "b"), 0);
  EXPECT_LT(collate_compare("abc", "abcd"), 0);
  EXPECT_GT(collate_compare("b", "A"), 0);
}

TEST(Collation, KeysAgreeWithComparison) {
  const char* samples[] = {"abc",   "ABC",    "abc ", "äbc", "ÄBC", "Straße", "STRASSE", "strase", "æ", "AE",
                           "Œuvre", "oeuvre", "Ÿ",    "ÿ",   "y",   "€",      "",        "Ω",      "ω", "a-b"};
  for (const char* a : samples) {
    for (const char* b : samples) {
      EXPECT_EQ(collate_compare(a, b) == 0, collate_key(a) == collate_key(b)) << a << " / " << b;
      EXPECT_EQ(collate_compare(a, b), -collate_compare(b, a)) << a << " / " << b;
    }
  }
}

TEST(Like, WildcardsSetsAndRanges) {
  EXPECT_TRUE(like_match("Mandstam", "mand%"));
  EXPECT_TRUE(like_match("DRAVOK_TMP1", "dravok%"));
  EXPECT_FALSE(like_match("DRAVO", "dravok%"));
  EXPECT_TRUE(like_match("abc", "a_c"));
  EXPECT_FALSE(like_match("abbc", "a_c"));
  EXPECT_TRUE(like_match("abc", "%"));
  EXPECT_TRUE(like_match("", "%"));
  EXPECT_TRUE(like_match("b1", "[abc][0-9]"));
  EXPECT_FALSE(like_match("d1", "[abc][0-9]"));
  EXPECT_TRUE(like_match("d1", "[^abc]1"));
  EXPECT_TRUE(like_match("Ärger", "ä%"));
  EXPECT_FALSE(like_match("Ärger", "a%"));
  EXPECT_TRUE(like_match("ä", "[a-z]"));
  EXPECT_TRUE(like_match("x%y", "x!%y", U'!'));
  EXPECT_FALSE(like_match("xzy", "x!%y", U'!'));
  EXPECT_TRUE(like_match("a]b", "a]b"));
  EXPECT_TRUE(like_match("abcXdefXghi", "%x%x%"));
}

TEST(Like, TrailingBlanks) {
  EXPECT_TRUE(like_match("abc   ", "abc"));
  EXPECT_FALSE(like_match("abc", "abc "));
  EXPECT_TRUE(like_match("abc ", "abc "));
  EXPECT_TRUE(like_match("abc", "abc%"));
}

TEST(CompareValues, ConvertsToTheCommonType) {
  int c;
  Error err;
  ASSERT_TRUE(compare_values(i32(10), num("9.99"), dmy(), &c, &err));
  EXPECT_GT(c, 0);
  ASSERT_TRUE(compare_values(str("10"), i32(9), dmy(), &c, &err));
  EXPECT_GT(c, 0);  // numerically, not as text
  ASSERT_TRUE(compare_values(datetime("20.02.2013"), str("20.02.2013"), dmy(), &c, &err));
  EXPECT_EQ(c, 0);
  ASSERT_TRUE(compare_values(Value::floating(0.5), num("0.50"), dmy(), &c, &err));
  EXPECT_EQ(c, 0);
  ASSERT_TRUE(compare_values(Value::money(Decimal(15000, 4)), num("1.5"), dmy(), &c, &err));
  EXPECT_EQ(c, 0);
  ASSERT_TRUE(compare_values(str("ÄRGER "), Value::nvarchar("ärger"), dmy(), &c, &err));
  EXPECT_EQ(c, 0);
  EXPECT_FALSE(compare_values(str("abc"), i32(1), dmy(), &c, &err));
  EXPECT_EQ(err.number, 245);
  EXPECT_FALSE(compare_values(i32(1), Value::guid("6F9619FF-8B86-D011-B42D-00C04FC964FF"), dmy(), &c, &err));
  EXPECT_EQ(err.number, 206);
}

}  // namespace
}  // namespace standin
