// The run-time platform services the skin layer asks for: whether visual styles are active
// (never here: the look is always classic), the NT flag, the colour-keyed blit, the screen and
// monitor areas a window may use, and scroll-bar information with its fallback.
#pragma once

#include "platform/core/Geometry.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

bool IsThemed();
bool IsNTPlatform();
// The colour-keyed blit (TransparentBlt with the key 0x7F007F) is always there.
bool TransparentBltAvailable();

// With the flag, the desktop work area; without it, or when that cannot be had, the whole screen.
TRect GetScreenArea(bool workArea);
// The work area (flag on) or the whole monitor (flag off) of the monitor nearest to the window
// or point. With fewer than two monitors, or for a window that does not exist, GetScreenArea.
TRect GetMonitorAreaOfWindow(HWND hwnd, bool workArea);
TRect GetMonitorAreaOfPoint(TPoint point, bool workArea);
// Bits per pixel of the screen (32 without a display).
int GetScreenDepth();

// The skin layer's GetScrollBarInfo: the window system's call, and when that fails (no such
// window or bar) the bar is reported invisible (rgstate[0] = STATE_SYSTEM_INVISIBLE) and the
// result is false, so callers never read a record nobody filled.
bool GetScrollBarInfoWithFallback(HWND hwnd, LONG objectId, SCROLLBARINFO& info);

}  // namespace vandrel
