// Shell_NotifyIcon: the window's icon in the notification area, through the display's tray (the
// X system tray, or the virtual screen's stand-in). Without a notification area every call fails,
// so the caller can fall back (minimise instead of hiding in the tray).
#pragma once

#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

enum : DWORD { NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2 };
enum : UINT { NIF_MESSAGE = 0x1, NIF_ICON = 0x2, NIF_TIP = 0x4 };

struct NOTIFYICONDATA {
  HWND hWnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;            // which of the three below count (NIM_ADD: the others are empty)
  UINT uCallbackMessage = 0;
  HICON hIcon;
  std::string szTip;           // UTF-8, shown as the icon's tip
};

bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data);
// Whether a notification area runs now.
bool NotifyAreaAvailable();

}  // namespace vandrel
