// The database image the writer lays out, read back through SQLite, against what SQLite's own
// INSERTs make of the same rows: every cell with its storage class, the schema, the rowids and
// order, a clean integrity check, also after an index has gone into the room left at the end.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <limits>
#include <set>

#include "DatabaseTestUtil.h"
#include "data/DatabaseError.h"
#include "data/JetImport.h"
#include "data/JetType.h"
#include "data/MdbFile.h"
#include "data/SqlName.h"
#include "data/SqliteImageWriter.h"

namespace vandrel {
namespace {

namespace fs = std::filesystem;

// One value as a query returns it.
struct TCell {
  int Type = SQLITE_NULL;
  int64_t Integer = 0;
  uint64_t RealBits = 0;  // -0.0 and 0.0 are different cells
  std::string Bytes;
  bool operator==(const TCell&) const = default;
};
using TRows = std::vector<std::vector<TCell>>;

void PrintTo(const TCell& cell, std::ostream* out) {
  double real;
  std::memcpy(&real, &cell.RealBits, 8);
  switch (cell.Type) {
    case SQLITE_INTEGER: *out << "integer " << cell.Integer; break;
    case SQLITE_FLOAT: *out << "real " << std::setprecision(17) << real; break;
    case SQLITE_TEXT: *out << "text '" << cell.Bytes.substr(0, 40) << "' (" << cell.Bytes.size() << ")"; break;
    case SQLITE_BLOB: *out << "blob of " << cell.Bytes.size(); break;
    default: *out << "null"; break;
  }
}

class TSqlite {
 public:
  // An empty database with pages of `pageSize` bytes.
  explicit TSqlite(uint32_t pageSize) {
    Open();
    // A journal, so that ROLLBACK TO works (with journal_mode=OFF it leaves the rows in).
    Exec("PRAGMA page_size=" + std::to_string(pageSize) + "; PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF;");
  }
  // The image as the program loads it: a fixed buffer with room to spare for indexes.
  explicit TSqlite(const std::vector<uint8_t>& image) {
    Open();
    const size_t capacity = image.size() + image.size() / 2 + (1u << 20);
    auto* data = static_cast<unsigned char*>(sqlite3_malloc64(capacity));
    std::memcpy(data, image.data(), image.size());
    EXPECT_EQ(sqlite3_deserialize(m_db, "main", data, sqlite3_int64(image.size()), sqlite3_int64(capacity),
                                  SQLITE_DESERIALIZE_FREEONCLOSE),
              SQLITE_OK);
    Exec("PRAGMA journal_mode=MEMORY");
  }
  ~TSqlite() { sqlite3_close(m_db); }
  TSqlite(const TSqlite&) = delete;
  TSqlite& operator=(const TSqlite&) = delete;

  sqlite3* Get() const { return m_db; }

  // Empty when it worked, else SQLite's message.
  std::string TryExec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return {};
    std::string message = error ? error : "error";
    sqlite3_free(error);
    return message;
  }
  void Exec(const std::string& sql) { ASSERT_EQ(TryExec(sql), "") << sql; }

  TRows Rows(const std::string& sql) {
    TRows rows;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sql << ": " << sqlite3_errmsg(m_db);
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
      auto& row = rows.emplace_back();
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        TCell cell;
        cell.Type = sqlite3_column_type(stmt, c);
        if (cell.Type == SQLITE_INTEGER) cell.Integer = sqlite3_column_int64(stmt, c);
        if (cell.Type == SQLITE_FLOAT) {
          const double v = sqlite3_column_double(stmt, c);
          std::memcpy(&cell.RealBits, &v, 8);
        }
        if (cell.Type == SQLITE_TEXT || cell.Type == SQLITE_BLOB) {
          const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, c));
          cell.Bytes.assign(p ? p : "", size_t(sqlite3_column_bytes(stmt, c)));
        }
        row.push_back(std::move(cell));
      }
    }
    sqlite3_finalize(stmt);
    return rows;
  }

  std::string IntegrityCheck() {
    std::string out;
    for (const auto& row : Rows("PRAGMA integrity_check")) out += row[0].Bytes + "\n";
    return out;
  }

 private:
  void Open() {
    ASSERT_EQ(sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr),
              SQLITE_OK);
  }
  sqlite3* m_db = nullptr;
};

