#include <gtest/gtest.h>

#include "platform/core/Clock.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Exception.h"

using namespace vandrel;

namespace {

TFormatSettings Defaults() {
  TFormatSettings s;
  s.DeriveSeparators();
  return s;
}

}  // namespace

TEST(FormatDateTime, PatternsOfTheReminderQueriesAndTree) {
  const TFormatSettings s = Defaults();
  const TDateTime march5 = EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 7, 45);
  const TDateTime midnight = EncodeDate(2024, 3, 5);
  struct Case {
    const char* pattern;
    TDateTime value;
    const char* expected;
  };
  const Case cases[] = {
      {"yyyy-mm-dd", march5, "2024-03-05"},
      {"yyyy-mm", march5, "2024-03"},
      {"yyyy", march5, "2024"},
      {"mm", march5, "03"},
      {"DD", march5, "05"},
      {"D", march5, "5"},
      {"dd", march5, "05"},
      {"m/d", march5, "3-5"},
      {"yy", march5, "24"},
      {"ddddd", march5, "2024-3-5"},
      {"c", march5, "2024-3-5 14:30:07"},
      {"c", midnight, "2024-3-5"},
      {"tt", march5, "14:30:07"},
      {"TT", midnight, "0:00:00"},
      {"t", march5, "14:30"},
      {"hh:nn:ss.zzz", march5, "14:30:07.045"},
      {"h:mm", march5, "14:30"},          // m after an hour is minutes
      {"hh 'at' mm", march5, "14 at 30"},  // quoted literal; m after the hour still minutes
      {"\"yyyy\"yyyy", march5, "yyyy2024"},
      {"h:nn am/pm", march5, "2:30 pm"},
      {"h:nn AM/PM", midnight, "12:00 AM"},
      {"h ampm", march5, "2 下午"},
      {"mmm", march5, "三月"},
      {"dddd", march5, "星期二"},
      // A day count from before year 1 (a damaged file): the sign comes before the zero padding.
      {"yyyy yy m/d", -700000, "-017 -17 6-18"},
      {"yyyy yy", -694000.5, "-001 -1"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, c.value, s), c.expected) << c.pattern;
}

TEST(FormatDateTime, RegionalFormatsChangeShortDateAndLongTime) {
  TFormatSettings s;
  s.ShortDateFormat = "dd/MM/yyyy";
  s.LongTimeFormat = "hh.mm.ss";
  s.DeriveSeparators();
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.TimeSeparator, '.');
  const TDateTime v = EncodeDate(2024, 3, 5) + EncodeTime(9, 5, 0, 0);
  EXPECT_EQ(FormatDateTime("c", v, s), "05/03/2024 09.05.00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", v, s), "2024-03-05");  // literal '-' is not the separator
}

TEST(StrToDateTime, ParsesWithTheRegionalOrder) {
  ScopedClock pin(EncodeDate(2024, 5, 12));
  const TFormatSettings ymd = Defaults();
  TFormatSettings dmy;
  dmy.ShortDateFormat = "dd/MM/yyyy";
  dmy.DeriveSeparators();
  EXPECT_EQ(StrToDate("2024-3-5", ymd), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("2024/03/05", ymd), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("5/3/2024", dmy), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("3-5", ymd), EncodeDate(2024, 3, 5));  // current year
  EXPECT_EQ(StrToDate("99-3-5", ymd), EncodeDate(1999, 3, 5));
  EXPECT_EQ(StrToDate("24-3-5", ymd), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDateTime("2024-3-5 14:30:07", ymd), EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 7, 0));
  EXPECT_EQ(StrToDateTime("1899-12-29 06:00", ymd), -1.25);
  EXPECT_EQ(StrToTime("2:30 PM", ymd), EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(StrToTime("12:00 上午", ymd), 0);
  EXPECT_EQ(StrToTime("00:00:00", ymd), 0);
  // Round trip of the regional formats.
  const TDateTime v = EncodeDate(2031, 11, 30) + EncodeTime(8, 1, 2, 0);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(v, ymd), ymd), v);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(v, dmy), dmy), v);
  for (const char* bad : {"", "2024-2-30", "2024-3-5 25:00", "abc", "2024-3-5 x", "12:61"})
    EXPECT_THROW(StrToDateTime(bad, ymd), EConvertError) << bad;
}
