// The virtual screen as tests use it: backend selection, composition by z-order, work area and
// screenshots.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/Exception.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/display/X11Display.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/PngWriter.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Settings.h"
#include "platform/win/Window.h"

namespace vandrel {
namespace {

HWND Solid(int x, int y, int w, int h, COLORREF color, DWORD ex = 0) {
  static const bool registered = [] {
    WNDCLASS cls;
    cls.lpszClassName = "solid";
    cls.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      if (m != WM_PAINT) return DefWindowProc(h, m, wp, lp);
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, ps);
      HBRUSH b = CreateSolidBrush(COLORREF(GetWindowLongPtr(h, GWLP_USERDATA)));
      FillRect(dc, ClientRect(h), b);
      DeleteObject(b);
      EndPaint(h, ps);
      return 0;
    });
    RegisterClass(cls);
    return true;
  }();
  (void)registered;
  HWND hwnd = CreateWindowEx(ex, "solid", "", WS_POPUP, x, y, w, h, nullptr);
  SetWindowLongPtr(hwnd, GWLP_USERDATA, LONG_PTR(color));
  ShowWindow(hwnd, SW_SHOWNA);
  return hwnd;
}

TEST(DisplayTest, BackendChoiceFollowsTheEnvironment) {
  setenv("VANDREL_BACKEND", "headless", 1);
  auto display = OpenDisplay();
  EXPECT_NE(dynamic_cast<THeadlessScreen*>(display.get()), nullptr);
  EXPECT_EQ(GetDisplayBackend(), display.get());
  display.reset();
  EXPECT_EQ(GetDisplayBackend(), nullptr);
  setenv("VANDREL_BACKEND", "wayland", 1);
  EXPECT_THROW(OpenDisplay(), EInvalidArgument);
  setenv("VANDREL_BACKEND", "x11", 1);
  setenv("DISPLAY", ":9876", 1);  // no server there
  EXPECT_THROW(OpenDisplay(), EOSError);
  unsetenv("VANDREL_BACKEND");
  unsetenv("DISPLAY");
  EXPECT_THROW(THeadlessScreen::Create({0, 10}), EInvalidArgument);
}

TEST(DisplayTest, ComposesByZOrderAndTakesScreenshots) {
  auto screen = THeadlessScreen::Create({320, 200}, TRect{0, 0, 320, 180});
  TRect work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work);
  EXPECT_EQ(work, (TRect{0, 0, 320, 180}));
  HWND topmost = Solid(0, 0, 40, 40, RGB(0, 0, 255), WS_EX_TOPMOST);
  HWND back = Solid(20, 20, 60, 60, RGB(255, 0, 0));
  HWND front = Solid(50, 50, 60, 60, RGB(0, 255, 0));
  ProcessPendingMessages();
  EXPECT_EQ(screen->ScreenPixel(30, 30), 0x0000FFu);  // topmost over a later window
  EXPECT_EQ(screen->ScreenPixel(60, 60), 0x00FF00u);
  EXPECT_EQ(screen->ScreenPixel(45, 25), 0xFF0000u);
  SetWindowPos(back, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(screen->ScreenPixel(60, 60), 0xFF0000u);
  ShowWindow(back, SW_MINIMIZE);
  EXPECT_EQ(screen->ScreenPixel(60, 60), 0x00FF00u);
  auto shot = screen->CaptureWindow(front);
  EXPECT_EQ(shot->Width(), 60);
  EXPECT_EQ(shot->Pixel(0, 0) & 0xFFFFFFu, 0x00FF00u);
  auto path = std::filesystem::temp_directory_path() / "vandrel-display-test.png";
  WritePng(*screen->Capture(), path.string());
  EXPECT_GT(std::filesystem::file_size(path), 0u);
  std::filesystem::remove(path);
  for (HWND h : {topmost, back, front}) DestroyWindow(h);
}

}  // namespace
}  // namespace vandrel