// What SQLite makes of the rows: one INSERT a row, every value bound as it came.
class TInsertReference : public TJetRowSink {
 public:
  TInsertReference(TSqlite& db, const std::string& table, size_t columns) : m_db(db) {
    std::string sql = "INSERT INTO main." + QuoteName(table) + " VALUES (?";
    for (size_t i = 1; i < columns; ++i) sql += ", ?";
    EXPECT_EQ(sqlite3_prepare_v2(db.Get(), (sql + ")").c_str(), -1, &m_stmt, nullptr), SQLITE_OK);
  }
  ~TInsertReference() override { sqlite3_finalize(m_stmt); }
  void Null(size_t c) override { sqlite3_bind_null(m_stmt, int(c) + 1); }
  void Integer(size_t c, int64_t v) override { sqlite3_bind_int64(m_stmt, int(c) + 1, v); }
  void Real(size_t c, double v) override { sqlite3_bind_double(m_stmt, int(c) + 1, v); }
  void Text(size_t c, std::string_view v) override {
    sqlite3_bind_text(m_stmt, int(c) + 1, v.data() ? v.data() : "", int(v.size()), SQLITE_TRANSIENT);
  }
  void Blob(size_t c, const uint8_t* p, size_t n) override {
    sqlite3_bind_blob(m_stmt, int(c) + 1, p ? static_cast<const void*>(p) : "", int(n), SQLITE_TRANSIENT);
  }
  void EndRow() override {
    ASSERT_EQ(sqlite3_step(m_stmt), SQLITE_DONE) << sqlite3_errmsg(m_db.Get());
    sqlite3_reset(m_stmt);
  }

 private:
  TSqlite& m_db;
  sqlite3_stmt* m_stmt = nullptr;
};

// Everything a query can see of `a` and `b`, compared; the image `a` passes the integrity check
// before and after an index on every table.
void ExpectSameDatabase(TSqlite& a, TSqlite& b) {
  const auto schema = a.Rows("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid");
  ASSERT_EQ(schema, b.Rows("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid"));
  EXPECT_EQ(a.IntegrityCheck(), "ok\n");
  for (const auto& table : schema) {
    const std::string name = QuoteName(table[1].Bytes);
    SCOPED_TRACE(name);
    // Scan order without ORDER BY: the order the rows were given.
    const auto rows = a.Rows("SELECT rowid, * FROM " + name), expected = b.Rows("SELECT rowid, * FROM " + name);
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(rows[r], expected[r]) << "row " << r;
    EXPECT_EQ(a.Rows("SELECT coalesce(max(rowid), 0) = count(*) FROM " + name)[0][0].Integer, 1);
  }
  size_t n = 0;
  // A few: each index takes a page at least, and the room is half the image.
  for (const auto& table : schema) {
    if (n == 8) break;
    const auto columns = a.Rows("SELECT name FROM pragma_table_info(" + QuoteName(table[1].Bytes) + ")");
    a.Exec("CREATE INDEX " + QuoteName("ix" + std::to_string(++n)) + " ON " + QuoteName(table[1].Bytes) + " (" +
           QuoteName(columns.front()[0].Bytes) + ")");
  }
  EXPECT_EQ(a.IntegrityCheck(), "ok\n");
}

// The old way in: SQLite's INSERTs under a savepoint a table, a failing table rolled back and listed.
void ReferenceImport(TSqlite& db, const std::vector<uint8_t>& bytes, const std::string& name) {
  TMdbFile file(bytes.data(), bytes.size(), name);
  db.Exec("CREATE TABLE main." + QuoteName(kImportFailuresTable) + " (name TEXT, message TEXT)");
  for (const TJetTable& table : file.Tables()) {
    const auto columns = file.Columns(table);
    std::string create = "CREATE TABLE main." + QuoteName(table.Name) + " (";
    for (size_t i = 0; i < columns.size(); ++i)
      create += (i ? ", " : "") + QuoteName(columns[i].Name) + " " + std::string(JetDeclaredType(columns[i].Type)) +
                (IsJetText(columns[i].Type) ? " COLLATE NOCASE" : "");
    db.Exec("SAVEPOINT t");
    std::string error = db.TryExec(create + ")");
    if (error.empty()) {
      try {
        TInsertReference sink(db, table.Name, columns.size());
        file.ReadRows(table, sink);
      } catch (const EDatabaseError& e) {
        error = e.what();
      }
    }
    db.Exec(error.empty() ? "RELEASE t" : "ROLLBACK TO t; RELEASE t");
    if (!error.empty()) ADD_FAILURE() << "the fixtures read without failures: " << error;
  }
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(SqliteImageWriter, FixtureDatabasesReadBackAsSqliteInsertedThem) {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(kMdbDir))
    if (entry.path().extension() == ".mdb") files.push_back(entry.path().string());
  files.push_back(VANDREL_SOURCE_DIR "/../shared/fixtures/demo.mdb");
  ASSERT_GE(files.size(), 5u);
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    const std::vector<uint8_t> bytes = ReadFile(path);
    ASSERT_FALSE(bytes.empty());
    TSqlite reference(TSqliteImageWriter::kDefaultPageSize);
    ReferenceImport(reference, bytes, path);
    TSqlite image(ImportTables(bytes.data(), bytes.size(), path));
    EXPECT_EQ(image.Rows("PRAGMA page_size")[0][0].Integer, 16384);
    EXPECT_EQ(image.Rows("PRAGMA encoding")[0][0].Bytes, "UTF-8");
    ExpectSameDatabase(image, reference);
  }
}

