#include "tools/vandrel-skin/ObjectTree.h"

#include <algorithm>

#include "framework/ComponentErrors.h"
#include "framework/ObjectText.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/core/Text.h"
#include "skin/SkinObject.h"
#include "skin/SkinRecords.h"

namespace vandrel::skinpack {

namespace {

enum : std::uint8_t {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary, vaSet,
  vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String,
};

// Nesting beyond this is damage, not a skin: it keeps a hostile stream from exhausting the stack.
constexpr int kMaxDepth = 64;

class TCursor {
 public:
  TCursor(std::span<const std::uint8_t> data) : m_data(data) {}

  size_t Position() const { return m_at; }
  bool AtEnd() const { return m_at >= m_data.size(); }
  std::uint8_t Peek() const {
    Need(1);
    return m_data[m_at];
  }
  std::uint8_t Byte() {
    Need(1);
    return m_data[m_at++];
  }
  std::uint32_t Le(int bytes) {
    Need(size_t(bytes));
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= std::uint32_t(m_data[m_at + size_t(i)]) << (8 * i);
    m_at += size_t(bytes);
    return v;
  }
  void Skip(size_t count) {
    Need(count);
    m_at += count;
  }
  std::string ShortString() {
    const size_t length = Byte();
    Need(length);
    std::string s(reinterpret_cast<const char*>(m_data.data() + m_at), length);
    m_at += length;
    return s;
  }
  std::span<const std::uint8_t> Since(size_t start) const { return m_data.subspan(start, m_at - start); }
  [[noreturn]] void Fail(const std::string& what) const {
    throw EReadError("Object stream: " + what + " at offset " + IntToStr(std::int64_t(m_at)));
  }

