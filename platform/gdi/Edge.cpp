#include "platform/gdi/Edge.h"

#include "platform/gdi/Raster.h"

namespace vandrel {

namespace {
void Fill(TDeviceContext& d, const TRect& r, int sysColor) {
  FillSurfaceRect(d, d.ToSurface(r), SolidPaint(PixelFromColor(GetSysColor(sysColor))));
}

// One ring on the flagged sides of r.
void Ring(TDeviceContext& d, const TRect& r, UINT flags, int topLeft, int bottomRight) {
  if (r.IsEmpty()) return;
  if (flags & BF_LEFT) Fill(d, {r.Left, r.Top, r.Left + 1, r.Bottom}, topLeft);
  if (flags & BF_TOP) Fill(d, {r.Left, r.Top, r.Right, r.Top + 1}, topLeft);
  if (flags & BF_RIGHT) Fill(d, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
  if (flags & BF_BOTTOM) Fill(d, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
}

TRect Shrink(TRect r, UINT flags) {
  if (flags & BF_LEFT) ++r.Left;
  if (flags & BF_TOP) ++r.Top;
  if (flags & BF_RIGHT) --r.Right;
  if (flags & BF_BOTTOM) --r.Bottom;
  return r;
}
}  // namespace

bool DrawEdge(HDC dc, TRect* rect, UINT edge, UINT flags) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !rect) return false;
  TRect r = *rect;
  UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  if (outer) {
    int tl = (outer & BDR_RAISEDOUTER) ? COLOR_3DLIGHT : COLOR_BTNSHADOW;
    int br = (outer & BDR_RAISEDOUTER) ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT;
    if ((flags & BF_SOFT) && (outer & BDR_RAISEDOUTER)) tl = COLOR_BTNHIGHLIGHT;
    if ((flags & BF_SOFT) && (outer & BDR_SUNKENOUTER)) tl = COLOR_3DDKSHADOW;
    if (flags & BF_FLAT) tl = br = COLOR_BTNSHADOW;
    if (flags & BF_MONO) tl = br = COLOR_WINDOWFRAME;
    Ring(*d, r, flags, tl, br);
    r = Shrink(r, flags);
  }
  if (inner) {
    int tl = (inner & BDR_RAISEDINNER) ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW;
    int br = (inner & BDR_RAISEDINNER) ? COLOR_BTNSHADOW : COLOR_3DLIGHT;
    if ((flags & BF_SOFT) && (inner & BDR_RAISEDINNER)) tl = COLOR_3DLIGHT;
    if ((flags & BF_SOFT) && (inner & BDR_SUNKENINNER)) tl = COLOR_BTNSHADOW;
    if (flags & BF_FLAT) tl = br = COLOR_BTNFACE;
    if (flags & BF_MONO) tl = br = COLOR_WINDOW;
    Ring(*d, r, flags, tl, br);
    r = Shrink(r, flags);
  }
  if ((flags & BF_MIDDLE) && !r.IsEmpty()) Fill(*d, r, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
  if (flags & BF_ADJUST) *rect = r;
  return true;
}

}  // namespace vandrel
