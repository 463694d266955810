#include "framework/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/PropertyInfo.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObject.h"

namespace vandrel {

namespace {
// Beyond this a BMP header is taken as damaged rather than as a request for gigabytes.
constexpr int kMaxDimension = 32768;
constexpr std::int64_t kMaxLoadedPixels = 64ll << 20;

std::uint32_t Le32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
}  // namespace

const TClassInfo& TBitmap::StaticClassInfo() {
  static const TClassInfo info("TBitmap", &TGraphic::StaticClassInfo(), nullptr, {});
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() { FreeImage(); }

void TBitmap::FreeImage() {
  if (m_canvas) m_canvas->SetHandle(HDC());
  if (m_dc) DeleteDC(m_dc);
  m_dc = HDC();
  if (m_handle) DeleteObject(m_handle);
  m_handle = HBITMAP();
  m_width = m_height = 0;
}

HDC TBitmap::SourceDC() const {
  if (!m_dc && m_handle) {
    m_dc = CreateCompatibleDC(HDC());
    SelectObject(m_dc, m_handle);
  }
  return m_dc;
}

std::shared_ptr<TSurface> TBitmap::Surface() const { return m_handle ? GetBitmapSurface(m_handle) : nullptr; }

std::uint32_t* TBitmap::ScanLine(int y) const {
  auto s = Surface();
  if (!s || y < 0 || y >= m_height) throw EInvalidArgument("Scan line index out of range");
  return s->Row(y);
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == m_width && height == m_height) return;
  if (width > kMaxDimension || height > kMaxDimension) throw EInvalidGraphic("Bitmap size too large");
  std::shared_ptr<TSurface> old = Surface();
  int oldW = m_width, oldH = m_height;
  auto keep = old;  // the pixels survive FreeImage through this reference
  FreeImage();
  if (width > 0 && height > 0) {
    BITMAPINFO bi;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    void* bits = nullptr;
    m_handle = CreateDIBSection(HDC(), &bi, DIB_RGB_COLORS, &bits);
    if (!m_handle) throw EOutOfResources("Out of system resources");
    m_width = width;
    m_height = height;
    auto s = Surface();
    s->Fill(PixelFromRGB(255, 255, 255));
    if (keep)
      for (int y = 0; y < std::min(oldH, height); ++y)
        std::memcpy(s->Row(y), keep->Row(y), size_t(std::min(oldW, width)) * 4);
  }
  if (m_canvas) m_canvas->SetHandle(SourceDC());
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!m_canvas) m_canvas = std::make_unique<TCanvas>();
  if (!m_canvas->HandleAllocated()) m_canvas->SetHandle(SourceDC());
  return m_canvas.get();
}

TColor TBitmap::TransparentColor() const {
  if (m_transparentMode == tmFixed && m_transparentColor != clDefault) return m_transparentColor;
  if (Empty()) return clDefault;
  return TColor(ColorFromPixel(Surface()->Pixel(0, m_height - 1)));
}

