#include <gtest/gtest.h>

#include "types/decimal_math.h"

namespace standin {
namespace {

Decimal dec(const char* text) {
  Decimal d;
  EXPECT_TRUE(Decimal::parse(text, &d)) << text;
  return d;
}

TEST(DecimalText, ParseKeepsScaleAndPrintsIt) {
  EXPECT_EQ(dec("12.34000000").to_string(), "12.34000000");
  EXPECT_EQ(dec("-0.50").to_string(), "-0.50");
  EXPECT_EQ(dec(".5").to_string(), "0.5");
  EXPECT_EQ(dec(" 7 ").to_string(), "7");
  EXPECT_EQ(dec("-0.001").scale(), 3);
  Decimal d;
  EXPECT_FALSE(Decimal::parse("1e3", &d));
  EXPECT_FALSE(Decimal::parse("", &d));
  EXPECT_FALSE(Decimal::parse("-", &d));
  EXPECT_FALSE(Decimal::parse("1.2.3", &d));
  EXPECT_FALSE(Decimal::parse("123456789012345678901234567890123456789", &d));  // 39 digits
  EXPECT_TRUE(Decimal::parse("00012345678901234567890123456789012345678", &d));
}

TEST(DecimalRescale, RoundsHalfAwayFromZero) {
  Decimal r;
  ASSERT_TRUE(dec("2.345").rescale(2, &r));
  EXPECT_EQ(r.to_string(), "2.35");
  ASSERT_TRUE(dec("-2.345").rescale(2, &r));
  EXPECT_EQ(r.to_string(), "-2.35");
  ASSERT_TRUE(dec("2.344999").rescale(2, &r));
  EXPECT_EQ(r.to_string(), "2.34");
  ASSERT_TRUE(dec("12.5").rescale(4, &r));
  EXPECT_EQ(r.to_string(), "12.5000");
  EXPECT_FALSE(dec("12345678901234567890123456789012345678").rescale(1, &r));
}

TEST(DecimalCompare, IgnoresScale) {
  EXPECT_EQ(compare(dec("1.50"), dec("1.5")), 0);
  EXPECT_LT(compare(dec("-2"), dec("-1.999")), 0);
  EXPECT_GT(compare(dec("0.001"), dec("0")), 0);
  EXPECT_GT(compare(dec("99999999999999999999999999999999999999"), dec("0.9999999999999999999999999999999999999")), 0);
}

TEST(DecimalMath, ExactBeyond128Bits) {
  Decimal a = dec("9999999999999999999.9999999999999999999");
  Decimal r;
  // The exact product has 76 digits; rounded to 19 decimals it still fits.
  ASSERT_TRUE(decimal_multiply(a, dec("0.0000000000000000001"), 19, &r));
  EXPECT_EQ(r.to_string(), "1.0000000000000000000");
  // a*a = 10^38 - 2 + 10^-38: 38 integer digits.
  ASSERT_TRUE(decimal_multiply(a, a, 0, &r));
  EXPECT_EQ(r.to_string(), std::string(37, '9') + "8");
  EXPECT_FALSE(decimal_multiply(a, a, 1, &r));  // 39 digits
  ASSERT_TRUE(decimal_divide(dec("1"), dec("3"), 6, &r));
  EXPECT_EQ(r.to_string(), "0.333333");
  ASSERT_TRUE(decimal_divide(dec("2"), dec("-3"), 6, &r));
  EXPECT_EQ(r.to_string(), "-0.666667");
  ASSERT_TRUE(decimal_divide(dec("1235.00"), dec("100"), 8, &r));
  EXPECT_EQ(r.to_string(), "12.35000000");
  ASSERT_TRUE(decimal_subtract(dec("0.1"), dec("0.25"), 2, &r));
  EXPECT_EQ(r.to_string(), "-0.15");
  ASSERT_TRUE(decimal_modulo(dec("-7.5"), dec("2"), &r));
  EXPECT_EQ(r.to_string(), "-1.5");
}

TEST(DecimalMath, ConversionsToIntegerAndFromDouble) {
  int64_t i;
  ASSERT_TRUE(decimal_to_int64(dec("-12.7"), false, &i));
  EXPECT_EQ(i, -12);
  ASSERT_TRUE(decimal_to_int64(dec("-12.5"), true, &i));
  EXPECT_EQ(i, -13);
  EXPECT_FALSE(decimal_to_int64(dec("9223372036854775808"), false, &i));
  Decimal d;
  ASSERT_TRUE(decimal_from_double(0.1, 2, &d));
  EXPECT_EQ(d.to_string(), "0.10");
  ASSERT_TRUE(decimal_from_double(-2.675, 1, &d));
  EXPECT_EQ(d.to_string(), "-2.7");
}

}  // namespace
}  // namespace standin
