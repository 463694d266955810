#include "platform/gdi/Bitmap.h"

#include <cstring>

#include "platform/core/Exception.h"

namespace vandrel {

namespace {
HBITMAP Register(std::shared_ptr<TSurface> surface, TBitmapObject::TKind kind) {
  auto object = std::make_shared<TBitmapObject>(std::move(surface), kind);
  return HBITMAP(TGdiObjectTable::Instance().Add(std::move(object)));
}

std::shared_ptr<TSurface> MakeSurface(int width, int height, bool bottomUp) {
  try {
    return std::make_shared<TSurface>(width, height, bottomUp);
  } catch (const Exception&) {
    return nullptr;
  }
}
}  // namespace

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits) {
  if (bits) *bits = nullptr;
  if (!info) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
      h.biHeight == INT32_MIN)
    return nullptr;
  auto surface = MakeSurface(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, h.biHeight > 0);
  if (!surface) return nullptr;
  if (bits) *bits = surface->Bits();
  return Register(std::move(surface), TBitmapObject::TKind::DibSection);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  auto surface = MakeSurface(width, height, false);
  if (!surface) return nullptr;
  return Register(std::move(surface), TBitmapObject::TKind::DeviceDependent);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) return nullptr;
  auto surface = MakeSurface(width, height, false);
  if (!surface) return nullptr;
  if (bitsPerPixel == 1) {
    // Monochrome pixels are kept as black and white; a pattern brush maps them to the text and
    // background colours when it is used.
    const auto* src = static_cast<const std::uint8_t*>(bits);
    int rowBytes = ((width + 15) / 16) * 2;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        bool white = src && (src[y * rowBytes + x / 8] & (0x80 >> (x % 8)));
        surface->Row(y)[x] = white ? 0x00FFFFFF : 0;
      }
    return Register(std::move(surface), TBitmapObject::TKind::Monochrome);
  }
  if (bits)
    for (int y = 0; y < height; ++y)
      std::memcpy(surface->Row(y), static_cast<const std::uint32_t*>(bits) + size_t(y) * width,
                  size_t(width) * 4);
  return Register(std::move(surface), TBitmapObject::TKind::DeviceDependent);
}

int GetObject(HBITMAP bitmap, int size, void* out) {
  auto* b = LookupObject<TBitmapObject>(bitmap.Value());
  if (!b || !out) return 0;
  const TSurface& s = *b->Surface();
  BITMAP bm;
  bm.bmWidth = s.Width();
  bm.bmHeight = s.Height();
  bool mono = b->Kind() == TBitmapObject::TKind::Monochrome;
  bm.bmBitsPixel = mono ? 1 : 32;
  bm.bmWidthBytes = mono ? ((s.Width() + 15) / 16) * 2 : s.StrideBytes();
  bool dib = b->Kind() == TBitmapObject::TKind::DibSection;
  bm.bmBits = dib ? s.Bits() : nullptr;
  if (size >= int(sizeof(DIBSECTION)) && dib) {
    DIBSECTION ds;
    ds.dsBm = bm;
    ds.dsBmih.biWidth = s.Width();
    ds.dsBmih.biHeight = s.BottomUp() ? s.Height() : -s.Height();
    ds.dsBmih.biSizeImage = DWORD(s.StrideBytes()) * DWORD(s.Height());
    *static_cast<DIBSECTION*>(out) = ds;
    return int(sizeof(DIBSECTION));
  }
  if (size < int(sizeof(BITMAP))) return 0;
  *static_cast<BITMAP*>(out) = bm;
  return int(sizeof(BITMAP));
}

TSize GetBitmapDimension(HBITMAP bitmap) {
  auto* b = LookupObject<TBitmapObject>(bitmap.Value());
  if (!b) return {};
  return {b->Surface()->Width(), b->Surface()->Height()};
}

std::shared_ptr<TSurface> GetBitmapSurface(HBITMAP bitmap) {
  auto* b = LookupObject<TBitmapObject>(bitmap.Value());
  return b ? b->Surface() : nullptr;
}

}  // namespace vandrel
