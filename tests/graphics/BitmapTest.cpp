// The bitmap library's first operations: sizing with its own context, the registry, fills,
// alpha, keying, and composing under a surface with both blend kernels.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

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

TEST(TseBitmapTest, SizesBeyondTheLimitRaiseAndLeaveTheBitmapEmpty) {
  struct Case { int width, height; };
  const Case cases[] = {{kMaxBitmapSide + 1, 1}, {1, -(kMaxBitmapSide + 1)}, {INT_MIN, 1},
                        {1, INT_MIN}, {8192, 8193}};
  for (const Case& c : cases) {
    TseBitmap b;
    b.SetSize(3, 3);
    try {
      b.SetSize(c.width, c.height);
      ADD_FAILURE() << c.width << " x " << c.height << " accepted";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.Row(0), nullptr);
  }
}

// A raw image record as the skin files store it.
std::vector<std::uint8_t> RawRecord(const std::string& name, std::int32_t width, std::int32_t height,
                                    const std::vector<TseColor>& pixels) {
  TMemoryStream s;
  s.WriteValue(std::int32_t(name.size()));
  s.WriteString(name);
  s.WriteValue(width);
  s.WriteValue(height);
  s.WriteBuffer(pixels.data(), std::int64_t(pixels.size()) * 4);
  return s.Bytes();
}

TEST(TseBitmapTest, RawRecordStoresRowsTopFirstAndTurnsBottomUpRowsUpright) {
  // Rows A (1, 2) and B (3, 4); a height of -2 stores them bottom row first.
  TMemoryStream up(RawRecord("Strip", 2, -2, {0xFF000003, 0xFF000004, 0xFF000001, 0xFF000002}));
  TseBitmap b;
  b.LoadFromStream(up);
  EXPECT_EQ(b.Name(), "Strip");
  ASSERT_EQ(b.Width(), 2);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF000001u);
  EXPECT_EQ(b.Pixel(1, 1), 0xFF000004u);
  EXPECT_EQ(up.Position(), up.Size());

  TMemoryStream out;
  b.SaveToStream(out);
  EXPECT_EQ(out.Bytes(), RawRecord("Strip", 2, 2, {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004}));
  out.SetPosition(0);
  TseBitmap again;
  again.LoadFromStream(out);
  EXPECT_EQ(again.Pixel(1, 1), 0xFF000004u);

  // A height of 0 means no rows: the bitmap keeps its size, the next record follows directly.
  std::vector<std::uint8_t> two = RawRecord("none", 3, 0, {});
  std::vector<std::uint8_t> next = RawRecord("next", 1, 1, {0xFF0000FF});
  two.insert(two.end(), next.begin(), next.end());
  TMemoryStream both(two);
  b.LoadFromStream(both);
  EXPECT_EQ(b.Name(), "none");
  EXPECT_EQ(b.Width(), 2);
  b.LoadFromStream(both);
  EXPECT_EQ(b.Name(), "next");
  EXPECT_EQ(b.Pixel(0, 0), 0xFF0000FFu);
}

TEST(TseBitmapTest, LoadingKeysOnlyPicturesWithoutPartialAlpha) {
  const std::vector<TseColor> keyed = {0xFF82027D, 0xFF85007F};  // within 5 of the key; red 6 away
  TMemoryStream a(RawRecord("a", 2, 1, keyed));
  TseBitmap b;
  b.LoadFromStream(a);
  EXPECT_FALSE(b.HasAlpha());
  EXPECT_TRUE(b.HasKey());
  EXPECT_EQ(b.Pixel(0, 0), kTransparentKey);
  EXPECT_EQ(b.Pixel(1, 0), 0xFF85007Fu);

  TMemoryStream c(RawRecord("c", 2, 1, {0xFF82027D, 0x80FFFFFF}));
  b.LoadFromStream(c);
  EXPECT_TRUE(b.HasAlpha());
  EXPECT_FALSE(b.HasKey());
  EXPECT_EQ(b.Pixel(0, 0), 0xFF82027Du);
}

