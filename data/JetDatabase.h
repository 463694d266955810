// One snapshot of an Access file: every table imported once into in-memory SQLite databases
// (by child processes, see JetImport.h; the shares attached to one connection), with the Jet
// types of their columns.
// Results are kept by SQL text for as long as the snapshot lives: the snapshot never changes,
// so an identical text gives identical rows (the plan-progress query repeats once per plan).
#pragma once

#include <cstdint>
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
  // Raises EDatabaseError when the image is no readable Access database.
  TJetDatabase(TByteBuffer image, uint64_t contentHash, std::string fileName);
  ~TJetDatabase();
  TJetDatabase(const TJetDatabase&) = delete;
  TJetDatabase& operator=(const TJetDatabase&) = delete;

  uint64_t ContentHash() const { return m_hash; }
  size_t Size() const { return m_size; }
  const std::string& FileName() const { return m_fileName; }

  // Runs a Jet SELECT; raises EDatabaseError with the SQL text in the message.
  std::shared_ptr<const TResultSet> Execute(const std::string& jetSql);
  // Starts running the texts on worker threads so that Execute finds their rows ready. Texts
  // that do not translate are left to Execute, which raises their errors when it is asked.
  void Prefetch(const std::vector<std::string>& jetSqls);
  // Ends the prefetch, keeping the rows finished; `cancel` interrupts what still runs.
  void SettlePrefetch(bool cancel);
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
  // Lookup indexes for the joins of a query; false when one was still missing.
  bool HasIndexes(const TTranslatedQuery& query) const;
  // Makes the missing lookup indexes of these queries, the shares' at the same time.
  void CreateIndexes(const std::vector<const TTranslatedQuery*>& queries);

  size_t m_size = 0;
  uint64_t m_hash = 0;
  std::string m_fileName;
  sqlite3* m_db = nullptr;
  std::vector<TShare> m_shares;
  std::map<std::string, TSqlTableSchema> m_tables;  // by lower-case name
  std::map<std::string, std::string> m_failures;    // tables that could not be read
  std::unordered_map<std::string, std::shared_ptr<const TResultSet>> m_results;
  std::set<std::string> m_indexes;
  std::unique_ptr<TQueryPrefetch> m_prefetch;
};

}  // namespace vandrel
