#include <gtest/gtest.h>

#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel {
namespace {

using test::TTestCanvas;

TEST(Lines, EndPointIsExcludedInEveryDirection) {
  struct {
    TPoint from, to;
    const char* picture;
  } cases[] = {
      {{0, 1}, {4, 1}, ".....\n####.\n....."},
      {{4, 1}, {0, 1}, ".....\n.####\n....."},
      {{2, 0}, {2, 3}, "..#..\n..#..\n..#.."},
      {{0, 0}, {3, 3}, "#....\n.#...\n..#.."},
      {{4, 2}, {0, 0}, ".#...\n..##.\n....#"},
      {{1, 1}, {1, 1}, ".....\n.....\n....."},
  };
  for (const auto& k : cases) {
    TTestCanvas c(5, 3);
    MoveToEx(c.dc, k.from.X, k.from.Y, nullptr);
    LineTo(c.dc, k.to.X, k.to.Y);
    EXPECT_EQ(c.Picture({0, 0, 5, 3}), k.picture) << k.from.X << "," << k.from.Y;
    TPoint pos;
    GetCurrentPositionEx(c.dc, &pos);
    EXPECT_EQ(pos, k.to);
  }
}

TEST(Lines, PolylineTouchesEachPixelOnceSoNotRopLeavesNoHoles) {
  TTestCanvas c(5, 4);
  SetROP2(c.dc, R2_NOT);
  const TPoint square[] = {{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}};
  Polyline(c.dc, square);
  EXPECT_EQ(c.Picture({0, 0, 5, 4}),
            "#####\n"
            "#...#\n"
            "#...#\n"
            "#####");
  Polyline(c.dc, square);
  EXPECT_EQ(c.Picture({0, 0, 5, 4}), ".....\n.....\n.....\n.....");
  EXPECT_FALSE(Polyline(c.dc, std::span<const TPoint>(square, 1)));
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  TTestCanvas c(6, 9);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  SelectObject(c.dc, red);
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(c.dc, 0, 0, 5, 4);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  Rectangle(c.dc, 0, 5, 5, 9);  // one pixel smaller without a pen
  std::map<COLORREF, char> l = {{RGB(255, 255, 255), '.'}, {0, '#'}, {RGB(255, 0, 0), 'r'}};
  EXPECT_EQ(c.Picture({0, 0, 6, 9}, l),
            "rrrrr.\n"
            "r###r.\n"
            "r###r.\n"
            "rrrrr.\n"
            "......\n"
            "####..\n"
            "####..\n"
            "####..\n"
            "......");
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  DeleteObject(red);
}

TEST(Shapes, WidePenOutlinesAreCentredOnTheEdgeUnlessInsideFrame) {
  for (int style : {PS_SOLID, PS_INSIDEFRAME}) {
    TTestCanvas c(10, 10);
    HPEN pen = CreatePen(style, 3, RGB(0, 0, 0));
    SelectObject(c.dc, pen);
    SelectObject(c.dc, GetStockObject(NULL_BRUSH));
    Rectangle(c.dc, 2, 2, 8, 8);
    const char* expected = style == PS_SOLID ? "..........\n"
                                               ".########.\n"
                                               ".########.\n"
                                               ".########.\n"
                                               ".###..###.\n"
                                               ".###..###.\n"
                                               ".########.\n"
                                               ".########.\n"
                                               ".########.\n"
                                               ".........."
                                             : "..........\n"
                                               "..........\n"
                                               "..######..\n"
                                               "..######..\n"
                                               "..######..\n"
                                               "..######..\n"
                                               "..######..\n"
                                               "..######..\n"
                                               "..........\n"
                                               "..........";
    EXPECT_EQ(c.Picture({0, 0, 10, 10}), expected) << style;
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
  }
}

TEST(Shapes, EllipseAndRoundRectAreSymmetricInsideTheirBox) {
  TTestCanvas c(9, 7);
  SelectObject(c.dc, GetStockObject(NULL_BRUSH));
  Ellipse(c.dc, 0, 0, 9, 7);
  EXPECT_EQ(c.Picture({0, 0, 9, 7}),
            "..#####..\n"
            ".#.....#.\n"
            "#.......#\n"
            "#.......#\n"
            "#.......#\n"
            ".#.....#.\n"
            "..#####..");
  TTestCanvas r(8, 6);
  SelectObject(r.dc, GetStockObject(BLACK_BRUSH));
  RoundRect(r.dc, 0, 0, 8, 6, 4, 4);
  EXPECT_EQ(r.Picture({0, 0, 8, 6}),
            ".######.\n"
            "########\n"
            "########\n"
            "########\n"
            "########\n"
            ".######.");
}

TEST(Shapes, PolygonFillsByPixelCentres) {
  TTestCanvas c(6, 5);
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  const TPoint triangle[] = {{0, 0}, {6, 0}, {0, 6}};
  Polygon(c.dc, triangle);
  EXPECT_EQ(c.Picture({0, 0, 6, 5}),
            "#####.\n"  // pixel centres on the slanted edge stay outside
            "####..\n"
            "###...\n"
            "##....\n"
            "#.....");
}

TEST(Shapes, FocusRectIsDottedAndRemovesItself) {
  TTestCanvas c(6, 4);
  DrawFocusRect(c.dc, {0, 0, 6, 4});
  EXPECT_EQ(c.Picture({0, 0, 6, 4}),
            "#.#.#.\n"
            ".....#\n"
            "#.....\n"
            ".#.#.#");
  DrawFocusRect(c.dc, {0, 0, 6, 4});
  EXPECT_EQ(c.Picture({0, 0, 6, 4}), "......\n......\n......\n......");
}

TEST(Shapes, ExtremeCoordinatesAreClippedWithoutOverflowOrLongLoops) {
  TTestCanvas c(8, 8);
  HPEN wide = CreatePen(PS_SOLID, 1 << 30, RGB(0, 0, 0));
  for (HGDIOBJ pen : {GetStockObject(BLACK_PEN), HGDIOBJ(wide)}) {
    SelectObject(c.dc, pen);
    SetWindowOrgEx(c.dc, INT32_MIN, INT32_MAX, nullptr);
    OffsetWindowOrgEx(c.dc, INT32_MIN, INT32_MIN, nullptr);
    SetWindowOrgEx(c.dc, 0, 0, nullptr);
    MoveToEx(c.dc, INT32_MIN, INT32_MIN, nullptr);
    LineTo(c.dc, INT32_MAX, INT32_MAX);
    LineTo(c.dc, INT32_MIN, 3);
    Rectangle(c.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    Ellipse(c.dc, -1000000000, -1000000000, 1000000000, 1000000000);
    RoundRect(c.dc, INT32_MIN, 0, INT32_MAX, 5, INT32_MAX, INT32_MIN);
    DrawFocusRect(c.dc, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    const TPoint pts[] = {{INT32_MIN, 0}, {INT32_MAX, 1}, {0, INT32_MAX}};
    Polygon(c.dc, pts);
    BitBlt(c.dc, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, c.dc, INT32_MIN, 0, SRCCOPY);
    StretchBlt(c.dc, INT32_MIN, 0, INT32_MIN, 5, c.dc, 0, 0, INT32_MAX, 1, SRCCOPY);
    HRGN r = CreateRectRgn(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
    OffsetRgn(r, INT32_MAX, INT32_MAX);
    SelectClipRgn(c.dc, r);
    OffsetClipRgn(c.dc, INT32_MIN, 5);
    FillRgn(c.dc, r, HBRUSH(GetStockObject(BLACK_BRUSH)));
    SelectClipRgn(c.dc, nullptr);
    DeleteObject(r);
    PatBlt(c.dc, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, PATINVERT);
    const std::uint32_t px[] = {0xFF000000};
    HICON icon = CreateIconFromPixels(1, 1, px);
    DrawIconEx(c.dc, INT32_MAX, INT32_MAX, icon, 1 << 28, 1 << 28, 0, HBRUSH(GetStockObject(WHITE_BRUSH)), DI_NORMAL);
    DrawIconEx(c.dc, INT32_MIN, INT32_MIN, icon, INT32_MAX, INT32_MAX, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    TextOut(c.dc, INT32_MAX, INT32_MIN, "信息 x");
    SetTextAlign(c.dc, TA_UPDATECP | TA_RIGHT | TA_BOTTOM);
    MoveToEx(c.dc, INT32_MIN, INT32_MAX, nullptr);
    TextOut(c.dc, 0, 0, "信息 x");
    SetTextAlign(c.dc, TA_LEFT);
    for (UINT f : {UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE), UINT(DT_WORDBREAK | DT_CALCRECT),
                   UINT(DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS)}) {
      TRect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
      DrawText(c.dc, "信息 abc def", &huge, f);
    }
  }
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));  // the first diagonal went through the canvas
  SelectObject(c.dc, GetStockObject(BLACK_PEN));
  DeleteObject(wide);
}

}  // namespace
}  // namespace vandrel
