// TReader: reads the binary component stream ("TPF0"): re-creates components through the class
// registry, sets their properties through the setters while they are loading, resolves
// references, then calls Loaded. Every fault of the input raises EReadError (or EClassNotFound)
// saying what and where; counts are checked against the bytes left before anything is allocated.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Filer.h"

namespace vandrel {

class TPersistent;
class TCollection;
struct TPropertyInfo;

class TReader : public TFiler {
 public:
  explicit TReader(TStream& stream) : TFiler(stream) {}

  // Reads the signature and one component tree. With root given, its properties and children are
  // read into it; otherwise the stream's class is created without owner. On error a component
  // this call created is freed and the error propagates.
  TComponent* ReadRootComponent(TComponent* root = nullptr);
  // Reads one component (header to its children's end) created with owner.
  TComponent* ReadComponent(TComponent* owner);
  void ReadSignature();
  // Reads the optional flag byte; childPos is set only with ffChildPos.
  void ReadPrefix(std::uint8_t& flags, std::int32_t& childPos);
  void ReadProperty(TPersistent& instance);
  void ReadCollection(TCollection& collection);

  TValueType ReadValue();
  TValueType NextValue();
  // A raw peek: where a property list goes on, the next byte is the length of a name, which may
  // be any value (a dotted name is often longer than the highest value kind).
  bool EndOfList() { return PeekByte() == vaNull; }
  void CheckValue(TValueType expected);
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }
  std::int32_t ReadInteger();
  std::int64_t ReadInt64();
  bool ReadBoolean();
  // Any string kind, as UTF-8.
  std::string ReadString();
  // vaIdent, or the words of False, True, nil and Null.
  std::string ReadIdent();
  // Any real kind or an integer.
  long double ReadFloat();
  float ReadSingle();
  double ReadCurrency();
  double ReadDate();
  std::vector<std::uint8_t> ReadBinary();
  std::vector<std::string> ReadSet();
  // Skips one value of any kind.
  void SkipValue();

  // Low-level pieces shared with the text converter.
  std::string ReadStr();
  std::uint8_t ReadByte();
  std::uint8_t PeekByte();
  std::uint32_t ReadCount();
  void ReadExact(void* buffer, std::int64_t count);
  // Raises EReadError unless count bytes remain.
  void CheckRemaining(std::int64_t count);
  [[noreturn]] void Error(const std::string& message);
  // Guards recursion into nested lists, collections and components. The depth is counted across
  // all readers of the thread, so a reader started inside a property (a child record stored as a
  // binary value) cannot deepen the stack without bound either.
  class TNesting {
   public:
    explicit TNesting(TReader& reader);
    ~TNesting();
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;
  };

  void DefineProperty(std::string_view name, const ReadProc& readData, const WriteProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(std::string_view name, const StreamProc& readData,
                            const StreamProc& writeData, bool hasData) override;

 private:
  struct Fixup {
    TPersistent* instance;
    const TPropertyInfo* property;
    std::string path;
    std::string where;
  };
  void ReadPropValue(TPersistent& instance, const TPropertyInfo& property);
  void ReadPropertyPath(TPersistent& instance, const std::string& path);
  void ResolveFixups();
  TComponent* FindReference(const std::string& path) const;
  void ReadIntoComponent(TComponent& component);

  std::vector<TComponent*> m_loaded;
  std::vector<Fixup> m_fixups;
  std::string m_definedName;  // the property DefineProperties is asked to claim
  bool m_definedHandled = false;
  int m_propertyDepth = 0;
};

// Reads a component tree from the stream (see TReader::ReadRootComponent).
TComponent* ReadComponentFromStream(TStream& stream, TComponent* root = nullptr);

}  // namespace vandrel
