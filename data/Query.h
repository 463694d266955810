// A query object on a connection: set the SQL text, open, walk the rows, read fields by name.
// The rows are held by the query, so two queries on one connection can be open at once.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/Field.h"

namespace vandrel {

class TConnection;
struct TResultSet;
struct TJetValue;

class TQuery {
 public:
  explicit TQuery(TConnection& connection);
  ~TQuery();
  TQuery(const TQuery&) = delete;
  TQuery& operator=(const TQuery&) = delete;

  // Closes the current result, if any, and stores the text for the next Open.
  void SetSQL(std::string text);
  const std::string& SQL() const { return m_sql; }

  // Runs the stored SELECT; positioned on the first row, or at the end when there is none.
  void Open();
  void Close();
  bool Active() const { return m_result != nullptr; }

  bool Eof() const;
  void Next();
  // Case-insensitive, first match; a missing name raises EDatabaseError naming it.
  TField& FieldByName(std::string_view name);

  // For TField: the value of a column in the current row.
  const TJetValue& CurrentValue(size_t column) const;

 private:
  TConnection* m_connection;
  std::string m_sql;
  std::shared_ptr<const TResultSet> m_result;
  size_t m_row = 0;
  std::vector<std::unique_ptr<TField>> m_fields;
};

}  // namespace vandrel
