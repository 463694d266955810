// The drawing state calls of a context: saved states, origins, colours, modes and the clip region.
// All fail quietly (false, 0, CLR_INVALID or RGN_ERROR) on a handle that does not resolve.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Returns the new level (1, 2, ...), 0 on failure.
int SaveDC(HDC dc);
// level > 0: back to that level; level < 0: that many levels back (-1 = the last SaveDC).
bool RestoreDC(HDC dc, int level);

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetWindowOrgEx(HDC dc, TPoint* origin);
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* old);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetViewportOrgEx(HDC dc, TPoint* origin);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old);
// Brush origin in device coordinates: where pattern pixel (0, 0) falls.
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetBrushOrgEx(HDC dc, TPoint* origin);
bool LPtoDP(HDC dc, TPoint* points, int count);
bool DPtoLP(HDC dc, TPoint* points, int count);

int SetBkMode(HDC dc, int mode);  // returns the previous mode, 0 on failure
int GetBkMode(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
bool GetCurrentPositionEx(HDC dc, TPoint* position);

// Clip region. Regions given as handles are in device coordinates; rectangles are logical.
// Each returns the complexity of the new clip region, RGN_ERROR on failure.
int SelectClipRgn(HDC dc, HRGN region);  // null region: no clip region
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// The bounds of what can be drawn, in logical coordinates.
int GetClipBox(HDC dc, TRect* box);
// 1 and a copy of the clip region in `region`; 0 when the context has none; -1 on failure.
int GetClipRgn(HDC dc, HRGN region);
bool PtVisible(HDC dc, int x, int y);
bool RectVisible(HDC dc, const TRect& r);

// SaveDC on construction, RestoreDC on destruction.
class TDCStateSaver {
 public:
  explicit TDCStateSaver(HDC dc) : m_dc(dc), m_level(SaveDC(dc)) {}
  ~TDCStateSaver() {
    if (m_level) RestoreDC(m_dc, m_level);
  }
  TDCStateSaver(const TDCStateSaver&) = delete;
  TDCStateSaver& operator=(const TDCStateSaver&) = delete;

 private:
  HDC m_dc;
  int m_level;
};

}  // namespace vandrel
