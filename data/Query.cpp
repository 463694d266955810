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
  for (size_t i = 0; i < m_result->Columns.size(); ++i)
    m_fields.push_back(std::make_unique<TField>(*this, i, m_result->Columns[i].Name, m_result->Columns[i].Type));
  m_row = 0;
}

void TQuery::Close() {
  m_result.reset();
  m_fields.clear();
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
