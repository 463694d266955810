// What the window system needs from a display: the screen, the top-level windows shown on it,
// and input. Backends (the virtual screen of the tests, X11) implement it and feed input back
// through the injection calls of Input.h. All calls run on the user-interface thread.
#pragma once

#include "platform/core/Geometry.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

class TSurface;

class TDisplayBackend {
 public:
  virtual ~TDisplayBackend() = default;

  virtual TSize ScreenSize() const = 0;
  virtual TRect WorkArea() const = 0;
  // Bits per pixel of the screen as the display stores it.
  virtual int ScreenDepth() const { return 32; }

  // A top-level window appeared, vanished, moved or resized, changed its shape, title, icon or
  // stacking, or has new pixels in its backing store (rect in window coordinates).
  virtual void WindowShown(HWND) {}
  virtual void WindowHidden(HWND) {}
  virtual void WindowMoved(HWND) {}
  virtual void WindowShapeChanged(HWND) {}
  virtual void WindowTextChanged(HWND) {}
  virtual void WindowIconChanged(HWND) {}
  virtual void ZOrderChanged() {}
  virtual void WindowDestroyed(HWND) {}
  virtual void SurfaceChanged(HWND, const TRect&) {}
  virtual void ActiveChanged(HWND) {}
  // The capture moved to a window (null: released). False when the display could not give that
  // window the pointer (another program holds it): the window system then takes the capture back.
  virtual bool CaptureChanged(HWND) { return true; }
  virtual void CursorChanged(HCURSOR) {}

  // Presents what changed; called before the message loop waits.
  virtual void Flush() {}
  // The composed screen inside rect (screen coordinates) into dst at (0, 0).
  virtual void ReadScreen(TSurface& dst, const TRect& rect) = 0;
  // Pixels drawn on the screen context, written back to the screen.
  virtual void WriteScreen(const TSurface& src, const TRect& rect) = 0;

  // Delivers pending input without blocking.
  virtual void PollEvents() = 0;
  // Waits at most timeoutMs (negative: no limit) for input; false when nothing came and nothing
  // can come (the message loop would wait forever).
  virtual bool WaitEvents(int timeoutMs) = 0;
};

// The backend in use; null until a display is opened (then the window system behaves as if on a
// 1280x800 screen that shows nothing and produces no input).
void SetDisplayBackend(TDisplayBackend* backend);
TDisplayBackend* GetDisplayBackend();

}  // namespace vandrel
