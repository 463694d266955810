// The vandrel executable as a user runs it, copied alone into a folder: where it finds data.mdb,
// what it writes beside itself, what --dump and --json print, and how it fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/os/NamedMutex.h"
#include "tests/e2e/Process.h"

using namespace vandrel;
namespace fs = std::filesystem;

namespace {

const std::string kFixtures = VANDREL_TEST_DATA "/mdb/";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("vandrel-e2e-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "app");
    fs::create_directories(m_root / "run");
    ::chmod((m_root / "run").c_str(), 0700);
    m_exe = m_root / "app" / "vandrel";
    fs::copy_file(VANDREL_EXE, m_exe);
    m_env = {{"VANDREL_REGISTRY", (m_root / "registry.reg").string()},
             {"XDG_CONFIG_HOME", (m_root / "config").string()},
             {"XDG_RUNTIME_DIR", (m_root / "run").string()},
             {"WINEPREFIX", (m_root / "no-wine").string()},
             {"HOME", m_root.string()},
             {"VANDREL_NOW", "2024-03-05T10:00:00"},
             {"VANDREL_SHORTDATE", ""},
             {"VANDREL_LONGTIME", ""},
             // In sanitizer builds the leak checker would add a note on the fontconfig suppression
             // it applied (the skin change notifications make the window, which loads fonts); the
             // program's own output is what these tests look at.
             {"LSAN_OPTIONS", "print_suppressions=0"}};
  }
  void TearDown() override { fs::remove_all(m_root); }

  void SiblingKey(const std::string& exeFileName) {
    std::ofstream(m_root / "registry.reg") << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n\"ExeFileName\"=\""
                                           << exeFileName << "\"\r\n";
  }
  TProcessResult Run(const std::vector<std::string>& args, const fs::path& cwd = {}) {
    return RunProcess(m_exe.string(), args, m_env, (cwd.empty() ? m_root : cwd).string());
  }

  fs::path m_root, m_exe;
  std::map<std::string, std::string> m_env;
};

}  // namespace

TEST_F(CommandLine, DatabaseBesideTheExecutable) {
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "app" / "data.mdb");
  // The sibling's folder also holds a database: it must not be looked at, nor receive a copy.
  fs::create_directories(m_root / "tarvo");
  fs::copy_file(kFixtures + "nopass.mdb", m_root / "tarvo" / "data.mdb");
  SiblingKey((m_root / "tarvo" / "tarvo.exe").string());
  const std::string before = ReadFile(m_root / "app" / "data.mdb");

  const auto r = Run({"--dump"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Out.rfind("2024-3-5  农历  一月廿五  星期二\n[+] 本日提示\n  [-] 事件提示\n        2024-3-5 9:00:00  给客户回电话\n", 0), 0u)
      << r.Out;
  std::vector<std::string> sections;
  std::istringstream lines(r.Out);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("[", 0) == 0) sections.push_back(line);
  EXPECT_EQ(sections, (std::vector<std::string>{"[+] 本日提示", "[+] 明日提示", "[+] 后天提示", "[+] 昨天提示",
                                                "[+] 本月提示", "[+] 下月提示"}));

  EXPECT_FALSE(fs::exists(m_root / "tarvo" / "vandrel"));
  EXPECT_EQ(ReadFile(m_root / "app" / "data.mdb"), before);
  EXPECT_FALSE(fs::exists(m_root / "app" / "data.ldb"));
}

// Every file under the test's folder with its content.
std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    files[fs::relative(entry.path(), root).string()] = entry.is_regular_file() ? ReadFile(entry.path()) : "(folder)";
  return files;
}

