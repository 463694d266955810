#include "framework/Reader.h"

#include <cstring>
#include <limits>
#include <utility>

#include "framework/ClassRegistry.h"
#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/ComponentErrors.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Color.h"
#include "platform/core/Stream.h"
#include "platform/core/Text.h"

namespace vandrel {

namespace {

// Deep enough for any real form or skin; a damaged stream cannot exhaust the stack.
constexpr int kMaxNesting = 200;

std::string KindName(int kind) {
  static const char* const kNames[] = {
      "Null", "List", "Int8", "Int16", "Int32", "Extended", "String", "Ident",
      "False", "True", "Binary", "Set", "LString", "Nil", "Collection", "Single",
      "Currency", "Date", "WString", "Int64", "UTF8String", "UString"};
  if (kind >= 0 && kind <= kLastValueType) return kNames[kind];
  return "kind " + IntToStr(kind);
}

template <typename T>
T GetLE(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (size_t i = 0; i < sizeof(T); ++i) v |= std::uint64_t(p[i]) << (8 * i);
  return T(v);
}

std::string WhereOf(const TPersistent& instance) {
  if (auto* c = dynamic_cast<const TComponent*>(&instance))
    return c->Name().empty() ? std::string(c->ClassName()) : c->Name();
  return instance.GetNamePath();
}

thread_local int t_nesting = 0;

}  // namespace

TComponent* ReadComponentFromStream(TStream& stream, TComponent* root) {
  TReader reader(stream);
  return reader.ReadRootComponent(root);
}

void TReader::Error(const std::string& message) { throw EReadError(message); }

TReader::TNesting::TNesting(TReader& reader) {
  if (t_nesting >= kMaxNesting)
    reader.Error("Stream nests too deeply at offset " + IntToStr(reader.Stream().Position()));
  ++t_nesting;
}

TReader::TNesting::~TNesting() { --t_nesting; }

void TReader::ReadExact(void* buffer, std::int64_t count) {
  if (count <= 0) return;
  if (m_stream.Read(buffer, count) != count)
    Error("Stream read past its end at offset " + IntToStr(m_stream.Position()));
}

void TReader::CheckRemaining(std::int64_t count) {
  std::int64_t remaining = m_stream.Size() - m_stream.Position();
  if (count < 0 || count > remaining)
    Error("Stream announces " + IntToStr(count) + " bytes at offset " + IntToStr(m_stream.Position()) +
          " but only " + IntToStr(remaining) + " remain");
}

std::uint8_t TReader::ReadByte() {
  std::uint8_t b = 0;
  ReadExact(&b, 1);
  return b;
}

std::uint32_t TReader::ReadCount() {
  std::uint8_t buf[4];
  ReadExact(buf, 4);
  return GetLE<std::uint32_t>(buf);
}

std::string TReader::ReadStr() {
  std::uint8_t length = ReadByte();
  std::string s(length, '\0');
  ReadExact(s.data(), length);
  return s;
}

std::uint8_t TReader::PeekByte() {
  std::uint8_t b = ReadByte();
  m_stream.Seek(-1, TSeekOrigin::soCurrent);
  return b;
}

TValueType TReader::ReadValue() {
  std::uint8_t b = ReadByte();
  if (b > kLastValueType)
    Error("Invalid value kind " + IntToStr(b) + " at offset " + IntToStr(m_stream.Position() - 1));
  return TValueType(b);
}

TValueType TReader::NextValue() {
  TValueType v = ReadValue();
  m_stream.Seek(-1, TSeekOrigin::soCurrent);
  return v;
}

void TReader::CheckValue(TValueType expected) {
  TValueType v = ReadValue();
  if (v != expected)
    Error("Expected " + KindName(expected) + " but found " + KindName(v) + " at offset " +
          IntToStr(m_stream.Position() - 1));
}

void TReader::ReadSignature() {
  char sig[4] = {};
  if (m_stream.Read(sig, 4) != 4 || std::memcmp(sig, "TPF0", 4) != 0)
    Error("Invalid stream format: the TPF0 signature is missing");
}

void TReader::ReadPrefix(std::uint8_t& flags, std::int32_t& childPos) {
  flags = 0;
  std::uint8_t b = ReadByte();
  if ((b & 0xF0) != 0xF0) {
    m_stream.Seek(-1, TSeekOrigin::soCurrent);
    return;
  }
  flags = b & 0x0F;
  if (flags & ffChildPos) childPos = ReadInteger();
}

std::int32_t TReader::ReadInteger() {
  std::int64_t v = ReadInt64();
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
    Error("Integer value " + IntToStr(v) + " out of range");
  return std::int32_t(v);
}

std::int64_t TReader::ReadInt64() {
  std::uint8_t buf[8];
  TValueType v = ReadValue();
  switch (v) {
    case vaInt8: ReadExact(buf, 1); return GetLE<std::int8_t>(buf);
    case vaInt16: ReadExact(buf, 2); return GetLE<std::int16_t>(buf);
    case vaInt32: ReadExact(buf, 4); return GetLE<std::int32_t>(buf);
    case vaInt64: ReadExact(buf, 8); return GetLE<std::int64_t>(buf);
    default: Error("Expected an integer but found " + KindName(v));
  }
}

bool TReader::ReadBoolean() {
  TValueType v = ReadValue();
  if (v == vaTrue) return true;
  if (v == vaFalse) return false;
  Error("Expected a Boolean but found " + KindName(v));
}

std::string TReader::ReadString() {
  TValueType v = ReadValue();
  switch (v) {
    case vaString: return ReadStr();
    case vaLString:
    case vaUTF8String: {
      std::uint32_t count = ReadCount();
      CheckRemaining(count);
      std::string s(count, '\0');
      ReadExact(s.data(), count);
      return s;
    }
    case vaWString:
    case vaUString: {
      std::uint32_t count = ReadCount();
      CheckRemaining(std::int64_t(count) * 2);
      std::vector<std::uint8_t> bytes(size_t(count) * 2);
      ReadExact(bytes.data(), std::int64_t(bytes.size()));
      std::u16string wide(count, u'\0');
      for (size_t i = 0; i < count; ++i) wide[i] = char16_t(GetLE<std::uint16_t>(&bytes[2 * i]));
      return Utf16ToUtf8(wide);
    }
    default: Error("Expected a string but found " + KindName(v));
  }
}

std::string TReader::ReadIdent() {
  TValueType v = ReadValue();
  switch (v) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: Error("Expected an identifier but found " + KindName(v));
  }
}

