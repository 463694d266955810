// Process entry of vandrel.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/OutlineWindow.h"
#include "platform/os/Executable.h"
#include "platform/os/NamedMutex.h"

namespace {

constexpr const char* kUsage =
    "Usage: vandrel [--dump | --json | --version | --help]\n"
    "\n"
    "Vandrel shows what is due today, tomorrow, the day after, yesterday, this month and next\n"
    "month from the sales application's database (data.mdb beside the program, or beside the\n"
    "program named by the registry value ExeFileName of SOFTWARE\\tarvo).\n"
    "\n"
    "  --dump     fill the reminder tree and print the status line and the tree as text\n"
    "  --json     the same as JSON\n"
    "  --version  print the version\n"
    "\n"
    "Environment:\n"
    "  VANDREL_NOW=2024-05-12T09:30:00  pin the clock (tests and demonstrations)\n"
    "  VANDREL_SHORTDATE=yyyy-M-d       regional short date format\n"
    "  VANDREL_LONGTIME=H:mm:ss         regional long time format\n"
    "  VANDREL_REGISTRY=FILE            the settings file that stands in for the registry\n"
    "  WINEPREFIX=DIR                   a Wine prefix whose registry is also read (default ~/.wine)\n"
    "  XDG_CONFIG_HOME=DIR              where the logon autostart entry is written (autostart/)\n"
    "  XDG_RUNTIME_DIR=DIR              where the single-instance lock lives\n";

enum class Mode { Interactive, Dump, Json };

int PrintTree(Mode mode) {
  vandrel::TOutlineWindow window(vandrel::ExeFileName());
  const bool built = window.Create();
  const std::string text = mode == Mode::Json ? window.ToJson() : window.Dump();
  std::fwrite(text.data(), 1, text.size(), stdout);
  return built ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Mode mode = Mode::Interactive;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::puts("Vandrel 3.1.0.3 (product version 1.0.0.0)");
      return 0;
    }
    if (std::strcmp(arg, "--dump") == 0) {
      mode = Mode::Dump;
    } else if (std::strcmp(arg, "--json") == 0) {
      mode = Mode::Json;
    } else {
      std::fprintf(stderr, "vandrel: unknown argument \"%s\"\n\n%s", arg, kUsage);
      return 2;
    }
  }
  if (mode != Mode::Interactive) return PrintTree(mode);

  // A second instance ends at once, silently.
  vandrel::TNamedMutex mutex("OrvenHint");
  if (mutex.AlreadyExists()) return 0;
  // The main window is not built yet; until it is, the interactive start prints the tree.
  return PrintTree(Mode::Dump);
}