TEST_F(CommandLine, ThePrintingModesLeaveNoTrace) {
  // A --dump once rewrote the logon entry to name whichever copy was run, and copied itself
  // beside the sibling application. These modes only read: no settings, no logon entry, no copy
  // of the executable, no skin file or calendar page.
  fs::create_directories(m_root / "tarvo");
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "tarvo" / "data.mdb");
  std::ofstream(m_root / "tarvo" / "vandrel") << "an older copy";
  SiblingKey((m_root / "tarvo" / "tarvo.exe").string());
  struct Case {
    std::vector<std::string> args;
    const char* setting;  // "AuToRun" before the run, "" for none
    bool beside;          // data.mdb beside the executable rather than the sibling
  } cases[] = {
      {{"--dump"}, "", false},
      {{"--json"}, "1", true},
      {{"--snapshot", "window.png"}, "0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.setting + (c.beside ? " beside" : ""));
    fs::remove(m_root / "app" / "data.mdb");
    if (c.beside) fs::copy_file(kFixtures + "sibling.mdb", m_root / "app" / "data.mdb");
    SiblingKey((m_root / "tarvo" / "tarvo.exe").string());
    if (*c.setting) {
      std::ofstream(m_root / "registry.reg", std::ios::app) << "\"AuToRun\"=\"" << c.setting << "\"\r\n";
    }
    fs::remove(m_root / "window.png");
    const auto before = Files(m_root);
    const auto r = Run(c.args);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    auto after = Files(m_root);
    if (c.args[0] == "--snapshot") {
      EXPECT_EQ(after.erase("window.png"), 1u);
    }
    EXPECT_EQ(after, before);
  }
}

TEST_F(CommandLine, NoDatabaseAnywhere) {
  fs::create_directories(m_root / "empty");
  auto r = Run({"--dump"}, m_root / "empty");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "test\n");
  EXPECT_EQ(r.Err, "data.mdb 不存在！\n");

  SiblingKey((m_root / "tarvo" / "tarvo.exe").string());
  r = Run({"--dump"}, m_root / "empty");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, (m_root / "tarvo").string() + "/data.mdb 不存在！\n");
}

TEST_F(CommandLine, WithoutTheRegistryValueTheWorkingDirectoryIsSearched) {
  fs::create_directories(m_root / "work");
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "work" / "data.mdb");
  const auto r = Run({"--dump"}, m_root / "work");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("2024-3-5  农历  一月廿五  星期二\n[+] 本日提示\n", 0), 0u) << r.Out;
}

