// The reminder window itself, off screen: its layout, what the creation sequence puts into it,
// the node images as the user opens and closes categories, and its three controls in the status
// bar driven through real mouse input.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "app/Form1.h"
#include "app/Settings.h"
#include "framework/Application.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Icon.h"
#include "framework/Picture.h"
#include "framework/TreeView.h"
#include "platform/core/Clock.h"
#include "platform/core/DateTime.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/gdi/Surface.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/TickClock.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "skin/SkinEngine.h"
#include "skincontrols/SkinButton.h"
#include "skincontrols/SkinCheckBox.h"
#include "skincontrols/SkinPanel.h"
#include "skincontrols/SkinStatusBar.h"
#include "tests/os/TestFiles.h"

using namespace vandrel;
namespace fs = std::filesystem;

namespace {

TDateTime At(int year, int month, int day, int hour, int minute) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, 0, 0));
}

using test::ReadFile;

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("vandrel-mainform-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "app");
    // The program the autostart entry names must exist.
    fs::copy_file("/bin/true", m_root / "app" / "vandrel");
    m_env.push_back(std::make_unique<test::TEnvironmentOverride>("VANDREL_REGISTRY", (m_root / "registry.reg").string()));
    m_env.push_back(std::make_unique<test::TEnvironmentOverride>("XDG_CONFIG_HOME", (m_root / "config").string()));
    m_env.push_back(std::make_unique<test::TEnvironmentOverride>("WINEPREFIX", (m_root / "no-wine").string()));
    m_env.push_back(std::make_unique<test::TEnvironmentOverride>("XDG_DATA_HOME", (m_root / "share").string()));
    m_screen = THeadlessScreen::Create({1024, 768});
    m_app = std::make_unique<TApplication>();
  }

  void TearDown() override {
    m_app.reset();
    while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    m_screen.reset();
    m_env.clear();
    fs::remove_all(m_root);
  }

  void Database(const std::string& fixture) {
    fs::copy_file(std::string(VANDREL_TEST_DATA "/mdb/") + fixture, m_root / "app" / "data.mdb");
  }

  TForm1* NewForm() {
    auto* form = new TForm1(m_app.get(), (m_root / "app" / "vandrel").string(), TMessageSink::StandardError);
    m_app->SetMainForm(form);
    return form;
  }

  TForm1* ShownForm() {
    TForm1* form = NewForm();
    form->Show();
    Pump();
    return form;
  }

  void Pump() {
    m_app->ProcessMessages();
    ProcessPendingMessages();
    m_app->ProcessMessages();
  }

  void ClickOn(TControl* control) {
    m_screen->Click(control->ClientToScreen({control->Width() / 2, control->Height() / 2}));
    Pump();
  }

  static const TReminderOutline::TNode* Find(const TReminderOutline& outline, const std::vector<std::string>& path) {
    const std::vector<IReminderTree::Node>* level = &outline.TopLevel();
    const TReminderOutline::TNode* found = nullptr;
    for (const std::string& text : path) {
      found = nullptr;
      for (IReminderTree::Node n : *level)
        if (outline.At(n).Text == text) found = &outline.At(n);
      if (!found) return nullptr;
      level = &found->Children;
    }
    return found;
  }

  // One section's nodes, printed.
  static std::string OutlineDumpOf(const TForm1& form, const std::vector<std::string>& path) {
    const TReminderOutline outline = form.Outline();
    const TReminderOutline::TNode* n = Find(outline, path);
    std::string text;
    if (n)
      for (IReminderTree::Node child : n->Children) text += outline.At(child).Text + "\n";
    return text;
  }

  fs::path m_root;
  std::vector<std::unique_ptr<test::TEnvironmentOverride>> m_env;
  std::unique_ptr<THeadlessScreen> m_screen;
  std::unique_ptr<TApplication> m_app;
};

