#include "platform/display/X11Mapping.h"

#include "platform/win/Input.h"
#include "platform/win/VirtualKeys.h"

#include <X11/cursorfont.h>
#include <X11/keysym.h>

namespace vandrel {

int VirtualKeyOfKeySym(unsigned long k) {
  if (k >= XK_a && k <= XK_z) return int('A' + (k - XK_a));
  if (k >= XK_A && k <= XK_Z) return int(k);
  if (k >= XK_0 && k <= XK_9) return int(k);
  if (k >= XK_F1 && k <= XK_F12) return VK_F1 + int(k - XK_F1);
  if (k >= XK_KP_0 && k <= XK_KP_9) return VK_NUMPAD0 + int(k - XK_KP_0);
  switch (k) {
    case XK_BackSpace: return VK_BACK;
    case XK_Tab: return VK_TAB;
    case XK_Return: case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_space: return VK_SPACE;
    case XK_Prior: return VK_PRIOR;
    case XK_Next: return VK_NEXT;
    case XK_End: return VK_END;
    case XK_Home: return VK_HOME;
    case XK_Left: return VK_LEFT;
    case XK_Up: return VK_UP;
    case XK_Right: return VK_RIGHT;
    case XK_Down: return VK_DOWN;
    case XK_Insert: return VK_INSERT;
    case XK_Delete: return VK_DELETE;
    case XK_Shift_L: case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L: case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L: case XK_Alt_R: case XK_Meta_L: case XK_Meta_R: return VK_MENU;
    case XK_Caps_Lock: return VK_CAPITAL;
    case XK_minus: return VK_OEM_MINUS;
    case XK_equal: return VK_OEM_PLUS;
    case XK_comma: return VK_OEM_COMMA;
    case XK_period: return VK_OEM_PERIOD;
    case XK_semicolon: return VK_OEM_1;
    case XK_slash: return VK_OEM_2;
    case XK_grave: return VK_OEM_3;
    case XK_bracketleft: return VK_OEM_4;
    case XK_backslash: return VK_OEM_5;
    case XK_bracketright: return VK_OEM_6;
    case XK_apostrophe: return VK_OEM_7;
    case XK_KP_Add: return VK_ADD;
    case XK_KP_Subtract: return VK_SUBTRACT;
    case XK_KP_Multiply: return VK_MULTIPLY;
    case XK_KP_Divide: return VK_DIVIDE;
    case XK_KP_Decimal: return VK_DECIMAL;
    default: return 0;
  }
}

unsigned int XCursorShapeOf(std::uintptr_t id) {
  switch (id) {
    case IDC_IBEAM: return XC_xterm;
    case IDC_WAIT: return XC_watch;
    case IDC_CROSS: return XC_crosshair;
    case IDC_SIZENWSE: return XC_bottom_right_corner;
    case IDC_SIZENESW: return XC_bottom_left_corner;
    case IDC_SIZEWE: return XC_sb_h_double_arrow;
    case IDC_SIZENS: return XC_sb_v_double_arrow;
    case IDC_SIZEALL: return XC_fleur;
    case IDC_HAND: return XC_hand2;
    default: return XC_left_ptr;
  }
}

}  // namespace vandrel
