// Device contexts: a context draws into some surface, with an origin and a visible region, through
// the drawing state it carries (selected objects, colours, modes, window origin, clip region).
//
// How a higher layer gets a context over its own pixels (a window's backing store, the screen):
//
//   auto surface = std::make_shared<TSurface>(800, 600);     // or TSurface over shared memory
//   HDC dc = CreateSurfaceDC(surface, {x, y}, visible);      // device (0, 0) = surface (x, y)
//   ... FillRect(dc, ...), BitBlt(...), TextOut(...) ...     // clipped to `visible`
//   SetDCTarget(dc, surface, {x2, y2}, visible2);            // window moved or uncovered
//   DeleteDC(dc);                                            // when released
//
// `visible` is in surface coordinates (the window layer's visible region, the update region of a
// paint, the whole screen); the application's own clip region (SelectClipRgn) is in device
// coordinates, as on the platform, and is intersected with it. A surface context answers
// GetCurrentObject(dc, OBJ_BITMAP) with the stock 1 x 1 bitmap, so callers that look for a section
// behind a context (the bitmap library) take their blit path for windows. Drawing adds its clipped
// bounds to the surface's damage rectangle (TSurface::TakeDamage).
//
// Memory contexts (CreateCompatibleDC) draw into the bitmap selected into them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

struct TDcState {
  std::shared_ptr<TPenObject> pen;
  HPEN hpen;
  std::shared_ptr<TBrushObject> brush;
  HBRUSH hbrush;
  std::shared_ptr<TFontObject> font;
  HFONT hfont;
  std::shared_ptr<TBitmapObject> bitmap;  // memory contexts only
  HBITMAP hbitmap;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  UINT textAlign = 0;
  TPoint windowOrg;
  TPoint viewportOrg;
  TPoint brushOrg;
  TPoint currentPos;
  bool hasClip = false;
  TRegion clip;  // device coordinates
};

class TDeviceContext : public TGdiObject {
 public:
  // A memory context holding the stock bitmap.
  TDeviceContext();
  // A context over a surface.
  TDeviceContext(std::shared_ptr<TSurface> surface, TPoint origin, TRegion visible);
  int ObjectType() const override { return m_memory ? OBJ_MEMDC : OBJ_DC; }

  bool IsMemory() const { return m_memory; }
  TDcState& State() { return m_state; }
  const TDcState& State() const { return m_state; }
  void SetHandle(HDC self) { m_self = self; }
  HDC Handle() const { return m_self; }

  TSurface* Surface() const { return m_surface.get(); }
  const std::shared_ptr<TSurface>& SharedSurface() const { return m_surface; }
  TPoint Origin() const { return m_origin; }
  const TRegion& Visible() const { return m_visible; }
  void SetTarget(std::shared_ptr<TSurface> surface, TPoint origin, TRegion visible);

  // Logical coordinates plus this offset are surface coordinates.
  TPoint Offset() const {
    return {Clamp(std::int64_t(m_origin.X) + m_state.viewportOrg.X - m_state.windowOrg.X),
            Clamp(std::int64_t(m_origin.Y) + m_state.viewportOrg.Y - m_state.windowOrg.Y)};
  }
  // Results are kept within +-2^29 so that callers' arithmetic on extreme coordinates cannot
  // overflow; nothing that far out is ever visible.
  TPoint ToSurface(TPoint p) const {
    TPoint o = Offset();
    return {Clamp(std::int64_t(p.X) + o.X), Clamp(std::int64_t(p.Y) + o.Y)};
  }
  TRect ToSurface(const TRect& r) const {
    TPoint o = Offset();
    return {Clamp(std::int64_t(r.Left) + o.X), Clamp(std::int64_t(r.Top) + o.Y),
            Clamp(std::int64_t(r.Right) + o.X), Clamp(std::int64_t(r.Bottom) + o.Y)};
  }
  static int Clamp(std::int64_t v) {
    constexpr std::int64_t kLimit = std::int64_t(1) << 29;
    return int(v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v));
  }
  // Where drawing may touch, in surface coordinates: visible region, clip region and surface.
  const TRegion& Clip() const;
  void ClipChanged() { m_clipValid = false; }

  // Selection; each returns the previous handle, null when the object does not resolve.
  HGDIOBJ Select(HGDIOBJ object);
  int SaveState();
  bool RestoreState(int level);
  // Drops the selected bitmap (before the context goes away).
  void Release();

  std::uintptr_t OwnerTag() const { return m_ownerTag; }
  void SetOwnerTag(std::uintptr_t tag) { m_ownerTag = tag; }

 private:
  bool SelectBitmap(const std::shared_ptr<TBitmapObject>& bitmap, HBITMAP handle);
  void SetDefaults();

  bool m_memory;
  HDC m_self;
  TDcState m_state;
  std::vector<TDcState> m_saved;
  std::shared_ptr<TSurface> m_surface;
  TPoint m_origin;
  TRegion m_visible;
  mutable TRegion m_clip;
  mutable bool m_clipValid = false;
  std::uintptr_t m_ownerTag = 0;
};

// The context behind a handle, null when it does not resolve.
TDeviceContext* LookupDC(HDC dc);

// Contexts for higher layers (see the header comment).
HDC CreateSurfaceDC(std::shared_ptr<TSurface> surface, TPoint origin, const TRegion& visible);
bool SetDCTarget(HDC dc, std::shared_ptr<TSurface> surface, TPoint origin, const TRegion& visible);
bool SetDCVisibleRegion(HDC dc, const TRegion& visible);
// A tag the creator keeps with the context (e.g. its window), 0 by default.
bool SetDCOwnerTag(HDC dc, std::uintptr_t tag);
std::uintptr_t GetDCOwnerTag(HDC dc);
// The surface a context draws into (for memory contexts: the selected bitmap's), or null.
std::shared_ptr<TSurface> GetDCSurface(HDC dc);
// Device (0, 0) in surface coordinates.
bool GetDCOrgEx(HDC dc, TPoint* origin);

HDC CreateCompatibleDC(HDC dc);
bool DeleteDC(HDC dc);

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
// Selecting a region sets the clip region (a copy); returns its complexity, RGN_ERROR on failure.
int SelectObject(HDC dc, HRGN region);
// OBJ_PEN, OBJ_BRUSH, OBJ_FONT or OBJ_BITMAP.
HGDIOBJ GetCurrentObject(HDC dc, int type);

}  // namespace vandrel
