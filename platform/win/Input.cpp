// Input: turning injected mouse and key input into window messages, capture, focus, activation,
// key state and the cursor.
#include "platform/win/Input.h"

#include <cstdlib>

#include "platform/win/Messages.h"
#include "platform/win/Settings.h"
#include "platform/win/TickClock.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TWindowSystem& WS() { return TWindowSystem::Instance(); }

bool Down(int vk) { return (WS().KeyState[size_t(vk & 0xFF)] & 0x80) != 0; }

void SetKey(int vk, bool down) {
  BYTE& s = WS().KeyState[size_t(vk & 0xFF)];
  if (down && !(s & 0x80)) s ^= 0x01;
  s = BYTE(down ? (s | 0x80) : (s & ~0x80));
}

WPARAM MouseKeys() {
  WPARAM mk = 0;
  if (Down(VK_LBUTTON)) mk |= MK_LBUTTON;
  if (Down(VK_RBUTTON)) mk |= MK_RBUTTON;
  if (Down(VK_MBUTTON)) mk |= MK_MBUTTON;
  if (Down(VK_SHIFT)) mk |= MK_SHIFT;
  if (Down(VK_CONTROL)) mk |= MK_CONTROL;
  return mk;
}

void Queue(HWND h, UINT m, WPARAM w, LPARAM l, const TRawInput& ev) {
  MSG msg;
  msg.hwnd = h;
  msg.message = m;
  msg.wParam = w;
  msg.lParam = l;
  msg.time = ev.Time;
  msg.pt = ev.Pt;
  WS().InputMessages.push_back(msg);
}

// Client messages of a button: down, up, double click, per button.
UINT ButtonMessage(TMouseButton b, bool down, bool client) {
  static const UINT table[2][3][2] = {
      {{WM_NCLBUTTONUP, WM_NCLBUTTONDOWN}, {WM_NCRBUTTONUP, WM_NCRBUTTONDOWN}, {WM_NCMBUTTONUP, WM_NCMBUTTONDOWN}},
      {{WM_LBUTTONUP, WM_LBUTTONDOWN}, {WM_RBUTTONUP, WM_RBUTTONDOWN}, {WM_MBUTTONUP, WM_MBUTTONDOWN}}};
  return table[client ? 1 : 0][int(b)][down ? 1 : 0];
}

void CheckMouseLeave(HWND target, bool inClient) {
  auto& ws = WS();
  if (!ws.MouseLeaveTrack) return;
  if (ws.MouseLeaveTrack == target && inClient != ws.MouseLeaveNonClient) return;
  HWND h = ws.MouseLeaveTrack;
  bool nc = ws.MouseLeaveNonClient;
  ws.MouseLeaveTrack = nullptr;
  PostMessage(h, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

void ActivateWindow(HWND hwnd, WORD how);

void ConvertMouse(const TRawInput& ev) {
  auto& ws = WS();
  ws.Cursor = ev.Pt;
  if (ev.Kind == TRawInput::TKind::Button) {
    int vk = ev.Button == TMouseButton::Left ? VK_LBUTTON : ev.Button == TMouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
    SetKey(vk, ev.Down);
  }
  if (ev.Kind == TRawInput::TKind::Wheel) {
    HWND target = ws.Focus ? ws.Focus : ws.Active;
    if (target) Queue(target, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeys()), ev.Delta), PointToLParam(ev.Pt), ev);
    return;
  }
  ws.PointerAway = ev.Kind == TRawInput::TKind::Leave;
  if (ws.PointerAway && !ws.Capture) {
    CheckMouseLeave(nullptr, false);
    ws.LastMouseWindow = nullptr;
    return;
  }
  HWND target = nullptr;
  int hit = HTCLIENT;
  if (ws.Capture) {
    target = ws.Capture;
  } else {
    TWindowRecord* w = HitTestWindow(ev.Pt, hit);
    target = w ? w->Handle : nullptr;
  }
  CheckMouseLeave(target, hit == HTCLIENT);
  ws.LastMouseWindow = target;
  if (!target) {
    SetCursor(LoadCursor(IDC_ARROW));
    return;
  }
  if (hit == HTERROR || hit == HTNOWHERE) return;
  bool client = hit == HTCLIENT;
  bool move = ev.Kind == TRawInput::TKind::Move || ev.Kind == TRawInput::TKind::Leave;
  UINT msg = move ? (client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE)
                                               : ButtonMessage(ev.Button, ev.Down, client);
  if (ev.Kind == TRawInput::TKind::Button && ev.Down && !ws.Capture) {
    TWindowRecord* top = TopLevelOf(ws.Find(target));
    if (top && top->Handle != ws.Active) {
      LRESULT r = SendMessage(target, WM_MOUSEACTIVATE, WPARAM(top->Handle), MAKELPARAM(hit, int(msg)));
      if ((r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT) && IsWindow(top->Handle)) ActivateWindow(top->Handle, WA_CLICKACTIVE);
      if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT) return;
      if (!IsWindow(target)) return;
    }
  }
  if (!ws.Capture) {
    SendMessage(target, WM_SETCURSOR, WPARAM(target), MAKELPARAM(hit, int(msg)));
    if (!IsWindow(target)) return;
  }
  if (ev.Kind == TRawInput::TKind::Button && ev.Down) {
    bool allowDouble = !client || (GetClassStyle(target) & CS_DBLCLKS);
    auto& last = ws.LastClick;
    TSize box = GetDoubleClickSize();
    if (allowDouble && last.Valid && last.Window == target && last.Message == msg &&
        ev.Time - last.Time <= GetDoubleClickTime() && std::abs(ev.Pt.X - last.Pt.X) <= box.cx / 2 &&
        std::abs(ev.Pt.Y - last.Pt.Y) <= box.cy / 2) {
      msg += 2;  // WM_xBUTTONDBLCLK follows WM_xBUTTONDOWN by two in every family
      last.Valid = false;
    } else {
      last = {target, msg, ev.Time, ev.Pt, allowDouble};
    }
  }
  if (client) {
    TPoint p = ev.Pt;
    ScreenToClient(target, p);
    Queue(target, msg, MouseKeys(), PointToLParam(p), ev);
  } else {
    Queue(target, msg, WPARAM(hit), PointToLParam(ev.Pt), ev);
  }
}

