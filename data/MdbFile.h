// One Access file read through libmdb from an image in memory: the catalog of user tables, their
// columns with Jet types, and the raw row values decoded here (libmdb's string binding loses
// data). The image is validated before libmdb sees it, and every offset libmdb hands back is
// checked against the page before it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/JetType.h"

namespace vandrel {

struct TJetColumn {
  std::string Name;
  TJetType Type = TJetType::jtUnknown;
};

struct TJetTable {
  std::string Name;
  uint32_t DefinitionPage = 0;
};

// Receives the values of one row, column by column in column order, then EndRow. Text and blob
// views stay valid until EndRow returns.
class TJetRowSink {
 public:
  virtual ~TJetRowSink() = default;
  virtual void Null(size_t column) = 0;
  virtual void Integer(size_t column, int64_t value) = 0;
  virtual void Real(size_t column, double value) = 0;
  virtual void Text(size_t column, std::string_view utf8) = 0;
  virtual void Blob(size_t column, const uint8_t* data, size_t size) = 0;
  virtual void EndRow() = 0;
};

class TMdbFile {
 public:
  // `image` must stay alive and unchanged while this object exists. Raises EDatabaseError.
  TMdbFile(const uint8_t* image, size_t size, std::string fileName);
  ~TMdbFile();
  TMdbFile(const TMdbFile&) = delete;
  TMdbFile& operator=(const TMdbFile&) = delete;

  const std::vector<TJetTable>& Tables() const { return m_tables; }
  // Case-insensitive; nullptr when the file has no such user table.
  const TJetTable* FindTable(std::string_view name) const;
  std::vector<TJetColumn> Columns(const TJetTable& table);
  // Rows times columns as the table definition states them, without reading the table: a weight
  // for sharing the import out. Zero when the definition page cannot say.
  uint64_t SizeEstimate(const TJetTable& table) const;
  // Returns the number of rows read. Raises EDatabaseError on a damaged table.
  size_t ReadRows(const TJetTable& table, TJetRowSink& sink);

 private:
  struct TImpl;
  std::unique_ptr<TImpl> m_impl;
  std::vector<TJetTable> m_tables;
};

}  // namespace vandrel
