#include "types_test_support.h"

#include "types/arith.h"

namespace standin {
namespace {

using namespace standin::testing;

std::string shown(const char* text) { return datetime(text).to_display(); }

TEST(DateTimeText, ReadsDayMonthYearUnderTheSessionOrder) {
  EXPECT_EQ(shown("20.02.2013"), "2013-02-20 00:00:00.000");
  EXPECT_EQ(shown("20/02/2013 14:30"), "2013-02-20 14:30:00.000");
  EXPECT_EQ(shown("1-2-2013"), "2013-02-01 00:00:00.000");
  EXPECT_EQ(shown("20.02.13"), "2013-02-20 00:00:00.000");
  EXPECT_EQ(shown("20.02.50"), "1950-02-20 00:00:00.000");
  EXPECT_EQ(shown("20.02.2013 09:05:30.5"), "2013-02-20 09:05:30.500");

  SessionSettings mdy{DateOrder::MDY, true};
  EvalContext ctx{&mdy, {}, {}};
  DateTime d;
  Error err;
  ASSERT_TRUE(parse_datetime("02/20/2013", Type::DateTime, DateOrder::MDY, &d, &err));
  EXPECT_EQ(d.to_string(), "2013-02-20 00:00:00.000");
  Value v;
  EXPECT_FALSE(cast_value(str("20.02.2013"), TypeInfo::of(Type::DateTime), ctx, &v, &err));
  EXPECT_EQ(err.number, 242);
}

TEST(DateTimeText, IsoFormsAndTimesAlone) {
  EXPECT_EQ(shown("20130220"), "2013-02-20 00:00:00.000");
  EXPECT_EQ(shown("20130220 23:59:59"), "2013-02-20 23:59:59.000");
  EXPECT_EQ(shown("2013-02-20T09:05:00"), "2013-02-20 09:05:00.000");
  // With a day-before-month order a datetime reads year-first text as
  // year-day-month; the date type does not.
  EXPECT_EQ(shown("2013-04-02"), "2013-02-04 00:00:00.000");
  Value date = cast(str("2013-04-02"), TypeInfo::of(Type::Date));
  EXPECT_EQ(date.to_display(), "2013-04-02");
  // A CONVERT style fixes the order whatever the session's.
  EXPECT_EQ(cast(str("2013-04-02"), TypeInfo::of(Type::DateTime), 120).to_display(), "2013-04-02 00:00:00.000");
  EXPECT_EQ(cast(str("04/02/2013"), TypeInfo::of(Type::DateTime), 101).to_display(), "2013-04-02 00:00:00.000");
  EXPECT_EQ(shown("9:5"), "1900-01-01 09:05:00.000");
  EXPECT_EQ(shown("14:30:15"), "1900-01-01 14:30:15.000");
  EXPECT_EQ(shown("Mar  4 2015  9:05PM"), "2015-03-04 21:05:00.000");
  EXPECT_EQ(shown(""), "1900-01-01 00:00:00.000");
}

TEST(DateTimeText, RejectsBadTextAndOutOfRangeDates) {
  Error e = cast_error(str("abc"), TypeInfo::of(Type::DateTime));
  EXPECT_EQ(e.number, 241);
  EXPECT_EQ(e.message, "Conversion failed when converting date and/or time from character string.");
  EXPECT_EQ(cast_error(str("31.02.2015"), TypeInfo::of(Type::DateTime)).number, 242);
  EXPECT_EQ(cast_error(str("01.01.1752"), TypeInfo::of(Type::DateTime)).number, 242);
  EXPECT_EQ(cast_error(str("25:00"), TypeInfo::of(Type::DateTime)).number, 241);
  EXPECT_EQ(cast_error(str("1.1.2080"), TypeInfo::of(Type::SmallDateTime)).number, 242);
}

TEST(DateTimeResolution, RoundsToTicksAndMinutes) {
  EXPECT_EQ(shown("01.01.2000 10:00:00.001"), "2000-01-01 10:00:00.000");
  EXPECT_EQ(shown("01.01.2000 10:00:00.002"), "2000-01-01 10:00:00.003");
  EXPECT_EQ(shown("01.01.2000 10:00:00.005"), "2000-01-01 10:00:00.007");
  EXPECT_EQ(shown("31.12.1999 23:59:59.999"), "2000-01-01 00:00:00.000");
  Value small = cast(datetime("01.01.2000 10:00:29.997"), TypeInfo::of(Type::SmallDateTime));
  EXPECT_EQ(small.to_display(), "2000-01-01 10:00:00");
  small = cast(datetime("01.01.2000 23:59:30"), TypeInfo::of(Type::SmallDateTime));
  EXPECT_EQ(small.to_display(), "2000-01-02 00:00:00");
}

TEST(DateTimeText, WritesTheConvertStyles) {
  Value d = datetime("04.03.2015 09:05:07.123");
  auto styled = [&](int style) { return cast(d, TypeInfo::varchar(40), style).string_value(); };
  EXPECT_EQ(cast(d, TypeInfo::varchar(30)).string_value(), "Mar  4 2015  9:05AM");
  EXPECT_EQ(styled(100), "Mar  4 2015  9:05AM");
  EXPECT_EQ(styled(101), "03/04/2015");
  EXPECT_EQ(styled(103), "04/03/2015");
  EXPECT_EQ(styled(104), "04.03.2015");
  EXPECT_EQ(styled(4), "04.03.15");
  EXPECT_EQ(styled(112), "20150304");
  EXPECT_EQ(styled(120), "2015-03-04 09:05:07");
  EXPECT_EQ(styled(121), "2015-03-04 09:05:07.123");
  EXPECT_EQ(styled(23), "2015-03-04");
  EXPECT_EQ(styled(108), "09:05:07");
  EXPECT_EQ(styled(126), "2015-03-04T09:05:07.123");
  EXPECT_EQ(cast(datetime("04.03.2015 12:00"), TypeInfo::varchar(30)).string_value(), "Mar  4 2015 12:00PM");
  // What the default style writes reads back.
  EXPECT_EQ(shown("Mar  4 2015  9:05AM"), "2015-03-04 09:05:00.000");
}

TEST(DateTimeNumbers, DaysSince1900WithFractionsAsTime) {
  EXPECT_EQ(cast(i32(0), TypeInfo::of(Type::DateTime)).to_display(), "1900-01-01 00:00:00.000");
  EXPECT_EQ(cast(i32(-1), TypeInfo::of(Type::DateTime)).to_display(), "1899-12-31 00:00:00.000");
  EXPECT_EQ(cast(num("1.5"), TypeInfo::of(Type::DateTime)).to_display(), "1900-01-02 12:00:00.000");
  EXPECT_EQ(cast(Value::floating(-0.25), TypeInfo::of(Type::DateTime)).to_display(), "1899-12-31 18:00:00.000");
  // Back to numbers: int rounds to the nearest day, float keeps the time.
  EXPECT_EQ(cast(datetime("02.01.1900 12:00"), TypeInfo::of(Type::Int)).int_value(), 2);
  EXPECT_DOUBLE_EQ(cast(datetime("02.01.1900 06:00"), TypeInfo::of(Type::Float)).float_value(), 1.25);
}

TEST(DateTimeArithmetic, AddsDaysAndFractions) {
  Value out;
  Error err;
  ASSERT_TRUE(arith(ArithOp::Add, datetime("04.03.2015 09:05"), num("0.03"), dmy(), &out, &err));
  EXPECT_EQ(out.to_display(), "2015-03-04 09:48:12.000");
  ASSERT_TRUE(arith(ArithOp::Subtract, datetime("01.03.2016"), i32(1), dmy(), &out, &err));
  EXPECT_EQ(out.to_display(), "2016-02-29 00:00:00.000");
  ASSERT_TRUE(arith(ArithOp::Add, datetime("01.03.2016 10:00"), datetime("9:30"), dmy(), &out, &err));
  EXPECT_EQ(out.to_display(), "2016-03-01 19:30:00.000");
  EXPECT_FALSE(arith(ArithOp::Multiply, datetime("01.03.2016"), i32(2), dmy(), &out, &err));
  EXPECT_EQ(err.number, 8117);
  EXPECT_FALSE(arith(ArithOp::Add, cast(str("2016-03-01"), TypeInfo::of(Type::Date)), i32(1), dmy(), &out, &err));
  EXPECT_EQ(err.number, 206);
}

TEST(DateAdd, ClampsToTheEndOfTheTargetMonth) {
  auto add = [](const char* part, int n, const char* date) {
    return call("DATEADD", {str(part), i32(n), datetime(date)}).to_display();
  };
  EXPECT_EQ(add("mm", 1, "31.01.2015"), "2015-02-28 00:00:00.000");
  EXPECT_EQ(add("month", 1, "31.01.2016"), "2016-02-29 00:00:00.000");
  EXPECT_EQ(add("yy", 1, "29.02.2016"), "2017-02-28 00:00:00.000");
  EXPECT_EQ(add("yyyy", 4, "29.02.2016"), "2020-02-29 00:00:00.000");
  EXPECT_EQ(add("q", -1, "31.05.2015"), "2015-02-28 00:00:00.000");
  EXPECT_EQ(add("dd", -1, "01.01.2000"), "1999-12-31 00:00:00.000");
  EXPECT_EQ(add("wk", 2, "01.01.2000"), "2000-01-15 00:00:00.000");
  EXPECT_EQ(add("hh", 25, "01.01.2000 10:00"), "2000-01-02 11:00:00.000");
  EXPECT_EQ(add("mi", -1, "01.01.2000"), "1999-12-31 23:59:00.000");
  EXPECT_EQ(add("ms", 10, "01.01.2000"), "2000-01-01 00:00:00.010");
  // Text and integers are dates too; the result is a datetime.
  EXPECT_EQ(call("DATEADD", {str("d"), i32(1), str("28.02.2015")}).to_display(), "2015-03-01 00:00:00.000");
  EXPECT_EQ(call("DATEADD", {str("dd"), i32(10), i32(0)}).to_display(), "1900-01-11 00:00:00.000");
  EXPECT_EQ(call_error("DATEADD", {str("yy"), i32(9000), datetime("01.01.2000")}).number, 517);
  EXPECT_EQ(call_error("DATEADD", {str("fortnight"), i32(1), datetime("01.01.2000")}).number, 155);
  EXPECT_TRUE(call("DATEADD", {str("dd"), Value::null(), datetime("01.01.2000")}).is_null());
}

// A stored due date moved into year Y the way the due-date function does:
// from 1900-01-01 add d-1 days, then m-1 months, then Y-1900 years.
std::string transfer(int day, int month, int year) {
  Value v = call("DATEADD", {str("dd"), i32(day - 1), i32(0)});
  v = call("DATEADD", {str("mm"), i32(month - 1), v});
  v = call("DATEADD", {str("yy"), i32(year - 1900), v});
  return v.to_display().substr(0, 10);
}

TEST(DateAdd, BuildsDatesFrom1900LikeTheDueDateFunction) {
  EXPECT_EQ(transfer(15, 6, 2016), "2016-06-15");
  EXPECT_EQ(transfer(30, 1, 2016), "2016-01-30");
  EXPECT_EQ(transfer(30, 2, 2016), "2016-02-28");  // 1900 has no 29 February
  EXPECT_EQ(transfer(29, 2, 2020), "2020-02-28");
  EXPECT_EQ(transfer(31, 4, 2016), "2016-04-30");
  EXPECT_EQ(transfer(31, 3, 2016), "2016-03-31");
  EXPECT_EQ(transfer(31, 12, 2019), "2019-12-31");
}

TEST(DateDiff, CountsBoundariesCrossed) {
  auto diff = [](const char* part, const char* a, const char* b) {
    return call("DATEDIFF", {str(part), datetime(a), datetime(b)}).int_value();
  };
  EXPECT_EQ(diff("yy", "31.12.2015 23:59", "01.01.2016"), 1);
  EXPECT_EQ(diff("yy", "01.01.2015", "31.12.2015"), 0);
  EXPECT_EQ(diff("mm", "31.01.2016", "01.02.2016"), 1);
  EXPECT_EQ(diff("q", "31.03.2016", "01.04.2016"), 1);
  EXPECT_EQ(diff("dd", "01.03.2016 23:59", "02.03.2016 00:01"), 1);
  EXPECT_EQ(diff("dd", "02.03.2016", "01.03.2016"), -1);
  EXPECT_EQ(diff("hh", "01.03.2016 10:59", "01.03.2016 11:00"), 1);
  EXPECT_EQ(diff("mi", "01.03.2016 10:00:59", "01.03.2016 10:01:00"), 1);
  // Weeks start on Sunday: Saturday 5 March to Sunday 6 March 2016 is one.
  EXPECT_EQ(diff("wk", "05.03.2016", "06.03.2016"), 1);
  EXPECT_EQ(diff("wk", "06.03.2016", "12.03.2016"), 0);
  EXPECT_EQ(call("DATEDIFF", {str("dd"), i32(0), datetime("20.02.2013 15:00")}).int_value(), 41323);
  EXPECT_EQ(call_error("DATEDIFF", {str("ms"), datetime("01.01.1900"), datetime("01.01.2000")}).number, 535);
}

TEST(DatePart, ReadsFieldsOfTheCivilDate) {
  Value d = datetime("04.03.2015 09:05:07.123");
  auto part = [&](const char* p) { return call("DATEPART", {str(p), d}).int_value(); };
  EXPECT_EQ(part("yyyy"), 2015);
  EXPECT_EQ(part("qq"), 1);
  EXPECT_EQ(part("m"), 3);
  EXPECT_EQ(part("dy"), 63);
  EXPECT_EQ(part("d"), 4);
  EXPECT_EQ(part("dw"), 4);  // a Wednesday; Sunday is 1
  EXPECT_EQ(part("wk"), 10);
  EXPECT_EQ(part("hh"), 9);
  EXPECT_EQ(part("mi"), 5);
  EXPECT_EQ(part("ss"), 7);
  EXPECT_EQ(part("ms"), 123);
  EXPECT_EQ(call("YEAR", {d}).int_value(), 2015);
  EXPECT_EQ(call("MONTH", {str("20.02.2013")}).int_value(), 2);
  EXPECT_EQ(call("DAY", {d}).int_value(), 4);
}

TEST(DateTimeExpressions, CalendarDayPlusHourAndMinuteOfATime) {
  // DATEADD(dd, DATEDIFF(dd,0,Datum), 0) + CAST(CAST(DATEPART(hh, t) AS VarChar) + ':' +
  //   Right('0'+CAST(DATEPART(mi, t) AS VarChar),2) AS DateTime)
  Value datum = datetime("20.02.2013 17:45:10");
  Value t = datetime("09:05:59");
  Value day = call("DATEADD", {str("dd"), call("DATEDIFF", {str("dd"), i32(0), datum}), i32(0)});
  Value hours = cast(call("DATEPART", {str("hh"), t}), TypeInfo::varchar(30));
  Value minutes = cast(call("DATEPART", {str("mi"), t}), TypeInfo::varchar(30));
  Value text, padded, out;
  Error err;
  ASSERT_TRUE(arith(ArithOp::Add, str("0"), minutes, dmy(), &padded, &err));
  padded = call("RIGHT", {padded, i32(2)});
  ASSERT_TRUE(arith(ArithOp::Add, hours, str(":"), dmy(), &text, &err));
  ASSERT_TRUE(arith(ArithOp::Add, text, padded, dmy(), &text, &err));
  EXPECT_EQ(text.string_value(), "9:05");
  ASSERT_TRUE(arith(ArithOp::Add, day, cast(text, TypeInfo::of(Type::DateTime)), dmy(), &out, &err));
  EXPECT_EQ(out.to_display(), "2013-02-20 09:05:00.000");
}

}  // namespace
}  // namespace standin