// A value as a sink receives it.
struct TValue {
  enum TKind { vkNull, vkInteger, vkReal, vkText, vkBlob } Kind = vkNull;
  int64_t Integer = 0;
  double Real = 0;
  std::string Bytes;
};
TValue Int(int64_t v) { return {TValue::vkInteger, v, 0, {}}; }
TValue Dbl(double v) { return {TValue::vkReal, 0, v, {}}; }
TValue Txt(std::string v) { return {TValue::vkText, 0, 0, std::move(v)}; }
TValue Bin(std::string v) { return {TValue::vkBlob, 0, 0, std::move(v)}; }

void Give(TJetRowSink& sink, const std::vector<TValue>& row) {
  for (size_t c = 0; c < row.size(); ++c) {
    const TValue& v = row[c];
    switch (v.Kind) {
      case TValue::vkNull: sink.Null(c); break;
      case TValue::vkInteger: sink.Integer(c, v.Integer); break;
      case TValue::vkReal: sink.Real(c, v.Real); break;
      case TValue::vkText: sink.Text(c, v.Bytes); break;
      case TValue::vkBlob: sink.Blob(c, reinterpret_cast<const uint8_t*>(v.Bytes.data()), v.Bytes.size()); break;
    }
  }
  sink.EndRow();
}

struct TTableCase {
  std::string Name;
  std::vector<TSqliteColumn> Columns;
  std::vector<std::vector<TValue>> Rows;
  bool FailsAfterRows = false;  // given its rows, then dropped as a table that broke part-way
};

std::string CreateSql(const TTableCase& table) {
  std::string sql = QuoteName(table.Name) + " (";
  for (size_t i = 0; i < table.Columns.size(); ++i)
    sql += (i ? ", " : "") + QuoteName(table.Columns[i].Name) + " " + table.Columns[i].DeclaredType;
  return sql + ")";
}

// The tables through the writer and through SQLite's INSERTs, compared.
std::vector<uint8_t> ExpectSameAsInserts(const std::vector<TTableCase>& tables, uint32_t pageSize = 16384) {
  TSqlite reference(pageSize);
  TSqliteImageWriter writer(pageSize);
  for (const TTableCase& table : tables) {
    reference.Exec("SAVEPOINT t; CREATE TABLE main." + CreateSql(table));
    {
      TInsertReference sink(reference, table.Name, table.Columns.size());
      for (const auto& row : table.Rows) Give(sink, row);
    }
    reference.Exec(table.FailsAfterRows ? "ROLLBACK TO t; RELEASE t" : "RELEASE t");
    writer.BeginRows(writer.CreateTable(table.Name, table.Columns, "CREATE TABLE " + CreateSql(table)));
    for (const auto& row : table.Rows) Give(writer, row);
    if (table.FailsAfterRows) writer.DropLastTable();
    else writer.EndRows();
  }
  std::vector<uint8_t> image = writer.Finish();
  TSqlite db(image);
  ExpectSameDatabase(db, reference);
  return image;
}

