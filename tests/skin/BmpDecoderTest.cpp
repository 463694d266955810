// The BMP decoder of legacy image records: every depth and layout it reads, the widening of
// bit-field channels, and the clear errors for what it cannot read.
#include <gtest/gtest.h>

#include "framework/Graphic.h"
#include "graphics/Bitmap.h"
#include "skin/BmpDecoder.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {

struct BmpSpec {
  int bpp;
  int width;
  int height;  // negative: top-down
  Bytes pixels;  // the rows as stored, padded
  std::vector<std::uint32_t> palette = {};
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks = {};
  bool core = false;  // the 12-byte OS/2 header (palette entries of 3 bytes)
};

Bytes MakeBmp(const BmpSpec& s) {
  ContentBuilder h;
  const std::int32_t headerSize = s.core ? 12 : 40;
  const std::int32_t paletteSize = std::int32_t(s.palette.size()) * (s.core ? 3 : 4);
  const std::int32_t offBits = 14 + headerSize + std::int32_t(s.masks.size()) * 4 + paletteSize;
  h.Raw("BM").Int(offBits + std::int32_t(s.pixels.size())).Int(0).Int(offBits).Int(headerSize);
  Bytes out = h.Data();
  auto put16 = [&](int v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
  };
  if (s.core) {
    put16(s.width);
    put16(s.height);
    put16(1);
    put16(s.bpp);
  } else {
    put32(std::uint32_t(s.width));
    put32(std::uint32_t(s.height));
    put16(1);
    put16(s.bpp);
    put32(s.compression);
    put32(std::uint32_t(s.pixels.size()));
    put32(2835);
    put32(2835);
    put32(std::uint32_t(s.palette.size()));
    put32(0);
  }
  for (std::uint32_t m : s.masks) put32(m);
  for (std::uint32_t c : s.palette) {
    out.push_back(std::uint8_t(c));
    out.push_back(std::uint8_t(c >> 8));
    out.push_back(std::uint8_t(c >> 16));
    if (!s.core) out.push_back(0);
  }
  out.insert(out.end(), s.pixels.begin(), s.pixels.end());
  return out;
}

std::vector<TseColor> PixelsOf(const TseBitmap& b) {
  std::vector<TseColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.Pixel(x, y));
  return out;
}

