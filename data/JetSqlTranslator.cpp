#include "data/JetSqlTranslator.h"
#include "data/SqlName.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

#include "data/DatabaseError.h"
#include "data/DatePrefilter.h"
#include "data/JetSqlParser.h"
#include "platform/core/DateFormat.h"
#include "platform/core/DateTime.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

std::string QuoteText(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += "''";
    else out.push_back(c);
  }
  return out + "'";
}

std::string RealLiteral(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, end);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

bool ParseNumbers(std::string_view text, size_t& i, int (&parts)[3], int& count, char& sep) {
  count = 0;
  sep = 0;
  while (count < 3) {
    if (i >= text.size() || !std::isdigit((unsigned char)text[i])) return false;
    long v = 0;
    int digits = 0;
    while (i < text.size() && std::isdigit((unsigned char)text[i]) && digits < 9) {
      v = v * 10 + (text[i++] - '0');
      ++digits;
    }
    parts[count++] = int(v);
    if (count == 3 || i >= text.size()) break;
    const char c = text[i];
    if (c != '-' && c != '/' && c != '.') break;
    if (sep && c != sep) return false;
    sep = c;
    ++i;
  }
  return true;
}

bool IsPredicate(const TSqlExpr& e) {
  switch (e.Kind) {
    case TSqlExpr::ekIsNull:
    case TSqlExpr::ekBetween:
    case TSqlExpr::ekIn:
      return true;
    case TSqlExpr::ekUnary:
      return e.Op == "NOT";
    case TSqlExpr::ekBinary:
      return e.Op == "OR" || e.Op == "XOR" || e.Op == "AND" || e.Op == "=" || e.Op == "<>" ||
             e.Op == "<" || e.Op == ">" || e.Op == "<=" || e.Op == ">=" || e.Op == "LIKE";
    case TSqlExpr::ekFunction:
      return SameText(e.Text, "IsNull");
    default:
      return false;
  }
}

struct TSource {
  std::string Ref;
  const TSqlTableSchema* Schema = nullptr;
};

struct TEmitted {
  std::string Sql;
  TJetType Type = TJetType::jtUnknown;
};

class TTranslator {
 public:
  TTranslator(std::string_view sql, const TSqlSchemaLookup& schema) : m_sql(sql), m_schema(schema) {}

  TTranslatedQuery Run() {
    TSqlSelect s = ParseJetSelect(m_sql);
    TTranslatedQuery out;
    std::string from;
    for (size_t i = 0; i < s.From.size(); ++i) {
      if (i) from += ", ";
      from += From(*s.From[i]);
    }
    for (const auto& src : m_sources) out.Tables.push_back(src.Schema->Name);

    std::string list;
    auto add = [&](const std::string& sql, const std::string& name, TJetType type) {
      if (!list.empty()) list += ", ";
      list += sql + " AS " + QuoteName("c" + std::to_string(out.Columns.size()));
      out.Columns.push_back({name, type});
    };
    size_t exprCount = 0;
    for (auto& item : s.Items) {
      if (item.Star) {
        bool found = false;
        for (const auto& src : m_sources) {
          if (!item.StarTable.empty() && !SameText(src.Ref, item.StarTable) &&
              !SameText(src.Schema->Name, item.StarTable))
            continue;
          found = true;
          for (const auto& col : src.Schema->Columns)
            add(QuoteName(src.Ref) + "." + QuoteName(col.Name), col.Name, col.Type);
        }
        if (!found) Fail("unknown table '" + item.StarTable + "' in " + item.StarTable + ".*");
        continue;
      }
      TEmitted e = Value(*item.Expr);
      std::string name = item.Alias;
      if (name.empty()) {
        if (item.Expr->Kind == TSqlExpr::ekColumn) name = ColumnName(*item.Expr);
        else name = "Expr" + std::to_string(1000 + exprCount++);
      }
      m_aliases.push_back({name, out.Columns.size()});
      add(e.Sql, name, e.Type);
    }

    out.Sql = std::string("SELECT ") + (s.Distinct ? "DISTINCT " : "") + list + " FROM " + from;
    if (s.Where) out.Sql += " WHERE " + Where(*s.Where);
    out.JoinColumns = LookupColumns();
    if (!s.OrderBy.empty()) {
      out.Sql += " ORDER BY ";
      for (size_t i = 0; i < s.OrderBy.size(); ++i) {
        if (i) out.Sql += ", ";
        out.Sql += OrderTerm(*s.OrderBy[i].Expr);
        if (s.OrderBy[i].Descending) out.Sql += " DESC";
      }
    }
    return out;
  }

