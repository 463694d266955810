// Pictures: JPEG decoding (and refusing damaged data), BMP round trips, the picture's choice of
// graphic, the stretched image control, canvas tools and the image list's two looks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ControlsTestSupport.h"
#include "framework/Bitmap.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/JpegImage.h"
#include "framework/Picture.h"

// After the platform headers: it defines TRUE and FALSE as macros.
#include <jpeglib.h>

namespace vandrel::test {
namespace {

// A JPEG of w x h whose left half is red and right half blue.
std::vector<std::uint8_t> MakeJpeg(int w, int h) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<std::uint8_t> row(size_t(w) * 3);
  for (int x = 0; x < w; ++x) {
    bool left = x < w / 2;
    row[size_t(x) * 3] = left ? 255 : 0;
    row[size_t(x) * 3 + 1] = 0;
    row[size_t(x) * 3 + 2] = left ? 0 : 255;
  }
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<std::uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

bool Near(std::uint32_t pixel, int r, int g, int b) {
  auto close = [](int a, int e) { return std::abs(a - e) <= 24; };
  return close(int((pixel >> 16) & 0xFF), r) && close(int((pixel >> 8) & 0xFF), g) && close(int(pixel & 0xFF), b);
}

TEST(JpegTest, DecodesIntoPixels) {
  TJPEGImage jpeg;
  auto bytes = MakeJpeg(64, 16);
  jpeg.LoadFromBytes(bytes);
  ASSERT_EQ(jpeg.Width(), 64);
  ASSERT_EQ(jpeg.Height(), 16);
  EXPECT_TRUE(Near(jpeg.Bitmap().ScanLine(8)[4], 255, 0, 0));
  EXPECT_TRUE(Near(jpeg.Bitmap().ScanLine(8)[60], 0, 0, 255));
  TMemoryStream saved;
  jpeg.SaveToStream(saved);
  EXPECT_EQ(saved.Bytes(), bytes);  // kept unchanged
}

TEST(JpegTest, DamagedOrForeignDataRaisesAndKeepsThePicture) {
  auto good = MakeJpeg(32, 32);
  TJPEGImage jpeg;
  jpeg.LoadFromBytes(good);
  std::vector<std::vector<std::uint8_t>> bad;
  // Cut at every size from the header on, one byte in ten to keep the run short.
  for (size_t n = 0; n + 2 < good.size(); n += 10) bad.emplace_back(good.begin(), good.begin() + std::ptrdiff_t(n));
  auto flipped = good;
  for (size_t i = good.size() / 3; i < good.size() - 2; i += 7) flipped[i] ^= 0x5A;
  bad.push_back(flipped);
  bad.push_back({'B', 'M', 0, 0, 0, 0});
  bad.push_back({0xFF, 0xD8, 0xFF});
  for (const auto& data : bad) {
    EXPECT_THROW(jpeg.LoadFromBytes(data), EInvalidGraphic) << data.size() << " bytes";
    EXPECT_EQ(jpeg.Width(), 32);
  }
  TMemoryStream empty;
  EXPECT_THROW(jpeg.LoadFromStream(empty), EReadError);
}

TEST(PictureTest, ChoosesTheGraphicByContentAndRoundTripsBitmaps) {
  TBitmap bmp(3, 2);
  bmp.ScanLine(0)[0] = PixelFromRGB(10, 20, 30);
  bmp.ScanLine(1)[2] = PixelFromRGB(200, 100, 50);
  TMemoryStream stream;
  bmp.SaveToStream(stream);
  stream.SetPosition(0);
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TPicture*) { ++changes; };
  picture.LoadFromStream(stream);
  auto* loaded = dynamic_cast<TBitmap*>(picture.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->ScanLine(0)[0] & 0xFFFFFF, PixelFromRGB(10, 20, 30));
  EXPECT_EQ(loaded->ScanLine(1)[2] & 0xFFFFFF, PixelFromRGB(200, 100, 50));
  EXPECT_GE(changes, 1);

