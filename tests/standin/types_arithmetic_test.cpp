#include "types_test_support.h"

#include "types/arith.h"

namespace standin {
namespace {

using namespace standin::testing;

Value apply(ArithOp op, const Value& a, const Value& b) {
  Value out;
  Error err;
  EXPECT_TRUE(arith(op, a, b, dmy(), &out, &err)) << err.message;
  return out;
}

Error apply_error(ArithOp op, const Value& a, const Value& b) {
  Value out;
  Error err;
  EXPECT_FALSE(arith(op, a, b, dmy(), &out, &err)) << out.to_display();
  return err;
}

TEST(DecimalResultTypes, FollowSqlServerPrecisionAndScale) {
  TypeInfo d52 = TypeInfo::decimal(5, 2), d10 = TypeInfo::decimal(10, 4);
  EXPECT_EQ(arith_result_type(ArithOp::Add, d52, d10), TypeInfo::decimal(11, 4));
  EXPECT_EQ(arith_result_type(ArithOp::Multiply, d52, d10), TypeInfo::decimal(16, 6));
  EXPECT_EQ(arith_result_type(ArithOp::Divide, d52, d10), TypeInfo::decimal(20, 13));
  EXPECT_EQ(arith_result_type(ArithOp::Modulo, d52, d10), TypeInfo::decimal(7, 4));
  // An int operand counts as decimal(10,0).
  EXPECT_EQ(arith_result_type(ArithOp::Multiply, TypeInfo::decimal(6, 4), TypeInfo::of(Type::Int)),
            TypeInfo::decimal(17, 4));
  // Beyond 38 digits the scale gives way, but not below 6.
  EXPECT_EQ(arith_result_type(ArithOp::Divide, TypeInfo::decimal(18, 0), TypeInfo::of(Type::Int)),
            TypeInfo::decimal(29, 11));
  EXPECT_EQ(arith_result_type(ArithOp::Multiply, TypeInfo::decimal(38, 10), TypeInfo::decimal(38, 10)),
            TypeInfo::decimal(38, 6));
  EXPECT_EQ(arith_result_type(ArithOp::Divide, TypeInfo::decimal(38, 2), TypeInfo::decimal(10, 2)),
            TypeInfo::decimal(38, 6));
  EXPECT_EQ(arith_result_type(ArithOp::Add, TypeInfo::of(Type::Money), TypeInfo::of(Type::Int)).type, Type::Money);
  EXPECT_EQ(arith_result_type(ArithOp::Add, TypeInfo::of(Type::Money), d52).type, Type::Decimal);
  EXPECT_EQ(arith_result_type(ArithOp::Add, TypeInfo::of(Type::SmallInt), TypeInfo::of(Type::BigInt)),
            TypeInfo::of(Type::BigInt));
  EXPECT_EQ(arith_result_type(ArithOp::Add, TypeInfo::varchar(10), TypeInfo::varchar(5)), TypeInfo::varchar(15));
  EXPECT_EQ(arith_result_type(ArithOp::Add, TypeInfo::varchar(6000), TypeInfo::varchar(6000)), TypeInfo::varchar(8000));
}

TEST(DecimalArithmetic, IsExact) {
  EXPECT_EQ(apply(ArithOp::Add, num("0.1"), num("0.2")).to_display(), "0.3");
  EXPECT_EQ(apply(ArithOp::Multiply, num("12.3401"), i32(100)).to_display(), "1234.0100");
  EXPECT_EQ(apply(ArithOp::Divide, i32(1), num("3.0")).to_display(), "0.333333");
  EXPECT_EQ(apply(ArithOp::Divide, num("10"), num("4")).to_display(), "2.500000");
  EXPECT_EQ(apply(ArithOp::Subtract, num("1.005"), num("2")).to_display(), "-0.995");
  EXPECT_EQ(apply(ArithOp::Modulo, num("7.5"), i32(2)).to_display(), "1.5");
  Value big = num("12345678901234567890.123456789012345678");
  EXPECT_EQ(apply(ArithOp::Multiply, big, i32(1)).to_display(),
            "12345678901234567890.1234568");  // decimal(38,7)
  EXPECT_EQ(apply(ArithOp::Multiply, Value::money(Decimal(15000, 4)), Value::money(Decimal(15000, 4))).to_display(),
            "2.2500");
}

TEST(RoundingExpressions, CentsRoundedUp) {
  // ROUND(CEILING(x*100),0)/100
  auto cents_up = [](const char* x) {
    Value v = apply(ArithOp::Multiply, num(x), i32(100));
    v = call("CEILING", {v});
    v = call("ROUND", {v, i32(0)});
    return apply(ArithOp::Divide, v, i32(100));
  };
  Value r = cents_up("12.3401");
  EXPECT_EQ(r.type(), TypeInfo::decimal(28, 11));
  EXPECT_EQ(r.to_display(), "12.35000000000");
  EXPECT_EQ(cents_up("-1.234").to_display(), "-1.23000000000");
  EXPECT_EQ(cents_up("5").to_display(), "5.00000000000");
}

TEST(IntegerArithmetic, TruncatesAndDetectsOverflow) {
  EXPECT_EQ(apply(ArithOp::Divide, i32(7), i32(2)).int_value(), 3);
  EXPECT_EQ(apply(ArithOp::Divide, i32(-7), i32(2)).int_value(), -3);
  EXPECT_EQ(apply(ArithOp::Modulo, i32(-7), i32(2)).int_value(), -1);
  Error e = apply_error(ArithOp::Add, i32(2147483647), i32(1));
  EXPECT_EQ(e.number, 8115);
  EXPECT_EQ(e.message, "Arithmetic overflow error converting expression to data type int.");
  EXPECT_EQ(apply_error(ArithOp::Multiply, i32(65536), i32(65536)).number, 8115);
  EXPECT_EQ(apply(ArithOp::Multiply, Value::integer(65536, Type::BigInt), i32(65536)).int_value(), 4294967296);
  e = apply_error(ArithOp::Divide, i32(1), i32(0));
  EXPECT_EQ(e.number, 8134);
  EXPECT_EQ(e.message, "Divide by zero error encountered.");
  EXPECT_EQ(apply_error(ArithOp::Divide, num("1.5"), num("0.00")).number, 8134);
  EXPECT_EQ(apply_error(ArithOp::Modulo, i32(1), i32(0)).number, 8134);
  EXPECT_EQ(apply_error(ArithOp::Divide, Value::floating(1), Value::floating(0)).number, 8134);
  EXPECT_EQ(apply_error(ArithOp::Multiply, num("99999999999999999999999999999999999999"), i32(10)).number, 8115);
}

TEST(MixedOperands, StringsMeetNumbersAndNulls) {
  EXPECT_EQ(apply(ArithOp::Add, str("5"), i32(1)).int_value(), 6);
  EXPECT_EQ(apply(ArithOp::Add, str("0"), str("12")).string_value(), "012");
  EXPECT_EQ(apply_error(ArithOp::Add, str("x"), i32(1)).number, 245);
  EXPECT_EQ(apply_error(ArithOp::Subtract, str("a"), str("b")).number, 402);
  Value n = apply(ArithOp::Add, Value::null(TypeInfo::of(Type::Int)), i32(1));
  EXPECT_TRUE(n.is_null());
  Value s = apply(ArithOp::Add, str("a"), Value::null(TypeInfo::varchar(5)));
  EXPECT_TRUE(s.is_null());
  EXPECT_EQ(s.type(), TypeInfo::varchar(6));
  EXPECT_DOUBLE_EQ(apply(ArithOp::Multiply, Value::floating(1.5), num("2")).float_value(), 3.0);
}

TEST(Concatenation, CombinesTextsAndTheirLengths) {
  Value out;
  Error err;
  // ISNULL(Vorwahl,'') + + ISNULL(Telefon1,''): the unary '+' leaves the text alone.
  ASSERT_TRUE(concat(call("ISNULL", {Value::null(TypeInfo::varchar(10)), str("")}), str("12345"), &out, &err));
  EXPECT_EQ(out.string_value(), "12345");
  ASSERT_TRUE(concat(str("06221"), Value::nvarchar("/123"), &out, &err));
  EXPECT_EQ(out.string_value(), "06221/123");
  EXPECT_EQ(out.type(), TypeInfo::nvarchar(9));
  EXPECT_FALSE(concat(Value::string("a", TypeInfo::of(Type::Text)), str("b"), &out, &err));
  EXPECT_EQ(err.number, 402);
  // CAST(AdrNr as varchar)+CAST(MitglNr as varchar): NULL when either is NULL.
  Value ref = apply(ArithOp::Add, cast(i32(4711), TypeInfo::varchar(30)), cast(Value::null(), TypeInfo::varchar(30)));
  EXPECT_TRUE(ref.is_null());
  ref = apply(ArithOp::Add, cast(i32(4711), TypeInfo::varchar(30)), cast(i32(12), TypeInfo::varchar(30)));
  EXPECT_EQ(ref.string_value(), "471112");
}

TEST(Negation, KeepsTypeAndChecksRange) {
  Value out;
  Error err;
  ASSERT_TRUE(negate(num("1.50"), &out, &err));
  EXPECT_EQ(out.to_display(), "-1.50");
  ASSERT_TRUE(negate(i32(5), &out, &err));
  EXPECT_EQ(out.int_value(), -5);
  EXPECT_FALSE(negate(i32(-2147483648), &out, &err));
  EXPECT_EQ(err.number, 8115);
  EXPECT_FALSE(negate(str("a"), &out, &err));
  EXPECT_EQ(err.number, 8117);
}

}  // namespace
}  // namespace standin
