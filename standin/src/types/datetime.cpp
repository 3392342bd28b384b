// DateTime: day numbers from 1900-01-01 and ticks of 1/300 second.
//
// Day numbers come from the civil date through the era arithmetic of
// Howard Hinnant's "chrono-compatible low-level date algorithms": the year
// is shifted to begin in March, so that the leap day is the last day of
// its year, and 400-year eras of 146097 days make the count exact for
// any proleptic Gregorian date.
#include <cstdio>

#include "standin/value.h"
#include "types/calendar.h"

namespace standin {

namespace {

// Day number of 1900-01-01 counted from 1970-01-01.
constexpr int32_t kEpoch1900 = -25567;

int64_t days_from_civil_1970(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

}  // namespace

int32_t days_from_civil(int year, int month, int day) {
  return static_cast<int32_t>(days_from_civil_1970(year, month, day) - kEpoch1900);
}

void civil_from_days(int32_t days, int* year, int* month, int* day) {
  int64_t z = static_cast<int64_t>(days) + kEpoch1900 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  *year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
  *month = static_cast<int>(m);
  *day = static_cast<int>(d);
}

bool is_leap_year(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int days_in_month(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

int weekday(int32_t days) {
  // 1900-01-01 was a Monday (weekday 2).
  int w = (days % 7 + 7) % 7;
  return (w + 1) % 7 + 1;
}

DateTime DateTime::from_civil(int year, int month, int day, int hour, int minute, int second, int millisecond) {
  DateTime d;
  d.days = days_from_civil(year, month, day);
  // Milliseconds round to the nearest tick: .002 -> .003, .005 -> .007, .009 -> .010.
  int64_t ticks = (static_cast<int64_t>(hour) * 3600 + int64_t{minute} * 60 + second) * kTicksPerSecond +
                  (static_cast<int64_t>(millisecond) * 3 + 5) / 10;
  d.days += static_cast<int32_t>(ticks / kTicksPerDay);
  d.ticks = static_cast<int32_t>(ticks % kTicksPerDay);
  return d;
}

void DateTime::to_civil(int* year, int* month, int* day) const { civil_from_days(days, year, month, day); }

void DateTime::time_of_day(int* hour, int* minute, int* second, int* millisecond) const {
  int32_t seconds = ticks / kTicksPerSecond;
  int32_t rest = ticks % kTicksPerSecond;
  *hour = seconds / 3600;
  *minute = seconds / 60 % 60;
  *second = seconds % 60;
  *millisecond = (rest * 10 + 1) / 3;  // 1 tick -> 3 ms, 2 ticks -> 7 ms
}

std::string DateTime::to_string() const {
  int y, mo, d, h, mi, s, ms;
  to_civil(&y, &mo, &d);
  time_of_day(&h, &mi, &s, &ms);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, mo, d, h, mi, s, ms);
  return buf;
}

}  // namespace standin