 private:
  std::string_view m_sql;
  const TSqlSchemaLookup& m_schema;
  std::vector<TSource> m_sources;
  std::vector<std::pair<std::string, size_t>> m_aliases;
  struct TJoinEdge {
    size_t Source[2];
    const TJetColumn* Column[2];
  };
  std::vector<TJoinEdge> m_joinEdges;
  std::set<std::string> m_refs;
  std::set<std::string> m_filteredRefs;

  [[noreturn]] void Fail(const std::string& what) const {
    throw EDatabaseError(what + " in query: " + std::string(m_sql));
  }

  std::string From(const TSqlFrom& f) {
    if (!f.IsJoin) {
      const TSqlTableSchema& schema = m_schema(f.Table);
      const std::string ref = f.Alias.empty() ? schema.Name : f.Alias;
      for (const auto& src : m_sources)
        if (SameText(src.Ref, ref)) Fail("table '" + ref + "' named twice in the FROM clause");
      m_sources.push_back({ref, &schema});
      return QuoteName(schema.Database) + "." + QuoteName(schema.Name) + " AS " + QuoteName(ref);
    }
    std::string left = From(*f.Left);
    std::string right = From(*f.Right);
    if (f.Right->IsJoin) right = "(" + right + ")";
    const std::string on = Emit(*f.On).Sql;
    CollectJoinColumns(*f.On);
    return left + " " + f.JoinType + " JOIN " + right + " ON " + on;
  }

  // The operands of a chain of one operator ("AND" or "OR"), in order.
  static void Operands(const TSqlExpr& e, const char* op, std::vector<const TSqlExpr*>& out) {
    if (e.Kind == TSqlExpr::ekBinary && e.Op == op) {
      Operands(*e.Args[0], op, out);
      Operands(*e.Args[1], op, out);
    } else {
      out.push_back(&e);
    }
  }

  // Whether evaluating the expression can raise an error: a function of a column (but format,
  // which gives back what it cannot format), or a division. A function of constants only is
  // worked out once before the rows are read.
  static bool MayRaise(const TSqlExpr& e) {
    if (e.Kind == TSqlExpr::ekFunction && !SameText(e.Text, "format") && HasColumn(e)) return true;
    if (e.Kind == TSqlExpr::ekBinary && (e.Op == "MOD" || e.Op == "\\" || e.Op == "/" || e.Op == "^")) return true;
    for (const auto& arg : e.Args)
      if (MayRaise(*arg)) return true;
    return false;
  }

  static bool HasColumn(const TSqlExpr& e) {
    if (e.Kind == TSqlExpr::ekColumn) return true;
    for (const auto& arg : e.Args)
      if (HasColumn(*arg)) return true;
    return false;
  }

  // How few rows a condition probably keeps: 0 for a date column equal to a constant (one day
  // of many) or formatted equal to one (a day, month or year, tested as a range first), 1 for
  // another column equal to a constant, 2 for the rest (ranges, flags, NULL tests), which keep
  // most rows of these tables.
  int Rank(const TSqlExpr& e) {
    if (e.Kind == TSqlExpr::ekBinary && e.Op == "OR")
      return std::max(Rank(*e.Args[0]), Rank(*e.Args[1]));
    if (e.Kind != TSqlExpr::ekBinary || e.Op != "=") return 2;
    for (size_t side = 0; side < 2; ++side) {
      const TSqlExpr& f = *e.Args[side];
      if (f.Kind == TSqlExpr::ekFunction && SameText(f.Text, "format") && f.Args.size() == 2 &&
          !DateColumnSql(*f.Args[0]).empty() && !HasColumn(*f.Args[1]) && !HasColumn(*e.Args[1 - side]))
        return 0;
    }
    for (size_t side = 0; side < 2; ++side) {
      const TSqlExpr& c = *e.Args[side];
      if (c.Kind != TSqlExpr::ekColumn || HasColumn(*e.Args[1 - side])) continue;
      const TSource* src = nullptr;
      const TJetColumn* col = Resolve(c, src, false);
      if (!col || col->Type == TJetType::jtBoolean) return 2;
      return col->Type == TJetType::jtDateTime ? 0 : 1;
    }
    return 2;
  }

