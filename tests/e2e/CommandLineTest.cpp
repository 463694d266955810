// The vandrel executable as a user runs it, copied alone into a folder: where it finds data.mdb,
// what it writes beside itself, what --dump and --json print, and how it fails.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
             {"VANDREL_LONGTIME", ""}};
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

  EXPECT_TRUE(fs::exists(m_root / "app" / "mskn.mskn"));
  // The calendar page is written exactly as the build made it (GB2312, CR LF).
  EXPECT_EQ(ReadFile(m_root / "app" / "TheCal.htm"), ReadFile(VANDREL_CALENDAR_PAGE));
  EXPECT_GT(ReadFile(m_root / "app" / "TheCal.htm").size(), 10000u);
  EXPECT_FALSE(fs::exists(m_root / "tarvo" / "vandrel"));
  EXPECT_EQ(ReadFile(m_root / "app" / "data.mdb"), before);
  EXPECT_FALSE(fs::exists(m_root / "app" / "data.ldb"));
  // First start: autostart on, registered with the executable's own path.
  const std::string registry = ReadFile(m_root / "registry.reg");
  EXPECT_NE(registry.find("\"AuToRun\"=\"1\""), std::string::npos) << registry;
  EXPECT_NE(registry.find("\"tarvo\"=\"" + m_exe.string() + "\""), std::string::npos) << registry;
}

TEST_F(CommandLine, DatabaseBesideTheSiblingApplication) {
  fs::create_directories(m_root / "tarvo");
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "tarvo" / "data.mdb");
  std::ofstream(m_root / "tarvo" / "vandrel") << "an older copy";
  SiblingKey((m_root / "tarvo" / "tarvo.exe").string());

  const auto r = Run({"--dump"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("给客户回电话"), std::string::npos) << r.Out;
  // Nothing is written beside the database: autostart starts the program where it lies.
  EXPECT_EQ(ReadFile(m_root / "tarvo" / "vandrel"), "an older copy");
  EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "tarvo"), fs::directory_iterator()), 2);
  const std::string registry = ReadFile(m_root / "registry.reg");
  EXPECT_NE(registry.find("\"tarvo\"=\"" + m_exe.string() + "\""), std::string::npos) << registry;
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
  EXPECT_FALSE(fs::exists(m_root / "work" / "vandrel"));
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
  // The PNG header names the whole window: the 382 x 536 client area inside the classic frame.
  const std::string png = ReadFile(picture);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  auto be32 = [&](size_t at) {
    return (unsigned(std::uint8_t(png[at])) << 24) | (unsigned(std::uint8_t(png[at + 1])) << 16) |
           (unsigned(std::uint8_t(png[at + 2])) << 8) | unsigned(std::uint8_t(png[at + 3]));
  };
  const unsigned width = be32(16), height = be32(20);
  EXPECT_EQ(width - 382, 8u);
  EXPECT_GT(height, 536u + 8u);

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

TEST_F(CommandLine, ARunningOlderCopyBesideTheSiblingIsLeftAlone) {
  fs::create_directories(m_root / "tarvo");
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "tarvo" / "data.mdb");
  fs::copy_file("/bin/sleep", m_root / "tarvo" / "vandrel");
  SiblingKey((m_root / "tarvo" / "tarvo.exe").string());
  // The older copy is running while the new one starts.
  const pid_t older = fork();
  if (older == 0) {
    execl((m_root / "tarvo" / "vandrel").c_str(), "vandrel", "30", nullptr);
    _exit(127);
  }
  ::usleep(200 * 1000);
  const auto r = Run({"--dump"});
  ::kill(older, SIGKILL);
  ::waitpid(older, nullptr, 0);
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ReadFile(m_root / "tarvo" / "vandrel"), ReadFile("/bin/sleep"));
  EXPECT_FALSE(fs::exists(m_root / "tarvo" / "vandrel.new"));
}

// An installed program: its folder cannot be written by the user who runs it (as root, the test
// runs it as nobody, since root may write anywhere).
TEST_F(CommandLine, AReadOnlyProgramFolderSendsItsFilesToTheDataFolder) {
  const fs::path data = m_root / "share" / "vandrel";
  m_env["XDG_DATA_HOME"] = (m_root / "share").string();
  fs::create_directories(m_root / "tarvo");
  fs::copy_file(kFixtures + "sibling.mdb", m_root / "tarvo" / "data.mdb");
  SiblingKey((m_root / "tarvo" / "tarvo.exe").string());
  std::string program = m_exe.string();
  std::vector<std::string> prefix;
  if (::geteuid() == 0) {
    // Readable, not writable, by the user the program runs as, whatever the umask.
    for (const fs::path& p : {m_root / "app", m_root / "app" / "vandrel", m_root / "tarvo"})
      fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(m_root / "tarvo" / "data.mdb", fs::perms::owner_read | fs::perms::owner_write |
                                                      fs::perms::group_read | fs::perms::others_read);
    for (const auto& entry : fs::recursive_directory_iterator(m_root)) {
      const std::string path = entry.path().string();
      if (!path.starts_with((m_root / "app").string()) && !path.starts_with((m_root / "tarvo").string())) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
      }
    }
    ASSERT_EQ(::chown(m_root.c_str(), 65534, 65534), 0);
    program = "/usr/bin/setpriv";
    prefix = {"--reuid=65534", "--regid=65534", "--clear-groups", m_exe.string()};
  } else {
    fs::permissions(m_root / "app", fs::perms::owner_write, fs::perm_options::remove);
    fs::permissions(m_root / "tarvo", fs::perms::owner_write, fs::perm_options::remove);
  }
  auto run = [&](const std::string& argument) {
    std::vector<std::string> args = prefix;
    args.push_back(argument);
    return RunProcess(program, args, m_env, m_root.string());
  };

  // Beside the sibling application.
  auto r = run("--dump");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("给客户回电话"), std::string::npos) << r.Out;
  EXPECT_EQ(ReadFile(data / "TheCal.htm"), ReadFile(VANDREL_CALENDAR_PAGE));
  ASSERT_TRUE(fs::exists(data / "mskn.mskn"));
  EXPECT_EQ(ReadFile(data / "mskn.mskn"), ReadFile(VANDREL_SOURCE_DIR "/resources/skin/mskn.mskn"));
  EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "app"), fs::directory_iterator()), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "tarvo"), fs::directory_iterator()), 1);

  // The data folder's data.mdb is looked at last: when the sibling's has gone.
  fs::permissions(m_root / "tarvo", fs::perms::owner_write, fs::perm_options::add);
  fs::rename(m_root / "tarvo" / "data.mdb", data / "data.mdb");
  r = run("--dump");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("给客户回电话"), std::string::npos) << r.Out;
  fs::remove(data / "data.mdb");
  r = run("--dump");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, (m_root / "tarvo").string() + "/data.mdb 不存在！\n");
  if (::geteuid() != 0) fs::permissions(m_root / "app", fs::perms::owner_write, fs::perm_options::add);
}
