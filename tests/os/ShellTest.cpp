#include "platform/os/Shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/os/TestFiles.h"

namespace vandrel {
namespace {

TEST(ShellTest, TheOpenerGetsTheNameAsOneUninterpretedArgument) {
  test::TTempFolder temp;
  // A stand-in xdg-open that records its arguments, one per line, then a line "end".
  test::WriteFile(temp / "bin/xdg-open",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.out.tmp\"\n"
                  "echo end >> \"$0.out.tmp\"\nmv \"$0.out.tmp\" \"$0.out\"\n");
  chmod((temp / "bin/xdg-open").c_str(), 0755);
  test::TEnvironmentOverride path("PATH", temp / "bin" + ":/usr/bin:/bin");

  const std::pair<std::string, std::string> cases[] = {
      {temp / "my page; touch pwned.htm", temp / "my page; touch pwned.htm"},
      {"$(touch pwned) `touch pwned` | touch pwned & 'x' \"y\"", "$(touch pwned) `touch pwned` | touch pwned & 'x' \"y\""},
      {"--help", "./--help"},
  };
  for (const auto& [name, argument] : cases) {
    std::filesystem::remove(temp / "bin/xdg-open.out");
    EXPECT_TRUE(ShellOpen(name));
    // The opener runs on its own; give it a generous while to write what it saw.
    for (int i = 0; i < 1000 && !std::filesystem::exists(temp / "bin/xdg-open.out"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::ReadFile(temp / "bin/xdg-open.out"), argument + "\nend\n");
  }
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  EXPECT_FALSE(std::filesystem::exists(temp / "pwned"));
  EXPECT_FALSE(ShellOpen("/tmp/x.htm", "no-such-opener"));
  EXPECT_FALSE(ShellOpen("/tmp/x.htm", temp.Path()));  // a folder cannot be started
}

}  // namespace
}  // namespace vandrel
