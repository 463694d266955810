// Sending and posting, queue order, window procedures as objects, timers, modal loops, and the
// message calls on bad handles.
#include "WinTestSupport.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/core/Exception.h"
#include "platform/win/ClockChange.h"
#include "platform/win/WindowSystem.h"

namespace vandrel::test {
namespace {

constexpr UINT kA = WM_USER + 1, kB = WM_USER + 2, kC = WM_USER + 3;

using MessageTest = WinTest;

TEST_F(MessageTest, SendRunsAtOncePostWaitsForTheLoopAndPaintAndTimersComeLast) {
  HWND w = Top(10, 10, 100, 80);
  Pump();
  ClearLog();
  SetTimer(w, 7, 10);
  TTickClock::Advance(50);
  InvalidateRect(w, nullptr, true);
  PostMessage(w, kA, 1, 2);
  EXPECT_TRUE(Of(kA).empty());
  SendMessage(w, kB, 0, 0);
  ASSERT_EQ(Messages(w), std::vector<UINT>{kB});
  PostMessage(w, kC, 0, 0);
  Pump();
  // Posted messages in order, then the paint (its erase first), then the timer.
  EXPECT_EQ(Filtered({kA, kB, kC, WM_ERASEBKGND, WM_PAINT, WM_TIMER}, w),
            (std::vector<UINT>{kB, kA, kC, WM_PAINT, WM_ERASEBKGND, WM_TIMER}));
  EXPECT_EQ(Of(kA).front().WParam, 1u);
  EXPECT_EQ(Of(kA).front().LParam, 2);
}

// What one test leaves in a scoped window system (windows, a quit, capture, focus, a timer) is
// neither seen by nor leaked into the instance it replaced, nor into the next scoped one.
TEST_F(MessageTest, ScopedWindowSystemIsolatesItsStateFromTheProcessInstance) {
  HWND outer = Top(10, 10, 100, 80);
  SetCapture(outer);
  PostMessage(outer, WM_USER + 1, 0, 0);
  for (int round = 0; round < 2; ++round) {
    TScopedWindowSystem fresh;
    MSG msg;
    EXPECT_FALSE(IsWindow(outer));
    EXPECT_EQ(GetTopWindow(nullptr), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE));
    WNDCLASS cls;
    cls.lpszClassName = "inner";
    cls.lpfnWndProc = MakeWindowProc(DefWindowProc);
    RegisterClass(cls);
    HWND inner = CreateWindowEx(0, "inner", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr);
    ASSERT_TRUE(IsWindow(inner));
    SetCapture(inner);
    SetFocus(inner);
    SetTimer(inner, 7, 10);
    PostMessage(inner, WM_USER + 2, 0, 0);
    PostQuitMessage(3);
  }
  EXPECT_EQ(GetCapture(), outer);
  EXPECT_EQ(GetTopWindow(nullptr), outer);
  ASSERT_TRUE(IsWindow(outer));
  MSG msg;
  ASSERT_TRUE(PeekMessage(msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
  TTickClock::Advance(50);
  while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
    EXPECT_NE(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_NE(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.hwnd, outer);
    DispatchMessage(msg);
  }
}

TEST_F(MessageTest, PeekFiltersByRangeAndWindowAndCanLeaveMessages) {
  HWND a = Top(0, 0, 50, 50), b = Top(60, 0, 50, 50);
  Pump();
  PostMessage(a, kA, 0, 0);
  PostMessage(b, kB, 0, 0);
  PostMessage(a, kC, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(m, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, kB);
  ASSERT_TRUE(PeekMessage(m, nullptr, kC, kC, PM_REMOVE));
  EXPECT_EQ(m.message, kC);
  ASSERT_TRUE(PeekMessage(m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, kA);
  ASSERT_TRUE(PeekMessage(m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, kB);
  EXPECT_FALSE(PeekMessage(m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageTest, QuitEndsGetMessageAfterPostedMessages) {
  HWND w = Top(0, 0, 50, 50);
  Pump();
  PostQuitMessage(3);
  PostMessage(w, kA, 0, 0);
  InvalidateRect(w, nullptr, false);
  ProcessPendingPaints(nullptr);  // a loop that takes only paints leaves the quit request alone
  MSG m;
  ASSERT_TRUE(GetMessage(m, nullptr, 0, 0));
  EXPECT_EQ(m.message, kA);
  EXPECT_FALSE(GetMessage(m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 3u);
}

TEST_F(MessageTest, GetMessageWithNothingToWaitForRaisesInsteadOfHanging) {
  MSG m;
  EXPECT_THROW(GetMessage(m, nullptr, 0, 0), EInvalidOperation);
}

// Work pending for other windows or of other kinds does not wake a filtered GetMessage (it would
// spin on it): it waits for input or for a timer it lets through, and raises when none can come.
TEST_F(MessageTest, FilteredGetMessageWaitsInsteadOfSpinning) {
  HWND a = Top(0, 0, 50, 50), b = Top(60, 0, 50, 50);
  Pump();
  PostMessage(a, kA, 0, 0);
  int idle = 0;
  m_screen->SetIdleHandler([&] { return ++idle == 1 && PostMessage(b, kB, 0, 0); });
  MSG m;
  ASSERT_TRUE(GetMessage(m, b, 0, 0));
  EXPECT_EQ(std::make_pair(m.hwnd, m.message), std::make_pair(b, kB));
  EXPECT_EQ(idle, 1);
  SetTimer(b, 5, 100);
  DWORD before = GetTickCount();
  ASSERT_TRUE(GetMessage(m, nullptr, WM_TIMER, WM_TIMER));
  EXPECT_EQ(std::make_pair(m.hwnd, m.wParam), std::make_pair(b, WPARAM(5)));
  EXPECT_EQ(GetTickCount() - before, 100u);  // slept until the timer, not a millisecond more
  EXPECT_THROW(GetMessage(m, b, kC, kC), EInvalidOperation);
  m_screen->SetIdleHandler(nullptr);
  ASSERT_TRUE(PeekMessage(m, nullptr, 0, 0, PM_REMOVE));  // the other window's message is still there
  EXPECT_EQ(std::make_pair(m.hwnd, m.message), std::make_pair(a, kA));
}

TEST_F(MessageTest, ReplacedProcedureSeesMessagesFirstAndChainsOrSwallows) {
  HWND w = Top(0, 0, 50, 50);
  WNDPROC original = GetWindowProc(w);
  std::vector<UINT> seen;
  WNDPROC hook = MakeWindowProc([&](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    seen.push_back(m);
    if (m == kA) return 42;  // swallowed
    return CallWindowProc(original, h, m, wp, lp);
  });
  EXPECT_EQ(SetWindowProc(w, hook), original);
  EXPECT_EQ(GetWindowProc(w), hook);  // identity: the hook can tell it is still installed
  ClearLog();
  EXPECT_EQ(SendMessage(w, kA, 0, 0), 42);
  SendMessage(w, kB, 0, 0);
  EXPECT_EQ(seen, (std::vector<UINT>{kA, kB}));
  EXPECT_EQ(Messages(w), std::vector<UINT>{kB});
  // A later subclass on top: uninstalling the first must not drop the second.
  WNDPROC later = MakeWindowProc([&](HWND h, UINT m, WPARAM wp, LPARAM lp) { return CallWindowProc(hook, h, m, wp, lp); });
  SetWindowProc(w, later);
  EXPECT_NE(GetWindowProc(w), hook);
  EXPECT_EQ(SetWindowProc(w, original), later);
}

// A timer callback that throws reaches the installed handler (inside its catch) and the loop
// goes on with the other timers; without a handler the exception leaves the loop.
TEST_F(MessageTest, ExceptionsFromTimerCallbacksGoToTheInstalledHandler) {
  std::vector<std::string> handled;
  int ticks = 0;
  UINT_PTR bad = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { throw std::runtime_error("tick failed"); });
  UINT_PTR good = SetTimer(nullptr, 0, 50, [&](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
  TCallbackExceptionHandler previous = SetCallbackExceptionHandler([&] {
    try {
      throw;
    } catch (const std::exception& e) {
      handled.push_back(e.what());
    }
  });
  TTickClock::Advance(60);
  EXPECT_NO_THROW(Pump());
  EXPECT_EQ(handled, (std::vector<std::string>{"tick failed"}));
  EXPECT_EQ(ticks, 1);
  SetCallbackExceptionHandler(previous);
  TTickClock::Advance(60);
  EXPECT_THROW(Pump(), std::runtime_error);
  KillTimer(nullptr, bad);
  KillTimer(nullptr, good);
}

TEST_F(MessageTest, TimersFireInDueOrderOncePerAdvance) {
  HWND w = Top(0, 0, 50, 50);
  Pump();
  ClearLog();
  SetTimer(w, 1, 300);
  SetTimer(w, 2, 100);
  SetTimer(w, 3, 200);
  std::vector<UINT_PTR> order;
  On(w, [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_TIMER) order.push_back(wp);
    return std::nullopt;
  });
  TTickClock::Advance(99);
  Pump();
  EXPECT_TRUE(order.empty());
  TTickClock::Advance(150);  // 2 and 3 are due (2 was due twice but comes once), 1 not yet
  Pump();
  EXPECT_EQ(order, (std::vector<UINT_PTR>{2, 3}));
  KillTimer(w, 3);
  TTickClock::Advance(1000);
  Pump();
  EXPECT_EQ(order, (std::vector<UINT_PTR>{2, 3, 1, 2}));
  // A thread timer with a callback.
  int calls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 50, [&](HWND, UINT, UINT_PTR, DWORD) { ++calls; });
  EXPECT_NE(id, 0u);
  TTickClock::Advance(60);
  Pump();
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(KillTimer(nullptr, id));
  EXPECT_FALSE(KillTimer(nullptr, id));
  // The high-resolution counter follows manual time.
  std::int64_t before = QueryPerformanceCounter();
  TTickClock::Advance(250);
  EXPECT_EQ(QueryPerformanceCounter() - before, QueryPerformanceFrequency() / 4);
}

TEST_F(MessageTest, ModalLoopInsideAHandlerKeepsOtherWindowsResponsive) {
  HWND owner = Top(0, 0, 100, 100);
  HWND other = Top(200, 0, 100, 100);
  Pump();
  SetTimer(other, 9, 100);
  int otherTimers = 0;
  bool modalEnded = false;
  On(other, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_TIMER) ++otherTimers;
    return std::nullopt;
  });
  On(owner, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != kA) return std::nullopt;
    // A modal loop of its own, ended by a click on the owner.
    SetCapture(h);
    MSG msg;
    while (GetMessage(msg, nullptr, 0, 0)) {
      if (msg.message == WM_LBUTTONUP && msg.hwnd == h) break;
      DispatchMessage(msg);
    }
    ReleaseCapture();
    modalEnded = true;
    return 0;
  });
  // While the loop waits, time passes (timers fire), the other window repaints, and at last the
  // user clicks.
  int idleCalls = 0;
  m_screen->SetIdleHandler([&] {
    ++idleCalls;
    if (idleCalls == 1) {
      InvalidateRect(other, nullptr, true);
      return true;
    }
    if (otherTimers < 3) return false;  // let manual time run to the next timer
    m_screen->Click({50, 50});
    return true;
  });
  ClearLog();
  PostMessage(owner, kA, 0, 0);
  Pump();
  m_screen->SetIdleHandler(nullptr);
  EXPECT_TRUE(modalEnded);
  EXPECT_GE(otherTimers, 3);
  EXPECT_FALSE(Of(WM_PAINT, other).empty());
}

TEST_F(MessageTest, DestroyedWindowsAndHandlersThatDestroyTheirWindowAreSafe) {
  HWND w = Top(0, 0, 50, 50);
  HWND child = Child(w, 0, 0, 10, 10);
  int destroys = 0, ncDestroys = 0;
  On(w, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == kA) {
      DestroyWindow(h);
      // Still inside the procedure of the destroyed window: the handle is dead, calls fail.
      EXPECT_FALSE(IsWindow(h));
      EXPECT_EQ(SendMessage(h, kB, 0, 0), 0);
      EXPECT_FALSE(DestroyWindow(h));
      return 7;
    }
    if (m == WM_DESTROY) ++destroys;
    if (m == WM_NCDESTROY) ++ncDestroys;
    return std::nullopt;
  });
  SetTimer(w, 1, 10);
  PostMessage(w, kC, 0, 0);
  EXPECT_EQ(SendMessage(w, kA, 0, 0), 7);
  EXPECT_EQ(destroys, 1);
  EXPECT_EQ(ncDestroys, 1);
  EXPECT_FALSE(IsWindow(child));
  // Order: WM_DESTROY parent first, WM_NCDESTROY children first.
  EXPECT_EQ(Filtered({WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_DESTROY, WM_DESTROY, WM_NCDESTROY, WM_NCDESTROY}));
  EXPECT_EQ(Of(WM_NCDESTROY).front().Window, child);
  EXPECT_FALSE(PostMessage(w, kA, 0, 0));
  EXPECT_EQ(SendMessage(w, kA, 0, 0), 0);
  TTickClock::Advance(100);
  ClearLog();
  Pump();  // the posted message and the timer of the dead window are gone
  EXPECT_TRUE(m_log.empty());
  EXPECT_EQ(GetWindowText(w), "");
  EXPECT_FALSE(SetWindowPos(w, nullptr, 0, 0, 1, 1, 0));
  EXPECT_EQ(SetWindowProc(w, DefWindowProcObject()), nullptr);
}

TEST_F(MessageTest, CreationSequenceAndRefusals) {
  HWND w = Top(5, 6, 70, 40);
  EXPECT_EQ(Filtered({WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}, w),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}));
  EXPECT_EQ(GetWindowText(w), "top");
  EXPECT_THROW(CreateWindowEx(0, "no such class", "", WS_POPUP, 0, 0, 1, 1, nullptr), EInvalidArgument);
  EXPECT_THROW(CreateWindowEx(0, "rec", "", WS_CHILD, 0, 0, 1, 1, nullptr), EInvalidArgument);
  WNDCLASS refusing;
  refusing.lpszClassName = "refusing";
  refusing.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_CREATE) return -1;
    return DefWindowProc(h, m, wp, lp);
  });
  RegisterClass(refusing);
  EXPECT_EQ(CreateWindowEx(0, "refusing", "", WS_POPUP, 0, 0, 1, 1, nullptr), nullptr);
}

