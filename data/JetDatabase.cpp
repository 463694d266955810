#include "data/JetDatabase.h"
#include "data/SqlName.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <system_error>
#include <thread>
#include <unordered_set>

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

TJetDatabase::TJetDatabase(TByteBuffer image, uint64_t contentHash, std::string fileName,
                           const std::function<void()>& whileWaiting, size_t shares)
    : m_size(image.Size()), m_hash(contentHash), m_fileName(std::move(fileName)) {
  // SQLite counts every allocation under one process-wide mutex; the index builders and query
  // workers allocate at the same time (sorting above all) and then wait on each other: two
  // index builds at once took three times as long each. Nothing here reads the counts. Only
  // possible before SQLite's first use in the process; later it changes nothing.
  static std::once_flag configured;
  std::call_once(configured, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
  std::vector<TImportImage> imported = ImportInChildProcesses(
      image.Data(), image.Size(), m_fileName, shares ? shares : ImportShares(image.Size()), whileWaiting);
  image = {};
  for (size_t i = 0; i < imported.size(); ++i)
    m_shares.push_back({i == 0 ? "main" : "share" + std::to_string(i), std::move(imported[i].Data), imported[i].Size});
  try {
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
      throw EDatabaseError("cannot create the in-memory database");
    for (TShare& share : m_shares) {
      if (share.Schema != "main") Exec(m_db, "ATTACH DATABASE ':memory:' AS " + QuoteName(share.Schema));
      Attach(share);
    }
    RegisterJetFunctions(m_db);
    LoadSchema();
  } catch (...) {
    // Before the images it reads go.
    sqlite3_close(m_db);
    throw;
  }
}

size_t TJetDatabase::ImportShares(size_t size) {
  // Two shares for a large file: one for each core the machine usually has; each waits on the
  // other only at the end. A small file's import takes a few milliseconds, about what a second
  // child costs in forking, copied page tables and a second reading of the catalog: one child.
  constexpr size_t kTwoSharesFrom = size_t(16) << 20;
  return size >= kTwoSharesFrom ? 2 : 1;
}

TJetDatabase::~TJetDatabase() {
  // The workers read the pages of the shares; the images go after both (members are destroyed
  // after this body).
  m_prefetch.reset();
  sqlite3_close(m_db);
}

void TJetDatabase::Attach(TShare& share) {
  // A fixed-size buffer lets SQLite read the pages where they are (see mmap_size) instead of
  // copying each into its cache. The journal lets an index that does not fit the buffer fail
  // without leaving half of it.
  if (sqlite3_deserialize(m_db, share.Schema.c_str(), share.Buffer.Data(), sqlite3_int64(share.Size),
                          sqlite3_int64(share.Buffer.Size()), 0) != SQLITE_OK)
    throw EDatabaseError("The database '" + m_fileName + "' could not be loaded.");
  const std::string schema = QuoteName(share.Schema);
  Exec(m_db, "PRAGMA " + schema + ".journal_mode=MEMORY; PRAGMA " + schema + ".synchronous=OFF; PRAGMA temp_store=MEMORY; PRAGMA " +
                 schema + ".mmap_size=" + std::to_string(int64_t(1) << 40));
}

void TJetDatabase::LoadSchema() {
  for (const TShare& share : m_shares) {
    const std::string& database = share.Schema;
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

namespace {

// Runs the CREATE INDEX statements on a connection of its own over a share's image; returns
// the image's size after them. An index that cannot be made (the buffer is full) only costs
// speed: SQLite builds a temporary one for the statement.
size_t BuildIndexes(uint8_t* data, size_t size, size_t capacity, const std::vector<std::string>& statements) {
  std::shared_lock gate(SqliteForkGate());
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK &&
      sqlite3_deserialize(db, "main", data, sqlite3_int64(size), sqlite3_int64(capacity), 0) == SQLITE_OK &&
      sqlite3_exec(db, ("PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF; PRAGMA temp_store=MEMORY; PRAGMA mmap_size=" +
                        std::to_string(int64_t(1) << 40)).c_str(),
                   nullptr, nullptr, nullptr) == SQLITE_OK) {
    for (const std::string& sql : statements) sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_int64 grown = 0;
    if (sqlite3_serialize(db, "main", &grown, SQLITE_SERIALIZE_NOCOPY)) size = size_t(grown);
  }
  sqlite3_close(db);
  return size;
}

// Runs the tasks at the same time, the last on this thread (and any for which no thread could
// be had); returns when all have run. A task must not throw.
void RunTogether(const std::vector<std::function<void()>>& tasks) {
  std::vector<std::thread> threads;
  for (size_t i = 0; i + 1 < tasks.size(); ++i) {
    try {
      threads.emplace_back(tasks[i]);
    } catch (const std::system_error&) {
      tasks[i]();
    }
  }
  if (!tasks.empty()) tasks.back()();
  for (std::thread& thread : threads) thread.join();
}

}  // namespace

void TJetDatabase::CreateIndexes(const std::vector<const TTranslatedQuery*>& queries) {
  // The same joins repeat in every section; one index beats SQLite building an automatic one
  // for each statement.
  std::vector<std::vector<std::string>> statements(m_shares.size());
  for (const TTranslatedQuery* query : queries)
    for (const auto& [table, column] : query->JoinColumns) {
      if (!m_indexes.insert(LowerCase(table) + "." + LowerCase(column)).second) continue;
      const TSqlTableSchema& schema = Table(table);
      for (size_t i = 0; i < m_shares.size(); ++i)
        if (m_shares[i].Schema == schema.Database)
          statements[i].push_back("CREATE INDEX " + QuoteName("ix" + std::to_string(m_indexes.size())) + " ON " +
                                  QuoteName(schema.Name) + " (" + QuoteName(column) + ")");
    }
  const bool any = std::any_of(statements.begin(), statements.end(), [](const auto& s) { return !s.empty(); });
  if (!any) return;
  SettlePrefetch(false);
  // Each share's indexes are written by a connection and a thread of its own, at the same time;
  // m_db, which runs nothing meanwhile, then attaches the grown images again.
  std::vector<size_t> sizes(m_shares.size());
  std::vector<std::function<void()>> builds;
  for (size_t i = 0; i < m_shares.size(); ++i)
    if (!statements[i].empty())
      builds.push_back([this, i, &statements, &sizes] {
        sizes[i] = BuildIndexes(m_shares[i].Buffer.Data(), m_shares[i].Size, m_shares[i].Buffer.Size(), statements[i]);
      });
  RunTogether(builds);
  for (size_t i = 0; i < m_shares.size(); ++i) {
    if (statements[i].empty()) continue;
    m_shares[i].Size = sizes[i];
    Attach(m_shares[i]);
  }
}

void TJetDatabase::Remember(const std::string& jetSql, std::shared_ptr<const TResultSet> rows) {
  TCachedResult& cached = m_results[jetSql];
  cached.Rows = std::move(rows);
  cached.Refresh = m_refresh;
}

uint64_t TJetDatabase::Prefetch(const std::vector<std::string>& jetSqls) {
  SettlePrefetch(false);
  ++m_refresh;
  {
    const std::unordered_set<std::string_view> wanted(jetSqls.begin(), jetSqls.end());
    for (auto it = m_results.begin(); it != m_results.end();) {
      if (wanted.count(it->first)) it->second.Refresh = m_refresh;
      if (it->second.Refresh + 1 < m_refresh) it = m_results.erase(it);
      else ++it;
    }
  }
  // A refresh sends over a hundred texts: they translate on two threads (reading the schema
  // only). A text that does not translate raises when Execute is asked for it, not before.
  std::vector<std::optional<TTranslatedQuery>> translated(jetSqls.size());
  std::exception_ptr failures[2];
  std::vector<std::function<void()>> halves;
  for (size_t half = 0; half < 2; ++half)
    halves.push_back([&, half] {
      try {
        for (size_t i = half; i < jetSqls.size(); i += 2) {
          if (m_results.count(jetSqls[i])) continue;
          try {
            translated[i] = Translate(jetSqls[i]);
          } catch (const EDatabaseError&) {
          }
        }
      } catch (...) {
        failures[half] = std::current_exception();
      }
    });
  RunTogether(halves);
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
  std::vector<TQueryPrefetch::TJob> jobs;
  for (size_t i = 0; i < jetSqls.size(); ++i)
    if (translated[i]) jobs.push_back({jetSqls[i], std::move(*translated[i])});
  if (jobs.empty()) return m_refresh;
  // Every index the jobs use exists before a worker reads a page: the images stay unwritten
  // while the workers run.
  std::vector<const TTranslatedQuery*> queries;
  for (const TQueryPrefetch::TJob& job : jobs) queries.push_back(&job.Query);
  CreateIndexes(queries);
  std::vector<TQueryPrefetch::TImage> images;
  for (TShare& share : m_shares) images.push_back({share.Schema, share.Buffer.Data(), share.Size});
  // Two: the machine usually has two cores, and the asking thread builds lines meanwhile.
  m_prefetch = std::make_unique<TQueryPrefetch>(std::move(images), std::move(jobs), 2);
  return m_refresh;
}

void TJetDatabase::SettlePrefetch(bool cancel) {
  if (!m_prefetch) return;
  for (auto& [jetSql, rows] : m_prefetch->Finish(cancel)) Remember(jetSql, std::move(rows));
  m_prefetch.reset();
}

void TJetDatabase::SettlePrefetch(uint64_t number, bool cancel) {
  if (number == m_refresh) SettlePrefetch(cancel);
}

std::shared_ptr<const TResultSet> TJetDatabase::Execute(const std::string& jetSql) {
  if (auto it = m_results.find(jetSql); it != m_results.end()) {
    it->second.Refresh = m_refresh;
    return it->second.Rows;
  }
  if (m_prefetch) {
    if (auto rows = m_prefetch->Take(jetSql)) {
      Remember(jetSql, rows);
      return rows;
    }
  }
  const TTranslatedQuery query = Translate(jetSql);
  CreateIndexes({&query});
  auto result = ReadResultRows(m_db, query, jetSql);
  Remember(jetSql, result);
  return result;
}

}  // namespace vandrel
