// The drawing pipeline of TseBitmap: which target a context leads to, clipping, the source
// check, unscaled rows and the nearest-neighbour stretch, all through the row kernels.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "framework/Canvas.h"
#include "graphics/Bitmap.h"
#include "graphics/RowKernels.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"
#include "platform/services/PlatformServices.h"

namespace vandrel {
namespace {

// Pixels drawn into by pointer: row y starts at top + y * pitch (pitch < 0 for rows stored
// bottom first).
struct TPixelTarget {
  TseColor* top;
  std::ptrdiff_t pitch;
  int width;
  int height;
  TseColor* Row(int y) const { return top + std::ptrdiff_t(y) * pitch; }
};

TPixelTarget TargetOf(TseBitmap& b) { return {b.Bits(), b.Width(), b.Width(), b.Height()}; }

// The pixels of a 32-bit bottom-up section selected into dc, if that is what it holds.
bool SectionTargetOf(HDC dc, TPixelTarget& target) {
  HBITMAP bitmap = HBITMAP(GetCurrentObject(dc, OBJ_BITMAP));
  DIBSECTION ds;
  if (!bitmap || GetObject(bitmap, sizeof ds, &ds) != int(sizeof ds)) return false;
  if (ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits || ds.dsBmih.biHeight <= 0) return false;
  const std::ptrdiff_t pitch = ds.dsBm.bmWidthBytes / 4;
  target = {static_cast<TseColor*>(ds.dsBm.bmBits) + pitch * (ds.dsBm.bmHeight - 1), -pitch,
            ds.dsBm.bmWidth, ds.dsBm.bmHeight};
  return true;
}

bool SourceInside(const TseBitmap& b, const TRect& s) {
  return s.Left >= 0 && s.Top >= 0 && s.Right <= b.Width() && s.Bottom <= b.Height();
}

// The source column (or row) of destination offset i along a side of dLength pixels that shows
// sLength source pixels from sStart: the ratio in single precision, halves to even.
int SourceIndex(int i, int dLength, int sStart, int sLength) {
  if (dLength < 2) return (sStart + sStart + sLength - 1) / 2;
  const float ratio = float(sLength - 1) / float(dLength - 1);
  const int v = int(std::nearbyintf(float(i) * ratio + float(sStart)));
  return std::clamp(v, sStart, sStart + sLength - 1);
}

TRowKernel KernelFor(TseBitmap::TDrawMode mode) {
  switch (mode) {
    case TseBitmap::TDrawMode::Copy: return RowKernels().copy;
    case TseBitmap::TDrawMode::Keyed: return RowKernels().keyed;
    case TseBitmap::TDrawMode::Blend: return BlendRowKernel();
  }
  return RowKernels().copy;
}

void DrawPixels(const TseBitmap& source, const TPixelTarget& target, const TRect& d, const TRect& s) {
  if (source.IsEmpty() || !SourceInside(source, s)) return;
  TRect clip;
  if (!IntersectRect(clip, d, {0, 0, target.width, target.height})) return;
  const TseBitmap::TDrawMode mode = source.DrawMode();
  const TRowKernel kernel = KernelFor(mode);
  const int width = clip.Right - clip.Left;
  const int dw = d.Right - d.Left, dh = d.Bottom - d.Top;
  const int sw = s.Right - s.Left, sh = s.Bottom - s.Top;
  if (dw == sw && dh == sh) {
    const int sx = s.Left + clip.Left - d.Left, sy = s.Top + clip.Top - d.Top;
    // Whole rows on both sides lie one after another: one move for all of them.
    if (mode == TseBitmap::TDrawMode::Copy && width == source.Width() && width == target.pitch) {
      kernel(source.Row(sy), target.Row(clip.Top), width * (clip.Bottom - clip.Top));
      return;
    }
    for (int y = clip.Top; y < clip.Bottom; ++y)
      kernel(source.Row(sy + y - clip.Top) + sx, target.Row(y) + clip.Left, width);
    return;
  }
  std::vector<int> columns(static_cast<size_t>(width));
  for (int x = clip.Left; x < clip.Right; ++x)
    columns[size_t(x - clip.Left)] = SourceIndex(x - d.Left, dw, s.Left, sw);
  const TGatherKernel gather = RowKernels().gather;
  std::vector<TseColor> scaled(mode == TseBitmap::TDrawMode::Copy ? 0 : size_t(width));
  int previous = -1;
  for (int y = clip.Top; y < clip.Bottom; ++y) {
    const int sy = SourceIndex(y - d.Top, dh, s.Top, sh);
    TseColor* row = target.Row(y) + clip.Left;
    if (mode != TseBitmap::TDrawMode::Copy) {
      gather(source.Row(sy), columns.data(), scaled.data(), width);
      kernel(scaled.data(), row, width);
    } else if (sy == previous) {
      std::memcpy(row, target.Row(y - 1) + clip.Left, size_t(width) * sizeof(TseColor));
    } else {
      gather(source.Row(sy), columns.data(), row, width);
    }
    previous = sy;
  }
}

TRect Placed(int x, int y, const TRect& s) {
  return {x, y, x + (s.Right - s.Left), y + (s.Bottom - s.Top)};
}

}  // namespace

TseBitmap::TDrawMode TseBitmap::DrawMode() const {
  if (m_hasAlpha) return TDrawMode::Blend;
  return m_hasKey ? TDrawMode::Keyed : TDrawMode::Copy;
}

void TseBitmap::Draw(HDC dc, int x, int y) const { Draw(dc, x, y, {0, 0, m_width, m_height}); }

void TseBitmap::Draw(HDC dc, int x, int y, const TRect& source) const {
  Draw(dc, Placed(x, y, source), source);
}

void TseBitmap::Draw(HDC dc, const TRect& dest, const TRect& source) const {
  if (IsEmpty() || !SourceInside(*this, source)) return;
  TPoint origin;
  GetWindowOrgEx(dc, &origin);
  const TRect shifted = OffsetRect(dest, -origin.X, -origin.Y);
  if (TseBitmap* target = FindBitmapByDC(dc)) {
    if (!target->IsEmpty()) DrawPixels(*this, TargetOf(*target), shifted, source);
    return;
  }
  TPixelTarget section;
  if (SectionTargetOf(dc, section)) {
    DrawPixels(*this, section, shifted, source);
    return;
  }
  const int dw = dest.Right - dest.Left, dh = dest.Bottom - dest.Top;
  const int sw = source.Right - source.Left, sh = source.Bottom - source.Top;
  const TDrawMode mode = DrawMode();
  if (mode == TDrawMode::Copy) {
    StretchBlt(dc, dest.Left, dest.Top, dw, dh, m_dc, source.Left, source.Top, sw, sh, SRCCOPY);
    return;
  }
  if (mode == TDrawMode::Keyed && TransparentBltAvailable()) {
    TransparentBlt(dc, dest.Left, dest.Top, dw, dh, m_dc, source.Left, source.Top, sw, sh,
                   kTransparentKey & 0x00FFFFFFu);
    return;
  }
  // Through a bitmap holding what lies under the visible part of dest: the whole of a large
  // stretched dest is never allocated.
  TRect box, visible;
  if (GetClipBox(dc, &box) == RGN_ERROR || !IntersectRect(visible, dest, box)) return;
  TseBitmap under;
  under.SetSize(visible.Right - visible.Left, visible.Bottom - visible.Top);
  BitBlt(under.m_dc, 0, 0, under.m_width, under.m_height, dc, visible.Left, visible.Top, SRCCOPY);
  DrawPixels(*this, TargetOf(under), OffsetRect(dest, -visible.Left, -visible.Top), source);
  BitBlt(dc, visible.Left, visible.Top, under.m_width, under.m_height, under.m_dc, 0, 0, SRCCOPY);
}

void TseBitmap::Draw(TCanvas& canvas, int x, int y) const { Draw(canvas.Handle(), x, y); }
void TseBitmap::Draw(TCanvas& canvas, int x, int y, const TRect& source) const {
  Draw(canvas.Handle(), x, y, source);
}
void TseBitmap::Draw(TCanvas& canvas, const TRect& dest, const TRect& source) const {
  Draw(canvas.Handle(), dest, source);
}

void TseBitmap::Draw(TseBitmap& target, int x, int y) const {
  Draw(target, x, y, {0, 0, m_width, m_height});
}
void TseBitmap::Draw(TseBitmap& target, int x, int y, const TRect& source) const {
  Draw(target, Placed(x, y, source), source);
}
void TseBitmap::Draw(TseBitmap& target, const TRect& dest, const TRect& source) const {
  if (!target.IsEmpty()) DrawPixels(*this, TargetOf(target), dest, source);
}

void TseBitmap::Tile(HDC dc, const TRect& dest, const TRect& source) const {
  const int tw = source.Right - source.Left, th = source.Bottom - source.Top;
  if (IsEmpty() || tw <= 0 || th <= 0 || !SourceInside(*this, source)) return;
  TRect box, visible;
  if (GetClipBox(dc, &box) == RGN_ERROR || !IntersectRect(visible, dest, box)) return;
  // The whole tiles that meet the visible part, counted from dest's top-left corner; in 64 bits,
  // since dest may reach far beyond what is visible.
  const auto grid = [](std::int64_t start, std::int64_t end, std::int64_t from, std::int64_t to, std::int64_t step) {
    const std::int64_t first = start + (from - start) / step * step;
    return std::pair<int, int>(int(first), int(std::min(end, first + (to - first + step - 1) / step * step)));
  };
  const auto [left, right] = grid(dest.Left, dest.Right, visible.Left, visible.Right, tw);
  const auto [top, bottom] = grid(dest.Top, dest.Bottom, visible.Top, visible.Bottom, th);
  const int width = right - left, height = bottom - top;
  if (width <= tw && height <= th) {
    Draw(dc, left, top, {source.Left, source.Top, source.Left + width, source.Top + height});
    return;
  }
  // Laid out once in memory and drawn in one call: a call per tile costs more than its pixels.
  // Each pixel lands where its tile would have put it, in the same mode, so the result is the same.
  TseBitmap tiles;
  tiles.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    TseColor* row = tiles.Row(y);
    if (y >= th) {
      std::memcpy(row, tiles.Row(y - th), size_t(width) * sizeof(TseColor));
      continue;
    }
    int filled = std::min(tw, width);
    std::memcpy(row, Row(source.Top + y) + source.Left, size_t(filled) * sizeof(TseColor));
    for (; filled < width; filled += std::min(filled, width - filled))
      std::memcpy(row + filled, row, size_t(std::min(filled, width - filled)) * sizeof(TseColor));
  }
  tiles.m_hasAlpha = m_hasAlpha;
  tiles.m_hasKey = m_hasKey;
  tiles.Draw(dc, left, top);
}

void TseBitmap::Tile(TCanvas& canvas, const TRect& dest, const TRect& source) const {
  Tile(canvas.Handle(), dest, source);
}

}  // namespace vandrel
