// Modal loops of the default frame: move/size, caption buttons, system menu.
#include "platform/win/FrameTracking.h"

#include <algorithm>
#include <vector>

#include "platform/core/ScopeExit.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Fill.h"
#include "platform/win/DefaultFrame.h"
#include "platform/win/FrameText.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TWindowRecord* Rec(HWND h) { return TWindowSystem::Instance().Find(h); }

// A WM_QUIT met inside a modal loop ends the loop and stays pending for the outer loop.
bool NextMessage(MSG& msg) {
  if (GetMessage(msg, nullptr, 0, 0)) return true;
  PostQuitMessage(int(msg.wParam));
  return false;
}

enum : int { WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4, WMSZ_TOPRIGHT = 5,
             WMSZ_BOTTOM = 6, WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8 };

TRect Resized(const TRect& r, int edge, TPoint d, TPoint minSize, TPoint maxSize) {
  TRect n = r;
  bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
  bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
  if (left) n.Left = std::clamp(r.Left + d.X, r.Right - maxSize.X, r.Right - minSize.X);
  if (right) n.Right = std::clamp(r.Right + d.X, r.Left + minSize.X, r.Left + maxSize.X);
  if (top) n.Top = std::clamp(r.Top + d.Y, r.Bottom - maxSize.Y, r.Bottom - minSize.Y);
  if (bottom) n.Bottom = std::clamp(r.Bottom + d.Y, r.Top + minSize.Y, r.Top + maxSize.Y);
  return n;
}

}  // namespace

