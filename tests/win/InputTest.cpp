// Mouse and keyboard input through the real message path: hit-testing, regions, capture,
// double clicks, activation and focus, keys and characters.
#include "WinTestSupport.h"

#include "platform/gdi/RegionApi.h"
#include "platform/win/Settings.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel::test {
namespace {

using InputTest = WinTest;

TEST_F(InputTest, HitTestingFollowsRegionsAndTransparentAnswers) {
  HWND below = Top(0, 0, 100, 100);
  HWND above = Top(0, 0, 100, 100);
  SetWindowRgn(above, CreateRectRgn(0, 0, 50, 100), false);
  Pump();
  EXPECT_EQ(WindowFromPoint({25, 50}), above);
  EXPECT_EQ(WindowFromPoint({75, 50}), below);  // outside the shape of the front window
  On(above, [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_NCHITTEST) return GET_Y_LPARAM(l) < 20 ? HTTRANSPARENT : HTCAPTION;
    return std::nullopt;
  });
  EXPECT_EQ(WindowFromPoint({25, 10}), below);
  ClearLog();
  m_screen->Click({25, 50});
  Pump();
  // HTCAPTION: non-client messages with the hit code and screen coordinates.
  auto down = Of(WM_NCLBUTTONDOWN, above);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].WParam, WPARAM(HTCAPTION));
  EXPECT_EQ(LParamToPoint(down[0].LParam), (TPoint{25, 50}));
  EXPECT_TRUE(Of(WM_LBUTTONDOWN).empty());
  ClearLog();
  m_screen->Click({75, 50});
  Pump();
  auto client = Of(WM_LBUTTONDOWN, below);
  ASSERT_EQ(client.size(), 1u);
  EXPECT_EQ(LParamToPoint(client[0].LParam), (TPoint{75, 50}));
  EXPECT_EQ(client[0].WParam, WPARAM(MK_LBUTTON));
}

TEST_F(InputTest, ChildGetsClientCoordinatesAndDisabledChildLetsParentHaveIt) {
  HWND parent = Top(100, 100, 200, 200);
  HWND child = Child(parent, 20, 30, 50, 50);
  Pump();
  ClearLog();
  m_screen->Click({125, 135});
  Pump();
  ASSERT_EQ(Of(WM_LBUTTONDOWN, child).size(), 1u);
  EXPECT_EQ(LParamToPoint(Of(WM_LBUTTONDOWN, child)[0].LParam), (TPoint{5, 5}));
  EnableWindow(child, false);
  ClearLog();
  m_screen->Click({125, 135});
  Pump();
  EXPECT_TRUE(Of(WM_LBUTTONDOWN, child).empty());
  ASSERT_EQ(Of(WM_LBUTTONDOWN, parent).size(), 1u);
}

TEST_F(InputTest, CaptureKeepsMouseMessagesOnTheCapturingWindow) {
  HWND a = Top(0, 0, 100, 100);
  HWND b = Top(200, 0, 100, 100);
  Pump();
  EXPECT_EQ(SetCapture(a), nullptr);
  ClearLog();
  m_screen->MouseMove({250, 50});
  m_screen->MouseDown({250, 50});
  m_screen->MouseUp({250, 50});
  Pump();
  EXPECT_TRUE(Messages(b).empty());
  auto moves = Of(WM_MOUSEMOVE, a);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(LParamToPoint(moves[0].LParam), (TPoint{250, 50}));  // client coordinates, outside
  EXPECT_EQ(Of(WM_LBUTTONDOWN, a).size(), 1u);
  EXPECT_EQ(Of(WM_LBUTTONUP, a).size(), 1u);
  ClearLog();
  EXPECT_EQ(SetCapture(b), a);
  ASSERT_EQ(Of(WM_CAPTURECHANGED, a).size(), 1u);
  EXPECT_EQ(HWND(Of(WM_CAPTURECHANGED, a)[0].LParam), b);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Of(WM_CAPTURECHANGED, b).size(), 1u);
  // Destroying the capturing window releases the capture.
  SetCapture(a);
  DestroyWindow(a);
  EXPECT_EQ(GetCapture(), nullptr);
}

// A display that cannot give a window the pointer takes the capture straight back: the window
// hears it lost, and a capture held before is released rather than kept.
TEST_F(InputTest, ACaptureTheDisplayRefusesIsLostAtOnce) {
  HWND a = Top(0, 0, 100, 100);
  HWND b = Top(200, 0, 100, 100);
  Pump();
  SetCapture(a);
  m_screen->SetCaptureRefused(true);
  ClearLog();
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Of(WM_CAPTURECHANGED, a).size(), 1u);
  ASSERT_EQ(Of(WM_CAPTURECHANGED, b).size(), 1u);
  EXPECT_EQ(HWND(Of(WM_CAPTURECHANGED, b)[0].LParam), nullptr);
  // Input goes where the pointer is, as without a capture.
  ClearLog();
  m_screen->Click({50, 50});
  Pump();
  EXPECT_EQ(Of(WM_LBUTTONDOWN, a).size(), 1u);
  EXPECT_TRUE(Of(WM_LBUTTONDOWN, b).empty());
  m_screen->SetCaptureRefused(false);
  SetCapture(b);
  EXPECT_EQ(GetCapture(), b);
}

