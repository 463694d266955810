// The database connection: a connection string naming the file and its password, opened
// read-only. Opening reads the whole file once (no lock file, no write) and checks the password
// stored in its header. A snapshot of an unchanged file (same content hash) is reused with its
// imported tables and results, so a refresh of an unchanged database costs little.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vandrel {

class TJetDatabase;
struct TResultSet;

class TConnection {
 public:
  TConnection();
  ~TConnection();
  TConnection(const TConnection&) = delete;
  TConnection& operator=(const TConnection&) = delete;

  // "Provider=...;Jet OLEDB:Database Password=...;Data Source=<path>"; stored for the next Open.
  void SetConnectionString(std::string text);
  const std::string& ConnectionString() const { return m_connectionString; }

  // Raises EDatabaseError: missing file, not an Access database, damaged, wrong password.
  void Open();
  // Runs now and then while Open reads a new file (the import can take seconds): the window
  // keeps painting. It must not use this connection.
  std::function<void()> OnWaiting;
  void Close();
  bool Connected() const { return m_database != nullptr; }

  // Used by TQuery. Raises EDatabaseError when closed or when the query fails.
  std::shared_ptr<const TResultSet> Execute(const std::string& jetSql);
  // The life of a prefetch: it ends when the build it serves ends, finished or abandoned by an
  // error (what still runs is interrupted; the rows finished are kept).
  class [[nodiscard]] TPrefetchScope {
   public:
    TPrefetchScope() = default;
    TPrefetchScope(std::weak_ptr<TJetDatabase> database, uint64_t number);
    ~TPrefetchScope();
    TPrefetchScope(TPrefetchScope&& other) noexcept;
    TPrefetchScope& operator=(TPrefetchScope&&) = delete;
    TPrefetchScope(const TPrefetchScope&) = delete;

   private:
    std::weak_ptr<TJetDatabase> m_database;
    uint64_t m_number = 0;
  };

  // Runs these texts ahead on worker threads (the ones a refresh is about to send), so that
  // Execute finds their rows ready; the rows and errors Execute gives stay those of running each
  // text when it is asked for. Raises EDatabaseError when closed.
  TPrefetchScope Prefetch(const std::vector<std::string>& jetSqls);
  // Whether workers of a prefetch still exist (for tests).
  bool Prefetching() const;
  // Whether the last Open reused the previous snapshot (the file content was unchanged).
  bool ReusedSnapshot() const { return m_reused; }

 private:
  std::string m_connectionString;
  std::shared_ptr<TJetDatabase> m_database;
  // Kept after Close so that reopening an unchanged file costs one read and one hash.
  std::shared_ptr<TJetDatabase> m_previous;
  bool m_reused = false;
};

struct TConnectionString {
  std::string Provider;
  std::string DataSource;
  std::string Password;
};

// Keys are case-insensitive; a value may be quoted with double quotes.
TConnectionString ParseConnectionString(const std::string& text);

}  // namespace vandrel
