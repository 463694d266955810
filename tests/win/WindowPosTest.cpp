// Positioning: the message sequence, the modifiable position record, the client rectangle from
// WM_NCCALCSIZE, z-order with topmost windows, showing and coordinate mapping.
#include "WinTestSupport.h"

#include "platform/core/Exception.h"

namespace vandrel::test {
namespace {

using WindowPosTest = WinTest;

TEST_F(WindowPosTest, SequenceAndModifiablePositionRecord) {
  HWND w = Top(10, 10, 100, 100);
  Pump();
  ClearLog();
  NCCALCSIZE_PARAMS seen;
  On(w, [&](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_WINDOWPOSCHANGING) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      pos->cx = std::min(pos->cx, 150);  // a size limit, as a skinned frame applies it here
      return 0;
    }
    if (m == WM_NCCALCSIZE && wp) {
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lp);
      seen = *p;
      // A frame of 5 pixels all round: the first rectangle becomes the client rectangle.
      p->rgrc[0] = InflateRect(p->rgrc[0], -5, -5);
      return 0;
    }
    return std::nullopt;
  });
  ASSERT_TRUE(SetWindowPos(w, nullptr, 20, 30, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE));
  EXPECT_EQ(Filtered({WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}, w),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  EXPECT_EQ(seen.rgrc[0], (TRect{20, 30, 170, 230}));
  EXPECT_EQ(seen.rgrc[1], (TRect{10, 10, 110, 110}));
  EXPECT_EQ(WindowRect(w), (TRect{20, 30, 170, 230}));
  EXPECT_EQ(ClientRect(w), (TRect{0, 0, 140, 190}));
  auto size = Of(WM_SIZE, w);
  EXPECT_EQ(LOWORD(std::uintptr_t(size.back().LParam)), 140);
  EXPECT_EQ(HIWORD(std::uintptr_t(size.back().LParam)), 190);
  EXPECT_EQ(LParamToPoint(Of(WM_MOVE, w).back().LParam), (TPoint{25, 35}));
  TPoint p{0, 0};
  ClientToScreen(w, p);
  EXPECT_EQ(p, (TPoint{25, 35}));
  // A move only: no WM_NCCALCSIZE; nothing changes: no WM_WINDOWPOSCHANGED content change.
  ClearLog();
  SetWindowPos(w, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Filtered({WM_NCCALCSIZE, WM_SIZE, WM_MOVE}, w), std::vector<UINT>{WM_MOVE});
  // SWP_FRAMECHANGED asks for WM_NCCALCSIZE again without a size change.
  ClearLog();
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(Of(WM_NCCALCSIZE, w).size(), 1u);
}

TEST_F(WindowPosTest, TopmostWindowsStayAboveAndOwnedWindowsAboveOwners) {
  HWND a = Top(0, 0, 50, 50);
  HWND b = Top(0, 0, 50, 50);
  HWND t = Top(0, 0, 50, 50);
  SetWindowPos(t, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(GetWindowLong(t, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(nullptr), t);
  EXPECT_EQ(GetWindow(t, GW_HWNDNEXT), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(WindowFromPoint({10, 10}), t);
  SetWindowPos(t, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLong(t, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND owned = CreateWindowEx(0, "rec", "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, b);
  EXPECT_EQ(GetParent(owned), b);
  BringWindowToTop(b);
  EXPECT_EQ(GetTopWindow(nullptr), owned);
  EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), b);
  // Destroying the owner takes the owned window along.
  DestroyWindow(b);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowPosTest, ShowHideMinimizeRestore) {
  HWND a = Top(0, 0, 100, 100);
  HWND w = CreateWindowEx(0, "rec", "", WS_OVERLAPPEDWINDOW, 10, 10, 200, 150, nullptr);
  EXPECT_FALSE(IsWindowVisible(w));
  ClearLog();
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(Filtered({WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATE}, w),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATE}));
  ClearLog();
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(GetActiveWindow(), a);
  ASSERT_FALSE(Of(WM_SIZE, w).empty());
  EXPECT_EQ(Of(WM_SIZE, w).back().WParam, WPARAM(SIZE_MINIMIZED));
  EXPECT_NE(WindowFromPoint({50, 50}), w);
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsIconic(w));
  EXPECT_EQ(WindowRect(w), (TRect{10, 10, 210, 160}));
  EXPECT_EQ(GetActiveWindow(), w);
  ShowWindow(w, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(WindowPosTest, AnImpossibleSizeRaisesAndChangesNothing) {
  HWND w = Top(10, 10, 100, 100);
  EXPECT_THROW(SetWindowPos(w, nullptr, 0, 0, 60000, 60000, SWP_NOZORDER), EInvalidArgument);
  EXPECT_EQ(WindowRect(w), (TRect{10, 10, 110, 110}));
  EXPECT_TRUE(SetWindowPos(w, nullptr, 0, 0, 50, 50, SWP_NOZORDER));
  EXPECT_EQ(WindowRect(w), (TRect{0, 0, 50, 50}));
}

TEST_F(WindowPosTest, MappingBetweenWindows) {
  HWND top = Top(100, 50, 300, 300, WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND child = Child(top, 10, 20, 100, 100);
  HWND grand = Child(child, 5, 5, 10, 10);
  TPoint p{1, 1};
  MapWindowPoints(grand, nullptr, &p, 1);
  EXPECT_EQ(p, (TPoint{100 + 1 + 10 + 5 + 1, 50 + 1 + 20 + 5 + 1}));
  EXPECT_EQ(MapWindowRect(grand, top, {0, 0, 2, 2}), (TRect{15, 25, 17, 27}));
  EXPECT_EQ(ChildWindowFromPoint(top, {12, 22}), child);
  EXPECT_EQ(WindowFromPoint({100 + 1 + 16, 50 + 1 + 26}), grand);
  EXPECT_TRUE(IsChild(top, grand));
  EXPECT_EQ(GetAncestor(grand, GA_ROOT), top);
}

}  // namespace
}  // namespace vandrel::test
