// The platform's standard frame controls in the classic look: caption buttons, scroll arrows, the
// size grip, check boxes, push buttons and the menu glyphs. Glyphs scale with the rectangle.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

enum : UINT { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4, DFC_POPUPMENU = 5 };
enum : UINT {
  DFCS_CAPTIONCLOSE = 0x0, DFCS_CAPTIONMIN = 0x1, DFCS_CAPTIONMAX = 0x2,
  DFCS_CAPTIONRESTORE = 0x3, DFCS_CAPTIONHELP = 0x4,
  DFCS_MENUARROW = 0x0, DFCS_MENUCHECK = 0x1, DFCS_MENUBULLET = 0x2,
  DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
  DFCS_SCROLLCOMBOBOX = 0x5, DFCS_SCROLLSIZEGRIP = 0x8, DFCS_SCROLLSIZEGRIPRIGHT = 0x10,
  DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
  DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800,
  DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};

// False for an unknown type or a context that does not resolve. Menu glyphs are black on white,
// as callers that turn white into a mask expect.
bool DrawFrameControl(HDC dc, TRect* rect, UINT type, UINT state);

}  // namespace vandrel