 private:
  void Need(size_t count) const {
    if (count > m_data.size() - m_at) Fail("data ends early");
  }
  std::span<const std::uint8_t> m_data;
  size_t m_at = 0;
};

void SkipValue(TCursor& c, int depth);

void SkipProperties(TCursor& c, int depth) {
  while (c.Peek() != 0) {
    c.ShortString();
    SkipValue(c, depth + 1);
  }
  c.Byte();
}

void SkipValue(TCursor& c, int depth) {
  if (depth > kMaxDepth) c.Fail("values nested too deeply");
  const std::uint8_t kind = c.Byte();
  switch (kind) {
    case vaNull: case vaFalse: case vaTrue: case vaNil: return;
    case vaList:
      while (c.Peek() != 0) SkipValue(c, depth + 1);
      c.Byte();
      return;
    case vaInt8: c.Skip(1); return;
    case vaInt16: c.Skip(2); return;
    case vaInt32: case vaSingle: c.Skip(4); return;
    case vaExtended: c.Skip(10); return;
    case vaCurrency: case vaDate: case vaInt64: c.Skip(8); return;
    case vaString: case vaIdent: c.ShortString(); return;
    case vaBinary: case vaLString: case vaUTF8String: c.Skip(c.Le(4)); return;
    case vaWString: c.Skip(size_t(c.Le(4)) * 2); return;
    case vaSet:
      while (!c.ShortString().empty()) {
      }
      return;
    case vaCollection:
      while (c.Peek() != 0) {
        if (c.Peek() == vaInt8 || c.Peek() == vaInt16 || c.Peek() == vaInt32) SkipValue(c, depth + 1);
        if (c.Byte() != vaList) c.Fail("a collection item is not a list");
        SkipProperties(c, depth + 1);
      }
      c.Byte();
      return;
    default: c.Fail("unknown value kind " + IntToStr(kind));
  }
}

TObjectNode ParseComponent(TCursor& c, int depth);

void ParseChildRecords(std::span<const std::uint8_t> value, TObjectNode& node, int depth) {
  TReadOnlyMemoryStream stream(value.data(), std::int64_t(value.size()));
  const std::int32_t field = ReadSkinInteger(stream, "the child count of " + node.Name);
  const bool binary = HasBinaryRecordsMarker(field);
  const std::int32_t count = binary ? field & ~kBinaryRecordsMarker : field;
  if (count < 0 || count > kMaxSkinObjects) throw EReadError("Invalid child count " + IntToStr(count) + " of " + node.Name);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::string className = ReadSkinString(stream, "the class name of a child of " + node.Name);
    Bytes child;
    if (binary) {
      const std::int32_t size = ReadSkinInteger(stream, "the size of a child of " + node.Name);
      child = ReadSkinBytes(stream, size, "a child of " + node.Name);
    } else {
      const std::string text = ReadSkinString(stream, "the text of a child of " + node.Name);
      const std::string converted = ObjectTextToBinary(text);
      child.assign(converted.begin(), converted.end());
    }
    TCursor inner(child);
    if (inner.Le(4) != 0x30465054) inner.Fail("no TPF0 signature");
    node.Children.push_back(ParseComponent(inner, depth + 1));
    if (node.Children.back().ClassName != className)
      throw EReadError("A child of " + node.Name + " is recorded as " + className + " but stored as " +
                       node.Children.back().ClassName);
  }
}

TObjectNode ParseComponent(TCursor& c, int depth) {
  if (depth > kMaxDepth) c.Fail("objects nested too deeply");
  if ((c.Peek() & 0xF0) == 0xF0) {
    const std::uint8_t flags = c.Byte();
    if (flags & 2) SkipValue(c, depth);
  }
  TObjectNode node;
  node.ClassName = c.ShortString();
  node.Name = c.ShortString();
  while (c.Peek() != 0) {
    std::string name = c.ShortString();
    const size_t start = c.Position();
    SkipValue(c, depth);
    const auto value = c.Since(start);
    if (SameText(name, "Objects")) {
      if (value[0] != vaBinary) c.Fail("Objects of " + node.Name + " is not a binary value");
      ParseChildRecords(value.subspan(5), node, depth);
    } else {
      node.Properties.push_back({std::move(name), Bytes(value.begin(), value.end())});
    }
  }
  c.Byte();
  while (c.Peek() != 0) node.Children.push_back(ParseComponent(c, depth + 1));
  c.Byte();
  return node;
}

void PutShortString(Bytes& out, std::string_view s) {
  if (s.size() > 255) throw EWriteError("Name too long for an object stream: " + std::string(s));
  out.push_back(std::uint8_t(s.size()));
  out.insert(out.end(), s.begin(), s.end());
}

void PutLe32(Bytes& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

void PutString(Bytes& out, std::string_view s) {
  PutLe32(out, std::uint32_t(s.size()));
  out.insert(out.end(), s.begin(), s.end());
}

void PutHeadAndProperties(Bytes& out, const TObjectNode& node) {
  PutShortString(out, node.ClassName);
  PutShortString(out, node.Name);
  for (const TStoredProperty& p : node.Properties) {
    PutShortString(out, p.Name);
    out.insert(out.end(), p.Value.begin(), p.Value.end());
  }
}

// The object with its children in the stream's own child list, as the text form nests them.
void PutNested(Bytes& out, const TObjectNode& node) {
  PutHeadAndProperties(out, node);
  out.push_back(0);
  for (const TObjectNode& child : node.Children) PutNested(out, child);
  out.push_back(0);
}

}  // namespace

const TStoredProperty* TObjectNode::Find(std::string_view name) const {
  for (const TStoredProperty& p : Properties)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

std::int64_t TObjectNode::Integer(std::string_view name, std::int64_t fallback) const {
  const TStoredProperty* p = Find(name);
  if (!p || p->Value.empty()) return fallback;
  const Bytes& v = p->Value;
  switch (v[0]) {
    case vaInt8: return v.size() >= 2 ? std::int8_t(v[1]) : fallback;
    case vaInt16: return v.size() >= 3 ? std::int16_t(v[1] | v[2] << 8) : fallback;
    case vaInt32: return v.size() >= 5 ? std::int32_t(v[1] | v[2] << 8 | v[3] << 16 | std::uint32_t(v[4]) << 24) : fallback;
    default: return fallback;
  }
}

std::string TObjectNode::Ident(std::string_view name, std::string_view fallback) const {
  const TStoredProperty* p = Find(name);
  if (!p || p->Value.size() < 2 || p->Value[0] != vaIdent) return std::string(fallback);
  return std::string(p->Value.begin() + 2, p->Value.end());
}

TObjectNode ParseObjectStream(std::span<const std::uint8_t> stream) {
  TCursor c(stream);
  if (c.Le(4) != 0x30465054) c.Fail("no TPF0 signature");
  TObjectNode node = ParseComponent(c, 0);
  if (!c.AtEnd()) c.Fail("bytes after the object");
  return node;
}

Bytes ObjectStream(const TObjectNode& node) {
  Bytes out = {'T', 'P', 'F', '0'};
  PutHeadAndProperties(out, node);
  Bytes children;
  if (node.Children.size() > 0xFFFF) throw EWriteError(node.Name + " has too many children to be stored");
  PutLe32(children, std::uint32_t(node.Children.size()) | std::uint32_t(kBinaryRecordsMarker));
  for (const TObjectNode& child : node.Children) {
    const Bytes record = BinaryObjectRecord(child);
    children.insert(children.end(), record.begin(), record.end());
  }
  PutShortString(out, "Objects");
  out.push_back(vaBinary);
  PutLe32(out, std::uint32_t(children.size()));
  out.insert(out.end(), children.begin(), children.end());
  out.push_back(0);
  out.push_back(0);
  return out;
}

Bytes BinaryObjectRecord(const TObjectNode& node) {
  const Bytes stream = ObjectStream(node);
  Bytes out;
  PutString(out, node.ClassName);
  PutLe32(out, std::uint32_t(stream.size()));
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

std::string ObjectText(const TObjectNode& node) {
  Bytes stream = {'T', 'P', 'F', '0'};
  PutNested(stream, node);
  return ObjectBinaryToText(std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size()));
}

std::vector<TObjectNode> ObjectsFromText(std::string_view text) {
  // Split at the top-level "end" lines: the converter reads one root object at a time.
  std::vector<TObjectNode> objects;
  int depth = 0;
  size_t start = std::string_view::npos;
  size_t at = 0;
  int lineNumber = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    ++lineNumber;
    const std::string line = Trim(std::string(text.substr(at, end - at)));
    const std::string word = LowerCase(line.substr(0, line.find_first_of(" \t")));
    if (word == "object" || word == "inherited" || word == "inline" || word == "item") {
      if (depth == 0) start = at;
      ++depth;
    } else if (word == "end" || word == "end>" ) {
      if (depth == 0) throw EParserError("Line " + IntToStr(lineNumber) + ": \"end\" without an object");
      if (--depth == 0) {
        const std::string binary = ObjectTextToBinary(text.substr(start, end - start));
        objects.push_back(ParseObjectStream(std::span(reinterpret_cast<const std::uint8_t*>(binary.data()), binary.size())));
      }
    } else if (depth == 0 && !line.empty()) {
      throw EParserError("Line " + IntToStr(lineNumber) + ": expected \"object\"");
    }
    at = end + 1;
  }
  if (depth != 0) throw EParserError("The last object has no \"end\"");
  return objects;
}

}  // namespace vandrel::skinpack