  // SQLite tests the conditions of a scan in the order written, and a scan's cost is mostly
  // reading the columns they test: the reminder queries put their general conditions (active,
  // not yet disabled: true of almost every row) before the one that picks the day. Where no
  // condition can raise an error, the order cannot change the answer, and the likely few rows
  // are picked first.
  // SQLite cannot estimate how many rows a condition on Jet functions keeps, and would start a
  // join from the wrong table (a 300,000-row join instead of a scan of the one filtered table).
  // A condition on one table of a join is declared selective, which makes that table the outer
  // loop; the value of the condition is unchanged.
  std::string Where(const TSqlExpr& where) {
    std::vector<const TSqlExpr*> terms;
    Operands(where, "AND", terms);
    if (std::none_of(terms.begin(), terms.end(), [](const TSqlExpr* t) { return MayRaise(*t); })) {
      std::vector<std::pair<int, const TSqlExpr*>> ranked;
      for (const TSqlExpr* term : terms) ranked.emplace_back(Rank(*term), term);
      std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
      for (size_t i = 0; i < terms.size(); ++i) terms[i] = ranked[i].second;
    }
    std::string sql;
    for (const TSqlExpr* term : terms) {
      m_refs.clear();
      std::string t = Emit(*term).Sql;
      if (m_sources.size() >= 2) {
        if (m_refs.size() == 1) {
          t = "likelihood(" + t + ", 0.001)";
          m_filteredRefs.insert(*m_refs.begin());
        } else if (term->Kind == TSqlExpr::ekBinary) {
          CollectJoinColumns(*term);
        }
      }
      sql += (sql.empty() ? "" : " AND ") + t;
    }
    return sql;
  }

  void CollectJoinColumns(const TSqlExpr& e) {
    if (e.Kind != TSqlExpr::ekBinary) return;
    if (e.Op == "AND") {
      CollectJoinColumns(*e.Args[0]);
      CollectJoinColumns(*e.Args[1]);
    } else if (e.Op == "=" && e.Args[0]->Kind == TSqlExpr::ekColumn && e.Args[1]->Kind == TSqlExpr::ekColumn) {
      TJoinEdge edge{};
      for (size_t i = 0; i < 2; ++i) {
        const TSource* src = nullptr;
        edge.Column[i] = Resolve(*e.Args[i], src, false);
        if (!edge.Column[i]) return;
        edge.Source[i] = size_t(src - m_sources.data());
      }
      if (edge.Source[0] != edge.Source[1]) m_joinEdges.push_back(edge);
    }
  }

  // The tables a join reaches by lookups, with the column each is looked up by. The filtered
  // tables are the outer loops (see Where), or else the first table; every other table is
  // reached over a join condition from a table reached before it. Indexing the outer tables
  // would cost a sort of the largest tables for nothing.
  std::vector<std::pair<std::string, std::string>> LookupColumns() const {
    std::vector<std::pair<std::string, std::string>> out;
    if (m_sources.size() < 2 || m_joinEdges.empty()) return out;
    std::vector<bool> reached(m_sources.size(), false);
    for (size_t i = 0; i < m_sources.size(); ++i) reached[i] = m_filteredRefs.count(m_sources[i].Ref) > 0;
    if (m_filteredRefs.empty()) reached[0] = true;
    for (bool grew = true; grew;) {
      grew = false;
      for (const TJoinEdge& edge : m_joinEdges) {
        for (size_t side = 0; side < 2; ++side) {
          const size_t from = edge.Source[side], to = edge.Source[1 - side];
          if (!reached[from] || reached[to]) continue;
          reached[to] = true;
          grew = true;
          out.emplace_back(m_sources[to].Schema->Name, edge.Column[1 - side]->Name);
        }
      }
    }
    return out;
  }

