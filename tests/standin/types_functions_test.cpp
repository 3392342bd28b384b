#include "types_test_support.h"

namespace standin {
namespace {

using namespace standin::testing;

TEST(FunctionLookup, IsCaseInsensitive) {
  EXPECT_NE(find_scalar_function("isnull"), nullptr);
  EXPECT_NE(find_scalar_function("DateAdd"), nullptr);
  EXPECT_EQ(find_scalar_function("NOSUCH"), nullptr);
  const ScalarFunction* f = find_scalar_function("charindex");
  EXPECT_EQ(f->min_args, 2);
  EXPECT_EQ(f->max_args, 3);
}

TEST(StringFunctions, LengthsAndPieces) {
  EXPECT_EQ(call("LEN", {str("abc   ")}).int_value(), 3);
  EXPECT_EQ(call("LEN", {str("  abc")}).int_value(), 5);
  EXPECT_EQ(call("LEN", {str("Müßig")}).int_value(), 5);
  EXPECT_EQ(call("LEN", {i32(12345)}).int_value(), 5);
  EXPECT_TRUE(call("LEN", {Value::null(TypeInfo::varchar(3))}).is_null());
  EXPECT_EQ(call("LEFT", {str("Müller"), i32(2)}).string_value(), "Mü");
  EXPECT_EQ(call("RIGHT", {str("05"), i32(2)}).string_value(), "05");
  EXPECT_EQ(call("RIGHT", {str("012"), i32(2)}).string_value(), "12");
  EXPECT_EQ(call("RIGHT", {str("7"), i32(5)}).string_value(), "7");
  EXPECT_EQ(call("SUBSTRING", {str("abcdef"), i32(2), i32(3)}).string_value(), "bcd");
  EXPECT_EQ(call("SUBSTRING", {str("abcdef"), i32(0), i32(3)}).string_value(), "ab");
  EXPECT_EQ(call("SUBSTRING", {str("abc"), i32(5), i32(3)}).string_value(), "");
  EXPECT_EQ(call_error("SUBSTRING", {str("abc"), i32(1), i32(-1)}).number, 536);
  EXPECT_EQ(call("LTRIM", {str("  a b  ")}).string_value(), "a b  ");
  EXPECT_EQ(call("RTRIM", {str("  a b  ")}).string_value(), "  a b");
  EXPECT_EQ(call("UPPER", {str("straße ä")}).string_value(), "STRAßE Ä");
  EXPECT_EQ(call("LOWER", {str("ÄRGER")}).string_value(), "ärger");
  EXPECT_EQ(call("CHARINDEX", {str("B"), str("abcb")}).int_value(), 2);
  EXPECT_EQ(call("CHARINDEX", {str("b"), str("abcb"), i32(3)}).int_value(), 4);
  EXPECT_EQ(call("CHARINDEX", {str("x"), str("abc")}).int_value(), 0);
}

TEST(StringFunctions, ReplaceMatchesUnderTheCollation) {
  EXPECT_EQ(call("REPLACE", {str("Zeile1\r\nZeile2\r\n"), str("\r\n"), str(" ")}).string_value(), "Zeile1 Zeile2 ");
  EXPECT_EQ(call("REPLACE", {str("a  b   c"), str("  "), str(" ")}).string_value(), "a b  c");
  EXPECT_EQ(call("REPLACE", {str("Abc abc"), str("ABC"), str("x")}).string_value(), "x x");
  EXPECT_EQ(call("REPLACE", {str("Bär Bar"), str("ä"), str("ae")}).string_value(), "Baer Bar");
  EXPECT_EQ(call("REPLACE", {str("abc"), str(""), str("x")}).string_value(), "abc");
  EXPECT_TRUE(call("REPLACE", {str("abc"), Value::null(TypeInfo::varchar(1)), str("x")}).is_null());
}

TEST(NullFunctions, IsNullTakesTheFirstArgumentsType) {
  Value v = call("ISNULL", {Value::null(TypeInfo::varchar(3)), str("abcdef")});
  EXPECT_EQ(v.string_value(), "abc");
  EXPECT_EQ(v.type(), TypeInfo::varchar(3));
  v = call("ISNULL", {Value::null(TypeInfo::of(Type::Int)), str("42")});
  EXPECT_EQ(v.int_value(), 42);
  EXPECT_EQ(call("ISNULL", {str("x"), str("y")}).string_value(), "x");
  v = call("COALESCE", {Value::null(TypeInfo::varchar(3)), i32(5), num("1.5")});
  EXPECT_EQ(v.to_display(), "5.0");
  EXPECT_TRUE(call("NULLIF", {str("a"), str("A")}).is_null());
  EXPECT_EQ(call("NULLIF", {i32(1), i32(2)}).int_value(), 1);
}

TEST(MathFunctions, RoundCeilingFloorAbs) {
  EXPECT_EQ(call("ROUND", {num("748.58"), i32(-2)}).to_display(), "700.00");
  // The result keeps the argument's type: 1000.00 does not fit decimal(5,2).
  EXPECT_EQ(call_error("ROUND", {num("748.58"), i32(-3)}).number, 8115);
  EXPECT_EQ(call("ROUND", {cast(num("748.58"), TypeInfo::decimal(6, 2)), i32(-3)}).to_display(), "1000.00");
  EXPECT_EQ(call("ROUND", {num("748.58"), i32(-4)}).to_display(), "0.00");
  EXPECT_EQ(call("ROUND", {num("2.345"), i32(2)}).to_display(), "2.350");
  EXPECT_EQ(call("ROUND", {num("-2.345"), i32(2)}).to_display(), "-2.350");
  EXPECT_EQ(call("ROUND", {num("2.349"), i32(2), i32(1)}).to_display(), "2.340");
  EXPECT_EQ(call("ROUND", {i32(1250), i32(-2)}).int_value(), 1300);
  EXPECT_DOUBLE_EQ(call("ROUND", {Value::floating(2.5), i32(0)}).float_value(), 3.0);
  EXPECT_EQ(call("CEILING", {num("-123.4000")}).to_display(), "-123");
  EXPECT_EQ(call("CEILING", {num("123.0001")}).to_display(), "124");
  EXPECT_EQ(call("FLOOR", {num("-1.5")}).to_display(), "-2");
  EXPECT_EQ(call("CEILING", {Value::money(Decimal(12345, 4))}).to_display(), "2.0000");
  EXPECT_EQ(call("ABS", {num("-1.50")}).to_display(), "1.50");
  EXPECT_EQ(call("ABS", {i32(-3)}).int_value(), 3);
  EXPECT_TRUE(call("ROUND", {Value::null(TypeInfo::decimal(5, 2)), i32(0)}).is_null());
}

TEST(ContextFunctions, UseTheExecutorsSources) {
  SessionSettings s;
  DateTime fixed = DateTime::from_civil(2016, 2, 29, 12, 0);
  EvalContext ctx{&s, [fixed] { return fixed; }, [] { return std::string("0E984725-C51C-4BF4-9960-E1C80E27ABA0"); }};
  Value out;
  Error err;
  ASSERT_TRUE(find_scalar_function("GETDATE")->fn({}, ctx, &out, &err));
  EXPECT_EQ(out.to_display(), "2016-02-29 12:00:00.000");
  ASSERT_TRUE(find_scalar_function("NEWID")->fn({}, ctx, &out, &err));
  EXPECT_EQ(out.to_display(), "0E984725-C51C-4BF4-9960-E1C80E27ABA0");
  // Without a source: a fresh random guid each time.
  Value a, b;
  ASSERT_TRUE(find_scalar_function("NEWID")->fn({}, EvalContext{}, &a, &err));
  ASSERT_TRUE(find_scalar_function("NEWID")->fn({}, EvalContext{}, &b, &err));
  EXPECT_NE(a.string_value(), b.string_value());
  Value check = cast(a, TypeInfo::of(Type::UniqueIdentifier));
  EXPECT_EQ(check.string_value(), a.string_value());
}

}  // namespace
}  // namespace standin
