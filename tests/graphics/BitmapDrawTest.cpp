// The drawing pipeline: the pixel mode a source picks, clipping and the source check, the
// nearest-neighbour stretch, each kind of target (a registered bitmap's context with its window
// origin, a 32-bit bottom-up section, a window through the platform's blits), tiling, and the
// assignments to and from the framework's pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Font.h"
#include "framework/Icon.h"
#include "framework/Picture.h"
#include "graphics/Bitmap.h"
#include "platform/core/Exception.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace vandrel::test {
namespace {

// A one-row or many-row bitmap from its pixels, flags found as a loaded picture finds them.
std::unique_ptr<TseBitmap> Picture(int width, const std::vector<TseColor>& pixels) {
  auto b = std::make_unique<TseBitmap>();
  const int height = int(pixels.size()) / width;
  b->SetSize(width, height);
  for (int i = 0; i < int(pixels.size()); ++i) b->SetPixel(i % width, i / width, pixels[size_t(i)]);
  b->CheckAlpha();
  if (!b->HasAlpha()) b->KeyColor(kTransparentKey);
  return b;
}

std::vector<TseColor> RowOf(const TseBitmap& b, int y) {
  std::vector<TseColor> row;
  for (int x = 0; x < b.Width(); ++x) row.push_back(b.Pixel(x, y));
  return row;
}

constexpr TseColor kBack = 0xFF101010;
constexpr TseColor K = kTransparentKey;

TEST(BitmapDrawTest, SourceFlagsChooseTheMode) {
  struct Case { std::vector<TseColor> pixels; TseBitmap::TDrawMode mode; std::vector<TseColor> out; };
  const Case cases[] = {
      {{0x00000001, 0xFF000002}, TseBitmap::TDrawMode::Copy, {0x00000001, 0xFF000002}},
      {{0x00000001, K}, TseBitmap::TDrawMode::Keyed, {0xFF000001, kBack}},
      // Lanes: blue 0x10 + 0x80 * (0xFF - 0x10) / 256 = 0x87; alpha 0xFF + 0x80 * (0x80 - 0xFF) / 256.
      {{0x800000FF, K}, TseBitmap::TDrawMode::Blend, {0xBF080887, kBack}},
  };
  for (const Case& c : cases) {
    auto src = Picture(2, c.pixels);
    EXPECT_EQ(src->DrawMode(), c.mode);
    if (!UsingLaneBlend() && c.mode == TseBitmap::TDrawMode::Blend) continue;
    TseBitmap target;
    target.SetSize(2, 1);
    target.Fill(kBack);
    src->Draw(target, 0, 0);
    // The key's pixel has alpha 0 and so is left alone by the blend too.
    EXPECT_EQ(RowOf(target, 0), c.out);
  }
}

TEST(BitmapDrawTest, ClippedToTheTargetAndOnlyWholeSourceRectangles) {
  auto src = Picture(4, {1, 2, 3, 4, 5, 6, 7, 8});
  TseBitmap target;
  target.SetSize(3, 2);
  target.Fill(0);
  src->Draw(target, -1, 1);  // the top-left pixel lands outside: the rest moves along
  EXPECT_EQ(RowOf(target, 0), (std::vector<TseColor>{0, 0, 0}));
  EXPECT_EQ(RowOf(target, 1), (std::vector<TseColor>{2, 3, 4}));

  target.Fill(0);
  for (TRect s : {TRect(1, 0, 5, 1), TRect(-1, 0, 2, 1), TRect(0, 0, 2, 3), TRect(0, -1, 1, 1)}) {
    src->Draw(target, 0, 0, s);
    src->Draw(target, TRect(0, 0, 3, 2), s);
    EXPECT_EQ(RowOf(target, 0), (std::vector<TseColor>{0, 0, 0})) << s.Left << "," << s.Right;
  }
  // Rows as wide as both bitmaps, cut at the bottom.
  auto wide = Picture(3, {1, 2, 3, 4, 5, 6});
  wide->Draw(target, 0, 1);
  EXPECT_EQ(RowOf(target, 0), (std::vector<TseColor>{0, 0, 0}));
  EXPECT_EQ(RowOf(target, 1), (std::vector<TseColor>{1, 2, 3}));
  wide->Draw(target, 0, -1);
  EXPECT_EQ(RowOf(target, 0), (std::vector<TseColor>{4, 5, 6}));
  EXPECT_EQ(RowOf(target, 1), (std::vector<TseColor>{1, 2, 3}));

  // 1 x 1 pictures fill, take alpha and draw.
  TseBitmap one;
  one.SetSize(1, 1);
  one.Fill(0x00123456);
  one.SetAlpha(255);
  one.Draw(target, 2, 1);
  EXPECT_EQ(target.Pixel(2, 1), 0xFF123456u);
}

TEST(BitmapDrawTest, StretchPicksNearestColumnsWithHalvesToEven) {
  auto src = Picture(6, {10, 11, 12, 13, 14, 15});
  struct Case { TRect dest, source; std::vector<TseColor> row; };
  const Case cases[] = {
      // 4 source columns to 7: 3 * x / 6 + 2 = 2, 2.5, 3, 3.5, 4, 4.5, 5, halves to even.
      {{0, 0, 7, 1}, {2, 0, 6, 1}, {12, 12, 13, 14, 14, 14, 15}},
      // The source's left is added before rounding: from 1 the halves fall the other way.
      {{0, 0, 7, 1}, {1, 0, 5, 1}, {11, 12, 12, 12, 13, 14, 14}},
      {{0, 0, 7, 1}, {3, 0, 4, 1}, {13, 13, 13, 13, 13, 13, 13}},  // one column everywhere
      {{2, 0, 3, 1}, {1, 0, 5, 1}, {0, 0, 12, 0, 0, 0, 0}},        // 1 wide: (1 + 5 - 1) div 2
      {{0, 0, 3, 1}, {0, 0, 6, 1}, {10, 12, 15, 0, 0, 0, 0}},      // shrinking: 0, 2.5, 5
      // Cut by the target on the left: columns still count from the destination's left.
      {{-3, 0, 4, 1}, {2, 0, 6, 1}, {14, 14, 14, 15, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    TseBitmap target;
    target.SetSize(7, 1);
    src->Draw(target, c.dest, c.source);
    EXPECT_EQ(RowOf(target, 0), c.row) << c.dest.Left << ".." << c.dest.Right;
  }
}

TEST(BitmapDrawTest, StretchedRowsInEveryMode) {
  // Two rows to five: rows 0, 0 (0.25), 0 (0.5), 1 (0.75), 1; two columns to three: 0, 0 (0.5), 1.
  const std::vector<TseColor> rows = {0xFF000001, 0xFF000002, K, 0xFF000004};
  for (bool keyed : {false, true}) {
    auto src = Picture(2, rows);
    if (!keyed) src->SetHasKey(false);
    TseBitmap target;
    target.SetSize(3, 5);
    target.Fill(kBack);
    src->Draw(target, TRect(0, 0, 3, 5), TRect(0, 0, 2, 2));
    const TseColor hidden = keyed ? kBack : K;
    const std::vector<TseColor> top = {0xFF000001, 0xFF000001, 0xFF000002};
    const std::vector<TseColor> bottom = {hidden, hidden, 0xFF000004};
    const std::vector<std::vector<TseColor>> expected = {top, top, top, bottom, bottom};
    for (int y = 0; y < 5; ++y) EXPECT_EQ(RowOf(target, y), expected[size_t(y)]) << keyed << " row " << y;
  }
}

TEST(BitmapDrawTest, RegisteredBitmapContextHonoursItsWindowOrigin) {
  auto src = Picture(2, {0xFF0000AA, 0xFF0000BB});
  TseBitmap target;
  target.SetSize(4, 3);
  SetWindowOrgEx(target.DC(), 10, 5, nullptr);
  src->Draw(target.DC(), 11, 7);
  EXPECT_EQ(RowOf(target, 2), (std::vector<TseColor>{0, 0xFF0000AA, 0xFF0000BB, 0}));
  TCanvas canvas;
  canvas.SetHandle(target.DC());
  src->Draw(canvas, TRect(10, 5, 14, 6), TRect(0, 0, 2, 1));
  EXPECT_EQ(RowOf(target, 0), (std::vector<TseColor>{0xFF0000AA, 0xFF0000AA, 0xFF0000BB, 0xFF0000BB}));
}

TEST(BitmapDrawTest, BottomUpSectionIsDrawnThroughItsPixels) {
  BITMAPINFO info;
  info.bmiHeader.biWidth = 3;
  info.bmiHeader.biHeight = 2;  // bottom row first in memory
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
  ASSERT_TRUE(section);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, HGDIOBJ(section));
  SetWindowOrgEx(dc, 1, 0, nullptr);
  // Blended, so a blit would not give these bytes: the lane formula works on the memory itself.
  auto src = Picture(2, {0x80FF0000, 0xFF00FF00});
  src->Draw(dc, 2, 0);
  const auto* memory = static_cast<const TseColor*>(bits);
  const TseColor mixed = UsingLaneBlend() ? 0x407F0000 : 0xFF7F0000;  // lanes mix alpha too
  EXPECT_EQ((std::vector<TseColor>(memory + 3, memory + 6)), (std::vector<TseColor>{0, mixed, 0xFF00FF00}));
  EXPECT_EQ((std::vector<TseColor>(memory, memory + 3)), (std::vector<TseColor>{0, 0, 0}));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(section);
}

// A window's context, as an unbuffered frame paints: the platform's blits.
class BitmapWindowDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_screen = THeadlessScreen::Create({100, 60});
    WNDCLASS cls;
    cls.lpszClassName = "bitmapDrawTest";
    RegisterClass(cls);
    m_window = CreateWindowEx(0, "bitmapDrawTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 10, nullptr);
    m_dc = GetWindowDC(m_window);
    HBRUSH brush = CreateSolidBrush(RGB(0x10, 0x20, 0x30));
    FillRect(m_dc, {0, 0, 20, 10}, brush);
    DeleteObject(brush);
  }
  void TearDown() override {
    ReleaseDC(m_window, m_dc);
    DestroyWindow(m_window);
  }
  std::vector<COLORREF> Row(int y, int count) {
    std::vector<COLORREF> row;
    for (int x = 0; x < count; ++x) row.push_back(GetPixel(m_dc, x, y));
    return row;
  }

  std::unique_ptr<THeadlessScreen> m_screen;
  HWND m_window;
  HDC m_dc;
};

TEST_F(BitmapWindowDrawTest, KeyedGoesThroughTheTransparentBlit) {
  auto src = Picture(4, {0xFF0000A0, K, 0xFF0000A2, 0xFF0000A3});
  ASSERT_EQ(src->DrawMode(), TseBitmap::TDrawMode::Keyed);
  src->Draw(m_dc, TRect(0, 0, 7, 1), TRect(0, 0, 4, 1));
  // The platform's stretch samples pixel centres (0, 0, 1, 2, 2, 3, 3), not the bitmap
  // library's rounding (its sixth column would be 2): the transparent blit drew this.
  const COLORREF back = RGB(0x10, 0x20, 0x30);
  EXPECT_EQ(Row(0, 8), (std::vector<COLORREF>{RGB(0, 0, 0xA0), RGB(0, 0, 0xA0), back, RGB(0, 0, 0xA2),
                                              RGB(0, 0, 0xA2), RGB(0, 0, 0xA3), RGB(0, 0, 0xA3), back}));
}

TEST_F(BitmapWindowDrawTest, BlendedGoesThroughATemporaryBitmap) {
  auto src = Picture(2, {0x80FFFFFF, 0x00FFFFFF, 0xFF0000FF, 0x40000000});
  ASSERT_EQ(src->DrawMode(), TseBitmap::TDrawMode::Blend);
  SetWindowOrgEx(m_dc, -1, 0, nullptr);  // logical (0, 0) is the window's (1, 0)
  src->Draw(m_dc, 18, 0);                // its right column falls outside the window
  SetWindowOrgEx(m_dc, 0, 0, nullptr);
  const COLORREF back = RGB(0x10, 0x20, 0x30);
  // Lanes: 0x10 + 0x80 * (0xFF - 0x10) / 256 = 0x87, 0x20 -> 0x8F, 0x30 -> 0x97; scalar:
  // (0xFF * 128 + c * 127) div 256 gives 0x87, 0x8F, 0x97 as well.
  EXPECT_EQ(GetPixel(m_dc, 19, 0), RGB(0x87, 0x8F, 0x97));
  EXPECT_EQ(GetPixel(m_dc, 19, 1), RGB(0, 0, 0xFF));
  EXPECT_EQ(GetPixel(m_dc, 18, 0), back);
}

TEST_F(BitmapWindowDrawTest, CopyStretchesThroughTheBlit) {
  auto src = Picture(2, {0xFF0000A0, 0xFF0000A1});
  ASSERT_EQ(src->DrawMode(), TseBitmap::TDrawMode::Copy);
  src->Draw(m_dc, TRect(0, 0, 4, 1), TRect(0, 0, 2, 1));
  EXPECT_EQ(Row(0, 5), (std::vector<COLORREF>{RGB(0, 0, 0xA0), RGB(0, 0, 0xA0), RGB(0, 0, 0xA1),
                                              RGB(0, 0, 0xA1), RGB(0x10, 0x20, 0x30)}));
}

TEST(BitmapDrawTest, TileRepeatsAndCutsTheLastTiles) {
  auto src = Picture(3, {1, 2, 3, 4, 5, 6});  // the part (1, 0, 3, 2) is 2 x 2: 2 3 / 5 6
  TseBitmap target;
  target.SetSize(6, 4);
  target.Fill(9);
  src->Tile(target.DC(), {1, 1, 6, 4}, {1, 0, 3, 2});
  const std::vector<std::vector<TseColor>> expected = {
      {9, 9, 9, 9, 9, 9}, {9, 2, 3, 2, 3, 2}, {9, 5, 6, 5, 6, 5}, {9, 2, 3, 2, 3, 2}};
  for (int y = 0; y < 4; ++y) EXPECT_EQ(RowOf(target, y), expected[size_t(y)]) << "row " << y;
}

// Tiling as one draw per tile that meets the clip box, each tile cut by dest: what Tile must give.
void TileOneByOne(const TseBitmap& image, HDC dc, const TRect& dest, const TRect& source) {
  const int tw = source.Right - source.Left, th = source.Bottom - source.Top;
  TRect box, visible;
  GetClipBox(dc, &box);
  if (!IntersectRect(visible, dest, box)) return;
  for (int y = dest.Top + (visible.Top - dest.Top) / th * th; y < visible.Bottom; y += th)
    for (int x = dest.Left + (visible.Left - dest.Left) / tw * tw; x < visible.Right; x += tw)
      image.Draw(dc, x, y,
                 {source.Left, source.Top, source.Left + std::min(tw, dest.Right - x),
                  source.Top + std::min(th, dest.Bottom - y)});
}

// Tile lays the tiles out in memory and draws them once; every pixel must be the one a draw per
// tile gives: each mode, on a bitmap's context (window origin moved, clipped) and on a window
// (the platform's blits), with tiles cut at every edge and a dest far larger than the clip.
TEST_F(BitmapWindowDrawTest, TilingInOneDrawGivesThePixelsOfOneDrawPerTile) {
  const std::vector<TseColor> opaque = {0xFF0000A0, 0xFF00B000, 0xFFC00000, 0xFF0000A3, 0xFF1000A4, 0xFF2000A5,
                                        0xFF3000A6, 0xFF4000A7, 0xFF5000A8, 0xFF6000A9, 0xFF7000AA, 0xFF8000AB};
  std::vector<TseColor> keyed = opaque, blended = opaque;
  keyed[1] = keyed[6] = K;
  blended[2] = 0x80FF0000;
  blended[5] = 0x00000000;
  std::vector<std::unique_ptr<TseBitmap>> sources;
  for (const std::vector<TseColor>& pixels : {opaque, keyed, blended}) sources.push_back(Picture(4, pixels));
  ASSERT_EQ(sources[1]->DrawMode(), TseBitmap::TDrawMode::Keyed);
  ASSERT_EQ(sources[2]->DrawMode(), TseBitmap::TDrawMode::Blend);
  struct Case {
    TRect dest, source, clip;
  };
  const Case cases[] = {
      {{1, 1, 18, 9}, {1, 0, 3, 2}, {0, 0, 20, 10}},
      {{0, 0, 20, 10}, {0, 0, 3, 3}, {3, 2, 14, 7}},
      {{-5, -4, 17, 8}, {1, 1, 4, 3}, {2, 1, 19, 9}},
      {{-1000003, -7, 1000000, 1000000}, {0, 0, 4, 3}, {1, 1, 15, 8}},
      {{2, 2, 4, 3}, {0, 0, 4, 3}, {0, 0, 20, 10}},  // less than one tile
      {{2, 2, 12, 8}, {0, 0, 1, 1}, {0, 0, 20, 10}},
  };
  TseBitmap target;
  target.SetSize(20, 10);
  const auto paint = [&](HDC dc, bool bitmap, const Case& c, const TseBitmap& image, bool oneByOne) {
    if (bitmap)
      for (int i = 0; i < 200; ++i) target.SetPixel(i % 20, i / 20, 0xFF000000u | TseColor(i * 0x010203));
    else
      sources[0]->Draw(dc, {0, 0, 20, 10}, {0, 0, 4, 3});
    TDCStateSaver saver(dc);
    if (bitmap) SetWindowOrgEx(dc, -1, 2, nullptr);
    IntersectClipRect(dc, c.clip.Left, c.clip.Top, c.clip.Right, c.clip.Bottom);
    if (oneByOne)
      TileOneByOne(image, dc, c.dest, c.source);
    else
      image.Tile(dc, c.dest, c.source);
  };
  const auto pixels = [&](HDC dc, bool bitmap) {
    std::vector<TseColor> out;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) out.push_back(bitmap ? target.Pixel(x, y) : TseColor(GetPixel(dc, x, y)));
    return out;
  };
  for (const bool bitmap : {true, false}) {
    const HDC dc = bitmap ? target.DC() : m_dc;
    for (const auto& image : sources)
      for (const Case& c : cases) {
        paint(dc, bitmap, c, *image, true);
        const std::vector<TseColor> expected = pixels(dc, bitmap);
        paint(dc, bitmap, c, *image, false);
        EXPECT_EQ(pixels(dc, bitmap), expected)
            << (bitmap ? "bitmap " : "window ") << int(image->DrawMode()) << " dest " << c.dest.Left << ","
            << c.dest.Top << " source " << c.source.Right << "x" << c.source.Bottom << " clip " << c.clip.Left;
      }
  }
}

