#include "platform/gdi/DcState.h"

#include "platform/gdi/RegionApi.h"

namespace vandrel {

namespace {
TPoint Add(TPoint a, TPoint b, int sign = 1) {
  return {TDeviceContext::Clamp(std::int64_t(a.X) + sign * std::int64_t(b.X)),
          TDeviceContext::Clamp(std::int64_t(a.Y) + sign * std::int64_t(b.Y))};
}

template <class F>
bool WithState(HDC dc, F f) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  f(*d, d->State());
  return true;
}

bool SetPoint(HDC dc, TPoint TDcState::*member, TPoint value, TPoint* old, bool moveClip) {
  return WithState(dc, [&](TDeviceContext& d, TDcState& s) {
    if (old) *old = s.*member;
    s.*member = value;
    if (moveClip) d.ClipChanged();
  });
}

bool GetPoint(HDC dc, TPoint TDcState::*member, TPoint* out) {
  return WithState(dc, [&](TDeviceContext&, TDcState& s) {
    if (out) *out = s.*member;
  });
}

template <class T>
T Exchange(HDC dc, T TDcState::*member, T value, T failure) {
  T old = failure;
  WithState(dc, [&](TDeviceContext&, TDcState& s) {
    old = s.*member;
    s.*member = value;
  });
  return old;
}

template <class T>
T Read(HDC dc, T TDcState::*member, T failure) {
  T value = failure;
  WithState(dc, [&](TDeviceContext&, TDcState& s) { value = s.*member; });
  return value;
}

int ClipResult(TDeviceContext& d) {
  const TDcState& s = d.State();
  if (!s.hasClip) return d.Clip().IsEmpty() ? NULLREGION : d.Clip().Complexity();
  return s.clip.Complexity();
}

// The current clip region in device coordinates; without one, everything the context can show.
TRegion CurrentClip(TDeviceContext& d) {
  if (d.State().hasClip) return d.State().clip;
  TRegion r = d.Visible();
  r.Offset(-d.Origin().X, -d.Origin().Y);
  return r;
}

void SetClip(TDeviceContext& d, TRegion clip) {
  d.State().hasClip = true;
  d.State().clip = std::move(clip);
  d.ClipChanged();
}

TRect LogicalToDevice(TDeviceContext& d, int left, int top, int right, int bottom) {
  TPoint off = Add(d.State().viewportOrg, d.State().windowOrg, -1);
  TRect r = NormalizeRect({left, top, right, bottom});
  return {Add(r.TopLeft(), off).X, Add(r.TopLeft(), off).Y, Add(r.BottomRight(), off).X,
          Add(r.BottomRight(), off).Y};
}
}  // namespace

int SaveDC(HDC dc) {
  TDeviceContext* d = LookupDC(dc);
  return d ? d->SaveState() : 0;
}

bool RestoreDC(HDC dc, int level) {
  TDeviceContext* d = LookupDC(dc);
  return d && d->RestoreState(level);
}

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old) {
  return SetPoint(dc, &TDcState::windowOrg, {x, y}, old, false);
}
bool GetWindowOrgEx(HDC dc, TPoint* origin) { return GetPoint(dc, &TDcState::windowOrg, origin); }
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* old) {
  return WithState(dc, [&](TDeviceContext&, TDcState& s) {
    if (old) *old = s.windowOrg;
    s.windowOrg = Add(s.windowOrg, {dx, dy});
  });
}
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) {
  return SetPoint(dc, &TDcState::viewportOrg, {x, y}, old, false);
}
bool GetViewportOrgEx(HDC dc, TPoint* origin) {
  return GetPoint(dc, &TDcState::viewportOrg, origin);
}
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old) {
  return WithState(dc, [&](TDeviceContext&, TDcState& s) {
    if (old) *old = s.viewportOrg;
    s.viewportOrg = Add(s.viewportOrg, {dx, dy});
  });
}
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* old) {
  return SetPoint(dc, &TDcState::brushOrg, {x, y}, old, false);
}
bool GetBrushOrgEx(HDC dc, TPoint* origin) { return GetPoint(dc, &TDcState::brushOrg, origin); }

