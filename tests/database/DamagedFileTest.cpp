// Damaged copies of a real database: truncated, pages overwritten, bytes flipped. Opening and
// running every reminder query must either work or raise EDatabaseError; never crash or hang;
// and a table that reads must read whole: never fewer rows without an error.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "app/ReminderQueries.h"
#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "data/MdbFile.h"
#include "platform/core/Exception.h"
#include "tests/database/DatabaseTestUtil.h"

namespace vandrel {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct TOutcome {
  int opened = 0, failedCleanly = 0;
};

// Every table of a file with its rows as text ("" when reading it raised EDatabaseError).
using TTableRows = std::map<std::string, std::string>;

std::vector<std::string> TableNames(const std::string& bytes) {
  TMdbFile file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "original");
  std::vector<std::string> names;
  for (const TJetTable& table : file.Tables()) names.push_back(table.Name);
  return names;
}

// The rows of one table: the row count on the first line, then every value.
std::string Rows(TConnection& c, const std::string& table) {
  try {
    const auto rows = c.Execute("select * from [" + table + "]");
    std::string out = std::to_string(rows->RowCount) + " rows\n";
    for (const TJetValue& v : rows->Cells) out += std::to_string(int(v.Kind)) + "|" + std::to_string(v.Integer) + "|" + std::to_string(v.Real) + "|" + v.Text + "\n";
    return out;
  } catch (const EDatabaseError&) {
    return "";
  }
}

std::string RowCountOf(const std::string& rows) { return rows.substr(0, rows.find('\n')); }

// What a table that still reads must give: its exact rows, or (where damage may have changed
// values, which no Access file can tell) at least all of them.
enum class TExpect { ExactRows, AllRows };

void ExpectWholeTables(TConnection& c, const TTableRows& original, TExpect expect, const std::string& label) {
  for (const auto& [table, rows] : original) {
    const std::string now = Rows(c, table);
    if (now.empty()) continue;
    if (expect == TExpect::ExactRows) {
      EXPECT_EQ(now, rows) << label << ": table " << table;
    } else {
      EXPECT_EQ(RowCountOf(now), RowCountOf(rows)) << label << ": table " << table;
    }
  }
}

// Opens the bytes as a database and runs a day and a month section; EDatabaseError is the only
// acceptable failure (EConvertError too, for a damaged value read as a date).
void Exercise(const std::string& bytes, const std::string& path, TOutcome& outcome, const std::string& label,
              const TTableRows& original, TExpect expect = TExpect::AllRows) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  TConnection c;
  c.SetConnectionString(JetConnectionString(path));
  try {
    c.Open();
    ++outcome.opened;
    ExpectWholeTables(c, original, expect, label);
    const TDateTime day = EncodeDate(2024, 3, 5);
    for (bool dayMode : {true, false}) {
      for (const auto& sql : ReminderQueries::All({"", dayMode ? day : EncodeDate(2024, 3, 1), dayMode}, day)) {
        try {
          TQuery q(c);
          q.SetSQL(sql);
          q.Open();
          for (; !q.Eof(); q.Next())
            for (const char* name : {"EmpName", "HintDate", "Hint", "TheTime", "BeginDate"}) {
              try {
                (void)q.FieldByName(name).AsString();
              } catch (const EDatabaseError&) {
              }
            }
        } catch (const EDatabaseError&) {
        }
      }
    }
  } catch (const EDatabaseError&) {
    ++outcome.failedCleanly;
  } catch (const std::exception& e) {
    ADD_FAILURE() << label << ": unexpected " << typeid(e).name() << ": " << e.what();
  }
}

class DamagedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_original = ReadBytes(kMdbDir + "sibling.mdb");
    ASSERT_EQ(m_original.size() % 4096, 0u);
    m_dir = fs::temp_directory_path() / ("vandrel-damaged-" + std::to_string(::getpid()));
    fs::create_directories(m_dir);
    m_path = (m_dir / "data.mdb").string();
    TConnection c;
    c.SetConnectionString(JetConnectionString(kMdbDir + "sibling.mdb"));
    c.Open();
    for (const std::string& table : TableNames(m_original)) m_tables[table] = Rows(c, table);
    ASSERT_GT(m_tables.size(), 10u);
    // A hang fails the suite instead of stalling it.
    ::alarm(600);
  }
  void TearDown() override {
    ::alarm(0);
    fs::remove_all(m_dir);
  }
  std::string m_original;
  fs::path m_dir;
  std::string m_path;
  TTableRows m_tables;  // of the undamaged file
};

TEST_F(DamagedFile, TruncatedAtManyOffsets) {
  TOutcome outcome;
  const size_t pages = m_original.size() / 4096;
  for (size_t page = 0; page <= pages; page += (page < 8 ? 1 : 7)) {
    for (size_t extra : {size_t(0), size_t(100)}) {
      const size_t size = std::min(m_original.size(), page * 4096 + extra);
      Exercise(m_original.substr(0, size), m_path, outcome, "truncated at " + std::to_string(size), m_tables);
    }
  }
  EXPECT_GT(outcome.failedCleanly, 5);
}