TEST_F(InputTest, DoubleClickNeedsTheClassStyleTimeAndDistance) {
  HWND w = Top(0, 0, 200, 200);
  Pump();
  struct Case {
    DWORD gap;
    TPoint second;
    bool doubled;
  };
  const Case cases[] = {
      {100, {52, 52}, true},    // within 500 ms and 4 x 4 pixels
      {500, {50, 50}, true},    // exactly the double-click time
      {501, {50, 50}, false},   // too late
      {100, {53, 50}, false},   // too far (more than half the box)
  };
  for (const Case& c : cases) {
    ClearLog();
    TTickClock::Advance(2000);
    m_screen->Click({50, 50});
    Pump();
    TTickClock::Advance(c.gap);
    m_screen->Click(c.second);
    Pump();
    EXPECT_EQ(Of(WM_LBUTTONDBLCLK, w).size(), c.doubled ? 1u : 0u) << c.gap << " ms";
    EXPECT_EQ(Of(WM_LBUTTONDOWN, w).size(), c.doubled ? 1u : 2u);
  }
  // A third click right after a double click starts a new pair.
  ClearLog();
  TTickClock::Advance(2000);
  for (int i = 0; i < 3; ++i) m_screen->Click({50, 50});
  Pump();
  EXPECT_EQ(Filtered({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}, w),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
  // Without CS_DBLCLKS only presses arrive.
  WNDCLASS plain;
  plain.lpszClassName = "nodbl";
  RegisterClass(plain);
  HWND n = CreateWindowEx(0, "nodbl", "", WS_POPUP | WS_VISIBLE, 300, 300, 50, 50, nullptr);
  int downs = 0, doubles = 0;
  SetWindowProc(n, MakeWindowProc([&](HWND h, UINT m, WPARAM wp, LPARAM lp) {
    downs += m == WM_LBUTTONDOWN;
    doubles += m == WM_LBUTTONDBLCLK;
    return DefWindowProc(h, m, wp, lp);
  }));
  TTickClock::Advance(2000);
  m_screen->Click({310, 310});
  m_screen->Click({310, 310});
  Pump();
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(doubles, 0);
  DestroyWindow(n);
}

TEST_F(InputTest, ClickActivatesAndFocusFollows) {
  HWND a = Top(0, 0, 100, 100);
  HWND b = Top(200, 0, 100, 100);
  HWND edit = Child(b, 10, 10, 30, 30);
  Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  SetActiveWindow(a);
  EXPECT_EQ(GetFocus(), a);
  ClearLog();
  m_screen->Click({215, 15});
  Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(GetForegroundWindow(), b);
  // The old window hears of it before the new one.
  std::vector<UINT> expected{WM_NCACTIVATE, WM_ACTIVATE};
  EXPECT_EQ(Filtered({WM_NCACTIVATE, WM_ACTIVATE}, a), expected);
  ASSERT_EQ(Of(WM_ACTIVATE, b).size(), 1u);
  EXPECT_EQ(LOWORD(Of(WM_ACTIVATE, b)[0].WParam), WA_CLICKACTIVE);
  EXPECT_EQ(Of(WM_MOUSEACTIVATE, edit).size(), 1u);
  EXPECT_EQ(Of(WM_KILLFOCUS, a).size(), 1u);
  ClearLog();
  EXPECT_EQ(SetFocus(edit), b);
  EXPECT_EQ(GetFocus(), edit);
  ASSERT_EQ(Of(WM_KILLFOCUS, b).size(), 1u);
  EXPECT_EQ(HWND(Of(WM_KILLFOCUS, b)[0].WParam), edit);
  ASSERT_EQ(Of(WM_SETFOCUS, edit).size(), 1u);
  EXPECT_EQ(HWND(Of(WM_SETFOCUS, edit)[0].WParam), b);
  // A window answering MA_NOACTIVATEANDEAT is neither activated nor clicked.
  On(a, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_MOUSEACTIVATE) return MA_NOACTIVATEANDEAT;
    return std::nullopt;
  });
  ClearLog();
  m_screen->Click({50, 50});
  Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_TRUE(Of(WM_LBUTTONDOWN, a).empty());
  EXPECT_EQ(Of(WM_LBUTTONUP, a).size(), 1u);
}

