#include "platform/gdi/Blit.h"

#include <cstring>
#include <type_traits>
#include <vector>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/Raster.h"

namespace vandrel {

namespace {
// Destination column/row -> source column/row of a nearest-neighbour stretch.
struct TAxisMap {
  int dstStart = 0, dstLen = 0;  // destination span (positive length)
  int srcStart = 0, srcLen = 0;  // source span (positive length)
  bool mirror = false;
  int Source(int d) const {
    std::int64_t c = d - dstStart;
    if (mirror) c = dstLen - 1 - c;
    return srcStart + int(((2 * c + 1) * srcLen) / (2 * std::int64_t(dstLen)));
  }
};

bool MakeAxis(int dst, int dstLen, int src, int srcLen, TAxisMap& out) {
  // Lengths beyond 2^28 are refused: nothing that large is ever visible, and the arithmetic below
  // stays far from overflow.
  constexpr int kMax = 1 << 28;
  if (dstLen == 0 || srcLen == 0 || dstLen < -kMax || dstLen > kMax || srcLen < -kMax || srcLen > kMax)
    return false;
  out.mirror = (dstLen < 0) != (srcLen < 0);
  out.dstStart = dstLen < 0 ? dst + dstLen : dst;
  out.dstLen = dstLen < 0 ? -dstLen : dstLen;
  out.srcStart = srcLen < 0 ? src + srcLen : src;
  out.srcLen = srcLen < 0 ? -srcLen : srcLen;
  return true;
}

// The plain copy, recognised by the stretch loop so that it can reuse rows.
struct TCopyOp {
  void operator()(std::uint32_t& t, std::uint32_t s, int, int) const { t = s; }
};

// Applies op(destination pixel, source pixel, x, y) to every destination pixel of the stretch.
template <class Op>
bool Stretch(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
             int srcWidth, int srcHeight, Op op) {
  TDeviceContext* d = LookupDC(dst);
  TDeviceContext* s = LookupDC(src);
  if (!d || !s) return false;
  TSurface* ds = d->Surface();
  TSurface* ss = s->Surface();
  if (!ds || !ss) return true;
  TPoint dp = d->ToSurface(TPoint{x, y});
  TPoint sp = s->ToSurface(TPoint{srcX, srcY});
  TAxisMap mx, my;
  if (!MakeAxis(dp.X, width, sp.X, srcWidth, mx) || !MakeAxis(dp.Y, height, sp.Y, srcHeight, my))
    return true;
  TRect area{mx.dstStart, my.dstStart, mx.dstStart + mx.dstLen, my.dstStart + my.dstLen};
  // The same surface on both sides may overlap: read from a snapshot of the source.
  const TSurface* source = ss;
  std::unique_ptr<TSurface> copy;
  if (ss == ds) {
    copy = std::make_unique<TSurface>(ss->Width(), ss->Height());
    for (int row = 0; row < ss->Height(); ++row)
      std::memcpy(copy->Row(row), ss->Row(row), size_t(ss->Width()) * 4);
    source = copy.get();
  }
  std::vector<int> columns;
  d->Clip().ForEachIn(area, [&](const TRect& piece) {
    columns.resize(size_t(piece.Width()));
    for (int c = piece.Left; c < piece.Right; ++c) columns[size_t(c - piece.Left)] = mx.Source(c);
    bool allColumns = true;
    for (int sx : columns) allColumns = allColumns && sx >= 0 && sx < source->Width();
    int previousSource = -1;
    for (int row = piece.Top; row < piece.Bottom; ++row) {
      int sy = my.Source(row);
      if (sy < 0 || sy >= source->Height()) {
        previousSource = -1;
        continue;
      }
      if constexpr (std::is_same_v<Op, TCopyOp>) {
        // A row whose source row repeats is a copy of the row drawn just before.
        if (allColumns && sy == previousSource) {
          std::memcpy(ds->Row(row) + piece.Left, ds->Row(row - 1) + piece.Left,
                      size_t(piece.Width()) * 4);
          continue;
        }
        previousSource = sy;
      }
      const std::uint32_t* srow = source->Row(sy);
      std::uint32_t* drow = ds->Row(row);
      for (int c = piece.Left; c < piece.Right; ++c) {
        int sx = columns[size_t(c - piece.Left)];
        if (sx < 0 || sx >= source->Width()) continue;
        op(drow[c], srow[sx], c, row);
      }
    }
    ds->AddDamage(piece);
  });
  return true;
}

bool RopBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
            int srcHeight, DWORD rop) {
  TRop3 r = Rop3FromCode(rop);
  if (!Rop3UsesSource(r)) return PatBlt(dst, x, y, width, height, rop);
  TDeviceContext* d = LookupDC(dst);
  if (!d) return false;
  TPaint pattern;
  bool usesPattern = Rop3UsesPattern(r);
  if (usesPattern && !BrushPaint(*d, nullptr, r, pattern)) pattern = SolidPaint(0, r);
  if (r == 0xCC) return Stretch(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, TCopyOp());
  return Stretch(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight,
                 [&](std::uint32_t& t, std::uint32_t s, int cx, int cy) {
                   std::uint32_t p = usesPattern ? pattern.PatternAt(cx, cy) : 0;
                   t = ApplyRop3(r, p, s, t);
                 });
}
}  // namespace

