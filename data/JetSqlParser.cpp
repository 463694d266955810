#include "data/JetSqlParser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "data/DatabaseError.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

enum class TTok { tkEnd, tkWord, tkName, tkNumber, tkString, tkDate, tkSymbol };

struct TToken {
  TTok Kind = TTok::tkEnd;
  std::string Text;
  size_t Pos = 0;
};

bool IsWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

class TParser {
 public:
  explicit TParser(std::string_view sql) : m_sql(sql) { Tokenize(); }

  TSqlSelect Select() {
    TSqlSelect s;
    ExpectWord("SELECT");
    if (AcceptWord("DISTINCT")) s.Distinct = true;
    else AcceptWord("ALL");
    do s.Items.push_back(Item());
    while (AcceptSymbol(","));
    ExpectWord("FROM");
    do s.From.push_back(FromJoin());
    while (AcceptSymbol(","));
    if (AcceptWord("WHERE")) s.Where = Expr();
    if (AcceptWord("ORDER")) {
      ExpectWord("BY");
      do {
        TSqlOrderItem o;
        o.Expr = Expr();
        if (AcceptWord("DESC")) o.Descending = true;
        else AcceptWord("ASC");
        s.OrderBy.push_back(std::move(o));
      } while (AcceptSymbol(","));
    }
    AcceptSymbol(";");
    if (Peek().Kind != TTok::tkEnd) Fail("unexpected '" + Peek().Text + "'");
    return s;
  }

 private:
  std::string_view m_sql;
  std::vector<TToken> m_tokens;
  size_t m_pos = 0;
  int m_depth = 0;

  // Parentheses, NOT and signs nest by recursion; a limit keeps a hostile text from
  // exhausting the stack.
  static constexpr int kMaxDepth = 200;
  struct TDepth {
    TParser& parser;
    explicit TDepth(TParser& p) : parser(p) {
      if (++parser.m_depth > kMaxDepth) parser.Fail("expression nested too deeply");
    }
    ~TDepth() { --parser.m_depth; }
  };

  [[noreturn]] void Fail(const std::string& what) const {
    throw EDatabaseError("Syntax error (" + what + ") in query: " + std::string(m_sql));
  }

