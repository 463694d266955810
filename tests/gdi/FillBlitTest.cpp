#include <gtest/gtest.h>

#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel {
namespace {

using test::TTestCanvas;

HBRUSH Black() { return HBRUSH(GetStockObject(BLACK_BRUSH)); }

TEST(Fill, FrameRectDrawsOnTheInnerEdgeAndEmptyRectsDrawNothing) {
  TTestCanvas c(6, 5);
  FrameRect(c.dc, {1, 1, 5, 4}, Black());
  FillRect(c.dc, {3, 3, 3, 9}, Black());
  FillRect(c.dc, {5, 4, 2, 2}, Black());
  FrameRect(c.dc, {4, 4, 4, 4}, Black());
  EXPECT_EQ(c.Picture({0, 0, 6, 5}),
            "......\n"
            ".####.\n"
            ".#..#.\n"
            ".####.\n"
            "......");
}

TEST(Fill, OutsideTheSurfaceIsClippedAway) {
  TTestCanvas c(3, 3);
  FillRect(c.dc, {-100000, -5, 1, 100000}, Black());
  FillRect(c.dc, {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, -1}, Black());
  SelectObject(c.dc, Black());
  PatBlt(c.dc, 5, 5, -3, -100, PATCOPY);  // (2, -95)-(5, 5)
  EXPECT_EQ(c.Picture({0, 0, 3, 3}), "#.#\n#.#\n#.#");
}

TEST(Fill, InvertingTwiceRestoresEveryPixel) {
  TTestCanvas c(5, 3, RGB(12, 34, 56));
  HBRUSH brush = CreateSolidBrush(RGB(200, 100, 7));
  SelectObject(c.dc, brush);
  const std::uint32_t before = c.Surface().Pixel(2, 1);
  PatBlt(c.dc, 0, 0, 5, 3, PATINVERT);
  EXPECT_EQ(c.At(2, 1), RGB(12 ^ 200, 34 ^ 100, 56 ^ 7));
  PatBlt(c.dc, 0, 0, 5, 3, PATINVERT);
  InvertRect(c.dc, {1, 1, 3, 2});
  EXPECT_EQ(c.At(1, 1), RGB(255 - 12, 255 - 34, 255 - 56));
  InvertRect(c.dc, {1, 1, 3, 2});
  SetROP2(c.dc, R2_XORPEN);
  SetBkMode(c.dc, TRANSPARENT);
  PatBlt(c.dc, 0, 0, 5, 3, DSTINVERT);
  PatBlt(c.dc, 0, 0, 5, 3, DSTINVERT);
  EXPECT_EQ(c.Surface().Pixel(2, 1), before);
  SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
  EXPECT_FALSE(PatBlt(c.dc, 0, 0, 1, 1, SRCCOPY));  // needs a source
}

TEST(Fill, PatternBrushFollowsTheBrushOriginInDeviceSpace) {
  // 2 x 2 monochrome pattern: black at (0, 0) only; black bits take the text colour.
  const std::uint8_t bits[] = {0x40, 0, 0xC0, 0};  // rows "01", "11" (set = white)
  HBITMAP mono = CreateBitmap(2, 2, 1, 1, bits);
  HBRUSH pattern = CreatePatternBrush(mono);
  DeleteObject(mono);  // the brush keeps its own copy
  TTestCanvas c(4, 3);
  SetTextColor(c.dc, RGB(0, 0, 0));
  SetBkColor(c.dc, RGB(255, 255, 255));
  FillRect(c.dc, {0, 0, 4, 1}, pattern);
  SetBrushOrgEx(c.dc, 1, 0, nullptr);
  FillRect(c.dc, {0, 1, 4, 2}, pattern);
  // The window origin moves the rectangle, not the pattern.
  SetBrushOrgEx(c.dc, 0, 0, nullptr);
  SetWindowOrgEx(c.dc, 1, 0, nullptr);
  FillRect(c.dc, {1, 2, 5, 3}, pattern);
  EXPECT_EQ(c.Picture({0, 0, 4, 3}),
            "#.#.\n"
            "....\n"
            "#.#.");
  SetWindowOrgEx(c.dc, 0, 0, nullptr);
  SetBrushOrgEx(c.dc, 1, 1, nullptr);
  FillRect(c.dc, {0, 1, 4, 3}, pattern);
  EXPECT_EQ(c.Picture({0, 1, 4, 3}), ".#.#\n....");
  DeleteObject(pattern);
}

TEST(Blit, CopyIsClippedToBothSurfacesAndHandlesOverlap) {
  TTestCanvas src(3, 2, RGB(0, 0, 0));
  SetPixel(src.dc, 1, 0, RGB(255, 255, 255));
  TTestCanvas dst(5, 3);
  // Source columns -1 and 3 do not exist: those destination pixels stay.
  BitBlt(dst.dc, 0, 0, 5, 3, src.dc, -1, 0, SRCCOPY);
  EXPECT_EQ(dst.Picture({0, 0, 5, 3}), ".#.#.\n.###.\n.....");
  // Scroll right by one inside the same surface.
  BitBlt(dst.dc, 1, 0, 4, 2, dst.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.Picture({0, 0, 5, 3}), "..#.#\n..###\n.....");
  // XOR twice restores.
  BitBlt(dst.dc, 0, 0, 3, 2, src.dc, 0, 0, SRCINVERT);
  BitBlt(dst.dc, 0, 0, 3, 2, src.dc, 0, 0, SRCINVERT);
  EXPECT_EQ(dst.Picture({0, 0, 5, 3}), "..#.#\n..###\n.....");
  EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 0, -4, src.dc, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 1, 1, HDC(), 0, 0, SRCCOPY));
}

