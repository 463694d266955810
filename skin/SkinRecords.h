// The records of the skin content form: 32-bit integers, counted strings, and skin objects stored
// as text or binary object records (class name, then the object's component stream). Readers take
// bytes as they arrive and check every count against them, so a damaged count costs no memory
// that the input does not back, and every fault raises EReadError saying what and where.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Stream.h"

namespace vandrel {

class TComponent;
class TSeSkinObject;

// The most objects one load may create. Real skins hold a few hundred; the bound keeps a damaged
// file from building millions of objects out of a few kilobytes of compressed data.
inline constexpr int kMaxSkinObjects = 16384;

std::int32_t ReadSkinInteger(TStream& stream, std::string_view what);
std::string ReadSkinString(TStream& stream, std::string_view what);
// Exactly count bytes, gathered as they arrive.
std::vector<std::uint8_t> ReadSkinBytes(TStream& stream, std::int64_t count, std::string_view what);
// The same bytes, where they lie when the stream is a memory stream, else gathered into storage.
std::span<const std::uint8_t> ReadSkinSpan(TStream& stream, std::int64_t count, std::string_view what,
                                           std::vector<std::uint8_t>& storage);
void WriteSkinInteger(TStream& stream, std::int32_t value);
void WriteSkinString(TStream& stream, std::string_view value);

enum class TObjectRecordForm { Text, Binary };

// Reads one object record and creates the object with owner (its next child), or without one for
// a top-level object. On error the object is freed and the error propagates. Within one
// TSkinObjectBudget at most kMaxSkinObjects objects are read.
TSeSkinObject* ReadObjectRecord(TStream& stream, TComponent* owner, TObjectRecordForm form);
void WriteObjectRecord(TStream& stream, TSeSkinObject& object, TObjectRecordForm form);

// Counts the objects read on this thread while it lives; nested scopes share the outermost one.
class TSkinObjectBudget {
 public:
  TSkinObjectBudget();
  ~TSkinObjectBudget();
  TSkinObjectBudget(const TSkinObjectBudget&) = delete;
  TSkinObjectBudget& operator=(const TSkinObjectBudget&) = delete;

 private:
  bool m_outermost;
};

}  // namespace vandrel