void RunMoveSizeLoop(HWND hwnd, UINT command, TPoint start, bool keyboard) {
  TWindowRecord* w = Rec(hwnd);
  if (!w || (w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
  bool sizing = (command & 0xFFF0) == SC_SIZE;
  int edge = sizing ? int(command & 0x0F) : 0;
  if (sizing && (!(w->Style & WS_THICKFRAME) || edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return;
  MINMAXINFO mmi = DefaultMinMaxInfo(*w);
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, LPARAM(&mmi));
  if (!(w = Rec(hwnd))) return;
  TPoint minSize{std::max(mmi.ptMinTrackSize.X, 1), std::max(mmi.ptMinTrackSize.Y, 1)};
  TPoint maxSize{std::max(mmi.ptMaxTrackSize.X, minSize.X), std::max(mmi.ptMaxTrackSize.Y, minSize.Y)};
  const TRect original = w->Rect;
  TPoint offset;  // accumulated movement
  SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  TScopeExit finish([hwnd] {
    if (GetCapture() == hwnd) ReleaseCapture();
    if (IsWindow(hwnd)) SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
  });
  SetCapture(hwnd);
  auto apply = [&] {
    TRect r = sizing ? Resized(original, edge, offset, minSize, maxSize) : OffsetRect(original, offset.X, offset.Y);
    SendMessage(hwnd, sizing ? WM_SIZING : WM_MOVING, WPARAM(edge), LPARAM(&r));
    SetWindowPos(hwnd, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    ProcessPendingPaints(hwnd);
  };
  MSG msg;
  while (GetCapture() == hwnd && IsWindow(hwnd)) {
    if (!NextMessage(msg)) break;
    if (msg.message == WM_MOUSEMOVE) {
      offset = msg.pt - start;
      apply();
      continue;
    }
    if (msg.message == WM_LBUTTONUP && !keyboard) break;
    if (msg.message == WM_LBUTTONDOWN && keyboard) break;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
      int step = 8;
      switch (msg.wParam) {
        case VK_ESCAPE:
          offset = {};
          apply();
          goto done;
        case VK_RETURN: goto done;
        case VK_LEFT: offset.X -= step; apply(); continue;
        case VK_RIGHT: offset.X += step; apply(); continue;
        case VK_UP: offset.Y -= step; apply(); continue;
        case VK_DOWN: offset.Y += step; apply(); continue;
        default: continue;
      }
    }
    if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP || msg.message == WM_CHAR) continue;
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
done:;
}

bool TrackCaptionButton(HWND hwnd, int hit) {
  TWindowRecord* w = Rec(hwnd);
  if (!w) return false;
  bool active = GetActiveWindow() == hwnd;
  auto paint = [&](bool pushed) {
    if (!IsWindow(hwnd)) return;
    HDC dc = GetWindowDC(hwnd);
    PaintDefaultFrame(hwnd, dc, active, pushed ? hit : 0);
    ReleaseDC(hwnd, dc);
  };
  bool over = true;
  TScopeExit finish([&] {
    if (GetCapture() == hwnd) ReleaseCapture();
    paint(false);
  });
  paint(true);
  SetCapture(hwnd);
  MSG msg;
  while (GetCapture() == hwnd && IsWindow(hwnd)) {
    if (!NextMessage(msg)) {
      over = false;
      break;
    }
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      if (!(w = Rec(hwnd))) return false;
      TFrameLayout l = DefaultFrameLayout(w->Style, w->ExStyle, w->Rect.Size(), w->VScroll.Shown, w->HScroll.Shown);
      bool now = DefaultFrameHitTest(l, w->Style, w->Rect.Size(), msg.pt - WindowOriginOnScreen(*w)) == hit;
      if (now != over) paint(over = now);
      if (msg.message == WM_LBUTTONUP) break;
      continue;
    }
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
  return over && IsWindow(hwnd);
}

namespace {

struct TMenuItem {
  const char* Text;
  char Mnemonic;
  UINT Command;  // 0: separator
  bool Enabled;
};

constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 9;
constexpr int kMenuWidth = 170;

struct TMenuState {
  std::vector<TMenuItem> Items;
  int Hot = -1;
};

TMenuState*& CurrentMenu() {
  static TMenuState* menu = nullptr;
  return menu;
}

TRect ItemRect(const TMenuState& m, int index) {
  int y = 3;
  for (int i = 0; i < index; ++i) y += m.Items[size_t(i)].Command ? kItemHeight : kSeparatorHeight;
  int h = m.Items[size_t(index)].Command ? kItemHeight : kSeparatorHeight;
  return {3, y, kMenuWidth - 3, y + h};
}

int MenuHeight(const TMenuState& m) { return ItemRect(m, int(m.Items.size()) - 1).Bottom + 3; }

int ItemAt(const TMenuState& m, TPoint client) {
  for (int i = 0; i < int(m.Items.size()); ++i)
    if (ItemRect(m, i).Contains(client)) return m.Items[size_t(i)].Command ? i : -1;
  return -1;
}

void FillSys(HDC dc, const TRect& r, int c) { FillRect(dc, r, GetSysColorBrush(c)); }

LRESULT MenuProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMenuState* m = CurrentMenu();
  if (msg == WM_PAINT && m) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, ps);
    TRect all = ClientRect(hwnd);
    FillSys(dc, all, COLOR_MENU);
    FillSys(dc, {0, 0, all.Right, 1}, COLOR_3DLIGHT);
    FillSys(dc, {0, 0, 1, all.Bottom}, COLOR_3DLIGHT);
    FillSys(dc, {1, 1, all.Right - 1, 2}, COLOR_BTNHIGHLIGHT);
    FillSys(dc, {1, 1, 2, all.Bottom - 1}, COLOR_BTNHIGHLIGHT);
    FillSys(dc, {0, all.Bottom - 1, all.Right, all.Bottom}, COLOR_3DDKSHADOW);
    FillSys(dc, {all.Right - 1, 0, all.Right, all.Bottom}, COLOR_3DDKSHADOW);
    FillSys(dc, {1, all.Bottom - 2, all.Right - 1, all.Bottom - 1}, COLOR_BTNSHADOW);
    FillSys(dc, {all.Right - 2, 1, all.Right - 1, all.Bottom - 1}, COLOR_BTNSHADOW);
    for (int i = 0; i < int(m->Items.size()); ++i) {
      const TMenuItem& it = m->Items[size_t(i)];
      TRect r = ItemRect(*m, i);
      if (!it.Command) {
        int y = (r.Top + r.Bottom) / 2 - 1;
        FillSys(dc, {r.Left + 1, y, r.Right - 1, y + 1}, COLOR_BTNSHADOW);
        FillSys(dc, {r.Left + 1, y + 1, r.Right - 1, y + 2}, COLOR_BTNHIGHLIGHT);
        continue;
      }
      bool hot = i == m->Hot;
      if (hot) FillSys(dc, r, COLOR_HIGHLIGHT);
      int color = !it.Enabled ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT;
      DrawFrameText(dc, {r.Left + 18, r.Top, r.Right - 4, r.Bottom}, it.Text, GetSysColor(color), false, false);
    }
    EndPaint(hwnd, ps);
    return 0;
  }
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void SetHot(HWND menu, TMenuState& m, int hot) {
  if (m.Hot == hot) return;
  m.Hot = hot;
  InvalidateRect(menu, nullptr, false);
  UpdateWindow(menu);
}

// Shows the menu at screenPt and runs its loop; the command chosen, or 0.
UINT ChooseFromMenu(HWND hwnd, TMenuState& state, TPoint screenPt) {
  UINT chosen = 0;
  CurrentMenu() = &state;
  HWND menu = nullptr;
  // The menu's state lives on the caller's stack: nothing may point at it once the loop is left.
  TScopeExit finish([&] {
    CurrentMenu() = nullptr;
    if (menu && GetCapture() == menu) ReleaseCapture();
    if (menu) DestroyWindow(menu);
  });
  TSize screen = ScreenSize();
  int height = MenuHeight(state);
  int x = std::clamp(screenPt.X, 0, std::max(screen.cx - kMenuWidth, 0));
  int y = std::clamp(screenPt.Y, 0, std::max(screen.cy - height, 0));
  menu = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "#vandrel.sysmenu", "", WS_POPUP,
                         x, y, kMenuWidth, height, hwnd);
  ShowWindow(menu, SW_SHOWNA);
  UpdateWindow(menu);
  SetCapture(menu);
  bool started = false;  // a release before any press inside opens the menu for a second click
  MSG msg;
  while (GetCapture() == menu && IsWindow(menu) && IsWindow(hwnd)) {
    if (!NextMessage(msg)) break;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.message != WM_MOUSEWHEEL) {
      TPoint p = msg.pt;
      ScreenToClient(menu, p);
      int item = ItemAt(state, p);
      bool inside = ClientRect(menu).Contains(p);
      if (msg.message == WM_MOUSEMOVE) {
        SetHot(menu, state, item);
      } else if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN) {
        if (!inside) break;
        started = true;
      } else if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP) {
        if (item >= 0 && state.Items[size_t(item)].Enabled) {
          chosen = state.Items[size_t(item)].Command;
          break;
        }
        if (started && !inside) break;
      }
      continue;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
      int n = int(state.Items.size());
      auto step = [&](int dir) {
        int i = state.Hot;
        for (int k = 0; k < n; ++k) {
          i = (i + dir + n) % n;
          if (state.Items[size_t(i)].Command) break;
        }
        SetHot(menu, state, i);
      };
      if (msg.wParam == VK_ESCAPE || (msg.wParam == VK_MENU)) break;
      if (msg.wParam == VK_DOWN) step(1);
      else if (msg.wParam == VK_UP) step(-1);
      else if (msg.wParam == VK_RETURN) {
        if (state.Hot >= 0 && state.Items[size_t(state.Hot)].Enabled) {
          chosen = state.Items[size_t(state.Hot)].Command;
          break;
        }
      } else {
        for (auto& it : state.Items)
          if (it.Command && it.Enabled && int(it.Mnemonic) == int(msg.wParam)) chosen = it.Command;
        if (chosen) break;
      }
      continue;
    }
    if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP || msg.message == WM_CHAR || msg.message == WM_SYSCHAR)
      continue;
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
  return chosen;
}

}  // namespace

