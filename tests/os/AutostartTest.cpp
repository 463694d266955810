#include "platform/os/Autostart.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/core/Exception.h"
#include "platform/os/Registry.h"
#include "tests/os/TestFiles.h"

namespace vandrel {
namespace {

using test::ReadFile;
using test::WriteFile;

// desktop-file-validate's verdict: empty when the file is a valid desktop entry.
std::string Validate(const std::string& fileName) {
  std::string command = "desktop-file-validate '" + fileName + "' 2>&1; echo \"exit $?\"";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "cannot run desktop-file-validate";
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  return output == "exit 0\n" ? "" : output;
}

TEST(AutostartTest, ExecQuotesThePathAsOneLiteralArgument) {
  const std::pair<std::string, std::string> cases[] = {
      {"/usr/bin/vandrel", "\"/usr/bin/vandrel\""},
      {"/opt/my apps/vandrel", "\"/opt/my apps/vandrel\""},
      {"/x/$HOME/`id`/a\"b", "\"/x/\\\\$HOME/\\\\`id\\\\`/a\\\\\"b\""},
      {"/x/a\\b", "\"/x/a\\\\\\\\b\""},  // quoting doubles it, the string type doubles both
      {"/x/100%/%f", "\"/x/100%%/%%f\""},
      {"/x/tab\there;&|<>*?#()~'", "\"/x/tab\\there;&|<>*?#()~'\""},
  };
  for (const auto& [path, exec] : cases) EXPECT_EQ(TAutostart::ExecValue(path), exec) << path;
}

TEST(AutostartTest, EntriesValidateAndEmptyValuesDisableThem) {
  test::TTempFolder temp;
  TAutostart autostart(temp / "autostart");
  const std::string paths[] = {"/usr/bin/vandrel", "/opt/my apps/\u6C47\u62D3/van$drel \"x\"", "/x/a\\b%c", "/x/tab\tname"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    autostart.Apply("tarvo", path);
    std::string fileName = temp / "autostart/tarvo.desktop";
    EXPECT_EQ(Validate(fileName), "");
    EXPECT_EQ(ReadFile(fileName), "[Desktop Entry]\nType=Application\nName=tarvo\nExec=" +
                                      TAutostart::ExecValue(path) + "\nHidden=false\n");
    autostart.Apply("TARVO", "");
    EXPECT_EQ(Validate(fileName), "");
    EXPECT_EQ(ReadFile(fileName), "[Desktop Entry]\nType=Application\nName=tarvo\nExec=" +
                                      TAutostart::ExecValue(path) + "\nHidden=true\n");
    std::filesystem::remove(fileName);
  }
  autostart.Apply("tarvo", "");
  EXPECT_FALSE(std::filesystem::exists(temp / "autostart/tarvo.desktop")) << "nothing to disable";
  EXPECT_EQ(autostart.EntryFileName("My App/2"), temp / "autostart/my_app_2.desktop");
  EXPECT_EQ(autostart.EntryFileName(".."), temp / "autostart/_...desktop");
}

TEST(AutostartTest, EditsOfAPersonSurvive) {
  test::TTempFolder temp;
  TAutostart autostart(temp.Path());
  const std::string edited =
      "# my autostart entry\n"
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Reminders\n"
      "Name[zh_CN]=\u63D0\u9192\n"
      "Exec=\"/old/vandrel\"\n"
      "X-GNOME-Autostart-Delay=10\n"
      "\n"
      "[Desktop Action Other]\n"
      "Name=Other\n"
      "Hidden=whatever\n";
  WriteFile(temp / "tarvo.desktop", edited);
  autostart.Apply("tarvo", "");
  std::string expected = edited;
  expected.insert(expected.find("\n\n[Desktop Action") + 1, "Hidden=true\n");
  EXPECT_EQ(ReadFile(temp / "tarvo.desktop"), expected);
  autostart.Apply("tarvo", "/new/vandrel");
  expected.replace(expected.find("\"/old/vandrel\""), 14, "\"/new/vandrel\"");
  expected.replace(expected.find("Hidden=true"), 11, "Hidden=false");
  EXPECT_EQ(ReadFile(temp / "tarvo.desktop"), expected);

  WriteFile(temp / "other.desktop", "not a desktop entry\n");
  EXPECT_THROW(autostart.Apply("other", "/bin/x"), EOSError);
  EXPECT_EQ(ReadFile(temp / "other.desktop"), "not a desktop entry\n");
}

TEST(AutostartTest, TheEntryShowsTheProgramsReadableName) {
  test::TTempFolder temp;
  TAutostart autostart(temp.Path(), "Vandrel");
  // Existing Name line -> after Apply: the value's name (what earlier versions wrote) gives way,
  // a person's own name stays, a missing one is filled in.
  const std::pair<std::string, std::string> cases[] = {
      {"", "Name=Vandrel\n"},
      {"Name=tarvo\n", "Name=Vandrel\n"},
      {"Name = tarvo\n", "Name=Vandrel\n"},
      {"Name=My reminders\n", "Name=My reminders\n"},
      {"Name=tarvo app\n", "Name=tarvo app\n"},
  };
  for (const auto& [before, after] : cases) {
    SCOPED_TRACE(before);
    WriteFile(temp / "tarvo.desktop", "[Desktop Entry]\nType=Application\n" + before + "Exec=\"/old\"\nHidden=true\n");
    autostart.Apply("tarvo", "/usr/bin/vandrel");
    const std::string entry = ReadFile(temp / "tarvo.desktop");
    EXPECT_NE(entry.find(after), std::string::npos) << entry;
    EXPECT_EQ(Validate(temp / "tarvo.desktop"), "");
  }
  std::filesystem::remove(temp / "tarvo.desktop");
  autostart.Apply("tarvo", "/usr/bin/vandrel");
  EXPECT_EQ(ReadFile(temp / "tarvo.desktop"),
            "[Desktop Entry]\nType=Application\nName=Vandrel\nExec=\"/usr/bin/vandrel\"\nHidden=false\n");
}

TEST(AutostartTest, RunValuesOfEitherRootAreMirrored) {
  test::TTempFolder temp;
  TRegistryPlaces places{temp / "registry.reg", "", temp / "autostart"};
  for (TRegistryRoot root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    TRegistry registry(root, places);
    ASSERT_TRUE(registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Run", true));
    registry.WriteString(root == HKEY_LOCAL_MACHINE ? "tarvo" : "Other", "/bin/vandrel");
    ASSERT_TRUE(registry.OpenKey("\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", true));
    registry.WriteString("once", "/bin/vandrel");
  }
  EXPECT_TRUE(std::filesystem::exists(temp / "autostart/tarvo.desktop"));
  EXPECT_TRUE(std::filesystem::exists(temp / "autostart/other.desktop"));
  EXPECT_FALSE(std::filesystem::exists(temp / "autostart/once.desktop"));

  // An entry that cannot be written is a write refused after opening.
  WriteFile(temp / "autostart/broken.desktop", "junk");
  TRegistry registry(HKEY_LOCAL_MACHINE, places);
  ASSERT_TRUE(registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Run", false));
  EXPECT_THROW(registry.WriteString("broken", "/bin/vandrel"), ERegistryException);
}

}  // namespace
}  // namespace vandrel
