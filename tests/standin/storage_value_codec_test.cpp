#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "storage/codec.h"

namespace standin::storage {
namespace {

std::vector<Value> sample_values() {
  __int128 nines = 1;
  for (int i = 0; i < 38; ++i) nines *= 10;
  nines -= 1;
  return {
      Value::integer(std::numeric_limits<int64_t>::min(), Type::BigInt),
      Value::integer(-2147483648LL, Type::Int),
      Value::integer(255, Type::TinyInt),
      Value::bit(true),
      Value::decimal(Decimal(nines, 10), TypeInfo::decimal(38, 10)),
      Value::decimal(Decimal(-nines, 0), TypeInfo::decimal(38, 0)),
      Value::decimal(Decimal(0, 8), TypeInfo::decimal(19, 8)),
      Value::money(Decimal(-12345678, 4)),
      Value::floating(-0.1),
      Value::floating(1e308),
      Value::floating(3.5, Type::Real),
      Value::string("Fälligkeit – €", TypeInfo::varchar(40)),
      Value::string("J         ", TypeInfo{Type::Char, 10}),
      Value::string("", TypeInfo{Type::Text, TypeInfo::kMax}),
      Value::string("ß", TypeInfo::nvarchar(128)),
      Value::binary(std::string("\0\x01\xFF", 3), TypeInfo{Type::VarBinary, 16}),
      Value::datetime(DateTime::from_civil(2015, 3, 4, 9, 5, 0, 997)),
      Value::datetime(DateTime::from_civil(1753, 1, 1), Type::DateTime),
      Value::datetime(DateTime::from_civil(2079, 6, 6, 23, 59), Type::SmallDateTime),
      Value::datetime(DateTime::from_civil(9999, 12, 31), Type::Date),
      Value::guid("6F9619FF-8B86-D011-B42D-00C04FC964FF"),
      Value::null(TypeInfo::decimal(19, 8)),
      Value::null(TypeInfo::varchar(255)),
      Value::null(),
  };
}

void expect_same(const Value& a, const Value& b) {
  EXPECT_EQ(a.type(), b.type()) << a.to_display();
  EXPECT_EQ(a.is_null(), b.is_null()) << a.to_display();
  if (a.is_null() || b.is_null()) return;
  EXPECT_EQ(a.to_display(), b.to_display());
  if (a.type().is_exact_numeric()) {
    EXPECT_TRUE(a.decimal_value().unscaled() == b.decimal_value().unscaled()) << a.to_display();
  }
  if (a.type().type == Type::Float || a.type().type == Type::Real) {
    EXPECT_EQ(std::signbit(a.float_value()), std::signbit(b.float_value()));
    EXPECT_EQ(a.float_value(), b.float_value());
  }
  if (a.type().is_string() || a.type().is_binary()) {
    EXPECT_EQ(a.string_value(), b.string_value());
  }
  if (a.type().is_temporal()) {
    EXPECT_TRUE(a.datetime_value() == b.datetime_value());
  }
}

TEST(StorageValueCodec, EveryKindOfValueRoundTrips) {
  Writer out;
  auto values = sample_values();
  for (const auto& v : values) out.value(v);
  Reader in(out.bytes());
  for (const auto& expected : values) {
    Value v;
    ASSERT_TRUE(in.value(&v)) << expected.to_display();
    expect_same(expected, v);
  }
  EXPECT_TRUE(in.at_end());
}

TEST(StorageValueCodec, TypesKeepTheirAlias) {
  TypeInfo sysname = TypeInfo::nvarchar(128);
  sysname.alias = TypeAlias::Sysname;
  TypeInfo smallmoney = TypeInfo::of(Type::Money);
  smallmoney.alias = TypeAlias::SmallMoney;
  Writer out;
  out.type(sysname);
  out.type(smallmoney);
  Reader in(out.bytes());
  TypeInfo a, b;
  ASSERT_TRUE(in.type(&a) && in.type(&b));
  EXPECT_EQ(a, sysname);
  EXPECT_EQ(b, smallmoney);
}

TEST(StorageValueCodec, EveryTruncationIsRefused) {
  Writer out;
  for (const auto& v : sample_values()) out.value(v);
  const std::string& full = out.bytes();
  for (size_t n = 0; n < full.size(); ++n) {
    Reader in(std::string_view(full).substr(0, n));
    Value v;
    while (in.value(&v)) {
    }
    EXPECT_FALSE(in.ok()) << "prefix of " << n << " bytes was read whole";
  }
}

// Hand-made encodings that no Writer produces must be refused, not loaded.
TEST(StorageValueCodec, ImpossibleValuesAreRefused) {
  auto encoded = [](Type type, int32_t length, uint8_t precision, uint8_t scale, auto payload) {
    Writer w;
    w.u8(static_cast<uint8_t>(type));
    w.svarint(length);
    w.u8(precision);
    w.u8(scale);
    w.u8(0);  // alias
    w.u8(0);  // not null
    payload(w);
    return w.take();
  };
  auto refused = [](const std::string& bytes) {
    Value v;
    return !Reader(bytes).value(&v);
  };
  EXPECT_TRUE(refused(encoded(static_cast<Type>(200), 0, 0, 0, [](Writer&) {})));
  EXPECT_TRUE(refused(encoded(Type::Decimal, 0, 39, 0, [](Writer& w) { w.svarint(1); })));
  EXPECT_TRUE(refused(encoded(Type::Decimal, 0, 10, 11, [](Writer& w) { w.svarint(1); })));
  EXPECT_TRUE(refused(encoded(Type::DateTime, 0, 0, 0, [](Writer& w) {
    w.svarint(0);
    w.svarint(DateTime::kTicksPerDay);
  })));
  EXPECT_TRUE(refused(encoded(Type::UniqueIdentifier, 0, 0, 0, [](Writer& w) { w.str("not-a-guid"); })));
  Writer bad_null;
  bad_null.type(TypeInfo::of(Type::Int));
  bad_null.u8(2);
  EXPECT_TRUE(refused(bad_null.bytes()));
}

}  // namespace
}  // namespace standin::storage