void RunSystemMenu(HWND hwnd, TPoint screenPt) {
  TWindowRecord* w = Rec(hwnd);
  if (!w || CurrentMenu()) return;
  bool iconic = (w->Style & WS_MINIMIZE) != 0, zoomed = (w->Style & WS_MAXIMIZE) != 0;
  bool normal = !iconic && !zoomed;
  TMenuState state;
  state.Items = {{"&Restore", 'R', SC_RESTORE, !normal},
                 {"&Move", 'M', SC_MOVE, normal},
                 {"&Size", 'S', SC_SIZE, normal && (w->Style & WS_THICKFRAME)},
                 {"Mi&nimize", 'N', SC_MINIMIZE, !iconic && (w->Style & WS_MINIMIZEBOX)},
                 {"Ma&ximize", 'X', SC_MAXIMIZE, !zoomed && (w->Style & WS_MAXIMIZEBOX)},
                 {"", 0, 0, false},
                 {"&Close\tAlt+F4", 'C', SC_CLOSE, true}};
  static const bool registered = [] {
    WNDCLASS cls;
    cls.lpszClassName = "#vandrel.sysmenu";
    cls.lpfnWndProc = MakeWindowProc(&MenuProc);
    cls.style = CS_SAVEBITS;
    RegisterClass(cls);
    return true;
  }();
  (void)registered;
  UINT chosen = ChooseFromMenu(hwnd, state, screenPt);
  if (chosen && IsWindow(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, chosen, 0);
}

}  // namespace vandrel