void ConvertKey(const TRawInput& ev) {
  auto& ws = WS();
  int vk = ev.Vk & 0xFF;
  bool wasDown = Down(vk);
  SetKey(vk, ev.Down);
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) SetKey(VK_SHIFT, ev.Down);
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) SetKey(VK_CONTROL, ev.Down);
  if (vk == VK_LMENU || vk == VK_RMENU) SetKey(VK_MENU, ev.Down);
  if (ev.Down) ws.KeyChar[size_t(vk)] = ev.Char;
  bool alt = Down(VK_MENU) || (vk == VK_MENU && !ev.Down);
  bool ctrl = Down(VK_CONTROL);
  HWND target = ws.Focus ? ws.Focus : ws.Active;
  if (!target) return;
  bool sys = (alt && !ctrl) || !ws.Focus || vk == VK_F10;
  UINT msg = ev.Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM l = 1 | (LPARAM(vk & 0xFF) << 16);
  if (alt && !ctrl) l |= LPARAM(1) << 29;
  if (wasDown || !ev.Down) l |= LPARAM(1) << 30;
  if (!ev.Down) l |= LPARAM(1) << 31;
  Queue(target, msg, WPARAM(vk), LPARAM(std::int32_t(l)), ev);
}

// Whether a top-level window already stands in front of every window it could be raised over.
bool IsFrontOfItsGroup(const TWindowRecord& w) {
  bool topmost = (w.ExStyle & WS_EX_TOPMOST) != 0;
  for (auto* s : w.Parent->Children) {
    if (s == &w) return true;
    if (!s->Visible() || s->Owner == w.Handle) continue;
    if (!topmost && (s->ExStyle & WS_EX_TOPMOST)) continue;
    return false;
  }
  return true;
}

void ActivateWindow(HWND hwnd, WORD how) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  if (w && !w->IsTopLevel()) w = TopLevelOf(w);
  if (hwnd && (!w || w->Destroying)) return;
  hwnd = w ? w->Handle : nullptr;
  HWND old = ws.Active;
  if (old == hwnd) return;
  ws.Active = hwnd;
  if (hwnd) ws.Foreground = hwnd;
  if (IsWindow(old)) {
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), LPARAM(hwnd));
  }
  if (ws.Active != hwnd) return;  // a handler activated another window meanwhile
  if (hwnd && IsWindow(hwnd)) {
    if (!IsFrontOfItsGroup(*w)) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendMessage(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), LPARAM(old));
  }
  // The focus never stays in a window that is no longer active.
  if (TWindowRecord* f = ws.Find(ws.Focus); f && TopLevelOf(f) != ws.Find(ws.Active)) {
    HWND lost = ws.Focus;
    ws.Focus = nullptr;
    SendMessage(lost, WM_KILLFOCUS, 0, 0);
  }
  if (ws.Backend) ws.Backend->ActiveChanged(ws.Active);
}

}  // namespace