// Every kind of value into every affinity: what SQLite's affinity makes of it, including the
// whole-number reals a REAL column keeps as integers on disk.
TEST(SqliteImageWriter, ValuesTakeTheStorageClassOfTheColumnAffinity) {
  const int64_t big = std::numeric_limits<int64_t>::max(), small = std::numeric_limits<int64_t>::min();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<TValue> values = {
      {}, Int(0), Int(1), Int(-1), Int(2), Int(127), Int(128), Int(-128), Int(-129), Int(32767), Int(32768),
      Int(-32769), Int(8388607), Int(8388608), Int(2147483647), Int(2147483648LL), Int(-2147483649LL),
      Int(140737488355327LL), Int(140737488355328LL), Int(-140737488355329LL), Int(big), Int(small),
      Dbl(0.0), Dbl(-0.0), Dbl(1.0), Dbl(-1.0), Dbl(1.5), Dbl(0.1), Dbl(45000.75), Dbl(2.0e15), Dbl(1e20),
      Dbl(-3e15), Dbl(9007199254740992.0), Dbl(140737488355328.0), Dbl(9.2233720368547758e18),
      Dbl(-9.2233720368547758e18), Dbl(1e300), Dbl(inf), Dbl(-inf), Dbl(std::nan("")), Dbl(123456789.123456789),
      Txt(""), Txt("12"), Txt(" 12 "), Txt("+7"), Txt("-0"), Txt("007"), Txt("1.5"), Txt("1e3"), Txt("3.0e+5"),
      Txt(".5"), Txt("5."), Txt("-.25e-2"), Txt("1e"), Txt("1.5e+"), Txt("."), Txt("-"), Txt("abc"), Txt("12abc"),
      Txt("0x10"), Txt("\t42\n"), Txt("9223372036854775807"), Txt("9223372036854775808"),
      Txt("-9223372036854775808"), Txt("-9223372036854775809"), Txt("123456789012345678901234567890"),
      Txt("1e400"), Txt("2.5E-3"), Txt(std::string("1\0" "2", 3)), Txt("Grüße"),
      Bin(""), Bin(std::string("\0\1", 2)), Bin("12")};
  TTableCase table{"affinities",
                   {{"i", "JETLONG_INT"}, {"r", "JETDOUBLE_REAL"}, {"t", "JETTEXT"}, {"b", "JETBINARY_BLOB"},
                    {"n", "DECIMAL"}, {"u", ""}},
                   {}};
  for (const TValue& v : values) table.Rows.push_back(std::vector<TValue>(table.Columns.size(), v));
  ExpectSameAsInserts({table});
}

// Values on both sides of the largest payload a cell keeps, and of the point where the part kept
// in the cell drops back to the minimum (a page of overflow more); memos over many overflow pages;
// for each page size.
TEST(SqliteImageWriter, LargeValuesGoToOverflowPages) {
  for (uint32_t pageSize : {512u, 4096u, 16384u, 65536u}) {
    SCOPED_TRACE(pageSize);
    const size_t maxLocal = pageSize - 35;
    TTableCase memos{"memos", {{"id", "JETLONG_INT"}, {"memo", "JETMEMO_TEXT"}}, {}};
    TTableCase blobs{"blobs", {{"id", "JETLONG_INT"}, {"data", "JETBINARY_BLOB"}}, {}};
    std::vector<size_t> sizes;
    for (size_t around : {maxLocal, size_t(pageSize - 4 + maxLocal), size_t(3 * (pageSize - 4))})
      for (size_t n = around - 8; n <= around + 8; ++n) sizes.push_back(n);
    sizes.push_back(300000);
    int64_t id = 0;
    for (size_t n : sizes) {
      std::string text(n, 'x');
      for (size_t i = 0; i < n; i += 7) text[i] = char('a' + (i / 7) % 26);
      memos.Rows.push_back({Int(++id), Txt(text)});
      blobs.Rows.push_back({Int(id), Bin(text)});
    }
    ExpectSameAsInserts({memos, blobs}, pageSize);
  }
}

int BTreeDepth(const std::vector<uint8_t>& image, uint32_t pageSize, uint32_t root) {
  int depth = 1;
  for (uint32_t page = root;; ++depth) {
    const uint8_t* p = image.data() + size_t(page - 1) * pageSize + (page == 1 ? 100 : 0);
    if (p[0] != 0x05) return depth;
    // The leftmost child: the first cell's pointer.
    const size_t cell = size_t(p[12]) << 8 | p[13];
    const uint8_t* c = image.data() + size_t(page - 1) * pageSize + cell;
    page = uint32_t(c[0]) << 24 | uint32_t(c[1]) << 16 | uint32_t(c[2]) << 8 | c[3];
  }
}

