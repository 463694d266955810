// The value kinds of the binary component stream and TFiler, the common base of TReader and TWriter
// through which DefineProperties declares custom stream properties.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace vandrel {

class TStream;
class TComponent;
class TReader;
class TWriter;

// Stored as one byte before each value.
enum TValueType : std::uint8_t {
  vaNull = 0,       // also ends lists, property lists and child lists
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,   // 10-byte real
  vaString = 6,     // one length byte
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,    // 32-bit byte count
  vaSet = 11,
  vaLString = 12,   // 32-bit byte count
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,  // 64-bit integer, value x 10000
  vaDate = 17,      // 8-byte double, OLE day count
  vaWString = 18,   // 32-bit count of UTF-16 units
  vaInt64 = 19,
  vaUTF8String = 20,
  // Read only: the other common writer stores wide strings this way (same layout as vaWString).
  vaUString = 21,
};
constexpr int kLastValueType = vaUString;

// Object header flag byte (high four bits set).
enum TFilerFlag : std::uint8_t { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// 10-byte little-endian extended reals.
std::array<std::uint8_t, 10> ExtendedToBytes(long double value);
long double ExtendedFromBytes(const std::uint8_t* bytes);

class TFiler {
 public:
  using ReadProc = std::function<void(TReader&)>;
  using WriteProc = std::function<void(TWriter&)>;
  using StreamProc = std::function<void(TStream&)>;

  explicit TFiler(TStream& stream) : m_stream(stream) {}
  virtual ~TFiler() = default;
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  TStream& Stream() const { return m_stream; }
  // The component whose stream this is; references and events are resolved against it.
  TComponent* Root() const { return m_root; }

  // A custom property with a value of any kind. The writer writes it only when hasData is true.
  virtual void DefineProperty(std::string_view name, const ReadProc& readData,
                              const WriteProc& writeData, bool hasData) = 0;
  // A custom property whose value is a binary block. The read procedure gets a stream over exactly
  // the stored bytes; the write procedure writes into an empty stream.
  virtual void DefineBinaryProperty(std::string_view name, const StreamProc& readData,
                                    const StreamProc& writeData, bool hasData) = 0;

 protected:
  TStream& m_stream;
  TComponent* m_root = nullptr;
};

}  // namespace vandrel
