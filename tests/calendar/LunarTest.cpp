#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "calendar/Lunar.h"
#include "platform/core/Clock.h"

using namespace vandrel;

namespace {

std::string Ymd(TDateTime date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
  return buffer;
}

std::string LunarText(TDateTime date) { return LunarMonthName(date) + LunarDayName(date); }

}  // namespace

TEST(Lunar, KnownDatesAndTheirNames) {
  struct Case {
    int y, m, d;
    int code;
    const char* text;
  };
  const Case cases[] = {
      {2000, 1, 1, 1125, "十一月廿五"},  {2024, 5, 12, 405, "四月初五"},
      {2024, 2, 10, 101, "一月初一"},    {2023, 3, 22, -201, "闰二初一"},
      {2023, 3, 21, 230, "二月三十"},    {2033, 12, 22, -1101, "闰十一初一"},
      {2034, 1, 1, -1111, "闰十一十一"}, {2034, 2, 18, 1230, "十二月三十"},
      {2034, 2, 19, 101, "一月初一"},    {1901, 1, 1, 1111, "十一月十一"},
      {2050, 12, 31, 1118, "十一月十八"}, {2024, 3, 1, 121, "一月廿一"},
      {1900, 12, 31, 0, ""},             {2051, 1, 1, 0, ""},
  };
  for (const auto& c : cases) {
    const TDateTime date = EncodeDate(c.y, c.m, c.d) + 0.75;  // the time of day is ignored
    EXPECT_EQ(LunarDateCode(date), c.code) << Ymd(date);
    EXPECT_EQ(LunarText(date), c.text) << Ymd(date);
  }
}

TEST(Lunar, WeekdaysDayOfYearAndNextMonth) {
  EXPECT_EQ(WeekdayText(EncodeDate(2024, 5, 12)), "星期日");
  EXPECT_EQ(WeekdayChar(EncodeDate(2024, 3, 5)), "二");
  EXPECT_EQ(WeekdayChar(EncodeDate(2024, 5, 18)), "六");
  EXPECT_EQ(DayOfYear(EncodeDate(2024, 1, 1)), 1);
  EXPECT_EQ(DayOfYear(EncodeDate(2024, 12, 31)), 366);
  EXPECT_EQ(DayOfYear(EncodeDate(2023, 12, 31)), 365);
  EXPECT_EQ(DayOfYear(EncodeDate(1900, 3, 1)), 60);  // 1900 is not a leap year
  EXPECT_EQ(FirstDayOfNextMonth(EncodeDate(2024, 12, 15)), EncodeDate(2025, 1, 1));
  EXPECT_EQ(FirstDayOfNextMonth(EncodeDate(2024, 1, 31) + 0.5), EncodeDate(2024, 2, 1));
}

TEST(Lunar, CodesAdvanceConsistentlyOverEveryDay) {
  const TDateTime first = EncodeDate(1901, 1, 1), last = EncodeDate(2050, 12, 31);
  int previous = LunarDateCode(first);
  int leapMonthsThisYear = 0;
  for (TDateTime date = first + 1; date <= last; date += 1) {
    const int code = LunarDateCode(date);
    const int month = std::abs(code) / 100, day = std::abs(code) % 100;
    ASSERT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 30) << Ymd(date) << " " << code;
    const int prevMonth = std::abs(previous) / 100, prevDay = std::abs(previous) % 100;
    if (day != 1) {
      ASSERT_EQ(code, previous < 0 ? previous - 1 : previous + 1) << Ymd(date);
    } else {
      ASSERT_GE(prevDay, 29) << Ymd(date);
      if (code < 0) {
        ASSERT_EQ(month, prevMonth) << "a leap month repeats the month before it, " << Ymd(date);
        ASSERT_GT(previous, 0) << Ymd(date);
        ASSERT_EQ(++leapMonthsThisYear, 1) << "second leap month in one lunar year, " << Ymd(date);
      } else {
        ASSERT_EQ(month, prevMonth % 12 + 1) << Ymd(date);
        if (month == 1) leapMonthsThisYear = 0;
      }
    }
    previous = code;
  }
}

// Every day of 1901..2050 against an independent lunar calendar (tests/data/lunar-months.txt,
// written by tests/calendar/make-lunar-months.js). Our table holds where the two differ; it
// differs from the astronomical calendar in exactly two months whose lengths it gives otherwise.
TEST(Lunar, MatchesAnIndependentCalendarExceptTwoKnownMonths) {
  std::ifstream in(std::string(VANDREL_TEST_DATA) + "/lunar-months.txt");
  ASSERT_TRUE(in) << "missing tests/data/lunar-months.txt";
  struct MonthStart {
    TDateTime date;
    int month;
    int firstDay;
  };
  std::vector<MonthStart> starts;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string ymd;
    int month, day = 1;
    fields >> ymd >> month >> day;
    auto date = ParseIsoDateTime(ymd);
    ASSERT_TRUE(date) << line;
    starts.push_back({*date, month, starts.empty() ? day : 1});
  }
  ASSERT_GT(starts.size(), 1800u);

  std::set<std::string> differences;
  size_t k = 0;
  for (TDateTime date = EncodeDate(1901, 1, 1); date <= EncodeDate(2050, 12, 31); date += 1) {
    while (k + 1 < starts.size() && starts[k + 1].date <= date) ++k;
    const int day = int(date - starts[k].date) + starts[k].firstDay;
    const int month = starts[k].month;
    const int expected = month > 0 ? month * 100 + day : month * 100 - day;
    if (LunarDateCode(date) != expected) differences.insert(Ymd(date));
  }

  std::set<std::string> known;
  for (TDateTime d = EncodeDate(1989, 8, 1); d <= EncodeDate(1989, 8, 30); d += 1) known.insert(Ymd(d));
  for (TDateTime d = EncodeDate(2013, 6, 8); d <= EncodeDate(2013, 7, 7); d += 1) known.insert(Ymd(d));
  ASSERT_EQ(known.size(), 60u);
  EXPECT_EQ(differences, known);
}
