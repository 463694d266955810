#include "framework/Writer.h"

#include <cmath>
#include <limits>

#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Color.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

// Sub-objects nest a few levels at most; deeper means an object that contains itself.
constexpr int kMaxSubObjectDepth = 32;

template <typename T>
void PutLE(std::uint8_t* out, T value) {
  for (size_t i = 0; i < sizeof(T); ++i) out[i] = std::uint8_t(std::uint64_t(value) >> (8 * i));
}

}  // namespace

void WriteComponentToStream(TStream& stream, TComponent& root) {
  TWriter writer(stream);
  writer.WriteRootComponent(root);
}

void TWriter::WriteBytes(const void* data, std::int64_t count) { m_stream.WriteBuffer(data, count); }

void TWriter::WriteValue(TValueType type) {
  std::uint8_t b = type;
  WriteBytes(&b, 1);
}

void TWriter::WriteSignature() { WriteBytes("TPF0", 4); }

void TWriter::WriteRootComponent(TComponent& root) {
  m_root = &root;
  WriteSignature();
  WriteComponent(root);
}

void TWriter::WriteComponent(TComponent& component) {
  if (!m_root) m_root = &component;
  bool wasWriting = component.ComponentState().Contains(csWriting);
  component.m_state.Include(csWriting);
  try {
    WriteStr(component.ClassName());
    WriteStr(component.Name());
    WriteProperties(component);
    WriteListEnd();
    component.GetChildren([this](TComponent* child) { WriteComponent(*child); }, m_root);
    WriteListEnd();
  } catch (...) {
    if (!wasWriting) component.m_state.Exclude(csWriting);
    throw;
  }
  if (!wasWriting) component.m_state.Exclude(csWriting);
}

void TWriter::WriteProperties(const TPersistent& instance) {
  if (std::count(m_propPath.begin(), m_propPath.end(), '.') > kMaxSubObjectDepth)
    throw EWriteError("Sub-objects nest too deeply at " + m_propPath);
  for (const TPropertyInfo& property : instance.ClassInfo().Properties())
    if (property.IsStored(instance)) WriteProperty(instance, property);
  // DefineProperties may not change the object, but the interface is shared with the reader.
  const_cast<TPersistent&>(instance).DefineProperties(*this);
}