TEST(SqliteImageWriter, LargeTablesGetInteriorLevels) {
  struct TCase {
    uint32_t PageSize;
    size_t Rows;
    size_t Bytes;  // of each row's blob
  } cases[] = {{512, 5000, 3}, {16384, 2100, 8200}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.PageSize);
    TTableCase table{"big", {{"id", "JETLONG_INT"}, {"name", "JETTEXT"}, {"data", "JETBINARY_BLOB"}}, {}};
    for (size_t i = 0; i < c.Rows; ++i)
      table.Rows.push_back({Int(int64_t(i * 7919 % 100003)), Txt("row " + std::to_string(i)), Bin(std::string(c.Bytes, char(i)))});
    const auto image = ExpectSameAsInserts({table, {"after", {{"x", "JETLONG_INT"}}, {{Int(5)}}}}, c.PageSize);
    TSqlite db(image);
    const auto root = db.Rows("SELECT rootpage FROM sqlite_master WHERE name = 'big'");
    EXPECT_GE(BTreeDepth(image, c.PageSize, uint32_t(root[0][0].Integer)), 3);
    EXPECT_EQ(db.Rows("SELECT name FROM big WHERE rowid = 1234")[0][0].Bytes, "row 1233");
  }
}

// Empty tables, a table that broke part-way (after leaves and overflow pages were written), and
// a schema too large for page 1 alone.
TEST(SqliteImageWriter, EmptyAndAbandonedTablesAndLargeSchemas) {
  const std::vector<TSqliteColumn> one = {{"x", "JETLONG_INT"}};
  std::vector<TTableCase> tables = {{"empty", one, {}}, {"broken", {{"m", "JETMEMO_TEXT"}}, {}, true}};
  for (int i = 0; i < 40; ++i) tables[1].Rows.push_back({Txt(std::string(size_t(i) * 1000, 'm'))});
  tables.push_back({"kept", one, {{Int(1)}, {Int(2)}}});
  tables.push_back({"broken before its rows", one, {}, true});
  ExpectSameAsInserts(tables);

  std::vector<TTableCase> many;
  std::vector<TSqliteColumn> wide;
  for (int i = 0; i < 255; ++i) wide.push_back({"a column with a name as long as Jet allows, number " + std::to_string(i), "JETCURRENCY_REAL"});
  many.push_back({"wide", wide, {std::vector<TValue>(255, Dbl(1.25))}});
  for (int i = 0; i < 300; ++i) many.push_back({"table " + std::to_string(i), one, {{Int(i)}}});
  ExpectSameAsInserts(many);
  ExpectSameAsInserts(many, 512);
  // One schema row growing past what page 1 holds next to the file header (it goes to a page of
  // its own under an interior page 1), then past what any page holds (overflow).
  std::set<uint8_t> pageOneKinds;
  for (size_t length = 16100; length < 16500; length += 8) {
    const TTableCase filler{"filler", {{std::string(length, 'y'), "JETLONG_INT"}}, {}};
    pageOneKinds.insert(ExpectSameAsInserts({filler})[100]);
  }
  EXPECT_EQ(pageOneKinds, (std::set<uint8_t>{0x05, 0x0D}));
}

// Where SQLite refuses a CREATE TABLE, the writer refuses it with SQLite's message.
TEST(SqliteImageWriter, RefusesTheTablesSqliteRefuses) {
  struct TCase {
    std::string First, Second;
    std::vector<TSqliteColumn> Columns;
  } cases[] = {
      {"Orders", "oRDERS", {{"x", "INT"}}},
      {"Ä", "ä", {{"x", "INT"}}},  // SQLite folds ASCII letters only
      {"a", "sqlite_stat", {{"x", "INT"}}},
      {"a", "SQLite_x", {{"x", "INT"}}},
      {"a", "b", {{"Name", "INT"}, {"nAME", "TEXT"}}},
      {"a", "b", {}},
      {"a", "with \"quotes\"", {{"x", "INT"}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Second);
    TSqlite db(4096);
    TSqliteImageWriter writer;
    const TTableCase first{c.First, {{"x", "INT"}}, {}}, second{c.Second, c.Columns, {}};
    db.Exec("CREATE TABLE main." + CreateSql(first));
    writer.CreateTable(first.Name, first.Columns, "CREATE TABLE " + CreateSql(first));
    const std::string expected = db.TryExec("CREATE TABLE main." + CreateSql(second));
    std::string got;
    try {
      writer.CreateTable(second.Name, second.Columns, "CREATE TABLE " + CreateSql(second));
    } catch (const EDatabaseError& e) {
      got = e.what();
    }
    EXPECT_EQ(got, expected);
  }
}

}  // namespace
}  // namespace vandrel
