#include <gtest/gtest.h>

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"

using namespace vandrel;

TEST(Geometry, RectangleArithmeticWithExclusiveEdges) {
  const TRect r = Rect(0, 0, 2, 2);
  EXPECT_TRUE(PtInRect(r, {1, 1}));
  EXPECT_FALSE(PtInRect(r, {2, 1}));
  EXPECT_FALSE(PtInRect(r, {1, 2}));

  TRect out;
  EXPECT_TRUE(IntersectRect(out, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
  EXPECT_EQ(out, Rect(5, 5, 10, 10));
  out = Rect(1, 2, 3, 4);
  EXPECT_FALSE(IntersectRect(out, Rect(0, 0, 5, 5), Rect(5, 0, 9, 5)));  // touching edges only
  EXPECT_EQ(out, TRect{});

  EXPECT_TRUE(UnionRect(out, Rect(0, 0, 0, 0), Rect(3, 3, 4, 4)));  // empty input ignored
  EXPECT_EQ(out, Rect(3, 3, 4, 4));
  EXPECT_TRUE(UnionRect(out, Rect(0, 0, 1, 1), Rect(3, 3, 4, 4)));
  EXPECT_EQ(out, Rect(0, 0, 4, 4));
  EXPECT_FALSE(UnionRect(out, Rect(5, 5, 4, 4), TRect{}));

  EXPECT_TRUE(Rect(5, 0, 4, 10).IsEmpty());
  EXPECT_EQ(Bounds(10, 20, 30, 40), Rect(10, 20, 40, 60));
  EXPECT_EQ(OffsetRect(r, 3, -1), Rect(3, -1, 5, 1));
  EXPECT_EQ(InflateRect(r, 1, 2), Rect(-1, -2, 3, 4));
  EXPECT_EQ(NormalizeRect(Rect(4, 5, 1, 2)), Rect(1, 2, 4, 5));
  EXPECT_EQ(CenterPoint(Rect(0, 0, 11, 4)), Point(5, 2));
}

TEST(Color, SystemColoursResolveThroughTheClassicScheme) {
  EXPECT_EQ(uint32_t(clBtnFace), 0xFF00000Fu);
  EXPECT_EQ(uint32_t(clWindowText), 0xFF000008u);
  EXPECT_EQ(clNone, 0x1FFFFFFF);
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(212, 208, 200));
  EXPECT_EQ(ColorToRGB(clWindowText), RGB(0, 0, 0));
  EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(128, 128, 128));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(GetRValue(ColorToRGB(clRed)), 255);
  EXPECT_EQ(GetSysColor(99), 0u);
}

TEST(Color, IdentifiersMapBothWays) {
  EXPECT_EQ(ColorToIdent(clWhite), "clWhite");
  EXPECT_EQ(ColorToIdent(clSilver), "clSilver");
  EXPECT_EQ(ColorToIdent(clWindowText), "clWindowText");
  EXPECT_EQ(ColorToIdent(clNone), "clNone");
  EXPECT_FALSE(ColorToIdent(0x123456).has_value());
  EXPECT_EQ(IdentToColor("clGray"), clGray);
  EXPECT_EQ(IdentToColor("CLBTNFACE"), clBtnFace);
  EXPECT_FALSE(IdentToColor("clNoSuchColour").has_value());
}