long double TReader::ReadFloat() {
  std::uint8_t buf[10];
  TValueType v = NextValue();
  switch (v) {
    case vaExtended: ReadValue(); ReadExact(buf, 10); return ExtendedFromBytes(buf);
    case vaSingle: {
      ReadValue();
      float f;
      ReadExact(&f, 4);
      return f;
    }
    case vaCurrency: ReadValue(); ReadExact(buf, 8); return (long double)(GetLE<std::int64_t>(buf)) / 10000;
    case vaDate: {
      ReadValue();
      double d;
      ReadExact(&d, 8);
      return d;
    }
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64: return (long double)ReadInt64();
    default: Error("Expected a number but found " + KindName(v));
  }
}

float TReader::ReadSingle() { return float(ReadFloat()); }
double TReader::ReadCurrency() { return double(ReadFloat()); }
double TReader::ReadDate() { return double(ReadFloat()); }

std::vector<std::uint8_t> TReader::ReadBinary() {
  CheckValue(vaBinary);
  std::uint32_t count = ReadCount();
  CheckRemaining(count);
  std::vector<std::uint8_t> bytes(count);
  ReadExact(bytes.data(), count);
  return bytes;
}

std::vector<std::string> TReader::ReadSet() {
  CheckValue(vaSet);
  std::vector<std::string> names;
  for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) names.push_back(std::move(name));
  return names;
}

