// The virtual screen as tests use it: backend selection, composition by z-order, work area and
// screenshots.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/display/X11Display.h"
#include "platform/display/X11PixelFormat.h"
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

// Sets environment variables for a scope and puts back what was there.
class TScopedEnv {
 public:
  ~TScopedEnv() {
    for (auto& [name, value] : m_saved) value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }
  void Set(const char* name, const char* value) {
    if (!m_saved.count(name)) {
      const char* old = std::getenv(name);
      m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    value ? setenv(name, value, 1) : unsetenv(name);
  }

 private:
  std::map<std::string, std::optional<std::string>> m_saved;
};

TEST(DisplayTest, BackendChoiceFollowsTheEnvironment) {
  TScopedEnv env;
  env.Set("VANDREL_BACKEND", "headless");
  auto display = OpenDisplay();
  EXPECT_NE(dynamic_cast<THeadlessScreen*>(display.get()), nullptr);
  EXPECT_EQ(GetDisplayBackend(), display.get());
  display.reset();
  EXPECT_EQ(GetDisplayBackend(), nullptr);
  env.Set("VANDREL_BACKEND", "wayland");
  EXPECT_THROW(OpenDisplay(), EInvalidArgument);
  env.Set("VANDREL_BACKEND", "x11");
  env.Set("DISPLAY", ":9876");  // no server there
  EXPECT_THROW(OpenDisplay(), EOSError);
  env.Set("VANDREL_BACKEND", nullptr);
  env.Set("DISPLAY", nullptr);
  display = OpenDisplay();
  EXPECT_NE(dynamic_cast<THeadlessScreen*>(display.get()), nullptr);
  display.reset();
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
  auto path = std::filesystem::temp_directory_path() / ("vandrel-display-test-" + std::to_string(getpid()) + ".png");
  WritePng(*screen->Capture(), path.string());
  EXPECT_GT(std::filesystem::file_size(path), 0u);
  std::filesystem::remove(path);
  for (HWND h : {topmost, back, front}) DestroyWindow(h);
}

// The visuals the X11 display draws on and those it refuses.
TEST(X11PixelFormat, ConvertsTheSupportedVisualsAndRefusesTheRest) {
  struct Case {
    const char* name;
    int cls, depth, bpp;
    bool msb;
    std::uint32_t r, g, b;
    std::vector<unsigned char> orange;  // RGB(255, 128, 0) as the image stores it; empty: refused
  } cases[] = {
      {"24-bit in 32", 4, 24, 32, false, 0xFF0000, 0xFF00, 0xFF, {0x00, 0x80, 0xFF}},
      {"24-bit MSB first", 4, 24, 32, true, 0xFF0000, 0xFF00, 0xFF, {0x00, 0xFF, 0x80, 0x00}},
      {"32-bit with alpha", 4, 32, 32, false, 0xFF0000, 0xFF00, 0xFF, {0x00, 0x80, 0xFF, 0xFF}},
      {"16-bit 565", 4, 16, 16, false, 0xF800, 0x07E0, 0x1F, {0x00, 0xFC}},
      {"16-bit 565 MSB first", 4, 16, 16, true, 0xF800, 0x07E0, 0x1F, {0xFC, 0x00}},
      {"BGR 24-bit", 4, 24, 32, false, 0xFF, 0xFF00, 0xFF0000, {0xFF, 0x80, 0x00, 0x00}},
      {"8-bit palette", 3, 8, 8, false, 0, 0, 0, {}},
      {"15-bit", 4, 15, 16, false, 0x7C00, 0x3E0, 0x1F, {}},
      {"packed 24 bits per pixel", 4, 24, 24, false, 0xFF0000, 0xFF00, 0xFF, {}},
      {"DirectColor", 5, 24, 32, false, 0xFF0000, 0xFF00, 0xFF, {}},
  };
  for (const Case& c : cases) {
    std::string why;
    auto f = X11PixelFormatOf(c.cls, c.depth, c.bpp, c.msb, c.r, c.g, c.b, why);
    if (c.orange.empty()) {
      EXPECT_FALSE(f) << c.name;
      EXPECT_NE(why.find("TrueColor"), std::string::npos) << why;
      continue;
    }
    ASSERT_TRUE(f) << c.name << ": " << why;
    std::uint32_t src[3] = {0xFFFF8000u, 0x00FFFFFFu, 0};  // surfaces may carry alpha in the top byte
    std::vector<char> row(size_t(3 * c.bpp / 8));
    f->EncodeRow(src, 3, row.data());
    EXPECT_EQ(std::vector<unsigned char>(row.begin(), row.begin() + std::ptrdiff_t(c.orange.size())), c.orange) << c.name;
    // White and black round-trip exactly; orange as closely as the channels allow.
    EXPECT_EQ(f->ReadPixel(row.data(), 1), 0xFFFFFFu) << c.name;
    EXPECT_EQ(f->ReadPixel(row.data(), 2), 0u) << c.name;
    std::uint32_t back = f->ReadPixel(row.data(), 0);
    EXPECT_EQ(back >> 16, 0xFFu) << c.name;
    EXPECT_NEAR(int((back >> 8) & 0xFF), 128, 4) << c.name;
    EXPECT_EQ(back & 0xFF, 0u) << c.name;
  }
}

}  // namespace
}  // namespace vandrel
