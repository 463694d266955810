// Reads the expected reminder tree of the fixture database (tests/data/mdb/sibling-expected.md):
// per "today", the sections with their categories, whether the builder leaves each expanded, and
// the line texts in order (a plan's progress lines follow the plan line).
#pragma once

#include <string>
#include <vector>

namespace vandrel {

struct TExpectedCategory {
  std::string Title;
  bool Expanded = false;
  std::vector<std::string> Lines;
};

struct TExpectedSection {
  std::string Today;  // yyyy-mm-dd
  std::string Title;
  std::string Date;  // yyyy-mm-dd
  bool DayMode = true;
  std::vector<TExpectedCategory> Categories;
};

// Reads the chapters whose heading starts with one of the given prefixes ("# 1.", "# 2.").
std::vector<TExpectedSection> ReadExpectedTree(const std::string& path, const std::vector<std::string>& chapters);

}  // namespace vandrel