void TReader::SkipValue() {
  TValueType v = ReadValue();
  auto skip = [&](std::int64_t count) {
    CheckRemaining(count);
    m_stream.Seek(count, TSeekOrigin::soCurrent);
  };
  switch (v) {
    case vaNull: case vaFalse: case vaTrue: case vaNil: return;
    case vaList: {
      TNesting nesting(*this);
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    }
    case vaInt8: return skip(1);
    case vaInt16: return skip(2);
    case vaInt32: case vaSingle: return skip(4);
    case vaInt64: case vaCurrency: case vaDate: return skip(8);
    case vaExtended: return skip(10);
    case vaString: case vaIdent: return skip(ReadByte());
    case vaBinary: case vaLString: case vaUTF8String: return skip(ReadCount());
    case vaWString: case vaUString: return skip(std::int64_t(ReadCount()) * 2);
    case vaSet:
      while (std::uint8_t length = ReadByte()) skip(length);
      return;
    case vaCollection: {
      TNesting nesting(*this);
      while (!EndOfList()) {
        TValueType next = NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          skip(ReadByte());
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      return;
    }
  }
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  std::uint8_t flags = 0;
  std::int32_t childPos = 0;
  ReadPrefix(flags, childPos);
  std::string className = ReadStr();
  std::string name = ReadStr();
  bool created = false;
  if (!root) {
    const TClassInfo& info = FindClass(className);
    if (!info.CanCreate() || !info.InheritsFrom(TComponent::StaticClassInfo()))
      Error("Class " + className + " cannot be read from a stream");
    root = info.Create(nullptr);
    created = true;
  }
  m_root = root;
  try {
    root->SetLoadingState(true);
    m_loaded.push_back(root);
    try {
      root->SetName(name);
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& e) {
      Error("Error reading " + className + " " + name + ": " + e.Message());
    }
    ReadIntoComponent(*root);
    ResolveFixups();
    for (size_t i = 0; i < m_loaded.size(); ++i) m_loaded[i]->Loaded();
    m_loaded.clear();
  } catch (...) {
    for (TComponent* c : m_loaded) c->SetLoadingState(false);
    m_loaded.clear();
    m_fixups.clear();
    if (created) delete root;
    throw;
  }
  return root;
}

TComponent* TReader::ReadComponent(TComponent* owner) {
  std::uint8_t flags = 0;
  std::int32_t childPos = 0;
  ReadPrefix(flags, childPos);
  std::string className = ReadStr();
  std::string name = ReadStr();
  TComponent* component = nullptr;
  if ((flags & (ffInherited | ffInline)) && owner) component = owner->FindComponent(name);
  bool created = false;
  if (!component) {
    const TClassInfo& info = FindClass(className);
    if (!info.CanCreate() || !info.InheritsFrom(TComponent::StaticClassInfo()))
      Error("Class " + className + " cannot be read from a stream");
    component = info.Create(owner);
    created = true;
  }
  size_t loadedMark = m_loaded.size();
  size_t fixupMark = m_fixups.size();
  try {
    component->SetLoadingState(true);
    m_loaded.push_back(component);
    try {
      component->SetName(name);
    } catch (const EReadError&) {
      throw;
    } catch (const Exception& e) {
      Error("Error reading " + className + " " + name + ": " + e.Message());
    }
    ReadIntoComponent(*component);
  } catch (...) {
    if (!created)
      for (size_t i = loadedMark; i < m_loaded.size(); ++i) m_loaded[i]->SetLoadingState(false);
    m_loaded.resize(loadedMark);
    m_fixups.resize(fixupMark);
    if (created) delete component;
    throw;
  }
  return component;
}

void TReader::ReadIntoComponent(TComponent& component) {
  TNesting nesting(*this);
  component.SetReadingState(true);
  try {
    while (!EndOfList()) ReadProperty(component);
    ReadListEnd();
  } catch (...) {
    component.SetReadingState(false);
    throw;
  }
  component.SetReadingState(false);
  // A child may start with a flag byte, which is no value kind.
  while (PeekByte() != vaNull) ReadComponent(&component);
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent& instance) {
  std::string path = ReadStr();
  ++m_propertyDepth;
  try {
    ReadPropertyPath(instance, path);
  } catch (const Exception& e) {
    // The innermost context is the useful one, also when a nested reader raised it.
    if (--m_propertyDepth > 0 || e.Message().starts_with("Error reading ")) throw;
    throw EReadError("Error reading " + WhereOf(instance) + "." + path + ": " + e.Message());
  }
  --m_propertyDepth;
}

void TReader::ReadPropertyPath(TPersistent& instance, const std::string& path) {
  TPersistent* object = &instance;
  size_t start = 0;
  for (;;) {
    size_t dot = path.find('.', start);
    const std::string_view segment =
        std::string_view(path).substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    const TPropertyInfo* property = object->ClassInfo().FindProperty(segment);
    if (dot != std::string::npos) {
      TPersistent* sub = property && property->kind == TPropertyKind::Object ? property->getObject(*object)
                                                                              : nullptr;
      if (!sub) Error("Property " + path + " does not exist");
      object = sub;
      start = dot + 1;
      continue;
    }
    if (property && property->kind != TPropertyKind::Object) return ReadPropValue(*object, *property);
    if (property) {
      auto* collection = dynamic_cast<TCollection*>(property->getObject(*object));
      if (!collection) Error("Property " + path + " is an object and takes no value");
      return ReadCollection(*collection);
    }
    std::string savedName = std::exchange(m_definedName, std::string(segment));
    bool savedHandled = std::exchange(m_definedHandled, false);
    object->DefineProperties(*this);
    bool handled = m_definedHandled;
    m_definedName = savedName;
    m_definedHandled = savedHandled;
    if (!handled) Error("Property " + path + " does not exist");
    return;
  }
}

void TReader::ReadPropValue(TPersistent& instance, const TPropertyInfo& property) {
  switch (property.kind) {
    case TPropertyKind::Integer: return property.setOrdinal(instance, ReadInteger());
    case TPropertyKind::Int64: return property.setOrdinal(instance, ReadInt64());
    case TPropertyKind::Boolean: return property.setOrdinal(instance, ReadBoolean() ? 1 : 0);
    case TPropertyKind::Enumeration: {
      std::string ident = ReadIdent();
      for (size_t i = 0; i < property.names.size(); ++i)
        if (SameText(property.names[i], ident)) return property.setOrdinal(instance, std::int64_t(i));
      Error("Invalid property value " + ident);
    }
    case TPropertyKind::Set: {
      std::uint64_t bits = 0;
      for (const std::string& name : ReadSet()) {
        size_t i = 0;
        while (i < property.names.size() && i < 64 && !SameText(property.names[i], name)) ++i;
        if (i == property.names.size() || i == 64) Error("Invalid set element " + name);
        bits |= std::uint64_t(1) << i;
      }
      return property.setOrdinal(instance, std::int64_t(bits));
    }
    case TPropertyKind::IdentInteger: {
      TValueType v = NextValue();
      if (v == vaInt8 || v == vaInt16 || v == vaInt32 || v == vaInt64)
        return property.setOrdinal(instance, ReadInteger());
      std::string ident = ReadIdent();
      auto value = property.fromIdent ? property.fromIdent(ident) : std::nullopt;
      if (!value) Error("Invalid property value " + ident);
      return property.setOrdinal(instance, *value);
    }
    case TPropertyKind::Float: {
      long double v = ReadFloat();
      if (property.floatType == TFloatType::Single) v = float(v);
      return property.setFloat(instance, double(v));
    }
    case TPropertyKind::String:
    case TPropertyKind::WideString: return property.setString(instance, ReadString());
    case TPropertyKind::Component: {
      TValueType v = NextValue();
      if (v == vaNil || v == vaNull) {
        ReadValue();
        property.setComponent(instance, nullptr);
        return;
      }
      CheckValue(vaIdent);
      m_stream.Seek(-1, TSeekOrigin::soCurrent);
      m_fixups.push_back({&instance, &property, ReadIdent(), WhereOf(instance) + "." + std::string(property.name)});
      return;
    }
    case TPropertyKind::Method: {
      TEventBase* event = property.getEvent(instance);
      TValueType v = NextValue();
      if (v == vaNil || v == vaNull) {
        ReadValue();
        if (event) event->Clear();
        return;
      }
      CheckValue(vaIdent);
      m_stream.Seek(-1, TSeekOrigin::soCurrent);
      std::string name = ReadIdent();
      const std::any* handler = m_root ? m_root->FindMethod(name) : nullptr;
      if (!handler) Error("Method '" + name + "' not found");
      if (event) event->Bind(name, *handler);
      return;
    }
    case TPropertyKind::Object: Error("Property " + std::string(property.name) + " takes no value");
  }
}

TComponent* TReader::FindReference(const std::string& path) const {
  TComponent* current = nullptr;
  size_t start = 0;
  while (start <= path.size()) {
    size_t dot = path.find('.', start);
    const std::string_view segment =
        std::string_view(path).substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (!current) {
      current = m_root->FindComponent(segment);
      if (!current && SameText(m_root->Name(), segment)) current = m_root;
    } else {
      current = current->FindComponent(segment);
    }
    if (!current || dot == std::string::npos) return current;
    start = dot + 1;
  }
  return current;
}

void TReader::ResolveFixups() {
  std::vector<Fixup> fixups = std::exchange(m_fixups, {});
  for (const Fixup& f : fixups) {
    TComponent* target = FindReference(f.path);
    if (!target) Error("Error reading " + f.where + ": unresolved reference to '" + f.path + "'");
    bool accepted = false;
    try {
      accepted = f.property->setComponent(*f.instance, target);
    } catch (const Exception& e) {
      Error("Error reading " + f.where + ": " + e.Message());
    }
    if (!accepted)
      Error("Error reading " + f.where + ": " + f.path + " is a " + std::string(target->ClassName()) +
            ", not a component this property can refer to");
  }
}

void TReader::ReadCollection(TCollection& collection) {
  CheckValue(vaCollection);
  TNesting nesting(*this);
  collection.Clear();
  while (!EndOfList()) {
    TValueType next = NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32) ReadInteger();
    TCollectionItem* item = collection.Add();
    ReadListBegin();
    while (!EndOfList()) ReadProperty(*item);
    ReadListEnd();
  }
  ReadListEnd();
}

void TReader::DefineProperty(std::string_view name, const ReadProc& readData, const WriteProc&, bool) {
  if (m_definedHandled || m_definedName.empty() || !SameText(name, m_definedName)) return;
  m_definedHandled = true;
  m_definedName.clear();
  if (readData)
    readData(*this);
  else
    SkipValue();
}

void TReader::DefineBinaryProperty(std::string_view name, const StreamProc& readData, const StreamProc&,
                                   bool) {
  if (m_definedHandled || m_definedName.empty() || !SameText(name, m_definedName)) return;
  m_definedHandled = true;
  m_definedName.clear();
  std::vector<std::uint8_t> bytes = ReadBinary();
  if (!readData) return;
  TReadOnlyMemoryStream data(bytes.data(), std::int64_t(bytes.size()));
  readData(data);
}

}  // namespace vandrel
