#include "platform/core/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/core/Exception.h"

namespace vandrel {
namespace {

// Days from 1899-12-30 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + std::int64_t(doe) - 719468 + 25569;  // 25569 = 1970-01-01
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468 - 25569;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = int(doy - (153 * mp + 2) / 5 + 1);
  month = int(mp < 10 ? mp + 3 : mp - 9);
  year = int(std::int64_t(yoe) + era * 400 + (month <= 2));
}

// Beyond this many days (about 2.7 million years) a day count is not a date but a damaged or
// uninitialised value; NaN and the infinities are not either. Rounding such values to
// milliseconds would be undefined, so they raise. Years before 1 stay readable: damaged files
// hold them and their text shows what is wrong.
constexpr double kMaxDays = 1e9;

[[noreturn]] void Reject(TDateTime value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  throw EConvertError(std::string("Invalid date and time value ") + text);
}

// Splits a value into whole days and milliseconds of the day, rounding to the millisecond.
void Split(TDateTime value, std::int64_t& days, std::int64_t& msecs) {
  if (!(std::fabs(value) <= kMaxDays)) Reject(value);
  std::int64_t total = std::llround(value * MSecsPerDay);
  days = total / MSecsPerDay;
  msecs = std::llabs(total) % MSecsPerDay;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInAMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInAMonth(year, month))
    return false;
  date = TDateTime(DaysFromCivil(year, unsigned(month), unsigned(day)));
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime date;
  if (!TryEncodeDate(year, month, day, date)) throw EConvertError("Invalid argument to date encode");
  return date;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  std::int64_t days, msecs;
  Split(date, days, msecs);
  CivilFromDays(days, year, month, day);
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 ||
      msec > 999)
    return false;
  time = TDateTime(((hour * 60 + min) * 60 + sec) * 1000 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime time;
  if (!TryEncodeTime(hour, min, sec, msec, time))
    throw EConvertError("Invalid argument to time encode");
  return time;
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
  std::int64_t days, ms;
  Split(time, days, ms);
  msec = int(ms % 1000);
  ms /= 1000;
  sec = int(ms % 60);
  ms /= 60;
  min = int(ms % 60);
  hour = int(ms / 60);
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  TDateTime d = DateOf(date);
  TDateTime t = std::fabs(TimeOf(time));
  return d < 0 ? d - t : d + t;
}

TDateTime DateOf(TDateTime value) {
  std::int64_t days, msecs;
  Split(value, days, msecs);
  return TDateTime(days);
}

TDateTime TimeOf(TDateTime value) {
  std::int64_t days, msecs;
  Split(value, days, msecs);
  return TDateTime(msecs) / MSecsPerDay;
}

int DayOfWeek(TDateTime date) {
  std::int64_t days, msecs;
  Split(date, days, msecs);
  // Day 0 (1899-12-30) was a Saturday.
  std::int64_t w = (days + 6) % 7;
  if (w < 0) w += 7;
  return int(w) + 1;
}

TDateTime IncDay(TDateTime value, int days) {
  return ComposeDateTime(DateOf(value) + days, TimeOf(value));
}

TDateTime IncMonth(TDateTime value, int months) {
  int y, m, d;
  DecodeDate(value, y, m, d);
  std::int64_t index = std::int64_t(y) * 12 + (m - 1) + months;
  if (index < 12 || index >= std::int64_t(10000) * 12) throw EConvertError("Invalid argument to date encode");
  y = int(index / 12);
  m = int(index % 12) + 1;
  d = std::min(d, DaysInAMonth(y, m));
  return ComposeDateTime(EncodeDate(y, m, d), TimeOf(value));
}

}  // namespace vandrel
