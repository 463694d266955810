// Binary stream to text form. The layout follows the common one (two-space indent, strings on one
// line, binary values in lines of 32 bytes, "item [n]" for collection items with an index).
#include <charconv>
#include <cmath>
#include <cstring>

#include "framework/ObjectText.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

class TTextConverter {
 public:
  explicit TTextConverter(TStream& input) : m_reader(input) {}

  std::string Convert() {
    m_reader.ReadSignature();
    ReadObject("");
    return std::move(m_out);
  }

 private:
  void ReadObject(const std::string& indent) {
    TReader::TNesting nesting(m_reader);
    std::uint8_t flags = 0;
    std::int32_t childPos = 0;
    m_reader.ReadPrefix(flags, childPos);
    std::string className = m_reader.ReadStr();
    std::string name = m_reader.ReadStr();
    m_out += indent;
    m_out += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
    if (!name.empty()) m_out += name + ": ";
    m_out += className;
    if (flags & ffChildPos) m_out += " [" + IntToStr(childPos) + "]";
    m_out += '\n';
    ReadPropList(indent + "  ");
    while (m_reader.PeekByte() != vaNull) ReadObject(indent + "  ");
    m_reader.ReadByte();
    m_out += indent + "end\n";
  }

  void ReadPropList(const std::string& indent) {
    while (m_reader.PeekByte() != vaNull) {
      m_out += indent + m_reader.ReadStr() + " = ";
      ProcessValue(m_reader.ReadValue(), indent);
    }
    m_reader.ReadByte();
  }

  void ProcessValue(TValueType type, const std::string& indent) {
    std::uint8_t buf[10];
    switch (type) {
      case vaList: {
        TReader::TNesting nesting(m_reader);
        m_out += '(';
        bool first = true;
        for (TValueType item = m_reader.ReadValue(); item != vaNull; item = m_reader.ReadValue()) {
          if (first) m_out += '\n';
          first = false;
          m_out += indent + "  ";
          ProcessValue(item, indent + "  ");
        }
        m_out += indent + ")\n";
        return;
      }
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        m_reader.Stream().Seek(-1, TSeekOrigin::soCurrent);
        m_out += IntToStr(m_reader.ReadInt64()) + "\n";
        return;
      case vaExtended:
        m_reader.ReadExact(buf, 10);
        m_out += FormatReal(ExtendedFromBytes(buf)) + "\n";
        return;
      case vaSingle: {
        float f;
        m_reader.ReadExact(&f, 4);
        m_out += FormatReal(f, true) + "S\n";
        return;
      }
      case vaCurrency: {
        // The text holds the value times 10000, which is the stored integer itself.
        std::int64_t scaled;
        m_reader.ReadExact(&scaled, 8);
        m_out += IntToStr(scaled) + "C\n";
        return;
      }
      case vaDate: {
        double d;
        m_reader.ReadExact(&d, 8);
        m_out += FormatReal(d) + "D\n";
        return;
      }
      case vaString:
      case vaLString:
        m_reader.Stream().Seek(-1, TSeekOrigin::soCurrent);
        OutNarrow(m_reader.ReadString());
        m_out += '\n';
        return;
      case vaWString:
      case vaUString: {
        std::uint32_t count = m_reader.ReadCount();
        m_reader.CheckRemaining(std::int64_t(count) * 2);
        std::u16string wide(count, u'\0');
        m_reader.ReadExact(wide.data(), std::int64_t(count) * 2);
        OutWide(wide);
        m_out += '\n';
        return;
      }
      case vaUTF8String:
        m_reader.Stream().Seek(-1, TSeekOrigin::soCurrent);
        OutWide(Utf8ToUtf16(m_reader.ReadString()));
        m_out += '\n';
        return;
      case vaIdent: m_out += m_reader.ReadStr() + "\n"; return;
      case vaFalse: m_out += "False\n"; return;
      case vaTrue: m_out += "True\n"; return;
      case vaNil: m_out += "nil\n"; return;
      case vaNull: m_out += "Null\n"; return;
      case vaBinary: {
        std::uint32_t count = m_reader.ReadCount();
        m_reader.CheckRemaining(count);
        m_out += "{\n";
        static const char kHex[] = "0123456789ABCDEF";
        std::uint8_t chunk[32];
        while (count > 0) {
          std::uint32_t n = std::min<std::uint32_t>(count, 32);
          m_reader.ReadExact(chunk, n);
          m_out += indent + "  ";
          for (std::uint32_t i = 0; i < n; ++i) {
            m_out += kHex[chunk[i] >> 4];
            m_out += kHex[chunk[i] & 15];
          }
          m_out += '\n';
          count -= n;
        }
        m_out += indent + "}\n";
        return;
      }
      case vaSet: {
        m_out += '[';
        bool first = true;
        for (std::string name = m_reader.ReadStr(); !name.empty(); name = m_reader.ReadStr()) {
          if (!first) m_out += ", ";
          first = false;
          m_out += name;
        }
        m_out += "]\n";
        return;
      }
      case vaCollection: {
        TReader::TNesting nesting(m_reader);
        m_out += '<';
        while (m_reader.PeekByte() != vaNull) {
          m_out += indent + "\n" + indent + "  item";
          TValueType next = m_reader.NextValue();
          if (next == vaInt8 || next == vaInt16 || next == vaInt32)
            m_out += " [" + IntToStr(m_reader.ReadInteger()) + "]";
          m_reader.ReadListBegin();
          m_out += '\n';
          ReadPropList(indent + "    ");
          m_out += indent + "  end";
        }
        m_reader.ReadByte();
        m_out += ">\n";
        return;
      }
    }
  }

