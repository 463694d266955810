// Links to rectangles of skin images (validity, see-through analysis with and without margins)
// and the owning image list that resolves them by name.
#include <gtest/gtest.h>

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
