#include <gtest/gtest.h>

#include "app/CreationSequence.h"

using namespace vandrel;

TEST(CreationSequence, SixSectionsCarryTheirDatesAcrossMonthAndYearEnds) {
  struct Case {
    TDateTime today;
    std::vector<TDateTime> dates;
  };
  const Case cases[] = {
      {EncodeDate(2024, 5, 12), {EncodeDate(2024, 5, 12), EncodeDate(2024, 5, 13), EncodeDate(2024, 5, 14),
                                 EncodeDate(2024, 5, 11), EncodeDate(2024, 5, 1), EncodeDate(2024, 6, 1)}},
      {EncodeDate(2024, 12, 31), {EncodeDate(2024, 12, 31), EncodeDate(2025, 1, 1), EncodeDate(2025, 1, 2),
                                  EncodeDate(2024, 12, 30), EncodeDate(2024, 12, 1), EncodeDate(2025, 1, 1)}},
      {EncodeDate(2024, 3, 1), {EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2), EncodeDate(2024, 3, 3),
                                EncodeDate(2024, 2, 29), EncodeDate(2024, 3, 1), EncodeDate(2024, 4, 1)}},
  };
  const char* titles[] = {"本日提示", "明日提示", "后天提示", "昨天提示", "本月提示", "下月提示"};
  for (const auto& c : cases) {
    const auto sections = ReminderSections(c.today);
    ASSERT_EQ(sections.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
      EXPECT_EQ(sections[i].Title, titles[i]);
      EXPECT_EQ(sections[i].Date, c.dates[i]) << titles[i];
      EXPECT_EQ(sections[i].DayMode, i < 4) << titles[i];
    }
  }
}

TEST(CreationSequence, FilePathParts) {
  EXPECT_EQ(ExtractFilePath("/opt/tarvo/tarvo.exe"), "/opt/tarvo/");
  EXPECT_EQ(ExtractFileName("/opt/tarvo/tarvo.exe"), "tarvo.exe");
  EXPECT_EQ(ExtractFilePath("tarvo.exe"), "");
  EXPECT_EQ(ExtractFilePath(""), "");
  EXPECT_EQ(ExtractFileName("/opt/"), "");
}
