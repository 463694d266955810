// Every reminder query, for every section of the fixture's section dates and edge-case days,
// run against sibling.mdb and compared line by line with the expected reminder tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "platform/core/DateFormat.h"
#include "tests/database/ReminderQueries.h"

namespace vandrel {
namespace {

const std::string kData = VANDREL_TEST_DATA "/mdb/";
const std::string kPassword = "qelvondar";

std::string ConnectionString(const std::string& file) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=" + kPassword +
         ";Persist Security Info=False;Data Source=" + kData + file;
}

struct TExpectedSection {
  std::string Today, Title, Date;
  bool DayMode = true;
  std::map<std::string, std::vector<std::string>> Categories;
};

TDateTime Ymd(const std::string& s) {
  return EncodeDate(std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2)));
}

// Reads the chapters of the expected tree that belong to one database: "# 1."/"# 2." for
// sibling.mdb, "# 4." for oldtemp.mdb.
std::vector<TExpectedSection> ReadExpected(const std::vector<std::string>& chapters) {
  std::ifstream in(kData + "sibling-expected.md");
  std::vector<TExpectedSection> out;
  std::string line, today, category;
  bool inChapter = false;
  while (std::getline(in, line)) {
    if (line.rfind("# ", 0) == 0) {
      inChapter = std::any_of(chapters.begin(), chapters.end(), [&](auto& c) { return line.rfind(c, 0) == 0; });
      continue;
    }
    if (!inChapter) continue;
    if (line.rfind("## today = ", 0) == 0) {
      today = line.substr(11, 10);
    } else if (line.rfind("### ", 0) == 0) {
      std::istringstream words(line.substr(4));
      TExpectedSection s;
      std::string mode;
      words >> s.Title >> s.Date >> mode;
      s.Today = today;
      s.DayMode = mode == "(day";
      out.push_back(s);
    } else if (line.rfind("- ", 0) == 0 && !out.empty()) {
      category = line.substr(2, line.find(':') - 2);
      out.back().Categories[category];
    } else if (line.rfind("    - `", 0) == 0 && !out.empty()) {
      const size_t tick = line.find('`', 7);
      size_t colon = line.find(": ", tick);
      std::string text = line.substr(colon + 2);
      // Progress lines are indented under their plan in the listing.
      if (line.find("progress under plan") != std::string::npos) text.erase(0, text.find_first_not_of(' '));
      out.back().Categories[category].push_back(text);
    }
  }
  return out;
}

void CompareSection(TConnection& connection, const TExpectedSection& expected) {
  SCOPED_TRACE("today " + expected.Today + ", " + expected.Title + " " + expected.Date);
  const TSectionLines actual = BuildSection(connection, Ymd(expected.Date), expected.DayMode, Ymd(expected.Today));
  for (const auto& [category, lines] : expected.Categories) {
    auto it = actual.Categories.find(category);
    ASSERT_NE(it, actual.Categories.end()) << category;
    std::vector<std::string> want = lines, got = it->second;
    // Only the course query fixes an order; the others are compared as sets of lines.
    if (category != "课程安排") {
      std::sort(want.begin(), want.end());
      std::sort(got.begin(), got.end());
    }
    EXPECT_EQ(got, want) << category;
  }
}

TEST(SiblingTree, EverySectionOfEveryExpectedDayMatches) {
  const auto sections = ReadExpected({"# 1.", "# 2."});
  ASSERT_GT(sections.size(), 30u);
  size_t lines = 0;
  for (const auto& s : sections)
    for (const auto& [category, texts] : s.Categories) lines += texts.size();
  ASSERT_GT(lines, 300u);
  TConnection connection;
  connection.SetConnectionString(ConnectionString("sibling.mdb"));
  connection.Open();
  for (const auto& s : sections) CompareSection(connection, s);
}

TEST(SiblingTree, OldTempLacksCardColumnsAndOnlyThatCategoryStaysEmpty) {
  const auto sections = ReadExpected({"# 4."});
  ASSERT_EQ(sections.size(), 1u);
  TConnection connection;
  connection.SetConnectionString(ConnectionString("oldtemp.mdb"));
  connection.Open();
  CompareSection(connection, sections[0]);
}

TEST(SiblingTree, OlderSchemaFailsAtTheSeventhRuleNamingTheColumn) {
  TConnection connection;
  connection.SetConnectionString(ConnectionString("olderschema.mdb"));
  connection.Open();
  const auto queries = SectionQueries(Ymd("2024-03-05"), true, Ymd("2024-03-05"));
  TQuery query(connection);
  for (size_t i = 0; i < 6; ++i) {
    query.SetSQL(queries[i]);
    EXPECT_NO_THROW(query.Open()) << queries[i];
  }
  query.SetSQL(queries[6]);
  try {
    query.Open();
    FAIL() << "rule 7 ran on a table without TheMonthDay";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("TheMonthDay"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace vandrel
