// The Jet functions the translated SQL calls, registered on an SQLite connection. They work on
// day counts (REAL) and on date texts alike, as Jet's do.
#pragma once

#include <string>
#include <string_view>

#include "data/JetType.h"

struct sqlite3;

namespace vandrel {

void RegisterJetFunctions(sqlite3* db);

// A value of a Jet type as text where a text column holds it: a date/time gives the long time
// alone on 1899-12-30, the short date alone at midnight, else both; a boolean "True"/"False"; a
// number its shortest decimal text.
std::string JetVariantText(double value, TJetType type);
std::string JetNumberText(double value, TJetType type);
// FormatDateTime(pattern, value), without the general pattern reader for the default short date
// and long time: every date cell of a refresh goes through here.
std::string JetDateText(const std::string& pattern, double value);
// For format(date, pattern) = format(other date, pattern) on the patterns of the reminder
// queries: one number per shown text, as the SQL function jet_datekey(date, pattern) gives it.
// False for another pattern or a value that is no date.
bool JetDateKey(std::string_view pattern, double value, long long& key);

}  // namespace vandrel
