#include "platform/gdi/Icon.h"

#include <cstring>
#include <memory>

#include "platform/core/Exception.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/SystemMetrics.h"

namespace vandrel {

namespace {
HICON Register(std::shared_ptr<TSurface> pixels, TPoint hotspot, bool isIcon) {
  return HICON(TGdiObjectTable::Instance().Add(
      std::make_shared<TIconObject>(std::move(pixels), hotspot, isIcon)));
}

std::shared_ptr<TSurface> MakeSurface(int width, int height) {
  try {
    return std::make_shared<TSurface>(width, height);
  } catch (const Exception&) {
    return nullptr;
  }
}

std::uint32_t Read32(std::span<const std::uint8_t> d, size_t at) {
  if (at + 4 > d.size()) throw EReadError("Damaged icon data");
  return std::uint32_t(d[at]) | (std::uint32_t(d[at + 1]) << 8) | (std::uint32_t(d[at + 2]) << 16) |
         (std::uint32_t(d[at + 3]) << 24);
}
std::uint16_t Read16(std::span<const std::uint8_t> d, size_t at) {
  if (at + 2 > d.size()) throw EReadError("Damaged icon data");
  return std::uint16_t(d[at] | (d[at + 1] << 8));
}
}  // namespace

HICON CreateIconFromPixels(int width, int height, const std::uint32_t* argb) {
  auto surface = MakeSurface(width, height);
  if (!surface) return nullptr;
  if (argb)
    for (int y = 0; y < height; ++y)
      std::memcpy(surface->Row(y), argb + size_t(y) * size_t(width), size_t(width) * 4);
  return Register(std::move(surface), {width / 2, height / 2}, true);
}

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info) return nullptr;
  auto color = GetBitmapSurface(info->hbmColor);
  auto mask = GetBitmapSurface(info->hbmMask);
  if (!color) return nullptr;
  auto surface = MakeSurface(color->Width(), color->Height());
  if (!surface) return nullptr;
  bool anyAlpha = false;
  for (int y = 0; y < color->Height() && !anyAlpha; ++y)
    for (int x = 0; x < color->Width(); ++x)
      if (color->Row(y)[x] >> 24) {
        anyAlpha = true;
        break;
      }
  for (int y = 0; y < color->Height(); ++y)
    for (int x = 0; x < color->Width(); ++x) {
      std::uint32_t p = color->Row(y)[x];
      if (!anyAlpha) {
        bool transparent = mask && (mask->Pixel(x, y) & 0xFFFFFF);
        p = (p & 0xFFFFFF) | (transparent ? 0u : 0xFF000000u);
      }
      surface->Row(y)[x] = p;
    }
  return Register(std::move(surface), {int(info->xHotspot), int(info->yHotspot)}, info->fIcon);
}

HICON CreateIconFromIcoData(std::span<const std::uint8_t> data, int desiredSize) {
  if (Read16(data, 0) != 0 || (Read16(data, 2) != 1 && Read16(data, 2) != 2))
    throw EReadError("Not an icon file");
  int count = Read16(data, 4);
  if (count <= 0) throw EReadError("Icon file without images");
  int best = -1, bestDiff = 0;
  for (int i = 0; i < count; ++i) {
    size_t e = 6 + size_t(i) * 16;
    if (e + 16 > data.size()) throw EReadError("Damaged icon data");
    int w = data[e] ? data[e] : 256;
    int diff = std::abs(w - desiredSize);
    if (best < 0 || diff < bestDiff) {
      best = i;
      bestDiff = diff;
    }
  }
  size_t e = 6 + size_t(best) * 16;
  size_t size = Read32(data, e + 8), offset = Read32(data, e + 12);
  if (offset > data.size() || size > data.size() - offset) throw EReadError("Damaged icon data");
  auto img = data.subspan(offset, size);
  if (img.size() >= 8 && img[0] == 0x89 && img[1] == 'P')
    throw EReadError("PNG icon images are not supported");
  size_t header = Read32(img, 0);
  int width = int(Read32(img, 4));
  int height = int(Read32(img, 8)) / 2;  // colour and mask stacked
  int bpp = Read16(img, 14);
  if (header < 40 || width <= 0 || height <= 0 || width > 1024 || height > 1024 ||
      (bpp != 32 && bpp != 24 && bpp != 8))
    throw EReadError("Unsupported icon image");
  size_t palette = header;
  size_t colorsUsed = bpp == 8 ? (Read32(img, 32) ? Read32(img, 32) : 256) : 0;
  size_t pixels = palette + colorsUsed * 4;
  size_t colorStride = ((size_t(width) * size_t(bpp) + 31) / 32) * 4;
  size_t maskStride = ((size_t(width) + 31) / 32) * 4;
  size_t maskAt = pixels + colorStride * size_t(height);
  if (maskAt + maskStride * size_t(height) > img.size() && bpp != 32)
    throw EReadError("Damaged icon data");
  if (maskAt > img.size()) throw EReadError("Damaged icon data");
  bool hasMask = maskAt + maskStride * size_t(height) <= img.size();
  auto surface = MakeSurface(width, height);
  if (!surface) throw EReadError("Unsupported icon image");
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = img.data() + pixels + colorStride * size_t(height - 1 - y);
    const std::uint8_t* maskRow = img.data() + maskAt + maskStride * size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      std::uint32_t p = 0;
      if (bpp == 32) {
        p = std::uint32_t(row[x * 4]) | (std::uint32_t(row[x * 4 + 1]) << 8) |
            (std::uint32_t(row[x * 4 + 2]) << 16) | (std::uint32_t(row[x * 4 + 3]) << 24);
        anyAlpha = anyAlpha || (p >> 24);
      } else if (bpp == 24) {
        p = std::uint32_t(row[x * 3]) | (std::uint32_t(row[x * 3 + 1]) << 8) |
            (std::uint32_t(row[x * 3 + 2]) << 16);
      } else {
        size_t index = row[x];
        if (index >= colorsUsed) throw EReadError("Damaged icon data");
        const std::uint8_t* c = img.data() + palette + index * 4;
        p = std::uint32_t(c[0]) | (std::uint32_t(c[1]) << 8) | (std::uint32_t(c[2]) << 16);
      }
      bool transparent = hasMask && (maskRow[x / 8] & (0x80 >> (x % 8)));
      if (bpp != 32) p |= transparent ? 0 : 0xFF000000u;
      surface->Row(y)[x] = p;
    }
  }
  if (bpp == 32 && !anyAlpha) {
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* maskRow = img.data() + maskAt + maskStride * size_t(height - 1 - y);
      for (int x = 0; x < width; ++x) {
        bool transparent = hasMask && (maskRow[x / 8] & (0x80 >> (x % 8)));
        surface->Row(y)[x] |= transparent ? 0 : 0xFF000000u;
      }
    }
  }
  return Register(std::move(surface), {width / 2, height / 2}, true);
}