  std::string DateColumnSql(const TSqlExpr& e) {
    const TSource* src = nullptr;
    if (e.Kind != TSqlExpr::ekColumn) return "";
    const TJetColumn* col = Resolve(e, src, false);
    if (!col || col->Type != TJetType::jtDateTime) return "";
    return QuoteName(src->Ref) + "." + QuoteName(col->Name);
  }

  std::string ColumnName(const TSqlExpr& e) {
    const TSource* src = nullptr;
    const TJetColumn* col = Resolve(e, src, true);
    return col->Name;
  }

  const TJetColumn* Resolve(const TSqlExpr& e, const TSource*& source, bool required) {
    const TJetColumn* found = nullptr;
    for (const auto& src : m_sources) {
      if (!e.Qualifier.empty() && !SameText(src.Ref, e.Qualifier) && !SameText(src.Schema->Name, e.Qualifier))
        continue;
      for (const auto& col : src.Schema->Columns) {
        if (!SameText(col.Name, e.Text)) continue;
        if (found)
          Fail("The field '" + e.Text + "' could refer to more than one table listed in the FROM clause");
        found = &col;
        source = &src;
      }
    }
    if (!found && required) {
      const std::string full = e.Qualifier.empty() ? e.Text : e.Qualifier + "." + e.Text;
      Fail("No value given for one or more required parameters: unknown column '" + full + "'");
    }
    return found;
  }

  std::string OrderTerm(const TSqlExpr& e) {
    if (e.Kind == TSqlExpr::ekColumn) {
      const TSource* src = nullptr;
      if (const TJetColumn* col = Resolve(e, src, e.Qualifier.empty() ? false : true))
        return QuoteName(src->Ref) + "." + QuoteName(col->Name);
      for (const auto& [alias, index] : m_aliases)
        if (SameText(alias, e.Text)) return QuoteName("c" + std::to_string(index));
      Resolve(e, src, true);
    }
    return Emit(e).Sql;
  }

  // A predicate used as a value gives Jet's -1 for true.
  TEmitted Value(const TSqlExpr& e) {
    TEmitted v = Emit(e);
    if (IsPredicate(e)) v.Sql = "(-(" + v.Sql + "))";
    return v;
  }

  static TJetType NumericResult(TJetType a, TJetType b) {
    if (a == TJetType::jtNull) return b;
    if (b == TJetType::jtNull) return a;
    if (IsJetWholeNumber(a) && IsJetWholeNumber(b)) return TJetType::jtLong;
    if ((a == TJetType::jtCurrency || IsJetWholeNumber(a)) &&
        (b == TJetType::jtCurrency || IsJetWholeNumber(b)))
      return TJetType::jtCurrency;
    return TJetType::jtDouble;
  }

  std::string AsText(const TEmitted& v) {
    if (IsJetText(v.Type) || v.Type == TJetType::jtNull) return v.Sql;
    return "jet_text(" + v.Sql + ", " + std::to_string(int(v.Type)) + ")";
  }

  // A text literal compared with a date column means the date it names, as Jet converts it.
  TEmitted Coerced(const TSqlExpr& e, TJetType other) {
    if (e.Kind == TSqlExpr::ekString && other == TJetType::jtDateTime) {
      double d;
      if (ParseJetDateLiteral(e.Text, d)) return {RealLiteral(d), TJetType::jtDateTime};
    }
    return Value(e);
  }

