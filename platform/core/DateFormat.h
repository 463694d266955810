// Formatting and parsing of dates and times with the user's regional settings, using the
// classic format patterns: y, m, d, h, n, s, z, t, c, am/pm, the "/" and ":" separators and
// quoted literals. Letters are case-insensitive ("DD" is "dd"); "m" right after an hour means
// minutes.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/core/DateTime.h"

namespace vandrel {

struct TFormatSettings {
  std::string ShortDateFormat = "yyyy-M-d";
  std::string LongDateFormat = "yyyy'年'M'月'd'日'";
  std::string ShortTimeFormat = "H:mm";
  std::string LongTimeFormat = "H:mm:ss";
  char DateSeparator = '-';
  char TimeSeparator = ':';
  std::string TimeAMString = "上午";
  std::string TimePMString = "下午";
  std::array<std::string, 12> ShortMonthNames{"一月", "二月", "三月", "四月", "五月", "六月",
                                              "七月", "八月", "九月", "十月", "十一月", "十二月"};
  std::array<std::string, 12> LongMonthNames = ShortMonthNames;
  std::array<std::string, 7> ShortDayNames{"星期日", "星期一", "星期二", "星期三",
                                           "星期四", "星期五", "星期六"};
  std::array<std::string, 7> LongDayNames = ShortDayNames;
  // Two-digit years are placed within this many years before or after the current year.
  int TwoDigitYearCenturyWindow = 50;

  // Built-in defaults, then VANDREL_SHORTDATE and VANDREL_LONGTIME from the environment.
  static TFormatSettings FromEnvironment();
  // Takes the date and time separators from the short date and long time patterns.
  void DeriveSeparators();
};

// The process's regional settings, read from the environment on first use.
TFormatSettings& FormatSettings();

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings = FormatSettings());
std::string DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
// Short date, then the long time when the value has a time of day.
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

// Parsing follows the order of year, month and day in the short date format and accepts the date
// separator, "/" or "-" between the numbers; a date of two numbers takes the current year.
bool TryStrToDate(std::string_view text, TDateTime& value,
                  const TFormatSettings& settings = FormatSettings());
bool TryStrToTime(std::string_view text, TDateTime& value,
                  const TFormatSettings& settings = FormatSettings());
bool TryStrToDateTime(std::string_view text, TDateTime& value,
                      const TFormatSettings& settings = FormatSettings());
// Raise EConvertError with the text in the message.
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings = FormatSettings());
TDateTime StrToTime(std::string_view text, const TFormatSettings& settings = FormatSettings());
TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings = FormatSettings());

}  // namespace vandrel