// Hands out at most what a read asks for and remembers the largest request.
class TRequestCountingStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  std::int64_t Read(void* buffer, std::int64_t count) override {
    m_largest = std::max(m_largest, count);
    return TMemoryStream::Read(buffer, count);
  }
  std::int64_t m_largest = 0;
};

TEST(TseBitmapTest, DamagedRawRecordsFailAndLeaveTheBitmapAsItWas) {
  struct Case { const char* what; std::vector<std::uint8_t> bytes; };
  std::vector<std::uint8_t> shortPixels = RawRecord("x", 2, 2, {1, 2, 3});
  std::vector<std::uint8_t> huge = RawRecord("x", 8192, -8192, {1, 2, 3, 4});
  std::vector<std::uint8_t> tooLarge = RawRecord("x", 100000, 100000, {1});
  std::vector<std::uint8_t> negativeName = RawRecord("", 1, 1, {1});
  negativeName[3] = 0x80;
  std::vector<std::uint8_t> longName = RawRecord("ab", 1, 1, {1});
  longName[2] = 0x10;  // a name of a million bytes in a stream of 25
  const Case cases[] = {{"pixels missing", shortPixels}, {"8192 x 8192 promised, 16 bytes held", huge},
                        {"size beyond the limit", tooLarge}, {"negative name length", negativeName},
                        {"name longer than the stream", longName},
                        {"ends inside the size", {1, 0, 0, 0, 'n', 2, 0}}};
  for (const Case& c : cases) {
    TseBitmap b;
    b.SetName("kept");
    b.SetSize(2, 1);
    b.Fill(0xFF123456);
    TRequestCountingStream s(c.bytes);
    EXPECT_THROW(b.LoadFromStream(s), EReadError) << c.what;
    EXPECT_LE(s.m_largest, std::int64_t(1) << 20) << c.what;
    EXPECT_EQ(b.Name(), "kept") << c.what;
    EXPECT_EQ(b.Width(), 2) << c.what;
    EXPECT_EQ(b.Pixel(1, 0), 0xFF123456u) << c.what;
  }
}

// The region as rows of runs, "#" for a pixel inside.
std::vector<std::string> RegionPicture(HRGN region, int width, int height) {
  std::vector<std::string> rows(size_t(height), std::string(size_t(width), '.'));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (PtInRegion(region, x, y)) rows[size_t(y)][size_t(x)] = '#';
  return rows;
}

