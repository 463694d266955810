// The modal message box: a small window with the classic frame, the text and one to three
// buttons, used for the program's own messages and for the failures the application shows.
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

namespace vandrel {

enum : UINT {
  MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4, MB_TYPEMASK = 0xF,
  MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40,
  MB_DEFBUTTON1 = 0x0, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00,
  MB_TOPMOST = 0x40000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Shows the box centred on the work area, disables the owner while it is up and returns the
// button chosen: Enter or Space press the focused button (at first the default one), Tab and the
// arrow keys move the focus, Escape and the close button give IDCANCEL where there is a Cancel
// button and IDOK in an OK box (a Yes/No box can only be answered). Returns 0 when the box cannot
// be answered at all: no display input can ever arrive, or the application is quitting (the quit
// request stays pending for the caller's loop). Icons are not drawn.
int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

}  // namespace vandrel
