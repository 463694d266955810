#include "data/Query.h"

#include "data/Connection.h"
#include "data/DatabaseError.h"
#include "data/JetDatabase.h"
#include "platform/core/Text.h"

namespace vandrel {

TQuery::TQuery(TConnection& connection) : m_connection(&connection) {}
TQuery::~TQuery() = default;

void TQuery::SetSQL(std::string text) {
  Close();
  m_sql = std::move(text);
}

void TQuery::Open() {
  Close();
  m_result = m_connection->Execute(m_sql);
  // A query reopened on the same columns (one text run again for every line of an outer query)
  // keeps its fields.
  const auto& columns = m_result->Columns;
  bool same = m_fields.size() == columns.size();
  for (size_t i = 0; same && i < columns.size(); ++i)
    same = m_fields[i]->DataType() == columns[i].Type && m_fields[i]->FieldName() == columns[i].Name;
  if (!same) {
    m_fields.clear();
    for (size_t i = 0; i < columns.size(); ++i)
      m_fields.push_back(std::make_unique<TField>(*this, i, columns[i].Name, columns[i].Type));
  }
  m_row = 0;
}

void TQuery::Close() {
  // The fields stay for a reopen on the same columns; a closed query gives none of them out.
  m_result.reset();
  m_row = 0;
}

bool TQuery::Eof() const { return !m_result || m_row >= m_result->RowCount; }

void TQuery::Next() {
  if (Eof()) throw EDatabaseError("Either BOF or EOF is True: no current row to move from.");
  ++m_row;
}

TField& TQuery::FieldByName(std::string_view name) {
  if (!m_result) throw EDatabaseError("Operation is not allowed when the query is closed: field '" + std::string(name) + "'.");
  for (auto& field : m_fields)
    if (SameText(field->FieldName(), name)) return *field;
  throw EDatabaseError("Item cannot be found in the collection corresponding to the requested name: '" +
                       std::string(name) + "'.");
}

const TJetValue& TQuery::CurrentValue(size_t column) const {
  if (Eof()) throw EDatabaseError("Either BOF or EOF is True, or the current record has been deleted.");
  return m_result->Cells[m_row * m_result->Columns.size() + column];
}

}  // namespace vandrel