TEST_F(DamagedFile, EveryPageOverwritten) {
  TOutcome outcome;
  const size_t pages = m_original.size() / 4096;
  uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u; };
  // Every page once, with one of three kinds of damage (each file is read in a child process,
  // which makes a case cost a fork).
  for (size_t page = 0; page < pages; ++page) {
    for (int variant = int(page % 3); variant == int(page % 3); ++variant) {
      std::string bytes = m_original;
      const size_t at = page * 4096 + (variant == 0 ? 0 : (next() >> 8) % 4000);
      const size_t length = variant == 2 ? 4096 - at % 4096 : 64;
      for (size_t i = 0; i < length && at + i < bytes.size(); ++i)
        bytes[at + i] = char(variant == 0 ? 0xFF : (next() >> 16) & 0xFF);
      Exercise(bytes, m_path, outcome, "page " + std::to_string(page) + " variant " + std::to_string(variant), m_tables);
    }
  }
  EXPECT_GT(outcome.failedCleanly, 0);
  EXPECT_GT(outcome.opened, 0);
}

TEST_F(DamagedFile, AZeroedPageGivesTheExactRowsOrAnError) {
  // libmdb skips a data page it cannot make sense of, and a row whose offsets are wrong: a
  // category came out short with no word. Every page in turn, of every table, its page map, the
  // catalog and the rest; the zeroed page of a table's data must be reported.
  TOutcome outcome;
  int reported = 0;
  const size_t pages = m_original.size() / 4096;
  for (size_t page = 1; page < pages; ++page) {
    std::string bytes = m_original;
    std::fill(bytes.begin() + std::ptrdiff_t(page * 4096), bytes.begin() + std::ptrdiff_t((page + 1) * 4096), '\0');
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
    TConnection c;
    c.SetConnectionString(JetConnectionString(m_path));
    try {
      c.Open();
    } catch (const EDatabaseError&) {
      ++reported;
      continue;
    }
    ExpectWholeTables(c, m_tables, TExpect::ExactRows, "page " + std::to_string(page));
    for (const auto& [table, rows] : m_tables)
      if (Rows(c, table).empty()) {
        ++reported;
        // The message names the table, as every failing query does.
        try {
          c.Execute("select * from [" + table + "]");
        } catch (const EDatabaseError& e) {
          EXPECT_NE(std::string(e.what()).find("'" + table + "'"), std::string::npos) << e.what();
        }
        break;
      }
  }
  EXPECT_GT(reported, 20);
}

TEST_F(DamagedFile, ARowPointingOutsideItsPageIsReported) {
  // The first data page of TEmp: its first row's offset turned past the end of the page.
  TMdbFile file(reinterpret_cast<const uint8_t*>(m_original.data()), m_original.size(), "original");
  const TJetTable* emp = file.FindTable("TEmp");
  ASSERT_NE(emp, nullptr);
  size_t page = 0;
  for (size_t p = 3; p < m_original.size() / 4096 && page == 0; ++p) {
    uint32_t owner = 0;
    std::memcpy(&owner, m_original.data() + p * 4096 + 4, 4);
    if (m_original[p * 4096] == 1 && owner == emp->DefinitionPage) page = p;
  }
  ASSERT_NE(page, 0u);
  for (uint16_t offset : {uint16_t(0x1FFF), uint16_t(0x0000), uint16_t(0x0002)}) {
    std::string bytes = m_original;
    std::memcpy(bytes.data() + page * 4096 + 14, &offset, 2);
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
    TConnection c;
    c.SetConnectionString(JetConnectionString(m_path));
    c.Open();
    try {
      c.Execute("select * from TEmp");
      ADD_FAILURE() << "offset " << offset << ": no error";
    } catch (const EDatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find("'TEmp'"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("points outside its page"), std::string::npos) << e.what();
    }
  }
}

TEST_F(DamagedFile, RandomByteFlips) {
  TOutcome outcome;
  uint32_t seed = 777;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 80; ++round) {
    std::string bytes = m_original;
    const int flips = 1 + int(next() % 8);
    // Skip the password bytes of the header: those only make the password wrong.
    for (int i = 0; i < flips; ++i) {
      size_t at = (next() >> 4) % bytes.size();
      if (at >= 0x42 && at < 0x6A) at += 0x30;
      bytes[at] = char(bytes[at] ^ (1 << (next() % 8)));
    }
    Exercise(bytes, m_path, outcome, "round " + std::to_string(round), m_tables);
  }
  EXPECT_GT(outcome.opened, 0);
}

}  // namespace
}  // namespace vandrel
