// The Jet semantics the translator must carry over to SQLite. Every case here gives a different,
// silently wrong answer under a literal translation (noted per row).
#include <gtest/gtest.h>

#include "data/DatabaseError.h"
#include "data/JetSqlParser.h"
#include "platform/core/DateFormat.h"
#include "tests/database/DatabaseTestUtil.h"

namespace vandrel {
namespace {

class JetSql : public ::testing::Test {
 protected:
  void SetUp() override { OpenFixture(m_types, "types.mdb"); }
  // The one value of column "x" for the given expression on row `id` of AllTypes.
  std::string Eval(const std::string& expr, int id = 7) {
    auto v = Column(m_types, "select " + expr + " as x from AllTypes where ID=" + std::to_string(id), "x");
    return v.size() == 1 ? v[0] : "<" + std::to_string(v.size()) + " rows>";
  }
  std::string Ids(const std::string& where, const std::string& order = "") {
    std::string out;
    for (const auto& id : Column(m_types, "select ID from AllTypes where " + where + order, "ID"))
      out += (out.empty() ? "" : ",") + id;
    return out;
  }
  TConnection m_types;
};

TEST_F(JetSql, ExpressionsFollowJetRules) {
  struct Case {
    const char* expr;
    const char* want;
    const char* naive;  // what a literal translation gives
  } cases[] = {
      {"20 Mod 2*7", "6", "0: % binds like *"},
      {"13.9 Mod 7", "0", "6: SQLite truncates REAL operands, Jet rounds"},
      {"7 \\ 2", "3", "3.5"},
      {"format(DateCol,'yyyy-mm')", "2024-05", "the day count: SQLite's own format() is printf"},
      {"format('2024-03-05','mm:dd')", "03:05", "printf of the text"},
      {"format(#2024-3-5#,'mm:dd')", "03:05", "the regional short date form of a literal"},
      {"datediff('d',#2024-03-01 15:00:00#,'2024-03-15')", "14", "13 from a difference of day counts"},
      {"datediff('d',DateCol,'2024-05-13')", "1", "0.0000116 from a difference of day counts"},
      {"DateAdd('d',-7,DateCol)", "2024-5-5 23:59:59", "date() reads a day count as a Julian day"},
      {"DateAdd('d',-7,#1899-12-29 06:00:00#)", "1899-12-22 6:00:00", "time fraction lost across day 0"},
      {"Month('2024-03-05')", "3", "no such function"},
      {"Day('2024-03-05')", "5", "no such function"},
      {"Day(DateCol)", "12", "no such function"},
      {"true", "True", "1"},
      {"Iif(DateCol is null,'00:00:00',DateCol)", "2024-5-12 23:59:59", "45424.99998843 as a REAL"},
      {"'a' & Null & 1", "a1", "NULL"},
      {"#5/12/2024#", "2024-5-12", "a text that never equals a date"},
  };
  for (const auto& c : cases) EXPECT_EQ(Eval(c.expr), c.want) << c.expr << " (naive: " << c.naive << ")";
}

TEST_F(JetSql, ConditionsFollowJetRules) {
  struct Case {
    const char* where;
    const char* want;
  } cases[] = {
      {"BoolCol=true", "3,4,6,8"},                 // SQLite true is 1, Jet stores -1
      {"BoolCol=false", "1,2,5,7,9"},
      {"DateCol=#2024-02-29#", "9"},               // '2024-02-29' text never equals a REAL
      {"DateCol=#2024-2-29#", "9"},                // regional short date
      {"DateCol=#2/29/2024#", "9"},                // m/d/y with slashes
      {"DateCol<#1899-12-30#", "2,4,6"},           // dates before day 0
      {"DateCol='2024-02-29'", "9"},               // a date text against a date column
      {"ShortText='ABC'", "5"},                    // Jet compares text without case
      {"TextCol like '%中文%'", "5"},
      {"ShortText like 'AB_'", "5"},
      {"MemoCol is null", "1,8,9"},
      {"TextCol=''", "2"},                         // empty text is not NULL
      {"ID between 2 and 4 and not ID=3", "2,4"},
      {"ID in (1, 9)", "1,9"},
      {"IntCol Mod 2=1 or IntCol is null", "1,3,5,6,8,9"},  // -1 Mod 2 is -1
      // Date functions compared with constants run behind a range test on the column; the range
      // must hold every day count the function maps there (times on negative days run backwards).
      {"ID<>3 and DateAdd('d',7,DateCol)>=#1900-01-05 06:00#", "4,5,7,8,9"},  // x+7 misses 4
      {"ID<>2 and DateAdd('d',-1,DateCol)<#1899-12-29#", "4,5,6"},            // x-1 misses 5
      {"format(DateCol,'yyyy-mm-dd')='1899-12-29'", "4"},  // a day's [start, end) misses 06:00 on day -1
      {"format(DateCol,'yyyy-mm')='1899-12'", "4,5,8"},
      {"format(DateCol,'yyyy')='9999'", "3"},              // the last year has no next one
      {"not (format(DateCol,'yyyy-mm')='2024-05')", "2,3,4,5,6,8,9"},  // NULL stays NULL
      // Both sides formatted alike compare as numbers: the day of a negative count is its
      // truncation (floor gives 1899-12-28), NULL stays NULL.
      {"format(DateCol,'mm:dd')=format(#2023-12-29#,'mm:dd')", "4"},
      {"format(DateCol,'mm')=format('2000-12-01','mm')", "3,4,5,8"},
      {"not (format(DateCol,'mm')=format(#2000-2-1#,'mm'))", "2,3,4,5,6,7,8"},
      // ORs of such comparisons, and of text comparisons with one text, are tested in one call
      // per group: an OR's NULLs stay (NOT of NULL OR false is NULL), groups keep their keys.
      {"not (format(DateCol,'mm')=format(#2000-2-1#,'mm') or format(DateCol,'mm')=format(#2000-2-1#,'mm'))",
       "2,3,4,5,6,7,8"},
      {"format(DateCol,'mm')=format(#2000-2-1#,'mm') or format(DateCol,'mm')=format(#2000-5-1#,'mm')", "7,9"},
      {"format(DateCol,'yyyy')=format(#2024-1-1#,'yyyy') or ShortText='NEG' or format(DateCol,'yyyy')=format(#2024-1-1#,'yyyy')",
       "4,7,9"},
      {"TextCol='plain ascii TEXT' or ShortText='ABC'", "5,8"},
      {"not (ShortText='x' or MemoCol='x')", "2,3,4,5,6,7"},
      {"TextCol='王芳' or ShortText='王芳' or ID=1", "1,7"},
      // The conditions of an AND are tested likely-few-rows first; an OR's parts stay together.
      {"BoolCol=true and (ID=3 or ID=4) and DateCol>=#2000-1-1#", "3"},
      {"BoolCol=false and ID=2 or ID=3 and ShortText='x'", "2"},
  };
  for (const auto& c : cases) EXPECT_EQ(Ids(c.where), c.want) << c.where;
}

TEST_F(JetSql, NamesMeanTheTableColumnBeforeAnAlias) {
  // WHERE: format(DateCol,...) reads the stored date, not the selected text of the same name.
  EXPECT_EQ(Column(m_types, "select format(DateCol,'yyyy') as DateCol from AllTypes where format(DateCol,'mm')='05'", "DateCol"),
            std::vector<std::string>{"2024"});
  // ORDER BY: LongCol is the column (SQLite alone would sort by the alias).
  EXPECT_EQ(Column(m_types, "select ID, -ID as LongCol from AllTypes where ID<=3 order by LongCol", "ID"),
            (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(Column(m_types, "select ID, LongCol as n from AllTypes where ID<=4 order by n desc", "ID"),
            (std::vector<std::string>{"3", "4", "2", "1"}));
  // Names of tables and columns are matched without case.
  EXPECT_EQ(Column(m_types, "select [alltypes].[textcol] from ALLTYPES where id=7", "TEXTCOL"),
            std::vector<std::string>{"王芳"});
  // A select alias is no column: Jet would ask for a parameter value; here it is an error.
  EXPECT_THROW(Column(m_types, "select ID as nm from AllTypes where nm=1", "nm"), EDatabaseError);
}

TEST_F(JetSql, ErrorsNameTheQueryOrTheMissingName) {
  struct Case {
    const char* sql;
    const char* mentions;
  } cases[] = {
      {"select from AllTypes", "select from AllTypes"},
      {"select ID from AllTypes where", "where"},
      {"select NoSuchCol from AllTypes", "NoSuchCol"},
      {"select ID from NoSuchTable", "NoSuchTable"},
      {"select Frobnicate(ID) from AllTypes", "Frobnicate"},
      {"select ID from AllTypes where DateCol=#2024-13-45#", "2024-13-45"},
      {"select ID from AllTypes where TextCol='open", "open"},
      {"select datediff('d',TextCol,DateCol) from AllTypes where ID=7", "datediff"},
      {"select DateAdd('m',1000000,DateCol) from AllTypes where ID=7", "DateAdd"},
      {"select DateAdd('yyyy',-3000,DateCol) from AllTypes where ID=7", "DateAdd"},
      // 9999-12-31 + 7 days, 0100-01-01 - 7 days: the range test in front of DateAdd must not
      // skip the failing row, whichever side the comparison bounds.
      {"select ID from AllTypes where DateAdd('d',7,DateCol)<=#2000-1-1#", "DateAdd"},
      {"select ID from AllTypes where DateAdd('d',-7,DateCol)>=#2000-1-1#", "DateAdd"},
      {"select ID from AllTypes where DateAdd('d',-7,DateCol)=#2000-1-1#", "DateAdd"},
  };
  // Found by fuzzing: deep nesting overflowed the stack of the recursive parser.
  const std::string deep = "select " + std::string(100000, '(') + "1" + " from AllTypes";
  const std::string signs = "select " + std::string(100000, '-') + "1" + " from AllTypes";
  const std::string nots = "select ID from AllTypes where " + [] {
    std::string s;
    for (int i = 0; i < 50000; ++i) s += "not ";
    return s;
  }() + "ID=1";
  const std::string froms = "select * from " + std::string(100000, '(') + "AllTypes";
  for (const auto& sql : {deep, signs, nots, froms}) EXPECT_THROW(Column(m_types, sql, "ID"), EDatabaseError);
  for (const auto& c : cases) {
    try {
      Column(m_types, c.sql, "ID");
      ADD_FAILURE() << "no error for " << c.sql;
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos) << e.what();
    }
  }
}

TEST(JetSqlParser, ParsesNestedJoinsAndStarForms) {
  const TSqlSelect s = ParseJetSelect(
      "select distinct T.*, [a b].x AS y, * FROM ((A INNER JOIN T ON A.k=T.k) LEFT JOIN ((B INNER JOIN C ON B.i=C.i)) ON T.j=B.j)");
  EXPECT_TRUE(s.Distinct);
  ASSERT_EQ(s.Items.size(), 3u);
  EXPECT_EQ(s.Items[0].StarTable, "T");
  EXPECT_EQ(s.Items[1].Alias, "y");
  EXPECT_EQ(s.Items[1].Expr->Qualifier, "a b");
  ASSERT_EQ(s.From.size(), 1u);
  EXPECT_EQ(s.From[0]->JoinType, "LEFT");
  EXPECT_EQ(s.From[0]->Right->JoinType, "INNER");
}

}  // namespace
}  // namespace vandrel
