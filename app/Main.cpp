// Process entry of vandrel.
#include <cstdio>
#include <cstring>

#include "app/StatusLine.h"
#include "platform/core/Clock.h"

namespace {

constexpr const char* kUsage =
    "Usage: vandrel [--help]\n"
    "\n"
    "Vandrel shows what is due today, tomorrow, the day after, yesterday, this month and next\n"
    "month from the sales application's database. It takes no arguments.\n"
    "\n"
    "Environment:\n"
    "  VANDREL_NOW=2024-05-12T09:30:00  pin the clock (tests and demonstrations)\n"
    "  VANDREL_SHORTDATE=yyyy-M-d       regional short date format\n"
    "  VANDREL_LONGTIME=H:mm:ss         regional long time format\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    std::fprintf(stderr, "vandrel: unknown argument \"%s\"\n\n%s", argv[i], kUsage);
    return 2;
  }
  std::printf("%s\n", vandrel::StatusLineText(vandrel::Now()).c_str());
  return 0;
}
