// The notification area as a display offers it: icons that stand for windows, each one answering
// the mouse by a message to its window. A display backend that has a notification area (the X
// system tray, the virtual screen's stand-in) implements this beside TDisplayBackend; the
// services layer's Shell_NotifyIcon uses it.
#pragma once

#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

struct TTrayIcon {
  HWND Window = nullptr;
  UINT Id = 0;
  // Sent (posted) to Window: wParam the icon's Id, lParam the mouse message (WM_LBUTTONDOWN,
  // WM_LBUTTONDBLCLK, WM_RBUTTONUP, ...) or NIN_ICONLOST. 0: the icon says nothing.
  UINT CallbackMessage = 0;
  HICON Icon;
  std::string Tip;
};

// lParam of the callback when the notification area went away with the icon in it: the window
// should come back, since nothing shows it any more. The icon is kept and shows again when a
// notification area starts.
constexpr LPARAM NIN_ICONLOST = 0x0480;

class TTrayHost {
 public:
  virtual ~TTrayHost() = default;
  // Whether a notification area runs now.
  virtual bool TrayAvailable() = 0;
  // Shows a new icon or changes one (same Window and Id); false when no notification area took
  // a new one (then it is not kept).
  virtual bool ShowTrayIcon(const TTrayIcon& icon) = 0;
  virtual bool RemoveTrayIcon(HWND window, UINT id) = 0;
  // The icon as it stands, or null.
  virtual const TTrayIcon* FindTrayIcon(HWND window, UINT id) const = 0;
};

}  // namespace vandrel