  TEmitted Emit(const TSqlExpr& e) {
    using K = TSqlExpr;
    switch (e.Kind) {
      case K::ekNumber:
        if (e.IsInteger && e.Number <= 2147483647.0) return {e.Text, TJetType::jtLong};
        return {RealLiteral(e.Number), TJetType::jtDouble};
      case K::ekString:
        return {QuoteText(e.Text), TJetType::jtText};
      case K::ekDate: {
        double d;
        if (!ParseJetDateLiteral(e.Text, d)) Fail("Syntax error in date '#" + e.Text + "#'");
        return {RealLiteral(d), TJetType::jtDateTime};
      }
      case K::ekBoolean:
        return {e.Number ? "-1" : "0", TJetType::jtBoolean};
      case K::ekNull:
        return {"NULL", TJetType::jtNull};
      case K::ekColumn: {
        const TSource* src = nullptr;
        const TJetColumn* col = Resolve(e, src, true);
        m_refs.insert(src->Ref);
        return {QuoteName(src->Ref) + "." + QuoteName(col->Name), col->Type};
      }
      case K::ekUnary: {
        if (e.Op == "NOT") return {"(NOT " + Emit(*e.Args[0]).Sql + ")", TJetType::jtBoolean};
        TEmitted a = Value(*e.Args[0]);
        if (e.Op == "+") return a;
        const TJetType t = a.Type == TJetType::jtBoolean ? TJetType::jtInteger : a.Type;
        return {"(-" + a.Sql + ")", t};
      }
      case K::ekIsNull:
        return {"(" + Emit(*e.Args[0]).Sql + (e.Negated ? " IS NOT NULL)" : " IS NULL)"),
                TJetType::jtBoolean};
      case K::ekBetween: {
        TEmitted v = Value(*e.Args[0]);
        const std::string sql = "(" + v.Sql + (e.Negated ? " NOT" : "") + " BETWEEN " +
                                Coerced(*e.Args[1], v.Type).Sql + " AND " +
                                Coerced(*e.Args[2], v.Type).Sql + ")";
        return {sql, TJetType::jtBoolean};
      }
      case K::ekIn: {
        TEmitted v = Value(*e.Args[0]);
        std::string sql = "(" + v.Sql + (e.Negated ? " NOT IN (" : " IN (");
        for (size_t i = 1; i < e.Args.size(); ++i) sql += (i > 1 ? ", " : "") + Coerced(*e.Args[i], v.Type).Sql;
        return {sql + "))", TJetType::jtBoolean};
      }
      case K::ekBinary:
        return Binary(e);
      case K::ekFunction:
        return Function(e);
    }
    Fail("unsupported expression");
  }