void TBitmap::SetTransparentColor(TColor color) {
  m_transparentColor = color;
  m_transparentMode = color == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::Assign(const TPersistent& source) {
  if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
    if (b == this) return;
    FreeImage();
    if (!b->Empty()) {
      SetSize(b->Width(), b->Height());
      auto dst = Surface();
      auto src = b->Surface();
      for (int y = 0; y < m_height; ++y) std::memcpy(dst->Row(y), src->Row(y), size_t(m_width) * 4);
    }
    m_transparentColor = b->m_transparentColor;
    m_transparentMode = b->m_transparentMode;
    SetTransparent(b->Transparent());
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(&source)) {
    FreeImage();
    SetSize(g->Width(), g->Height());
    if (!Empty()) Canvas()->StretchDraw(Rect(0, 0, m_width, m_height), *g);
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) const {
  if (Empty()) return;
  HDC dst = canvas.Handle();
  if (Transparent()) {
    TransparentBlt(dst, r.Left, r.Top, r.Width(), r.Height(), SourceDC(), 0, 0, m_width, m_height,
                   ColorToRGB(TransparentColor()));
  } else {
    StretchBlt(dst, r.Left, r.Top, r.Width(), r.Height(), SourceDC(), 0, 0, m_width, m_height, SRCCOPY);
  }
}

void TBitmap::LoadFromStream(TStream& stream) {
  std::uint8_t fh[14];
  if (stream.Read(fh, 14) != 14 || fh[0] != 'B' || fh[1] != 'M') throw EInvalidGraphic("Bitmap image is not valid");
  std::uint32_t offBits = Le32(fh + 10);
  std::uint8_t ih[40];
  if (stream.Read(ih, 4) != 4) throw EInvalidGraphic("Bitmap image is not valid");
  std::uint32_t headerSize = Le32(ih);
  if (headerSize < 40 || headerSize > 256) throw EInvalidGraphic("Bitmap image is not valid");
  if (stream.Read(ih + 4, 36) != 36) throw EInvalidGraphic("Bitmap image is not valid");
  std::int32_t width = std::int32_t(Le32(ih + 4));
  std::int32_t height = std::int32_t(Le32(ih + 8));
  int bpp = Le16(ih + 14);
  std::uint32_t compression = Le32(ih + 16);
  std::uint32_t colorsUsed = Le32(ih + 32);
  bool topDown = height < 0;
  if (height == INT32_MIN) throw EInvalidGraphic("Bitmap image is not valid");
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension)
    throw EInvalidGraphic("Bitmap image is not valid");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
    throw EInvalidGraphic("Unsupported bitmap format: " + std::to_string(bpp) + " bits per pixel");
  // BI_BITFIELDS with 32 bits is taken as the usual blue, green, red, alpha order.
  if (compression != 0 && !(compression == 3 && bpp == 32))
    throw EInvalidGraphic("Unsupported bitmap format: compressed image");
  // Skip the rest of a longer header.
  if (headerSize > 40) stream.ReadBytes(headerSize - 40);

  std::vector<std::uint32_t> palette;
  if (bpp <= 8) {
    std::uint32_t count = colorsUsed ? colorsUsed : (1u << bpp);
    if (count > 256) throw EInvalidGraphic("Bitmap image is not valid");
    std::vector<std::uint8_t> pal(count * 4);
    if (stream.Read(pal.data(), std::int64_t(pal.size())) != std::int64_t(pal.size()))
      throw EInvalidGraphic("Bitmap image is not valid");
    for (std::uint32_t i = 0; i < count; ++i) palette.push_back(PixelFromRGB(pal[i * 4 + 2], pal[i * 4 + 1], pal[i * 4]));
  }
  std::int64_t start = stream.Position();
  std::int64_t streamStart = start - 14 - std::int64_t(headerSize) - std::int64_t(palette.size()) * 4;
  if (offBits >= 14 + headerSize) stream.SetPosition(streamStart + offBits);

  if (std::int64_t(width) * height > kMaxLoadedPixels) throw EInvalidGraphic("Bitmap image is too large");
  std::int64_t stride = ((std::int64_t(width) * bpp + 31) / 32) * 4;
  // A header that promises more rows than the stream holds must not cost the memory first.
  if (stride * height > stream.Size() - stream.Position()) throw EInvalidGraphic("Bitmap image is truncated");
  std::vector<std::uint8_t> data(size_t(stride * height));
  if (stream.Read(data.data(), std::int64_t(data.size())) != std::int64_t(data.size()))
    throw EInvalidGraphic("Bitmap image is truncated");

  TBitmap tmp(width, height);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = data.data() + (topDown ? y : height - 1 - y) * stride;
    std::uint32_t* out = tmp.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      std::uint32_t px;
      switch (bpp) {
        case 32:
          px = Le32(row + x * 4);
          anyAlpha |= (px >> 24) != 0;
          break;
        case 24: px = PixelFromRGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
        default: {
          int perByte = 8 / bpp;
          int byte = row[x / perByte];
          int shift = (perByte - 1 - x % perByte) * bpp;
          size_t index = size_t((byte >> shift) & ((1 << bpp) - 1));
          px = index < palette.size() ? palette[index] : 0;
        }
      }
      out[x] = px;
    }
  }
  (void)anyAlpha;
  Assign(tmp);
}

void TBitmap::ReadData(TStream& stream) {
  std::vector<std::uint8_t> bytes = ReadSizedData(stream, "Bitmap");
  // Transparency is the holder's setting, not part of the stored pixels.
  const TColor color = m_transparentColor;
  const TTransparentMode mode = m_transparentMode;
  const bool transparent = Transparent();
  if (bytes.empty()) {
    Assign(TBitmap());
  } else {
    TReadOnlyMemoryStream image(bytes.data(), std::int64_t(bytes.size()));
    LoadFromStream(image);
  }
  m_transparentColor = color;
  m_transparentMode = mode;
  SetTransparent(transparent);
}

void TBitmap::WriteData(TStream& stream) const {
  TMemoryStream image;
  SaveToStream(image);
  WriteSizedData(stream, image.Bytes());
}

void TBitmap::SaveToStream(TStream& stream) const {
  std::vector<std::uint8_t> out;
  std::uint32_t imageSize = std::uint32_t(m_width) * std::uint32_t(m_height) * 4;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 14 + 40 + imageSize);
  Put32(out, 0);
  Put32(out, 14 + 40);
  Put32(out, 40);
  Put32(out, std::uint32_t(m_width));
  Put32(out, std::uint32_t(-m_height));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, imageSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = 0; y < m_height; ++y) {
    const std::uint32_t* row = ScanLine(y);
    for (int x = 0; x < m_width; ++x) Put32(out, row[x]);
  }
  stream.WriteBuffer(out.data(), std::int64_t(out.size()));
}

}  // namespace vandrel
