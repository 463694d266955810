// A small program of the window layer for runs under X: "shape" shows a shaped window, reports
// the clicks and keys it gets, and on "r" and "w" what it reads of the screen and its work area;
// "frame" opens a captioned window with the classic frame that can be moved, minimised, restored
// and closed; "configure" moves itself in bursts; "menu" opens a menu over a stay-on-top window
// on a click (on "g" with the pointer held elsewhere); "xerror" makes requests the server refuses.
// "tray" puts an icon in the notification area, "trayhost" is a minimal tray. Each prints what
// happens, one line per event, for the script, and says at "ready" whether the window's pixels go
// through shared memory.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/Exception.h"
#include "platform/display/X11Display.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/RegionApi.h"
#include "platform/services/NotifyIcon.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Settings.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

// Xlib last: its macros must not reach the headers above.
#include <X11/Xlib.h>

using namespace vandrel;

namespace {

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

void FillClient(HWND h, COLORREF color, const char* text) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, ps);
  HBRUSH b = CreateSolidBrush(color);
  TRect r = ClientRect(h);
  FillRect(dc, r, b);
  DeleteObject(b);
  if (text) {
    SetBkMode(dc, TRANSPARENT);
    DrawText(dc, text, &r, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
  }
  EndPaint(h, ps);
}

// A pixel of the screen as the program reads it ("R,G,B").
std::string ScreenPixel(TPoint p) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, p.X, p.Y);
  ReleaseDC(nullptr, dc);
  return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

LRESULT ShapeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: FillClient(h, RGB(255, 0, 0), nullptr); return 0;
    case WM_LBUTTONDOWN: Say("click " + std::to_string(GET_X_LPARAM(l)) + " " + std::to_string(GET_Y_LPARAM(l))); return 0;
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT tme;
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = h;
      TrackMouseEvent(tme);
      return 0;
    }
    case WM_MOUSELEAVE: Say(WindowFromPoint(CursorPos()) ? "leave ours" : "leave away"); return 0;
    case WM_KEYDOWN: {
      char line[32];
      std::snprintf(line, sizeof line, "key 0x%02X", unsigned(w));
      Say(line);
      return 0;
    }
    case WM_CHAR: {
      char line[32];
      std::snprintf(line, sizeof line, "char U+%04X", unsigned(w));
      Say(line);
      if (w == 'q') PostQuitMessage(0);
      if (w == 'r') Say("read " + ScreenPixel({150, 150}) + " " + ScreenPixel({250, 130}));
      if (w == 'w') {
        TRect area;
        SystemParametersInfo(SPI_GETWORKAREA, 0, &area);
        Say("work " + std::to_string(area.Left) + " " + std::to_string(area.Top) + " " + std::to_string(area.Right) +
            " " + std::to_string(area.Bottom));
      }
      return 0;
    }
    default: return DefWindowProc(h, m, w, l);
  }
}

LRESULT FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: FillClient(h, RGB(255, 255, 255), "Drag the caption, minimise, close (Alt+F4)"); return 0;
    case WM_EXITSIZEMOVE: {
      TRect r = WindowRect(h);
      Say("moved " + std::to_string(r.Left) + " " + std::to_string(r.Top));
      return 0;
    }
    case WM_SIZE:
      if (w == SIZE_MINIMIZED) Say("minimized");
      if (w == SIZE_RESTORED && GetWindowLongPtr(h, GWLP_USERDATA)) Say("restored");
      SetWindowLongPtr(h, GWLP_USERDATA, w == SIZE_MINIMIZED);
      return DefWindowProc(h, m, w, l);
    case WM_DESTROY: Say("closed"); PostQuitMessage(0); return 0;
    default: return DefWindowProc(h, m, w, l);
  }
}

// Moves itself four times in a row on "m": the window must go straight to the last place.
LRESULT ConfigureProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: FillClient(h, RGB(0, 0, 255), nullptr); return 0;
    case WM_MOVE: {
      TRect r = WindowRect(h);
      Say("at " + std::to_string(r.Left) + " " + std::to_string(r.Top));
      return 0;
    }
    case WM_CHAR:
      if (w == 'm') {
        Say("burst");
        for (int x = 120; x <= 180; x += 20) SetWindowPos(h, nullptr, x, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      }
      if (w == 'q') PostQuitMessage(0);
      return 0;
    default: return DefWindowProc(h, m, w, l);
  }
}

