// The text of the status bar's date panel: short date, lunar date and weekday.
#pragma once

#include <string>

#include "platform/core/DateTime.h"

namespace vandrel {

// "2024-5-12  农历  四月初五  星期日" for 12 May 2024 with a year-month-day short date.
std::string StatusLineText(TDateTime now);

}  // namespace vandrel
