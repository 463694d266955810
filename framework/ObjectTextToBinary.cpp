// Text form to binary stream. Keywords (object, inherited, inline, end, item) ignore case; so do
// False, True, nil and Null, which become their own value kinds.
#include <cmath>

#include "framework/ComponentErrors.h"
#include "framework/ObjectText.h"
#include "framework/Parser.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Stream.h"

namespace vandrel {

namespace {

// As deep as the binary reader accepts.
constexpr int kMaxNesting = 200;

class TBinaryConverter {
 public:
  TBinaryConverter(std::string_view text, TStream& output) : m_parser(text), m_writer(output) {}

  void Convert() {
    m_writer.WriteSignature();
    ConvertObject();
  }

 private:
  struct Nesting {
    Nesting(TBinaryConverter& c) : m_c(c) {
      if (++m_c.m_nesting > kMaxNesting) m_c.m_parser.Error("Text nests too deeply");
    }
    ~Nesting() { --m_c.m_nesting; }
    TBinaryConverter& m_c;
  };

  bool AtObjectKeyword() const {
    return m_parser.IsWord("object") || m_parser.IsWord("inherited") || m_parser.IsWord("inline");
  }

  void ConvertObject() {
    Nesting nesting(*this);
    std::uint8_t flags = 0;
    if (m_parser.IsWord("inherited"))
      flags = ffInherited;
    else if (m_parser.IsWord("inline"))
      flags = ffInline;
    else if (!m_parser.IsWord("object"))
      m_parser.Error("'object' expected");
    m_parser.NextToken();
    std::string name;
    std::string className = m_parser.CheckIdentifier();
    if (m_parser.IsSymbol(':')) {
      m_parser.NextToken();
      name = std::move(className);
      className = m_parser.CheckIdentifier();
    }
    std::int64_t childPos = 0;
    if (m_parser.IsSymbol('[')) {
      m_parser.NextToken();
      if (m_parser.Token() != TToken::Integer) m_parser.Error("Child position expected");
      childPos = m_parser.IntegerValue();
      if (childPos < INT32_MIN || childPos > INT32_MAX) m_parser.Error("Child position out of range");
      flags |= ffChildPos;
      m_parser.NextToken();
      m_parser.CheckSymbol(']');
    }
    if (flags) {
      std::uint8_t flagByte = 0xF0 | flags;
      m_writer.Stream().WriteBuffer(&flagByte, 1);
      if (flags & ffChildPos) m_writer.WriteInteger(childPos);
    }
    WriteName(className);
    WriteName(name);
    while (!m_parser.IsWord("end") && !AtObjectKeyword()) ConvertProperty();
    m_writer.WriteListEnd();
    while (!m_parser.IsWord("end")) ConvertObject();
    m_writer.WriteListEnd();
    m_parser.NextToken();
  }

  void WriteName(const std::string& name) {
    if (name.size() > 255) m_parser.Error("Name too long");
    m_writer.WriteStr(name);
  }

  std::string DottedName() {
    std::string name = m_parser.CheckIdentifier();
    while (m_parser.IsSymbol('.')) {
      m_parser.NextToken();
      name += "." + m_parser.CheckIdentifier();
    }
    return name;
  }

  void ConvertProperty() {
    if (m_parser.Token() != TToken::Identifier) m_parser.Error("Property name expected");
    WriteName(DottedName());
    m_parser.CheckSymbol('=');
    ConvertValue();
  }