bool ConvertRawInput() {
  auto& ws = WS();
  if (ws.RawInput.empty()) return false;
  TRawInput ev = ws.RawInput.front();
  ws.RawInput.pop_front();
  if (ev.Kind == TRawInput::TKind::Key) {
    ConvertKey(ev);
  } else if (ev.Kind == TRawInput::TKind::Char) {
    if (HWND target = ws.Focus ? ws.Focus : ws.Active) Queue(target, WM_CHAR, WPARAM(ev.Char), 1, ev);
  } else {
    ConvertMouse(ev);
  }
  return true;
}

HWND SetCapture(HWND hwnd) {
  auto& ws = WS();
  HWND prev = ws.Capture;
  if (hwnd && !IsWindow(hwnd)) return prev;
  if (prev == hwnd) return prev;
  ws.Capture = hwnd;
  if (prev) SendMessage(prev, WM_CAPTURECHANGED, 0, LPARAM(hwnd));
  // A capture the display cannot back would leave a menu waiting for clicks that go to other
  // programs: the window loses it at once, as if something else had taken it, and its loop ends.
  if (ws.Backend && ws.Capture == hwnd && !ws.Backend->CaptureChanged(hwnd) && ws.Capture == hwnd) {
    ws.Capture = nullptr;
    ws.Backend->CaptureChanged(nullptr);
    if (hwnd) SendMessage(hwnd, WM_CAPTURECHANGED, 0, 0);
  }
  return prev;
}

bool ReleaseCapture() {
  auto& ws = WS();
  HWND prev = ws.Capture;
  ws.Capture = nullptr;
  if (prev) {
    SendMessage(prev, WM_CAPTURECHANGED, 0, 0);
    if (ws.Backend) ws.Backend->CaptureChanged(nullptr);
  }
  return true;
}

HWND GetCapture() { return WS().Capture; }

HWND SetFocus(HWND hwnd) {
  auto& ws = WS();
  HWND old = ws.Focus;
  if (hwnd) {
    TWindowRecord* w = ws.Find(hwnd);
    if (!w || !w->Parent || w->Destroying) return nullptr;
    if (hwnd == old) return old;
    TWindowRecord* top = TopLevelOf(w);
    if (top->Handle != ws.Active) {
      ActivateWindow(top->Handle, WA_ACTIVE);
      if (!IsWindow(hwnd) || ws.Active != top->Handle) return old;
      old = ws.Focus;
      if (old == hwnd) return old;
    }
  }
  ws.Focus = hwnd;
  if (IsWindow(old)) SendMessage(old, WM_KILLFOCUS, WPARAM(hwnd), 0);
  if (hwnd && ws.Focus == hwnd) SendMessage(hwnd, WM_SETFOCUS, WPARAM(old), 0);
  return old;
}

HWND GetFocus() { return WS().Focus; }

HWND SetActiveWindow(HWND hwnd) {
  HWND old = WS().Active;
  ActivateWindow(hwnd, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return WS().Active; }

bool SetForegroundWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return false;
  ActivateWindow(hwnd, WA_ACTIVE);
  return true;
}

HWND GetForegroundWindow() { return WS().Foreground; }

short GetKeyState(int vk) {
  BYTE s = WS().KeyState[size_t(vk & 0xFF)];
  return short(((s & 0x80) ? 0x8000 : 0) | (s & 0x01));
}

short GetAsyncKeyState(int vk) { return WS().AsyncDown[size_t(vk & 0xFF)] ? short(0x8000) : short(0); }

bool GetCursorPos(TPoint& pt) {
  pt = WS().Cursor;
  return true;
}

TPoint CursorPos() { return WS().Cursor; }

bool SetCursorPos(int x, int y) {
  InjectMouseMove({x, y});
  return true;
}

HCURSOR LoadCursor(std::uintptr_t id) { return reinterpret_cast<HCURSOR>(id); }

std::uintptr_t CursorId(HCURSOR cursor) {
  return cursor ? reinterpret_cast<std::uintptr_t>(cursor) : std::uintptr_t(IDC_ARROW);
}

