// The Jet column types as the data layer carries them from the file to a result column, and the
// SQLite declared type names that keep the Jet type visible through the import.
#pragma once

#include <string_view>

namespace vandrel {

enum class TJetType {
  jtUnknown,
  jtNull,
  jtBoolean,
  jtByte,
  jtInteger,
  jtLong,
  jtCurrency,
  jtSingle,
  jtDouble,
  jtDateTime,
  jtText,
  jtMemo,
  jtBinary,
  jtGuid,
};

// The declared type names carry the affinity SQLite derives from them ("INT", "REAL", "TEXT",
// "BLOB"), so values compare the way the Jet type needs.
std::string_view JetDeclaredType(TJetType type);
TJetType JetTypeFromDeclared(std::string_view declared);

bool IsJetNumeric(TJetType type);
bool IsJetText(TJetType type);
bool IsJetWholeNumber(TJetType type);

}  // namespace vandrel
