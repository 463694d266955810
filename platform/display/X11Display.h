// The X11 display: every visible top-level window is an undecorated X window (override-redirect
// for tool windows that are popups, or topmost and never activated: menus), its shape an XShape, its backing store pushed with MIT-SHM (or
// XPutImage), X input turned into injected input, the screen read through the root window.
// Without a window manager the program keeps its topmost windows on top itself.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/win/DisplayBackend.h"
#include "platform/win/TrayHost.h"

namespace vandrel {

class TX11Display : public TDisplayBackend, public TTrayHost {
 public:
  // Opens the named display (empty: $DISPLAY); raises EOSError when it cannot be opened.
  static std::unique_ptr<TX11Display> Open(const std::string& name = {});
  ~TX11Display() override;

  // The application title: the icon name of every window.
  void SetApplicationTitle(const std::string& title);
  bool HasWindowManager() const;
  bool UsesSharedMemory() const;

  TSize ScreenSize() const override;
  TRect WorkArea() const override;
  int ScreenDepth() const override;
  void WindowShown(HWND) override;
  void WindowHidden(HWND) override;
  void WindowMoved(HWND) override;
  void WindowShapeChanged(HWND) override;
  void WindowTextChanged(HWND) override;
  void WindowIconChanged(HWND) override;
  void ZOrderChanged() override;
  void WindowDestroyed(HWND) override;
  void SurfaceChanged(HWND, const TRect&) override;
  void ActiveChanged(HWND) override;
  bool CaptureChanged(HWND) override;
  void CursorChanged(HCURSOR) override;
  void Flush() override;
  void ReadScreen(TSurface& dst, const TRect& rect) override;
  void WriteScreen(const TSurface& src, const TRect& rect) override;
  void PollEvents() override;
  bool WaitEvents(int timeoutMs) override;

  // The notification area: the X system tray, when one runs.
  bool TrayAvailable() override;
  bool ShowTrayIcon(const TTrayIcon& icon) override;
  bool RemoveTrayIcon(HWND window, UINT id) override;
  const TTrayIcon* FindTrayIcon(HWND window, UINT id) const override;

 private:
  struct TImpl;
  explicit TX11Display(std::unique_ptr<TImpl> impl);
  std::unique_ptr<TImpl> m_impl;
};

// The display the program runs on: VANDREL_BACKEND=headless|x11, else X11 when DISPLAY is set,
// else the virtual screen. Installs it as the window system's display.
std::unique_ptr<TDisplayBackend> OpenDisplay();

}  // namespace vandrel
