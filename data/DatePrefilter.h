// A cheap condition to run before a costly date comparison. For a comparison of a date function
// of a Date/Time column with a constant (DateAdd('d', n, column) against a date, or
// format(column, 'yyyy-mm') equal to a text), a plain range on the column that holds wherever the
// comparison holds, is NULL exactly where the column is NULL, and lets through every value the
// function would reject, so an error stays an error. SQLite then calls the function only for the
// rows in the range: the month and week queries scan the largest tables with one call per row.
#pragma once

#include <functional>
#include <string>

namespace vandrel {

struct TSqlExpr;

// `dateColumnSql` gives the SQL of a column reference of Date/Time type, or "" for anything else.
// Returns "" when the comparison has no such form.
std::string DatePrefilter(const TSqlExpr& comparison, const std::function<std::string(const TSqlExpr&)>& dateColumnSql);

// format(date column, P) = format(constant date, P) for the patterns of the birthday queries
// ('mm', 'mm:dd', ...) as one number compared with another (see JetDateKey): the same rows
// without building and comparing a text per row.
struct TDateKeyTerm {
  const TSqlExpr* Column = nullptr;  // the date column's reference
  std::string Pattern;
  long long Key = 0;
};
// False when the comparison has no such form.
bool DateKeyTerm(const TSqlExpr& comparison, const std::function<std::string(const TSqlExpr&)>& dateColumnSql,
                 TDateKeyTerm& term);
// The SQL of one such comparison, given the column's: "(jet_datekey(column, 'P') = key)".
std::string DateKeyComparison(const std::string& columnSql, const TDateKeyTerm& term);

}  // namespace vandrel
