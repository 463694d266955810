// Skin colours as pixels: the platform colour conversions and the hue shift on its 255-step
// circle, one colour at a time and over a bitmap.
#include <gtest/gtest.h>

#include "graphics/Bitmap.h"
#include "graphics/SeColor.h"

namespace vandrel::test {
namespace {

TEST(SeColorTest, PlatformColoursResolveAndDropAlpha) {
  EXPECT_EQ(SeColorFromColor(TColor(RGB(1, 2, 3))), 0xFF010203u);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(SeColorFromColor(clBtnFace),
            0xFF000000u | TseColor(GetRValue(face)) << 16 | TseColor(GetGValue(face)) << 8 | GetBValue(face));
  EXPECT_EQ(ColorFromSeColor(0x80102030), TColor(RGB(0x10, 0x20, 0x30)));
}

TEST(SeColorTest, HueShiftOnTheCircleOf255Steps) {
  struct Case { TseColor in; int delta; TseColor out; const char* why; };
  const Case cases[] = {
      {0xFFFF0000, 0, 0xFFFF0000, "no shift keeps pure red"},
      {0xFFFF0000, 85, 0xFF00FF00, "a third of the circle: green"},
      {0xFFFF0000, 170, 0xFF0000FF, "two thirds: blue"},
      {0xFFFF0000, -85, 0xFF0000FF, "below 0 wraps by 255"},
      // Blue is step 170; 170 + 100 = 270 wraps to 15 (by 256 it would be 14: green 84).
      {0xFF0000FF, 100, 0xFFFF5A00, "above 255 wraps by 255, not 256"},
      {0x80FF0000, 0, 0xFFFF0000, "a translucent pixel comes out opaque"},
      {0xFF808080, 60, 0xFF808080, "grey has no hue"},
      {0xFF804020, 255, 0xFF804020, "a whole turn is the same hue"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShiftHueColor(c.in, c.delta), c.out) << c.why;
}

TEST(SeColorTest, BitmapHueShiftLeavesClearPixelsAndTheAlphaFlag) {
  TseBitmap b;
  b.SetSize(4, 1);
  b.SetPixel(0, 0, 0xFFFF0000);
  b.SetPixel(1, 0, kTransparentKey);
  b.SetPixel(2, 0, 0x00FF0000);
  b.SetPixel(3, 0, 0x40FF0000);
  b.CheckAlpha();
  b.ShiftHue(85);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(b.Pixel(1, 0), kTransparentKey);
  EXPECT_EQ(b.Pixel(2, 0), 0x00FF0000u);
  EXPECT_EQ(b.Pixel(3, 0), 0xFF00FF00u);
  EXPECT_TRUE(b.HasAlpha());  // not recomputed
}

}  // namespace
}  // namespace vandrel::test
