// The state of one window as the window system keeps it. Internal to platform/win and the
// display backends; everyone else goes through handles.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Region.h"
#include "platform/win/Window.h"

namespace vandrel {

class TSurface;

struct TScrollBarState {
  int Min = 0;
  int Max = 100;
  UINT Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  bool Tracking = false;
  bool Disabled = false;
  bool Shown = false;  // SetScrollInfo may hide a bar whose range became empty
};

struct TWindowRecord {
  HWND Handle = nullptr;
  std::shared_ptr<const WNDCLASS> Class;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  TWindowRecord* Parent = nullptr;  // the desktop for top-level windows
  HWND Owner = nullptr;
  std::vector<TWindowRecord*> Children;  // front to back
  TRect Rect;                            // in the parent's client coordinates
  TRect Client;                          // in the parent's client coordinates
  std::string Text;
  WNDPROC Proc;
  LONG_PTR UserData = 0;
  UINT_PTR Id = 0;
  HICON Icon;

  // Painting: what needs repainting, in client coordinates.
  TRegion Update;
  bool FrameDirty = false;
  bool EraseDue = false;
  bool InternalPaint = false;
  bool InBeginPaint = false;

  // The shape set by SetWindowRgn, in window coordinates; owned by the window.
  bool HasRegion = false;
  TRegion Shape;

  TScrollBarState VScroll;
  TScrollBarState HScroll;

  TRect RestoreRect;  // bounds to go back to from minimized
  int CallDepth = 0;  // procedure calls running on this window
  bool Destroying = false;

  // Top-level windows draw into their own backing store, which the display composes.
  std::shared_ptr<TSurface> Surface;

  bool IsTopLevel() const { return Parent && !Parent->Parent; }
  bool Visible() const { return (Style & WS_VISIBLE) != 0; }
  bool Enabled() const { return (Style & WS_DISABLED) == 0; }
  TRect WindowBounds() const { return {0, 0, Rect.Width(), Rect.Height()}; }
  // The client rectangle in window coordinates.
  TRect ClientInWindow() const { return OffsetRect(Client, -Rect.Left, -Rect.Top); }
};

}  // namespace vandrel
