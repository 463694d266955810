#include "framework/Parser.h"

#include <charconv>
#include <cmath>

#include "framework/ComponentErrors.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

TParser::TParser(std::string_view text) : m_source(text) {
  if (m_source.starts_with("\xEF\xBB\xBF")) m_pos = 3;
  NextToken();
}

bool TParser::IsWord(std::string_view word) const {
  return m_token == TToken::Identifier && SameText(m_text, word);
}

void TParser::Error(const std::string& message) const {
  throw EParserError(message + " on line " + std::to_string(m_line));
}

void TParser::CheckSymbol(char c) {
  if (!IsSymbol(c)) Error(std::string("'") + c + "' expected");
  NextToken();
}

std::string TParser::CheckIdentifier() {
  if (m_token != TToken::Identifier) Error("Identifier expected");
  std::string s = m_text;
  NextToken();
  return s;
}

void TParser::SkipBlanks() {
  while (m_pos < m_source.size() && std::uint8_t(m_source[m_pos]) <= ' ') {
    if (m_source[m_pos] == '\n') ++m_line;
    ++m_pos;
  }
}

void TParser::NextToken() {
  SkipBlanks();
  m_text.clear();
  m_wideText.clear();
  m_wide = false;
  m_floatType = 0;
  m_symbol = 0;
  if (m_pos >= m_source.size()) {
    m_token = TToken::EndOfFile;
    return;
  }
  char c = m_source[m_pos];
  char next = m_pos + 1 < m_source.size() ? m_source[m_pos + 1] : '\0';
  if (IsIdentStart(c)) {
    size_t start = m_pos;
    while (m_pos < m_source.size() && IsIdentChar(m_source[m_pos])) ++m_pos;
    m_text = std::string(m_source.substr(start, m_pos - start));
    m_token = TToken::Identifier;
  } else if (IsDigit(c) || ((c == '-' || c == '+') && IsDigit(next))) {
    ScanNumber();
  } else if (c == '$') {
    ++m_pos;
    std::uint64_t value = 0;
    size_t digits = 0;
    for (int d; m_pos < m_source.size() && (d = HexDigit(m_source[m_pos])) >= 0; ++m_pos, ++digits) {
      if (value > (std::uint64_t(INT64_MAX) >> 4)) Error("Hexadecimal number out of range");
      value = value * 16 + std::uint64_t(d);
    }
    if (digits == 0) Error("Hexadecimal digits expected");
    if (m_pos < m_source.size() && IsIdentChar(m_source[m_pos])) Error("Invalid number");
    m_integer = std::int64_t(value);
    m_token = TToken::Integer;
  } else if (c == '\'' || c == '#') {
    ScanString();
  } else {
    m_symbol = c;
    ++m_pos;
    m_token = TToken::Symbol;
  }
}

void TParser::ScanNumber() {
  size_t start = m_pos;
  if (m_source[m_pos] == '-' || m_source[m_pos] == '+') ++m_pos;
  bool isFloat = false;
  while (m_pos < m_source.size()) {
    char c = m_source[m_pos];
    bool exponentSign = (c == '+' || c == '-') && (m_source[m_pos - 1] == 'e' || m_source[m_pos - 1] == 'E');
    if (c == '.' || c == 'e' || c == 'E')
      isFloat = true;
    else if (!IsDigit(c) && !exponentSign)
      break;
    ++m_pos;
  }
  std::string_view number = m_source.substr(start, m_pos - start);
  if (m_pos < m_source.size()) {
    char s = AsciiUpper(m_source[m_pos]);
    bool alone = m_pos + 1 >= m_source.size() || !IsIdentChar(m_source[m_pos + 1]);
    if ((s == 'C' || s == 'D' || s == 'S') && alone) {
      m_floatType = s;
      isFloat = true;
      ++m_pos;
    }
  }
  if (m_pos < m_source.size() && IsIdentChar(m_source[m_pos]))
    Error("Invalid number " + std::string(number) + m_source[m_pos]);
  if (number.starts_with('+')) number.remove_prefix(1);
  const char* end = number.data() + number.size();
  if (isFloat) {
    auto [ptr, ec] = std::from_chars(number.data(), end, m_float);
    if (ec != std::errc() || ptr != end || !std::isfinite(m_float))
      Error("Invalid real number " + std::string(number));
    m_token = TToken::Float;
  } else {
    auto [ptr, ec] = std::from_chars(number.data(), end, m_integer);
    if (ec != std::errc() || ptr != end) Error("Integer out of range: " + std::string(number));
    m_token = TToken::Integer;
  }
}

void TParser::ScanString() {
  for (;;) {
    if (m_pos >= m_source.size()) break;
    char c = m_source[m_pos];
    if (c == '\'') {
      ++m_pos;
      std::string segment;
      for (;;) {
        if (m_pos >= m_source.size() || m_source[m_pos] == '\n' || m_source[m_pos] == '\r')
          Error("Unterminated string");
        if (m_source[m_pos] == '\'') {
          if (m_pos + 1 < m_source.size() && m_source[m_pos + 1] == '\'') {
            segment += '\'';
            m_pos += 2;
            continue;
          }
          ++m_pos;
          break;
        }
        segment += m_source[m_pos++];
      }
      m_text += segment;
      m_wideText += Utf8ToUtf16(segment);
    } else if (c == '#') {
      ++m_pos;
      std::uint32_t code = 0;
      size_t digits = 0;
      bool hex = m_pos < m_source.size() && m_source[m_pos] == '$';
      if (hex) ++m_pos;
      for (; m_pos < m_source.size(); ++m_pos, ++digits) {
        int d = hex ? HexDigit(m_source[m_pos]) : (IsDigit(m_source[m_pos]) ? m_source[m_pos] - '0' : -1);
        if (d < 0) break;
        code = code * (hex ? 16 : 10) + std::uint32_t(d);
        if (code > 0xFFFF) Error("Invalid character code");
      }
      if (digits == 0) Error("Character code expected");
      if (code > 127) m_wide = true;
      m_text += char(code & 0xFF);
      m_wideText += char16_t(code);
    } else {
      break;
    }
  }
  m_token = TToken::String;
}

std::vector<std::uint8_t> TParser::HexToBinary() {
  std::vector<std::uint8_t> bytes;
  int high = -1;
  for (;;) {
    if (m_pos >= m_source.size()) Error("'}' expected");
    char c = m_source[m_pos++];
    if (c == '}') break;
    if (c == '\n') ++m_line;
    if (std::uint8_t(c) <= ' ') continue;
    int d = HexDigit(c);
    if (d < 0) Error("Invalid binary value");
    if (high < 0) {
      high = d;
    } else {
      bytes.push_back(std::uint8_t(high * 16 + d));
      high = -1;
    }
  }
  if (high >= 0) Error("Odd number of hexadecimal digits in a binary value");
  NextToken();
  return bytes;
}

}  // namespace vandrel
