// Date and time functions.
//
// A datetime is a day number (days since 1900-01-01, negative before) and
// ticks of 1/300 second since midnight. Days convert to and from civil
// dates in the proleptic Gregorian calendar (calendar.h, datetime.cpp): the
// day number of 1900-01-01 is fixed, every fourth year is a leap year
// except centuries not divisible by 400. On this representation:
//   - adding days, weeks, hours, minutes, seconds or milliseconds is plain
//     addition of ticks, carried into days;
//   - adding months or years works on the civil date: the month count
//     y*12 + (m-1) is shifted and the day is clamped to the length of the
//     target month, so 31 January + 1 month is 28 (or 29) February and
//     29 February 2016 + 1 year is 28 February 2017;
//   - DATEDIFF counts the boundaries of the unit crossed between the two
//     points, not elapsed whole units: from 31 December to 1 January is one
//     year. Each unit maps a point to its ordinal (years since year 0,
//     months, quarters, days, weeks starting on Sunday, hours, ...), and the
//     difference of the ordinals is the result;
//   - DATEPART reads fields of the civil date; weeks start on Sunday and
//     week 1 is the week holding 1 January.
// Date arguments that are text convert under the session's date order;
// integers count days from 1900-01-01, so 0 is 1900-01-01.
#include <chrono>
#include <ctime>
#include <string>

#include "platform/local_time.h"
#include "types/ascii.h"
#include "types/calendar.h"
#include "types/convert.h"
#include "types/function_families.h"
#include "types/sql_error.h"

