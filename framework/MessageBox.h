// The message box: a modal dialog with a caption, the message and its buttons, in the classic look.
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

namespace vandrel {

// flags: MB_OK, MB_OKCANCEL or MB_YESNO (Application.h); returns IDOK, IDCANCEL, IDYES or IDNO.
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

}  // namespace vandrel