TEST(BmpDecoderTest, ReadsEveryDepthAndBothRowOrders) {
  const std::vector<std::uint32_t> masks565 = {0xF800, 0x07E0, 0x001F};
  struct Case {
    const char* what;
    BmpSpec bmp;
    std::vector<TseColor> expected;  // 2 x 2, top row first
  } cases[] = {
      {"24 bits, bottom-up",
       {24, 2, 2, {1, 2, 3, 4, 5, 6, 0, 0, 10, 20, 30, 40, 50, 60, 0, 0}},
       {0xFF1E140A, 0xFF3C3228, 0xFF030201, 0xFF060504}},
      {"24 bits, top-down",
       {24, 2, -2, {1, 2, 3, 4, 5, 6, 0, 0, 10, 20, 30, 40, 50, 60, 0, 0}},
       {0xFF030201, 0xFF060504, 0xFF1E140A, 0xFF3C3228}},
      {"32 bits: the stored alpha is not kept",
       {32, 2, -2, {1, 2, 3, 0x12, 4, 5, 6, 0, 7, 8, 9, 0xFF, 10, 11, 12, 0x80}},
       {0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}},
      {"32 bits, bit fields in an unusual order",
       {32, 2, -2, {0, 0x11, 0x22, 0x33, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF}, {}, 3,
        {0x0000FF00, 0x00FF0000, 0xFF000000}},
       {0xFF112233, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
      {"16 bits 5-5-5: 15 widens to 123, 31 to 255",
       {16, 2, -2, {0x0F, 0x3C, 0xFF, 0x7F, 0x00, 0x00, 0x1F, 0x00}},
       {0xFF7B007B, 0xFFFFFFFF, 0xFF000000, 0xFF0000FF}},
      {"16 bits 5-6-5 bit fields",
       {16, 2, 2, {0x0F, 0x78, 0x00, 0x04, 0xFF, 0xFF, 0xE0, 0x07}, {}, 3, masks565},
       {0xFFFFFFFF, 0xFF00FF00, 0xFF7B007B, 0xFF008200}},
      {"8 bits with a short palette: an index past it is black",
       {8, 2, -2, {0, 1, 0, 0, 2, 255, 0, 0}, {0x112233, 0x445566, 0x7F007F}},
       {0xFF112233, 0xFF445566, 0xFF7F007F, 0xFF000000}},
      {"4 bits, high nibble first",
       {4, 2, -2, {0x10, 0, 0, 0, 0x01, 0, 0, 0}, {0x0000FF, 0xFF0000}},
       {0xFFFF0000, 0xFF0000FF, 0xFF0000FF, 0xFFFF0000}},
      {"1 bit, high bit first",
       {1, 2, -2, {0x80, 0, 0, 0, 0x40, 0, 0, 0}, {0x000000, 0xFFFFFF}},
       {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF}},
      {"OS/2 core header",
       {8, 2, 2, {1, 0, 0, 0, 0, 1, 0, 0}, {0x102030, 0x405060}, 0, {}, true},
       {0xFF102030, 0xFF405060, 0xFF405060, 0xFF102030}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<TseBitmap> b = DecodeBmp(MakeBmp(c.bmp));
    ASSERT_EQ(b->Width(), 2);
    ASSERT_EQ(b->Height(), 2);
    EXPECT_EQ(PixelsOf(*b), c.expected);
  }
}

// The common 5-6-5 layout has a row loop of its own; the same masks over 32-bit pixels take the
// general one. Every 16-bit value, in rows whose width leaves pixels after the last group of eight.
TEST(BmpDecoderTest, FiveSixFiveRowsWidenEveryValueAsTheGeneralPathDoes) {
  const std::vector<std::uint32_t> masks565 = {0xF800, 0x07E0, 0x001F};
  const int width = 251, height = (65536 + width - 1) / width;
  Bytes narrow, wide;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int v = (y * width + x) & 0xFFFF;
      narrow.insert(narrow.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
      wide.insert(wide.end(), {std::uint8_t(v), std::uint8_t(v >> 8), 0xA5, 0x5A});
    }
    narrow.insert(narrow.end(), {0, 0});  // rows padded to four bytes
  }
  const std::unique_ptr<TseBitmap> fast = DecodeBmp(MakeBmp({16, width, height, narrow, {}, 3, masks565}));
  const std::unique_ptr<TseBitmap> general = DecodeBmp(MakeBmp({32, width, height, wide, {}, 3, masks565}));
  EXPECT_EQ(PixelsOf(*fast), PixelsOf(*general));
  EXPECT_EQ(fast->Pixel(0, height - 1), 0xFF000000u);
  EXPECT_EQ(fast->Pixel(0xFFFF % width, height - 1 - 0xFFFF / width), 0xFFFFFFFFu);
}

TEST(BmpDecoderTest, ZeroSizeGivesAnEmptyBitmap) {
  std::unique_ptr<TseBitmap> b = DecodeBmp(MakeBmp({24, 0, 5, {}}));
  EXPECT_TRUE(b->IsEmpty());
}

TEST(BmpDecoderTest, RejectsWhatItCannotReadBeforeAllocating) {
  const Bytes good = MakeBmp({24, 2, 2, Bytes(16)});
  auto with = [&](size_t at, std::uint32_t value) {
    Bytes b = good;
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = std::uint8_t(value >> (8 * i));
    return b;
  };
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"no BM", [&] { Bytes b = good; b[0] = 'X'; return b; }()},
      {"shorter than the headers", Bytes(good.begin(), good.begin() + 30)},
      {"unknown header size", with(14, 20)},
      {"too wide", with(18, 100000)},
      {"100000 x 100000", with(22, 100000)},
      {"too many pixels", [&] { Bytes b = with(22, 30000); for (int i = 0; i < 4; ++i) b[18 + size_t(i)] = b[22 + size_t(i)]; return b; }()},
      {"negative width", with(18, std::uint32_t(-2))},
      {"2 bits per pixel", [&] { Bytes b = good; b[28] = 2; return b; }()},
      {"run-length compression", with(30, 1)},
      {"pixel data missing", Bytes(good.begin(), good.end() - 1)},
      {"pixel offset past the end", with(10, 0x7FFFFFFF)},
      {"non-contiguous mask", MakeBmp({16, 1, 1, Bytes(4), {}, 3, {0x0F0F, 0x00F0, 0}})},
      {"palette of 300 colours", MakeBmp({8, 1, 1, Bytes(4), std::vector<std::uint32_t>(300)})},
      {"palette cut short", [&] { Bytes b = MakeBmp({8, 1, 1, Bytes(4), {1, 2}}); b[46] = 200; b[10] = 0; return b; }()},
  };
  for (const Case& c : cases) EXPECT_THROW(DecodeBmp(c.bytes), EInvalidGraphic) << c.what;
}

}  // namespace
}  // namespace vandrel::test
