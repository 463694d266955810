#include "app/StatusLine.h"

#include "calendar/Lunar.h"
#include "platform/core/DateFormat.h"

namespace vandrel {

std::string StatusLineText(TDateTime now) {
  return FormatDateTime("ddddd", now) + "  农历  " + LunarMonthName(now) + LunarDayName(now) + "  " +
         WeekdayText(now);
}

}  // namespace vandrel
