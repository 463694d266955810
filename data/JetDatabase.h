// One snapshot of an Access file: every table imported once into in-memory SQLite databases
// (by child processes, see JetImport.h; the shares attached to one connection), with the Jet
// types of their columns.
// Results are kept by SQL text: the snapshot never changes, so an identical text gives identical
// rows (the plan-progress query repeats once per plan, and a refresh of an unchanged file sends
// the texts of the one before). Each refresh keeps only the results of its own texts and those
// the refresh before it used: an always-on program over an unchanged file must not gather every
// day's results.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/ByteBuffer.h"
#include "data/JetSqlTranslator.h"
#include "data/MdbFile.h"

struct sqlite3;

namespace vandrel {

class TQueryPrefetch;

struct TJetValue {
  enum TKind { vkNull, vkInteger, vkReal, vkText, vkBlob };
  TKind Kind = vkNull;
  int64_t Integer = 0;
  double Real = 0;
  std::string Text;  // text, or the bytes of a blob
};

struct TResultSet {
  std::vector<TSqlResultColumn> Columns;
  std::vector<TJetValue> Cells;  // row-major
  size_t RowCount = 0;
};

class TJetDatabase {
 public:
  // Raises EDatabaseError when the image is no readable Access database. `whileWaiting` runs
  // now and then while the tables are imported (see ImportInChildProcesses), in `shares` child
  // processes (0: as many as pay for the file's size, see ImportShares).
  TJetDatabase(TByteBuffer image, uint64_t contentHash, std::string fileName,
               const std::function<void()>& whileWaiting = {}, size_t shares = 0);
  ~TJetDatabase();
  // How many child processes import a file of `size` bytes.
  static size_t ImportShares(size_t size);
  TJetDatabase(const TJetDatabase&) = delete;
  TJetDatabase& operator=(const TJetDatabase&) = delete;

  uint64_t ContentHash() const { return m_hash; }
  size_t Size() const { return m_size; }
  const std::string& FileName() const { return m_fileName; }

  // Runs a Jet SELECT; raises EDatabaseError with the SQL text in the message.
  std::shared_ptr<const TResultSet> Execute(const std::string& jetSql);
  // Begins a refresh that will send these texts (see above) and starts running them on worker
  // threads so that Execute finds their rows ready. Texts that do not translate are left to
  // Execute, which raises their errors when it is asked. Returns the number of this prefetch.
  uint64_t Prefetch(const std::vector<std::string>& jetSqls);
  // Ends the prefetch, keeping the rows finished; `cancel` interrupts what still runs.
  void SettlePrefetch(bool cancel);
  // Ends the prefetch of that number if it is the one running (see TConnection::TPrefetchScope).
  void SettlePrefetch(uint64_t number, bool cancel);
  bool Prefetching() const { return m_prefetch != nullptr; }
  size_t CachedResults() const { return m_results.size(); }
  // The translation alone (for diagnostics and tests); imports the tables it names.
  TTranslatedQuery Translate(const std::string& jetSql);
  // SQLite's plan for the translated query, one step a line (for diagnostics).
  std::string QueryPlan(const std::string& jetSql);

 private:
  // One SQLite database per import share, attached to m_db over its image (kept here, not by
  // SQLite, so that index builders on other connections can write it).
  struct TShare {
    std::string Schema;
    TByteBuffer Buffer;  // its size is the room for indexes
    size_t Size = 0;     // of the image
  };

  // Attaches the share's image as it now is, anew if it was attached before.
  void Attach(TShare& share);
  const TSqlTableSchema& Table(std::string_view name);
  void LoadSchema();
  // Makes the missing lookup indexes of these queries, the shares' at the same time. Writing
  // the images while workers read them would pull the pages from under them: a running
  // prefetch is settled first.
  void CreateIndexes(const std::vector<const TTranslatedQuery*>& queries);

  size_t m_size = 0;
  uint64_t m_hash = 0;
  std::string m_fileName;
  sqlite3* m_db = nullptr;
  std::vector<TShare> m_shares;
  std::map<std::string, TSqlTableSchema> m_tables;  // by lower-case name
  std::map<std::string, std::string> m_failures;    // tables that could not be read
  struct TCachedResult {
    std::shared_ptr<const TResultSet> Rows;
    uint64_t Refresh = 0;  // the last that used it
  };
  void Remember(const std::string& jetSql, std::shared_ptr<const TResultSet> rows);
  std::unordered_map<std::string, TCachedResult> m_results;
  uint64_t m_refresh = 0;  // counts the prefetches, one per refresh
  std::set<std::string> m_indexes;
  std::unique_ptr<TQueryPrefetch> m_prefetch;
};

}  // namespace vandrel
