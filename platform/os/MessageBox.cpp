#include "platform/os/MessageBox.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/core/Color.h"
#include "platform/core/Exception.h"
#include "platform/core/ScopeExit.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Settings.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

namespace vandrel {
namespace {

constexpr const char* kClassName = "VandrelMessageBox";
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

struct TButton {
  int id;
  const char* text;
  TRect rect;  // client coordinates
};

struct TBoxState {
  std::vector<TButton> buttons;
  TRect textRect;
  std::string text;
  int focus = 0;
  int pressed = -1;        // the button the mouse went down on, -1 for none
  bool pressedIn = false;  // and whether the mouse is still on it
  int escapeResult = 0;    // 0: Escape and the close button do nothing
  int result = 0;
  bool done = false;
};

std::vector<TButton> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK", {}}, {IDCANCEL, "Cancel", {}}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes", {}}, {IDNO, "&No", {}}, {IDCANCEL, "Cancel", {}}};
    case MB_YESNO: return {{IDYES, "&Yes", {}}, {IDNO, "&No", {}}};
    default: return {{IDOK, "OK", {}}};
  }
}

void Edge(HDC dc, const TRect& r, int topLeft, int bottomRight) {
  FillRect(dc, {r.Left, r.Top, r.Right - 1, r.Top + 1}, GetSysColorBrush(topLeft));
  FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, GetSysColorBrush(topLeft));
  FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, GetSysColorBrush(bottomRight));
  FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, GetSysColorBrush(bottomRight));
}