  void ConvertValue() {
    Nesting nesting(*this);
    switch (m_parser.Token()) {
      case TToken::Integer:
        m_writer.WriteInteger(m_parser.IntegerValue());
        m_parser.NextToken();
        return;
      case TToken::Float: ConvertFloat(); return;
      case TToken::String: ConvertString(); return;
      case TToken::Identifier: {
        std::string ident = DottedName();
        if (ident.size() > 255) m_parser.Error("Identifier too long");
        m_writer.WriteIdent(ident);
        return;
      }
      case TToken::EndOfFile: m_parser.Error("Unexpected end of text");
      case TToken::Symbol: break;
    }
    switch (m_parser.Symbol()) {
      case '[': {
        m_parser.NextToken();
        m_writer.WriteValue(vaSet);
        if (!m_parser.IsSymbol(']')) {
          for (;;) {
            WriteName(m_parser.CheckIdentifier());
            if (m_parser.IsSymbol(']')) break;
            m_parser.CheckSymbol(',');
          }
        }
        m_writer.WriteStr("");
        m_parser.NextToken();
        return;
      }
      case '(':
        m_parser.NextToken();
        m_writer.WriteListBegin();
        while (!m_parser.IsSymbol(')')) ConvertValue();
        m_writer.WriteListEnd();
        m_parser.NextToken();
        return;
      case '{': m_writer.WriteBinary(m_parser.HexToBinary()); return;
      case '<':
        m_parser.NextToken();
        m_writer.WriteValue(vaCollection);
        while (!m_parser.IsSymbol('>')) {
          if (!m_parser.IsWord("item")) m_parser.Error("'item' expected");
          m_parser.NextToken();
          if (m_parser.IsSymbol('[')) {
            m_parser.NextToken();
            if (m_parser.Token() != TToken::Integer) m_parser.Error("Item index expected");
            std::int64_t index = m_parser.IntegerValue();
            if (index < INT32_MIN || index > INT32_MAX) m_parser.Error("Item index out of range");
            m_writer.WriteInteger(index);
            m_parser.NextToken();
            m_parser.CheckSymbol(']');
          }
          m_writer.WriteListBegin();
          while (!m_parser.IsWord("end")) ConvertProperty();
          m_writer.WriteListEnd();
          m_parser.NextToken();
        }
        m_writer.WriteListEnd();
        m_parser.NextToken();
        return;
      default: m_parser.Error("Invalid property value");
    }
  }

  void ConvertFloat() {
    long double v = m_parser.FloatValue();
    switch (m_parser.FloatType()) {
      case 'S':
        if (std::fabs(v) > 3.4028234663852886e38L) m_parser.Error("Single value out of range");
        m_writer.WriteSingle(float(v));
        break;
      case 'C':
        // The text holds the value times 10000.
        if (!(v >= -9.2e18L && v <= 9.2e18L)) m_parser.Error("Currency value out of range");
        m_writer.WriteCurrencyRaw(std::int64_t(std::llroundl(v)));
        break;
      case 'D':
        if (std::fabs(v) > 1.7976931348623157e308L) m_parser.Error("Date value out of range");
        m_writer.WriteDate(double(v));
        break;
      default: m_writer.WriteFloat(v); break;
    }
    m_parser.NextToken();
  }

  // Pieces joined with '+' make one string; it is wide when any piece has a #code above 127.
  void ConvertString() {
    std::string narrow = m_parser.Narrow();
    std::u16string wide = m_parser.Wide();
    bool isWide = m_parser.StringIsWide();
    m_parser.NextToken();
    while (m_parser.IsSymbol('+')) {
      m_parser.NextToken();
      if (m_parser.Token() != TToken::String) m_parser.Error("String expected");
      narrow += m_parser.Narrow();
      wide += m_parser.Wide();
      isWide = isWide || m_parser.StringIsWide();
      m_parser.NextToken();
    }
    if (isWide)
      m_writer.WriteWideString(std::u16string_view(wide));
    else
      m_writer.WriteString(narrow);
  }

  TParser m_parser;
  TWriter m_writer;
  int m_nesting = 0;
};

}  // namespace

std::string ObjectTextToBinary(std::string_view text) {
  TMemoryStream output;
  TBinaryConverter(text, output).Convert();
  return std::string(output.Bytes().begin(), output.Bytes().end());
}

void ObjectTextToBinary(TStream& input, TStream& output) {
  std::int64_t size = input.Size() - input.Position();
  std::string text(size_t(std::max<std::int64_t>(size, 0)), '\0');
  input.ReadBuffer(text.data(), std::int64_t(text.size()));
  std::string binary = ObjectTextToBinary(text);
  output.WriteBuffer(binary.data(), std::int64_t(binary.size()));
}

TComponent* ComponentFromText(std::string_view text, TComponent* root) {
  std::string binary = ObjectTextToBinary(text);
  TReadOnlyMemoryStream stream(binary.data(), std::int64_t(binary.size()));
  return ReadComponentFromStream(stream, root);
}

}  // namespace vandrel