// A menu in the way the skin layer's menus work: a topmost tool window that is never activated,
// holding the capture, closed by Escape or a click outside it. On "g" another connection holds
// the pointer first, so the menu cannot get it.
void RunMenu(HWND owner, bool othersHoldThePointer) {
  Display* other = othersHoldThePointer ? XOpenDisplay(nullptr) : nullptr;
  if (other) {
    XGrabPointer(other, DefaultRootWindow(other), False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime);
    XSync(other, False);
  }
  HWND menu = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "demo", "menu", WS_CLIPSIBLINGS,
                             400, 200, 150, 100, owner);
  SetWindowLongPtr(menu, GWLP_USERDATA, 1);
  ShowWindow(menu, SW_SHOWNA);
  UpdateWindow(menu);
  SetCapture(menu);
  if (other) XCloseDisplay(other);
  if (GetCapture() != menu) {
    Say("menu refused");
    DestroyWindow(menu);
    return;
  }
  Say("menu open");
  MSG msg;
  while (GetCapture() == menu && GetMessage(msg, nullptr, 0, 0)) {
    if (msg.message == WM_KEYDOWN) {
      if (msg.wParam == VK_DOWN) Say("menu down");
      if (msg.wParam == VK_ESCAPE) break;
      continue;
    }
    if (msg.message == WM_LBUTTONDOWN && msg.hwnd == menu &&
        !ClientRect(menu).Contains(LParamToPoint(msg.lParam))) {
      Say("menu outside");
      break;
    }
    DispatchMessage(msg);
  }
  ReleaseCapture();
  DestroyWindow(menu);
  Say("menu closed");
}

LRESULT MenuProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: FillClient(h, GetWindowLongPtr(h, GWLP_USERDATA) ? RGB(255, 255, 0) : RGB(0, 255, 0), nullptr); return 0;
    case WM_LBUTTONDOWN: RunMenu(h, false); return 0;
    case WM_CHAR:
      if (w == 'g') RunMenu(h, true);
      if (w == 'q') PostQuitMessage(0);
      return 0;
    default: return DefWindowProc(h, m, w, l);
  }
}

// A window with a notification-area icon: "t" adds it; a double click on it removes it.
constexpr UINT kTrayMessage = WM_APP + 1;

LRESULT TrayProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  NOTIFYICONDATA icon;
  icon.hWnd = h;
  icon.uID = 1;
  switch (m) {
    case WM_PAINT: FillClient(h, RGB(0, 128, 0), nullptr); return 0;
    case WM_CHAR:
      if (w == 't') {
        icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        icon.uCallbackMessage = kTrayMessage;
        icon.hIcon = GetWindowIcon(h);
        icon.szTip = "信息提示";
        Say(Shell_NotifyIcon(NIM_ADD, icon) ? "tray added" : "tray refused");
      }
      if (w == 'q') PostQuitMessage(0);
      return 0;
    case kTrayMessage:
      if (l == WM_LBUTTONDBLCLK) {
        Say("tray dblclick");
        Shell_NotifyIcon(NIM_DELETE, icon);
      }
      if (l == NIN_ICONLOST) Say("tray lost");
      return 0;
    default: return DefWindowProc(h, m, w, l);
  }
}

