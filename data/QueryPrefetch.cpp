#include "data/QueryPrefetch.h"

#include <sqlite3.h>

#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "data/JetFunctions.h"
#include "data/SqlName.h"

namespace vandrel {

std::shared_ptr<const TResultSet> ReadResultRows(sqlite3* db, const TTranslatedQuery& query, const std::string& jetSql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, query.Sql.c_str(), int(query.Sql.size()), &stmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt);
    throw EDatabaseError(std::string(sqlite3_errmsg(db)) + " in query: " + jetSql);
  }
  struct Finalizer {
    sqlite3_stmt* stmt;
    ~Finalizer() { sqlite3_finalize(stmt); }
  } finalizer{stmt};
  auto result = std::make_shared<TResultSet>();
  result->Columns = query.Columns;
  const int n = int(query.Columns.size());
  for (;;) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) throw EDatabaseError(std::string(sqlite3_errmsg(db)) + " in query: " + jetSql);
    for (int c = 0; c < n; ++c) {
      TJetValue v;
      switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
          v.Kind = TJetValue::vkInteger;
          v.Integer = sqlite3_column_int64(stmt, c);
          break;
        case SQLITE_FLOAT:
          v.Kind = TJetValue::vkReal;
          v.Real = sqlite3_column_double(stmt, c);
          break;
        case SQLITE_TEXT:
          v.Kind = TJetValue::vkText;
          v.Text.assign(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)), size_t(sqlite3_column_bytes(stmt, c)));
          break;
        case SQLITE_BLOB: {
          v.Kind = TJetValue::vkBlob;
          const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, c));
          if (p) v.Text.assign(p, size_t(sqlite3_column_bytes(stmt, c)));
          break;
        }
        default:
          break;
      }
      result->Cells.push_back(std::move(v));
    }
    ++result->RowCount;
  }
  return result;
}

std::shared_mutex& SqliteForkGate() {
  static std::shared_mutex gate;
  return gate;
}

TQueryPrefetch::TQueryPrefetch(std::vector<TImage> images, std::vector<TJob> jobs, size_t threads)
    : m_images(std::move(images)) {
  m_slots.reserve(jobs.size());
  for (TJob& job : jobs) {
    if (!m_byText.emplace(job.JetSql, m_slots.size()).second) continue;
    m_slots.push_back({std::move(job), jsPending, nullptr});
  }
  m_connections.assign(threads, nullptr);
  try {
    for (size_t i = 0; i < threads; ++i) m_threads.emplace_back([this, i] { Work(i); });
  } catch (...) {
    // No thread to be had: the caller runs what no worker took.
    Stop(false);
    return;
  }
  // A thread still starting may be inside the allocator (see Work), and the caller may fork as
  // soon as this returns.
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_started == m_threads.size(); });
}

TQueryPrefetch::~TQueryPrefetch() { Stop(true); }

void TQueryPrefetch::Stop(bool interrupt) {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    if (interrupt)
      for (sqlite3* db : m_connections)
        if (db) sqlite3_interrupt(db);
  }
  m_changed.notify_all();
  for (std::thread& thread : m_threads)
    if (thread.joinable()) thread.join();
  m_threads.clear();
}

sqlite3* TQueryPrefetch::OpenWorkerConnection() {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  for (const TImage& image : m_images) {
    if (image.Schema != "main" &&
        sqlite3_exec(db, ("ATTACH DATABASE ':memory:' AS " + QuoteName(image.Schema)).c_str(), nullptr, nullptr,
                     nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      return nullptr;
    }
    // Read-only and not freed here: the pages belong to the owner's connection, which outlives
    // this one, and nobody writes them while the workers run.
    if (sqlite3_deserialize(db, image.Schema.c_str(), image.Data, sqlite3_int64(image.Size), sqlite3_int64(image.Size),
                            SQLITE_DESERIALIZE_READONLY) != SQLITE_OK) {
      sqlite3_close(db);
      return nullptr;
    }
  }
  // Sorts and DISTINCT work in memory; the pages are read where they are, as by the owner.
  if (sqlite3_exec(db, ("PRAGMA temp_store=MEMORY; PRAGMA mmap_size=" + std::to_string(int64_t(1) << 40)).c_str(),
                   nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  RegisterJetFunctions(db);
  return db;
}

void TQueryPrefetch::Work(size_t worker) {
  // A child started by fork() inherits the locks other threads hold at that moment, those of
  // the memory allocator among them, and waits on them for ever (glibc's malloc guards its own
  // against this; a sanitizer's allocator does not). So a worker allocates only while it holds
  // the gate, from its start (the constructor waits for that) to its last job; out of jobs it
  // waits, allocating nothing, until the owner, who is also the one who forks, lets it end
  // (a thread that ends gives its allocator caches back).
  {
    std::shared_lock gate(SqliteForkGate());
    {
      std::lock_guard lock(m_mutex);
      ++m_started;
    }
    m_changed.notify_all();
    sqlite3* db = OpenWorkerConnection();
    if (db) RunJobs(worker, db);
  }
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_stopping || m_released; });
}

void TQueryPrefetch::RunJobs(size_t worker, sqlite3* db) {
  {
    std::lock_guard lock(m_mutex);
    m_connections[worker] = db;
  }
  for (;;) {
    size_t index = 0;
    {
      std::unique_lock lock(m_mutex);
      while (m_next < m_slots.size() && m_slots[m_next].State != jsPending) ++m_next;
      if (m_stopping || m_next == m_slots.size()) break;
      index = m_next++;
      m_slots[index].State = jsRunning;
    }
    // Slot `index` is this worker's alone while it runs: the caller only waits for it.
    TSlot& slot = m_slots[index];
    std::shared_ptr<const TResultSet> rows;
    try {
      rows = ReadResultRows(db, slot.Job.Query, slot.Job.JetSql);
    } catch (...) {
      // The caller runs it again and meets the error where its own run would.
    }
    {
      std::lock_guard lock(m_mutex);
      slot.Rows = std::move(rows);
      slot.State = slot.Rows ? jsDone : jsFailed;
    }
    m_changed.notify_all();
  }
  {
    std::lock_guard lock(m_mutex);
    m_connections[worker] = nullptr;
  }
  sqlite3_close(db);
}

std::shared_ptr<const TResultSet> TQueryPrefetch::Take(const std::string& jetSql) {
  const auto it = m_byText.find(jetSql);
  if (it == m_byText.end()) return nullptr;
  std::unique_lock lock(m_mutex);
  TSlot& slot = m_slots[it->second];
  if (slot.State == jsPending) {
    slot.State = jsWithdrawn;
    return nullptr;
  }
  m_changed.wait(lock, [&] { return slot.State != jsRunning; });
  if (slot.State != jsDone) return nullptr;
  slot.State = jsWithdrawn;
  return std::move(slot.Rows);
}

std::vector<std::pair<std::string, std::shared_ptr<const TResultSet>>> TQueryPrefetch::Finish(bool cancel) {
  // Workers end when no job is pending and they are let go.
  if (cancel) Stop(true);
  {
    std::lock_guard lock(m_mutex);
    m_released = true;
  }
  m_changed.notify_all();
  for (std::thread& thread : m_threads)
    if (thread.joinable()) thread.join();
  m_threads.clear();
  std::vector<std::pair<std::string, std::shared_ptr<const TResultSet>>> done;
  std::lock_guard lock(m_mutex);
  for (TSlot& slot : m_slots)
    if (slot.State == jsDone) {
      slot.State = jsWithdrawn;
      done.emplace_back(slot.Job.JetSql, std::move(slot.Rows));
    }
  return done;
}

}  // namespace vandrel