TEST_F(Form1Test, LayoutAndArtwork) {
  Database("sibling.mdb");
  ScopedClock clock(At(2024, 3, 5, 10, 0));
  TForm1* form = ShownForm();
  ASSERT_FALSE(form->CreationFailed());

  EXPECT_EQ(form->Caption(), "Vandrel3.0");
  EXPECT_EQ(form->ClientWidth(), 382);
  EXPECT_EQ(form->ClientHeight(), 536);
  EXPECT_EQ(form->FormStyle(), fsStayOnTop);
  // Centred on the 1024 x 768 screen.
  const TRect window = WindowRect(form->Handle());
  EXPECT_NEAR(window.Left + window.Width() / 2, 512, 1);
  EXPECT_NEAR(window.Top + window.Height() / 2, 384, 1);
  EXPECT_EQ(form->Icon()->Width(), 32);

  EXPECT_EQ(form->SeSkinPanel1()->BoundsRect(), Rect(0, 0, 382, 65));
  EXPECT_EQ(form->Image1()->BoundsRect(), Rect(4, 4, 378, 61));
  EXPECT_EQ(form->Image1()->Picture()->Width(), 398);
  EXPECT_EQ(form->Image1()->Picture()->Height(), 62);
  EXPECT_EQ(form->SeSkinPanel2()->BoundsRect(), Rect(0, 65, 382, 536));
  const TRect bar = form->SeSkinStatusBar1()->BoundsRect();
  EXPECT_EQ(bar, Rect(4, 471 - 4 - 22, 378, 471 - 4));
  EXPECT_EQ(form->TreeView1()->BoundsRect(), Rect(4, 4, 378, bar.Top));
  EXPECT_EQ(form->TreeView1()->Font()->Name(), "宋体");
  EXPECT_EQ(form->TreeView1()->Font()->Height(), -16);
  EXPECT_EQ(form->ImageList1()->Count(), 4);

  // The check box and the buttons sit in status panels 2 to 4.
  EXPECT_EQ(form->SbRun()->Parent(), form->SeSkinStatusBar1());
  EXPECT_EQ(form->SbRun()->BoundsRect(), Rect(203, 3, 279, 19));
  EXPECT_EQ(form->SeSkinButton1()->BoundsRect(), Rect(283, 3, 329, 19));
  EXPECT_EQ(form->SeSkinButton2()->BoundsRect(), Rect(333, 3, 379, 19));
  EXPECT_EQ(form->SbRun()->Caption(), "自动启动");
  EXPECT_EQ(form->SeSkinButton1()->Caption(), "万年历");
  EXPECT_EQ(form->SeSkinButton2()->Caption(), "刷新");

  // The see-through check box shows the status bar's skinned face around its glyph and caption:
  // beside the caption the screen is the same with the box and without it.
  TSurface pixel(1, 1);
  const TPoint beside = form->SbRun()->ClientToScreen({form->SbRun()->Width() - 3, 8});
  m_screen->ReadScreen(pixel, Bounds(beside.X, beside.Y, 1, 1));
  const COLORREF withBox = ColorFromPixel(pixel.Pixel(0, 0));
  form->SbRun()->SetVisible(false);
  Pump();
  m_screen->ReadScreen(pixel, Bounds(beside.X, beside.Y, 1, 1));
  EXPECT_EQ(withBox, ColorFromPixel(pixel.Pixel(0, 0)));
  form->SbRun()->SetVisible(true);
  Pump();
  // Every skinned control names the window's engine, and the shipped skin is bound.
  EXPECT_EQ(form->SeSkinPanel1()->SkinEngine(), form->SeSkinEngine());
  EXPECT_EQ(form->SeSkinStatusBar1()->SkinObject(), "StatusBar");
  for (TSeSkinPanel* panel : {form->SeSkinPanel1(), form->SeSkinPanel2()}) {
    EXPECT_TRUE(panel->SkinAvailable());
    EXPECT_TRUE(panel->Transparent());
  }
  for (TSeSkinButton* button : {form->SeSkinButton1(), form->SeSkinButton2()}) {
    EXPECT_TRUE(button->SkinAvailable());
    EXPECT_TRUE(button->Transparent());
  }
  EXPECT_TRUE(form->SbRun()->SkinAvailable());
  EXPECT_TRUE(form->SeSkinStatusBar1()->SkinAvailable());

  EXPECT_EQ(form->StatusText(), "2024-3-5  农历  一月廿五  星期二");
  EXPECT_EQ(form->SeSkinEngine()->SkinFile(), (m_root / "app" / "mskn.mskn").string());
  EXPECT_TRUE(fs::exists(m_root / "app" / "TheCal.htm"));
  // The tree has the keyboard focus once the window is active.
  EXPECT_EQ(form->ActiveControl(), form->TreeView1());
}

