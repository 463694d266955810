// Chinese lunar dates for 1901..2050 from a compact table of lunar year records, their Chinese
// names, and the small date helpers the reminder queries use. All functions ignore the time of
// day and are pure.
//
// A lunar date code is month * 100 + day, negative for a day of a leap month (-401 is the first
// day of the leap month after the fourth), and 0 outside 1901..2050.
#pragma once

#include <string>

#include "platform/core/DateTime.h"

namespace vandrel {

int DayOfYear(TDateTime date);
int LunarDateCode(TDateTime date);
// "四月" for a plain month, "闰四" (no 月) for a leap month; empty for code 0.
std::string LunarMonthName(TDateTime date);
// "初一" .. "三十"; empty for code 0.
std::string LunarDayName(TDateTime date);
// "日", "一" .. "六".
std::string WeekdayChar(TDateTime date);
// "星期" followed by the weekday character.
std::string WeekdayText(TDateTime date);
TDateTime FirstDayOfNextMonth(TDateTime date);

}  // namespace vandrel
