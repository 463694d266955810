// The reminder queries exactly as the application assembles them for one section, run through
// the data layer, each row turned into its line text. Tests compare the lines with the expected
// reminder tree of the fixture database.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/core/DateTime.h"

namespace vandrel {

class TConnection;

struct TSectionLines {
  // Category title -> lines, in the order the queries return them (plan lines followed by their
  // progress lines).
  std::map<std::string, std::vector<std::string>> Categories;
};

// Runs every query of one section. `today` gives the lunar month of month-mode birthdays.
// Failures propagate, except the card-expiry category's, which are swallowed.
TSectionLines BuildSection(TConnection& connection, TDateTime date, bool dayMode, TDateTime today);

// The literal SQL texts of one section, in the order the builder sends them (without the
// plan-progress query, which depends on plan rows existing).
std::vector<std::string> SectionQueries(TDateTime date, bool dayMode, TDateTime today);
std::string PlanProgressQuery(TDateTime date, bool dayMode);

}  // namespace vandrel