TEST_F(Form1Test, NodeImagesFollowTheUsersExpandAndCollapse) {
  Database("sibling.mdb");
  ScopedClock clock(At(2024, 3, 5, 10, 0));
  TForm1* form = ShownForm();
  TTreeNode* section = form->TreeView1()->Items()->GetFirstNode();
  TTreeNode* events = section->GetFirstChild();
  ASSERT_EQ(events->Text(), "事件提示");

  struct Expect {
    bool sectionExpanded, eventsExpanded;
    int sectionImage, eventsImage;
  };
  auto check = [&](const char* when, Expect e) {
    const TReminderOutline outline = form->Outline();
    const auto* s = Find(outline, {"本日提示"});
    const auto* c = Find(outline, {"本日提示", "事件提示"});
    ASSERT_TRUE(s && c);
    EXPECT_EQ(s->Expanded, e.sectionExpanded) << when;
    EXPECT_EQ(c->Expanded, e.eventsExpanded) << when;
    EXPECT_EQ(s->ImageIndex, e.sectionImage) << when;
    EXPECT_EQ(c->ImageIndex, e.eventsImage) << when;
    EXPECT_EQ(c->SelectedIndex, 3) << when;
    EXPECT_EQ(c->StateIndex, 2) << when;
    EXPECT_NE(outline.ToJson().find("\"text\":\"事件提示\",\"expanded\":" + std::string(e.eventsExpanded ? "true" : "false") +
                                    ",\"image\":" + std::to_string(e.eventsImage)),
              std::string::npos)
        << when;
  };
  // As built: the section closed, its event category open because it has lines.
  check("built", {false, true, 1, 2});
  section->Expand(false);
  events->Collapse(false);
  check("events collapsed", {true, false, 2, 1});
  events->Expand(false);
  check("events expanded again", {true, true, 2, 2});
  section->Collapse(false);
  check("section collapsed", {false, true, 1, 2});
}

