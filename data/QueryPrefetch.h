// Runs the queries of a refresh ahead of the thread that asks for them, on worker threads that
// each open their own read-only connection over the very pages of the imported images (no copy).
// The caller keeps the rows of every text it asks for; a text the workers could not run (or had
// not started) is left to the caller, so its errors arise where the caller's own run raises them.
// While this lives nothing may write the images: their pages are read by the workers unlocked.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "data/JetSqlTranslator.h"

struct sqlite3;

namespace vandrel {

struct TResultSet;

// Every row of a prepared statement's run, with the Jet types of the columns; raises
// EDatabaseError naming the Jet text when a step fails.
std::shared_ptr<const TResultSet> ReadResultRows(sqlite3* db, const TTranslatedQuery& query, const std::string& jetSql);

// A child started by fork() inherits the mutexes other threads hold at that moment, SQLite's
// allocator mutex among them, and would wait on them for ever. Workers hold this shared for as
// long as they run (see TQueryPrefetch::Work); fork() holds it exclusively.
std::shared_mutex& SqliteForkGate();

class TQueryPrefetch {
 public:
  struct TImage {
    std::string Schema;  // "main" or the name it is attached under
    unsigned char* Data = nullptr;
    size_t Size = 0;
  };
  struct TJob {
    std::string JetSql;
    TTranslatedQuery Query;
  };

  TQueryPrefetch(std::vector<TImage> images, std::vector<TJob> jobs, size_t threads);
  // Interrupts what runs and waits for the workers.
  ~TQueryPrefetch();
  TQueryPrefetch(const TQueryPrefetch&) = delete;
  TQueryPrefetch& operator=(const TQueryPrefetch&) = delete;

  // The rows of a text given as a job, waiting while a worker runs it. nullptr when the text is
  // no job, its run failed or had not begun (it is then withdrawn): the caller runs it itself.
  std::shared_ptr<const TResultSet> Take(const std::string& jetSql);
  // Waits for the workers to finish every job (or, on `cancel`, interrupts them) and hands back
  // the rows finished and not taken.
  std::vector<std::pair<std::string, std::shared_ptr<const TResultSet>>> Finish(bool cancel);

 private:
  enum TState { jsPending, jsRunning, jsDone, jsFailed, jsWithdrawn };
  struct TSlot {
    TJob Job;
    TState State = jsPending;
    std::shared_ptr<const TResultSet> Rows;
  };

  void Work(size_t worker);
  void RunJobs(size_t worker, sqlite3* db);
  sqlite3* OpenWorkerConnection();
  void Stop(bool interrupt);

  std::vector<TImage> m_images;
  std::vector<TSlot> m_slots;
  std::unordered_map<std::string, size_t> m_byText;
  size_t m_next = 0;  // the first slot that may still be pending
  bool m_stopping = false;  // take no more jobs, end
  bool m_released = false;  // end when out of jobs
  size_t m_started = 0;     // workers past their start
  std::vector<sqlite3*> m_connections;  // per worker, for an interrupt; guarded by m_mutex
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::thread> m_threads;
};

}  // namespace vandrel
