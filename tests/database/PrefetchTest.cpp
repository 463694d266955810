// Queries run ahead on worker threads: the rows, their order and the errors a caller sees must be
// those of running each text when it is asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

#include "DatabaseTestUtil.h"
#include "app/CreationSequence.h"
#include "app/ReminderQueries.h"
#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "platform/core/Clock.h"

namespace vandrel {
namespace {

// Everything a caller can tell about one text's run: columns with their types, every cell, or
// the error's message.
template <class TSource>
std::string Outcome(TSource& source, const std::string& sql) {
  std::ostringstream out;
  try {
    const auto rows = source.Execute(sql);
    for (const auto& column : rows->Columns) out << column.Name << ":" << int(column.Type) << " ";
    out << "\n" << rows->RowCount << " rows\n";
    for (const TJetValue& v : rows->Cells) out << int(v.Kind) << "|" << v.Integer << "|" << v.Real << "|" << v.Text << "\n";
  } catch (const EDatabaseError& e) {
    out << "error: " << e.what();
  }
  return out.str();
}

size_t ThreadCount() {
  return size_t(std::distance(std::filesystem::directory_iterator("/proc/self/task"), std::filesystem::directory_iterator()));
}

// The texts of a build on `today`, in the order the builder sends them.
std::vector<std::string> BuildTexts(TDateTime today) {
  std::vector<std::string> texts;
  for (const TReminderSection& section : ReminderSections(today))
    for (std::string& text : ReminderQueries::All(section, today + 0.4)) texts.push_back(std::move(text));
  return texts;
}

const char* const kFixtureDays[] = {"2024-03-05", "2024-05-12", "2024-02-16", "2024-03-15", "2024-03-29",
                                    "2024-03-31", "2024-04-30", "2024-03-02", "2024-03-10", "2024-02-29",
                                    "2025-03-03", "2024-02-24", "2024-12-15", "2024-06-20"};

TDateTime Day(const std::string& ymd) {
  return EncodeDate(std::stoi(ymd.substr(0, 4)), std::stoi(ymd.substr(5, 2)), std::stoi(ymd.substr(8, 2)));
}

TEST(Prefetch, RowsAndErrorsAreThoseOfTheSequentialRunForEveryFixtureDay) {
  // Files where every query works, where one category fails (a missing table) and where rules
  // fail on a missing column: the failures must come back the same, at the same text.
  for (const char* file : {"sibling.mdb", "oldtemp.mdb", "olderschema.mdb"}) {
    SCOPED_TRACE(file);
    for (const char* day : kFixtureDays) {
      SCOPED_TRACE(day);
      const std::vector<std::string> texts = BuildTexts(Day(day));
      TConnection sequential, ahead;
      OpenFixture(sequential, file);
      OpenFixture(ahead, file);
      const auto prefetch = ahead.Prefetch(texts);
      for (const std::string& sql : texts) EXPECT_EQ(Outcome(ahead, sql), Outcome(sequential, sql)) << sql;
    }
  }
}

TEST(Prefetch, AFailingTextRaisesWhenItIsAskedForAndNotBefore) {
  struct Case {
    const char* sql;
    const char* mentions;
  } cases[] = {
      {"select from AllTypes", "select from AllTypes"},                 // syntax
      {"select NoSuchCol from AllTypes", "NoSuchCol"},                 // name
      {"select ID from NoSuchTable", "NoSuchTable"},                   // table
      {"select DateAdd('m',1000000,DateCol) from AllTypes where ID=7", "DateAdd"},  // while the rows are read
      {"select ID from AllTypes where DateAdd('d',7,DateCol)<=#2000-1-1#", "DateAdd"},
  };
  const std::string before = "select ID, TextCol from AllTypes order by ID";
  const std::string after = "select ID from AllTypes where ID<5";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    TConnection sequential, ahead;
    OpenFixture(sequential, "types.mdb");
    OpenFixture(ahead, "types.mdb");
    std::optional<TConnection::TPrefetchScope> prefetch;
    ASSERT_NO_THROW(prefetch.emplace(ahead.Prefetch({before, c.sql, after})));
    EXPECT_EQ(Outcome(ahead, before), Outcome(sequential, before));
    const std::string expected = Outcome(sequential, c.sql);
    EXPECT_NE(expected.find(c.mentions), std::string::npos) << expected;
    EXPECT_EQ(Outcome(ahead, c.sql), expected);
    // Asked again, it fails again: a failure is not remembered as rows.
    EXPECT_EQ(Outcome(ahead, c.sql), expected);
    EXPECT_EQ(Outcome(ahead, after), Outcome(sequential, after));
  }
}

TEST(Prefetch, TextsNotRunAheadMixWithPrefetchedOnes) {
  // Another day's texts need no new ahead run but may need lookup indexes the prefetch did not
  // make; asked for in between, each still gives the sequential rows.
  const std::vector<std::string> first = BuildTexts(Day("2024-03-05"));
  const std::vector<std::string> second = BuildTexts(Day("2024-05-12"));
  TConnection sequential, ahead;
  OpenFixture(sequential, "sibling.mdb");
  OpenFixture(ahead, "sibling.mdb");
  std::optional<TConnection::TPrefetchScope> prefetch(ahead.Prefetch(first));
  for (size_t i = 0; i < std::max(first.size(), second.size()); ++i) {
    for (const auto* texts : {&second, &first}) {
      if (i < texts->size()) {
        EXPECT_EQ(Outcome(ahead, (*texts)[i]), Outcome(sequential, (*texts)[i])) << (*texts)[i];
      }
    }
  }
  // A second prefetch on the same snapshot, partly of texts already answered.
  prefetch.reset();
  prefetch.emplace(ahead.Prefetch(second));
  for (const std::string& sql : second) EXPECT_EQ(Outcome(ahead, sql), Outcome(sequential, sql)) << sql;
}

std::vector<uint8_t> FixtureBytes(const std::string& file) {
  std::ifstream in(kMdbDir + file, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A small file is imported by one child, a large one by two: the tables of a join or of a
// failing category may then lie in different shares, and no text may tell the difference.
TEST(Prefetch, OneShareOrTwoGiveTheSameOutcomeForEveryFixtureDay) {
  for (const char* file : {"sibling.mdb", "oldtemp.mdb", "olderschema.mdb"}) {
    SCOPED_TRACE(file);
    const std::vector<uint8_t> image = FixtureBytes(file);
    TJetDatabase one(TByteBuffer(image.data(), image.size()), 0, file, {}, 1);
    TJetDatabase two(TByteBuffer(image.data(), image.size()), 0, file, {}, 2);
    for (const char* day : kFixtureDays) {
      SCOPED_TRACE(day);
      const std::vector<std::string> texts = BuildTexts(Day(day));
      two.Prefetch(texts);
      for (const std::string& sql : texts) EXPECT_EQ(Outcome(one, sql), Outcome(two, sql)) << sql;
    }
  }
}

TEST(Prefetch, EveryJoinFindsTheLookupIndexesMadeAheadInEachShare) {
  // The shares' indexes are written by connections of their own; the owner must see them, or
  // every join builds a temporary index per statement (right rows, lost time).
  const std::vector<uint8_t> image = FixtureBytes("sibling.mdb");
  TJetDatabase database(TByteBuffer(image.data(), image.size()), 0, "sibling.mdb", {}, 2);
  const std::vector<std::string> texts = BuildTexts(Day("2024-03-05"));
  database.Prefetch(texts);
  database.SettlePrefetch(false);
  std::set<std::string> indexedShares;
  for (const std::string& sql : texts) {
    const std::string plan = database.QueryPlan(sql);
    EXPECT_EQ(plan.find("AUTOMATIC"), std::string::npos) << plan;
    // "SEARCH <alias> USING INDEX ix.." in the plan; "<share>"."<table>" AS "<alias>" in the SQL.
    for (size_t at = plan.find("SEARCH "); at != std::string::npos; at = plan.find("SEARCH ", at + 1)) {
      const size_t end = plan.find(' ', at + 7);
      const std::string alias = plan.substr(at + 7, end - at - 7);
      const std::string usingIndex = " USING INDEX ix";
      if (plan.compare(end, usingIndex.size(), usingIndex) != 0) continue;
      const size_t as = plan.find("\" AS \"" + alias + "\"");
      const size_t dot = plan.rfind("\".\"", as);
      const size_t open = plan.rfind('"', dot - 1);
      if (as != std::string::npos && dot != std::string::npos && open != std::string::npos)
        indexedShares.insert(plan.substr(open + 1, dot - open - 1));
    }
  }
  EXPECT_EQ(indexedShares, (std::set<std::string>{"main", "share1"}));
}

TEST(Prefetch, ClosingOrDroppingTheConnectionEndsTheWorkers) {
  const std::vector<std::string> texts = BuildTexts(Day("2024-03-05"));
  {
    TConnection connection;
    EXPECT_THROW((void)connection.Prefetch(texts), EDatabaseError);
    OpenFixture(connection, "sibling.mdb");
    const auto prefetch = connection.Prefetch(texts);
    connection.Close();
    EXPECT_THROW(connection.Execute(texts[0]), EDatabaseError);
    // Reopened on the kept snapshot: whatever the workers finished or not, the rows are right.
    connection.Open();
    ASSERT_TRUE(connection.ReusedSnapshot());
    TConnection sequential;
    OpenFixture(sequential, "sibling.mdb");
    for (const std::string& sql : texts) EXPECT_EQ(Outcome(connection, sql), Outcome(sequential, sql)) << sql;
    const auto again = connection.Prefetch(texts);  // everything is known already
  }
  // Dropped while the workers run: they end with it.
  const size_t threads = ThreadCount();
  {
    TConnection dropped;
    OpenFixture(dropped, "sibling.mdb");
    const auto prefetch = dropped.Prefetch(texts);
    EXPECT_TRUE(dropped.Prefetching());
    EXPECT_GT(ThreadCount(), threads);
  }
  EXPECT_EQ(ThreadCount(), threads);
}

TEST(Prefetch, ABuildThatEndsOrIsAbandonedEndsItsPrefetch) {
  // A build that fails part-way asks for no more rows: its workers must not run on until the
  // next refresh, nor keep the rows of texts it never asked for out of the cache's reach.
  const std::vector<std::string> texts = BuildTexts(Day("2024-03-05"));
  const size_t threads = ThreadCount();
  TConnection connection;
  OpenFixture(connection, "sibling.mdb");
  try {
    const auto prefetch = connection.Prefetch(texts);
    EXPECT_TRUE(connection.Prefetching());
    (void)connection.Execute(texts[0]);
    throw EDatabaseError("the build failed");
  } catch (const EDatabaseError&) {
  }
  EXPECT_FALSE(connection.Prefetching());
  EXPECT_EQ(ThreadCount(), threads);
  // The rows finished meanwhile were kept, and every text still gives its rows.
  TConnection sequential;
  OpenFixture(sequential, "sibling.mdb");
  for (const std::string& sql : texts) EXPECT_EQ(Outcome(connection, sql), Outcome(sequential, sql)) << sql;
}

TEST(Prefetch, AnUnchangedFileKeepsOnlyTheResultsARefreshCanReuse) {
  // An always-on window over a file that does not change: every day's refresh sends new texts.
  std::ifstream in(kMdbDir + "sibling.mdb", std::ios::binary);
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TJetDatabase database(TByteBuffer(image.data(), image.size()), 0, "sibling.mdb");
  size_t mostOfOneDay = 0, most = 0;
  for (const char* day : kFixtureDays) {
    const std::vector<std::string> texts = BuildTexts(Day(day));
    for (int refresh = 0; refresh < 2; ++refresh) {
      database.Prefetch(texts);
      for (const std::string& sql : texts) {
        try {
          (void)database.Execute(sql);
        } catch (const EDatabaseError&) {
        }
      }
      database.SettlePrefetch(false);
      most = std::max(most, database.CachedResults());
    }
    mostOfOneDay = std::max(mostOfOneDay, texts.size());
  }
  // The day's texts, and the day before's until its next refresh.
  EXPECT_LE(most, 2 * mostOfOneDay);
}

TEST(Prefetch, OpeningAnotherFileWhileWorkersRunDoesNotHang) {
  // The import forks; a child must not inherit a lock a worker holds inside SQLite.
  const std::vector<std::string> texts = BuildTexts(Day("2024-03-05"));
  TConnection busy;
  OpenFixture(busy, "sibling.mdb");
  for (int round = 0; round < 4; ++round) {
    busy.Close();
    busy.Open();
    // The reused snapshot knows the rows: a fresh one runs them.
    TConnection fresh;
    OpenFixture(fresh, "sibling.mdb");
    const auto prefetch = fresh.Prefetch(texts);
    TConnection other;
    EXPECT_NO_THROW(OpenFixture(other, "types.mdb"));
    EXPECT_EQ(Column(other, "select ID from AllTypes where ID=1", "ID"), std::vector<std::string>{"1"});
  }
}

}  // namespace
}  // namespace vandrel
