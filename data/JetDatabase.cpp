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
  TImportImage imported = ImportInChildProcess(image, m_fileName);
  image = {};
  if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    sqlite3_free(imported.Data);
    sqlite3_close(m_db);
    throw EDatabaseError("cannot create the in-memory database");
  }
  if (sqlite3_deserialize(m_db, "main", imported.Data, sqlite3_int64(imported.Size), sqlite3_int64(imported.Size),
                          SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) != SQLITE_OK) {
    sqlite3_close(m_db);
    throw EDatabaseError("The database '" + m_fileName + "' could not be loaded.");
  }
  try {
    Exec(m_db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA temp_store=MEMORY;");
    RegisterJetFunctions(m_db);
    LoadSchema();
  } catch (...) {
    sqlite3_close(m_db);
    throw;
  }
}

TJetDatabase::~TJetDatabase() { sqlite3_close(m_db); }

void TJetDatabase::LoadSchema() {
  std::vector<std::string> names;
  {
    TStatement tables(m_db, "SELECT name FROM main.sqlite_master WHERE type='table' ORDER BY rowid", m_fileName);
    while (sqlite3_step(tables.Get()) == SQLITE_ROW)
      names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(tables.Get(), 0)));
  }
  for (const std::string& name : names) {
    if (name == kImportFailuresTable) continue;
    TSqlTableSchema schema;
    schema.Name = name;
    TStatement info(m_db, "PRAGMA main.table_info(" + QuoteName(name) + ")", m_fileName);
    while (sqlite3_step(info.Get()) == SQLITE_ROW) {
      const auto* column = reinterpret_cast<const char*>(sqlite3_column_text(info.Get(), 1));
      const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info.Get(), 2));
      schema.Columns.push_back({column ? column : "", JetTypeFromDeclared(type ? type : "")});
    }
    m_tables.emplace(LowerCase(name), std::move(schema));
  }
  TStatement failures(m_db, "SELECT name, message FROM main." + QuoteName(kImportFailuresTable), m_fileName);
  while (sqlite3_step(failures.Get()) == SQLITE_ROW)
    m_failures.emplace(LowerCase(reinterpret_cast<const char*>(sqlite3_column_text(failures.Get(), 0))),
                       reinterpret_cast<const char*>(sqlite3_column_text(failures.Get(), 1)));
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