  TEmitted Binary(const TSqlExpr& e) {
    const std::string& op = e.Op;
    if (op == "OR") return AnyOf(e);
    if (op == "AND") {
      return {"(" + Emit(*e.Args[0]).Sql + " AND " + Emit(*e.Args[1]).Sql + ")", TJetType::jtBoolean};
    }
    if (op == "XOR") {
      return {"((" + Emit(*e.Args[0]).Sql + ") <> (" + Emit(*e.Args[1]).Sql + "))", TJetType::jtBoolean};
    }
    if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
      TEmitted a = Value(*e.Args[0]);
      TEmitted b = Coerced(*e.Args[1], a.Type);
      if (e.Args[0]->Kind == TSqlExpr::ekString) a = Coerced(*e.Args[0], b.Type);
      std::string sql = "(" + a.Sql + " " + op + " " + b.Sql + ")";
      const auto dateColumn = [this](const TSqlExpr& c) { return DateColumnSql(c); };
      if (TDateKeyTerm term; DateKeyTerm(e, dateColumn, term))
        return {DateKeyComparison(Emit(*term.Column).Sql, term), TJetType::jtBoolean};
      const std::string pre = DatePrefilter(e, dateColumn);
      if (!pre.empty()) sql = "(" + pre + " AND " + sql + ")";
      return {sql, TJetType::jtBoolean};
    }
    if (op == "LIKE") {
      TEmitted a = Value(*e.Args[0]);
      TEmitted b = Value(*e.Args[1]);
      return {"(" + AsText(a) + (e.Negated ? " NOT LIKE " : " LIKE ") + AsText(b) + ")",
              TJetType::jtBoolean};
    }
    TEmitted a = Value(*e.Args[0]);
    TEmitted b = Value(*e.Args[1]);
    if (op == "&") {
      return {"(CASE WHEN " + a.Sql + " IS NULL AND " + b.Sql + " IS NULL THEN NULL ELSE ifnull(" +
                  AsText(a) + ", '') || ifnull(" + AsText(b) + ", '') END)",
              TJetType::jtText};
    }
    if (op == "+" && IsJetText(a.Type) && IsJetText(b.Type))
      return {"(" + a.Sql + " || " + b.Sql + ")", TJetType::jtText};
    if (op == "+" || op == "-") {
      TJetType t = NumericResult(a.Type, b.Type);
      if (a.Type == TJetType::jtDateTime && b.Type == TJetType::jtDateTime)
        t = op == "-" ? TJetType::jtDouble : TJetType::jtDateTime;
      else if (a.Type == TJetType::jtDateTime || b.Type == TJetType::jtDateTime)
        t = TJetType::jtDateTime;
      return {"(" + a.Sql + " " + op + " " + b.Sql + ")", t};
    }
    if (op == "*") return {"(" + a.Sql + " * " + b.Sql + ")", NumericResult(a.Type, b.Type)};
    if (op == "/") return {"(CAST(" + a.Sql + " AS REAL) / " + b.Sql + ")", TJetType::jtDouble};
    if (op == "\\") return {"jet_intdiv(" + a.Sql + ", " + b.Sql + ")", TJetType::jtLong};
    if (op == "MOD") {
      // Whole numbers keep SQLite's operator (and so its speed); Jet rounds anything else first.
      if (IsJetWholeNumber(a.Type) && IsJetWholeNumber(b.Type))
        return {"(" + a.Sql + " % " + b.Sql + ")", TJetType::jtLong};
      return {"jet_mod(" + a.Sql + ", " + b.Sql + ")", TJetType::jtLong};
    }
    if (op == "^") return {"jet_power(" + a.Sql + ", " + b.Sql + ")", TJetType::jtDouble};
    Fail("unsupported operator " + op);
  }

  // A text column compared with a text literal; false for anything else.
  bool TextEquality(const TSqlExpr& e, const TSqlExpr*& column, std::string& text) {
    if (e.Kind != TSqlExpr::ekBinary || e.Op != "=" || e.Args.size() != 2) return false;
    for (size_t side = 0; side < 2; ++side) {
      const TSqlExpr& c = *e.Args[side];
      const TSqlExpr& t = *e.Args[1 - side];
      const TSource* src = nullptr;
      if (c.Kind != TSqlExpr::ekColumn || t.Kind != TSqlExpr::ekString) continue;
      const TJetColumn* col = Resolve(c, src, false);
      if (!col || !IsJetText(col->Type)) continue;
      column = &c;
      text = t.Text;
      return true;
    }
    return false;
  }

  // An OR of comparisons: those of several date columns with one date key, or of several text
  // columns with one text, become one call each (with the same NULLs as the ORs). The birthday
  // queries test five date and five text columns in every row of the largest tables, and a
  // call or comparison per column is most of what they cost.
  TEmitted AnyOf(const TSqlExpr& e) {
    std::vector<const TSqlExpr*> terms;
    Operands(e, "OR", terms);
    struct TGroup {
      std::string Head;  // the call up to its column arguments
      std::vector<const TSqlExpr*> Columns;
      const TSqlExpr* First = nullptr;  // emitted as it is when alone
    };
    std::vector<TGroup> groups;
    std::vector<std::pair<const TSqlExpr*, size_t>> order;  // a term, or the group it opens
    const auto dateColumn = [this](const TSqlExpr& c) { return DateColumnSql(c); };
    for (const TSqlExpr* term : terms) {
      std::string head;
      const TSqlExpr* column = nullptr;
      std::string text;
      if (TDateKeyTerm key; DateKeyTerm(*term, dateColumn, key)) {
        head = "jet_datekey_any(" + QuoteText(key.Pattern) + ", " + std::to_string(key.Key);
        column = key.Column;
      } else if (TextEquality(*term, column, text)) {
        head = "jet_text_any(" + QuoteText(text);
      }
      if (head.empty()) {
        order.emplace_back(term, 0);
        continue;
      }
      auto it = std::find_if(groups.begin(), groups.end(), [&](const TGroup& g) { return g.Head == head; });
      if (it == groups.end()) {
        groups.push_back({head, {}, term});
        it = groups.end() - 1;
        order.emplace_back(nullptr, groups.size() - 1);
      }
      it->Columns.push_back(column);
    }
    std::string sql;
    for (const auto& [term, group] : order) {
      std::string t;
      if (term) {
        t = Emit(*term).Sql;
      } else if (groups[group].Columns.size() == 1) {
        t = Emit(*groups[group].First).Sql;
      } else {
        t = groups[group].Head;
        for (const TSqlExpr* column : groups[group].Columns) t += ", " + Emit(*column).Sql;
        t += ")";
      }
      sql += (sql.empty() ? "(" : " OR ") + t;
    }
    return {sql + ")", TJetType::jtBoolean};
  }

  void Arity(const TSqlExpr& e, size_t low, size_t high) {
    if (e.Args.size() < low || e.Args.size() > high)
      Fail("Wrong number of arguments used with function '" + e.Text + "'");
  }

  TEmitted Function(const TSqlExpr& e) {
    const std::string name = LowerCase(e.Text);
    if (name == "iif") {
      Arity(e, 3, 3);
      const std::string cond = Emit(*e.Args[0]).Sql;
      TEmitted a = Value(*e.Args[1]);
      TEmitted b = Value(*e.Args[2]);
      TJetType t = a.Type;
      if (a.Type == TJetType::jtNull) t = b.Type;
      else if (b.Type == TJetType::jtNull || a.Type == b.Type) t = a.Type;
      else if (IsJetText(a.Type) || IsJetText(b.Type)) t = TJetType::jtText;
      else if (IsJetNumeric(a.Type) && IsJetNumeric(b.Type)) t = NumericResult(a.Type, b.Type);
      else t = TJetType::jtUnknown;
      // A text branch makes the whole column text: the other branch is converted the way a
      // variant becomes text.
      if (t == TJetType::jtText) {
        a.Sql = AsText(a);
        b.Sql = AsText(b);
      }
      return {"(CASE WHEN " + cond + " THEN " + a.Sql + " ELSE " + b.Sql + " END)", t};
    }
    std::vector<TEmitted> args;
    for (const auto& a : e.Args) args.push_back(Value(*a));
    auto call = [&](const std::string& fn, TJetType t) {
      std::string sql = fn + "(";
      for (size_t i = 0; i < args.size(); ++i) sql += (i ? ", " : "") + args[i].Sql;
      return TEmitted{sql + ")", t};
    };
    if (name == "format") {
      Arity(e, 1, 2);
      if (args.size() == 1) return {AsText(args[0]), TJetType::jtText};
      return call("jet_format", TJetType::jtText);
    }
    if (name == "datediff") {
      Arity(e, 3, 5);
      args.resize(3);
      return call("jet_datediff", TJetType::jtLong);
    }
    if (name == "dateadd") {
      Arity(e, 3, 3);
      return call("jet_dateadd", TJetType::jtDateTime);
    }
    if (name == "datepart") {
      Arity(e, 2, 4);
      args.resize(2);
      return call("jet_datepart", TJetType::jtInteger);
    }
    static constexpr std::string_view kParts[] = {"year", "month", "day", "weekday", "hour", "minute", "second"};
    for (auto part : kParts) {
      if (name == part) {
        Arity(e, 1, part == "weekday" ? 2 : 1);
        args.resize(1);
        return call("jet_" + name, TJetType::jtInteger);
      }
    }
    if (name == "cdate" || name == "datevalue") {
      Arity(e, 1, 1);
      return call("jet_cdate", TJetType::jtDateTime);
    }
    if (name == "cstr") {
      Arity(e, 1, 1);
      return {AsText(args[0]), TJetType::jtText};
    }
    if (name == "clng" || name == "cint") {
      Arity(e, 1, 1);
      return {"CAST(round(" + args[0].Sql + ") AS INTEGER)", name == "clng" ? TJetType::jtLong : TJetType::jtInteger};
    }
    if (name == "cdbl") {
      Arity(e, 1, 1);
      return {"CAST(" + args[0].Sql + " AS REAL)", TJetType::jtDouble};
    }
    if (name == "nz") {
      Arity(e, 1, 2);
      const TJetType t = args[0].Type;
      if (args.size() == 1) return {"ifnull(" + args[0].Sql + ", '')", t};
      return {"ifnull(" + args[0].Sql + ", " + args[1].Sql + ")", t};
    }
    if (name == "isnull") {
      Arity(e, 1, 1);
      return {"(" + args[0].Sql + " IS NULL)", TJetType::jtBoolean};
    }
    if (name == "len") {
      Arity(e, 1, 1);
      return {"length(" + AsText(args[0]) + ")", TJetType::jtLong};
    }
    static constexpr std::pair<std::string_view, std::string_view> kText[] = {
        {"ucase", "upper"}, {"lcase", "lower"}, {"trim", "trim"}, {"ltrim", "ltrim"}, {"rtrim", "rtrim"}};
    for (auto [jet, sqlite] : kText) {
      if (name == jet) {
        Arity(e, 1, 1);
        return {std::string(sqlite) + "(" + AsText(args[0]) + ")", TJetType::jtText};
      }
    }
    if (name == "left") {
      Arity(e, 2, 2);
      return {"substr(" + AsText(args[0]) + ", 1, " + args[1].Sql + ")", TJetType::jtText};
    }
    if (name == "right") {
      Arity(e, 2, 2);
      return {"jet_right(" + AsText(args[0]) + ", " + args[1].Sql + ")", TJetType::jtText};
    }
    if (name == "mid") {
      Arity(e, 2, 3);
      std::string sql = "substr(" + AsText(args[0]) + ", " + args[1].Sql;
      if (args.size() == 3) sql += ", " + args[2].Sql;
      return {sql + ")", TJetType::jtText};
    }
    if (name == "abs") {
      Arity(e, 1, 1);
      return {"abs(" + args[0].Sql + ")", args[0].Type};
    }
    Fail("Undefined function '" + e.Text + "' in expression");
  }
};