// A window that destroys itself in any message of its creation leaves CreateWindowEx with null and
// nothing read from the freed record (ASan watches).
TEST_F(MessageTest, WindowDestroyedDuringItsCreationYieldsNull) {
  static UINT destroyIn = 0;
  WNDCLASS cls;
  cls.lpszClassName = "self-destroying";
  cls.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == destroyIn) DestroyWindow(h);
    return DefWindowProc(h, m, wp, lp);
  });
  RegisterClass(cls);
  for (UINT m : {WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW}) {
    destroyIn = m;
    for (DWORD style : {DWORD(WS_POPUP | WS_VISIBLE), DWORD(WS_OVERLAPPEDWINDOW | WS_VISIBLE)})
      EXPECT_EQ(CreateWindowEx(0, "self-destroying", "", style, 0, 0, 30, 30, nullptr), nullptr) << m;
  }
  destroyIn = 0;
  EXPECT_EQ(GetTopWindow(nullptr), nullptr);
}

TEST_F(MessageTest, TextGoesThroughTheProcedure) {
  HWND w = Top(0, 0, 50, 50);
  ClearLog();
  EXPECT_TRUE(SetWindowText(w, "信息提示"));
  EXPECT_EQ(GetWindowText(w), "信息提示");
  EXPECT_EQ(GetWindowTextLength(w), 12);
  EXPECT_EQ(Filtered({WM_SETTEXT, WM_GETTEXTLENGTH, WM_GETTEXT}, w),
            (std::vector<UINT>{WM_SETTEXT, WM_GETTEXTLENGTH, WM_GETTEXT, WM_GETTEXTLENGTH}));
  char small[4];
  EXPECT_EQ(SendMessage(w, WM_GETTEXT, sizeof small, LPARAM(small)), 3);
  EXPECT_EQ(std::string(small), std::string("信"));
}

