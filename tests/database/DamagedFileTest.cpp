// Damaged copies of a real database: truncated, pages overwritten, bytes flipped. Opening and
// running every reminder query must either work or raise EDatabaseError; never crash or hang.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "app/ReminderQueries.h"
#include "data/DatabaseError.h"
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

// Opens the bytes as a database and runs a day and a month section; EDatabaseError is the only
// acceptable failure (EConvertError too, for a damaged value read as a date).
void Exercise(const std::string& bytes, const std::string& path, TOutcome& outcome, const std::string& label) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  TConnection c;
  c.SetConnectionString(JetConnectionString(path));
  try {
    c.Open();
    ++outcome.opened;
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
};

TEST_F(DamagedFile, TruncatedAtManyOffsets) {
  TOutcome outcome;
  const size_t pages = m_original.size() / 4096;
  for (size_t page = 0; page <= pages; page += (page < 8 ? 1 : 7)) {
    for (size_t extra : {size_t(0), size_t(100)}) {
      const size_t size = std::min(m_original.size(), page * 4096 + extra);
      Exercise(m_original.substr(0, size), m_path, outcome, "truncated at " + std::to_string(size));
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
      Exercise(bytes, m_path, outcome, "page " + std::to_string(page) + " variant " + std::to_string(variant));
    }
  }
  EXPECT_GT(outcome.failedCleanly, 0);
  EXPECT_GT(outcome.opened, 0);
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
    Exercise(bytes, m_path, outcome, "round " + std::to_string(round));
  }
  EXPECT_GT(outcome.opened, 0);
}

}  // namespace
}  // namespace vandrel
