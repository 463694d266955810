// The platform's standard frame controls in the classic look: caption buttons, scroll arrows, the
// size grip, check boxes, push buttons and the menu glyphs. Glyphs scale with the rectangle.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

inline constexpr UINT DFC_CAPTION = 1;
inline constexpr UINT DFC_MENU = 2;
inline constexpr UINT DFC_SCROLL = 3;
inline constexpr UINT DFC_BUTTON = 4;
inline constexpr UINT DFC_POPUPMENU = 5;
inline constexpr UINT DFCS_CAPTIONCLOSE = 0x0;
inline constexpr UINT DFCS_CAPTIONMIN = 0x1;
inline constexpr UINT DFCS_CAPTIONMAX = 0x2;
inline constexpr UINT DFCS_CAPTIONRESTORE = 0x3;
inline constexpr UINT DFCS_CAPTIONHELP = 0x4;
inline constexpr UINT DFCS_MENUARROW = 0x0;
inline constexpr UINT DFCS_MENUCHECK = 0x1;
inline constexpr UINT DFCS_MENUBULLET = 0x2;
inline constexpr UINT DFCS_SCROLLUP = 0x0;
inline constexpr UINT DFCS_SCROLLDOWN = 0x1;
inline constexpr UINT DFCS_SCROLLLEFT = 0x2;
inline constexpr UINT DFCS_SCROLLRIGHT = 0x3;
inline constexpr UINT DFCS_SCROLLCOMBOBOX = 0x5;
inline constexpr UINT DFCS_SCROLLSIZEGRIP = 0x8;
inline constexpr UINT DFCS_SCROLLSIZEGRIPRIGHT = 0x10;
inline constexpr UINT DFCS_BUTTONCHECK = 0x0;
inline constexpr UINT DFCS_BUTTONRADIO = 0x4;
inline constexpr UINT DFCS_BUTTON3STATE = 0x8;
inline constexpr UINT DFCS_BUTTONPUSH = 0x10;
inline constexpr UINT DFCS_INACTIVE = 0x100;
inline constexpr UINT DFCS_PUSHED = 0x200;
inline constexpr UINT DFCS_CHECKED = 0x400;
inline constexpr UINT DFCS_TRANSPARENT = 0x800;
inline constexpr UINT DFCS_HOT = 0x1000;
inline constexpr UINT DFCS_ADJUSTRECT = 0x2000;
inline constexpr UINT DFCS_FLAT = 0x4000;
inline constexpr UINT DFCS_MONO = 0x8000;

// False for an unknown type or a context that does not resolve. Menu glyphs are black on white,
// as callers that turn white into a mask expect.
bool DrawFrameControl(HDC dc, TRect* rect, UINT type, UINT state);

}  // namespace vandrel
