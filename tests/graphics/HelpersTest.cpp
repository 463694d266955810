// The drawing helpers on small sections with exact pixels: rectangle placement, gradient bands,
// checker, bevel lines, frames, text shortening and measuring, and the nested capture counter.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "framework/Canvas.h"
#include "graphics/NestedCapture.h"
#include "graphics/PaintHelpers.h"
#include "graphics/RectHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace vandrel::test {
namespace {

// A white section behind a canvas.
class TPixels {
 public:
  TPixels(int w, int h) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    void* bits = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, HGDIOBJ(m_bitmap));
    GetBitmapSurface(m_bitmap)->Fill(PixelFromRGB(255, 255, 255));
    canvas.SetHandle(m_dc);
  }
  ~TPixels() {
    canvas.SetHandle(HDC());
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
  }
  COLORREF At(int x, int y) const { return ColorFromPixel(GetBitmapSurface(m_bitmap)->Pixel(x, y)); }
  // One letter per pixel: '.' white, 'T' red, 'B' blue, '?' anything else.
  std::string Row(int y, int x0, int x1) const {
    std::string s;
    for (int x = x0; x < x1; ++x) {
      COLORREF c = At(x, y);
      s += c == RGB(255, 255, 255) ? '.' : c == RGB(255, 0, 0) ? 'T' : c == RGB(0, 0, 255) ? 'B' : '?';
    }
    return s;
  }
  HDC dc() const { return m_dc; }
  TCanvas canvas;

 private:
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
  HDC m_dc;
};

constexpr TColor kRed = TColor(RGB(255, 0, 0));
constexpr TColor kBlue = TColor(RGB(0, 0, 255));

TEST(RectHelpersTest, CentringKeepsTheSizeAndTruncatesTowardZero) {
  struct Case { TRect r, bounds, vert, both; };
  const Case cases[] = {
      {{0, 0, 13, 13}, {0, 0, 76, 16}, {0, 1, 13, 14}, {31, 1, 44, 14}},
      {{0, 0, 16, 16}, {10, 10, 20, 20}, {10, 7, 26, 23}, {7, 7, 23, 23}},
      {{5, 5, 8, 8}, {0, 0, 4, 4}, {0, 0, 3, 3}, {0, 0, 3, 3}},
      {{0, 0, 16, 16}, {0, 0, 13, 13}, {0, -1, 16, 15}, {-1, -1, 15, 15}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RectCenterVert(c.r, c.bounds), c.vert);
    EXPECT_EQ(RectCenter(c.r, c.bounds), c.both);
  }
  EXPECT_TRUE(RectIsEmpty({0, 0, 0, 5}));
  EXPECT_TRUE(RectIsEmpty({5, 0, 4, 5}));
  EXPECT_FALSE(RectIsEmpty({0, 0, 1, 1}));
  EXPECT_EQ(RectGrow({2, 2, 4, 4}, 2), (TRect{0, 0, 6, 6}));
  EXPECT_EQ(MulDiv(1, 300, 255), 1);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);  // halves away from zero
  EXPECT_EQ(MulDiv(3, 1, 0), -1);
}

// The band edges of a horizontal gradient, read back from the pixels.
std::vector<int> BandStarts(const TPixels& p, int width) {
  std::vector<int> starts{0};
  for (int x = 1; x < width; ++x)
    if (p.At(x, 0) != p.At(x - 1, 0)) starts.push_back(x);
  return starts;
}