bool LPtoDP(HDC dc, TPoint* points, int count) {
  return WithState(dc, [&](TDeviceContext&, TDcState& s) {
    for (int i = 0; points && i < count; ++i) points[i] = Add(Add(points[i], s.windowOrg, -1), s.viewportOrg);
  });
}
bool DPtoLP(HDC dc, TPoint* points, int count) {
  return WithState(dc, [&](TDeviceContext&, TDcState& s) {
    for (int i = 0; points && i < count; ++i) points[i] = Add(Add(points[i], s.windowOrg), s.viewportOrg, -1);
  });
}

int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange(dc, &TDcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return Read(dc, &TDcState::bkMode, 0); }
COLORREF SetBkColor(HDC dc, COLORREF color) {
  return Exchange(dc, &TDcState::bkColor, color, CLR_INVALID);
}
COLORREF GetBkColor(HDC dc) { return Read(dc, &TDcState::bkColor, CLR_INVALID); }
COLORREF SetTextColor(HDC dc, COLORREF color) {
  return Exchange(dc, &TDcState::textColor, color, CLR_INVALID);
}
COLORREF GetTextColor(HDC dc) { return Read(dc, &TDcState::textColor, CLR_INVALID); }
int SetROP2(HDC dc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return Exchange(dc, &TDcState::rop2, rop2, 0);
}
int GetROP2(HDC dc) { return Read(dc, &TDcState::rop2, 0); }
int SetPolyFillMode(HDC dc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return Exchange(dc, &TDcState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC dc) { return Read(dc, &TDcState::polyFillMode, 0); }
bool GetCurrentPositionEx(HDC dc, TPoint* position) {
  return GetPoint(dc, &TDcState::currentPos, position);
}

int SelectClipRgn(HDC dc, HRGN region) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return RGN_ERROR;
  if (!region) {
    d->State().hasClip = false;
    d->State().clip = TRegion();
    d->ClipChanged();
    return ClipResult(*d);
  }
  TRegion* r = GetRegion(region);
  if (!r) return RGN_ERROR;
  SetClip(*d, *r);
  return ClipResult(*d);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
  if (mode == RGN_COPY) return SelectClipRgn(dc, region);
  TDeviceContext* d = LookupDC(dc);
  TRegion* r = GetRegion(region);
  if (!d || !r) return RGN_ERROR;
  TRegion current = CurrentClip(*d);
  switch (mode) {
    case RGN_AND: SetClip(*d, current.Intersect(*r)); break;
    case RGN_OR: SetClip(*d, current.Union(*r)); break;
    case RGN_XOR: SetClip(*d, current.Xor(*r)); break;
    case RGN_DIFF: SetClip(*d, current.Subtract(*r)); break;
    default: return RGN_ERROR;
  }
  return ClipResult(*d);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return RGN_ERROR;
  SetClip(*d, CurrentClip(*d).Subtract(TRegion(LogicalToDevice(*d, left, top, right, bottom))));
  return ClipResult(*d);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return RGN_ERROR;
  SetClip(*d, CurrentClip(*d).Intersect(LogicalToDevice(*d, left, top, right, bottom)));
  return ClipResult(*d);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return RGN_ERROR;
  if (d->State().hasClip) {
    d->State().clip.Offset(dx, dy);  // saturating
    d->ClipChanged();
  }
  return ClipResult(*d);
}

int GetClipBox(HDC dc, TRect* box) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return RGN_ERROR;
  const TRegion& clip = d->Clip();
  if (box) {
    TPoint off = d->Offset();
    TRect b = clip.Bounds();
    *box = clip.IsEmpty() ? TRect{} : TRect{b.Left - off.X, b.Top - off.Y, b.Right - off.X, b.Bottom - off.Y};
  }
  return clip.IsEmpty() ? NULLREGION : clip.Complexity();
}

int GetClipRgn(HDC dc, HRGN region) {
  TDeviceContext* d = LookupDC(dc);
  TRegion* r = GetRegion(region);
  if (!d || !r) return -1;
  if (!d->State().hasClip) return 0;
  *r = d->State().clip;
  return 1;
}

bool PtVisible(HDC dc, int x, int y) {
  TDeviceContext* d = LookupDC(dc);
  return d && d->Clip().Contains(d->ToSurface(TPoint{x, y}));
}

bool RectVisible(HDC dc, const TRect& r) {
  TDeviceContext* d = LookupDC(dc);
  return d && d->Clip().Intersects(d->ToSurface(NormalizeRect(r)));
}

}  // namespace vandrel
