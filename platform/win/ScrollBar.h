// The standard scroll bars of WS_VSCROLL/WS_HSCROLL windows: their state, geometry, painting in
// the frame, and the tracking of a click that sends WM_VSCROLL/WM_HSCROLL with SB_ codes.
#pragma once

#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

struct TFrameLayout;

// Returns the new position. A bar whose range no longer exceeds its page is hidden, unless
// SIF_DISABLENOSCROLL asks to disable it instead.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw);
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info);
bool GetScrollBarInfo(HWND hwnd, LONG objectId, SCROLLBARINFO& info);
int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw);
int GetScrollPos(HWND hwnd, int bar);
bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw);
bool ShowScrollBar(HWND hwnd, int bar, bool show);
enum : UINT { ESB_ENABLE_BOTH = 0, ESB_DISABLE_BOTH = 3 };
bool EnableScrollBar(HWND hwnd, int bar, UINT arrows);

// Parts of one bar along its length, in window coordinates.
struct TScrollBarParts {
  TRect Bar;
  TRect ArrowUp;    // or left
  TRect PageUp;
  TRect Thumb;      // empty when there is no thumb
  TRect PageDown;
  TRect ArrowDown;  // or right
};
TScrollBarParts ScrollBarParts(HWND hwnd, int bar);

void PaintWindowScrollBars(HWND hwnd, HDC windowDC, const TFrameLayout& layout);
// Runs the modal tracking of a left click at screenPt on a bar (from WM_NCLBUTTONDOWN).
void TrackScrollBar(HWND hwnd, int bar, TPoint screenPt);

}  // namespace vandrel
