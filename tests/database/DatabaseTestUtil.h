// Shared helpers of the data-layer suite: connection strings for the fixture files and a
// one-call "run this SQL, give me column values as text".
#pragma once

#include <string>
#include <vector>

#include "data/Connection.h"
#include "data/Query.h"

namespace vandrel {

inline const std::string kMdbDir = VANDREL_TEST_DATA "/mdb/";
// Files made by Access itself; used from the shared fixtures when present.
inline const std::string kRealDir = VANDREL_SOURCE_DIR "/../shared/fixtures/real/";

inline std::string JetConnectionString(const std::string& path, const std::string& password = "qelvondar") {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=" + password +
         ";Persist Security Info=False;Data Source=" + path;
}

inline void OpenFixture(TConnection& connection, const std::string& file, const std::string& password = "qelvondar") {
  connection.SetConnectionString(JetConnectionString(kMdbDir + file, password));
  connection.Open();
}

// Values of one column of every row, as text.
inline std::vector<std::string> Column(TConnection& connection, const std::string& sql, const std::string& column) {
  TQuery q(connection);
  q.SetSQL(sql);
  q.Open();
  std::vector<std::string> out;
  for (; !q.Eof(); q.Next()) out.push_back(q.FieldByName(column).AsString());
  return out;
}

}  // namespace vandrel
