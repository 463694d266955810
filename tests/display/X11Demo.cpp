// A small program of the window layer for runs under X: "shape" shows a shaped window and
// reports the clicks it gets; "frame" opens a captioned window with the classic frame that can
// be moved, minimised and closed. Each prints what happens, one line per event, for the script,
// and says at "ready" whether the window's pixels go through shared memory.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/Exception.h"
#include "platform/display/X11Display.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/RegionApi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

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

LRESULT ShapeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: FillClient(h, RGB(255, 0, 0), nullptr); return 0;
    case WM_LBUTTONDOWN: Say("click " + std::to_string(GET_X_LPARAM(l)) + " " + std::to_string(GET_Y_LPARAM(l))); return 0;
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
      return DefWindowProc(h, m, w, l);
    case WM_DESTROY: Say("closed"); PostQuitMessage(0); return 0;
    default: return DefWindowProc(h, m, w, l);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "frame";
  try {
    auto display = OpenDisplay();
    WNDCLASS cls;
    cls.lpszClassName = "demo";
    cls.hbrBackground = clBtnFace;
    cls.lpfnWndProc = MakeWindowProc(mode == "frame" ? &FrameProc : &ShapeProc);
    RegisterClass(cls);
    HWND w;
    if (mode == "topmost") {
      w = CreateWindowEx(WS_EX_TOPMOST, "demo", "topmost", WS_POPUP, 100, 100, 200, 200, nullptr);
    } else if (mode == "shape") {
      w = CreateWindowEx(0, "demo", "shape", WS_POPUP, 100, 100, 200, 200, nullptr);
      // An L: the top-right quarter is cut away.
      HRGN all = CreateRectRgn(0, 0, 200, 200), cut = CreateRectRgn(100, 0, 200, 100);
      CombineRgn(all, all, cut, RGN_DIFF);
      DeleteObject(cut);
      SetWindowRgn(w, all, false);
    } else {
      w = CreateWindowEx(0, "demo", "Vandrel frame demo", WS_OVERLAPPEDWINDOW, 80, 60, 320, 200, nullptr);
      // A 16 x 16 icon: blue with a white square, shown in the caption and given to X.
      std::uint32_t pixels[16 * 16];
      for (int i = 0; i < 16 * 16; ++i)
        pixels[i] = (i % 16 >= 4 && i % 16 < 12 && i / 16 >= 4 && i / 16 < 12) ? 0xFFFFFFFFu : 0xFF2050C0u;
      SetWindowIcon(w, CreateIconFromPixels(16, 16, pixels));
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
