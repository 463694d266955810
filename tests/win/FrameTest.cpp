// The plain classic frame of DefWindowProc and the standard scroll bars, driven by input.
#include "WinTestSupport.h"

#include <functional>
#include <stdexcept>
#include <tuple>

#include "platform/win/DefaultFrame.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel::test {
namespace {

class FrameTest : public WinTest {
 protected:
  // Alt+Space opens the active window's menu; inside its loop, "n" picks Minimize.
  void MinimizeThroughSystemMenu() {
    int idle = 0;
    m_screen->SetIdleHandler([&] {
      if (++idle > 1) return false;
      m_screen->KeyPress('N');
      return true;
    });
    m_screen->KeyDown(VK_MENU);
    m_screen->KeyPress(VK_SPACE);
    m_screen->KeyUp(VK_MENU);
    Pump();
    m_screen->SetIdleHandler(nullptr);
  }
};

constexpr DWORD kFramed = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

TEST_F(FrameTest, LayoutAndHitCodes) {
  TFrameLayout l = DefaultFrameLayout(WS_OVERLAPPEDWINDOW, 0, {200, 150}, false, false);
  EXPECT_EQ(l.Client, (TRect{4, 23, 196, 146}));
  struct Case {
    TPoint pt;
    int hit;
  };
  const Case cases[] = {
      {{100, 80}, HTCLIENT},   {{100, 10}, HTCAPTION},   {{1, 80}, HTLEFT},
      {{198, 80}, HTRIGHT},    {{100, 1}, HTTOP},        {{100, 148}, HTBOTTOM},
      {{1, 1}, HTTOPLEFT},     {{199, 149}, HTBOTTOMRIGHT}, {{2, 140}, HTBOTTOMLEFT},
      {{l.Close.Left + 2, l.Close.Top + 2}, HTCLOSE},
      {{l.Minimize.Left + 2, l.Minimize.Top + 2}, HTMINBUTTON},
      {{l.Maximize.Left + 2, l.Maximize.Top + 2}, HTMAXBUTTON},
      {{l.Icon.Left + 2, l.Icon.Top + 2}, HTSYSMENU},  {{300, 10}, HTNOWHERE},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DefaultFrameHitTest(l, WS_OVERLAPPEDWINDOW, {200, 150}, c.pt), c.hit) << c.pt.X << "," << c.pt.Y;
  // A fixed frame has no sizing borders; a maximized one neither.
  TFrameLayout fixed = DefaultFrameLayout(WS_CAPTION | WS_SYSMENU, 0, {200, 150}, false, false);
  EXPECT_EQ(DefaultFrameHitTest(fixed, WS_CAPTION | WS_SYSMENU, {200, 150}, {1, 80}), HTBORDER);
  EXPECT_EQ(DefaultFrameHitTest(l, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, {200, 150}, {1, 80}), HTBORDER);
  // Scroll bars take their strip of the client area.
  TFrameLayout bars = DefaultFrameLayout(WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {100, 100}, true, true);
  EXPECT_EQ(bars.Client, (TRect{0, 0, 84, 84}));
  EXPECT_EQ(DefaultFrameHitTest(bars, WS_POPUP, {100, 100}, {90, 10}), HTVSCROLL);
  EXPECT_EQ(DefaultFrameHitTest(bars, WS_POPUP, {100, 100}, {10, 90}), HTHSCROLL);
}

TEST_F(FrameTest, CaptionDragMovesAndBorderDragSizes) {
  HWND w = CreateWindowEx(0, "rec", "Frame", kFramed, 50, 50, 200, 150, nullptr);
  Pump();
  m_screen->MouseMove({100, 60});
  m_screen->MouseDown({100, 60});
  m_screen->MouseMove({130, 90});
  m_screen->MouseMove({150, 100});
  m_screen->MouseUp({150, 100});
  Pump();
  EXPECT_EQ(WindowRect(w), (TRect{100, 90, 300, 240}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Of(WM_ENTERSIZEMOVE, w).size(), 1u);
  EXPECT_EQ(Of(WM_EXITSIZEMOVE, w).size(), 1u);
  // Bottom-right corner: sized, never below the minimum tracking size.
  m_screen->MouseMove({299, 239});
  m_screen->MouseDown({299, 239});
  m_screen->MouseMove({319, 259});
  m_screen->MouseUp({319, 259});
  Pump();
  EXPECT_EQ(WindowRect(w), (TRect{100, 90, 320, 260}));
  m_screen->MouseDown({319, 259});
  m_screen->MouseMove({0, 0});
  m_screen->MouseUp({0, 0});
  Pump();
  EXPECT_EQ(WindowRect(w).Size(), (TSize{112, 27}));
  // The window's own limits from WM_GETMINMAXINFO hold while sizing.
  On(w, [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m != WM_GETMINMAXINFO) return std::nullopt;
    auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
    mmi->ptMaxTrackSize = {250, 200};
    return 0;
  });
  TRect r = WindowRect(w);
  m_screen->MouseDown({r.Right - 1, r.Bottom - 1});
  m_screen->MouseMove({600, 450});
  m_screen->MouseUp({600, 450});
  Pump();
  EXPECT_EQ(WindowRect(w).Size(), (TSize{250, 200}));
  // The sizing cursor shows over a border.
  m_screen->MouseMove({WindowRect(w).Left + 50, WindowRect(w).Bottom - 1});
  Pump();
  EXPECT_EQ(CursorId(m_screen->Cursor()), std::uintptr_t(IDC_SIZENS));
}

TEST_F(FrameTest, CloseButtonAltF4AndMinimize) {
  HWND w = CreateWindowEx(0, "rec", "Frame", kFramed, 50, 50, 200, 150, nullptr);
  Pump();
  TFrameLayout l = DefaultFrameLayout(WS_OVERLAPPEDWINDOW, 0, {200, 150}, false, false);
  TPoint min{50 + l.Minimize.Left + 3, 50 + l.Minimize.Top + 3};
  // Pressed, then released outside: nothing happens.
  m_screen->MouseDown(min);
  m_screen->MouseMove({10, 300});
  m_screen->MouseUp({10, 300});
  Pump();
  EXPECT_FALSE(IsIconic(w));
  m_screen->Click(min);
  Pump();
  EXPECT_TRUE(IsIconic(w));
  ShowWindow(w, SW_RESTORE);
  Pump();
  ClearLog();
  m_screen->KeyDown(VK_MENU);
  m_screen->KeyDown(VK_F4);
  m_screen->KeyUp(VK_F4);
  m_screen->KeyUp(VK_MENU);
  Pump();
  EXPECT_FALSE(IsWindow(w));
  ASSERT_EQ(Of(WM_SYSCOMMAND).size(), 1u);
  EXPECT_EQ(Of(WM_SYSCOMMAND)[0].WParam & 0xFFF0, WPARAM(SC_CLOSE));
  EXPECT_EQ(Of(WM_CLOSE).size(), 1u);
  HWND v = CreateWindowEx(0, "rec", "Frame", kFramed, 50, 50, 200, 150, nullptr);
  Pump();
  m_screen->Click({50 + l.Close.Left + 3, 50 + l.Close.Top + 3});
  Pump();
  EXPECT_FALSE(IsWindow(v));
}

TEST_F(FrameTest, SystemMenuFromAltSpaceRunsACommand) {
  HWND w = CreateWindowEx(0, "rec", "Frame", kFramed, 50, 50, 200, 150, nullptr);
  Pump();
  MinimizeThroughSystemMenu();
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameTest, KeyboardMoveFromTheSystemMenu) {
  HWND w = CreateWindowEx(0, "rec", "Frame", kFramed, 50, 50, 200, 150, nullptr);
  Pump();
  // Menu: "m" picks Move; the move loop then takes arrows (8 pixels each) and Enter.
  int idle = 0;
  m_screen->SetIdleHandler([&] {
    switch (++idle) {
      case 1: m_screen->KeyPress('M'); return true;
      case 2:
        m_screen->KeyPress(VK_RIGHT);
        m_screen->KeyPress(VK_RIGHT);
        m_screen->KeyPress(VK_DOWN);
        m_screen->KeyPress(VK_RETURN);
        return true;
      default: return false;
    }
  });
  m_screen->KeyDown(VK_MENU);
  m_screen->KeyPress(VK_SPACE);
  m_screen->KeyUp(VK_MENU);
  Pump();
  m_screen->SetIdleHandler(nullptr);
  EXPECT_EQ(WindowRect(w), (TRect{66, 58, 266, 208}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameTest, StandardScrollBars) {
  HWND w = Top(0, 0, 100, 116, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
  EXPECT_EQ(ClientRect(w), (TRect{0, 0, 84, 116}));
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 500;
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, si, true), 90);  // clamped to max - page + 1
  SCROLLINFO got;
  got.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, got));
  EXPECT_EQ(got.nPos, 90);
  EXPECT_EQ(got.nPage, 10u);
  SetScrollPos(w, SB_VERT, 0, true);
  SCROLLBARINFO sbi;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, sbi));
  EXPECT_EQ(sbi.rcScrollBar, (TRect{84, 0, 100, 116}));
  EXPECT_EQ(sbi.dxyLineButton, 16);
  EXPECT_EQ(sbi.xyThumbTop, 16);
  EXPECT_EQ(sbi.xyThumbBottom, 16 + 8);  // 84 * 10 / 100 -> at least 8
  Pump();
  // A click on the down arrow, a click on the track, and the wheel.
  std::vector<int> codes;
  On(w, [&](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_VSCROLL) return std::nullopt;
    int code = LOWORD(wp);
    codes.push_back(code);
    if (code == SB_LINEDOWN) SetScrollPos(h, SB_VERT, GetScrollPos(h, SB_VERT) + 1, true);
    if (code == SB_LINEUP) SetScrollPos(h, SB_VERT, GetScrollPos(h, SB_VERT) - 1, true);
    if (code == SB_PAGEDOWN) SetScrollPos(h, SB_VERT, GetScrollPos(h, SB_VERT) + 10, true);
    return 0;
  });
  m_screen->Click({92, 110});
  Pump();
  EXPECT_EQ(codes, (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  codes.clear();
  m_screen->Click({92, 80});
  Pump();
  EXPECT_EQ(codes, (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 11);
  codes.clear();
  SetFocus(w);
  m_screen->Wheel({50, 50}, -WHEEL_DELTA);
  Pump();
  EXPECT_EQ(codes, (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  // A range that fits the page hides the bar and gives the strip back to the client area.
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = 5;
  SetScrollInfo(w, SB_VERT, si, true);
  EXPECT_EQ(ClientRect(w), (TRect{0, 0, 100, 116}));
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
}

// A handler that throws inside a modal loop of the frame leaves no capture, timer or menu behind,
// and the loop's closing message still arrives.
// With the pointer held by another program, a loop that needs the capture ends at once instead
// of waiting for input that never comes to it.
TEST_F(FrameTest, ModalLoopsEndWhenTheDisplayRefusesTheCapture) {
  HWND w = CreateWindowEx(0, "rec", "Frame", kFramed, 50, 50, 200, 150, nullptr);
  Pump();
  m_screen->SetCaptureRefused(true);
  m_screen->KeyDown(VK_MENU);
  m_screen->KeyPress(VK_SPACE);
  m_screen->KeyUp(VK_MENU);
  Pump();
  EXPECT_EQ(GetTopWindow(nullptr), w) << "the system menu stayed open";
  m_screen->MouseDown({100, 60});
  m_screen->MouseMove({130, 90});
  m_screen->MouseUp({130, 90});
  Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(WindowRect(w).TopLeft(), (TPoint{50, 50}));
  m_screen->SetCaptureRefused(false);
  MinimizeThroughSystemMenu();
  EXPECT_TRUE(IsIconic(w));
}

TEST_F(FrameTest, ModalLoopsCleanUpWhenAHandlerThrows) {
  constexpr UINT kBoom = WM_USER + 7;
  // Once the loop waits for input, a message for the window that throws.
  auto PostOnceIdle = [this](HWND w, UINT m) {
    m_screen->SetIdleHandler([w, m, posted = false]() mutable { return !posted && (posted = PostMessage(w, m, 0, 0)); });
  };
  TFrameLayout l = DefaultFrameLayout(WS_OVERLAPPEDWINDOW, 0, {200, 150}, false, false);
  struct Case {
    const char* name;
    std::function<void(HWND)> start;
    UINT throwOn;
  } cases[] = {
      {"caption drag", [&](HWND) {
         m_screen->MouseDown({100, 60});
         m_screen->MouseMove({130, 90});
       }, WM_MOVING},
      {"caption button", [&](HWND w) {
         m_screen->MouseDown({50 + l.Minimize.Left + 3, 50 + l.Minimize.Top + 3});
         PostOnceIdle(w, kBoom);
       }, kBoom},
      {"system menu", [&](HWND w) {
         m_screen->KeyDown(VK_MENU);
         m_screen->KeyPress(VK_SPACE);
         m_screen->KeyUp(VK_MENU);
         PostOnceIdle(w, kBoom);
       }, kBoom},
      {"scroll arrow held", [&](HWND) {
         m_screen->MouseDown({50 + 200 - 4 - 8, 50 + 150 - 4 - 8});  // the down arrow, repeating
       }, WM_VSCROLL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = CreateWindowEx(0, "rec", "Frame", kFramed | WS_VSCROLL, 50, 50, 200, 150, nullptr);
    SetScrollRange(w, SB_VERT, 0, 100, false);
    Pump();
    int seen = 0;
    On(w, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      // The scroll arrow sends a first request before its loop waits: throw on the repeat.
      if (m == c.throwOn && ++seen == (m == WM_VSCROLL ? 2 : 1)) throw std::runtime_error("boom");
      return std::nullopt;
    });
    ClearLog();
    c.start(w);
    EXPECT_THROW(Pump(), std::runtime_error) << c.name;
    m_screen->SetIdleHandler(nullptr);
    EXPECT_EQ(GetCapture(), nullptr) << c.name;
    EXPECT_EQ(GetTopWindow(nullptr), w) << c.name << ": a menu window was left";
    if (c.throwOn == WM_MOVING) {
      EXPECT_EQ(Of(WM_EXITSIZEMOVE, w).size(), 1u);
    }
    m_screen->MouseUp({0, 0});
    Pump();
    // No repeat timer goes on firing, and the system menu opens again.
    ClearLog();
    TTickClock::Advance(2000);
    Pump();
    EXPECT_TRUE(Of(WM_TIMER, w).empty()) << c.name;
    EXPECT_TRUE(Of(WM_VSCROLL, w).empty()) << c.name;
    MinimizeThroughSystemMenu();
    EXPECT_TRUE(IsIconic(w)) << c.name;
    m_handlers.clear();
    DestroyWindow(w);
  }
}

// Ranges as wide as int allows: the thumb stays on the track at either end and a drag to the end
// of the track reaches the last position.
TEST_F(FrameTest, ScrollRangesAtTheLimitsOfInt) {
  HWND w = Top(0, 0, 100, 116, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
  Pump();
  struct Case {
    int min, max;
    UINT page;
    int lastPos;
  } cases[] = {
      {0, INT32_MAX, 0, INT32_MAX},
      {0, INT32_MAX, 1000, INT32_MAX - 999},
      {INT32_MIN, INT32_MAX, 0, INT32_MAX},
      {INT32_MIN, INT32_MAX, UINT32_MAX - 1, INT32_MIN + 2},
      {INT32_MIN, INT32_MIN + 1, 1, INT32_MIN + 1},
  };
  int trackPos = 0;
  On(w, [&](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_VSCROLL || LOWORD(wp) != SB_THUMBPOSITION) return std::nullopt;
    SCROLLINFO si;
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(h, SB_VERT, si);
    trackPos = si.nTrackPos;
    return 0;
  });
  for (const Case& c : cases) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = c.min;
    si.nMax = c.max;
    si.nPage = c.page;
    si.nPos = INT32_MAX;
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, si, true), c.lastPos) << c.min << ".." << c.max << " page " << c.page;
    SCROLLINFO got;
    got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(w, SB_VERT, got));
    EXPECT_EQ(std::make_tuple(got.nMin, got.nMax, got.nPos), std::make_tuple(c.min, c.max, c.lastPos));
    SCROLLBARINFO sbi;
    ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, sbi));
    EXPECT_EQ(sbi.xyThumbBottom, 116 - 16) << c.min << ".." << c.max;
    EXPECT_GE(sbi.xyThumbTop, 16);
    SetScrollPos(w, SB_VERT, INT32_MIN, true);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), c.min);
    ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, sbi));
    EXPECT_EQ(sbi.xyThumbTop, 16);
    // Drag the thumb from the top to past the bottom of the track.
    int grab = (sbi.xyThumbTop + sbi.xyThumbBottom) / 2;
    trackPos = 0;
    m_screen->MouseMove({92, grab});
    m_screen->MouseDown({92, grab});
    m_screen->MouseMove({92, 300});
    m_screen->MouseUp({92, 300});
    Pump();
    EXPECT_EQ(trackPos, c.lastPos) << c.min << ".." << c.max << " page " << c.page;
  }
}

}  // namespace
}  // namespace vandrel::test