// The common case as whole-row moves: an unscaled copy.
static bool CopyBlt(TDeviceContext& d, TDeviceContext& s, int x, int y, int width, int height, int srcX,
             int srcY) {
  TSurface* ds = d.Surface();
  TSurface* ss = s.Surface();
  if (!ds || !ss) return true;
  TPoint dp = d.ToSurface(TPoint{x, y});
  TPoint sp = s.ToSurface(TPoint{srcX, srcY});
  TPoint delta = sp - dp;  // destination + delta = source (both within +-2^29)
  TRect area{dp.X, dp.Y, TDeviceContext::Clamp(std::int64_t(dp.X) + width),
             TDeviceContext::Clamp(std::int64_t(dp.Y) + height)};
  if (!IntersectRect(area, area, OffsetRect(ss->Bounds(), -delta.X, -delta.Y))) return true;
  std::vector<TRect> pieces;
  d.Clip().ForEachIn(area, [&](const TRect& piece) { pieces.push_back(piece); });
  if (pieces.empty()) return true;
  const TSurface* source = ss;
  std::unique_ptr<TSurface> copy;
  TPoint copyShift{0, 0};
  if (ss == ds) {
    // Overlap on one surface: read from a snapshot of the source rectangle.
    TRect srcRect = OffsetRect(area, delta.X, delta.Y);
    copy = std::make_unique<TSurface>(srcRect.Width(), srcRect.Height());
    for (int row = 0; row < srcRect.Height(); ++row)
      std::memcpy(copy->Row(row), ss->Row(srcRect.Top + row) + srcRect.Left,
                  size_t(srcRect.Width()) * 4);
    source = copy.get();
    copyShift = srcRect.TopLeft();
  }
  for (const TRect& piece : pieces) {
    for (int row = piece.Top; row < piece.Bottom; ++row) {
      const std::uint32_t* from =
          source->Row(row + delta.Y - copyShift.Y) + (piece.Left + delta.X - copyShift.X);
      std::memcpy(ds->Row(row) + piece.Left, from, size_t(piece.Width()) * 4);
    }
    ds->AddDamage(piece);
  }
  return true;
}

bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  if (!Rop3UsesSource(Rop3FromCode(rop))) return PatBlt(dst, x, y, width, height, rop);
  TDeviceContext* d = LookupDC(dst);
  TDeviceContext* s = LookupDC(src);
  if (!d || !s) return false;
  if (width <= 0 || height <= 0) return true;
  if (rop == SRCCOPY) return CopyBlt(*d, *s, x, y, width, height, srcX, srcY);
  return RopBlt(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

bool StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop) {
  return RopBlt(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop);
}

int SetStretchBltMode(HDC dc, int mode) { return LookupDC(dc) ? (mode ? COLORONCOLOR : 0) : 0; }

bool TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                    int srcWidth, int srcHeight, UINT key) {
  if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return false;
  std::uint32_t k = PixelFromColor(key) & 0xFFFFFF;
  return Stretch(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight,
                 [k](std::uint32_t& t, std::uint32_t s, int, int) {
                   if ((s & 0xFFFFFF) != k) t = s;
                 });
}

bool AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, BLENDFUNCTION blend) {
  if (width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return false;
  unsigned ca = blend.SourceConstantAlpha;
  bool perPixel = blend.AlphaFormat & AC_SRC_ALPHA;
  return Stretch(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight,
                 [=](std::uint32_t& t, std::uint32_t s, int, int) {
                   // Premultiplied: dst = src * ca + dst * (1 - srcAlpha * ca).
                   unsigned sa = perPixel ? (s >> 24) : 255;
                   unsigned a = (sa * ca + 127) / 255;
                   std::uint32_t out = 0;
                   for (int shift = 0; shift < 32; shift += 8) {
                     unsigned sc = (s >> shift) & 0xFF, dc = (t >> shift) & 0xFF;
                     if (shift == 24 && !perPixel) sc = 255;
                     unsigned v = (sc * ca + dc * (255 - a) + 127) / 255;
                     out |= std::uint32_t(v > 255 ? 255 : v) << shift;
                   }
                   t = out;
                 });
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !d->Surface()) return CLR_INVALID;
  TPoint p = d->ToSurface(TPoint{x, y});
  if (!d->Clip().Contains(p)) return CLR_INVALID;
  std::uint32_t pixel = PixelFromColor(color);
  d->Surface()->SetPixel(p.X, p.Y, pixel);
  d->Surface()->AddDamage({p.X, p.Y, p.X + 1, p.Y + 1});
  return ColorFromPixel(pixel);
}

COLORREF GetPixel(HDC dc, int x, int y) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !d->Surface()) return CLR_INVALID;
  TPoint p = d->ToSurface(TPoint{x, y});
  if (!d->Clip().Contains(p)) return CLR_INVALID;
  return ColorFromPixel(d->Surface()->Pixel(p.X, p.Y));
}

}  // namespace vandrel
