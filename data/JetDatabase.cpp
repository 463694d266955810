#include "data/JetDatabase.h"

#include <sqlite3.h>

#include "data/DatabaseError.h"
#include "data/JetFunctions.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

std::string QuoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += "\"\"";
    else out.push_back(c);
  }
  return out + "\"";
}

class TStatement {
 public:
  TStatement(sqlite3* db, const std::string& sql, const std::string& context) {
    if (sqlite3_prepare_v2(db, sql.c_str(), int(sql.size()), &m_stmt, nullptr) != SQLITE_OK)
      throw EDatabaseError(std::string(sqlite3_errmsg(db)) + " in query: " + context);
  }
  ~TStatement() { sqlite3_finalize(m_stmt); }
  TStatement(const TStatement&) = delete;
  TStatement& operator=(const TStatement&) = delete;
  sqlite3_stmt* Get() const { return m_stmt; }

 private:
  sqlite3_stmt* m_stmt = nullptr;
};

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "SQLite error";
    sqlite3_free(error);
    throw EDatabaseError(message + " in: " + sql);
  }
}

class TInsertSink : public TJetRowSink {
 public:
  TInsertSink(sqlite3* db, sqlite3_stmt* stmt) : m_db(db), m_stmt(stmt) {}
  void Null(size_t c) override { sqlite3_bind_null(m_stmt, int(c) + 1); }
  void Integer(size_t c, int64_t v) override { sqlite3_bind_int64(m_stmt, int(c) + 1, v); }
  void Real(size_t c, double v) override { sqlite3_bind_double(m_stmt, int(c) + 1, v); }
  void Text(size_t c, std::string_view s) override {
    sqlite3_bind_text(m_stmt, int(c) + 1, s.data(), int(s.size()), SQLITE_TRANSIENT);
  }
  void Blob(size_t c, const uint8_t* p, size_t n) override {
    sqlite3_bind_blob(m_stmt, int(c) + 1, n ? p : reinterpret_cast<const uint8_t*>(""), int(n),
                      SQLITE_TRANSIENT);
  }
  void EndRow() override {
    if (sqlite3_step(m_stmt) != SQLITE_DONE)
      throw EDatabaseError(std::string("import failed: ") + sqlite3_errmsg(m_db));
    sqlite3_reset(m_stmt);
  }

 private:
  sqlite3* m_db;
  sqlite3_stmt* m_stmt;
};

}  // namespace

TJetDatabase::TJetDatabase(std::vector<uint8_t> image, uint64_t contentHash, std::string fileName)
    : m_image(std::move(image)), m_hash(contentHash), m_fileName(std::move(fileName)) {
  m_file = std::make_unique<TMdbFile>(m_image.data(), m_image.size(), m_fileName);
  if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    sqlite3_close(m_db);
    throw EDatabaseError("cannot create the in-memory database");
  }
  Exec(m_db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA temp_store=MEMORY;");
  RegisterJetFunctions(m_db);
}

TJetDatabase::~TJetDatabase() { sqlite3_close(m_db); }

const TSqlTableSchema& TJetDatabase::Table(std::string_view name) {
  const std::string key = LowerCase(name);
  if (auto it = m_tables.find(key); it != m_tables.end()) return it->second;
  const TJetTable* table = m_file->FindTable(name);
  if (!table)
    throw EDatabaseError("The database engine cannot find the input table or query '" +
                         std::string(name) + "' in '" + m_fileName + "'.");
  TSqlTableSchema schema;
  schema.Name = table->Name;
  schema.Columns = m_file->Columns(*table);
  Import(*table, schema);
  return m_tables.emplace(key, std::move(schema)).first->second;
}