TEST(Blit, StretchTakesTheSourcePixelUnderEachDestinationCentre) {
  // Source columns 0..3 hold distinct colours.
  TTestCanvas src(4, 1);
  const COLORREF colours[] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0)};
  for (int x = 0; x < 4; ++x) SetPixel(src.dc, x, 0, colours[x]);
  std::map<COLORREF, char> letters = {{colours[0], '0'}, {colours[1], '1'}, {colours[2], '2'},
                                      {colours[3], '3'}, {RGB(255, 255, 255), '.'}};
  struct {
    int dstWidth, srcX, srcWidth;
    const char* expected;
  } cases[] = {
      {7, 0, 4, "0012233"}, {2, 0, 4, "13"},  {8, 0, 4, "00112233"}, {3, 3, 1, "333"},
      {-4, 0, 4, "3210"},   {5, 1, 2, "11222"}, {1, 0, 4, "2"},
  };
  for (const auto& k : cases) {
    TTestCanvas dst(8, 1);
    int x = k.dstWidth < 0 ? -k.dstWidth : 0;
    StretchBlt(dst.dc, x, 0, k.dstWidth, 1, src.dc, k.srcX, 0, k.srcWidth, 1, SRCCOPY);
    int w = k.dstWidth < 0 ? -k.dstWidth : k.dstWidth;
    EXPECT_EQ(dst.Picture({0, 0, w, 1}, letters), k.expected) << k.dstWidth << " " << k.srcWidth;
  }
}

TEST(Blit, TransparentBltLeavesKeyPixelsOut) {
  TTestCanvas src(3, 1, RGB(255, 0, 255));
  SetPixel(src.dc, 1, 0, RGB(0, 0, 0));
  TTestCanvas dst(6, 1);
  TransparentBlt(dst.dc, 0, 0, 6, 1, src.dc, 0, 0, 3, 1, RGB(255, 0, 255));
  EXPECT_EQ(dst.Picture({0, 0, 6, 1}), "..##..");
}

TEST(Blit, AlphaBlendWithPremultipliedSourceAndConstantAlpha) {
  TTestCanvas src(2, 1);
  src.Surface().Row(0)[0] = 0xFF0000FF;  // opaque blue
  src.Surface().Row(0)[1] = 0x80800000;  // half-transparent red, premultiplied
  TTestCanvas dst(2, 2);
  BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 2, 1, perPixel);
  EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.At(1, 0), RGB(255, 127, 127));
  BLENDFUNCTION constant{AC_SRC_OVER, 0, 51, 0};
  AlphaBlend(dst.dc, 0, 1, 1, 1, src.dc, 0, 0, 1, 1, constant);
  EXPECT_EQ(dst.At(0, 1), RGB(204, 204, 255));
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, 0, 1, src.dc, 0, 0, 1, 1, constant));
}

}  // namespace
}  // namespace vandrel
