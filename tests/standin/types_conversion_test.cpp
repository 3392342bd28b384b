#include "types_test_support.h"

#include "types/type_names.h"

namespace standin {
namespace {

using namespace standin::testing;

bool assign(const Value& v, const TypeInfo& column, bool ansi_warnings, Value* out, Error* err) {
  SessionSettings s{DateOrder::DMY, ansi_warnings};
  EvalContext ctx{&s, {}, {}};
  return assign_value(v, column, ctx, out, err);
}

TEST(AssignString, TruncationIsAnErrorUnlessAnsiWarningsAreOff) {
  Value out;
  Error err;
  EXPECT_FALSE(assign(str("abcdef"), TypeInfo::varchar(3), true, &out, &err));
  EXPECT_EQ(err.number, 8152);
  EXPECT_EQ(err.severity, 16);
  EXPECT_EQ(err.message, "String or binary data would be truncated.");
  ASSERT_TRUE(assign(str("abcdef"), TypeInfo::varchar(3), false, &out, &err));
  EXPECT_EQ(out.string_value(), "abc");
  EXPECT_EQ(out.type(), TypeInfo::varchar(3));
  // Only blanks would be lost: no error.
  ASSERT_TRUE(assign(str("abc   "), TypeInfo::varchar(3), true, &out, &err));
  EXPECT_EQ(out.string_value(), "abc");
  // Characters, not bytes, count.
  ASSERT_TRUE(assign(str("Müller"), TypeInfo::varchar(6), true, &out, &err));
  EXPECT_EQ(out.string_value(), "Müller");
  // char pads with blanks.
  ASSERT_TRUE(assign(str("ab"), TypeInfo{Type::Char, 4, 0, 0}, true, &out, &err));
  EXPECT_EQ(out.string_value(), "ab  ");
  ASSERT_TRUE(assign(Value::null(TypeInfo::varchar(9)), TypeInfo::of(Type::Int), true, &out, &err));
  EXPECT_TRUE(out.is_null());
  EXPECT_EQ(out.type().type, Type::Int);
}

TEST(AssignNumber, RoundsToTheColumnScaleAndChecksRange) {
  Value out;
  Error err;
  ASSERT_TRUE(assign(num("12.345678915"), TypeInfo::decimal(19, 8), true, &out, &err));
  EXPECT_EQ(out.to_display(), "12.34567892");
  ASSERT_TRUE(assign(num("-0.00005"), TypeInfo::of(Type::Money), true, &out, &err));
  EXPECT_EQ(out.to_display(), "-0.0001");
  ASSERT_TRUE(assign(num("2.5"), TypeInfo::decimal(5, 0), true, &out, &err));
  EXPECT_EQ(out.to_display(), "3");
  ASSERT_TRUE(assign(Value::floating(0.1), TypeInfo::decimal(19, 2), true, &out, &err));
  EXPECT_EQ(out.to_display(), "0.10");
  EXPECT_FALSE(assign(num("1234.5"), TypeInfo::decimal(5, 2), true, &out, &err));
  EXPECT_EQ(err.number, 8115);
  EXPECT_EQ(err.message, "Arithmetic overflow error converting numeric to data type numeric.");
  EXPECT_FALSE(assign(Value::integer(3000000000, Type::BigInt), TypeInfo::of(Type::Int), true, &out, &err));
  EXPECT_EQ(err.message, "Arithmetic overflow error converting expression to data type int.");
  EXPECT_FALSE(assign(i32(256), TypeInfo::of(Type::TinyInt), true, &out, &err));
  EXPECT_EQ(err.number, 8115);
  ASSERT_TRUE(assign(str(" 42 "), TypeInfo::of(Type::Int), true, &out, &err));
  EXPECT_EQ(out.int_value(), 42);
  EXPECT_FALSE(assign(datetime("01.01.2000"), TypeInfo::of(Type::Int), true, &out, &err));
  EXPECT_EQ(err.number, 257);
}

TEST(AssignNumber, MoneyRangesAndBinaryLengths) {
  Value out;
  Error err;
  TypeInfo small = TypeInfo::of(Type::Money);
  small.alias = TypeAlias::SmallMoney;
  ASSERT_TRUE(assign(num("214748.3647"), small, true, &out, &err));
  EXPECT_EQ(out.to_display(), "214748.3647");
  EXPECT_FALSE(assign(num("214748.3648"), small, true, &out, &err));
  EXPECT_EQ(err.message, "Arithmetic overflow error converting expression to data type smallmoney.");
  EXPECT_FALSE(assign(num("922337203685478"), TypeInfo::of(Type::Money), true, &out, &err));
  EXPECT_EQ(err.number, 8115);
  TypeInfo bin2{Type::VarBinary, 2, 0, 0};
  EXPECT_FALSE(assign(Value::binary("abc", TypeInfo{Type::VarBinary, 3, 0, 0}), bin2, true, &out, &err));
  EXPECT_EQ(err.number, 8152);
  ASSERT_TRUE(assign(Value::binary("a", bin2), TypeInfo{Type::Binary, 3, 0, 0}, true, &out, &err));
  EXPECT_EQ(out.to_display(), "0x610000");
}

TEST(CastNumber, IntegersFromExactNumbers) {
  EXPECT_EQ(cast(num("-12.7"), TypeInfo::of(Type::Int)).int_value(), -12);                     // numeric truncates
  EXPECT_EQ(cast(Value::money(Decimal(127000, 4)), TypeInfo::of(Type::Int)).int_value(), 13);  // money rounds
  EXPECT_EQ(cast(Value::floating(-2.9), TypeInfo::of(Type::SmallInt)).int_value(), -2);
  EXPECT_EQ(cast(num("5"), TypeInfo::of(Type::Bit)).int_value(), 1);
  Error e = cast_error(num("300.5"), TypeInfo::of(Type::TinyInt));
  EXPECT_EQ(e.message, "Arithmetic overflow error converting numeric to data type tinyint.");
  EXPECT_EQ(cast(Value::floating(1e-5), TypeInfo::varchar(30)).string_value(), "1e-005");
  EXPECT_EQ(cast(Value::floating(-0.0001), TypeInfo::varchar(30)).string_value(), "-0.0001");
}

TEST(CastFromText, ReportsTheServersMessages) {
  Error e = cast_error(str("abc"), TypeInfo::of(Type::Int));
  EXPECT_EQ(e.number, 245);
  EXPECT_EQ(e.message, "Conversion failed when converting the varchar value 'abc' to data type int.");
  EXPECT_EQ(cast_error(str("12.5"), TypeInfo::of(Type::Int)).number, 245);
  EXPECT_EQ(cast_error(str("99999999999"), TypeInfo::of(Type::Int)).number, 248);
  e = cast_error(str("1,5"), TypeInfo::decimal(10, 2));
  EXPECT_EQ(e.number, 8114);
  EXPECT_EQ(e.message, "Error converting data type varchar to numeric.");
  EXPECT_EQ(cast(str(""), TypeInfo::of(Type::Int)).int_value(), 0);
  EXPECT_EQ(cast(str("-7"), TypeInfo::of(Type::SmallInt)).int_value(), -7);
  EXPECT_EQ(cast(str("12.345"), TypeInfo::decimal(10, 2)).to_display(), "12.35");
  EXPECT_DOUBLE_EQ(cast(str("1e3"), TypeInfo::of(Type::Float)).float_value(), 1000);
  EXPECT_EQ(cast(str("true"), TypeInfo::of(Type::Bit)).int_value(), 1);
}

TEST(CastToText, NumbersAsSqlServerWritesThem) {
  TypeInfo vc = TypeInfo::varchar(30);
  EXPECT_EQ(cast(i32(-42), vc).string_value(), "-42");
  EXPECT_EQ(cast(num("12.3400"), vc).string_value(), "12.3400");
  EXPECT_EQ(cast(num("0.5"), vc).string_value(), "0.5");
  EXPECT_EQ(cast(Value::money(Decimal(123456, 4)), vc).string_value(), "12.35");
  EXPECT_EQ(cast(Value::floating(1234.5678), vc).string_value(), "1234.57");
  EXPECT_EQ(cast(Value::floating(123456789.0), vc).string_value(), "1.23457e+008");
  EXPECT_EQ(cast(Value::floating(0.1), vc).string_value(), "0.1");
  // Too short: '*' for integers, an error for decimals.
  EXPECT_EQ(cast(i32(12345), TypeInfo::varchar(3)).string_value(), "*");
  EXPECT_EQ(cast_error(num("123.45"), TypeInfo::varchar(3)).number, 8115);
  // Text is cut silently by an explicit conversion.
  EXPECT_EQ(cast(str("abcdef"), TypeInfo::varchar(2)).string_value(), "ab");
  // A varchar holds the Western code page only.
  EXPECT_EQ(cast(Value::nvarchar("€ – Ω"), TypeInfo::varchar(10)).string_value(), "€ – ?");
}

TEST(CastOther, GuidsAndBinary) {
  Value g = cast(str("6f9619ff-8b86-d011-b42d-00c04fc964ff"), TypeInfo::of(Type::UniqueIdentifier));
  EXPECT_EQ(g.to_display(), "6F9619FF-8B86-D011-B42D-00C04FC964FF");
  EXPECT_EQ(cast_error(str("not-a-guid"), TypeInfo::of(Type::UniqueIdentifier)).number, 8169);
  Value b = cast(g, TypeInfo{Type::VarBinary, 16, 0, 0});
  EXPECT_EQ(b.to_display(), "0xFF19966F868B11D0B42D00C04FC964FF");
  EXPECT_EQ(cast(b, TypeInfo::of(Type::UniqueIdentifier)).to_display(), g.to_display());
  EXPECT_EQ(cast(str("AB"), TypeInfo{Type::VarBinary, 10, 0, 0}).to_display(), "0x4142");
  EXPECT_EQ(cast(i32(258), TypeInfo{Type::VarBinary, 10, 0, 0}).to_display(), "0x00000102");
  EXPECT_EQ(cast(Value::binary("\x41\x42", TypeInfo{Type::VarBinary, 2, 0, 0}), TypeInfo::varchar(5)).string_value(),
            "AB");
  EXPECT_EQ(cast_error(i32(1), TypeInfo::of(Type::UniqueIdentifier)).number, 529);
}

TEST(CommonType, FollowsPrecedence) {
  TypeInfo i = TypeInfo::of(Type::Int), vc = TypeInfo::varchar(10);
  EXPECT_EQ(common_type(i, vc), i);
  EXPECT_EQ(common_type(vc, TypeInfo::nvarchar(5)), TypeInfo::nvarchar(10));
  EXPECT_EQ(common_type(TypeInfo::decimal(5, 2), i), TypeInfo::decimal(12, 2));
  EXPECT_EQ(common_type(TypeInfo::decimal(5, 2), TypeInfo::of(Type::Float)).type, Type::Float);
  EXPECT_EQ(common_type(TypeInfo::of(Type::Money), TypeInfo::decimal(5, 2)), TypeInfo::decimal(19, 4));
  EXPECT_EQ(common_type(vc, TypeInfo::of(Type::DateTime)).type, Type::DateTime);
  EXPECT_TRUE(implicit_conversion_allowed(i, TypeInfo::of(Type::DateTime)));
  EXPECT_FALSE(implicit_conversion_allowed(TypeInfo::of(Type::DateTime), i));
  EXPECT_FALSE(implicit_conversion_allowed(i, TypeInfo::of(Type::UniqueIdentifier)));
  EXPECT_FALSE(implicit_conversion_allowed(vc, TypeInfo{Type::VarBinary, 10, 0, 0}));
}

TEST(TypeNames, ResolveWithDefaultsAndErrors) {
  TypeInfo t;
  Error err;
  ASSERT_TRUE(parse_type_name("VarChar", std::nullopt, std::nullopt, false, TypeUse::Cast, &t, &err));
  EXPECT_EQ(t, TypeInfo::varchar(30));
  ASSERT_TRUE(parse_type_name("varchar", std::nullopt, std::nullopt, false, TypeUse::Column, &t, &err));
  EXPECT_EQ(t, TypeInfo::varchar(1));
  ASSERT_TRUE(parse_type_name("NUMERIC", std::nullopt, std::nullopt, false, TypeUse::Column, &t, &err));
  EXPECT_EQ(t.sql_name(), "numeric(18,0)");
  ASSERT_TRUE(parse_type_name("numeric", 19, 8, false, TypeUse::Column, &t, &err));
  EXPECT_EQ(t.sql_name(), "numeric(19,8)");
  ASSERT_TRUE(parse_type_name("nvarchar", std::nullopt, std::nullopt, true, TypeUse::Column, &t, &err));
  EXPECT_EQ(t.sql_name(), "nvarchar(max)");
  ASSERT_TRUE(parse_type_name("sysname", std::nullopt, std::nullopt, false, TypeUse::Column, &t, &err));
  EXPECT_EQ(t.type, Type::NVarChar);
  EXPECT_EQ(t.length, 128);
  EXPECT_EQ(t.sql_name(), "sysname");
  ASSERT_TRUE(parse_type_name("float", 24, std::nullopt, false, TypeUse::Column, &t, &err));
  EXPECT_EQ(t.type, Type::Real);
  EXPECT_FALSE(parse_type_name("strng", std::nullopt, std::nullopt, false, TypeUse::Column, &t, &err));
  EXPECT_EQ(err.number, 2715);
  EXPECT_EQ(unknown_column_type_error(3, "strng").message,
            "Column, parameter, or variable #3: Cannot find data type strng.");
  EXPECT_FALSE(parse_type_name("strng", std::nullopt, std::nullopt, false, TypeUse::Cast, &t, &err));
  EXPECT_EQ(err.number, 243);
  EXPECT_EQ(err.message, "Type strng is not a defined system type.");
  EXPECT_FALSE(parse_type_name("varchar", 9000, std::nullopt, false, TypeUse::Column, &t, &err));
  EXPECT_EQ(err.number, 131);
  EXPECT_FALSE(parse_type_name("numeric", 5, 6, false, TypeUse::Column, &t, &err));
  EXPECT_FALSE(parse_type_name("int", 4, std::nullopt, false, TypeUse::Column, &t, &err));
}

TEST(ValueDisplay, ClientForms) {
  EXPECT_EQ(Value::null().to_display(), "NULL");
  EXPECT_EQ(Value::bit(true).to_display(), "1");
  EXPECT_EQ(Value::decimal(Decimal(1234, 2), TypeInfo::decimal(19, 8)).to_display(), "12.34000000");
  EXPECT_EQ(Value::money(Decimal(5, 1)).to_display(), "0.5000");
  EXPECT_EQ(Value::floating(0.1).to_display(), "0.1");
  EXPECT_EQ(Value::floating(1e20).to_display(), "1e+20");
  EXPECT_EQ(cast(datetime("04.03.2015 09:05"), TypeInfo::of(Type::Date)).to_display(), "2015-03-04");
  EXPECT_EQ(cast(datetime("04.03.2015 09:05"), TypeInfo::of(Type::SmallDateTime)).to_display(), "2015-03-04 09:05:00");
  EXPECT_EQ(Value::varchar("").type(), TypeInfo::varchar(1));
  EXPECT_EQ(Value::decimal(Decimal(5, 1)).type(), TypeInfo::decimal(1, 1));
}

}  // namespace
}  // namespace standin
