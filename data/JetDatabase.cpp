#include "data/JetDatabase.h"
#include "data/SqlName.h"

#include <sqlite3.h>

#include "data/DatabaseError.h"
#include "data/JetFunctions.h"
#include "data/JetImport.h"
#include "data/QueryPrefetch.h"
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

TJetDatabase::~TJetDatabase() {
  // The workers read the pages this connection owns.
  m_prefetch.reset();
  sqlite3_close(m_db);
}

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

bool TJetDatabase::HasIndexes(const TTranslatedQuery& query) const {
  for (const auto& [table, column] : query.JoinColumns)
    if (!m_indexes.count(LowerCase(table) + "." + LowerCase(column))) return false;
  return true;
}

void TJetDatabase::CreateIndexes(const TTranslatedQuery& query) {
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
}

void TJetDatabase::Prefetch(const std::vector<std::string>& jetSqls) {
  SettlePrefetch(false);
  std::vector<TQueryPrefetch::TJob> jobs;
  for (const std::string& jetSql : jetSqls) {
    if (m_results.count(jetSql)) continue;
    try {
      jobs.push_back({jetSql, Translate(jetSql)});
    } catch (const EDatabaseError&) {
      // Raised by Execute when the text is asked for, not before.
    }
  }
  if (jobs.empty()) return;
  // Every index the jobs use exists before a worker reads a page: the images stay unwritten
  // while the workers run.
  for (const TQueryPrefetch::TJob& job : jobs) CreateIndexes(job.Query);
  std::vector<TQueryPrefetch::TImage> images;
  for (const std::string& schema : m_schemas) {
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(m_db, schema.c_str(), &size, SQLITE_SERIALIZE_NOCOPY);
    if (!data) return;  // not where it can be shared: Execute runs everything as before
    images.push_back({schema, data, size_t(size)});
  }
  // Two: the machine usually has two cores, and the asking thread builds lines meanwhile.
  m_prefetch = std::make_unique<TQueryPrefetch>(std::move(images), std::move(jobs), 2);
}

void TJetDatabase::SettlePrefetch(bool cancel) {
  if (!m_prefetch) return;
  for (auto& [jetSql, rows] : m_prefetch->Finish(cancel)) m_results.emplace(std::move(jetSql), std::move(rows));
  m_prefetch.reset();
}

std::shared_ptr<const TResultSet> TJetDatabase::Execute(const std::string& jetSql) {
  if (auto it = m_results.find(jetSql); it != m_results.end()) return it->second;
  if (m_prefetch) {
    if (auto rows = m_prefetch->Take(jetSql)) {
      m_results.emplace(jetSql, rows);
      return rows;
    }
  }
  const TTranslatedQuery query = Translate(jetSql);
  // Writing an index while workers read the pages would pull them from under their feet.
  if (m_prefetch && !HasIndexes(query)) SettlePrefetch(false);
  CreateIndexes(query);
  auto result = ReadResultRows(m_db, query, jetSql);
  m_results.emplace(jetSql, result);
  return result;
}

}  // namespace vandrel