  // Shortest text that reads back to the same value, always with a point or an exponent so that
  // it reads back as a real.
  std::string FormatReal(long double value, bool single = false) {
    if (!std::isfinite(value)) throw EConvertError("A real value that is not finite has no text form");
    char buf[64];
    auto [end, ec] = single ? std::to_chars(buf, buf + sizeof buf, float(value))
                            : std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, end);
    if (s.find_first_of(".eE") == std::string::npos) s += ".0";
    return s;
  }

  // Printable ASCII quoted, control characters as #nn; other bytes (UTF-8) stay as they are inside
  // quotes, so the string reads back as the same bytes.
  void OutNarrow(const std::string& s) {
    if (s.empty()) {
      m_out += "''";
      return;
    }
    bool inQuotes = false;
    for (unsigned char c : s) {
      bool quoted = c >= 32 && c != 127;
      if (quoted != inQuotes) m_out += '\'';
      inQuotes = quoted;
      if (!quoted)
        m_out += '#' + std::to_string(c);
      else if (c == '\'')
        m_out += "''";
      else
        m_out += char(c);
    }
    if (inQuotes) m_out += '\'';
  }

  // Printable ASCII quoted, every other UTF-16 unit as #nnnn.
  void OutWide(const std::u16string& s) {
    if (s.empty()) {
      m_out += "''";
      return;
    }
    bool inQuotes = false;
    for (char16_t c : s) {
      bool quoted = c >= 32 && c < 127;
      if (quoted != inQuotes) m_out += '\'';
      inQuotes = quoted;
      if (!quoted)
        m_out += '#' + std::to_string(unsigned(c));
      else if (c == u'\'')
        m_out += "''";
      else
        m_out += char(c);
    }
    if (inQuotes) m_out += '\'';
  }

  TReader m_reader;
  std::string m_out;
};

}  // namespace

void ObjectBinaryToText(TStream& input, TStream& output) {
  std::string text = TTextConverter(input).Convert();
  output.WriteBuffer(text.data(), std::int64_t(text.size()));
}

std::string ObjectBinaryToText(std::string_view binary) {
  TReadOnlyMemoryStream input(binary.data(), std::int64_t(binary.size()));
  return TTextConverter(input).Convert();
}

std::string ComponentToText(TComponent& root) {
  TMemoryStream binary;
  WriteComponentToStream(binary, root);
  binary.SetPosition(0);
  return TTextConverter(binary).Convert();
}

}  // namespace vandrel
