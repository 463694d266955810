// The autostart check box over the settings file: every situation of the start-up logic and the
// click handler, each run on its own settings file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/Autostart.h"
#include "app/Settings.h"
#include "platform/core/Exception.h"

using namespace vandrel;
namespace fs = std::filesystem;

namespace {

class AutostartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("vandrel-autostart-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir / "config");
    ::setenv("VANDREL_REGISTRY", (m_dir / "registry.reg").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
    ::setenv("WINEPREFIX", (m_dir / "no-wine").c_str(), 1);
    m_box.OnClick = [this] { AutostartClick(m_box.Checked(), m_path); };
  }
  void TearDown() override {
    ::unsetenv("VANDREL_REGISTRY");
    fs::remove_all(m_dir);
  }

  std::string AuToRun() { return ReadAppSetting("AUTORUN"); }
  std::string Run() { return ReadRegString("tarvo", kRunKey); }

  fs::path m_dir;
  std::string m_path = "/opt/tarvo/vandrel";
  TAutostartToggle m_box;  // ticked, as after the window is created
};

}  // namespace

TEST_F(AutostartTest, FirstStartTicksTheBoxAndRegistersThePath) {
  AutostartStartUp(m_box, m_path);
  EXPECT_TRUE(m_box.Checked());
  EXPECT_EQ(AuToRun(), "1");
  EXPECT_EQ(Run(), m_path);
  EXPECT_TRUE(fs::exists(m_dir / "config/autostart/tarvo.desktop"));
}

// The choice survives later starts: "1" keeps the box ticked and registers the current path.
TEST_F(AutostartTest, LaterStartsKeepTheUsersChoice) {
  AutostartStartUp(m_box, m_path);
  m_path = "/srv/tarvo/vandrel";  // the program moved
  TAutostartToggle secondStart;
  secondStart.OnClick = [&] { AutostartClick(secondStart.Checked(), m_path); };
  AutostartStartUp(secondStart, m_path);
  EXPECT_TRUE(secondStart.Checked());
  EXPECT_EQ(AuToRun(), "1");
  EXPECT_EQ(Run(), "/srv/tarvo/vandrel");

  m_box.SetChecked(false);  // the user unticks it
  EXPECT_EQ(AuToRun(), "0");
  EXPECT_EQ(Run(), "");
  TAutostartToggle thirdStart;
  thirdStart.OnClick = [&] { AutostartClick(thirdStart.Checked(), m_path); };
  AutostartStartUp(thirdStart, m_path);
  EXPECT_FALSE(thirdStart.Checked());
  EXPECT_EQ(AuToRun(), "0");
  EXPECT_EQ(Run(), "");
}

TEST_F(AutostartTest, RefreshFollowsTheSameRules) {
  AutostartStartUp(m_box, m_path);  // first start: ticked
  AutostartStartUp(m_box, m_path);  // refresh while ticked
  EXPECT_TRUE(m_box.Checked());
  EXPECT_EQ(AuToRun(), "1");
  m_box.SetChecked(false);
  const auto before = fs::last_write_time(m_dir / "registry.reg");
  AutostartStartUp(m_box, m_path);  // refresh while unticked: nothing written
  EXPECT_FALSE(m_box.Checked());
  EXPECT_EQ(fs::last_write_time(m_dir / "registry.reg"), before);
  m_box.SetChecked(true);  // the user ticks it again
  EXPECT_EQ(AuToRun(), "1");
  EXPECT_EQ(Run(), m_path);
}

TEST_F(AutostartTest, AValueWrittenByAnotherProgramIsTheSameValue) {
  WriteAppSetting("AutoRun", "1");
  AutostartStartUp(m_box, m_path);
  EXPECT_TRUE(m_box.Checked());
  EXPECT_EQ(Run(), m_path);
  WriteAppSetting("autorun", "yes");  // any other text means off
  AutostartStartUp(m_box, m_path);
  EXPECT_FALSE(m_box.Checked());
  EXPECT_EQ(AuToRun(), "0");
  EXPECT_EQ(Run(), "");
}

TEST_F(AutostartTest, WithoutAUsableSettingsFileTheBoxFollowsTheStepsAndNothingIsStored) {
  // A folder where the settings file should be: nothing can be read or written.
  fs::create_directories(m_dir / "registry.reg");
  AutostartStartUp(m_box, m_path);
  EXPECT_TRUE(m_box.Checked());
  EXPECT_EQ(AuToRun(), "");
  m_box.SetChecked(false);
  EXPECT_EQ(AuToRun(), "");
}

TEST_F(AutostartTest, ARefusedRunWriteIsSwallowedAtStartAndRaisedByTheBox) {
  // Something that is no desktop entry stands where the logon entry goes.
  fs::create_directories(m_dir / "config/autostart/tarvo.desktop");
  EXPECT_NO_THROW(AutostartStartUp(m_box, m_path));
  EXPECT_TRUE(m_box.Checked());
  EXPECT_EQ(AuToRun(), "1");
  EXPECT_THROW(m_box.SetChecked(false), Exception);
  EXPECT_EQ(AuToRun(), "0");
  EXPECT_TRUE(fs::is_directory(m_dir / "config/autostart/tarvo.desktop"));
}

TEST_F(AutostartTest, ARefusedSettingWriteIsRaisedAtStartAndLosesNothing) {
  // The sibling's key exists, but the settings file cannot be written (no room for it).
  const std::string before = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\tarvo]\r\n\"ExeFileName\"=\"/opt/tarvo/tarvo.exe\"\r\n";
  std::ofstream(m_dir / "registry.reg", std::ios::binary) << before;
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = old;
  tiny.rlim_cur = 16;
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  bool raised = false;
  try {
    AutostartStartUp(m_box, m_path);
  } catch (const Exception&) {
    raised = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldSignal);
  EXPECT_TRUE(raised);
  std::ifstream in(m_dir / "registry.reg", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
  EXPECT_FALSE(fs::exists(m_dir / "config/autostart/tarvo.desktop"));
}
