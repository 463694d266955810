// The window left running for a month over an unchanged database, refreshed again and again:
// what it holds must not grow with the days (memory, descriptors).
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/Form1.h"
#include "framework/Application.h"
#include "platform/core/Clock.h"
#include "platform/core/DateTime.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "tests/os/TestFiles.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator statistics (its header does not ship with every compiler).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace vandrel;
namespace fs = std::filesystem;

namespace {

size_t OpenDescriptors() {
  return size_t(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// Under AddressSanitizer the resident size says little (freed memory waits in quarantine): the
// bytes still allocated say what the program holds. Otherwise the resident size, with the freed
// pages given back first.
size_t MemoryInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  ::malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * size_t(::sysconf(_SC_PAGESIZE));
#endif
}

TEST(Soak, AMonthOfRefreshesOverAnUnchangedFileKeepsMemoryAndDescriptorsFlat) {
  // 2,000 refreshes over 30 days; with the sanitizers, which make each refresh many times slower,
  // fewer refreshes over the same days (every day still brings new query texts).
#if defined(__SANITIZE_ADDRESS__)
  constexpr int kRefreshes = 400;
#else
  constexpr int kRefreshes = 2000;
#endif
  constexpr int kSettled = kRefreshes / 20;  // 100 of 2,000
  const fs::path root = fs::temp_directory_path() / ("vandrel-soak-" + std::to_string(::getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "app");
  fs::copy_file("/bin/true", root / "app" / "vandrel");
  fs::copy_file(VANDREL_SOURCE_DIR "/resources/demo/demo.mdb", root / "app" / "data.mdb");
  test::TEnvironmentOverride registry("VANDREL_REGISTRY", (root / "registry.reg").string());
  test::TEnvironmentOverride config("XDG_CONFIG_HOME", (root / "config").string());
  test::TEnvironmentOverride wine("WINEPREFIX", (root / "no-wine").string());
  {
    auto screen = THeadlessScreen::Create({1024, 768});
    TApplication app;
    const TDateTime start = ComposeDateTime(EncodeDate(2026, 1, 20), EncodeTime(8, 0, 0, 0));
    ScopedClock clock(start);
    auto* form = new TForm1(&app, (root / "app" / "vandrel").string(), TMessageSink::StandardError);
    app.SetMainForm(form);
    form->Show();
    app.ProcessMessages();
    ASSERT_FALSE(form->CreationFailed());
    size_t memory = 0, descriptors = 0;
    size_t most = 0;
    for (int refresh = 1; refresh <= kRefreshes; ++refresh) {
      PinClock(start + 30.0 * refresh / kRefreshes);
      form->SeSkinButton2Click(form);
      app.ProcessMessages();
      ProcessPendingMessages();
      ASSERT_FALSE(form->CreationFailed()) << "refresh " << refresh;
      if (refresh == kSettled) {
        memory = MemoryInUse();
        descriptors = OpenDescriptors();
      } else if (refresh > kSettled) {
        most = std::max(most, MemoryInUse());
        ASSERT_EQ(OpenDescriptors(), descriptors) << "refresh " << refresh;
      }
    }
    EXPECT_LT(most, memory + (2u << 20)) << "from " << memory << " to " << most << " bytes";
    EXPECT_EQ(form->Outline().TopLevel().size(), 6u);
    delete form;
  }
  fs::remove_all(root);
}

}  // namespace
