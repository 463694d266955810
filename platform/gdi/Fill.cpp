#include "platform/gdi/Fill.h"

#include <cstdint>

#include "platform/gdi/Raster.h"
#include "platform/gdi/RegionApi.h"

namespace vandrel {

namespace {
constexpr TRop3 kPatCopy = 0xF0;

bool FillWithBrush(HDC dc, const TRect& r, HBRUSH brush, TRop3 rop) {
  TDeviceContext* d = LookupDC(dc);
  auto* b = LookupObject<TBrushObject>(brush.Value());
  if (!d || !b) return false;
  TPaint paint;
  if (!BrushPaint(*d, b, rop, paint)) return true;
  FillSurfaceRect(*d, d->ToSurface(r), paint);
  return true;
}

// A region handle's region moved to surface coordinates.
bool SurfaceRegion(TDeviceContext& d, HRGN region, TRegion& out) {
  TRegion* r = GetRegion(region);
  if (!r) return false;
  out = *r;
  out.Offset(d.Offset().X, d.Offset().Y);
  return true;
}
}  // namespace

bool FillRect(HDC dc, const TRect& r, HBRUSH brush) { return FillWithBrush(dc, r, brush, kPatCopy); }

bool FrameRect(HDC dc, const TRect& r, HBRUSH brush) {
  if (r.IsEmpty()) return LookupDC(dc) != nullptr;
  bool ok = FillWithBrush(dc, {r.Left, r.Top, r.Right, r.Top + 1}, brush, kPatCopy);
  if (!ok) return false;
  FillWithBrush(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, brush, kPatCopy);
  FillWithBrush(dc, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, brush, kPatCopy);
  FillWithBrush(dc, {r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, brush, kPatCopy);
  return true;
}

bool InvertRect(HDC dc, const TRect& r) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  FillSurfaceRect(*d, d->ToSurface(r), SolidPaint(0, 0x55));
  return true;
}

bool PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
  TDeviceContext* d = LookupDC(dc);
  TRop3 r = Rop3FromCode(rop);
  if (!d || Rop3UsesSource(r)) return false;
  TRect rect = NormalizeRect({x, y, TDeviceContext::Clamp(std::int64_t(x) + width),
                              TDeviceContext::Clamp(std::int64_t(y) + height)});
  TPaint paint;
  if (Rop3UsesPattern(r)) {
    if (!BrushPaint(*d, nullptr, r, paint)) return true;
  } else {
    paint = SolidPaint(0, r);
  }
  FillSurfaceRect(*d, d->ToSurface(rect), paint);
  return true;
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
  TDeviceContext* d = LookupDC(dc);
  auto* b = LookupObject<TBrushObject>(brush.Value());
  TRegion r;
  if (!d || !b || !SurfaceRegion(*d, region, r)) return false;
  TPaint paint;
  if (BrushPaint(*d, b, kPatCopy, paint)) FillSurfaceRegion(*d, r, paint);
  return true;
}

bool PaintRgn(HDC dc, HRGN region) {
  TDeviceContext* d = LookupDC(dc);
  TRegion r;
  if (!d || !SurfaceRegion(*d, region, r)) return false;
  TPaint paint;
  if (BrushPaint(*d, nullptr, Rop3FromRop2(d->State().rop2), paint)) FillSurfaceRegion(*d, r, paint);
  return true;
}

bool InvertRgn(HDC dc, HRGN region) {
  TDeviceContext* d = LookupDC(dc);
  TRegion r;
  if (!d || !SurfaceRegion(*d, region, r)) return false;
  FillSurfaceRegion(*d, r, SolidPaint(0, 0x55));
  return true;
}

bool FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
  TDeviceContext* d = LookupDC(dc);
  auto* b = LookupObject<TBrushObject>(brush.Value());
  TRegion r;
  if (!d || !b || !SurfaceRegion(*d, region, r) || width < 0 || height < 0) return false;
  // The frame is what the region loses when it is eroded by the frame size from every side.
  TRegion inner = r;
  for (int dx = -width; dx <= width; dx += width ? width : 1) {
    for (int dy = -height; dy <= height; dy += height ? height : 1) {
      TRegion moved = r;
      moved.Offset(dx, dy);
      inner = inner.Intersect(moved);
      if (!height) break;
    }
    if (!width) break;
  }
  TPaint paint;
  if (BrushPaint(*d, b, kPatCopy, paint)) FillSurfaceRegion(*d, r.Subtract(inner), paint);
  return true;
}

}  // namespace vandrel
