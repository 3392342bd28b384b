#include "types_test_support.h"

#include "types/aggregate.h"

namespace standin {
namespace {

using namespace standin::testing;

Value aggregate(const char* name, bool distinct, const TypeInfo& t, std::vector<Value> values) {
  auto agg = make_aggregate(name, distinct, t);
  EXPECT_NE(agg, nullptr);
  Error err;
  for (const Value& v : values) EXPECT_TRUE(agg->add(v, dmy(), &err)) << err.message;
  return agg->result();
}

TEST(Aggregates, EmptyInput) {
  TypeInfo i = TypeInfo::of(Type::Int);
  EXPECT_EQ(aggregate("COUNT", false, i, {}).int_value(), 0);
  EXPECT_FALSE(aggregate("count", false, i, {}).is_null());
  EXPECT_TRUE(aggregate("SUM", false, i, {}).is_null());
  EXPECT_TRUE(aggregate("MAX", false, i, {Value::null()}).is_null());
  EXPECT_TRUE(aggregate("AVG", false, i, {}).is_null());
}

TEST(Aggregates, SumTypesAndOverflow) {
  TypeInfo d = TypeInfo::decimal(19, 8);
  Value a = Value::decimal(Decimal(150000000, 8), d), b = Value::decimal(Decimal(1, 8), d);
  Value sum = aggregate("SUM", false, d, {a, b, Value::null(d)});
  EXPECT_EQ(sum.type(), TypeInfo::decimal(38, 8));
  EXPECT_EQ(sum.to_display(), "1.50000001");
  EXPECT_EQ(
      aggregate("SUM", false, TypeInfo::of(Type::Money), {Value::money(Decimal(12345, 4)), Value::money(Decimal(1, 4))})
          .to_display(),
      "1.2346");
  EXPECT_EQ(aggregate("SUM", false, TypeInfo::of(Type::TinyInt),
                      {Value::integer(200, Type::TinyInt), Value::integer(200, Type::TinyInt)})
                .int_value(),
            400);
  auto agg = make_aggregate("SUM", false, TypeInfo::of(Type::Int));
  Error err;
  ASSERT_TRUE(agg->add(i32(2147483647), dmy(), &err));
  EXPECT_FALSE(agg->add(i32(1), dmy(), &err));
  EXPECT_EQ(err.number, 8115);
  EXPECT_EQ(make_aggregate("SUM", false, TypeInfo::varchar(5)), nullptr);
  EXPECT_EQ(aggregate_argument_error("SUM", TypeInfo::varchar(5)).message,
            "Operand data type varchar is invalid for sum operator.");
}

TEST(Aggregates, AverageAndDistinct) {
  TypeInfo i = TypeInfo::of(Type::Int);
  EXPECT_EQ(aggregate("AVG", false, i, {i32(1), i32(2)}).int_value(), 1);  // integer average
  TypeInfo d = TypeInfo::decimal(5, 1);
  Value avg = aggregate("AVG", false, d, {Value::decimal(Decimal(10, 1), d), Value::decimal(Decimal(20, 1), d)});
  EXPECT_EQ(avg.type(), TypeInfo::decimal(38, 6));
  EXPECT_EQ(avg.to_display(), "1.500000");
  EXPECT_EQ(aggregate("COUNT", true, TypeInfo::varchar(5), {str("a"), str("A "), str("ä"), Value::null()}).int_value(),
            2);
  EXPECT_EQ(aggregate("SUM", true, i, {i32(3), i32(3), i32(4)}).int_value(), 7);
  EXPECT_EQ(aggregate("COUNT_BIG", false, i, {i32(3), i32(3)}).type().type, Type::BigInt);
}

TEST(Aggregates, MinMaxFollowTheCollation) {
  TypeInfo vc = TypeInfo::varchar(10);
  EXPECT_EQ(aggregate("MAX", false, vc, {str("apfel"), str("Äpfel"), str("Zander"), str("bär")}).string_value(),
            "Zander");
  EXPECT_EQ(aggregate("MIN", false, vc, {str("b"), str("Ä"), str("a")}).string_value(), "a");
  EXPECT_EQ(aggregate("MIN", false, TypeInfo::of(Type::DateTime), {datetime("02.01.2000"), datetime("01.02.2000")})
                .to_display(),
            "2000-01-02 00:00:00.000");
}

}  // namespace
}  // namespace standin