void CollectTables(const TSqlFrom& f, std::vector<std::string>& out) {
  if (!f.IsJoin) {
    out.push_back(f.Table);
    return;
  }
  CollectTables(*f.Left, out);
  CollectTables(*f.Right, out);
}

}  // namespace

bool ParseJetDateLiteral(std::string_view text, double& value) {
  std::string t = Trim(text);
  size_t i = 0;
  int parts[3] = {0, 0, 0};
  int count = 0;
  char sep = 0;
  double date = 0;
  bool haveDate = false;
  const size_t timeStart = t.find(':');
  const bool onlyTime = timeStart != std::string::npos && t.find_first_of("-/.") == std::string::npos;
  if (!onlyTime) {
    if (!ParseNumbers(t, i, parts, count, sep) || count != 3) {
      // Not numeric: the regional short date form.
      TDateTime v;
      if (TryStrToDateTime(t, v)) {
        value = v;
        return true;
      }
      return false;
    }
    int y, m, d;
    const bool yearFirst = parts[0] > 31 || (i > 0 && t.find(sep) >= 3);
    if (yearFirst) {
      y = parts[0], m = parts[1], d = parts[2];
    } else if (sep == '/') {
      m = parts[0], d = parts[1], y = parts[2];
    } else {
      TDateTime v;
      if (!TryStrToDateTime(t, v)) return false;
      value = v;
      return true;
    }
    if (y < 100) y += y < 30 ? 2000 : 1900;
    TDateTime encoded;
    if (!TryEncodeDate(y, m, d, encoded)) return false;
    date = encoded;
    haveDate = true;
    while (i < t.size() && t[i] == ' ') ++i;
  }
  if (i >= t.size()) {
    value = date;
    return haveDate;
  }
  TDateTime time;
  std::string rest = t.substr(i);
  if (!TryStrToTime(rest, time)) return false;
  value = haveDate ? ComposeDateTime(date, time) : time;
  return true;
}

std::vector<std::string> JetSelectTables(std::string_view jetSql) {
  TSqlSelect s = ParseJetSelect(jetSql);
  std::vector<std::string> out;
  for (const auto& f : s.From) CollectTables(*f, out);
  return out;
}

TTranslatedQuery TranslateJetSelect(std::string_view jetSql, const TSqlSchemaLookup& schema) {
  return TTranslator(jetSql, schema).Run();
}

}  // namespace vandrel
