// TParser: splits the text form of a component stream into tokens (identifiers, integers, reals
// with their C/D/S suffix, strings with their #nn codes, symbols) and reads {hex} binary blocks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vandrel {

enum class TToken { EndOfFile, Symbol, Identifier, String, Integer, Float };

class TParser {
 public:
  explicit TParser(std::string_view text);

  TToken Token() const { return m_token; }
  // The symbol character of a Symbol token, else 0.
  char Symbol() const { return m_token == TToken::Symbol ? m_symbol : '\0'; }
  bool IsSymbol(char c) const { return Symbol() == c; }
  const std::string& Identifier() const { return m_text; }
  // Identifier token equal to word, ignoring ASCII case.
  bool IsWord(std::string_view word) const;
  std::int64_t IntegerValue() const { return m_integer; }
  long double FloatValue() const { return m_float; }
  // 0, or the suffix letter in upper case: 'S' single, 'C' currency, 'D' date.
  char FloatType() const { return m_floatType; }
  // String token: wide when a #code above 127 occurs; Narrow() holds bytes, Wide() UTF-16.
  bool StringIsWide() const { return m_wide; }
  const std::string& Narrow() const { return m_text; }
  const std::u16string& Wide() const { return m_wideText; }
  int Line() const { return m_line; }

  void NextToken();
  // After a '{' symbol: the hex digits up to '}' as bytes; the token after '}' follows.
  std::vector<std::uint8_t> HexToBinary();
  [[noreturn]] void Error(const std::string& message) const;
  void CheckSymbol(char c);
  std::string CheckIdentifier();

 private:
  void SkipBlanks();
  void ScanNumber();
  void ScanString();

  std::string_view m_source;
  size_t m_pos = 0;
  int m_line = 1;
  TToken m_token = TToken::EndOfFile;
  char m_symbol = 0;
  std::string m_text;
  std::u16string m_wideText;
  bool m_wide = false;
  std::int64_t m_integer = 0;
  long double m_float = 0;
  char m_floatType = 0;
};

}  // namespace vandrel
