#include "data/JetType.h"

#include <array>
#include <utility>

#include "platform/core/Text.h"

namespace vandrel {

namespace {

constexpr std::array<std::pair<TJetType, std::string_view>, 13> kDeclared{{
    {TJetType::jtBoolean, "JETBOOL_INT"},
    {TJetType::jtByte, "JETBYTE_INT"},
    {TJetType::jtInteger, "JETSHORT_INT"},
    {TJetType::jtLong, "JETLONG_INT"},
    {TJetType::jtCurrency, "JETCURRENCY_REAL"},
    {TJetType::jtSingle, "JETSINGLE_REAL"},
    {TJetType::jtDouble, "JETDOUBLE_REAL"},
    {TJetType::jtDateTime, "JETDATE_REAL"},
    {TJetType::jtText, "JETTEXT"},
    {TJetType::jtMemo, "JETMEMO_TEXT"},
    {TJetType::jtBinary, "JETBINARY_BLOB"},
    {TJetType::jtGuid, "JETGUID_TEXT"},
    {TJetType::jtUnknown, "JETUNKNOWN_BLOB"},
}};

}  // namespace

std::string_view JetDeclaredType(TJetType type) {
  for (const auto& [t, name] : kDeclared)
    if (t == type) return name;
  return "JETUNKNOWN_BLOB";
}

TJetType JetTypeFromDeclared(std::string_view declared) {
  for (const auto& [t, name] : kDeclared)
    if (SameText(name, declared)) return t;
  return TJetType::jtUnknown;
}

bool IsJetNumeric(TJetType type) {
  switch (type) {
    case TJetType::jtBoolean:
    case TJetType::jtByte:
    case TJetType::jtInteger:
    case TJetType::jtLong:
    case TJetType::jtCurrency:
    case TJetType::jtSingle:
    case TJetType::jtDouble:
      return true;
    default:
      return false;
  }
}

bool IsJetText(TJetType type) {
  return type == TJetType::jtText || type == TJetType::jtMemo || type == TJetType::jtGuid;
}

bool IsJetWholeNumber(TJetType type) {
  return type == TJetType::jtBoolean || type == TJetType::jtByte || type == TJetType::jtInteger ||
         type == TJetType::jtLong;
}

}  // namespace vandrel