TEST_F(Form1Test, CalendarButtonAsksTheDesktopToOpenThePage) {
  Database("sibling.mdb");
  const fs::path bin = m_root / "bin";
  fs::create_directories(bin);
  const fs::path record = m_root / "opened.txt";
  {
    std::ofstream script(bin / "xdg-open");
    script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record.string() << ".tmp' && mv '" << record.string() << ".tmp' '"
           << record.string() << "'\n";
  }
  fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  test::TEnvironmentOverride path("PATH", bin.string() + ":/usr/bin:/bin");
  TForm1* form = ShownForm();

  ClickOn(form->SeSkinButton1());
  for (int i = 0; i < 200 && !fs::exists(record); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(ReadFile(record), (m_root / "app" / "TheCal.htm").string());
}

TEST_F(Form1Test, CalendarButtonWithoutAnOpenerShowsNothing) {
  Database("sibling.mdb");
  const fs::path empty = m_root / "empty-bin";
  fs::create_directories(empty);
  test::TEnvironmentOverride path("PATH", empty.string());
  TForm1* form = ShownForm();
  const HWND before = GetTopWindow(nullptr);

  ClickOn(form->SeSkinButton1());
  EXPECT_EQ(GetTopWindow(nullptr), before);
  EXPECT_TRUE(form->Visible());
}

TEST_F(Form1Test, RefreshAfterMidnightMovesEverySection) {
  Database("sibling.mdb");
  auto clock = std::make_unique<ScopedClock>(At(2024, 3, 4, 23, 59));
  TForm1* form = ShownForm();
  const std::string before = form->Outline().Dump();
  EXPECT_EQ(form->StatusText(), "2024-3-4  农历  一月廿四  星期一");
  fs::remove(m_root / "app" / "TheCal.htm");

  clock.reset();
  clock = std::make_unique<ScopedClock>(At(2024, 3, 5, 0, 1));
  ClickOn(form->SeSkinButton2());
  EXPECT_FALSE(form->CreationFailed());
  EXPECT_EQ(form->StatusText(), "2024-3-5  农历  一月廿五  星期二");
  // Yesterday's "本日提示" is today's "昨天提示", and the page was written again.
  const TReminderOutline after = form->Outline();
  EXPECT_NE(after.Dump(), before);
  EXPECT_TRUE(fs::exists(m_root / "app" / "TheCal.htm"));

  // A second window built directly on the new day shows the same tree.
  auto* fresh = new TForm1(m_app.get(), (m_root / "app" / "vandrel").string(), TMessageSink::StandardError);
  EXPECT_EQ(fresh->Outline().Dump(), after.Dump());
}

// Nobody presses "刷新": the midnight timer and the clock change notice move the window on their
// own, and what the user opened, closed and selected stays so where those nodes are there again.
TEST_F(Form1Test, TheWindowMovesToTheNewDayOnItsOwn) {
  Database("sibling.mdb");
  ScopedManualTicks ticks;
  ScopedClock clock(At(2024, 3, 4, 23, 59) + EncodeTime(0, 0, 58, 0));
  TForm1* form = ShownForm();
  EXPECT_EQ(form->StatusText(), "2024-3-4  农历  一月廿四  星期一");
  TTreeView* tree = form->TreeView1();
  auto node = [&](const std::vector<std::string>& path) {
    TTreeNode* n = tree->Items()->GetFirstNode();
    while (n && n->Text() != path[0]) n = n->GetNextSibling();
    for (size_t i = 1; n && i < path.size(); ++i) {
      TTreeNode* child = n->GetFirstChild();
      while (child && child->Text() != path[i]) child = child->GetNextSibling();
      n = child;
    }
    return n;
  };
  // The user selects 明日提示 (which opens it), opens 本月提示 and closes its first open category.
  ASSERT_TRUE(node({"明日提示"}) && node({"本月提示"}));
  tree->SetSelected(node({"明日提示"}));
  node({"本月提示"})->Expand(false);
  TTreeNode* category = node({"本月提示"})->GetFirstChild();
  while (category && !category->Expanded()) category = category->GetNextSibling();
  ASSERT_TRUE(category);
  const std::string closed = category->Text();
  category->Collapse(false);

  PinClock(At(2024, 3, 5, 0, 0));
  TTickClock::Advance(2000);
  Pump();
  EXPECT_FALSE(form->CreationFailed());
  EXPECT_EQ(form->StatusText(), "2024-3-5  农历  一月廿五  星期二");
  const TReminderOutline outline = form->Outline();
  const auto* events = Find(outline, {"本日提示", "事件提示"});
  ASSERT_TRUE(events && !events->Children.empty());
  EXPECT_EQ(outline.At(events->Children[0]).Text, "2024-3-5 9:00:00  给客户回电话");
  ASSERT_TRUE(tree->Selected());
  EXPECT_EQ(tree->Selected()->Text(), "明日提示");
  EXPECT_TRUE(Find(outline, {"明日提示"})->Expanded);
  EXPECT_TRUE(Find(outline, {"本月提示"})->Expanded);
  EXPECT_FALSE(Find(outline, {"本月提示", closed})->Expanded);
  EXPECT_EQ(Find(outline, {"本月提示", closed})->ImageIndex, 1);
  EXPECT_FALSE(Find(outline, {"本日提示"})->Expanded) << "untouched nodes stay as built";
  // The same tree as a window built on the new day, apart from what the user changed.
  auto* fresh = new TForm1(m_app.get(), (m_root / "app" / "vandrel").string(), TMessageSink::StandardError);
  EXPECT_EQ(OutlineDumpOf(*fresh, {"本日提示"}), OutlineDumpOf(*form, {"本日提示"}));

  // The clock is set back an hour, across midnight: the window follows it.
  PinClock(At(2024, 3, 4, 23, 0));
  PostMessage(form->Handle(), WM_TIMECHANGE, 0, 0);
  Pump();
  EXPECT_EQ(form->StatusText(), "2024-3-4  农历  一月廿四  星期一");
  EXPECT_EQ(tree->Selected()->Text(), "明日提示");
}

// At midnight the sibling application may be replacing data.mdb: the new day's read fails, the
// user is told once, the window stays as it was and keeps working, and it moves to the new day by
// itself once the file is back.
TEST_F(Form1Test, ANewDayWithoutItsDatabaseKeepsTheWindowAndRecovers) {
  const fs::path database = m_root / "app" / "data.mdb";
  const fs::path aside = m_root / "data.mdb.aside";
  struct TCase {
    const char* name;
    std::function<void()> breakIt;
    const char* message;  // empty: any message
    bool refreshByHand;   // the user presses "刷新" once the file is back, before the next try
  };
  const TCase cases[] = {
      {"gone", [&] { fs::rename(database, aside); }, "data.mdb 不存在！\n", false},
      {"damaged",
       [&] {
         fs::rename(database, aside);
         std::ofstream(database, std::ios::binary) << std::string(4096, '\x5a');
       },
       "", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(m_root / "app");
    fs::create_directories(m_root / "app");
    fs::copy_file("/bin/true", m_root / "app" / "vandrel");
    Database("sibling.mdb");
    ScopedManualTicks ticks;
    ScopedClock clock(At(2024, 3, 4, 23, 59) + EncodeTime(0, 0, 58, 0));
    TForm1* form = ShownForm();
    const std::string yesterday = form->Outline().Dump();

    c.breakIt();
    PinClock(At(2024, 3, 5, 0, 0));
    ::testing::internal::CaptureStderr();
    TTickClock::Advance(2000);
    Pump();
    const std::string told = ::testing::internal::GetCapturedStderr();
    if (*c.message) {
      EXPECT_EQ(told, c.message);
    } else {
      EXPECT_NE(told, "");
    }
    EXPECT_FALSE(form->CloseRequested());
    EXPECT_TRUE(form->CreationFailed());
    EXPECT_EQ(form->StatusText(), "2024-3-4  农历  一月廿四  星期一");
    EXPECT_EQ(form->Outline().Dump(), yesterday);

    // Still broken a minute later: tried again without a second message.
    ::testing::internal::CaptureStderr();
    TTickClock::Advance(60000);
    Pump();
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(form->StatusText(), "2024-3-4  农历  一月廿四  星期一");

    // The file is back: the next try (or "刷新") moves the window on, and the window still takes
    // clicks.
    fs::remove(database);
    fs::rename(aside, database);
    if (c.refreshByHand) {
      ClickOn(form->SeSkinButton2());
    } else {
      TTickClock::Advance(60000);
      Pump();
    }
    EXPECT_FALSE(form->CreationFailed());
    EXPECT_EQ(form->StatusText(), "2024-3-5  农历  一月廿五  星期二");
    const bool checked = form->SbRun()->Checked();
    ClickOn(form->SbRun());
    EXPECT_NE(form->SbRun()->Checked(), checked);

    // The next midnight fails again: the user is told again.
    c.breakIt();
    PinClock(At(2024, 3, 6, 0, 0));
    ::testing::internal::CaptureStderr();
    TTickClock::Advance(86400000);
    Pump();
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(form->StatusText(), "2024-3-5  农历  一月廿五  星期二");
    fs::remove(database);
    fs::rename(aside, database);
    delete form;
  }
}

// The error box of a failed new day runs the user's messages; one of them may free the window.
TEST_F(Form1Test, TheWindowMayBeFreedWhileANewDaysErrorIsShown) {
  Database("sibling.mdb");
  ScopedManualTicks ticks;
  ScopedClock clock(At(2024, 3, 4, 23, 59) + EncodeTime(0, 0, 58, 0));
  auto* form = new TForm1(m_app.get(), (m_root / "app" / "vandrel").string(), TMessageSink::MessageBox);
  m_app->SetMainForm(form);
  form->Show();
  Pump();
  std::ofstream(m_root / "app" / "data.mdb", std::ios::binary | std::ios::trunc) << std::string(4096, '\x5a');
  bool boxShown = false;
  m_screen->SetIdleHandler([&, freed = false]() mutable {
    HWND box = GetActiveWindow();
    if (freed || !box || box == form->Handle()) return false;
    boxShown = true;
    freed = true;
    delete form;
    m_screen->KeyPress(VK_RETURN);
    return true;
  });
  PinClock(At(2024, 3, 5, 0, 0));
  TTickClock::Advance(2000);
  Pump();
  m_screen->SetIdleHandler(nullptr);
  EXPECT_TRUE(boxShown);
}

TEST_F(Form1Test, FailingQueryKeepsWhatWasBuiltAndTheWindowOpen) {
  Database("olderschema.mdb");
  ScopedClock clock(At(2024, 3, 5, 10, 0));
  ::testing::internal::CaptureStderr();
  TForm1* form = NewForm();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(form->CreationFailed());
  EXPECT_FALSE(form->CloseRequested());
  EXPECT_NE(err, "");
  // Status text is set after the tree, so it still holds its placeholder.
  EXPECT_EQ(form->StatusText(), "test");
  const TReminderOutline outline = form->Outline();
  ASSERT_FALSE(outline.TopLevel().empty());
  EXPECT_EQ(outline.At(outline.TopLevel()[0]).Text, "本日提示");
}

TEST_F(Form1Test, MissingDatabaseClosesTheWindow) {
  ::testing::internal::CaptureStderr();
  TForm1* form = NewForm();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "data.mdb 不存在！\n");
  EXPECT_TRUE(form->CloseRequested());
  EXPECT_TRUE(form->CreationFailed());
}

TEST_F(Form1Test, AutostartBoxRecordsTheUsersChoice) {
  Database("sibling.mdb");
  TForm1* form = ShownForm();
  // First start: ticked, setting "1".
  EXPECT_TRUE(form->SbRun()->Checked());
  EXPECT_EQ(ReadAppSetting("AuToRun"), "1");
  const fs::path entry = m_root / "config" / "autostart" / "tarvo.desktop";
  EXPECT_NE(ReadFile(entry).find("Hidden=false"), std::string::npos);

  ClickOn(form->SbRun());
  EXPECT_FALSE(form->SbRun()->Checked());
  EXPECT_EQ(ReadAppSetting("AuToRun"), "0");
  EXPECT_NE(ReadFile(entry).find("Hidden=true"), std::string::npos);
  ClickOn(form->SbRun());
  EXPECT_TRUE(form->SbRun()->Checked());
  EXPECT_EQ(ReadAppSetting("AuToRun"), "1");
  EXPECT_NE(ReadFile(entry).find("Hidden=false"), std::string::npos);
}

TEST_F(Form1Test, TheWindowWritesItsFilesAndACopyBesideTheSibling) {
  // data.mdb beside the sibling application: the executable is copied there (over an older copy
  // that may be running), autostart names the copy, and the skin file and the calendar page are
  // written beside the executable exactly as built.
  fs::create_directories(m_root / "tarvo");
  fs::copy_file(std::string(VANDREL_TEST_DATA "/mdb/sibling.mdb"), m_root / "tarvo" / "data.mdb");
  fs::copy_file("/bin/sleep", m_root / "tarvo" / "vandrel");
  WriteRegString("ExeFileName", (m_root / "tarvo" / "tarvo.exe").string(), "\\SOFTWARE\\tarvo\\");
  const pid_t older = fork();
  if (older == 0) {
    execl((m_root / "tarvo" / "vandrel").c_str(), "vandrel", "30", nullptr);
    _exit(127);
  }
  ::usleep(200 * 1000);
  TForm1* form = NewForm();
  ::kill(older, SIGKILL);
  ::waitpid(older, nullptr, 0);
  ASSERT_FALSE(form->CreationFailed());
  EXPECT_EQ(ReadFile(m_root / "tarvo" / "vandrel"), ReadFile(m_root / "app" / "vandrel"));
  EXPECT_FALSE(fs::exists(m_root / "tarvo" / "vandrel.new"));
  EXPECT_EQ(form->AutostartPath(), (m_root / "tarvo" / "vandrel").string());
  EXPECT_EQ(ReadRegString("tarvo", kRunKey), (m_root / "tarvo" / "vandrel").string());
  EXPECT_EQ(ReadAppSetting("AuToRun"), "1");
  EXPECT_TRUE(fs::exists(m_root / "app" / "mskn.mskn"));
  // The calendar page as the build made it (GB2312, CR LF).
  EXPECT_EQ(ReadFile(m_root / "app" / "TheCal.htm"), ReadFile(VANDREL_CALENDAR_PAGE));
}

TEST_F(Form1Test, WithoutSideEffectsTheBoxShowsTheStartUpStateAndNothingIsWritten) {
  Database("sibling.mdb");
  struct Case {
    const char* setting;  // "" for none
    bool checked;         // as the start-up logic would leave the box
  } cases[] = {{"", true}, {"1", true}, {"0", false}, {"yes", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setting);
    fs::remove(m_root / "registry.reg");
    if (*c.setting) WriteAppSetting("AutoRun", c.setting);
    const std::string registry = fs::exists(m_root / "registry.reg") ? ReadFile(m_root / "registry.reg") : "(none)";
    auto* form = new TForm1(m_app.get(), (m_root / "app" / "vandrel").string(), TMessageSink::StandardError,
                            TSideEffects::None);
    EXPECT_FALSE(form->CreationFailed());
    EXPECT_EQ(form->SbRun()->Checked(), c.checked);
    EXPECT_EQ(fs::exists(m_root / "registry.reg") ? ReadFile(m_root / "registry.reg") : "(none)", registry);
    EXPECT_FALSE(fs::exists(m_root / "config"));
    EXPECT_FALSE(fs::exists(m_root / "app" / "mskn.mskn"));
    EXPECT_FALSE(fs::exists(m_root / "app" / "TheCal.htm"));
    // The skin comes straight from the program, so a saved picture shows what a real run would.
    EXPECT_TRUE(form->SeSkinEngine()->Source()->Ready());
    EXPECT_TRUE(form->SeSkinEngine()->Source()->HasObject("Form"));
    delete form;
  }
}

TEST_F(Form1Test, TimersRunAndTheStatusSaysSoWhileTheDatabaseIsRead) {
  // A refresh of a large or slow file kept the window from painting for as long as the read
  // took. Now due timers run (and paints) meanwhile, under a status that says what happens;
  // afterwards the status is the day's line, or, when the read failed, what it was before.
  Database("sibling.mdb");
  ScopedClock clock(At(2024, 3, 5, 10, 0));
  TForm1* form = ShownForm();
  const std::string line = form->StatusText();
  std::vector<std::string> seen;
  auto letTimerComeDue = [] {
    if (TTickClock::IsManual()) TTickClock::Advance(50);
    else std::this_thread::sleep_for(std::chrono::milliseconds(50));
  };
  // The skin is reloaded before the read and its change notifications let due timers run too, so
  // the timer comes due again each time it runs.
  SetTimer(form->Handle(), 7, 10, [&](HWND, UINT, UINT_PTR, DWORD) {
    seen.push_back(form->StatusText());
    if (TTickClock::IsManual()) TTickClock::Advance(50);
  });
  // Another file under the same name: the refresh reads it anew.
  fs::copy_file(VANDREL_SOURCE_DIR "/resources/demo/demo.mdb", m_root / "app" / "data.mdb",
                fs::copy_options::overwrite_existing);
  letTimerComeDue();
  form->SeSkinButton2Click(form);
  KillTimer(form->Handle(), 7);
  // Before the read the status is the day's line; during it, what happens.
  const auto reading = std::find(seen.begin(), seen.end(), "正在读取…");
  ASSERT_NE(reading, seen.end());
  EXPECT_EQ(std::count(seen.begin(), reading, line), reading - seen.begin());
  EXPECT_FALSE(form->CreationFailed());
  EXPECT_EQ(form->StatusText(), line);

  // A file that cannot be read: the status goes back to what it was.
  std::ofstream(m_root / "app" / "data.mdb", std::ios::trunc) << std::string(4096, 'x');
  ::testing::internal::CaptureStderr();
  form->SeSkinButton2Click(form);
  EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(form->CreationFailed());
  EXPECT_EQ(form->StatusText(), line);
}

}  // namespace
