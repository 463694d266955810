// The bitmap library's first operations: sizing with its own context, the registry, fills,
// alpha, keying, and composing under a surface with both blend kernels.
#include <gtest/gtest.h>

#include "graphics/Bitmap.h"
#include "platform/core/Exception.h"
#include "platform/gdi/Gdi.h"

namespace vandrel::test {
namespace {

// Restores the processor's own kernel choice after a test forced one.
class BlendKernelGuard {
 public:
  BlendKernelGuard() : m_saved(UsingLaneBlend()) {}
  ~BlendKernelGuard() { ForceLaneBlend(m_saved); }

 private:
  bool m_saved;
};

TEST(TseBitmapTest, SizeTakesAbsoluteValuesAndIgnoresZero) {
  TseBitmap b;
  EXPECT_TRUE(b.IsEmpty());
  b.SetSize(-10, 5);
  EXPECT_EQ(b.Width(), 10);
  EXPECT_EQ(b.Height(), 5);
  EXPECT_FALSE(b.IsEmpty());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(b.Pixel(x, y), 0u);
  TseColor* bits = b.Bits();
  b.SetSize(0, 5);
  b.SetSize(10, 5);
  EXPECT_EQ(b.Bits(), bits);  // unchanged: the same section
  EXPECT_EQ(b.Width(), 10);
  EXPECT_EQ(b.Pixel(-1, 0), 0u);
  b.SetPixel(10, 0, 1);  // outside: ignored
  EXPECT_EQ(b.Row(5), nullptr);
}

TEST(TseBitmapTest, OwnContextDrawsIntoThePixelsAndLeadsBackToTheBitmap) {
  TseBitmap b;
  b.SetSize(4, 3);
  EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  FillRect(b.DC(), {1, 1, 3, 2}, brush);
  DeleteObject(brush);
  EXPECT_EQ(b.Pixel(1, 1) & 0xFFFFFF, 0x010203u);
  EXPECT_EQ(b.Pixel(0, 0), 0u);
  EXPECT_EQ(b.Row(2), b.Bits() + 8);  // top-down rows, one after another

  HDC old = b.DC();
  b.SetSize(2, 2);
  EXPECT_EQ(FindBitmapByDC(old), nullptr);
  EXPECT_EQ(FindBitmapByDC(b.DC()), &b);
  HDC last = b.DC();
  { TseBitmap gone; gone.SetSize(1, 1); last = gone.DC(); }
  EXPECT_EQ(FindBitmapByDC(last), nullptr);
}

TEST(TseBitmapTest, OversizedBitmapRaisesAndStaysEmpty) {
  TseBitmap b;
  EXPECT_THROW(b.SetSize(100000, 100000), Exception);
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(b.Width(), 0);
  b.SetSize(1, 1);  // still usable afterwards
  b.Fill(kTransparentKey);
  b.SetAlpha(200);
  EXPECT_EQ(b.Pixel(0, 0), 0xC87F007Fu);
}

TEST(TseBitmapTest, FillAlphaRectAndKeying) {
  TseBitmap b;
  b.SetSize(3, 2);
  b.Fill(kTransparentKey);
  b.SetAlphaRect(255, {-5, -5, 2, 1});
  EXPECT_EQ(b.Pixel(0, 0), 0xFF7F007Fu);
  EXPECT_EQ(b.Pixel(1, 0), 0xFF7F007Fu);
  EXPECT_EQ(b.Pixel(2, 0), kTransparentKey);
  EXPECT_EQ(b.Pixel(0, 1), kTransparentKey);

  b.SetPixel(0, 0, 0xFF82027D);  // (130, 2, 125): within 5 of the key
  b.SetPixel(1, 0, 0xFF85007F);  // (133, 0, 127): red 6 away
  b.SetPixel(2, 0, 0xFF000000);
  b.KeyColor(0x7F007F);
  EXPECT_TRUE(b.HasKey());
  EXPECT_EQ(b.Pixel(0, 0), kTransparentKey);
  EXPECT_EQ(b.Pixel(1, 0), 0xFF85007Fu);
  b.Fill(0xFF000000);
  b.KeyColor(0x7F007F);
  EXPECT_FALSE(b.HasKey());

  b.CheckAlpha();
  EXPECT_FALSE(b.HasAlpha());
  b.SetPixel(2, 1, 0x80000000);
  b.CheckAlpha();
  EXPECT_TRUE(b.HasAlpha());
}

TEST(TseBitmapTest, FillRectSetsOrBlendsByTheAlphaFlag) {
  BlendKernelGuard guard;
  ForceLaneBlend(true);
  TseBitmap b;
  b.SetSize(3, 1);
  b.Fill(0xFF000000);
  b.FillRect({1, -1, 9, 9}, 0x80FFFFFF);  // no alpha flag: plain set, clipped
  EXPECT_EQ(b.Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(b.Pixel(2, 0), 0x80FFFFFFu);
  b.Fill(0xFF000000);
  b.SetPixel(0, 0, 0x7F000000);
  b.CheckAlpha();
  b.FillRect({1, 0, 2, 1}, 0x80FFFFFF);
  // lanes: each colour 0 + 128 * 255 / 256 = 127; alpha 255 + 128 * (128 - 255) / 256 = 191.
  EXPECT_EQ(b.Pixel(1, 0), 0xBF7F7F7Fu);
}

TEST(TseBitmapTest, BlendKernelsByteForByte) {
  BlendKernelGuard guard;
  // The lane formula, written out independently of the kernel.
  auto lanes = [](TseColor s, TseColor t) {
    unsigned a = s >> 24;
    TseColor out = 0;
    for (int k = 0; k < 32; k += 8) {
      int sb = (s >> k) & 0xFF, tb = (t >> k) & 0xFF;
      out |= TseColor((tb * 256 + int(a) * (sb - tb)) / 256) << k;
    }
    return out;
  };
  ForceLaneBlend(true);
  EXPECT_EQ(BlendPixel(0x80FF0000, 0xFF0000FF), 0xBF7F007Fu);  // alpha mixed too
  for (TseColor s : {0x80FF0000u, 0x01FFFFFFu, 0xFE123456u, 0x7F00FF00u})
    for (TseColor t : {0xFF0000FFu, 0x00000000u, 0xFFFFFFFFu, 0x80808080u})
      EXPECT_EQ(BlendPixel(s, t), lanes(s, t)) << std::hex << s << " over " << t;
  EXPECT_EQ(BlendPixel(0xFFF0E0D0, 0xFF102030), 0xFFEFDFCFu);  // no shortcut for 255 per pixel
  EXPECT_EQ(BlendPixel(0x00102030, 0x40F0E0D0), 0x40F0E0D0u);
  TseColor row[2] = {0xFFF0E0D0, 0xFFF0E0D0};
  const TseColor src[2] = {0xFF102030, 0x00102030};
  BlendRow(src, row, 2);  // the row form takes 255 and 0 as they are
  EXPECT_EQ(row[0], 0xFF102030u);
  EXPECT_EQ(row[1], 0xFFF0E0D0u);

  ForceLaneBlend(false);
  // (255 * 128 + 0 * 127) div 256 = 127 red, (0 * 128 + 255 * 127) div 256 = 126 blue, alpha 255.
  EXPECT_EQ(BlendPixel(0x80FF0000, 0x000000FF), 0xFF7F007Eu);
  EXPECT_EQ(BlendPixel(0xFF102030, 0xFFF0E0D0), 0xFF102030u);
  EXPECT_EQ(BlendPixel(0x00102030, 0x40F0E0D0), 0x40F0E0D0u);
}

TEST(TseBitmapTest, MergeUnderFillsTransparentMixesTranslucentKeepsOpaque) {
  BlendKernelGuard guard;
  ForceLaneBlend(true);
  TseBitmap back;
  back.SetSize(4, 2);
  back.Fill(0xFF0000FF);
  TseBitmap top;
  top.SetSize(3, 2);
  top.Fill(0x00000000);
  top.SetPixel(1, 0, 0x80FF0000);
  top.SetPixel(2, 0, 0xFF00FF00);
  top.MergeUnder(back, 0, 0, {1, 0, 4, 2});
  EXPECT_EQ(top.Pixel(0, 0), 0xFF0000FFu);
  EXPECT_EQ(top.Pixel(1, 0), 0xBF7F007Fu);  // alpha lane: 255 + 128 * (128 - 255) / 256
  EXPECT_EQ(top.Pixel(2, 0), 0xFF00FF00u);
  EXPECT_EQ(top.Pixel(2, 1), 0xFF0000FFu);

  // Source and destination parts beyond either bitmap are left out.
  TseBitmap small;
  small.SetSize(2, 2);
  small.Fill(0);
  small.MergeUnder(back, 1, 1, {-1, -1, 10, 10});
  EXPECT_EQ(small.Pixel(0, 0), 0u);
  EXPECT_EQ(small.Pixel(1, 1), 0u);  // the source's (-1, -1) would land here: nothing
  small.MergeUnder(back, 0, 0, {0, 0, 4, 2});
  EXPECT_EQ(small.Pixel(1, 1), 0xFF0000FFu);
}

}  // namespace
}  // namespace vandrel::test
