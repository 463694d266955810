#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <tuple>
#include <utility>

#include "platform/core/Clock.h"
#include "platform/core/DateFormat.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"

using namespace vandrel;

TEST(DateTime, EncodesAndDecodesAroundTheEpoch) {
  struct Case {
    int y, m, d;
    double serial;
  };
  const Case cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 29, -1}, {1900, 1, 1, 2},     {1900, 3, 1, 61},
      {2000, 1, 1, 36526}, {2024, 2, 29, 45351}, {2024, 5, 12, 45424}, {1, 1, 1, -693593},
      {9999, 12, 31, 2958465},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    int y, m, d;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.serial;
  }
}

TEST(DateTime, RejectsDatesThatDoNotExist) {
  TDateTime out;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, out));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, out));
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, out));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1, out));
  EXPECT_FALSE(TryEncodeDate(2024, 4, 31, out));
  EXPECT_THROW(EncodeDate(2024, 0, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

TEST(DateTime, NegativeValuesCarryTheTimeAsAnAbsoluteFraction) {
  // -1.25 is 29 December 1899, 06:00; -0.5 is 30 December 1899, 12:00.
  EXPECT_EQ(ComposeDateTime(-1, EncodeTime(6, 0, 0, 0)), -1.25);
  int y, m, d, h, n, s, z;
  DecodeDate(-1.25, y, m, d);
  DecodeTime(-1.25, h, n, s, z);
  EXPECT_EQ(std::make_tuple(y, m, d, h, n), std::make_tuple(1899, 12, 29, 6, 0));
  DecodeDate(-0.5, y, m, d);
  DecodeTime(-0.5, h, n, s, z);
  EXPECT_EQ(std::make_tuple(y, m, d, h), std::make_tuple(1899, 12, 30, 12));
  EXPECT_EQ(DateOf(-1.25), -1);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
}

TEST(DateTime, TimeOfDayRoundsToTheMillisecondAndCarriesIntoTheNextDay) {
  int h, n, s, z;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, z);
  EXPECT_EQ(std::make_tuple(h, n, s, z), std::make_tuple(23, 59, 59, 999));
  // A value a hair below midnight is midnight of the next day, not 24:00:00 of this one.
  TDateTime almost = 45424 + (MSecsPerDay - 0.2) / MSecsPerDay;
  EXPECT_EQ(DateOf(almost), 45425);
  DecodeTime(almost, h, n, s, z);
  EXPECT_EQ(h + n + s + z, 0);
}

TEST(DateTime, WeekdaysAndCalendarArithmetic) {
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 5, 12)), 1);  // Sunday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);  // Sunday, before day 0
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31), 1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 12, 15), 1), EncodeDate(2025, 1, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -1), EncodeDate(2023, 12, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 3, 31) + 0.5, -13), EncodeDate(2023, 2, 28) + 0.5);
  EXPECT_EQ(IncDay(EncodeDate(2024, 2, 28), 2), EncodeDate(2024, 3, 1));
}

TEST(DateTime, EveryEntryPointRejectsValuesNoCalendarHolds) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();
  int a, b, c, d;
  const std::pair<const char*, std::function<void(TDateTime)>> calls[] = {
      {"DecodeDate", [&](TDateTime v) { DecodeDate(v, a, b, c); }},
      {"DecodeTime", [&](TDateTime v) { DecodeTime(v, a, b, c, d); }},
      {"DateOf", [](TDateTime v) { DateOf(v); }},
      {"TimeOf", [](TDateTime v) { TimeOf(v); }},
      {"DayOfWeek", [](TDateTime v) { DayOfWeek(v); }},
      {"ComposeDateTime date", [](TDateTime v) { ComposeDateTime(v, 0.5); }},
      {"ComposeDateTime time", [](TDateTime v) { ComposeDateTime(45424, v); }},
      {"IncDay", [](TDateTime v) { IncDay(v, 1); }},
      {"IncMonth", [](TDateTime v) { IncMonth(v, 1); }},
      {"FormatDateTime", [](TDateTime v) { FormatDateTime("c", v); }},
  };
  // 1e19 milliseconds overflow a 64-bit count; 1e10 days would give years past int.
  for (double bad : {kNaN, kInf, -kInf, 1e300, -1e300, 1e10, -1e10, 1.0000001e9})
    for (const auto& [name, call] : calls) EXPECT_THROW(call(bad), EConvertError) << name << " " << bad;
  // The last moment of 9999 still decodes; calendar steps off either end of years 1..9999 raise.
  DecodeDate(2958465.99999, a, b, c);
  EXPECT_EQ(std::make_tuple(a, b, c), std::make_tuple(9999, 12, 31));
  DecodeDate(1e9, a, b, c);
  EXPECT_EQ(a, 2739807);
  for (int months : {1, INT32_MAX, INT32_MIN}) EXPECT_THROW(IncMonth(2958465, months), EConvertError) << months;
  EXPECT_THROW(IncMonth(-693593, -1), EConvertError);
}

TEST(Clock, PinnedClockAndIsoParsing) {
  const TDateTime before = Now();
  {
    ScopedClock pin(EncodeDate(1950, 5, 12) + 0.5);
    EXPECT_EQ(Now(), EncodeDate(1950, 5, 12) + 0.5);
    EXPECT_EQ(Date(), EncodeDate(1950, 5, 12));
    {
      ScopedClock inner(EncodeDate(1960, 1, 1));
      EXPECT_EQ(Now(), EncodeDate(1960, 1, 1));
    }
    EXPECT_EQ(Now(), EncodeDate(1950, 5, 12) + 0.5);  // an inner pin gives the outer one back
  }
  // Unpinned, the clock is where it was before (the environment's pin or the real time).
  EXPECT_NEAR(Now(), before, 10.0 / 86400);
  EXPECT_EQ(ParseIsoDateTime("2024-05-12T09:30:00"), EncodeDate(2024, 5, 12) + EncodeTime(9, 30, 0, 0));
  EXPECT_EQ(ParseIsoDateTime("2024-05-12 09:30"), EncodeDate(2024, 5, 12) + EncodeTime(9, 30, 0, 0));
  EXPECT_EQ(ParseIsoDateTime("2024-05-12"), EncodeDate(2024, 5, 12));
  for (const char* bad : {"", "2024-02-30", "2024-05-12X", "2024-05-12T25:00", "2024-05-12T10:00:00junk", "tomorrow"})
    EXPECT_FALSE(ParseIsoDateTime(bad).has_value()) << bad;
}
