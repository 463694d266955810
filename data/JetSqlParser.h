// The Jet SQL the reminder queries send, parsed into a small tree: SELECT [DISTINCT] with
// `*`, `table.*` and expressions, FROM with nested parenthesised INNER/LEFT/RIGHT joins, WHERE
// and ORDER BY. Expressions follow Jet's operator precedence (Mod binds more loosely than `*`,
// `\` and `/`), with `#...#` date literals and `[bracketed]` names.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel {

struct TSqlExpr {
  enum TKind {
    ekNumber,    // Text holds the digits as written
    ekString,
    ekDate,      // Text holds what stood between the #s
    ekBoolean,   // Number -1 or 0
    ekNull,
    ekColumn,    // Qualifier.Text
    ekUnary,     // Op: "-", "+", "NOT"
    ekBinary,    // Op: OR AND = <> < > <= >= LIKE & + - MOD \ * / ^
    ekFunction,  // Text: the name as written
    ekIsNull,    // Negated for IS NOT NULL
    ekBetween,   // Args: value, low, high
    ekIn,        // Args: value, then the list
  };
  TKind Kind = ekNull;
  std::string Op;
  std::string Text;
  std::string Qualifier;
  double Number = 0;
  bool IsInteger = false;
  bool Negated = false;
  std::vector<std::unique_ptr<TSqlExpr>> Args;
};

struct TSqlSelectItem {
  bool Star = false;
  std::string StarTable;  // empty for a plain `*`
  std::unique_ptr<TSqlExpr> Expr;
  std::string Alias;
};

struct TSqlFrom {
  bool IsJoin = false;
  std::string Table;
  std::string Alias;
  std::string JoinType;  // INNER, LEFT, RIGHT
  std::unique_ptr<TSqlFrom> Left;
  std::unique_ptr<TSqlFrom> Right;
  std::unique_ptr<TSqlExpr> On;
};

struct TSqlOrderItem {
  std::unique_ptr<TSqlExpr> Expr;
  bool Descending = false;
};

struct TSqlSelect {
  bool Distinct = false;
  std::vector<TSqlSelectItem> Items;
  // Comma-separated sources are a cross join.
  std::vector<std::unique_ptr<TSqlFrom>> From;
  std::unique_ptr<TSqlExpr> Where;
  std::vector<TSqlOrderItem> OrderBy;
};

// Raises EDatabaseError with the SQL text in the message.
TSqlSelect ParseJetSelect(std::string_view sql);

}  // namespace vandrel
