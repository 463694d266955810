// The reminder builder on the fixture databases: every section of every expected day, with the
// line texts, their order, the expansion the builder leaves and the folder images.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ReminderBuilder.h"
#include "app/ReminderOutline.h"
#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "platform/core/Clock.h"
#include "tests/app/ExpectedTree.h"

using namespace vandrel;

namespace {

const std::string kData = VANDREL_TEST_DATA "/mdb/";
const char* const kConnectionHead = "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=qelvondar;Data Source=";

TDateTime Ymd(const std::string& s) {
  return EncodeDate(std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2)));
}

struct Fixture {
  explicit Fixture(const std::string& file) : query1(connection), query2(connection) {
    connection.SetConnectionString(kConnectionHead + kData + file);
    connection.Open();
    // The main window's handlers: open folder when expanded, closed when collapsed.
    tree.OnExpanded = [this](IReminderTree::Node n) { tree.At(n).ImageIndex = riOpenFolder; };
    tree.OnCollapsed = [this](IReminderTree::Node n) { tree.At(n).ImageIndex = riClosedFolder; };
  }
  TConnection connection;
  TQuery query1, query2;
  TReminderOutline tree;
  TReminderBuilder builder{tree, query1, query2};
};

// The lines of one category, each plan line followed by its progress lines.
std::vector<std::string> Flatten(const TReminderOutline& tree, IReminderTree::Node category) {
  std::vector<std::string> lines;
  for (auto line : tree.At(category).Children) {
    lines.push_back(tree.At(line).Text);
    for (auto progress : tree.At(line).Children) lines.push_back(tree.At(progress).Text);
  }
  return lines;
}

void Compare(const TReminderOutline& tree, IReminderTree::Node section, const TExpectedSection& expected) {
  const auto& categories = tree.At(section).Children;
  ASSERT_EQ(categories.size(), 10u);
  ASSERT_EQ(expected.Categories.size(), 10u);
  EXPECT_FALSE(tree.At(section).Expanded);
  for (size_t i = 0; i < 10; ++i) {
    const auto& node = tree.At(categories[i]);
    const auto& want = expected.Categories[i];
    SCOPED_TRACE(want.Title);
    EXPECT_EQ(node.Text, want.Title);
    EXPECT_EQ(node.Expanded, want.Expanded);
    EXPECT_EQ(node.ImageIndex, want.Expanded ? riOpenFolder : riClosedFolder);
    EXPECT_EQ(node.SelectedIndex, riSelected);
    std::vector<std::string> got = Flatten(tree, categories[i]), lines = want.Lines;
    // The distinct product query fixes no order.
    if (want.Title == "产品用完") {
      std::sort(got.begin(), got.end());
      std::sort(lines.begin(), lines.end());
    }
    EXPECT_EQ(got, lines);
  }
}

}  // namespace

TEST(ReminderBuilder, EverySectionOfTheFixtureDaysMatchesTheExpectedTree) {
  const auto sections = ReadExpectedTree(kData + "sibling-expected.md", {"# 1.", "# 2."});
  ASSERT_GT(sections.size(), 30u);
  Fixture f("sibling.mdb");
  for (const auto& expected : sections) {
    SCOPED_TRACE("today " + expected.Today + ", " + expected.Title + " " + expected.Date);
    ScopedClock pin(Ymd(expected.Today) + 0.4);
    f.tree.Clear();
    f.builder.AddReminderSection(expected.Title, Ymd(expected.Date), expected.DayMode);
    ASSERT_EQ(f.tree.TopLevel().size(), 1u);
    Compare(f.tree, f.tree.TopLevel()[0], expected);
  }
}

TEST(ReminderBuilder, PlanLinesWithProgressAreExpandedWithFolderImages) {
  Fixture f("sibling.mdb");
  ScopedClock pin(EncodeDate(2024, 3, 5));
  f.builder.AddReminderSection("本日提示", EncodeDate(2024, 3, 5), true);
  const auto plans = f.tree.At(f.tree.At(f.tree.TopLevel()[0]).Children[3]);
  ASSERT_FALSE(plans.Children.empty());
  EXPECT_FALSE(plans.Expanded);
  for (auto plan : plans.Children) {
    EXPECT_TRUE(f.tree.At(plan).Expanded);
    EXPECT_EQ(f.tree.At(plan).ImageIndex, riOpenFolder);
    f.tree.Collapse(plan);
    EXPECT_EQ(f.tree.At(plan).ImageIndex, riClosedFolder);
  }
}

TEST(ReminderBuilder, CardExpiryFailuresAreSwallowedAndTheBuildGoesOn) {
  const auto sections = ReadExpectedTree(kData + "sibling-expected.md", {"# 4."});
  ASSERT_EQ(sections.size(), 1u);
  Fixture f("oldtemp.mdb");
  ScopedClock pin(Ymd(sections[0].Today));
  f.builder.AddReminderSection(sections[0].Title, Ymd(sections[0].Date), sections[0].DayMode);
  Compare(f.tree, f.tree.TopLevel()[0], sections[0]);
}

