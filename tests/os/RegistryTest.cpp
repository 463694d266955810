#include "platform/os/Registry.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "platform/os/UserDirectories.h"
#include "tests/os/TestFiles.h"

namespace vandrel {
namespace {

using test::ReadFile;
using test::WriteFile;

const char* const kAppKey = "\\SOFTWARE\\tarvo";
const char* const kRunKey = "software\\microsoft\\windows\\CurrentVersion\\Run\\";

class RegistryTest : public ::testing::Test {
 protected:
  TRegistryPlaces Places() const { return {SettingsFile(), m_winePrefix, m_temp / "autostart"}; }
  std::string SettingsFile() const { return m_temp / "config/vandrel/registry.reg"; }

  // The application's two helpers, written on the registry exactly as its start-up logic uses them.
  std::string ReadRegString(const std::string& name, const std::string& key) const {
    TRegistry registry(HKEY_LOCAL_MACHINE, Places());
    return registry.OpenKey(key, false) ? registry.ReadString(name) : std::string();
  }
  void WriteRegString(const std::string& name, const std::string& value, const std::string& key) const {
    TRegistry registry(HKEY_LOCAL_MACHINE, Places());
    if (registry.OpenKey(key, true)) registry.WriteString(name, value);
  }

  test::TTempFolder m_temp;
  std::string m_winePrefix;
};

TEST_F(RegistryTest, StartsAndClicksKeepOneAutostartValue) {
  EXPECT_EQ(ReadRegString("AutoRun", kAppKey), "");  // first start: no file at all
  WriteRegString("AuToRun", "1", kAppKey);
  WriteRegString("tarvo", "/opt/my apps/vandrel", kRunKey);
  EXPECT_EQ(ReadFile(SettingsFile()),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n\"AuToRun\"=\"1\"\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\software\\microsoft\\windows\\CurrentVersion\\Run]\r\n"
            "\"tarvo\"=\"/opt/my apps/vandrel\"\r\n");

  EXPECT_EQ(ReadRegString("AutoRun", kAppKey), "1");  // next start: the value written is the one read
  WriteRegString("AuToRun", "0", kAppKey);
  WriteRegString("tarvo", "", kRunKey);
  std::string saved = ReadFile(SettingsFile());
  EXPECT_EQ(saved.find("\"AuToRun\"=\"0\""), saved.rfind("\"AuToRun\"")) << "one value, changed in place";
  EXPECT_NE(saved.find("\"tarvo\"=\"\""), std::string::npos) << "the Run value is emptied, not deleted";
  EXPECT_EQ(ReadRegString("autorun", "software\\TARVO\\"), "0");
  EXPECT_TRUE(std::filesystem::exists(m_temp / "autostart/tarvo.desktop"));

  // Writing what is already stored leaves the file alone.
  struct stat before {}, after {};
  stat(SettingsFile().c_str(), &before);
  WriteRegString("AUTORUN", "0", kAppKey);
  stat(SettingsFile().c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(RegistryTest, OpenKeyWithAndWithoutCreate) {
  TRegistry registry(HKEY_LOCAL_MACHINE, Places());
  EXPECT_FALSE(registry.OpenKey(kAppKey, false));
  EXPECT_FALSE(std::filesystem::exists(SettingsFile())) << "opening without create writes nothing";
  EXPECT_EQ(registry.ReadString("AutoRun"), "");

  ASSERT_TRUE(registry.OpenKey(kAppKey, true));
  EXPECT_EQ(registry.CurrentPath(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo");
  EXPECT_NE(ReadFile(SettingsFile()).find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]"), std::string::npos)
      << "the key exists once it was opened with create";
  registry.CloseKey();

  EXPECT_TRUE(registry.OpenKey("software\\Tarvo\\", false));
  // Below the open key unless the path starts at the root.
  EXPECT_TRUE(registry.OpenKey("Sub", true));
  EXPECT_EQ(registry.CurrentPath(), "HKEY_LOCAL_MACHINE\\software\\Tarvo\\Sub");
  EXPECT_TRUE(registry.OpenKey("\\software", false));
  EXPECT_FALSE(registry.OpenKey("\\software\\\\tarvo", true));
  EXPECT_TRUE(registry.KeyExists("\\SOFTWARE\\TARVO\\SUB"));

  TRegistry user(HKEY_CURRENT_USER, Places());
  EXPECT_FALSE(user.OpenKey(kAppKey, false)) << "each root has its own keys";
}

TEST_F(RegistryTest, KeysThatCannotBeOpenedReadEmptyAndSkipWrites) {
  const std::string notRegistry = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\n\"AutoRun\"=\"1\"\n";
  struct TCase {
    const char* what;
    std::function<void()> arrange;
  } cases[] = {
      {"a folder where the file should be", [&] { std::filesystem::create_directories(SettingsFile()); }},
      {"a file where the folder should be", [&] { WriteFile(m_temp / "config/vandrel", "x"); }},
      {"a file that is not a registry file", [&] { WriteFile(SettingsFile(), notRegistry); }},
      {"a file that cannot be written back unchanged",
       [&] {
         // UTF-16 with a lone surrogate: decoding it cannot be undone exactly.
         std::string text = "REGEDIT4\n[HKLM\\SOFTWARE\\tarvo]\n\"AutoRun\"=\"\"\n", bytes = "\xFF\xFE";
         for (char c : text) bytes += std::string{c, '\0'};
         WriteFile(SettingsFile(), bytes + std::string("\x00\xD8\n\x00", 4));
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(m_temp / "config");
    c.arrange();
    std::string before = std::filesystem::is_regular_file(SettingsFile()) ? ReadFile(SettingsFile()) : "";
    testing::internal::CaptureStderr();
    EXPECT_EQ(ReadRegString("AutoRun", kAppKey), "");
    EXPECT_NO_THROW(WriteRegString("AuToRun", "1", kAppKey));
    EXPECT_NO_THROW(WriteRegString("tarvo", "/bin/vandrel", kRunKey));
    EXPECT_EQ(ReadRegString("AutoRun", kAppKey), "");
    std::string report = testing::internal::GetCapturedStderr();
    if (std::filesystem::is_regular_file(SettingsFile())) {
      EXPECT_EQ(ReadFile(SettingsFile()), before);
    }
    EXPECT_FALSE(std::filesystem::exists(m_temp / "autostart")) << "nothing was written anywhere";
    if (std::string(c.what) != "a file where the folder should be") {
      EXPECT_NE(report.find(SettingsFile()), std::string::npos);
      EXPECT_EQ(report.find('\n'), report.size() - 1) << "reported once: " << report;
    }
  }
}

TEST_F(RegistryTest, WritesRefusedAfterOpeningRaiseWithTheSystemMessage) {
  WriteRegString("AuToRun", "1", kAppKey);
  const std::string saved = ReadFile(SettingsFile());
  TRegistry registry(HKEY_LOCAL_MACHINE, Places());
  ASSERT_TRUE(registry.OpenKey(kAppKey, true));

  // The folder turned into a file behind the program's back.
  std::filesystem::rename(m_temp / "config/vandrel", m_temp / "moved");
  WriteFile(m_temp / "config/vandrel", "");
  try {
    registry.WriteString("AuToRun", "0");
    FAIL() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_NE(e.Message().find(SystemMessage(ENOTDIR)), std::string::npos) << e.Message();
  }
  std::filesystem::remove(m_temp / "config/vandrel");
  std::filesystem::rename(m_temp / "moved", m_temp / "config/vandrel");

  // The file was replaced by something that is not ours to rewrite.
  WriteFile(SettingsFile(), "not a registry file");
  EXPECT_THROW(registry.WriteString("AuToRun", "0"), ERegistryException);
  EXPECT_EQ(ReadFile(SettingsFile()), "not a registry file");
  WriteFile(SettingsFile(), saved);

  // The disk fills up halfway through the save: a file size limit does the same to write().
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit limit{64, 64};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_IGN);
    try {
      registry.WriteString("AuToRun", std::string(200, '0'));
    } catch (const ERegistryException& e) {
      _exit(e.Message().find(SystemMessage(EFBIG)) != std::string::npos ? 0 : 2);
    }
    _exit(1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadFile(SettingsFile()), saved) << "the old file is still whole";
  for (const auto& entry : std::filesystem::directory_iterator(m_temp / "config/vandrel"))
    EXPECT_EQ(entry.path().filename(), "registry.reg") << "no temporary file left behind";
}

// Permission bits bind only a user without privileges, so the checks run in a child that drops
// root's rights when it has them.
TEST_F(RegistryTest, WithoutRightsNothingIsStoredAndNothingRaisesUntilAfterOpening) {
  std::filesystem::create_directories(m_temp / "config/vandrel");
  WriteFile(SettingsFile(), "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\n\"AutoRun\"=\"1\"\n");
  chmod(m_temp.Path().c_str(), 0755);
  chmod((m_temp / "config").c_str(), 0755);
  // Read-only for everybody, so the test holds for a user who owns the files too.
  chmod((m_temp / "config/vandrel").c_str(), 0555);
  chmod(SettingsFile().c_str(), 0444);
  std::filesystem::create_directories(m_temp / "own");
  chmod((m_temp / "own").c_str(), 0777);
  const std::string saved = ReadFile(SettingsFile());

  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    // A settings file this user may read but not change.
    if (ReadRegString("AutoRun", kAppKey) != "1") _exit(11);
    try {
      WriteRegString("AuToRun", "0", kAppKey);
      WriteRegString("tarvo", "/bin/vandrel", kRunKey);
    } catch (...) {
      _exit(12);
    }
    // A file of its own that turns read-only between opening the key and writing.
    TRegistryPlaces own{m_temp / "own/mine.reg", "", ""};
    TRegistry registry(HKEY_LOCAL_MACHINE, own);
    if (!registry.OpenKey(kAppKey, true)) _exit(13);
    chmod(own.settingsFile.c_str(), 0444);
    try {
      registry.WriteString("AuToRun", "0");
      _exit(14);
    } catch (const ERegistryException& e) {
      _exit(e.Message().find(SystemMessage(EACCES)) != std::string::npos ? 0 : 15);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(SettingsFile()), saved);
  EXPECT_EQ(ReadFile(m_temp / "own/mine.reg"), "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n");
  chmod((m_temp / "config/vandrel").c_str(), 0755);
}

TEST_F(RegistryTest, ValuesThatAreNotStringsRaise) {
  WriteFile(SettingsFile(), "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\n\"AutoRun\"=dword:00000001\n"
                            "\"Path\"=hex(2):25,50,25,00\n");
  TRegistry registry(HKEY_LOCAL_MACHINE, Places());
  ASSERT_TRUE(registry.OpenKey(kAppKey, false));
  EXPECT_THROW(registry.ReadString("autorun"), ERegistryException);
  EXPECT_EQ(registry.ReadString("Path"), "%P%");
  EXPECT_TRUE(registry.ValueExists("AUTORUN"));
  EXPECT_FALSE(registry.ValueExists("Other"));
  // Writing a string over it replaces the value, as the registry does.
  registry.WriteString("AuToRun", "0");
  EXPECT_EQ(registry.ReadString("AutoRun"), "0");
}

TEST_F(RegistryTest, DamagedFilesKeepWorkingAndLoseNothing) {
  const std::string damaged =
      "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\n\"Broken\"=\"no end\n\"AutoRun\"=\"1\"\n"
      "\"Blob\"=hex:00,\\\n  01\n\xC3(stray bytes\n";
  WriteFile(SettingsFile(), damaged);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ReadRegString("AutoRun", kAppKey), "1");
  WriteRegString("AuToRun", "0", kAppKey);
  WriteRegString("Other", "x", kAppKey);
  std::string report = testing::internal::GetCapturedStderr();
  std::string expected = damaged;
  expected.replace(expected.find("\"AutoRun\"=\"1\""), 13, "\"AutoRun\"=\"0\"");
  expected.insert(expected.find("\xC3("), "\"Other\"=\"x\"\n");
  EXPECT_EQ(ReadFile(SettingsFile()), expected);
  EXPECT_NE(report.find("line 3"), std::string::npos) << report;
  EXPECT_EQ(report.find('\n'), report.size() - 1) << "reported once: " << report;
}

TEST_F(RegistryTest, ConcurrentWritersKeepEachOthersValues) {
  TRegistry first(HKEY_LOCAL_MACHINE, Places()), second(HKEY_LOCAL_MACHINE, Places());
  ASSERT_TRUE(first.OpenKey(kAppKey, true));
  ASSERT_TRUE(second.OpenKey(kAppKey, true));
  second.WriteString("FromSecond", "2");
  first.WriteString("FromFirst", "1");
  EXPECT_EQ(ReadRegString("FromSecond", kAppKey), "2");
  EXPECT_EQ(ReadRegString("FromFirst", kAppKey), "1");
}

TEST_F(RegistryTest, LinkedFilesStayLinkedAndKeepTheirMode) {
  WriteFile(m_temp / "real/settings.reg", "REGEDIT4\n");
  chmod((m_temp / "real/settings.reg").c_str(), 0600);
  std::filesystem::create_directories(m_temp / "config/vandrel");
  std::filesystem::create_symlink(m_temp / "real/settings.reg", SettingsFile());
  WriteRegString("AuToRun", "1", kAppKey);
  EXPECT_TRUE(std::filesystem::is_symlink(SettingsFile()));
  EXPECT_EQ(ReadFile(m_temp / "real/settings.reg"), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\n\"AuToRun\"=\"1\"\n");
  struct stat info {};
  stat((m_temp / "real/settings.reg").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(RegistryTest, PlacesComeFromTheEnvironment) {
  test::TEnvironmentOverride registry("VANDREL_REGISTRY", std::nullopt);
  test::TEnvironmentOverride config("XDG_CONFIG_HOME", m_temp / "xdg");
  test::TEnvironmentOverride wine("WINEPREFIX", m_temp / "prefix");
  TRegistryPlaces places = TRegistryPlaces::FromEnvironment();
  EXPECT_EQ(places.settingsFile, m_temp / "xdg/vandrel/registry.reg");
  EXPECT_EQ(places.autostartDirectory, m_temp / "xdg/autostart");
  EXPECT_EQ(places.winePrefix, m_temp / "prefix");
  test::TEnvironmentOverride chosen("VANDREL_REGISTRY", m_temp / "mine.reg");
  EXPECT_EQ(TRegistryPlaces::FromEnvironment().settingsFile, m_temp / "mine.reg");
}

class WineRegistryTest : public RegistryTest {
 protected:
  WineRegistryTest() { m_winePrefix = VANDREL_TEST_DATA "/wine"; }
};

TEST_F(WineRegistryTest, SiblingUnderWineIsFoundThroughThePrefix) {
  std::string exe = ReadRegString("ExeFileName", "\\SOFTWARE\\tarvo\\");
  EXPECT_EQ(exe, m_winePrefix + "/dosdevices/c:/Program Files/tarvo/tarvo.exe");
  EXPECT_TRUE(std::filesystem::exists(ParentPath(exe) + "/data.mdb"));
  EXPECT_EQ(ReadRegString("title", kAppKey), "\u62D3\u6C83 \"R\"\t2");

  // Our own values under the same key do not hide the sibling's.
  WriteRegString("AuToRun", "1", kAppKey);
  EXPECT_EQ(ReadRegString("ExeFileName", kAppKey), exe);
  EXPECT_EQ(ReadRegString("AutoRun", kAppKey), "1");
  EXPECT_EQ(ReadFile(SettingsFile()).find("ExeFileName"), std::string::npos) << "the prefix is read, never copied";

  TRegistry registry(HKEY_LOCAL_MACHINE, Places());
  ASSERT_TRUE(registry.OpenKey(kAppKey, false));
  EXPECT_THROW(registry.ReadString("Version"), ERegistryException);
  EXPECT_THROW(registry.ReadString("Layout"), ERegistryException);
  EXPECT_FALSE(registry.OpenKey("\\SOFTWARE\\Other", false));
  TRegistry user(HKEY_CURRENT_USER, Places());
  EXPECT_FALSE(user.OpenKey(kAppKey, false));
}

TEST_F(WineRegistryTest, SixtyFourBitPrefixesUseTheThirtyTwoBitView) {
  m_winePrefix = m_temp / "wine64";
  WriteFile(m_winePrefix + "/system.reg",
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
            "[Software\\\\tarvo] 1733800000\n\"ExeFileName\"=\"C:\\\\native\\\\tarvo.exe\"\n\n"
            "[Software\\\\Wow6432Node\\\\tarvo] 1733800000\n#time=1db4a0e2f5c8d2a\n"
            "\"ExeFileName\"=\"c:\\\\\\x7528\\x6237\\\\TARVO\\\\tarvo.exe\"\n"
            "\"Other\"=\"D:\\\\data\\\\x\"\n");
  WriteFile(m_winePrefix + "/drive_c/\u7528\u6237/Tarvo/data.mdb", "x");
  std::string exe = ReadRegString("ExeFileName", kAppKey);
  EXPECT_EQ(exe, m_winePrefix + "/drive_c/\u7528\u6237/Tarvo/tarvo.exe");
  EXPECT_EQ(ReadRegString("Other", kAppKey), "D:\\data\\x") << "a drive the prefix lacks is not mapped";
  EXPECT_EQ(ReadRegString("ExeFileName", "\\SOFTWARE\\Wow6432Node\\tarvo"), exe);
}

}  // namespace
}  // namespace vandrel
