// Writes an SQLite database image directly in SQLite's file format, a table at a time, rows in
// through TJetRowSink: rowids 1..N in the order the rows come, values stored with the storage
// class the column's affinity gives them, exactly as an INSERT would store them. Going through
// SQLite's insert path costs several times what decoding the rows costs; laying the b-tree out
// here, where the rows arrive in key order, needs no balancing at all.
// The image is a complete database: sqlite3_deserialize takes it as it is, writable, and SQLite
// adds pages (indexes) at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/MdbFile.h"

namespace vandrel {

struct TSqliteColumn {
  std::string Name;
  std::string DeclaredType;
};

class TSqliteImageWriter : public TJetRowSink {
 public:
  static constexpr uint32_t kDefaultPageSize = 16384;

  // `pageSize`: a power of two from 512 to 65536.
  explicit TSqliteImageWriter(uint32_t pageSize = kDefaultPageSize);

  // Declares a table; its sqlite_master entry comes in the order of the calls. `sql` is the
  // CREATE TABLE statement as sqlite_master keeps it (no schema name before the table name); it
  // must declare `columns`, which give the affinities. Raises EDatabaseError with SQLite's own
  // message where SQLite would refuse the statement (a name taken, a reserved name, a column twice).
  // Returns the table's number for BeginRows.
  size_t CreateTable(const std::string& name, const std::vector<TSqliteColumn>& columns, const std::string& sql);
  // The rows given to the sink from here to EndRows go to `table`, which has none yet. Tables
  // given no rows are empty.
  void BeginRows(size_t table);
  void EndRows();
  // Forgets the table created last with everything written for it, rows begun or not.
  void DropLastTable();
  // The image; the writer is spent afterwards.
  std::vector<uint8_t> Finish();
  // Room for an image of about `bytes`: growing it step by step copies it and faults its pages in twice.
  void Reserve(size_t bytes) { m_image.reserve(bytes); }

  void Null(size_t column) override;
  void Integer(size_t column, int64_t value) override;
  void Real(size_t column, double value) override;
  void Text(size_t column, std::string_view utf8) override;
  void Blob(size_t column, const uint8_t* data, size_t size) override;
  void EndRow() override;

 private:
  enum class TAffinity { afBlob, afText, afNumeric, afInteger, afReal };
  struct TTable {
    std::string Name;
    std::string Sql;
    std::vector<TAffinity> Affinities;
    uint32_t Root = 0;
    size_t Mark = 0;  // image size when the table was created
  };
  struct TChild {
    uint32_t Page;
    int64_t LastRowid;
  };

  static TAffinity AffinityOf(std::string_view declaredType);
  TAffinity ColumnAffinity(size_t column) const;
  void AddInteger(int64_t value, bool asReal);
  void AddDouble(double value);
  void AddBytes(std::string_view bytes, uint64_t serialBase);
  void AddTextAsNumber(std::string_view text, bool asReal);
  void ClearRow();

  uint8_t* PageAt(uint32_t page) { return m_image.data() + size_t(page - 1) * m_pageSize; }
  // A new page at the end, holding a page of content when one is given, else zeros.
  uint32_t AppendPage(const uint8_t* content = nullptr);
  void OpenLeaf();
  void CloseLeaf();
  uint32_t WriteOverflow(size_t from, size_t payloadSize);
  void CopyPayload(size_t from, size_t count, uint8_t* to) const;
  // Puts the last rows and the interior pages down; the root goes to `fixedRoot` when not zero.
  uint32_t FinishTree(uint32_t fixedRoot);
  void WriteInteriorPage(uint32_t page, const TChild* children, size_t count);
  void WriteHeader();

  uint32_t m_pageSize;
  std::vector<uint8_t> m_image;
  std::vector<TTable> m_tables;

  // The table rows go to, its rows so far and the leaves they filled.
  bool m_writing = false;
  size_t m_target = 0;
  const TAffinity* m_affinities = nullptr;
  size_t m_columns = 0;
  int64_t m_rowid = 0;
  std::vector<TChild> m_leaves;

  // The leaf being filled; written to the image when full, so the last one can still become page 1.
  std::vector<uint8_t> m_leaf;
  size_t m_leafCells = 0;
  size_t m_leafContent = 0;

  // The record of the row being given: its header (the serial types, after room for the header
  // size) and the values.
  struct TBytes {
    std::vector<uint8_t> Data;
    size_t Size = 0;
    uint8_t* Extend(size_t n) {
      if (Size + n > Data.size()) Grow(n);
      uint8_t* p = Data.data() + Size;
      Size += n;
      return p;
    }
    void Grow(size_t n);
  };
  static constexpr size_t kHeaderRoom = 9;
  TBytes m_types{std::vector<uint8_t>(256), kHeaderRoom};
  TBytes m_body{std::vector<uint8_t>(4096), 0};
  size_t m_values = 0;
  const uint8_t* m_header = nullptr;
  size_t m_headerSize = 0;
};

}  // namespace vandrel
