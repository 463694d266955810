// Jet SQL to SQLite SQL. Every name is resolved against the tables of the FROM clause (case-
// insensitive, the table's column before any select-list alias) and emitted qualified; every
// expression gets its Jet type statically, because SQLite reports no type for computed columns.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/JetType.h"
#include "data/MdbFile.h"

namespace vandrel {

struct TSqlTableSchema {
  std::string Database = "main";  // the SQLite database (schema) that holds the imported table
  std::string Name;               // as stored in the file (and in the imported SQLite table)
  std::vector<TJetColumn> Columns;
};

// Returns the schema of a table named in a query; raises EDatabaseError when there is none.
using TSqlSchemaLookup = std::function<const TSqlTableSchema&(std::string_view table)>;

struct TSqlResultColumn {
  std::string Name;
  TJetType Type = TJetType::jtUnknown;
};

struct TTranslatedQuery {
  std::string Sql;
  std::vector<TSqlResultColumn> Columns;
  std::vector<std::string> Tables;
  // The columns by which a join looks up its inner tables: worth an index.
  std::vector<std::pair<std::string, std::string>> JoinColumns;
};

// Raises EDatabaseError naming the SQL text and the missing name or the syntax error.
TTranslatedQuery TranslateJetSelect(std::string_view jetSql, const TSqlSchemaLookup& schema);

// The table names a query reads, so they can be imported before translating.
std::vector<std::string> JetSelectTables(std::string_view jetSql);

// A `#...#` literal as a day count: year first (y-m-d), m/d/y with slashes, else the regional
// short date; an optional time follows. False when it is no date.
bool ParseJetDateLiteral(std::string_view text, double& value);

}  // namespace vandrel