  void Tokenize() {
    size_t i = 0;
    const size_t n = m_sql.size();
    while (i < n) {
      const auto c = static_cast<unsigned char>(m_sql[i]);
      if (std::isspace(c)) {
        ++i;
        continue;
      }
      TToken t;
      t.Pos = i;
      if (c == '[') {
        const size_t end = m_sql.find(']', i + 1);
        if (end == std::string_view::npos) Fail("unclosed '['");
        t.Kind = TTok::tkName;
        t.Text = m_sql.substr(i + 1, end - i - 1);
        i = end + 1;
      } else if (c == '\'' || c == '"') {
        t.Kind = TTok::tkString;
        size_t j = i + 1;
        for (;;) {
          if (j >= n) Fail("unclosed text literal");
          if (m_sql[j] == char(c)) {
            if (j + 1 < n && m_sql[j + 1] == char(c)) {
              t.Text.push_back(char(c));
              j += 2;
              continue;
            }
            break;
          }
          t.Text.push_back(m_sql[j++]);
        }
        i = j + 1;
      } else if (c == '#') {
        const size_t end = m_sql.find('#', i + 1);
        if (end == std::string_view::npos) Fail("unclosed date literal");
        t.Kind = TTok::tkDate;
        t.Text = m_sql.substr(i + 1, end - i - 1);
        i = end + 1;
      } else if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit((unsigned char)m_sql[i + 1]))) {
        t.Kind = TTok::tkNumber;
        size_t j = i;
        while (j < n && (std::isdigit((unsigned char)m_sql[j]) || m_sql[j] == '.')) ++j;
        if (j < n && (m_sql[j] == 'e' || m_sql[j] == 'E')) {
          size_t k = j + 1;
          if (k < n && (m_sql[k] == '+' || m_sql[k] == '-')) ++k;
          if (k < n && std::isdigit((unsigned char)m_sql[k])) {
            j = k;
            while (j < n && std::isdigit((unsigned char)m_sql[j])) ++j;
          }
        }
        t.Text = m_sql.substr(i, j - i);
        i = j;
      } else if (IsWordStart(c)) {
        t.Kind = TTok::tkWord;
        size_t j = i;
        while (j < n && IsWordChar((unsigned char)m_sql[j])) ++j;
        t.Text = m_sql.substr(i, j - i);
        i = j;
      } else {
        t.Kind = TTok::tkSymbol;
        static constexpr std::string_view kTwo[] = {"<>", "<=", ">=", "!="};
        t.Text = std::string(1, char(c));
        for (auto two : kTwo)
          if (m_sql.substr(i, 2) == two) t.Text = two;
        if (std::string_view("(),.*=<>+-/\\&^;!").find(char(c)) == std::string_view::npos)
          Fail("unexpected character '" + t.Text + "'");
        i += t.Text.size();
      }
      m_tokens.push_back(std::move(t));
    }
    m_tokens.push_back({TTok::tkEnd, "end of text", n});
  }

  const TToken& Peek(size_t ahead = 0) const {
    return m_tokens[std::min(m_pos + ahead, m_tokens.size() - 1)];
  }
  TToken Take() {
    TToken t = Peek();
    if (m_pos < m_tokens.size() - 1) ++m_pos;
    return t;
  }
  bool IsWord(std::string_view w, size_t ahead = 0) const {
    return Peek(ahead).Kind == TTok::tkWord && SameText(Peek(ahead).Text, w);
  }
  bool IsSymbol(std::string_view s) const {
    return Peek().Kind == TTok::tkSymbol && Peek().Text == s;
  }
  bool AcceptWord(std::string_view w) {
    if (!IsWord(w)) return false;
    ++m_pos;
    return true;
  }
  bool AcceptSymbol(std::string_view s) {
    if (!IsSymbol(s)) return false;
    ++m_pos;
    return true;
  }
  void ExpectWord(std::string_view w) {
    if (!AcceptWord(w)) Fail("expected " + std::string(w) + " before '" + Peek().Text + "'");
  }
  void ExpectSymbol(std::string_view s) {
    if (!AcceptSymbol(s)) Fail("expected '" + std::string(s) + "' before '" + Peek().Text + "'");
  }

  static bool IsReserved(std::string_view w) {
    static constexpr std::string_view kReserved[] = {
        "SELECT", "FROM", "WHERE", "ORDER", "BY", "AS", "AND", "OR", "NOT", "LIKE", "IS",
        "NULL", "INNER", "LEFT", "RIGHT", "OUTER", "JOIN", "ON", "DISTINCT", "MOD", "BETWEEN",
        "IN", "ASC", "DESC", "GROUP", "HAVING", "UNION", "XOR"};
    for (auto r : kReserved)
      if (SameText(r, w)) return true;
    return false;
  }

  std::string Name() {
    const TToken& t = Peek();
    if (t.Kind == TTok::tkName || (t.Kind == TTok::tkWord && !IsReserved(t.Text))) return Take().Text;
    Fail("expected a name before '" + t.Text + "'");
  }

  TSqlSelectItem Item() {
    TSqlSelectItem item;
    if (AcceptSymbol("*")) {
      item.Star = true;
      return item;
    }
    if ((Peek().Kind == TTok::tkWord || Peek().Kind == TTok::tkName) && Peek(1).Kind == TTok::tkSymbol &&
        Peek(1).Text == "." && Peek(2).Kind == TTok::tkSymbol && Peek(2).Text == "*") {
      item.Star = true;
      item.StarTable = Take().Text;
      m_pos += 2;
      return item;
    }
    item.Expr = Expr();
    if (AcceptWord("AS")) item.Alias = Name();
    else if (Peek().Kind == TTok::tkName || (Peek().Kind == TTok::tkWord && !IsReserved(Peek().Text)))
      item.Alias = Take().Text;
    return item;
  }

  std::unique_ptr<TSqlFrom> FromPrimary() {
    TDepth depth(*this);
    if (AcceptSymbol("(")) {
      auto inner = FromJoin();
      ExpectSymbol(")");
      return inner;
    }
    auto t = std::make_unique<TSqlFrom>();
    t->Table = Name();
    if (AcceptWord("AS")) t->Alias = Name();
    else if (Peek().Kind == TTok::tkName || (Peek().Kind == TTok::tkWord && !IsReserved(Peek().Text)))
      t->Alias = Take().Text;
    return t;
  }

  std::unique_ptr<TSqlFrom> FromJoin() {
    auto left = FromPrimary();
    for (;;) {
      std::string type;
      if (AcceptWord("INNER")) type = "INNER";
      else if (AcceptWord("LEFT")) type = "LEFT";
      else if (AcceptWord("RIGHT")) type = "RIGHT";
      else break;
      if (type != "INNER") AcceptWord("OUTER");
      ExpectWord("JOIN");
      auto join = std::make_unique<TSqlFrom>();
      join->IsJoin = true;
      join->JoinType = type;
      join->Left = std::move(left);
      join->Right = FromPrimary();
      ExpectWord("ON");
      join->On = Expr();
      left = std::move(join);
    }
    return left;
  }

  static std::unique_ptr<TSqlExpr> Binary(std::string op, std::unique_ptr<TSqlExpr> a,
                                          std::unique_ptr<TSqlExpr> b) {
    auto e = std::make_unique<TSqlExpr>();
    e->Kind = TSqlExpr::ekBinary;
    e->Op = std::move(op);
    e->Args.push_back(std::move(a));
    e->Args.push_back(std::move(b));
    return e;
  }

  std::unique_ptr<TSqlExpr> Expr() {
    TDepth depth(*this);
    auto e = AndExpr();
    for (;;) {
      if (AcceptWord("OR")) e = Binary("OR", std::move(e), AndExpr());
      else if (AcceptWord("XOR")) e = Binary("XOR", std::move(e), AndExpr());
      else return e;
    }
  }
  std::unique_ptr<TSqlExpr> AndExpr() {
    auto e = NotExpr();
    while (AcceptWord("AND")) e = Binary("AND", std::move(e), NotExpr());
    return e;
  }
  std::unique_ptr<TSqlExpr> NotExpr() {
    TDepth depth(*this);
    if (AcceptWord("NOT")) {
      auto e = std::make_unique<TSqlExpr>();
      e->Kind = TSqlExpr::ekUnary;
      e->Op = "NOT";
      e->Args.push_back(NotExpr());
      return e;
    }
    return Comparison();
  }
  std::unique_ptr<TSqlExpr> Comparison() {
    auto e = Concat();
    for (;;) {
      static constexpr std::string_view kOps[] = {"=", "<>", "!=", "<", ">", "<=", ">="};
      bool matched = false;
      for (auto op : kOps) {
        if (IsSymbol(op)) {
          ++m_pos;
          e = Binary(op == "!=" ? "<>" : std::string(op), std::move(e), Concat());
          matched = true;
          break;
        }
      }
      if (matched) continue;
      const bool negated = IsWord("NOT") && (IsWord("LIKE", 1) || IsWord("BETWEEN", 1) || IsWord("IN", 1));
      if (negated) ++m_pos;
      if (AcceptWord("LIKE")) {
        e = Binary("LIKE", std::move(e), Concat());
        e->Negated = negated;
      } else if (AcceptWord("BETWEEN")) {
        auto b = std::make_unique<TSqlExpr>();
        b->Kind = TSqlExpr::ekBetween;
        b->Negated = negated;
        b->Args.push_back(std::move(e));
        b->Args.push_back(Concat());
        ExpectWord("AND");
        b->Args.push_back(Concat());
        e = std::move(b);
      } else if (AcceptWord("IN")) {
        auto in = std::make_unique<TSqlExpr>();
        in->Kind = TSqlExpr::ekIn;
        in->Negated = negated;
        in->Args.push_back(std::move(e));
        ExpectSymbol("(");
        do in->Args.push_back(Concat());
        while (AcceptSymbol(","));
        ExpectSymbol(")");
        e = std::move(in);
      } else if (AcceptWord("IS")) {
        auto is = std::make_unique<TSqlExpr>();
        is->Kind = TSqlExpr::ekIsNull;
        is->Negated = AcceptWord("NOT");
        ExpectWord("NULL");
        is->Args.push_back(std::move(e));
        e = std::move(is);
      } else {
        if (negated) Fail("NOT without LIKE, BETWEEN or IN");
        return e;
      }
    }
  }
  std::unique_ptr<TSqlExpr> Concat() {
    auto e = Additive();
    while (AcceptSymbol("&")) e = Binary("&", std::move(e), Additive());
    return e;
  }
  std::unique_ptr<TSqlExpr> Additive() {
    auto e = Modulo();
    for (;;) {
      if (AcceptSymbol("+")) e = Binary("+", std::move(e), Modulo());
      else if (AcceptSymbol("-")) e = Binary("-", std::move(e), Modulo());
      else return e;
    }
  }
  std::unique_ptr<TSqlExpr> Modulo() {
    auto e = IntDivide();
    while (AcceptWord("MOD")) e = Binary("MOD", std::move(e), IntDivide());
    return e;
  }
  std::unique_ptr<TSqlExpr> IntDivide() {
    auto e = Multiplicative();
    while (AcceptSymbol("\\")) e = Binary("\\", std::move(e), Multiplicative());
    return e;
  }
  std::unique_ptr<TSqlExpr> Multiplicative() {
    auto e = Unary();
    for (;;) {
      if (AcceptSymbol("*")) e = Binary("*", std::move(e), Unary());
      else if (AcceptSymbol("/")) e = Binary("/", std::move(e), Unary());
      else return e;
    }
  }
  std::unique_ptr<TSqlExpr> Unary() {
    TDepth depth(*this);
    if (IsSymbol("-") || IsSymbol("+")) {
      auto e = std::make_unique<TSqlExpr>();
      e->Kind = TSqlExpr::ekUnary;
      e->Op = Take().Text;
      e->Args.push_back(Unary());
      return e;
    }
    return Power();
  }
  std::unique_ptr<TSqlExpr> Power() {
    auto e = Primary();
    while (AcceptSymbol("^")) e = Binary("^", std::move(e), Primary());
    return e;
  }
  std::unique_ptr<TSqlExpr> Primary() {
    auto e = std::make_unique<TSqlExpr>();
    const TToken& t = Peek();
    switch (t.Kind) {
      case TTok::tkNumber: {
        e->Kind = TSqlExpr::ekNumber;
        e->Text = Take().Text;
        char* end = nullptr;
        e->Number = std::strtod(e->Text.c_str(), &end);
        if (end != e->Text.c_str() + e->Text.size()) Fail("bad number '" + e->Text + "'");
        e->IsInteger = e->Text.find_first_of(".eE") == std::string::npos;
        return e;
      }
      case TTok::tkString:
        e->Kind = TSqlExpr::ekString;
        e->Text = Take().Text;
        return e;
      case TTok::tkDate:
        e->Kind = TSqlExpr::ekDate;
        e->Text = Take().Text;
        return e;
      case TTok::tkSymbol:
        if (AcceptSymbol("(")) {
          e = Expr();
          ExpectSymbol(")");
          return e;
        }
        Fail("unexpected '" + t.Text + "'");
      case TTok::tkEnd:
        Fail("unexpected end of text");
      case TTok::tkWord:
        if (SameText(t.Text, "NULL")) {
          Take();
          e->Kind = TSqlExpr::ekNull;
          return e;
        }
        if (SameText(t.Text, "TRUE") || SameText(t.Text, "FALSE") || SameText(t.Text, "YES") ||
            SameText(t.Text, "NO")) {
          if (!(Peek(1).Kind == TTok::tkSymbol && (Peek(1).Text == "." || Peek(1).Text == "("))) {
            e->Kind = TSqlExpr::ekBoolean;
            e->Number = (SameText(t.Text, "TRUE") || SameText(t.Text, "YES")) ? -1 : 0;
            Take();
            return e;
          }
        }
        if (IsReserved(t.Text)) Fail("unexpected '" + t.Text + "'");
        if (Peek(1).Kind == TTok::tkSymbol && Peek(1).Text == "(") {
          e->Kind = TSqlExpr::ekFunction;
          e->Text = Take().Text;
          Take();
          if (!AcceptSymbol(")")) {
            do e->Args.push_back(Expr());
            while (AcceptSymbol(","));
            ExpectSymbol(")");
          }
          return e;
        }
        [[fallthrough]];
      case TTok::tkName: {
        e->Kind = TSqlExpr::ekColumn;
        e->Text = Take().Text;
        if (AcceptSymbol(".")) {
          e->Qualifier = std::move(e->Text);
          e->Text = Name();
        }
        return e;
      }
    }
    Fail("unexpected '" + t.Text + "'");
  }
};

}  // namespace

TSqlSelect ParseJetSelect(std::string_view sql) { return TParser(sql).Select(); }

}  // namespace vandrel