void TWriter::WriteProperty(const TPersistent& instance, const TPropertyInfo& property) {
  auto& self = const_cast<TPersistent&>(instance);
  auto defaulted = [&](std::int64_t v) { return property.defaultValue && *property.defaultValue == v; };
  switch (property.kind) {
    case TPropertyKind::Integer:
    case TPropertyKind::Int64: {
      std::int64_t v = property.getOrdinal(instance);
      if (defaulted(v)) return;
      WritePropName(property.name);
      WriteInteger(v);
      return;
    }
    case TPropertyKind::Boolean: {
      std::int64_t v = property.getOrdinal(instance);
      if (defaulted(v)) return;
      WritePropName(property.name);
      WriteBoolean(v != 0);
      return;
    }
    case TPropertyKind::Enumeration: {
      std::int64_t v = property.getOrdinal(instance);
      if (defaulted(v)) return;
      if (v < 0 || v >= std::int64_t(property.names.size()))
        throw EWriteError("Invalid value " + IntToStr(v) + " of property " + std::string(property.name));
      WritePropName(property.name);
      WriteIdent(property.names[size_t(v)]);
      return;
    }
    case TPropertyKind::Set: {
      std::int64_t v = property.getOrdinal(instance);
      if (defaulted(v)) return;
      auto bits = std::uint64_t(v);
      std::vector<std::string> names;
      for (size_t i = 0; i < 64 && bits; ++i, bits >>= 1) {
        if (!(bits & 1)) continue;
        if (i >= property.names.size())
          throw EWriteError("Invalid set element of property " + std::string(property.name));
        names.emplace_back(property.names[i]);
      }
      WritePropName(property.name);
      WriteSet(names);
      return;
    }
    case TPropertyKind::IdentInteger: {
      std::int64_t v = property.getOrdinal(instance);
      if (defaulted(v)) return;
      WritePropName(property.name);
      if (auto ident = property.toIdent ? property.toIdent(std::int32_t(v)) : std::nullopt)
        WriteIdent(*ident);
      else
        WriteInteger(std::int32_t(v));
      return;
    }
    case TPropertyKind::Float: {
      double v = property.getFloat(instance);
      if (v == 0) return;
      WritePropName(property.name);
      switch (property.floatType) {
        case TFloatType::Extended: WriteFloat(v); break;
        case TFloatType::Single: WriteSingle(float(v)); break;
        case TFloatType::Currency: WriteCurrency(v); break;
        case TFloatType::Date: WriteDate(v); break;
      }
      return;
    }
    case TPropertyKind::String:
    case TPropertyKind::WideString: {
      std::string v = property.getString(instance);
      if (v.empty()) return;
      WritePropName(property.name);
      if (property.kind == TPropertyKind::String)
        WriteString(v);
      else
        WriteWideString(v);
      return;
    }
    case TPropertyKind::Object: {
      TPersistent* sub = property.getObject(instance);
      if (!sub) return;
      if (auto* collection = dynamic_cast<TCollection*>(sub)) {
        WritePropName(property.name);
        WriteCollection(*collection);
        return;
      }
      std::string saved = m_propPath;
      m_propPath += std::string(property.name) + ".";
      WriteProperties(*sub);
      m_propPath = saved;
      return;
    }
    case TPropertyKind::Component: {
      TComponent* c = property.getComponent(instance);
      if (!c) return;
      std::string path = ComponentPath(c);
      if (path.empty()) return;  // an unnamed component cannot be referred to
      WritePropName(property.name);
      WriteIdent(path);
      return;
    }
    case TPropertyKind::Method: {
      TEventBase* event = property.getEvent(self);
      if (!event || !event->Assigned() || event->MethodName().empty()) return;
      WritePropName(property.name);
      WriteIdent(event->MethodName());
      return;
    }
  }
}

// The path from the root down ("Panel1.Button1"), or Owner.Name outside the root's tree.
std::string TWriter::ComponentPath(const TComponent* component) const {
  if (component->Name().empty()) return {};
  if (component == m_root) return component->Name();
  std::string path = component->Name();
  for (const TComponent* owner = component->Owner(); owner; owner = owner->Owner()) {
    if (owner == m_root) return path;
    if (owner->Name().empty()) return {};
    path = owner->Name() + "." + path;
  }
  return path;
}

void TWriter::WriteCollection(const TCollection& collection) {
  WriteValue(vaCollection);
  std::string saved = m_propPath;
  m_propPath.clear();
  for (int i = 0; i < collection.Count(); ++i) {
    WriteListBegin();
    WriteProperties(*collection.Items(i));
    WriteListEnd();
  }
  m_propPath = saved;
  WriteListEnd();
}

void TWriter::WriteInteger(std::int64_t value) {
  std::uint8_t buf[9];
  if (value >= -128 && value <= 127) {
    buf[0] = vaInt8;
    PutLE(buf + 1, std::int8_t(value));
    WriteBytes(buf, 2);
  } else if (value >= -32768 && value <= 32767) {
    buf[0] = vaInt16;
    PutLE(buf + 1, std::int16_t(value));
    WriteBytes(buf, 3);
  } else if (value >= std::numeric_limits<std::int32_t>::min() &&
             value <= std::numeric_limits<std::int32_t>::max()) {
    buf[0] = vaInt32;
    PutLE(buf + 1, std::int32_t(value));
    WriteBytes(buf, 5);
  } else {
    buf[0] = vaInt64;
    PutLE(buf + 1, value);
    WriteBytes(buf, 9);
  }
}

