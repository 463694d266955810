// Opening files: passwords from the header, files made by Access itself, missing and foreign
// files, read-only use, snapshot reuse by content, and every column type read back as stored.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "data/DatabaseError.h"
#include "data/FileImage.h"
#include "data/JetDatabase.h"
#include "platform/core/DateFormat.h"
#include "platform/core/Text.h"
#include "tests/database/DatabaseTestUtil.h"

namespace vandrel {
namespace {

namespace fs = std::filesystem;

std::string ErrorOf(const std::string& file, const std::string& password) {
  TConnection c;
  c.SetConnectionString(JetConnectionString(file, password));
  try {
    c.Open();
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "";
}

class TempDir {
 public:
  TempDir() {
    m_path = fs::temp_directory_path() / ("vandrel-db-" + std::to_string(::getpid()));
    fs::create_directories(m_path);
  }
  ~TempDir() { fs::remove_all(m_path); }
  std::string File(const std::string& name, const std::string& bytes) const {
    const std::string p = (m_path / name).string();
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Connection, PasswordFromTheHeaderIsChecked) {
  struct Case {
    const char* file;
    const char* password;
    bool opens;
  } cases[] = {
      {"sibling.mdb", "qelvondar", true},
      {"sibling.mdb", "Qelvondar", false},  // compared exactly
      {"sibling.mdb", "", false},
      {"sibling.mdb", "wrongword", false},
      {"wrongpass.mdb", "qelvondar", false},
      {"wrongpass.mdb", "wrongword", true},
      {"nopass.mdb", "qelvondar", true},    // no password: any password opens it
      {"nopass.mdb", "", true},
      {"types.mdb", "anything", true},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf(kMdbDir + c.file, c.password);
    if (c.opens) {
      EXPECT_EQ(error, "") << c.file << " / " << c.password;
    } else {
      EXPECT_NE(error.find("Not a valid password"), std::string::npos) << c.file << " / " << c.password << ": " << error;
      EXPECT_NE(error.find(c.file), std::string::npos) << error;
    }
  }
}

TEST(Connection, NoPassIsReadLikeSibling) {
  TConnection a, b;
  OpenFixture(a, "sibling.mdb");
  OpenFixture(b, "nopass.mdb", "qelvondar");
  const std::string sql = "select Hint from tHint";
  EXPECT_EQ(Column(a, sql, "Hint"), Column(b, sql, "Hint"));
  EXPECT_EQ(Column(a, sql, "Hint").size(), 27u);
}

TEST(Connection, FilesMadeByAccessOpenWithTheirPasswords) {
  if (!fs::exists(kRealDir)) GTEST_SKIP() << "no Access-made files at " << kRealDir;
  struct Case {
    const char* file;
    const char* password;
    const char* sql;
    const char* column;
    std::vector<std::string> values;
  } cases[] = {
      {"V2000_with-password.mdb", "password", "select Data from Table1", "Data", {"One", "Two", "Three"}},
      {"V2003_with-password.mdb", "password", "select Data from Table1", "Data", {"One", "Two", "Three"}},
      {"password-database.mdb", "abcd1234", "select * from Products", "Name", {}},
      {"testUnicodeCompV2003.mdb", "", "select [Unicode] from [Table] where ID in (1,2,3,5,7)", "unicode",
       {"only ascii chars", "ääkkösiä", "Мир", "漢字仮名交じり文", "ümlaut"}},
  };
  for (const auto& c : cases) {
    TConnection conn;
    conn.SetConnectionString(JetConnectionString(kRealDir + c.file, c.password));
    ASSERT_NO_THROW(conn.Open()) << c.file;
    EXPECT_EQ(Column(conn, c.sql, c.column), c.values) << c.file;
    EXPECT_EQ(ErrorOf(kRealDir + c.file, "wrong").empty(), std::string(c.password).empty()) << c.file;
  }
  // Every character U+0001..U+00FF in the compressed form.
  TConnection conn;
  conn.SetConnectionString(JetConnectionString(kRealDir + std::string("testUnicodeCompV2003.mdb"), ""));
  conn.Open();
  const auto all = Column(conn, "select [Unicode] from [Table] where ID=8", "Unicode");
  ASSERT_EQ(all.size(), 1u);
  const std::u16string wide = Utf8ToUtf16(all[0]);
  ASSERT_EQ(wide.size(), 255u);
  for (size_t i = 0; i < wide.size(); ++i) EXPECT_EQ(int(wide[i]), int(i + 1));
}

TEST(Connection, BadFilesGiveAClearErrorNamingTheFile) {
  TempDir dir;
  std::string jetPage0 = ReadBytes(kMdbDir + "nopass.mdb").substr(0, 4096);
  std::string jet3 = ReadBytes(kMdbDir + "nopass.mdb");
  jet3[0x14] = 0;
  struct Case {
    std::string path;
    const char* mentions;
  } cases[] = {
      {(dir.Path() / "missing.mdb").string(), "Could not find file"},
      {dir.File("empty.mdb", ""), "Unrecognized database format"},
      {dir.File("text.mdb", std::string(8192, 'x')), "Unrecognized database format"},
      {dir.File("onepage.mdb", jetPage0), "damaged (it has 1 page"},
      {dir.File("twopages.mdb", jetPage0 + std::string(4096, '\0')), "damaged (it has 2 pages"},
      {dir.File("odd.mdb", jetPage0 + std::string(5000, '\0')), "not a whole number of pages"},
      {dir.File("jet3.mdb", jet3), "only Access 2000-2003"},
      {dir.Path().string(), "not a regular file"},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf(c.path, "qelvondar");
    EXPECT_NE(error.find(c.mentions), std::string::npos) << c.path << ": " << error;
    EXPECT_NE(error.find(c.path), std::string::npos) << error;
  }
  TConnection none;
  EXPECT_THROW(none.Open(), EDatabaseError);
  none.SetConnectionString("Provider=SQLOLEDB;Data Source=" + kMdbDir + "sibling.mdb");
  EXPECT_THROW(none.Open(), EDatabaseError);
}

TEST(Connection, AFileWrittenWhileItIsReadIsReadAgainThenReportedBusy) {
  // The sibling application writes data.mdb while a refresh copies it: a copy that saw the file
  // change would mix two states of it.
  const std::string original = ReadBytes(kMdbDir + "sibling.mdb");
  enum TChange { Append, Touch, Header };
  struct Case {
    TChange change;
    int changingReads;  // the first reads during which the file changes
    bool busy;
  } cases[] = {
      {Append, 1, false}, {Touch, 3, false}, {Header, 2, false}, {Append, 4, true}, {Touch, 4, true}, {Header, 9, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "change " << int(c.change) << ", " << c.changingReads << " reads");
    TempDir dir;
    const std::string path = dir.File("data.mdb", original);
    int reads = 0;
    auto change = [&] {
      if (++reads > c.changingReads) return;
      const int fd = ::open(path.c_str(), O_WRONLY);
      ASSERT_GE(fd, 0);
      struct stat st {};
      ::fstat(fd, &st);
      if (c.change == Append) {
        const std::string page(4096, '\0');
        ASSERT_EQ(::pwrite(fd, page.data(), page.size(), st.st_size), ssize_t(page.size()));
      } else if (c.change == Header) {
        // Same size and modification time: only the header page tells.
        const char byte = char(reads);
        ASSERT_EQ(::pwrite(fd, &byte, 1, 0x700), 1);
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(fd, times);
      } else {
        const timespec times[2] = {st.st_atim, {st.st_mtim.tv_sec + reads, 0}};
        ::futimens(fd, times);
      }
      ::close(fd);
    };
    if (c.busy) {
      try {
        ReadFileImage(path, change);
        ADD_FAILURE() << "no error";
      } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("busy"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
      }
      EXPECT_EQ(reads, 4);
    } else {
      const TFileImage image = ReadFileImage(path, change);
      EXPECT_EQ(reads, c.changingReads + 1);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.Bytes.Data()), image.Bytes.Size()), ReadBytes(path));
    }
  }
}

TEST(Connection, OpensReadOnlyAndLeavesNoLockFile) {
  TempDir dir;
  const std::string path = dir.File("copy.mdb", ReadBytes(kMdbDir + "sibling.mdb"));
  ::chmod(path.c_str(), 0444);
  struct stat before {};
  ::stat(path.c_str(), &before);
  {
    TConnection c;
    c.SetConnectionString(JetConnectionString(path));
    c.Open();
    EXPECT_EQ(Column(c, "select * from TEmp", "EmpID").size(), 13u);
    c.Close();
  }
  struct stat after {};
  ::stat(path.c_str(), &after);
  EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
  EXPECT_EQ(ReadBytes(path), ReadBytes(kMdbDir + "sibling.mdb"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(Connection, ReopeningReusesTheSnapshotOnlyForTheSameContent) {
  TempDir dir;
  std::string bytes = ReadBytes(kMdbDir + "sibling.mdb");
  const std::string path = dir.File("data.mdb", bytes);
  TConnection c;
  c.SetConnectionString(JetConnectionString(path));
  c.Open();
  const std::string sql = "select Hint from tHint where ID=1";
  EXPECT_EQ(Column(c, sql, "Hint"), std::vector<std::string>{"给客户回电话"});
  c.Close();
  c.Open();
  EXPECT_TRUE(c.ReusedSnapshot());

  // Same size and the same modification time, one character changed: metadata alone would
  // wrongly call this unchanged.
  struct stat st {};
  ::stat(path.c_str(), &st);
  const std::string was = Utf16ToUtf8(u"给客户回电话");
  std::u16string wide = u"给客户回电话";
  std::string needle(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  const size_t at = bytes.find(needle);
  ASSERT_NE(at, std::string::npos);
  wide[0] = u'打';
  bytes.replace(at, needle.size(), std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
  dir.File("data.mdb", bytes);
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);

  c.Close();
  c.Open();
  EXPECT_FALSE(c.ReusedSnapshot());
  EXPECT_EQ(Column(c, sql, "Hint"), std::vector<std::string>{"打客户回电话"});
}

TEST(Connection, EveryColumnTypeReadsBackAsStored) {
  TConnection c;
  OpenFixture(c, "types.mdb");
  TQuery q(c);
  q.SetSQL("select * from AllTypes order by ID");
  q.Open();
  std::vector<std::map<std::string, std::string>> rows;
  std::vector<bool> dateNull;
  for (; !q.Eof(); q.Next()) {
    std::map<std::string, std::string> row;
    for (const char* name : {"BoolCol", "ByteCol", "IntCol", "LongCol", "CurrencyCol", "SingleCol", "DoubleCol",
                             "DateCol", "TextCol", "ShortText"})
      row[name] = q.FieldByName(name).AsString();
    row["MemoLength"] = std::to_string(Utf8Length(q.FieldByName("MemoCol").AsString()));
    row["MemoStart"] = Utf16ToUtf8(Utf8ToUtf16(q.FieldByName("MemoCol").AsString()).substr(0, 3));
    dateNull.push_back(q.FieldByName("DateCol").IsNull());
    rows.push_back(row);
  }
  ASSERT_EQ(rows.size(), 9u);
  const std::string s255 = rows[2]["TextCol"];
  EXPECT_EQ(Utf8Length(s255), 255u);
  using M = std::map<std::string, std::string>;
  const M expected[] = {
      {{"BoolCol", "False"}, {"ByteCol", ""}, {"IntCol", ""}, {"LongCol", ""}, {"CurrencyCol", ""}, {"SingleCol", ""},
       {"DoubleCol", ""}, {"DateCol", ""}, {"TextCol", ""}, {"ShortText", ""}, {"MemoLength", "0"}, {"MemoStart", ""}},
      {{"BoolCol", "False"}, {"ByteCol", "0"}, {"IntCol", "-32768"}, {"LongCol", "-2147483648"},
       {"CurrencyCol", "-922337203685477.6"}, {"SingleCol", "-3.4028235E+38"}, {"DoubleCol", "-1.7976931348623157E+308"},
       {"DateCol", "0100-1-1"}, {"TextCol", ""}, {"ShortText", ""}, {"MemoLength", "0"}, {"MemoStart", ""}},
      {{"BoolCol", "True"}, {"ByteCol", "255"}, {"IntCol", "32767"}, {"LongCol", "2147483647"},
       {"CurrencyCol", "922337203685477.6"}, {"SingleCol", "3.4028235E+38"}, {"DoubleCol", "1.7976931348623157E+308"},
       {"DateCol", "9999-12-31 23:59:59"}, {"TextCol", s255}, {"ShortText", "一二三四五六七八九十"},
       {"MemoLength", "38493"}, {"MemoStart", "第1段"}},
      {{"BoolCol", "True"}, {"ByteCol", "1"}, {"IntCol", "-1"}, {"LongCol", "-1"}, {"CurrencyCol", "-12.3456"},
       {"SingleCol", "-0.5"}, {"DoubleCol", "-3.141592653589793"}, {"DateCol", "1899-12-29 6:00:00"},
       {"TextCol", "负数和小数"}, {"ShortText", "neg"}, {"MemoLength", "3"}, {"MemoStart", "短备注"}},
      {{"BoolCol", "False"}, {"ByteCol", "127"}, {"IntCol", "1"}, {"LongCol", "1"}, {"CurrencyCol", "0.0001"},
       {"SingleCol", "1.1"}, {"DoubleCol", "0.1"}, {"DateCol", "1899-12-30 14:30:15"}, {"TextCol", "ABC中文123"},
       {"ShortText", "abc"}, {"MemoLength", "2000"}, {"MemoStart", "床前明"}},
      {{"BoolCol", "True"}, {"ByteCol", "200"}, {"IntCol", "12345"}, {"LongCol", "1234567890"},
       {"CurrencyCol", "1234.5"}, {"SingleCol", "3.14159"}, {"DoubleCol", "2.718281828459045"},
       {"DateCol", "1850-6-15"}, {"TextCol", "含\"引号\",逗号\r\n换行\t制表符 𠮷野家"}, {"ShortText", "𠮷"},
       {"MemoLength", "17100"}, {"MemoStart", "Lin"}},
      {{"BoolCol", "False"}, {"ByteCol", "5"}, {"IntCol", "-300"}, {"LongCol", "100000"}, {"CurrencyCol", "0"},
       {"SingleCol", "0"}, {"DoubleCol", "0"}, {"DateCol", "2024-5-12 23:59:59"}, {"TextCol", "王芳"},
       {"ShortText", "李强"}, {"MemoLength", "6"}, {"MemoStart", "给客户"}},
      {{"BoolCol", "True"}, {"ByteCol", ""}, {"IntCol", ""}, {"LongCol", ""}, {"CurrencyCol", ""}, {"SingleCol", ""},
       {"DoubleCol", ""}, {"DateCol", "1899-12-30"}, {"TextCol", "Plain ASCII text"}, {"ShortText", "0123456789"},
       {"MemoLength", "0"}, {"MemoStart", ""}},
      {{"BoolCol", "False"}, {"ByteCol", ""}, {"IntCol", ""}, {"LongCol", ""}, {"CurrencyCol", "99.99"},
       {"SingleCol", ""}, {"DoubleCol", ""}, {"DateCol", "2024-2-29"}, {"TextCol", "  前后有空格  "},
       {"ShortText", ""}, {"MemoLength", "0"}, {"MemoStart", ""}},
  };
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], expected[i]) << "ID " << i + 1;
  EXPECT_TRUE(dateNull[0]);
  EXPECT_FALSE(dateNull[7]);  // the zero date is a value, not NULL
}

TEST(Connection, ComputedTimeColumnsAreTextThatReadsBackAsATime) {
  TConnection c;
  OpenFixture(c, "types.mdb");
  TQuery q(c);
  q.SetSQL("select ID, Iif(DateCol is null ,'00:00:00',DateCol) as HTime from AllTypes where ID in (1, 5, 8)");
  q.Open();
  std::vector<std::pair<std::string, std::string>> got;
  for (; !q.Eof(); q.Next())
    got.emplace_back(q.FieldByName("htime").AsString(), FormatDateTime("tt", q.FieldByName("HTime").AsDateTime()));
  EXPECT_EQ(got, (std::vector<std::pair<std::string, std::string>>{
                     {"00:00:00", "0:00:00"}, {"14:30:15", "14:30:15"}, {"0:00:00", "0:00:00"}}));
}

TEST(Connection, QueryObjectsFollowTheirLifecycle) {
  TConnection c;
  OpenFixture(c, "sibling.mdb");
  TQuery plans(c), details(c);
  plans.SetSQL("select * from Tplan where StatusID=0 order by ID");
  plans.Open();
  size_t planRows = 0, detailRows = 0;
  // A second query runs while the first is walked.
  for (; !plans.Eof(); plans.Next(), ++planRows) {
    details.SetSQL("select * from TPlanDetail where PlanID is null or 1=1");
    EXPECT_THROW(details.Open(), EDatabaseError);  // no such column: the error leaves it closed
    details.SetSQL("select * from TPlanDetail");
    details.Open();
    for (; !details.Eof(); details.Next()) ++detailRows;
    EXPECT_FALSE(plans.FieldByName("beginDATE").IsNull());
  }
  EXPECT_GT(planRows, 3u);
  EXPECT_EQ(detailRows % planRows, 0u);
  EXPECT_THROW(plans.FieldByName("ID").AsString(), EDatabaseError);  // past the end
  EXPECT_THROW(plans.Next(), EDatabaseError);

  plans.SetSQL("select * from tHint where ID=-5");
  EXPECT_FALSE(plans.Active());
  plans.Open();
  EXPECT_TRUE(plans.Eof());
  plans.SetSQL("select * from tHint");
  plans.Open();
  try {
    plans.FieldByName("NoSuchField");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("NoSuchField"), std::string::npos);
  }
  c.Close();
  EXPECT_THROW(plans.Open(), EDatabaseError);
}

}  // namespace
}  // namespace vandrel