bool DestroyIcon(HICON icon) {
  if (!LookupObject<TIconObject>(icon.Value())) return false;
  return TGdiObjectTable::Instance().Remove(icon.Value());
}

TSize GetIconSize(HICON icon) {
  auto* i = LookupObject<TIconObject>(icon.Value());
  if (!i) return {};
  return {i->Pixels().Width(), i->Pixels().Height()};
}

bool DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH brush,
                UINT flags) {
  TDeviceContext* d = LookupDC(dc);
  auto* i = LookupObject<TIconObject>(icon.Value());
  if (!d || !i) return false;
  const TSurface& src = i->Pixels();
  if (width == 0) width = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : src.Width();
  if (height == 0) height = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : src.Height();
  if (width <= 0 || height <= 0 || width > (1 << 28) || height > (1 << 28)) return false;
  TRect logical{x, y, TDeviceContext::Clamp(std::int64_t(x) + width),
                TDeviceContext::Clamp(std::int64_t(y) + height)};
  if (brush) FillRect(dc, logical, brush);
  TSurface* dst = d->Surface();
  if (!dst) return true;
  if ((flags & DI_NORMAL) == 0) flags |= DI_NORMAL;
  TPoint at = d->ToSurface(TPoint{x, y});
  TRect area{at.X, at.Y, at.X + width, at.Y + height};
  d->Clip().ForEachIn(area, [&](const TRect& piece) {
    for (int py = piece.Top; py < piece.Bottom; ++py) {
      int sy = int((2 * std::int64_t(py - area.Top) + 1) * src.Height() / (2 * std::int64_t(height)));
      const std::uint32_t* srow = src.Row(sy);
      std::uint32_t* drow = dst->Row(py);
      for (int px = piece.Left; px < piece.Right; ++px) {
        int sx = int((2 * std::int64_t(px - area.Left) + 1) * src.Width() / (2 * std::int64_t(width)));
        std::uint32_t s = srow[sx];
        unsigned a = s >> 24;
        std::uint32_t& t = drow[px];
        if ((flags & DI_NORMAL) == DI_NORMAL) {
          if (a == 0) continue;
          if (a == 255) {
            t = s & 0xFFFFFF;
            continue;
          }
          std::uint32_t out = 0;
          for (int shift = 0; shift < 24; shift += 8) {
            unsigned sv = (s >> shift) & 0xFF, dv = (t >> shift) & 0xFF;
            out |= std::uint32_t((sv * a + dv * (255 - a) + 127) / 255) << shift;
          }
          t = out;
        } else if (flags & DI_IMAGE) {
          t = s & 0xFFFFFF;
        } else {
          t = a ? 0 : 0xFFFFFF;
        }
      }
    }
    dst->AddDamage(piece);
  });
  return true;
}

bool DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

}  // namespace vandrel
