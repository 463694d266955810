// Links to rectangles of skin images (validity, see-through analysis with and without margins)
// and the owning image list that resolves them by name.
#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/BitmapLink.h"

namespace vandrel::test {
namespace {

TEST(TseBitmapLinkTest, ValidOnlyWithAnImageAndAnArea) {
  TseBitmap image;
  image.SetSize(4, 4);
  TseBitmapLink link;
  link.SetRect({0, 0, 2, 2});
  EXPECT_FALSE(link.IsValid());
  link.SetImage(&image);
  EXPECT_TRUE(link.IsValid());
  for (TRect r : {TRect(0, 0, 0, 2), TRect(2, 0, 1, 2)}) {
    link.SetRect(r);
    EXPECT_FALSE(link.IsValid()) << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
  }
}

TEST(TseBitmapLinkTest, ImageDestroyedLeavesTheLinkWithout) {
  TseBitmapLink copy;
  {
    TseBitmapList list;
    auto b = std::make_unique<TseBitmap>();
    b->SetSize(2, 2);
    b->SetName("a");
    list.Add(std::move(b));
    auto link = list.GetLink("A", {0, 0, 2, 2});
    ASSERT_TRUE(link);
    copy.Assign(*link);
    EXPECT_TRUE(copy.IsValid());
  }
  EXPECT_EQ(copy.Image(), nullptr);
  EXPECT_FALSE(copy.IsValid());
  copy.CheckMasked(1, 1, 1, 1);
  EXPECT_FALSE(copy.Masked());
}

// A 12 x 30 strip whose rectangle (0, 21, 12, 30) is checked with margins of 4.
struct MaskCase {
  const char* what;
  std::vector<TPoint> clear;  // pixels of the rectangle (relative) made see-through
  TseColor value;
  bool masked, border, angles;
};

TEST(TseBitmapLinkTest, CheckMaskedMarksThePartsHoldingSeeThroughPixels) {
  const MaskCase cases[] = {
      {"key at the bottom-right corner", {{11, 8}}, kTransparentKey, false, false, true},
      {"translucent on the top edge", {{5, 0}}, 0x80FFFFFF, false, true, false},
      {"clear in the left edge", {{0, 4}}, 0x00000000, false, true, false},
      {"in the centre", {{4, 4}}, kTransparentKey, true, false, false},
      {"sentinel is not see-through", {{11, 8}, {5, 5}}, 0x33333333, false, false, false},
      {"corner and centre", {{0, 0}, {7, 4}}, kTransparentKey, true, false, true},
      {"opaque key colour is not see-through", {{0, 0}}, 0xFF7F007F, false, false, false},
  };
  for (const MaskCase& c : cases) {
    TseBitmap strip;
    strip.SetSize(12, 30);
    strip.Fill(0xFF000000);
    strip.SetPixel(0, 20, kTransparentKey);  // just above the rectangle: never counted
    for (TPoint p : c.clear) strip.SetPixel(p.X, 21 + p.Y, c.value);
    TseBitmapLink link;
    link.SetImage(&strip);
    link.SetRect({0, 21, 12, 30});
    link.CheckMasked(4, 4, 4, 4);
    EXPECT_EQ(link.Masked(), c.masked) << c.what;
    EXPECT_EQ(link.MaskedBorder(), c.border) << c.what;
    EXPECT_EQ(link.MaskedAngles(), c.angles) << c.what;
    // Without margins every see-through pixel counts as Masked.
    link.CheckMasked();
    EXPECT_EQ(link.Masked(), c.masked || c.border || c.angles) << c.what;
    EXPECT_FALSE(link.MaskedBorder());
    EXPECT_FALSE(link.MaskedAngles());
  }
}

// The flags as the pixel-by-pixel reading gives them, in 64 bits: a pixel outside the image reads
// as 0 and is see-through; each see-through pixel marks every part it lies in.
struct Flags {
  bool masked = false, border = false, angles = false;
  bool operator==(const Flags&) const = default;
};

Flags ReadPixelByPixel(const TseBitmap& image, const TRect& rect, std::int64_t l, std::int64_t t, std::int64_t r,
                       std::int64_t b) {
  Flags f;
  const std::int64_t w = std::int64_t(rect.Right) - rect.Left, h = std::int64_t(rect.Bottom) - rect.Top;
  const auto in = [](std::int64_t x, std::int64_t y, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                     std::int64_t y1) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
  const bool margins = l || t || r || b;
  for (std::int64_t y = 0; y < h; ++y)
    for (std::int64_t x = 0; x < w; ++x) {
      const TseColor p = image.Pixel(int(rect.Left + x), int(rect.Top + y));
      if (p == 0x33333333 || AlphaOf(p) == 255) continue;
      if (!margins) f.masked = true;
      if (!margins) continue;
      if (in(x, y, 0, 0, l, t) || in(x, y, w - r, 0, w, t) || in(x, y, w - r, h - b, w, h) || in(x, y, 0, h - b, l, h))
        f.angles = true;
      if (in(x, y, l, 0, w - r, t) || in(x, y, l, h - b, w - r, h) || in(x, y, 0, t, l, h - b) ||
          in(x, y, w - r, t, w, h - b))
        f.border = true;
      if (in(x, y, l, t, w - r, h - b)) f.masked = true;
    }
  return f;
}

Flags Checked(TseBitmapLink& link, int l, int t, int r, int b) {
  link.CheckMasked(l, t, r, b);
  return {link.Masked(), link.MaskedBorder(), link.MaskedAngles()};
}

// Overlapping, negative and oversized margins, and rectangles reaching past the image, all read as
// the pixel-by-pixel reading does.
TEST(TseBitmapLinkTest, CheckMaskedAgreesWithThePixelByPixelReadingForAnyMargins) {
  TseBitmap image;
  image.SetSize(6, 5);
  image.Fill(0xFF202020);
  image.SetPixel(0, 0, kTransparentKey);
  image.SetPixel(4, 2, 0x80FFFFFF);
  image.SetPixel(2, 4, 0x33333333);
  TseBitmapLink link;
  link.SetImage(&image);
  const int margins[] = {-3, 0, 1, 2, 7};
  for (TRect rect : {TRect(0, 0, 6, 5), TRect(1, 1, 6, 5), TRect(-2, -1, 5, 4), TRect(2, 0, 9, 3)}) {
    link.SetRect(rect);
    for (int l : margins)
      for (int t : margins)
        for (int r : margins)
          for (int b : margins)
            ASSERT_EQ(Checked(link, l, t, r, b), ReadPixelByPixel(image, rect, l, t, r, b))
                << rect.Left << "," << rect.Top << "," << rect.Right << "," << rect.Bottom << " margins " << l << ","
                << t << "," << r << "," << b;
  }
}

// Sides from damaged data neither overflow nor make the check walk billions of pixels.
TEST(TseBitmapLinkTest, ExtremeRectanglesAndMarginsAreAnsweredAtOnce) {
  constexpr int kMax = INT32_MAX, kMin = INT32_MIN;
  TseBitmap image;
  image.SetSize(4, 4);
  image.Fill(0xFF000000);
  TseBitmapLink link;
  link.SetImage(&image);
  struct Case {
    TRect rect;
    int l, t, r, b;
    bool valid;
    Flags flags;
  };
  const Case cases[] = {
      {{0, 0, kMax, kMax}, 0, 0, 0, 0, true, {true, false, false}},
      {{kMin, kMin, kMax, kMax}, 0, 0, 0, 0, true, {true, false, false}},
      {{kMax, kMax, kMin, kMin}, 0, 0, 0, 0, false, {}},
      {{4, 4, 0, 0}, 0, 0, 0, 0, false, {}},
      {{kMin, 0, 0, 4}, 0, 0, 0, 0, true, {true, false, false}},
      {{0, 0, kMax, kMax}, 4, 4, 4, 4, true, {true, true, true}},
      {{0, 0, 4, 4}, kMax, kMax, kMax, kMax, true, {false, false, false}},
      {{0, 0, 4, 4}, kMin, kMin, kMin, kMin, true, {false, false, false}},
      {{kMin, kMin, 4, 4}, kMax, kMin, kMin, kMax, true, {true, true, true}},
      {{-1, -1, 3, 3}, 1, 1, kMin, kMin, true, {false, true, true}},
  };
  for (const Case& c : cases) {
    link.SetRect(c.rect);
    EXPECT_EQ(link.IsValid(), c.valid) << c.rect.Left << "," << c.rect.Top << "," << c.rect.Right << "," << c.rect.Bottom;
    EXPECT_EQ(Checked(link, c.l, c.t, c.r, c.b), c.flags)
        << c.rect.Left << "," << c.rect.Top << "," << c.rect.Right << "," << c.rect.Bottom << " margins " << c.l
        << "," << c.t << "," << c.r << "," << c.b;
  }
}

TEST(TseBitmapListTest, GetLinkTakesTheFirstNameMatchIgnoringCase) {
  TseBitmapList list;
  for (const char* name : {"Frame", "FRAME", "button"}) {
    auto b = std::make_unique<TseBitmap>();
    b->SetName(name);
    list.Add(std::move(b));
  }
  auto link = list.GetLink("fRaMe", {1, 2, 3, 4});
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Image(), list[0]);
  EXPECT_EQ(link->Name(), "Frame");
  EXPECT_EQ(link->Rect(), TRect(1, 2, 3, 4));
  EXPECT_FALSE(list.GetLink("Fram", {0, 0, 1, 1}));
  EXPECT_EQ(list[3], nullptr);
  EXPECT_EQ(list[-1], nullptr);

  TseBitmapLink other;
  other.Assign(*link);
  EXPECT_EQ(other.Image(), list[0]);
  EXPECT_EQ(other.Left(), 1);
  EXPECT_EQ(other.Bottom(), 4);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(other.Image(), nullptr);
}

}  // namespace
}  // namespace vandrel::test
