// Painting: update regions, WM_PAINT/WM_NCPAINT/WM_ERASEBKGND, and the contexts of windows and
// of the screen. A window's contexts draw into the backing store of its top-level window,
// clipped to the part of the window that can be seen there.
#pragma once

#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

// Contexts and regions travel in message parameters as their handle values.
inline WPARAM HdcToWParam(HDC dc) { return WPARAM(dc.Value()); }
inline HDC HdcFromWParam(WPARAM w) { return HDC(std::uint32_t(w)); }
inline HRGN HrgnFromWParam(WPARAM w) { return w > 1 ? HRGN(std::uint32_t(w)) : HRGN(); }

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase = FALSE;  // true when WM_ERASEBKGND did not erase: the painter must
  TRect rcPaint;        // client coordinates
};

// Sends WM_ERASEBKGND when erasing is due and validates the update region.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT& ps);

// Rectangles and regions are in client coordinates; null means the whole client area.
bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase);
bool InvalidateRgn(HWND hwnd, HRGN region, bool erase);
bool ValidateRect(HWND hwnd, const TRect* rect);
bool ValidateRgn(HWND hwnd, HRGN region);
bool GetUpdateRect(HWND hwnd, TRect* rect, bool erase);
int GetUpdateRgn(HWND hwnd, HRGN region, bool erase);
// Sends WM_NCPAINT and WM_PAINT at once when something is to be repainted.
bool UpdateWindow(HWND hwnd);
// RDW_* flags; with RDW_FRAME the rectangle or region may reach into the frame (it is still
// given in client coordinates).
bool RedrawWindow(HWND hwnd, const TRect* rect, HRGN region, UINT flags);

// Client-area context; GetWindowDC covers the frame too. GetDC(nullptr) is the screen context:
// it reads the composed screen and what is drawn on it goes to the screen on ReleaseDC.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
// Reads only the screen inside `rect` into 32-bit top-down pixels at `bits`, `strideBytes` apart,
// without opening a screen context (which reads the whole screen); false without a display or
// for a rectangle not wholly on the screen.
bool ReadScreenRect(const TRect& rect, void* bits, int strideBytes);
// DCX_* flags; the region of DCX_INTERSECTRGN/DCX_EXCLUDERGN is in screen coordinates and is
// deleted by the call.
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
// 1 when released; 0 for a context that is not a window's or was released before.
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);

enum : UINT { SW_SCROLLCHILDREN = 0x1, SW_INVALIDATE = 0x2, SW_ERASE = 0x4 };
// Moves the pixels of the client area (or of scroll, clipped to clip; both client coordinates,
// null for the whole client area) by (dx, dy). What was uncovered, or could not be copied because
// it was hidden, goes into the update region (and into updateRegion/updateRect when given) with
// SW_INVALIDATE; the pending update region moves along. SW_SCROLLCHILDREN moves the children too.
// Returns the complexity of the uncovered region, RGN_ERROR for a bad window.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, HRGN updateRegion,
                   TRect* updateRect, UINT flags);
bool ScrollWindow(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip);

// Paints a window (frame, background, client, children as PRF_* flags ask) into dc, with the
// window's top-left corner at the context's origin: sends WM_PRINT.
bool PrintWindow(HWND hwnd, HDC dc, UINT prfFlags);

}  // namespace vandrel
