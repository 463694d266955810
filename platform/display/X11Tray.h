// The X system tray (the freedesktop protocol over XEmbed): each notification-area icon is a small
// window of ours that the tray owning _NET_SYSTEM_TRAY_S<screen> embeds. A tray that announces
// itself later (MANAGER) gets every kept icon; one that dies leaves no icon window mapped on the
// root and tells the icons' windows (NIN_ICONLOST). Internal to the X11 display.
#pragma once

#include <memory>

#include "platform/display/X11PixelFormat.h"
#include "platform/win/TrayHost.h"

// Xlib's types only, as the display passes them.
typedef struct _XDisplay Display;
typedef union _XEvent XEvent;

namespace vandrel {

class TX11Tray {
 public:
  // Icons are windows of the screen's default visual, whose format is given.
  TX11Tray(Display* dpy, int screen, const TX11PixelFormat& format);
  ~TX11Tray();

  bool Available();
  bool Show(const TTrayIcon& icon);
  bool Remove(HWND window, UINT id);
  const TTrayIcon* Find(HWND window, UINT id) const;
  void WindowDestroyed(HWND window);
  // Takes the tray's events (its icon windows', the manager's, MANAGER on the root); false for
  // every other event.
  bool Handle(XEvent& e);

 private:
  struct TImpl;
  std::unique_ptr<TImpl> m_impl;
};

}  // namespace vandrel
