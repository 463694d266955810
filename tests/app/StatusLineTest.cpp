#include <gtest/gtest.h>

#include "app/StatusLine.h"
#include "platform/core/DateTime.h"

using namespace vandrel;

TEST(StatusLine, DateLunarDateAndWeekdayWithTwoBlankSeparators) {
  EXPECT_EQ(StatusLineText(EncodeDate(2024, 5, 12) + 0.4), "2024-5-12  农历  四月初五  星期日");
  EXPECT_EQ(StatusLineText(EncodeDate(2023, 3, 22)), "2023-3-22  农历  闰二初一  星期三");
  EXPECT_EQ(StatusLineText(EncodeDate(2034, 2, 18)), "2034-2-18  农历  十二月三十  星期六");
}