namespace standin {

namespace {

enum class Part {
  Year,
  Quarter,
  Month,
  DayOfYear,
  Day,
  Week,
  Weekday,
  Hour,
  Minute,
  Second,
  Millisecond,
};

struct PartName {
  const char* name;
  Part part;
};

constexpr PartName kPartNames[] = {
    {"year", Part::Year},       {"yy", Part::Year},
    {"yyyy", Part::Year},       {"quarter", Part::Quarter},
    {"qq", Part::Quarter},      {"q", Part::Quarter},
    {"month", Part::Month},     {"mm", Part::Month},
    {"m", Part::Month},         {"dayofyear", Part::DayOfYear},
    {"dy", Part::DayOfYear},    {"y", Part::DayOfYear},
    {"day", Part::Day},         {"dd", Part::Day},
    {"d", Part::Day},           {"week", Part::Week},
    {"wk", Part::Week},         {"ww", Part::Week},
    {"weekday", Part::Weekday}, {"dw", Part::Weekday},
    {"w", Part::Weekday},       {"hour", Part::Hour},
    {"hh", Part::Hour},         {"minute", Part::Minute},
    {"mi", Part::Minute},       {"n", Part::Minute},
    {"second", Part::Second},   {"ss", Part::Second},
    {"s", Part::Second},        {"millisecond", Part::Millisecond},
    {"ms", Part::Millisecond},
};

constexpr int64_t kTicksPerHour = 3600LL * DateTime::kTicksPerSecond;
constexpr int64_t kTicksPerMinute = 60LL * DateTime::kTicksPerSecond;

bool part_arg(const Value& v, const char* function, Part* out, Error* err) {
  std::string_view name = v.is_null() ? std::string_view() : std::string_view(v.string_value());
  for (const PartName& p : kPartNames) {
    if (iequals(name, p.name)) {
      *out = p.part;
      return true;
    }
  }
  return fail(err, 155, "'" + std::string(name) + "' is not a recognized " + function + " option.", 15);
}

// A date argument as a datetime value: text and numbers convert.
bool date_arg(const Value& v, const EvalContext& ctx, Value* out, Error* err) {
  if (v.type().is_temporal()) {
    *out = v;
    return true;
  }
  return cast_value(v, TypeInfo::of(Type::DateTime), ctx, out, err);
}

int64_t total_ticks(const DateTime& d) { return static_cast<int64_t>(d.days) * DateTime::kTicksPerDay + d.ticks; }

int64_t floor_div(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool add_months(DateTime* d, int64_t months) {
  int y, m, day;
  d->to_civil(&y, &m, &day);
  int64_t index = static_cast<int64_t>(y) * 12 + (m - 1) + months;
  if (index < 12 || index > 9999LL * 12 + 11) return false;
  int ny = static_cast<int>(index / 12), nm = static_cast<int>(index % 12) + 1;
  int last = days_in_month(ny, nm);
  d->days = days_from_civil(ny, nm, day < last ? day : last);
  return true;
}

bool add_ticks(DateTime* d, int64_t ticks) {
  int64_t t = total_ticks(*d) + ticks;
  int64_t days = floor_div(t, DateTime::kTicksPerDay);
  if (days < kDateMinDays || days > kMaxDays) return false;
  d->days = static_cast<int32_t>(days);
  d->ticks = static_cast<int32_t>(t - days * DateTime::kTicksPerDay);
  return true;
}

bool dateadd_overflow(const TypeInfo& t, Error* err) {
  return fail(err, 517,
              "Adding a value to a '" + std::string(type_message_name(t.type)) + "' column caused an overflow.");
}

bool fn_dateadd(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  Part part;
  if (!part_arg(args[0], "dateadd", &part, err)) return false;
  TypeInfo rt = args[2].type().is_temporal() ? TypeInfo::of(args[2].type().type) : TypeInfo::of(Type::DateTime);
  if (args[1].is_null() || args[2].is_null()) {
    *out = Value::null(rt);
    return true;
  }
  Value nv, dv;
  if (!cast_value(args[1], TypeInfo::of(Type::BigInt), ctx, &nv, err) || !date_arg(args[2], ctx, &dv, err)) {
    return false;
  }
  int64_t n = nv.int_value();
  if (n < INT32_MIN || n > INT32_MAX) return fail_overflow(err, "int");
  DateTime d = dv.datetime_value();
  bool ok = true;
  switch (part) {
    case Part::Year: ok = add_months(&d, n * 12); break;
    case Part::Quarter: ok = add_months(&d, n * 3); break;
    case Part::Month: ok = add_months(&d, n); break;
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday: ok = add_ticks(&d, n * DateTime::kTicksPerDay); break;
    case Part::Week: ok = add_ticks(&d, n * 7 * DateTime::kTicksPerDay); break;
    default:
      if (rt.type == Type::Date) {
        return fail(err, 9810,
                    "The datepart " + std::string(args[0].string_value()) +
                        " is not supported by date function dateadd for data type "
                        "date.");
      }
      if (part == Part::Hour)
        ok = add_ticks(&d, n * kTicksPerHour);
      else if (part == Part::Minute)
        ok = add_ticks(&d, n * kTicksPerMinute);
      else if (part == Part::Second)
        ok = add_ticks(&d, n * DateTime::kTicksPerSecond);
      else
        ok = add_ticks(&d, (n * 3 + (n >= 0 ? 5 : -5)) / 10);
      break;
  }
  int32_t min_days = rt.type == Type::Date ? kDateMinDays : rt.type == Type::SmallDateTime ? 0 : kDateTimeMinDays;
  int32_t max_days = rt.type == Type::SmallDateTime ? kSmallDateTimeMaxDays : kMaxDays;
  if (!ok || d.days < min_days || d.days > max_days) return dateadd_overflow(rt, err);
  *out = Value::datetime(d, rt.type);
  return true;
}

// The ordinal of the unit that holds d: differences of ordinals count the
// boundaries crossed.
int64_t ordinal(Part part, const DateTime& d) {
  int y, m, day;
  switch (part) {
    case Part::Year: d.to_civil(&y, &m, &day); return y;
    case Part::Quarter: d.to_civil(&y, &m, &day); return static_cast<int64_t>(y) * 4 + (m - 1) / 3;
    case Part::Month: d.to_civil(&y, &m, &day); return static_cast<int64_t>(y) * 12 + (m - 1);
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday: return d.days;
    case Part::Week:
      // Day -1 (1899-12-31) was a Sunday: weeks run Sunday to Saturday.
      return floor_div(static_cast<int64_t>(d.days) + 1, 7);
    case Part::Hour: return floor_div(total_ticks(d), kTicksPerHour);
    case Part::Minute: return floor_div(total_ticks(d), kTicksPerMinute);
    case Part::Second: return floor_div(total_ticks(d), DateTime::kTicksPerSecond);
    case Part::Millisecond: {
      int h, mi, s, ms;
      d.time_of_day(&h, &mi, &s, &ms);
      return (static_cast<int64_t>(d.days) * 86400 + int64_t{h} * 3600 + int64_t{mi} * 60 + s) * 1000 + ms;
    }
  }
  return 0;
}

bool fn_datediff(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  Part part;
  if (!part_arg(args[0], "datediff", &part, err)) return false;
  if (args[1].is_null() || args[2].is_null()) {
    *out = Value::null(TypeInfo::of(Type::Int));
    return true;
  }
  Value a, b;
  if (!date_arg(args[1], ctx, &a, err) || !date_arg(args[2], ctx, &b, err)) return false;
  int64_t diff = ordinal(part, b.datetime_value()) - ordinal(part, a.datetime_value());
  if (diff < INT32_MIN || diff > INT32_MAX) {
    return fail(err, 535,
                "The datediff function resulted in an overflow. The number of "
                "dateparts separating two date/time instances is too large. Try to "
                "use datediff with a less precise datepart.");
  }
  *out = Value::integer(diff);
  return true;
}

int64_t part_of(Part part, const DateTime& d) {
  int y, m, day, h, mi, s, ms;
  d.to_civil(&y, &m, &day);
  d.time_of_day(&h, &mi, &s, &ms);
  switch (part) {
    case Part::Year: return y;
    case Part::Quarter: return (m - 1) / 3 + 1;
    case Part::Month: return m;
    case Part::DayOfYear: return d.days - days_from_civil(y, 1, 1) + 1;
    case Part::Day: return day;
    case Part::Week: {
      int32_t jan1 = days_from_civil(y, 1, 1);
      return (d.days - jan1 + weekday(jan1) - 1) / 7 + 1;
    }
    case Part::Weekday: return weekday(d.days);
    case Part::Hour: return h;
    case Part::Minute: return mi;
    case Part::Second: return s;
    case Part::Millisecond: return ms;
  }
  return 0;
}

bool fn_datepart(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  Part part;
  if (!part_arg(args[0], "datepart", &part, err)) return false;
  if (args[1].is_null()) {
    *out = Value::null(TypeInfo::of(Type::Int));
    return true;
  }
  Value d;
  if (!date_arg(args[1], ctx, &d, err)) return false;
  *out = Value::integer(part_of(part, d.datetime_value()));
  return true;
}

template <Part P>
bool fn_field(std::span<const Value> args, const EvalContext& ctx, Value* out, Error* err) {
  if (null_argument(args, TypeInfo::of(Type::Int), out)) return true;
  Value d;
  if (!date_arg(args[0], ctx, &d, err)) return false;
  *out = Value::integer(part_of(P, d.datetime_value()));
  return true;
}

DateTime local_now() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t t = system_clock::to_time_t(now);
  const std::tm tm = platform::local_time(t);
  int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return DateTime::from_civil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
}

bool fn_getdate(std::span<const Value>, const EvalContext& ctx, Value* out, Error*) {
  *out = Value::datetime(ctx.now ? ctx.now() : local_now());
  return true;
}

constexpr ScalarFunction kDateFunctions[] = {
    {"DATEADD", 3, 3, fn_dateadd},        {"DATEDIFF", 3, 3, fn_datediff},        {"DATEPART", 2, 2, fn_datepart},
    {"YEAR", 1, 1, fn_field<Part::Year>}, {"MONTH", 1, 1, fn_field<Part::Month>}, {"DAY", 1, 1, fn_field<Part::Day>},
    {"GETDATE", 0, 0, fn_getdate},
};

}  // namespace

std::span<const ScalarFunction> date_functions() { return kDateFunctions; }

}  // namespace standin
