// Process entry of vandrel.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Form1.h"
#include "framework/Application.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/display/X11Display.h"
#include "platform/gdi/PngWriter.h"
#include "platform/gdi/Surface.h"
#include "platform/os/Executable.h"
#include "platform/os/NamedMutex.h"
#include "platform/win/DisplayBackend.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace {

using namespace vandrel;

constexpr const char* kUsage =
    "Usage: vandrel [--dump | --json | --snapshot FILE.png | --version | --help]\n"
    "\n"
    "Vandrel shows what is due today, tomorrow, the day after, yesterday, this month and next\n"
    "month from the sales application's database (data.mdb beside the program, beside the\n"
    "program named by the registry value ExeFileName of SOFTWARE\\tarvo, or in the data folder).\n"
    "\n"
    "  --dump               fill the reminder window and print the status line and the tree as text\n"
    "  --json               the same as JSON\n"
    "  --snapshot FILE.png  fill the reminder window off screen and save a picture of it\n"
    "  --version            print the version\n"
    "\n"
    "Environment:\n"
    "  VANDREL_NOW=2024-05-12T09:30:00  pin the clock (tests and demonstrations)\n"
    "  VANDREL_SHORTDATE=yyyy-M-d       regional short date format\n"
    "  VANDREL_LONGTIME=H:mm:ss         regional long time format\n"
    "  VANDREL_REGISTRY=FILE            the settings file that stands in for the registry\n"
    "  WINEPREFIX=DIR                   a Wine prefix whose registry is also read (default ~/.wine)\n"
    "  XDG_CONFIG_HOME=DIR              where the logon autostart entry is written (autostart/)\n"
    "  XDG_DATA_HOME=DIR                the data folder (vandrel/): the skin and the calendar page when\n"
    "                                   the program's folder cannot be written; data.mdb, looked for last\n"
    "  XDG_RUNTIME_DIR=DIR              where the single-instance lock lives\n"
    "  VANDREL_BACKEND=x11|headless     the display (default: X11 when DISPLAY is set)\n";

enum class Mode { Interactive, Dump, Json, Snapshot };

// The main window, which runs the creation sequence as it is made.
TForm1* CreateMainWindow(TApplication& app, TMessageSink messages, TSideEffects sideEffects) {
  app.SetTitle("Vandrel");
  auto* form = new TForm1(&app, ExeFileName(), messages, sideEffects);
  app.SetMainForm(form);
  return form;
}

// The window built off screen, for the modes that print or save it.
int Render(Mode mode, const std::string& snapshotFile) {
  std::unique_ptr<THeadlessScreen> screen = THeadlessScreen::Create({1024, 768});
  TApplication app;
  TForm1* form = CreateMainWindow(app, TMessageSink::StandardError, TSideEffects::None);
  if (mode == Mode::Snapshot) {
    // A closed window (no data.mdb) has nothing left to show.
    if (form->CloseRequested()) return 1;
    form->Show();
    app.ProcessMessages();
    ProcessPendingMessages();
    const TRect bounds = WindowRect(form->Handle());
    TSurface picture(bounds.Width(), bounds.Height());
    screen->ReadScreen(picture, bounds);
    WritePng(picture, snapshotFile);
  } else {
    const TReminderOutline outline = form->Outline();
    const std::string text = mode == Mode::Json
                                 ? "{\"status\":" + JsonQuote(form->StatusText()) + ",\"tree\":" + outline.ToJson() + "}\n"
                                 : form->StatusText() + "\n" + outline.Dump();
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  return form->CreationFailed() ? 1 : 0;
}

int Interactive() {
  // A second instance ends at once, silently.
  TNamedMutex mutex("OrvenHint");
  if (mutex.AlreadyExists()) return 0;
  std::unique_ptr<TDisplayBackend> display = OpenDisplay();
  auto* x11 = dynamic_cast<TX11Display*>(display.get());
  if (!x11) {
    std::fputs("vandrel: there is no display to show the window on (DISPLAY is not set); "
               "--dump, --json and --snapshot FILE.png work without one\n",
               stderr);
    return 1;
  }
  x11->SetApplicationTitle("Vandrel");
  TApplication app;
  TForm1* form = CreateMainWindow(app, TMessageSink::MessageBox, TSideEffects::Write);
  if (form->CloseRequested()) return 0;
  app.Run();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Mode mode = Mode::Interactive;
  std::string snapshotFile;
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
    } else if (std::strcmp(arg, "--snapshot") == 0 && i + 1 < argc) {
      mode = Mode::Snapshot;
      snapshotFile = argv[++i];
    } else {
      std::fprintf(stderr, "vandrel: unknown argument \"%s\"\n\n%s", arg, kUsage);
      return 2;
    }
  }
  try {
    return mode == Mode::Interactive ? Interactive() : Render(mode, snapshotFile);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vandrel: %s\n", e.what());
    return 1;
  }
}