TEST(PaintHelpersTest, GradientBandsRunFromStartToOneBandShortOfEnd) {
  {
    TPixels p(100, 2);
    FillGradient(p.canvas, {0, 0, 100, 2}, TColor(RGB(0, 0, 0)), false, TColor(RGB(200, 100, 0)));
    EXPECT_EQ(BandStarts(p, 100).size(), 100u);  // one pixel per band
    EXPECT_EQ(p.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(p.At(1, 1), RGB(2, 1, 0));
    EXPECT_EQ(p.At(99, 0), RGB(198, 99, 0));  // 99/100 of the way
  }
  {
    TPixels p(300, 1);
    // 255 steps from 0 to 255 give one new grey per band.
    FillGradient(p.canvas, {0, 0, 300, 1}, TColor(RGB(0, 0, 0)), false, TColor(RGB(255, 255, 255)));
    std::set<COLORREF> greys;
    for (int x = 0; x < 300; ++x) greys.insert(p.At(x, 0));
    EXPECT_EQ(greys.size(), 255u);
    EXPECT_EQ(p.At(299, 0), RGB(254, 254, 254));
  }
  {
    // Vertical, inside a larger surface: nothing outside the rectangle changes.
    TPixels p(4, 8);
    FillGradient(p.canvas, {1, 2, 3, 6}, kRed, true, kBlue);
    EXPECT_EQ(p.Row(1, 0, 4), "....");
    EXPECT_EQ(p.Row(6, 0, 4), "....");
    EXPECT_EQ(p.Row(2, 0, 4), ".TT.");
    EXPECT_EQ(p.At(1, 5), RGB(64, 0, 191));  // 3/4: 63.75 and 191.25 rounded
    FillGradient(p.canvas, {2, 2, 2, 6}, kBlue, true, kBlue);  // empty: nothing
    EXPECT_EQ(p.Row(2, 0, 4), ".TT.");
  }
}

TEST(PaintHelpersTest, CheckerAlternatesFromTheOriginAndIgnoresNegativeEdges) {
  TPixels p(12, 3);
  FillChecker(p.canvas, {-4, -4, 10, 2}, kRed, kBlue);
  EXPECT_EQ(p.Row(0, 0, 12), "BTBTBTBTBT..");
  EXPECT_EQ(p.Row(1, 0, 12), "TBTBTBTBTB..");
  EXPECT_EQ(p.Row(2, 0, 12), "............");
  TPixels q(4, 4);
  FillChecker(q.canvas, {-5, 0, -1, 4}, kRed, kBlue);  // clamped to nothing
  EXPECT_EQ(q.Row(0, 0, 4), "....");
}

TEST(PaintHelpersTest, BevelLinesDrawOnTheGivenSidesAndShrinkOnlyThose) {
  TPixels p(6, 6);
  TRect r{0, 0, 6, 6};
  DrawBevelLines(p.canvas, r, TSeBevelSides{kbsLeft, kbsTop}, 2, kRed, kBlue);
  EXPECT_EQ(r, (TRect{2, 2, 6, 6}));
  EXPECT_EQ(p.Row(0, 0, 6), "TTTTTT");
  EXPECT_EQ(p.Row(1, 0, 6), "TTTTTT");
  EXPECT_EQ(p.Row(2, 0, 6), "TT....");
  EXPECT_EQ(p.Row(5, 0, 6), "TT....");

  TPixels q(5, 4);
  TRect all{0, 0, 5, 4};
  DrawBevelLines(q.canvas, all, kAllBevelSides, 1, kRed, kBlue);
  EXPECT_EQ(all, (TRect{1, 1, 4, 3}));
  EXPECT_EQ(q.Row(0, 0, 5), "TTTTB");
  EXPECT_EQ(q.Row(1, 0, 5), "T...B");
  EXPECT_EQ(q.Row(3, 0, 5), "BBBBB");
}

TEST(PaintHelpersTest, FramesAndFills) {
  TPixels p(5, 4);
  DrawFrame3D(p.canvas, {0, 0, 5, 4}, kRed, kBlue);
  EXPECT_EQ(p.Row(0, 0, 5), "TTTTB");
  EXPECT_EQ(p.Row(1, 0, 5), "T...B");
  EXPECT_EQ(p.Row(2, 0, 5), "T...B");
  EXPECT_EQ(p.Row(3, 0, 5), "BBBBB");  // the first colour stops above the bottom row

  TPixels q(5, 4);
  FillColorRect(q.canvas, 0, 0, 5, 4, kBlue);
  DrawFrameRect(q.canvas, 1, 1, 4, 4, kRed);
  EXPECT_EQ(q.Row(0, 0, 5), "BBBBB");
  EXPECT_EQ(q.Row(1, 0, 5), "BTTTB");
  EXPECT_EQ(q.Row(2, 0, 5), "BTBTB");  // outline only: the brush is cleared
  EXPECT_EQ(q.Row(3, 0, 5), "BTTTB");

  TPixels l(5, 1);
  l.canvas.MoveTo(0, 0);
  DrawLineTo(l.canvas, 3, 0, kRed);
  EXPECT_EQ(l.Row(0, 0, 5), "TTT..");  // end point excluded
}

class TextHelpersTest : public ::testing::Test {
 protected:
  TPixels p{200, 40};
};

TEST_F(TextHelpersTest, EllipsisKeepsWholeCharactersThatFitWithTheDots) {
  const std::string text = "自动启动 Autostart";
  const int full = WideTextWidth(p.canvas, text);
  const int dots = WideTextWidth(p.canvas, "...");
  HDC dc = p.dc();
  EXPECT_EQ(EllipsisText(dc, text, full), text);
  EXPECT_EQ(EllipsisText(dc, text, full + 50), text);
  EXPECT_EQ(EllipsisText(dc, text, 0), "...");
  EXPECT_EQ(EllipsisText(dc, text, dots), "...");
  const int first = WideTextWidth(p.canvas, "自...");
  EXPECT_EQ(EllipsisText(dc, text, first), "自...");
  EXPECT_EQ(EllipsisText(dc, text, first + 1).substr(0, 3), "自");
  // Every shortened result fits and is the longest that does.
  for (int w = dots; w < full; w += 3) {
    std::string s = EllipsisText(dc, text, w);
    EXPECT_LE(WideTextWidth(p.canvas, s), w) << w;
  }
  // Damaged text is shortened without reading past its end.
  EXPECT_EQ(EllipsisText(dc, std::string("ab\xE8", 3), 0), "...");
}

TEST_F(TextHelpersTest, WidthWithFlagsMeasuresDoubleByteTextInFull) {
  const std::string text = "万年历";
  const int plain = WideTextWidth(p.canvas, text);
  EXPECT_GT(plain, WideTextWidth(p.canvas, "万年"));
  EXPECT_EQ(WideTextWidth(p.canvas, text, DT_SINGLELINE), plain);
  EXPECT_EQ(WideTextWidth(p.canvas, "&A", DT_SINGLELINE), WideTextWidth(p.canvas, "A"));
  EXPECT_EQ(WideTextHeight(p.canvas, text), p.canvas.TextExtent(text).cy);
}

TEST_F(TextHelpersTest, DrawWideTextDrawsTransparentlyAndCalculates) {
  FillColorRect(p.canvas, {0, 0, 200, 40}, kBlue);
  p.canvas.Font()->SetColor(TColor(RGB(255, 255, 255)));
  TRect calc{0, 0, 0, 0};
  int h = DrawWideText(p.canvas, "刷新", calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_GT(h, 0);
  EXPECT_EQ(calc.Right, WideTextWidth(p.canvas, "刷新"));
  EXPECT_EQ(p.At(1, 1), RGB(0, 0, 255));  // calculating draws nothing
  TRect r{0, 0, 200, 40};
  DrawWideText(p.canvas, "刷新", r, DT_SINGLELINE);
  int white = 0, other = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      COLORREF c = p.At(x, y);
      if (c == RGB(255, 255, 255)) ++white;
      else if (c != RGB(0, 0, 255)) ++other;
    }
  EXPECT_GT(white, 0);
  EXPECT_EQ(p.At(150, 30), RGB(0, 0, 255));  // no opaque cell behind the text
}

TEST(NestedCaptureTest, OnlyTheOutermostPairTakesAndGivesBackTheMouse) {
  auto screen = THeadlessScreen::Create({320, 200});
  WNDCLASS cls;
  cls.lpszClassName = "nestedCaptureTest";
  RegisterClass(cls);
  HWND a = CreateWindowEx(0, "nestedCaptureTest", "a", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr);
  HWND b = CreateWindowEx(0, "nestedCaptureTest", "b", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr);
  CaptureMouseNested(a);
  CaptureMouseNested(b);  // nested: the first window keeps it
  EXPECT_EQ(GetCapture(), a);
  ReleaseMouseNested();
  EXPECT_EQ(GetCapture(), a);
  ReleaseMouseNested();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(MouseCaptureNesting(), 0);

  // Someone else took the capture meanwhile: the last release leaves theirs alone.
  CaptureMouseNested(a);
  SetCapture(b);
  ReleaseMouseNested();
  EXPECT_EQ(GetCapture(), b);
  ReleaseCapture();

  // An unmatched release leaves the count below zero, so the next capture does not take the mouse.
  ReleaseMouseNested();
  CaptureMouseNested(a);
  EXPECT_EQ(GetCapture(), nullptr);
  ReleaseMouseNested();  // back to 0
  DestroyWindow(a);
  DestroyWindow(b);
}

}  // namespace
}  // namespace vandrel::test
