#include "platform/services/PlatformServices.h"

#include <gtest/gtest.h>

#include "platform/display/HeadlessScreen.h"
#include "platform/services/MonitorSource.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/Window.h"

namespace vandrel {
namespace {

// The headless screen seen as two monitors side by side: 1280x800 at the left, 1024x768 at the
// right, each with a panel of its own.
class TTwoMonitors : public TDisplayBackend, public TMonitorSource {
 public:
  TTwoMonitors() : m_screen(THeadlessScreen::Create({2304, 800}, TRect{0, 0, 2304, 770})) {
    SetDisplayBackend(this);
  }
  ~TTwoMonitors() override { SetDisplayBackend(m_screen.get()); }

  std::vector<TMonitorArea> Monitors() const override {
    return {{{0, 0, 1280, 800}, {0, 0, 1280, 770}}, {{1280, 0, 2304, 768}, {1280, 24, 2304, 768}}};
  }
  TSize ScreenSize() const override { return m_screen->ScreenSize(); }
  TRect WorkArea() const override { return m_screen->WorkArea(); }
  void ReadScreen(TSurface& dst, const TRect& rect) override { m_screen->ReadScreen(dst, rect); }
  void WriteScreen(const TSurface& src, const TRect& rect) override { m_screen->WriteScreen(src, rect); }
  void PollEvents() override { m_screen->PollEvents(); }
  bool WaitEvents(int timeoutMs) override { return m_screen->WaitEvents(timeoutMs); }

 private:
  std::unique_ptr<THeadlessScreen> m_screen;
};

HWND Popup(TRect r, DWORD style = 0) {
  WNDCLASS cls;
  cls.lpszClassName = "ServicesTest";
  RegisterClass(cls);
  return CreateWindowEx(0, "ServicesTest", "", WS_POPUP | style, r.Left, r.Top, r.Width(), r.Height(), nullptr);
}

TEST(PlatformServicesTest, FixedAnswers) {
  EXPECT_FALSE(IsThemed());
  EXPECT_TRUE(IsNTPlatform());
  EXPECT_TRUE(TransparentBltAvailable());
}

TEST(PlatformServicesTest, OneMonitorIsTheScreenAndItsWorkArea) {
  auto screen = THeadlessScreen::Create({1024, 768}, TRect{0, 0, 1024, 740});
  HWND window = Popup({900, 700, 1200, 900});  // partly off the screen
  for (bool workArea : {false, true}) {
    TRect expected = workArea ? TRect{0, 0, 1024, 740} : TRect{0, 0, 1024, 768};
    EXPECT_EQ(GetScreenArea(workArea), expected);
    EXPECT_EQ(GetMonitorAreaOfWindow(window, workArea), expected);
    EXPECT_EQ(GetMonitorAreaOfPoint({5000, -20}, workArea), expected);
    EXPECT_EQ(GetMonitorAreaOfWindow(nullptr, workArea), expected) << "no window: the screen";
  }
  DestroyWindow(window);
}

TEST(PlatformServicesTest, TwoMonitorsAnswerForTheNearestOne) {
  TTwoMonitors display;
  const struct {
    TRect window;
    TRect monitor, work;
  } cases[] = {
      {{100, 100, 400, 300}, {0, 0, 1280, 800}, {0, 0, 1280, 770}},
      {{1500, 100, 1800, 300}, {1280, 0, 2304, 768}, {1280, 24, 2304, 768}},
      {{1200, 100, 1500, 300}, {1280, 0, 2304, 768}, {1280, 24, 2304, 768}},  // mostly on the right
      {{1285, 790, 1385, 900}, {0, 0, 1280, 800}, {0, 0, 1280, 770}},  // off both: 5 px from the left one
      {{3000, 100, 3100, 200}, {1280, 0, 2304, 768}, {1280, 24, 2304, 768}},  // off every monitor
  };
  for (const auto& c : cases) {
    HWND window = Popup(c.window);
    EXPECT_EQ(GetMonitorAreaOfWindow(window, false), c.monitor) << c.window.Left;
    EXPECT_EQ(GetMonitorAreaOfWindow(window, true), c.work) << c.window.Left;
    DestroyWindow(window);
  }
  EXPECT_EQ(GetMonitorAreaOfPoint({1279, 10}, false), (TRect{0, 0, 1280, 800}));
  EXPECT_EQ(GetMonitorAreaOfPoint({1280, 10}, true), (TRect{1280, 24, 2304, 768}));
  EXPECT_EQ(GetMonitorAreaOfPoint({-50, 790}, true), (TRect{0, 0, 1280, 770}));
  EXPECT_EQ(GetScreenArea(false), (TRect{0, 0, 2304, 800}));
}

TEST(PlatformServicesTest, ScrollBarInfoWithAndWithoutBars) {
  auto screen = THeadlessScreen::Create({800, 600});
  HWND plain = Popup({10, 10, 210, 160});
  HWND scrolled = Popup({10, 10, 210, 160}, WS_VSCROLL);
  SCROLLINFO range;
  range.fMask = SIF_RANGE | SIF_PAGE;
  range.nMax = 99;
  range.nPage = 10;
  SetScrollInfo(scrolled, SB_VERT, range, false);

  SCROLLBARINFO info;
  EXPECT_TRUE(GetScrollBarInfoWithFallback(scrolled, OBJID_VSCROLL, info));
  EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
  EXPECT_GT(info.rcScrollBar.Height(), 0);

  info = SCROLLBARINFO{};
  EXPECT_TRUE(GetScrollBarInfoWithFallback(plain, OBJID_VSCROLL, info));
  EXPECT_NE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);

  // No platform answer: the record still says the bar is not there.
  for (auto [window, id] : {std::pair{plain, OBJID_CLIENT}, std::pair{HWND(nullptr), OBJID_VSCROLL}}) {
    info = SCROLLBARINFO{};
    EXPECT_FALSE(GetScrollBarInfoWithFallback(window, id, info));
    EXPECT_EQ(info.rgstate[0], DWORD(STATE_SYSTEM_INVISIBLE));
  }
  DestroyWindow(plain);
  DestroyWindow(scrolled);
}

}  // namespace
}  // namespace vandrel