TEST_F(InputTest, KeysGoToTheFocusAndAltMakesSystemKeys) {
  HWND w = Top(0, 0, 100, 100);
  Pump();
  SetFocus(w);
  ClearLog();
  m_screen->KeyPress('A');
  m_screen->KeyDown(VK_SHIFT);
  // The asynchronous state is the keyboard's now; the message state follows the queue.
  EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  m_screen->KeyPress('B');
  m_screen->KeyUp(VK_SHIFT);
  m_screen->KeyDown(VK_MENU);
  m_screen->KeyPress('X');
  m_screen->KeyUp(VK_MENU);
  MSG msg;
  std::vector<std::pair<UINT, WPARAM>> seen;
  while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == 'X') {
      EXPECT_TRUE(GetKeyState(VK_MENU) & 0x8000);
    }
    TranslateMessage(msg);
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) seen.push_back({msg.message, msg.wParam});
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == 'X') {
      EXPECT_TRUE(HIWORD(std::uintptr_t(msg.lParam)) & 0x2000);  // the Alt context bit
    }
  }
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{WM_CHAR, 'a'}, {WM_CHAR, 'B'}, {WM_SYSCHAR, 'x'}}));
  EXPECT_FALSE(GetKeyState(VK_MENU) & 0x8000);
  // Key-up carries the previous-state and transition bits.
  m_screen->KeyPress(VK_RETURN);
  ASSERT_TRUE(PeekMessage(msg, nullptr, WM_KEYUP, WM_KEYUP, PM_REMOVE));
  EXPECT_EQ(std::uint32_t(msg.lParam) & 0xC0000000u, 0xC0000000u);
}

TEST_F(InputTest, MouseLeaveIsPostedOnceWhenTracked) {
  HWND w = Top(0, 0, 100, 100);
  Pump();
  m_screen->MouseMove({50, 50});
  Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = w;
  ASSERT_TRUE(TrackMouseEvent(tme));
  ClearLog();
  m_screen->MouseMove({60, 50});
  m_screen->MouseMove({300, 300});
  m_screen->MouseMove({50, 50});
  m_screen->MouseMove({400, 400});
  Pump();
  EXPECT_EQ(Of(WM_MOUSELEAVE, w).size(), 1u);
}

// A display reports the pointer moving on to another program's window, even one lying over ours:
// the tracked window hears it once, and nothing of ours is under the pointer until it comes back.
TEST_F(InputTest, ThePointerLeavingForAnotherProgramEndsTracking) {
  HWND w = Top(0, 0, 100, 100);
  Pump();
  m_screen->MouseMove({50, 50});
  Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = w;
  ASSERT_TRUE(TrackMouseEvent(tme));
  ClearLog();
  m_screen->MouseLeave({60, 50});
  Pump();
  EXPECT_EQ(Of(WM_MOUSELEAVE, w).size(), 1u);
  EXPECT_TRUE(Of(WM_MOUSEMOVE, w).empty());
  EXPECT_EQ(CursorPos(), (TPoint{60, 50}));
  EXPECT_EQ(WindowFromPoint(CursorPos()), nullptr);
  EXPECT_EQ(WindowFromPoint({61, 50}), w);
  // Tracking asked for while the pointer is away ends at once, as for any window not under it.
  ASSERT_TRUE(TrackMouseEvent(tme));
  Pump();
  EXPECT_EQ(Of(WM_MOUSELEAVE, w).size(), 2u);
  m_screen->MouseMove({60, 50});
  Pump();
  EXPECT_EQ(WindowFromPoint(CursorPos()), w);
  EXPECT_EQ(Of(WM_MOUSEMOVE, w).size(), 1u);
  // With the capture the captor keeps hearing the pointer wherever it goes.
  SetCapture(w);
  ClearLog();
  m_screen->MouseLeave({300, 300});
  Pump();
  EXPECT_EQ(Of(WM_MOUSEMOVE, w).size(), 1u);
  EXPECT_EQ(WindowFromPoint({300, 300}), nullptr);
  ReleaseCapture();
}

TEST_F(InputTest, SettingsHaveTheirDefaultsAndLimits) {
  EXPECT_EQ(GetDoubleClickTime(), 500u);
  EXPECT_EQ(GetDoubleClickSize(), (TSize{4, 4}));
  int delay = -1, speed = -1;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay));
  ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed));
  EXPECT_EQ(delay, 1);
  EXPECT_EQ(speed, 31);
  EXPECT_FALSE(SystemParametersInfo(SPI_SETKEYBOARDDELAY, 4, nullptr));
  TRect work;
  m_screen->SetWorkArea({0, 0, 640, 450});
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work));
  EXPECT_EQ(work, (TRect{0, 0, 640, 450}));
}

}  // namespace
}  // namespace vandrel::test
