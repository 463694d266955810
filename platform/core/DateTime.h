// Date and time as an OLE day count: the whole part counts days from 1899-12-30 (negative before
// it), the fraction is the time of day. For a negative value the fraction is taken by its
// absolute value: -1.25 is 1899-12-29 06:00. Every call that takes a TDateTime raises
// EConvertError for NaN, an infinity or a day count beyond a billion.
#pragma once

namespace vandrel {

using TDateTime = double;

constexpr int MSecsPerDay = 24 * 60 * 60 * 1000;

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

bool TryEncodeDate(int year, int month, int day, TDateTime& date);
// Raises EConvertError for a date that does not exist (or a year outside 1..9999).
TDateTime EncodeDate(int year, int month, int day);
void DecodeDate(TDateTime date, int& year, int& month, int& day);

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);

// A date plus a time of day, honouring the sign convention of negative days.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);
TDateTime IncDay(TDateTime value, int days);
// Adds months keeping the time of day; the day is clamped to the length of the target month.
TDateTime IncMonth(TDateTime value, int months);

}  // namespace vandrel
