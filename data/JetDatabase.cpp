#include "data/JetDatabase.h"
#include "data/SqlName.h"

#include <sqlite3.h>

#include "data/DatabaseError.h"
#include "data/JetFunctions.h"
#include "data/JetImport.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

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

}  // namespace

TJetDatabase::TJetDatabase(std::vector<uint8_t> image, uint64_t contentHash, std::string fileName)
    : m_size(image.size()), m_hash(contentHash), m_fileName(std::move(fileName)) {
  // Two shares: one for each core the machine usually has; each waits on the other only at the end.
  std::vector<TImportImage> imported = ImportInChildProcesses(image, m_fileName, 2);
  image = {};
  size_t loaded = 0;
  try {
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
      throw EDatabaseError("cannot create the in-memory database");
    for (; loaded < imported.size(); ++loaded) {
      const std::string schema = loaded == 0 ? "main" : "share" + std::to_string(loaded);
      if (loaded > 0) Exec(m_db, "ATTACH DATABASE ':memory:' AS " + QuoteName(schema));
      const TImportImage& part = imported[loaded];
      // Owned by SQLite from here on, even when this fails. A fixed-size buffer lets SQLite read
      // the pages where they are (see mmap_size below) instead of copying each into its cache.
      const int rc = sqlite3_deserialize(m_db, schema.c_str(), part.Data, sqlite3_int64(part.Size),
                                         sqlite3_int64(part.Capacity), SQLITE_DESERIALIZE_FREEONCLOSE);
      if (rc != SQLITE_OK) {
        ++loaded;
        throw EDatabaseError("The database '" + m_fileName + "' could not be loaded.");
      }
      m_schemas.push_back(schema);
    }
    // The journal lets an index that does not fit the buffer fail without leaving half of it.
    Exec(m_db, "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; PRAGMA temp_store=MEMORY; PRAGMA mmap_size=" +
                   std::to_string(int64_t(1) << 40));
    RegisterJetFunctions(m_db);
    LoadSchema();
  } catch (...) {
    for (size_t i = loaded; i < imported.size(); ++i) sqlite3_free(imported[i].Data);
    sqlite3_close(m_db);
    throw;
  }
}

TJetDatabase::~TJetDatabase() { sqlite3_close(m_db); }

void TJetDatabase::LoadSchema() {
  for (const std::string& database : m_schemas) {
    std::vector<std::string> names;
    {
      TStatement tables(m_db, "SELECT name FROM " + QuoteName(database) + ".sqlite_master WHERE type='table' ORDER BY rowid",
                        m_fileName);
      while (sqlite3_step(tables.Get()) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(tables.Get(), 0)));
    }
    for (const std::string& name : names) {
      if (name == kImportFailuresTable) continue;
      TSqlTableSchema schema;
      schema.Database = database;
      schema.Name = name;
      TStatement info(m_db, "PRAGMA " + QuoteName(database) + ".table_info(" + QuoteName(name) + ")", m_fileName);
      while (sqlite3_step(info.Get()) == SQLITE_ROW) {
        const auto* column = reinterpret_cast<const char*>(sqlite3_column_text(info.Get(), 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info.Get(), 2));
        schema.Columns.push_back({column ? column : "", JetTypeFromDeclared(type ? type : "")});
      }
      m_tables.emplace(LowerCase(name), std::move(schema));
    }
    TStatement failures(m_db, "SELECT name, message FROM " + QuoteName(database) + "." + QuoteName(kImportFailuresTable),
                        m_fileName);
    while (sqlite3_step(failures.Get()) == SQLITE_ROW)
      m_failures.emplace(LowerCase(reinterpret_cast<const char*>(sqlite3_column_text(failures.Get(), 0))),
                         reinterpret_cast<const char*>(sqlite3_column_text(failures.Get(), 1)));
  }
}

const TSqlTableSchema& TJetDatabase::Table(std::string_view name) {
  const std::string key = LowerCase(name);
  if (auto it = m_tables.find(key); it != m_tables.end()) return it->second;
  if (auto it = m_failures.find(key); it != m_failures.end()) throw EDatabaseError(it->second);
  throw EDatabaseError("The database engine cannot find the input table or query '" + std::string(name) + "' in '" +
                       m_fileName + "'.");
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
  // An index that cannot be made (its share's buffer is full) only costs speed: SQLite builds a
  // temporary one for the statement.
  for (const auto& [table, column] : query.JoinColumns) {
    const std::string key = LowerCase(table) + "." + LowerCase(column);
    if (!m_indexes.insert(key).second) continue;
    const std::string sql = "CREATE INDEX " + QuoteName(Table(table).Database) + "." +
                            QuoteName("ix" + std::to_string(m_indexes.size())) + " ON " + QuoteName(table) + " (" +
                            QuoteName(column) + ")";
    sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr);
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