TEST_F(CommandLine, AFailingQueryStopsTheSequenceAndKeepsWhatWasBuilt) {
  fs::copy_file(kFixtures + "olderschema.mdb", m_root / "app" / "data.mdb");
  const auto r = Run({"--dump"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out,
            "test\n"
            "[+] 本日提示\n"
            "  [+] 事件提示\n"
            "        2024-3-5 9:00:00  给客户回电话\n"
            "        2024-3-5 8:30:00  每周二例会\n"
            "        5号 18:00:00 每月五号交水电费\n"
            "        星期二 8:30:00 每周二例会\n");
  EXPECT_NE(r.Err.find("TheMonthDay"), std::string::npos) << r.Err;
}

TEST_F(CommandLine, AnUnreadablePageIsAnErrorNamingTheTable) {
  // The data page holding a reminder's text, zeroed: the category once came out empty with
  // status 0, and the reader's own complaint on standard error.
  std::string bytes = ReadFile(kFixtures + "sibling.mdb");
  const std::u16string hint = u"给客户回电话";
  const std::string needle(reinterpret_cast<const char*>(hint.data()), hint.size() * 2);
  const size_t at = bytes.find(needle);
  ASSERT_NE(at, std::string::npos);
  std::fill(bytes.begin() + std::ptrdiff_t(at / 4096 * 4096), bytes.begin() + std::ptrdiff_t(at / 4096 * 4096 + 4096), '\0');
  std::ofstream(m_root / "app" / "data.mdb", std::ios::binary) << bytes;
  const auto r = Run({"--dump"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("'tHint'"), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("damaged"), std::string::npos) << r.Err;
  EXPECT_EQ(r.Err.find("error: reading"), std::string::npos) << r.Err;
  EXPECT_EQ(r.Err.find("warning:"), std::string::npos) << r.Err;
  // What was built before the failure stays: the first section, and no status line yet.
  EXPECT_EQ(r.Out.rfind("test\n[+] 本日提示\n", 0), 0u) << r.Out;
}

TEST_F(CommandLine, JsonCarriesImagesAndExpansion) {
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "app" / "data.mdb");
  const auto r = Run({"--json"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("{\"status\":\"2024-3-5  农历  一月廿五  星期二\",\"tree\":[{\"text\":\"本日提示\",\"expanded\":false,"
                        "\"image\":1,\"selected\":3,\"state\":2,\"children\":[{\"text\":\"事件提示\",\"expanded\":true,"
                        "\"image\":2,\"selected\":3,\"state\":2,\"children\":[{\"text\":\"2024-3-5 9:00:00  给客户回电话\","
                        "\"expanded\":false,\"image\":0,\"selected\":0,\"state\":-1,\"children\":[]}",
                        0),
            0u)
      << r.Out.substr(0, 600);
}

TEST_F(CommandLine, SnapshotWritesThePictureOfTheWindow) {
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "app" / "data.mdb");
  const fs::path picture = m_root / "window.png";
  auto r = Run({"--snapshot", picture.string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, "");
  // The PNG header names the whole window: the 382 x 536 client area inside the Steel frame
  // (5-pixel borders, a 29-pixel caption).
  const std::string png = ReadFile(picture);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  auto be32 = [&](size_t at) {
    return (unsigned(std::uint8_t(png[at])) << 24) | (unsigned(std::uint8_t(png[at + 1])) << 16) |
           (unsigned(std::uint8_t(png[at + 2])) << 8) | unsigned(std::uint8_t(png[at + 3]));
  };
  const unsigned width = be32(16), height = be32(20);
  EXPECT_EQ(width, 382u + 10u);
  EXPECT_EQ(height, 536u + 34u);

  // Without a database the window closes: no picture, the message, status 1.
  fs::remove(m_root / "app" / "data.mdb");
  fs::remove(picture);
  r = Run({"--snapshot", picture.string()}, m_root / "app");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("data.mdb 不存在！"), std::string::npos) << r.Err;
  EXPECT_FALSE(fs::exists(picture));
}

TEST_F(CommandLine, ASecondInstanceEndsAtOnceAndSilently) {
  ::setenv("XDG_RUNTIME_DIR", (m_root / "run").c_str(), 1);
  TNamedMutex first("OrvenHint");
  ASSERT_FALSE(first.AlreadyExists());
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "app" / "data.mdb");
  const auto r = Run({});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "");
  EXPECT_FALSE(fs::exists(m_root / "app" / "mskn.mskn"));
}

TEST_F(CommandLine, VersionHelpAndUnknownArguments) {
  auto r = Run({"--version"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "Vandrel 3.1.0.3 (product version 1.0.0.0)\n");
  r = Run({"--help"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Out.find("--dump"), std::string::npos);
  r = Run({"--frobnicate"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("unknown argument \"--frobnicate\""), std::string::npos);
}

TEST_F(CommandLine, TheDataFolderIsTheLastPlaceLookedForTheDatabase) {
  // Both hold a database: the sibling's wins, and the run leaves even the data folder alone.
  const fs::path data = m_root / "share" / "vandrel";
  m_env["XDG_DATA_HOME"] = (m_root / "share").string();
  fs::create_directories(data);
  fs::create_directories(m_root / "tarvo");
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "tarvo" / "data.mdb");
  fs::copy_file(kFixtures + "nopass.mdb", data / "data.mdb");
  SiblingKey((m_root / "tarvo" / "tarvo.exe").string());
  const auto before = Files(m_root);
  auto r = Run({"--dump"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("给客户回电话"), std::string::npos) << r.Out;
  EXPECT_EQ(Files(m_root), before);

  fs::remove(m_root / "tarvo" / "data.mdb");
  fs::copy_file(kFixtures + "sibling.mdb", data / "data.mdb", fs::copy_options::overwrite_existing);
  r = Run({"--dump"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("给客户回电话"), std::string::npos) << r.Out;

  fs::remove(data / "data.mdb");
  r = Run({"--dump"});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, (m_root / "tarvo").string() + "/data.mdb 不存在！\n");
}