TEST(ReminderBuilder, AFailingQueryAbortsTheBuildAndKeepsWhatWasAdded) {
  Fixture f("olderschema.mdb");
  ScopedClock pin(EncodeDate(2024, 3, 5));
  try {
    f.builder.AddReminderSection("本日提示", EncodeDate(2024, 3, 5), true);
    FAIL() << "the seventh event rule needs a column the older table lacks";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("TheMonthDay"), std::string::npos) << e.what();
  }
  EXPECT_EQ(f.tree.Dump(),
            "[+] 本日提示\n"
            "  [+] 事件提示\n"
            "        2024-3-5 9:00:00  给客户回电话\n"
            "        2024-3-5 8:30:00  每周二例会\n"
            "        5号 18:00:00 每月五号交水电费\n"
            "        星期二 8:30:00 每周二例会\n");
}

// The builder reopens its queries for every category and under every plan, and a query keeps its
// fields over a reopen on the same columns: a reopen on other columns must give the new ones.
TEST(ReminderBuilder, AReopenedQueryReadsTheColumnsOfItsNewText) {
  Fixture f("sibling.mdb");
  TQuery& q = f.query1;
  const std::string fromHints = " from tHint where HintDate is not null order by ID";
  q.SetSQL("select Hint, HintDate" + fromHints);
  q.Open();
  const std::string hint = q.FieldByName("Hint").AsString(), date = q.FieldByName("HintDate").AsString();
  ASSERT_NE(hint, date);
  q.SetSQL("select HintDate as Hint, Hint as HintDate" + fromHints);  // the same names, swapped
  q.Open();
  EXPECT_EQ(q.FieldByName("hint").DataType(), TJetType::jtDateTime);
  EXPECT_EQ(q.FieldByName("Hint").AsString(), date);
  EXPECT_EQ(q.FieldByName("HintDate").AsString(), hint);
  q.SetSQL("select Hint" + fromHints);
  q.Open();
  EXPECT_EQ(q.FieldByName("Hint").AsString(), hint);
  EXPECT_THROW(q.FieldByName("HintDate"), EDatabaseError);
}

TEST(ReminderBuilder, BirthdayFieldMatching) {
  const TReminderSection may12{"", EncodeDate(2024, 5, 12), true};
  const TReminderSection may{"", EncodeDate(2024, 5, 1), false};
  const TReminderSection march3{"", EncodeDate(2023, 3, 3), true};
  EXPECT_TRUE(GregorianBirthdayMatches("1980-05-12", may12));
  EXPECT_FALSE(GregorianBirthdayMatches("1980-05-13", may12));
  EXPECT_TRUE(GregorianBirthdayMatches("1980-05-13", may));
  EXPECT_FALSE(GregorianBirthdayMatches("1980-06-12", may));
  EXPECT_FALSE(GregorianBirthdayMatches("1980-02-29", march3));  // no 29 February in 2023
  EXPECT_FALSE(GregorianBirthdayMatches("1980-5-12", may12));    // not the query's text form

  const TDateTime lunarMonth1 = EncodeDate(2024, 2, 20);   // 一月十一
  const TDateTime lunarMonth11 = EncodeDate(2023, 12, 20);  // 十一月初八
  EXPECT_TRUE(LunarBirthdayMatches("四月初五", may12, lunarMonth1));
  EXPECT_FALSE(LunarBirthdayMatches("四月初六", may12, lunarMonth1));
  EXPECT_TRUE(LunarBirthdayMatches("一月十五", may, lunarMonth1));
  EXPECT_FALSE(LunarBirthdayMatches("十一月十五", may, lunarMonth1));
  EXPECT_TRUE(LunarBirthdayMatches("十一月十五", may, lunarMonth11));
  EXPECT_FALSE(LunarBirthdayMatches("一月十五", may, lunarMonth11));
}

// The demo database has something due in every category on every day of 2025..2032 (card
// expiries on about one day in seven only), and in all ten categories in every month.
TEST(ReminderBuilder, TheDemoDatabaseFillsEveryCategory) {
  TConnection connection;
  connection.SetConnectionString(std::string(kConnectionHead) + VANDREL_SOURCE_DIR "/resources/demo/demo.mdb");
  connection.Open();
  TQuery query1(connection), query2(connection);
  for (TDateTime day = EncodeDate(2025, 1, 1); day <= EncodeDate(2032, 12, 31); day += 97) {
    ScopedClock pin(day);
    int y, m, d;
    DecodeDate(day, y, m, d);
    for (bool dayMode : {true, false}) {
      TReminderOutline tree;
      TReminderBuilder builder(tree, query1, query2);
      builder.AddReminderSection("", dayMode ? day : EncodeDate(y, m, 1), dayMode);
      const auto& categories = tree.At(tree.TopLevel()[0]).Children;
      for (size_t i = 0; i < categories.size(); ++i) {
        if (dayMode && tree.At(categories[i]).Text == "卡号到期") continue;
        EXPECT_FALSE(tree.At(categories[i]).Children.empty())
            << y << "-" << m << "-" << d << (dayMode ? " day " : " month ") << tree.At(categories[i]).Text;
      }
    }
  }
}
