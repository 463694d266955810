// One column of a query's current row, with the Jet type of the column. Text rendering is the
// single rule every category uses: a date/time gives the regional short date, plus a blank and
// the long time when the time of day is not midnight; a boolean "True"/"False"; a number its
// shortest decimal text; null the empty text.
#pragma once

#include <string>

#include "data/JetType.h"
#include "platform/core/DateTime.h"

namespace vandrel {

class TQuery;
struct TJetValue;

class TField {
 public:
  TField(const TQuery& query, size_t index, std::string name, TJetType type)
      : m_query(&query), m_index(index), m_name(std::move(name)), m_type(type) {}

  const std::string& FieldName() const { return m_name; }
  TJetType DataType() const { return m_type; }

  bool IsNull() const;
  std::string AsString() const;
  // Appends the text AsString gives: a line built from many cells needs no string per cell.
  void AppendText(std::string& out) const;
  // A text value is parsed with the regional date and time formats (EConvertError if it is
  // none); null gives 0.
  TDateTime AsDateTime() const;

 private:
  const TJetValue& Value() const;

  const TQuery* m_query;
  size_t m_index;
  std::string m_name;
  TJetType m_type;
};

}  // namespace vandrel