HCURSOR SetCursor(HCURSOR cursor) {
  auto& ws = WS();
  HCURSOR old = ws.CurrentCursor;
  if (old != cursor) {
    ws.CurrentCursor = cursor;
    if (ws.Backend) ws.Backend->CursorChanged(cursor);
  }
  return old;
}

HCURSOR GetCursor() { return WS().CurrentCursor; }

bool TrackMouseEvent(TRACKMOUSEEVENT& tme) {
  auto& ws = WS();
  if (tme.dwFlags & TME_CANCEL) {
    if (ws.MouseLeaveTrack == tme.hwndTrack) ws.MouseLeaveTrack = nullptr;
    return true;
  }
  if (!(tme.dwFlags & TME_LEAVE) || !IsWindow(tme.hwndTrack)) return false;
  ws.MouseLeaveTrack = tme.hwndTrack;
  ws.MouseLeaveNonClient = (tme.dwFlags & TME_NONCLIENT) != 0;
  if (ws.LastMouseWindow != tme.hwndTrack) CheckMouseLeave(nullptr, false);
  return true;
}

namespace {

void PushRaw(TRawInput ev) {
  ev.Time = GetTickCount();
  WS().RawInput.push_back(ev);
}

}  // namespace

void InjectMouseMove(TPoint screenPt) {
  TRawInput ev;
  ev.Kind = TRawInput::TKind::Move;
  ev.Pt = screenPt;
  PushRaw(ev);
}

void InjectMouseLeave(TPoint screenPt) {
  TRawInput ev;
  ev.Kind = TRawInput::TKind::Leave;
  ev.Pt = screenPt;
  PushRaw(ev);
}

void InjectMouseButton(TMouseButton button, bool down, TPoint screenPt) {
  WS().AsyncDown[size_t(button == TMouseButton::Left ? VK_LBUTTON : button == TMouseButton::Right ? VK_RBUTTON : VK_MBUTTON)] = down;
  TRawInput ev;
  ev.Kind = TRawInput::TKind::Button;
  ev.Button = button;
  ev.Down = down;
  ev.Pt = screenPt;
  PushRaw(ev);
}

void InjectMouseWheel(int delta, TPoint screenPt) {
  TRawInput ev;
  ev.Kind = TRawInput::TKind::Wheel;
  ev.Delta = delta;
  ev.Pt = screenPt;
  PushRaw(ev);
}

void InjectKey(int vk, bool down, char32_t ch) {
  auto& async = WS().AsyncDown;
  async[size_t(vk & 0xFF)] = down;
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) async[VK_SHIFT] = down;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) async[VK_CONTROL] = down;
  if (vk == VK_LMENU || vk == VK_RMENU) async[VK_MENU] = down;
  TRawInput ev;
  ev.Kind = TRawInput::TKind::Key;
  ev.Vk = vk;
  ev.Down = down;
  ev.Char = ch;
  ev.Pt = WS().Cursor;
  PushRaw(ev);
}

void InjectChar(char32_t ch) {
  TRawInput ev;
  ev.Kind = TRawInput::TKind::Char;
  ev.Char = ch;
  ev.Pt = WS().Cursor;
  PushRaw(ev);
}

}  // namespace vandrel

namespace vandrel {

namespace {

// The character of a key on a US layout, for input that did not say which character it gives.
char32_t DerivedChar(int vk) {
  bool shift = (WS().KeyState[VK_SHIFT] & 0x80) != 0;
  bool ctrl = (WS().KeyState[VK_CONTROL] & 0x80) != 0;
  bool caps = (WS().KeyState[VK_CAPITAL] & 0x01) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return char32_t(vk - 'A' + 1);
    return (shift != caps) ? char32_t(vk) : char32_t(vk - 'A' + 'a');
  }
  if (vk >= '0' && vk <= '9') return shift ? char32_t(")!@#$%^&*("[vk - '0']) : char32_t(vk);
  switch (vk) {
    case VK_SPACE: return U' ';
    case VK_RETURN: return U'\r';
    case VK_BACK: return 8;
    case VK_TAB: return U'\t';
    case VK_ESCAPE: return 27;
    default: return 0;
  }
}

}  // namespace

bool TranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  int vk = int(msg.wParam & 0xFF);
  char32_t ch = WS().KeyChar[size_t(vk)];
  if (!ch) ch = DerivedChar(vk);
  if (!ch) return false;
  PostMessage(msg.hwnd, msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, WPARAM(ch), msg.lParam);
  return true;
}

}  // namespace vandrel
