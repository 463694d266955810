#include "platform/gdi/RegionApi.h"

#include <memory>

namespace vandrel {

HRGN CreateRegionHandle(TRegion region) {
  return HRGN(TGdiObjectTable::Instance().Add(std::make_shared<TRegionObject>(std::move(region))));
}

TRegion* GetRegion(HRGN region) {
  auto* r = LookupObject<TRegionObject>(region.Value());
  return r ? &r->Region() : nullptr;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return CreateRegionHandle(TRegion(NormalizeRect({left, top, right, bottom})));
}

HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom); }

HRGN ExtCreateRegion(std::span<const TRect> rects) {
  return CreateRegionHandle(TRegion::FromRects(rects));
}

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  TRegion* r = GetRegion(region);
  if (!r) return false;
  *r = TRegion(NormalizeRect({left, top, right, bottom}));
  return true;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  TRegion* d = GetRegion(dst);
  TRegion* a = GetRegion(src1);
  if (!d || !a) return RGN_ERROR;
  if (mode == RGN_COPY) {
    *d = *a;
    return d->Complexity();
  }
  TRegion* b = GetRegion(src2);
  if (!b) return RGN_ERROR;
  switch (mode) {
    case RGN_AND: *d = a->Intersect(*b); break;
    case RGN_OR: *d = a->Union(*b); break;
    case RGN_XOR: *d = a->Xor(*b); break;
    case RGN_DIFF: *d = a->Subtract(*b); break;
    default: return RGN_ERROR;
  }
  return d->Complexity();
}

int OffsetRgn(HRGN region, int dx, int dy) {
  TRegion* r = GetRegion(region);
  if (!r) return RGN_ERROR;
  r->Offset(dx, dy);
  return r->Complexity();
}

int GetRgnBox(HRGN region, TRect* box) {
  TRegion* r = GetRegion(region);
  if (!r) return RGN_ERROR;
  if (box) *box = r->Bounds();
  return r->Complexity();
}

bool PtInRegion(HRGN region, int x, int y) {
  TRegion* r = GetRegion(region);
  return r && r->Contains({x, y});
}

bool RectInRegion(HRGN region, const TRect& rect) {
  TRegion* r = GetRegion(region);
  return r && r->Intersects(NormalizeRect(rect));
}

bool EqualRgn(HRGN a, HRGN b) {
  TRegion* ra = GetRegion(a);
  TRegion* rb = GetRegion(b);
  return ra && rb && *ra == *rb;
}

}  // namespace vandrel