TEST(BitmapAssignTest, FromBitmapsAndGraphicsEveryPixelOpaque) {
  TBitmap platform(3, 2);
  platform.ScanLine(1)[2] = 0x00ABCDEF;
  TseBitmap b;
  b.Assign(platform);
  ASSERT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Pixel(2, 1), 0xFFABCDEFu);  // the last pixel too
  EXPECT_EQ(b.Pixel(0, 0), 0xFFFFFFFFu);

  TseBitmap copy;
  b.SetPixel(0, 0, 0x80000000);
  b.CheckAlpha();
  copy.Assign(b);
  EXPECT_EQ(copy.Pixel(0, 0), 0xFF000000u);
  EXPECT_FALSE(copy.HasAlpha());  // flags are not copied

  // Another graphic: what it leaves uncovered (over magenta) is not taken.
  TIcon icon;
  const std::uint32_t pixels[2] = {0xFFFF0000, 0x00000000};
  icon.SetPixels(2, 1, pixels);
  TPicture picture;
  picture.SetGraphic(&icon);
  TseBitmap fromIcon;
  fromIcon.Assign(picture);
  EXPECT_EQ(RowOf(fromIcon, 0), (std::vector<TseColor>{0xFFFF0000, 0xFF000000}));

  TPicture empty;
  fromIcon.Assign(empty);
  EXPECT_TRUE(fromIcon.IsEmpty());
  TFont font;
  EXPECT_THROW(fromIcon.Assign(font), EConvertError);
}

TEST(BitmapAssignTest, ToABitmapAndAPicture) {
  auto src = Picture(2, {0xFF112233, K});
  TBitmap platform;
  platform.Assign(*src);
  ASSERT_EQ(platform.Width(), 2);
  EXPECT_EQ(platform.ScanLine(0)[0] & 0xFFFFFF, 0x112233u);
  EXPECT_EQ(platform.ScanLine(0)[1] & 0xFFFFFF, 0xFFFFFFu);  // keyed: the new white shows
  TPicture picture;
  picture.Assign(*src);
  ASSERT_TRUE(picture.Bitmap());
  EXPECT_EQ(picture.Width(), 2);
}

}  // namespace
}  // namespace vandrel::test
