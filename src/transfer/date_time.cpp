#include "transfer/date_time.h"

#include <cmath>

namespace holvex {

namespace {

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValid(const DateTimeFields& f) {
  return f.year >= 1 && f.year <= 9999 && f.month >= 1 && f.month <= 12 && f.day >= 1 &&
         f.day <= DaysInMonth(f.year, f.month) && f.hour >= 0 && f.hour < 24 && f.minute >= 0 &&
         f.minute < 60 && f.second >= 0 && f.second < 60 && f.millisecond >= 0 && f.millisecond < 1000;
}

// Days from 0001-01-01 to the date (proleptic Gregorian calendar).
long DayNumber(int year, int month, int day) {
  long y = year - 1;
  long days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day - 1;
}

}  // namespace

TDateTime EncodeDateTime(const DateTimeFields& f) {
  if (!IsValid(f)) throw DateConversionError();
  double date = static_cast<double>(DayNumber(f.year, f.month, f.day) - DayNumber(1899, 12, 30));
  double time = (((f.hour * 60.0 + f.minute) * 60.0 + f.second) * 1000.0 + f.millisecond) / 86400000.0;
  // Before the epoch the fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00.
  return date >= 0 ? date + time : date - time;
}

bool IsLater(TDateTime a, TDateTime b) {
  constexpr double kMillisecondsPerDay = 86400000.0;
  return std::llround(a * kMillisecondsPerDay) > std::llround(b * kMillisecondsPerDay);
}

}  // namespace holvex
