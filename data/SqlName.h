// A table or column name as an SQLite identifier: in double quotes, inner quotes doubled, so any
// name stored in an Access file is safe in the SQL we generate.
#pragma once

#include <string>
#include <string_view>

namespace vandrel {

inline std::string QuoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += "\"\"";
    else out.push_back(c);
  }
  return out + "\"";
}

}  // namespace vandrel
