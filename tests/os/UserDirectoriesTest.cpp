#include "platform/os/UserDirectories.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "tests/os/TestFiles.h"

namespace vandrel {
namespace {

TEST(UserDirectoriesTest, DataHomeFollowsTheBaseDirectoryRules) {
  struct Case {
    std::optional<std::string> dataHome;
    std::string expected;
  };
  // A relative or empty XDG_DATA_HOME is to be ignored, as the rules say.
  const Case cases[] = {
      {"/srv/data", "/srv/data"},
      {"relative/data", "/home/ann/.local/share"},
      {"", "/home/ann/.local/share"},
      {std::nullopt, "/home/ann/.local/share"},
  };
  test::TEnvironmentOverride home("HOME", "/home/ann");
  for (const Case& c : cases) {
    test::TEnvironmentOverride data("XDG_DATA_HOME", c.dataHome);
    EXPECT_EQ(DataHomeDirectory(), c.expected) << c.dataHome.value_or("(unset)");
  }
}

TEST(UserDirectoriesTest, CanWriteDirectory) {
  test::TTempFolder temp;
  test::WriteFile(temp / "file", "x");
  EXPECT_TRUE(CanWriteDirectory(temp.Path()));
  EXPECT_TRUE(CanWriteDirectory(temp.Path() + "/"));
  EXPECT_FALSE(CanWriteDirectory(temp / "missing"));
  EXPECT_FALSE(CanWriteDirectory(""));
  // A file is no folder to create files in, even when the file itself may be written.
  EXPECT_FALSE(CanWriteDirectory(temp / "file/"));
  ::chmod((temp / "file").c_str(), 0444);
  std::filesystem::create_directory(temp / "locked");
  ::chmod((temp / "locked").c_str(), 0555);
  // Root writes anywhere on a writable file system, so the folder is writable to it.
  EXPECT_EQ(CanWriteDirectory(temp / "locked"), ::geteuid() == 0);
}

}  // namespace
}  // namespace vandrel
