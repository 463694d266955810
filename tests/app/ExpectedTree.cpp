#include "tests/app/ExpectedTree.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vandrel {

std::vector<TExpectedSection> ReadExpectedTree(const std::string& path, const std::vector<std::string>& chapters) {
  std::ifstream in(path);
  std::vector<TExpectedSection> out;
  std::string line, today;
  bool inChapter = false;
  auto startsWith = [](const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; };
  while (std::getline(in, line)) {
    if (startsWith(line, "# ")) {
      inChapter = std::any_of(chapters.begin(), chapters.end(), [&](const std::string& c) { return startsWith(line, c); });
    } else if (!inChapter) {
      continue;
    } else if (startsWith(line, "## today = ")) {
      today = line.substr(11, 10);
    } else if (startsWith(line, "### ")) {
      std::istringstream words(line.substr(4));
      TExpectedSection section;
      std::string mode;
      words >> section.Title >> section.Date >> mode;
      section.Today = today;
      section.DayMode = mode == "(day";
      out.push_back(section);
    } else if (startsWith(line, "- ") && !out.empty()) {
      TExpectedCategory category;
      category.Title = line.substr(2, line.find(':') - 2);
      category.Expanded = line.find(", expanded") != std::string::npos;
      out.back().Categories.push_back(category);
    } else if (startsWith(line, "    - `") && !out.empty() && !out.back().Categories.empty()) {
      std::string text = line.substr(line.find(": ", line.find('`', 7)) + 2);
      if (line.find("progress under plan") != std::string::npos) text.erase(0, text.find_first_not_of(' '));
      out.back().Categories.back().Lines.push_back(text);
    }
  }
  return out;
}

}  // namespace vandrel
