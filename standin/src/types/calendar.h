// Civil-calendar arithmetic on day numbers counted from 1900-01-01
// (proleptic Gregorian). The algorithms are explained in date_functions.cpp.
#pragma once

#include <cstdint>

namespace standin {

int32_t days_from_civil(int year, int month, int day);
void civil_from_days(int32_t days, int* year, int* month, int* day);
bool is_leap_year(int year);
int days_in_month(int year, int month);
// 1 = Sunday ... 7 = Saturday (DATEPART(dw) with the default DATEFIRST 7).
int weekday(int32_t days);

// The ranges of the date types as day numbers.
constexpr int32_t kDateTimeMinDays = -53690;      // 1753-01-01
constexpr int32_t kMaxDays = 2958463;             // 9999-12-31
constexpr int32_t kDateMinDays = -693595;         // 0001-01-01
constexpr int32_t kSmallDateTimeMaxDays = 65535;  // 2079-06-06

}  // namespace standin
