// The framework's own notifications between controls (enter/leave, focus, text, colour, font,
// dialog keys, hints, child lists) and the message record that carries any message through a
// control's WndProc. The numbers sit in a private range above the platform's WM_USER messages and
// below the skin layer's private numbers.
#pragma once

#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

constexpr UINT CM_BASE = 0xB000;
enum : UINT {
  CM_ACTIVATE = CM_BASE + 0,
  CM_DEACTIVATE = CM_BASE + 1,
  CM_DIALOGKEY = CM_BASE + 5,     // wParam: virtual key; Result 1 when handled
  CM_DIALOGCHAR = CM_BASE + 6,    // wParam: character (UTF-32); Result 1 when handled
  CM_FOCUSCHANGED = CM_BASE + 7,  // lParam: the control that has the focus now (TWinControl*)
  CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_HITTEST = CM_BASE + 10,      // lParam: client point; Result non-zero when the control is hit
  CM_VISIBLECHANGED = CM_BASE + 11,
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,   // lParam: the control entered (sent to it and to its parents)
  CM_MOUSELEAVE = CM_BASE + 20,
  CM_SHOWINGCHANGED = CM_BASE + 25,
  CM_ENTER = CM_BASE + 26,
  CM_EXIT = CM_BASE + 27,
  CM_ICONCHANGED = CM_BASE + 29,
  CM_WANTSPECIALKEY = CM_BASE + 30,
  CM_RELEASE = CM_BASE + 33,
  CM_SHOWHINTCHANGED = CM_BASE + 34,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
  CM_SYSCOLORCHANGE = CM_BASE + 36,
  CM_TABSTOPCHANGED = CM_BASE + 40,
  CM_CONTROLLISTCHANGE = CM_BASE + 44,  // wParam: the control; lParam: 1 inserted, 0 removed
  CM_CHILDKEY = CM_BASE + 46,
  CM_HINTSHOW = CM_BASE + 48,     // lParam: THintInfo*; Result non-zero suppresses the hint
  CM_RECREATEWND = CM_BASE + 51,
  CM_INVALIDATE = CM_BASE + 52,
  CM_CONTROLCHANGE = CM_BASE + 54,      // wParam: the control; lParam: 1 inserted, 0 removed
  CM_BORDERCHANGED = CM_BASE + 59,
  CM_BIDIMODECHANGED = CM_BASE + 60,
  CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
  CM_ACTIONUPDATE = CM_BASE + 63,
  CM_ACTIONEXECUTE = CM_BASE + 64,
  CM_MOUSEWHEEL = CM_BASE + 67,
  CM_LAST = CM_BASE + 0x50,
};

// Dialog codes of WM_GETDLGCODE: which keys a control keeps for itself instead of letting the
// form use them for navigation.
enum : LRESULT {
  DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTALLKEYS = 0x4, DLGC_WANTCHARS = 0x80,
};

}  // namespace vandrel