// The smallest system tray, in plain Xlib: it takes the tray selection, says so, and embeds what
// asks to dock, keeping it in its save-set. Killed, it leaves the icons mapped on the root window
// (as the server returns save-set windows), which is what a tray dying does.
int RunTrayHost() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 2;
  ::Window root = DefaultRootWindow(d);
  ::Window host = XCreateSimpleWindow(d, root, 500, 440, 120, 30, 0, 0, 0x808080);
  XSelectInput(d, host, StructureNotifyMask);
  XMapWindow(d, host);
  Atom selection = XInternAtom(d, ("_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(d))).c_str(), False);
  Atom opcode = XInternAtom(d, "_NET_SYSTEM_TRAY_OPCODE", False);
  XSetSelectionOwner(d, selection, host, CurrentTime);
  XEvent m{};
  m.xclient.type = ClientMessage;
  m.xclient.window = root;
  m.xclient.message_type = XInternAtom(d, "MANAGER", False);
  m.xclient.format = 32;
  m.xclient.data.l[0] = CurrentTime;
  m.xclient.data.l[1] = long(selection);
  m.xclient.data.l[2] = long(host);
  XSendEvent(d, root, False, StructureNotifyMask, &m);
  XFlush(d);
  Say("tray host ready");
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != ClientMessage || e.xclient.message_type != opcode || e.xclient.data.l[1] != 0) continue;
    auto icon = ::Window(e.xclient.data.l[2]);
    XAddToSaveSet(d, icon);
    XReparentWindow(d, icon, host, 4, 4);
    XMapWindow(d, icon);
    XFlush(d);
    Say("docked");
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "frame";
  if (mode == "trayhost") return RunTrayHost();
  try {
    auto display = OpenDisplay();
    WNDCLASS cls;
    cls.lpszClassName = "demo";
    cls.hbrBackground = clBtnFace;
    cls.lpfnWndProc = MakeWindowProc(mode == "frame"       ? &FrameProc
                                     : mode == "configure" ? &ConfigureProc
                                     : mode == "menu"      ? &MenuProc
                                     : mode == "tray"      ? &TrayProc
                                                           : &ShapeProc);
    RegisterClass(cls);
    HWND w;
    if (mode == "topmost") {
      w = CreateWindowEx(WS_EX_TOPMOST, "demo", "topmost", WS_POPUP, 100, 100, 200, 200, nullptr);
    } else if (mode == "menu") {
      w = CreateWindowEx(WS_EX_TOPMOST, "demo", "menu owner", WS_POPUP, 350, 100, 200, 150, nullptr);
    } else if (mode == "configure") {
      w = CreateWindowEx(0, "demo", "configure", WS_POPUP, 100, 100, 200, 150, nullptr);
    } else if (mode == "shape") {
      w = CreateWindowEx(0, "demo", "shape", WS_POPUP, 100, 100, 200, 200, nullptr);
      // An L: the top-right quarter is cut away.
      HRGN all = CreateRectRgn(0, 0, 200, 200), cut = CreateRectRgn(100, 0, 200, 100);
      CombineRgn(all, all, cut, RGN_DIFF);
      DeleteObject(cut);
      SetWindowRgn(w, all, false);
    } else if (mode == "tray") {
      w = CreateWindowEx(0, "demo", "tray", WS_POPUP, 100, 100, 100, 100, nullptr);
    } else {
      w = CreateWindowEx(0, "demo", "Vandrel frame demo", WS_OVERLAPPEDWINDOW, 80, 60, 320, 200, nullptr);
    }
    // A 16 x 16 icon: blue with a white square, shown in the caption, given to X and to the tray.
    std::uint32_t pixels[16 * 16];
    for (int i = 0; i < 16 * 16; ++i)
      pixels[i] = (i % 16 >= 4 && i % 16 < 12 && i / 16 >= 4 && i / 16 < 12) ? 0xFFFFFFFFu : 0xFF2050C0u;
    SetWindowIcon(w, CreateIconFromPixels(16, 16, pixels));
    if (mode == "xerror") {
      // Requests the server refuses, twice of each kind, on a connection of the program's own.
      Display* other = XOpenDisplay(nullptr);
      for (int i = 0; i < 2; ++i) {
        XMapWindow(other, 0x1fffffe);
        XDestroyWindow(other, 0x1fffffe);
        XSync(other, False);
      }
      XCloseDisplay(other);
      Say("xerror done");
      return 0;
    }
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    ProcessPendingMessages();
    auto* x11 = dynamic_cast<TX11Display*>(display.get());
    Say(std::string("ready ") + (x11 && x11->UsesSharedMemory() ? "shm" : "plain"));
    MSG msg;
    while (GetMessage(msg, nullptr, 0, 0)) {
      TranslateMessage(msg);
      DispatchMessage(msg);
    }
    return int(msg.wParam);
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
}
