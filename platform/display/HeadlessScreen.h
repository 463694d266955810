// The virtual screen: a display held in memory that composes the top-level windows by z-order
// and shape, takes input injected at screen positions, and gives screenshots. Every UI test and
// the snapshot mode run on it:
//
//   auto screen = THeadlessScreen::Create({1280, 800});
//   HWND w = CreateWindowEx(...);
//   screen->Click({100, 60});
//   ProcessPendingMessages();
//   WritePng(*screen->Capture(), "shot.png");   // platform/gdi/PngWriter.h
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"
#include "platform/win/DisplayBackend.h"
#include "platform/win/Input.h"
#include "platform/win/TrayHost.h"

namespace vandrel {

class THeadlessScreen : public TDisplayBackend, public TTrayHost {
 public:
  // Installs itself as the display; the work area defaults to the whole screen. Sizes must be
  // positive (EInvalidArgument).
  static std::unique_ptr<THeadlessScreen> Create(TSize size = {1280, 800}, std::optional<TRect> workArea = {});
  ~THeadlessScreen() override;

  TSize ScreenSize() const override { return m_size; }
  TRect WorkArea() const override { return m_workArea; }
  void SetWorkArea(const TRect& r) { m_workArea = r; }
  // Pixels are always stored in 32 bits; the reported depth stands in for other screens.
  int ScreenDepth() const override { return m_depth; }
  void SetScreenDepth(int depth) { m_depth = depth; }

  // The screen as it looks now.
  std::shared_ptr<TSurface> Capture() const;
  // One window as it looks on its top-level window's backing store, window coordinates.
  std::shared_ptr<TSurface> CaptureWindow(HWND hwnd) const;
  // Pixels as 0x00RRGGBB (alpha dropped), for exact comparisons.
  std::uint32_t ScreenPixel(int x, int y) const;

  // Input, queued like a real display's; the message loop turns it into messages.
  void MouseMove(TPoint p);
  // The pointer moves on to a window of another program at p.
  void MouseLeave(TPoint p);
  void MouseDown(TPoint p, TMouseButton b = TMouseButton::Left);
  void MouseUp(TPoint p, TMouseButton b = TMouseButton::Left);
  void Click(TPoint p, TMouseButton b = TMouseButton::Left);
  void Wheel(TPoint p, int delta);
  void KeyDown(int vk, char32_t ch = 0);
  void KeyUp(int vk);
  void KeyPress(int vk, char32_t ch = 0);

  // Called when the message loop would wait for input; return true after injecting some.
  // Lets a test drive a modal loop from the outside.
  void SetIdleHandler(std::function<bool()> handler) { m_idle = std::move(handler); }

  // A stand-in notification area, off until a test starts it. Stopping it loses every icon in it
  // (their windows hear NIN_ICONLOST); icons kept show again when it starts.
  void SetTrayRunning(bool running);
  const std::vector<TTrayIcon>& TrayIcons() const { return m_trayIcons; }
  // The mouse on an icon: its window gets the callback with the message.
  void TrayMouse(HWND window, UINT id, UINT mouseMessage);
  bool TrayAvailable() override { return m_trayRunning; }
  bool ShowTrayIcon(const TTrayIcon& icon) override;
  bool RemoveTrayIcon(HWND window, UINT id) override;
  const TTrayIcon* FindTrayIcon(HWND window, UINT id) const override;

  void WindowShown(HWND) override { Changed(); }
  void WindowHidden(HWND) override { Changed(); }
  void WindowMoved(HWND) override { Changed(); }
  void WindowShapeChanged(HWND) override { Changed(); }
  void ZOrderChanged() override { Changed(); }
  void WindowDestroyed(HWND h) override;
  void SurfaceChanged(HWND, const TRect&) override { Changed(); }
  void CursorChanged(HCURSOR c) override { m_cursor = c; }
  // Plays a display whose pointer another program holds: every capture is refused.
  void SetCaptureRefused(bool refused) { m_captureRefused = refused; }
  bool CaptureChanged(HWND h) override { return !h || !m_captureRefused; }
  HCURSOR Cursor() const { return m_cursor; }

  void ReadScreen(TSurface& dst, const TRect& rect) override;
  void WriteScreen(const TSurface& src, const TRect& rect) override;
  void PollEvents() override {}
  bool WaitEvents(int timeoutMs) override;

 private:
  THeadlessScreen(TSize size, TRect workArea);
  void Changed() { m_overlay = TRegion(); }
  // The screen inside `area` into dst, whose (0, 0) is the area's top-left corner.
  void ComposeInto(TSurface& dst, const TRect& area) const;

  TSize m_size;
  TRect m_workArea;
  int m_depth = 32;
  std::function<bool()> m_idle;
  HCURSOR m_cursor = nullptr;
  bool m_captureRefused = false;
  bool m_trayRunning = false;
  std::vector<TTrayIcon> m_trayIcons;
  // What was drawn on the screen context stays until a window changes.
  std::shared_ptr<TSurface> m_overlayPixels;
  TRegion m_overlay;
};

}  // namespace vandrel