void TWriter::WriteString(std::string_view value) {
  if (value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(value);
    return;
  }
  if (value.size() > std::numeric_limits<std::int32_t>::max())
    throw EWriteError("String too long for a component stream");
  WriteValue(vaLString);
  std::uint8_t count[4];
  PutLE(count, std::uint32_t(value.size()));
  WriteBytes(count, 4);
  WriteBytes(value.data(), std::int64_t(value.size()));
}

void TWriter::WriteWideString(std::string_view value) { WriteWideString(Utf8ToUtf16(value)); }

void TWriter::WriteWideString(std::u16string_view wide) {
  if (wide.size() > std::numeric_limits<std::int32_t>::max() / 2)
    throw EWriteError("String too long for a component stream");
  WriteValue(vaWString);
  std::vector<std::uint8_t> bytes(4 + wide.size() * 2);
  PutLE(bytes.data(), std::uint32_t(wide.size()));
  for (size_t i = 0; i < wide.size(); ++i) PutLE(bytes.data() + 4 + 2 * i, std::uint16_t(wide[i]));
  WriteBytes(bytes.data(), std::int64_t(bytes.size()));
}

void TWriter::WriteUtf8String(std::string_view value) {
  if (value.size() > std::numeric_limits<std::int32_t>::max())
    throw EWriteError("String too long for a component stream");
  WriteValue(vaUTF8String);
  std::uint8_t count[4];
  PutLE(count, std::uint32_t(value.size()));
  WriteBytes(count, 4);
  WriteBytes(value.data(), std::int64_t(value.size()));
}

void TWriter::WriteIdent(std::string_view ident) {
  if (SameText(ident, "False"))
    WriteValue(vaFalse);
  else if (SameText(ident, "True"))
    WriteValue(vaTrue);
  else if (SameText(ident, "nil"))
    WriteValue(vaNil);
  else if (SameText(ident, "Null"))
    WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TWriter::WriteFloat(long double value) {
  WriteValue(vaExtended);
  auto bytes = ExtendedToBytes(value);
  WriteBytes(bytes.data(), 10);
}

void TWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  WriteBytes(&value, 4);
}

void TWriter::WriteCurrency(double value) {
  double scaled = std::nearbyint(value * 10000.0);
  if (!(scaled >= -9.2e18 && scaled <= 9.2e18)) throw EWriteError("Currency value out of range");
  WriteCurrencyRaw(std::int64_t(scaled));
}

void TWriter::WriteCurrencyRaw(std::int64_t scaled) {
  WriteValue(vaCurrency);
  std::uint8_t buf[8];
  PutLE(buf, scaled);
  WriteBytes(buf, 8);
}

void TWriter::WriteDate(double value) {
  WriteValue(vaDate);
  WriteBytes(&value, 8);
}

void TWriter::WriteBinary(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > std::numeric_limits<std::int32_t>::max())
    throw EWriteError("Binary value too large for a component stream");
  WriteValue(vaBinary);
  std::uint8_t count[4];
  PutLE(count, std::uint32_t(bytes.size()));
  WriteBytes(count, 4);
  WriteBytes(bytes.data(), std::int64_t(bytes.size()));
}

void TWriter::WriteSet(std::span<const std::string> names) {
  WriteValue(vaSet);
  for (const auto& name : names) {
    if (name.empty()) throw EWriteError("Empty set element name");
    WriteStr(name);
  }
  WriteStr("");
}

void TWriter::WriteStr(std::string_view value) {
  if (value.size() > 255)
    throw EWriteError("Name too long for a component stream: " + std::string(value.substr(0, 40)) + "...");
  std::uint8_t length = std::uint8_t(value.size());
  WriteBytes(&length, 1);
  WriteBytes(value.data(), std::int64_t(value.size()));
}

void TWriter::WritePropName(std::string_view name) { WriteStr(m_propPath + std::string(name)); }

void TWriter::DefineProperty(std::string_view name, const ReadProc&, const WriteProc& writeData,
                             bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(std::string_view name, const StreamProc&,
                                   const StreamProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream data;
  writeData(data);
  WritePropName(name);
  WriteBinary(data.Bytes());
}

}  // namespace vandrel
