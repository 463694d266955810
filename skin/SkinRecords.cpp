#include "skin/SkinRecords.h"

#include <algorithm>
#include <memory>

#include "framework/ComponentErrors.h"
#include "framework/ObjectText.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Exception.h"
#include "platform/core/Text.h"
#include "skin/SkinObject.h"
#include "skin/SkinObjectRegistry.h"

namespace vandrel {

namespace {

// Large enough to read a big image in few calls, small enough that a damaged count costs little.
constexpr std::int64_t kReadPiece = 1 << 16;

thread_local int t_budgetScopes = 0;
thread_local int t_objectsRead = 0;

[[noreturn]] void EndsEarly(TStream& stream, std::string_view what) {
  throw EReadError("Skin data ends early: " + std::string(what) + " is incomplete at offset " +
                   IntToStr(stream.Position()));
}

void ReadObjectStream(TStream& stream, TSeSkinObject& object) {
  TReader reader(stream);
  reader.ReadRootComponent(&object);
}

}  // namespace

TSkinObjectBudget::TSkinObjectBudget() : m_outermost(t_budgetScopes == 0) {
  if (m_outermost) t_objectsRead = 0;
  ++t_budgetScopes;
}

TSkinObjectBudget::~TSkinObjectBudget() { --t_budgetScopes; }

std::int32_t ReadSkinInteger(TStream& stream, std::string_view what) {
  std::uint8_t bytes[4];
  if (stream.Read(bytes, 4) != 4) EndsEarly(stream, what);
  return std::int32_t(std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
                      std::uint32_t(bytes[3]) << 24);
}

std::vector<std::uint8_t> ReadSkinBytes(TStream& stream, std::int64_t count, std::string_view what) {
  if (count < 0) throw EReadError("Invalid size " + IntToStr(count) + " of " + std::string(what));
  std::vector<std::uint8_t> bytes;
  while (std::int64_t(bytes.size()) < count) {
    const std::int64_t have = std::int64_t(bytes.size());
    const std::int64_t piece = std::min(count - have, kReadPiece);
    // Room grows with what has arrived (at most twice that) and never past the count.
    if (have + piece > std::int64_t(bytes.capacity()))
      bytes.reserve(size_t(std::min(count, std::max(2 * have, have + piece))));
    bytes.resize(size_t(have + piece));
    if (stream.Read(bytes.data() + have, piece) != piece) EndsEarly(stream, what);
  }
  return bytes;
}

std::span<const std::uint8_t> ReadSkinSpan(TStream& stream, std::int64_t count, std::string_view what,
                                           std::vector<std::uint8_t>& storage) {
  auto* memory = dynamic_cast<TReadOnlyMemoryStream*>(&stream);
  if (!memory) {
    storage = ReadSkinBytes(stream, count, what);
    return storage;
  }
  if (count < 0) throw EReadError("Invalid size " + IntToStr(count) + " of " + std::string(what));
  const std::int64_t start = memory->Position();
  if (count > memory->Size() - start) {
    // Where gathering would have stopped.
    memory->SetPosition(memory->Size());
    EndsEarly(stream, what);
  }
  memory->SetPosition(start + count);
  return {memory->Memory() + start, size_t(count)};
}

std::string ReadSkinString(TStream& stream, std::string_view what) {
  const std::int32_t length = ReadSkinInteger(stream, what);
  std::vector<std::uint8_t> storage;
  const std::span<const std::uint8_t> bytes = ReadSkinSpan(stream, length, what, storage);
  return std::string(bytes.begin(), bytes.end());
}

void WriteSkinInteger(TStream& stream, std::int32_t value) {
  const std::uint32_t v = std::uint32_t(value);
  const std::uint8_t bytes[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
  stream.WriteBuffer(bytes, 4);
}

void WriteSkinString(TStream& stream, std::string_view value) {
  if (value.size() > size_t(INT32_MAX)) throw EWriteError("String too long for a skin file");
  WriteSkinInteger(stream, std::int32_t(value.size()));
  stream.WriteBuffer(value.data(), std::int64_t(value.size()));
}

TSeSkinObject* ReadObjectRecord(TStream& stream, TComponent* owner, TObjectRecordForm form) {
  TSkinObjectBudget budget;
  const std::string className = ReadSkinString(stream, "the class name of an object");
  const TClassInfo* info = FindSkinObjectClass(className);
  if (!info) throw EClassNotFound("Class " + className + " not found");
  if (++t_objectsRead > kMaxSkinObjects)
    throw EReadError("Skin holds more than " + IntToStr(kMaxSkinObjects) + " objects");
  std::unique_ptr<TSeSkinObject> object(static_cast<TSeSkinObject*>(info->Create(owner)));
  if (form == TObjectRecordForm::Text) {
    const std::string text = ReadSkinString(stream, "the text of object " + className);
    const std::string binary = ObjectTextToBinary(text);
    TReadOnlyMemoryStream data(binary.data(), std::int64_t(binary.size()));
    ReadObjectStream(data, *object);
  } else {
    const std::int32_t count = ReadSkinInteger(stream, "the size of object " + className);
    if (count < 0) throw EReadError("Invalid size " + IntToStr(count) + " of object " + className);
    // Content and nested children that are already in memory are read in place.
    std::vector<std::uint8_t> storage;
    const std::span<const std::uint8_t> bytes = ReadSkinSpan(stream, count, "object " + className, storage);
    TReadOnlyMemoryStream data(bytes.data(), std::int64_t(bytes.size()));
    ReadObjectStream(data, *object);
  }
  object->SetCharset(DEFAULT_CHARSET);
  return object.release();
}

void WriteObjectRecord(TStream& stream, TSeSkinObject& object, TObjectRecordForm form) {
  WriteSkinString(stream, object.ClassName());
  TMemoryStream binary;
  WriteComponentToStream(binary, object);
  if (form == TObjectRecordForm::Text) {
    TMemoryStream text;
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    WriteSkinString(stream, std::string_view(reinterpret_cast<const char*>(text.Memory()), size_t(text.Size())));
  } else {
    if (binary.Size() > INT32_MAX) throw EWriteError("Object too large for a skin file");
    WriteSkinInteger(stream, std::int32_t(binary.Size()));
    stream.WriteBuffer(binary.Memory(), binary.Size());
  }
}

}  // namespace vandrel