void PaintButton(HDC dc, const TButton& button, bool focused, bool isDefault, bool down) {
  TRect r = button.rect;
  FillRect(dc, r, GetSysColorBrush(COLOR_BTNFACE));
  if (isDefault) {
    Edge(dc, r, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
    r = InflateRect(r, -1, -1);
  }
  if (down) {
    Edge(dc, r, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
  } else {
    Edge(dc, r, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
    Edge(dc, InflateRect(r, -1, -1), COLOR_3DLIGHT, COLOR_BTNSHADOW);
  }
  TRect text = down ? OffsetRect(r, 1, 1) : r;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawText(dc, button.text, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (focused) DrawFocusRect(dc, InflateRect(r, -4, -4));
}

void Paint(HWND hwnd, const TBoxState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, ps);
  HFONT old = SelectObject(dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
  FillRect(dc, ClientRect(hwnd), GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  TRect text = state.textRect;
  DrawText(dc, state.text, &text, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  for (size_t i = 0; i < state.buttons.size(); ++i) {
    bool down = int(i) == state.pressed && state.pressedIn;
    PaintButton(dc, state.buttons[i], int(i) == state.focus, int(i) == state.focus, down);
  }
  SelectObject(dc, old);
  EndPaint(hwnd, ps);
}

int ButtonAt(const TBoxState& state, TPoint p) {
  for (size_t i = 0; i < state.buttons.size(); ++i)
    if (state.buttons[i].rect.Contains(p)) return int(i);
  return -1;
}

void Finish(TBoxState& state, int result) {
  state.result = result;
  state.done = true;
}

LRESULT BoxProc(const std::shared_ptr<TBoxState>& state, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TBoxState& s = *state;
  switch (msg) {
    case WM_PAINT:
      Paint(hwnd, s);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      int hit = ButtonAt(s, LParamToPoint(lParam));
      if (hit >= 0) {
        s.pressed = hit;
        s.pressedIn = true;
        s.focus = hit;
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, false);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (s.pressed >= 0) {
        bool in = ButtonAt(s, LParamToPoint(lParam)) == s.pressed;
        if (in != s.pressedIn) {
          s.pressedIn = in;
          InvalidateRect(hwnd, nullptr, false);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (s.pressed >= 0) {
        int pressed = s.pressed;
        bool in = ButtonAt(s, LParamToPoint(lParam)) == pressed;
        s.pressed = -1;
        ReleaseCapture();
        InvalidateRect(hwnd, nullptr, false);
        if (in) Finish(s, s.buttons[size_t(pressed)].id);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (s.pressed >= 0) {
        s.pressed = -1;
        InvalidateRect(hwnd, nullptr, false);
      }
      return 0;
    case WM_KEYDOWN: {
      int count = int(s.buttons.size());
      switch (int(wParam)) {
        case VK_RETURN:
        case VK_SPACE: Finish(s, s.buttons[size_t(s.focus)].id); break;
        case VK_ESCAPE:
          if (s.escapeResult != 0) Finish(s, s.escapeResult);
          break;
        case VK_TAB:
          s.focus = (s.focus + ((GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1)) % count;
          break;
        case VK_RIGHT:
        case VK_DOWN: s.focus = (s.focus + 1) % count; break;
        case VK_LEFT:
        case VK_UP: s.focus = (s.focus + count - 1) % count; break;
        default: return 0;
      }
      InvalidateRect(hwnd, nullptr, false);
      return 0;
    }
    case WM_CLOSE:
      if (s.escapeResult != 0) Finish(s, s.escapeResult);
      return 0;
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// Lays the box out for its text: the text as wide as it needs up to most of the work area, the
// buttons centred below it.
void Layout(HWND hwnd, TBoxState& state, const TRect& workArea) {
  HDC dc = GetDC(hwnd);
  HFONT old = SelectObject(dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
  TRect text{0, 0, std::max(workArea.Width() * 5 / 8 - 2 * kMargin, 100), 0};
  DrawText(dc, state.text, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);

  int count = int(state.buttons.size());
  int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
  int clientWidth = std::max(text.Width(), buttonsWidth) + 2 * kMargin;
  state.textRect = OffsetRect(text, kMargin, kMargin);
  int buttonTop = state.textRect.Bottom + kMargin;
  int left = (clientWidth - buttonsWidth) / 2;
  for (TButton& button : state.buttons) {
    button.rect = {left, buttonTop, left + kButtonWidth, buttonTop + kButtonHeight};
    left += kButtonWidth + kButtonGap;
  }
  int clientHeight = buttonTop + kButtonHeight + kMargin;

  TRect window = WindowRect(hwnd), client = ClientRect(hwnd);
  int width = clientWidth + window.Width() - client.Width();
  int height = clientHeight + window.Height() - client.Height();
  int x = workArea.Left + (workArea.Width() - width) / 2;
  int y = workArea.Top + (workArea.Height() - height) / 2;
  SetWindowPos(hwnd, nullptr, std::max(x, workArea.Left), std::max(y, workArea.Top), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  auto state = std::make_shared<TBoxState>();
  state->text = text;
  state->buttons = ButtonsFor(type);
  int count = int(state->buttons.size());
  state->focus = std::min(int((type & MB_DEFMASK) >> 8), count - 1);
  for (const TButton& button : state->buttons)
    if (button.id == IDCANCEL) state->escapeResult = IDCANCEL;
  if ((type & MB_TYPEMASK) == MB_OK) state->escapeResult = IDOK;

  WNDCLASS cls;
  cls.lpszClassName = kClassName;
  cls.lpfnWndProc = DefWindowProcObject();
  RegisterClass(cls);
  // A box below an always-on-top owner could not be seen, and the owner is disabled: stay above.
  HWND root = owner != nullptr && IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
  bool topmost = (type & MB_TOPMOST) || (root != nullptr && (GetWindowLong(root, GWL_EXSTYLE) & WS_EX_TOPMOST));
  DWORD exStyle = WS_EX_DLGMODALFRAME | (topmost ? DWORD(WS_EX_TOPMOST) : DWORD(0));
  HWND box = CreateWindowEx(exStyle, kClassName, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100,
                            owner);
  if (box == nullptr) return 0;
  SetWindowProc(box, MakeWindowProc([state](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return BoxProc(state, hwnd, msg, wParam, lParam);
  }));
  TRect workArea;
  if (!SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea)) workArea = WindowRect(GetDesktopWindow());
  Layout(box, *state, workArea);

  bool ownerWasEnabled = owner != nullptr && IsWindow(owner) && IsWindowEnabled(owner);
  // However the box ends (a handler may throw inside its loop), the owner is usable again.
  TScopeExit finish([&] {
    if (ownerWasEnabled && IsWindow(owner)) EnableWindow(owner, true);
    if (IsWindow(box)) DestroyWindow(box);
    if (ownerWasEnabled && IsWindow(owner)) SetActiveWindow(owner);
  });
  if (ownerWasEnabled) EnableWindow(owner, false);
  ShowWindow(box, SW_SHOW);
  SetActiveWindow(box);
  SetFocus(box);

  while (!state->done && IsWindow(box)) {
    MSG msg;
    bool got;
    try {
      got = GetMessage(msg, nullptr, 0, 0);
    } catch (const EInvalidOperation&) {
      break;  // nothing can ever answer the box
    }
    if (!got) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
  return state->done ? state->result : 0;
}

}  // namespace vandrel