// A clock change is posted to every top-level window, not to children; a window that destroys
// the others on hearing it does not bring their messages down on dead handles.
TEST_F(MessageTest, ClockChangeIsPostedToEveryTopLevelWindow) {
  HWND a = Top(0, 0, 50, 50), b = Top(60, 0, 50, 50);
  HWND child = Child(a, 0, 0, 10, 10);
  BroadcastTimeChange();
  EXPECT_TRUE(Of(WM_TIMECHANGE).empty()) << "posted, not sent";
  Pump();
  std::vector<HWND> told;
  for (const auto& e : Of(WM_TIMECHANGE)) told.push_back(e.Window);
  std::sort(told.begin(), told.end());
  std::vector<HWND> expected = {a, b};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(told, expected);
  EXPECT_TRUE(Of(WM_TIMECHANGE, child).empty());

  ClearLog();
  for (HWND w : {a, b})
    On(w, [&, w](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (m == WM_TIMECHANGE) DestroyWindow(w == a ? b : a);
      return std::nullopt;
    });
  BroadcastTimeChange();
  Pump();
  EXPECT_EQ(Of(WM_TIMECHANGE).size(), 1u);

  // The system's notice: a descriptor to wait on, quiet while nobody sets the clock.
  TClockChangeWatch watch;
  EXPECT_GE(watch.FileDescriptor(), 0);
  EXPECT_FALSE(watch.Check());
}

}  // namespace
}  // namespace vandrel::test