  TMemoryStream jpeg(MakeJpeg(8, 8));
  picture.LoadFromStream(jpeg);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  TMemoryStream junk(std::vector<std::uint8_t>{'G', 'I', 'F', '8', '9', 'a'});
  EXPECT_THROW(picture.LoadFromStream(junk), EInvalidGraphic);
  EXPECT_EQ(picture.Width(), 8);  // still the JPEG
}

TEST(BitmapTest, DamagedBmpHeadersAreRefused) {
  TBitmap bmp(2, 2);
  TMemoryStream good;
  bmp.SaveToStream(good);
  std::vector<std::uint8_t> bytes = good.Bytes();
  auto patched = [&](size_t at, std::uint32_t v) {
    auto b = bytes;
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = std::uint8_t(v >> (8 * i));
    return b;
  };
  const std::vector<std::vector<std::uint8_t>> bad = {
      patched(18, 0),                            // width 0
      patched(18, 0x7FFFFFFF),                   // absurd width
      patched(22, 0x80000000),                   // height INT_MIN
      patched(28, 16),                           // 16 bits per pixel
      std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 3),  // pixels cut off
  };
  for (const auto& b : bad) {
    TMemoryStream s(b);
    TBitmap target(5, 5);
    EXPECT_THROW(target.LoadFromStream(s), EInvalidGraphic);
    EXPECT_EQ(target.Width(), 5);
  }
}

TEST_F(ControlsTest, ImageStretchesItsPictureOverTheControl) {
  TForm* form = NewForm(100, 100, 200, 100);
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(10, 10, 40, 20);
  image->SetStretch(true);
  TBitmap two(2, 1);
  two.ScanLine(0)[0] = PixelFromRGB(255, 0, 0);
  two.ScanLine(0)[1] = PixelFromRGB(0, 0, 255);
  image->Picture()->SetGraphic(&two);
  form->Show();
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(110, 110), 0xFF0000u);
  EXPECT_EQ(m_screen->ScreenPixel(129, 129), 0xFF0000u);
  EXPECT_EQ(m_screen->ScreenPixel(130, 110), 0x0000FFu);
  EXPECT_EQ(m_screen->ScreenPixel(149, 129), 0x0000FFu);
}

TEST(CanvasTest, ClearAndPatternBrushes) {
  TBitmap bmp(16, 16);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 16, 16));
  c->Brush()->SetStyle(bsClear);
  c->FillRect(Rect(0, 0, 8, 8));  // a clear brush fills nothing
  EXPECT_EQ(bmp.ScanLine(2)[2] & 0xFFFFFF, PixelFromRGB(255, 0, 0));
  c->Brush()->SetStyle(bsCross);
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(0, 0, 16, 16));
  int blue = 0;
  for (int x = 0; x < 16; ++x) blue += (bmp.ScanLine(4)[x] & 0xFFFFFF) == PixelFromRGB(0, 0, 255);
  EXPECT_EQ(blue, 16);  // the cross's horizontal stroke
  c->Brush()->SetColor(clWhite);  // a colour makes a hatched brush stay hatched
  EXPECT_EQ(c->Brush()->Style(), bsCross);
  c->Lock();
  EXPECT_EQ(c->LockCount(), 1);
  c->Unlock();
}

TEST(ImageListTest, DrawsMaskedAndDisabledImages) {
  TImageList list(nullptr);
  std::vector<std::uint32_t> px(256, 0);  // transparent ...
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) px[size_t(y * 16 + x)] = 0xFF000000;  // ... with a black square
  EXPECT_EQ(list.AddPixels(px.data()), 0);
  TBitmap bmp(20, 20);
  bmp.Canvas()->Brush()->SetColor(clWhite);
  bmp.Canvas()->FillRect(Rect(0, 0, 20, 20));
  list.Draw(*bmp.Canvas(), 0, 0, 0, true);
  EXPECT_EQ(bmp.ScanLine(2)[2] & 0xFFFFFF, 0xFFFFFFu);  // masked out
  EXPECT_EQ(bmp.ScanLine(6)[6] & 0xFFFFFF, 0x000000u);
  bmp.Canvas()->FillRect(Rect(0, 0, 20, 20));
  list.Draw(*bmp.Canvas(), 0, 0, 0, false);
  EXPECT_EQ(bmp.ScanLine(6)[6] & 0xFFFFFF, PixelFromColor(ColorToRGB(clBtnShadow)) & 0xFFFFFF);
  EXPECT_EQ(bmp.ScanLine(12)[12] & 0xFFFFFF, PixelFromColor(ColorToRGB(clBtnHighlight)) & 0xFFFFFF);
  list.Draw(*bmp.Canvas(), 0, 0, 7, true);  // out of range: nothing
  EXPECT_THROW(list.Delete(3), EListError);
}

}  // namespace
}  // namespace vandrel::test
