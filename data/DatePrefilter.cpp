#include "data/DatePrefilter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "data/JetFunctions.h"
#include "data/JetSqlParser.h"
#include "data/JetSqlTranslator.h"
#include "platform/core/DateTime.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

// The day counts the date functions accept (exclusive bounds); outside them they raise.
constexpr double kBeforeFirstDay = -657435.0, kAfterLastDay = 2958466.0;

std::string Real(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, end);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

bool ConstantDate(const TSqlExpr& e, double& value) {
  switch (e.Kind) {
    case TSqlExpr::ekNumber:
      value = e.Number;
      return std::isfinite(value);
    case TSqlExpr::ekDate:
    case TSqlExpr::ekString:
      return ParseJetDateLiteral(e.Text, value);
    default:
      return false;
  }
}

bool WholeCount(const TSqlExpr& e, long& count) {
  double v;
  if (e.Kind == TSqlExpr::ekNumber) v = e.Number;
  else if (e.Kind == TSqlExpr::ekUnary && e.Op == "-" && e.Args[0]->Kind == TSqlExpr::ekNumber) v = -e.Args[0]->Number;
  else return false;
  if (!std::isfinite(v) || std::fabs(v) > 100000) return false;
  count = std::lround(v);
  return true;
}

bool IsFunction(const TSqlExpr& e, const char* name, size_t args) {
  return e.Kind == TSqlExpr::ekFunction && SameText(e.Text, name) && e.Args.size() == args;
}

int Digits(const std::string& t, size_t from, size_t count) {
  int v = 0;
  for (size_t i = from; i < from + count; ++i) {
    if (t[i] < '0' || t[i] > '9') return -1;
    v = v * 10 + (t[i] - '0');
  }
  return v;
}

// The days [first, end) whose format(day, pattern) is `text`; false when no valid day gives it.
bool PeriodOf(const std::string& pattern, const std::string& text, double& first, double& end) {
  int y = -1, m = 1, d = 1;
  enum { kYear, kMonth, kDay } unit;
  if (pattern == "yyyy" && text.size() == 4) {
    y = Digits(text, 0, 4);
    unit = kYear;
  } else if (pattern == "yyyy-mm" && text.size() == 7 && text[4] == '-') {
    y = Digits(text, 0, 4), m = Digits(text, 5, 2);
    unit = kMonth;
  } else if (pattern == "yyyy-mm-dd" && text.size() == 10 && text[4] == '-' && text[7] == '-') {
    y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
    unit = kDay;
  } else {
    return false;
  }
  TDateTime a, b;
  if (y < 100 || !TryEncodeDate(y, m, d, a)) return false;
  first = a;
  const bool next = unit == kDay    ? TryEncodeDate(y, m, d, b) && (b += 1, true)
                    : unit == kMonth ? TryEncodeDate(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1, b)
                                     : TryEncodeDate(y + 1, 1, 1, b);
  end = next ? b : kAfterLastDay;  // the last period runs to the end of the range
  return true;
}

std::string Mirror(const std::string& op) {
  if (op == "<") return ">";
  if (op == ">") return "<";
  if (op == "<=") return ">=";
  if (op == ">=") return "<=";
  return op;
}

}  // namespace

std::string DatePrefilter(const TSqlExpr& e, const std::function<std::string(const TSqlExpr&)>& dateColumnSql) {
  if (e.Kind != TSqlExpr::ekBinary || e.Args.size() != 2) return "";
  for (size_t side = 0; side < 2; ++side) {
    const TSqlExpr& f = *e.Args[side];
    const TSqlExpr& other = *e.Args[1 - side];
    const std::string op = side == 0 ? e.Op : Mirror(e.Op);  // as in "f op other"
    if (IsFunction(f, "DateAdd", 3) && f.Args[0]->Kind == TSqlExpr::ekString && LowerCase(Trim(f.Args[0]->Text)) == "d") {
      long n;
      double c;
      const std::string x = dateColumnSql(*f.Args[2]);
      if (x.empty() || !WholeCount(*f.Args[1], n) || !ConstantDate(other, c)) continue;
      // DateAdd('d', n, x) lies within 2 days of x + n (less on negative day counts, whose time
      // runs the other way). Values near the ends of the range, where x or the sum is no date,
      // always go through to the function and its error. What is kept out is one closed range
      // per bound, tested with one read of the column (NULL stays NULL).
      const double slack = 3.0 + double(std::labs(n));
      const double first = kBeforeFirstDay + slack, last = kAfterLastDay - slack;
      std::string pre;
      auto keepOut = [&](double low, double high) {
        pre += (pre.empty() ? "" : " AND ") + ("(NOT (" + x + " BETWEEN " + Real(low) + " AND " + Real(high) + "))");
      };
      if (op == "<" || op == "<=" || op == "=") keepOut(std::max(c - double(n) + 3.0, first), last);
      if (op == ">" || op == ">=" || op == "=") keepOut(first, std::min(c - double(n) - 3.0, last));
      return "(" + pre + ")";
    }
    if (IsFunction(f, "format", 2) && op == "=" && f.Args[1]->Kind == TSqlExpr::ekString &&
        other.Kind == TSqlExpr::ekString) {
      double first, end;
      const std::string x = dateColumnSql(*f.Args[0]);
      if (x.empty() || !PeriodOf(f.Args[1]->Text, other.Text, first, end)) continue;
      // format reads the day of the truncated day count: the days first..end-1 come from the
      // values strictly between first-1 and end (the bounds themselves are let through: whole
      // numbers, read by SQLite exactly, and the comparison itself still follows). Values that
      // are no date never equal the text.
      return "(" + x + " BETWEEN " + Real(first - 1.0) + " AND " + Real(end) + ")";
    }
  }
  return "";
}

bool DateKeyTerm(const TSqlExpr& e, const std::function<std::string(const TSqlExpr&)>& dateColumnSql,
                 TDateKeyTerm& term) {
  if (e.Kind != TSqlExpr::ekBinary || e.Op != "=" || e.Args.size() != 2) return false;
  for (size_t side = 0; side < 2; ++side) {
    const TSqlExpr& f = *e.Args[side];
    const TSqlExpr& g = *e.Args[1 - side];
    if (!IsFunction(f, "format", 2) || !IsFunction(g, "format", 2)) return false;
    if (f.Args[1]->Kind != TSqlExpr::ekString || g.Args[1]->Kind != TSqlExpr::ekString ||
        f.Args[1]->Text != g.Args[1]->Text)
      return false;
    double c;
    long long key;
    if (dateColumnSql(*f.Args[0]).empty() || (g.Args[0]->Kind != TSqlExpr::ekDate && g.Args[0]->Kind != TSqlExpr::ekString) ||
        !ConstantDate(*g.Args[0], c) || !JetDateKey(f.Args[1]->Text, c, key))
      continue;
    term = {f.Args[0].get(), f.Args[1]->Text, key};
    return true;
  }
  return false;
}

std::string DateKeyComparison(const std::string& columnSql, const TDateKeyTerm& term) {
  return "(jet_datekey(" + columnSql + ", '" + term.Pattern + "') = " + std::to_string(term.Key) + ")";
}

}  // namespace vandrel