void TJetDatabase::Import(const TJetTable& table, TSqlTableSchema& schema) {
  std::string create = "CREATE TABLE main." + QuoteName(schema.Name) + " (";
  std::string insert = "INSERT INTO main." + QuoteName(schema.Name) + " VALUES (";
  for (size_t i = 0; i < schema.Columns.size(); ++i) {
    const auto& col = schema.Columns[i];
    create += (i ? ", " : "") + QuoteName(col.Name) + " " + std::string(JetDeclaredType(col.Type));
    // Jet compares text without regard to case.
    if (IsJetText(col.Type)) create += " COLLATE NOCASE";
    insert += i ? ", ?" : "?";
  }
  Exec(m_db, create + ")");
  Exec(m_db, "BEGIN");
  try {
    TStatement stmt(m_db, insert + ")", schema.Name);
    TInsertSink sink(m_db, stmt.Get());
    m_file->ReadRows(table, sink);
  } catch (...) {
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_exec(m_db, ("DROP TABLE IF EXISTS main." + QuoteName(schema.Name)).c_str(), nullptr, nullptr, nullptr);
    throw;
  }
  Exec(m_db, "COMMIT");
}

TTranslatedQuery TJetDatabase::Translate(const std::string& jetSql) {
  return TranslateJetSelect(jetSql, [this](std::string_view name) -> const TSqlTableSchema& {
    return Table(name);
  });
}

std::string TJetDatabase::QueryPlan(const std::string& jetSql) {
  const TTranslatedQuery query = Translate(jetSql);
  TStatement stmt(m_db, "EXPLAIN QUERY PLAN " + query.Sql, jetSql);
  std::string plan;
  while (sqlite3_step(stmt.Get()) == SQLITE_ROW)
    plan += std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt.Get(), 3))) + "\n";
  return query.Sql + "\n" + plan;
}

std::shared_ptr<const TResultSet> TJetDatabase::Execute(const std::string& jetSql) {
  if (auto it = m_results.find(jetSql); it != m_results.end()) return it->second;
  const TTranslatedQuery query = Translate(jetSql);
  // The same joins repeat in every section; one index beats SQLite building an automatic one
  // for each statement.
  for (const auto& [table, column] : query.JoinColumns) {
    const std::string key = LowerCase(table) + "." + LowerCase(column);
    if (!m_indexes.insert(key).second) continue;
    Exec(m_db, "CREATE INDEX main." + QuoteName("ix" + std::to_string(m_indexes.size())) + " ON " +
                   QuoteName(table) + " (" + QuoteName(column) + ")");
  }
  TStatement stmt(m_db, query.Sql, jetSql);
  auto result = std::make_shared<TResultSet>();
  result->Columns = query.Columns;
  const int n = int(query.Columns.size());
  for (;;) {
    const int rc = sqlite3_step(stmt.Get());
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW)
      throw EDatabaseError(std::string(sqlite3_errmsg(m_db)) + " in query: " + jetSql);
    for (int c = 0; c < n; ++c) {
      TJetValue v;
      switch (sqlite3_column_type(stmt.Get(), c)) {
        case SQLITE_INTEGER:
          v.Kind = TJetValue::vkInteger;
          v.Integer = sqlite3_column_int64(stmt.Get(), c);
          break;
        case SQLITE_FLOAT:
          v.Kind = TJetValue::vkReal;
          v.Real = sqlite3_column_double(stmt.Get(), c);
          break;
        case SQLITE_TEXT:
          v.Kind = TJetValue::vkText;
          v.Text.assign(reinterpret_cast<const char*>(sqlite3_column_text(stmt.Get(), c)),
                        size_t(sqlite3_column_bytes(stmt.Get(), c)));
          break;
        case SQLITE_BLOB: {
          v.Kind = TJetValue::vkBlob;
          const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt.Get(), c));
          if (p) v.Text.assign(p, size_t(sqlite3_column_bytes(stmt.Get(), c)));
          break;
        }
        default:
          break;
      }
      result->Cells.push_back(std::move(v));
    }
    ++result->RowCount;
  }
  m_results.emplace(jetSql, result);
  return result;
}

}  // namespace vandrel
