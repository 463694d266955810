// TWriter: writes components and values as the binary component stream ("TPF0").
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "framework/Filer.h"

namespace vandrel {

class TPersistent;
class TCollection;
struct TPropertyInfo;

class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream) : TFiler(stream) {}

  // The signature, then the root with its properties and children.
  void WriteRootComponent(TComponent& root);
  // One component: header, properties, end, children, end.
  void WriteComponent(TComponent& component);
  void WriteSignature();
  // Published properties (not equal to their defaults), then DefineProperties.
  void WriteProperties(const TPersistent& instance);
  void WriteCollection(const TCollection& collection);

  void WriteValue(TValueType type);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  // In the smallest of the 8-, 16-, 32- and 64-bit kinds that holds it.
  void WriteInteger(std::int64_t value);
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  // UTF-8 bytes as a short string, or a long string past 255 bytes.
  void WriteString(std::string_view value);
  // UTF-8 in, UTF-16 stored.
  void WriteWideString(std::string_view value);
  void WriteWideString(std::u16string_view value);
  void WriteUtf8String(std::string_view value);
  // False, True, nil and Null (any case) become their own kinds.
  void WriteIdent(std::string_view ident);
  void WriteFloat(long double value);
  void WriteSingle(float value);
  void WriteCurrency(double value);
  void WriteCurrencyRaw(std::int64_t scaled);
  void WriteDate(double value);
  void WriteBinary(std::span<const std::uint8_t> bytes);
  void WriteSet(std::span<const std::string> names);
  // A short string without a kind byte; raises EWriteError past 255 bytes.
  void WriteStr(std::string_view value);
  void WritePropName(std::string_view name);

  void DefineProperty(std::string_view name, const ReadProc& readData, const WriteProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const StreamProc& readData,
                            const StreamProc& writeData, bool hasData) override;

 private:
  void WriteProperty(const TPersistent& instance, const TPropertyInfo& property);
  void WriteBytes(const void* data, std::int64_t count);
  std::string ComponentPath(const TComponent* component) const;

  std::string m_propPath;
};

// Writes the root component with everything it owns to the stream.
void WriteComponentToStream(TStream& stream, TComponent& root);

}  // namespace vandrel