TEST(TseBitmapTest, RegionIsTheRunsOfPixelsThatAreNotTheKey) {
  TseBitmap b;
  EXPECT_EQ(b.CreateRegion(0, 0), HRGN());
  b.SetSize(5, 3);
  b.Fill(0xFF000000);
  HRGN full = b.CreateRegion(0, 0);
  TRect box;
  EXPECT_EQ(GetRgnBox(full, &box), SIMPLEREGION);
  EXPECT_EQ(box, TRect(0, 0, 5, 3));
  DeleteObject(full);

  b.Fill(kTransparentKey);
  HRGN none = b.CreateRegion(0, 0);
  EXPECT_EQ(GetRgnBox(none, &box), NULLREGION);
  DeleteObject(none);

  // The key's colour with any alpha is outside; a near-key colour is inside.
  b.SetPixel(1, 0, 0xFF000000);
  b.SetPixel(2, 0, 0xFF000000);
  b.SetPixel(4, 0, 0xFF7F007E);
  b.SetPixel(0, 2, 0x00000000);
  b.SetPixel(2, 1, 0xFF7F007F);
  HRGN r = b.CreateRegion(1, 1);
  EXPECT_EQ(RegionPicture(r, 6, 4), (std::vector<std::string>{"......", "..##.#", "......", ".#...."}));
  DeleteObject(r);
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

// Keying and the alpha check work on groups of pixels: every offset of a channel around the
// tolerance, any alpha, and the pixels left over after the last whole group.
TEST(TseBitmapTest, KeyingAndTheAlphaCheckTreatEveryPixelOfAMixedRowAlike) {
  const TseColor colour = 0x00FA0305;  // near the ends of the byte range, so distances saturate
  std::vector<TseColor> pixels;
  for (int dr : {-6, -5, 0, 5, 6})
    for (int dg : {-6, -5, 0, 5, 6})
      for (int db : {-6, -5, 0, 5, 6}) {
        const auto channel = [](int base, int d) { return TseColor(std::clamp(base + d, 0, 255)); };
        const TseColor alpha = TseColor(pixels.size() % 3 == 0 ? 0x00 : pixels.size() % 3 == 1 ? 0x80 : 0xFF) << 24;
        pixels.push_back(alpha | channel(0xFA, dr) << 16 | channel(0x03, dg) << 8 | channel(0x05, db));
      }
  const auto near = [&](TseColor p) {
    for (int shift : {0, 8, 16})
      if (std::abs(int((p >> shift) & 0xFF) - int((colour >> shift) & 0xFF)) > 5) return false;
    return true;
  };
  for (int width = 1; width <= 9; ++width) {
    for (size_t start = 0; start + size_t(width) <= pixels.size(); start += size_t(width)) {
      TseBitmap b;
      b.SetSize(width, 1);
      bool anyNear = false;
      for (int x = 0; x < width; ++x) {
        b.SetPixel(x, 0, pixels[start + size_t(x)]);
        anyNear = anyNear || near(pixels[start + size_t(x)]);
      }
      b.KeyColor(colour);
      EXPECT_EQ(b.HasKey(), anyNear) << width << " from " << start;
      for (int x = 0; x < width; ++x) {
        const TseColor p = pixels[start + size_t(x)];
        ASSERT_EQ(b.Pixel(x, 0), near(p) ? kTransparentKey : p) << std::hex << p;
      }
    }
    // One translucent pixel anywhere in a row of opaque and clear ones.
    for (int at = -1; at < width; ++at) {
      TseBitmap b;
      b.SetSize(width, 1);
      for (int x = 0; x < width; ++x) b.SetPixel(x, 0, x % 2 ? 0xFF123456 : 0x00123456);
      if (at >= 0) b.SetPixel(at, 0, 0xFE123456);
      b.CheckAlpha();
      EXPECT_EQ(b.HasAlpha(), at >= 0) << width << " at " << at;
    }
  }
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

// With the processor check forced off every blend of the library, drawing and merging included,
// takes the scalar formula: colours (s a + t (255 - a)) div 256, alpha opaque.
TEST(TseBitmapTest, ScalarBlendWhenTheCheckFails) {
  BlendKernelGuard guard;
  ForceLaneBlend(false);
  TseBitmap src;
  src.SetSize(3, 1);
  src.SetPixel(0, 0, 0x80FF0000);
  src.SetPixel(1, 0, 0x00FFFFFF);
  src.SetPixel(2, 0, 0xFF00FF00);
  src.CheckAlpha();
  TseBitmap dst;
  dst.SetSize(3, 1);
  dst.Fill(0x000000FF);
  src.Draw(dst, 0, 0);
  EXPECT_EQ(dst.Pixel(0, 0), 0xFF7F007Eu);
  EXPECT_EQ(dst.Pixel(1, 0), 0x000000FFu);
  EXPECT_EQ(dst.Pixel(2, 0), 0xFF00FF00u);

  TseBitmap under;
  under.SetSize(3, 1);
  under.Fill(0x000000FF);
  src.MergeUnder(under, 0, 0, {0, 0, 3, 1});
  EXPECT_EQ(src.Pixel(0, 0), 0xFF7F007Eu);
  EXPECT_EQ(src.Pixel(1, 0), 0x000000FFu);
  EXPECT_EQ(src.Pixel(2, 0), 0xFF00FF00u);
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
