// Windows: classes, creation and destruction, the parent/child tree and z-order, styles, text,
// positioning with its message sequence, coordinate mapping and window shapes.
#pragma once

#include <string>

#include "platform/gdi/GdiTypes.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowStyles.h"

namespace vandrel {

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc;  // null: DefWindowProc
  HCURSOR hCursor = nullptr;
  // Background filled by the default WM_ERASEBKGND; clNone leaves the background alone.
  TColor hbrBackground = clNone;
  std::string lpszClassName;
};

// Registering a name again replaces the class for windows created afterwards.
void RegisterClass(const WNDCLASS& cls);
bool UnregisterClass(const std::string& name);

// Raises EInvalidArgument for an unknown class or a child without a valid parent. Returns null
// when WM_NCCREATE or WM_CREATE refused the window (which is then destroyed again).
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    UINT_PTR menuOrId = 0, void* param = nullptr);
// False for an invalid handle or a window already being destroyed.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);

HWND GetDesktopWindow();
HWND GetParent(HWND hwnd);  // the parent of a child, the owner of a top-level window
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND parent);  // null parent: the front top-level window
bool IsChild(HWND parent, HWND hwnd);
HWND SetParent(HWND hwnd, HWND newParent);

LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
// GWL_STYLE changes send WM_STYLECHANGING/WM_STYLECHANGED; GWLP_WNDPROC is not accepted here
// (procedures are objects: use SetWindowProc).
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND hwnd, int index) { return LONG(GetWindowLongPtr(hwnd, index)); }
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) {
  return LONG(SetWindowLongPtr(hwnd, index, value));
}
WNDPROC GetWindowProc(HWND hwnd);
// Installs a procedure and returns the previous one (null for an invalid window).
WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc);
std::string GetClassName(HWND hwnd);
UINT GetClassStyle(HWND hwnd);

// Text goes through WM_SETTEXT and WM_GETTEXT, so a subclassing procedure sees it.
bool SetWindowText(HWND hwnd, const std::string& text);
std::string GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

bool IsWindowVisible(HWND hwnd);  // the window and all its ancestors
bool IsWindowEnabled(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);  // returns whether it was disabled before
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
bool ShowWindow(HWND hwnd, int cmd);  // returns whether the window was visible before
bool BringWindowToTop(HWND hwnd);

bool GetWindowRect(HWND hwnd, TRect& rect);  // screen coordinates
bool GetClientRect(HWND hwnd, TRect& rect);  // (0, 0, width, height) of the client area
TRect WindowRect(HWND hwnd);
TRect ClientRect(HWND hwnd);
bool ClientToScreen(HWND hwnd, TPoint& pt);
bool ScreenToClient(HWND hwnd, TPoint& pt);
// Maps points from one window's client coordinates to another's; null means the screen.
void MapWindowPoints(HWND from, HWND to, TPoint* points, int count);
TRect MapWindowRect(HWND from, HWND to, const TRect& r);

// The deepest visible window under a screen point that does not answer HTTRANSPARENT.
HWND WindowFromPoint(TPoint screenPt);
HWND ChildWindowFromPoint(HWND parent, TPoint clientPt);

// The window takes ownership of the region (in window coordinates) and deletes its handle; null
// removes the shape. The region shapes hit-testing, drawing and what the display shows.
bool SetWindowRgn(HWND hwnd, HRGN region, bool redraw);
// Copies the shape into an existing region; RGN_ERROR (0) when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region);

// The icon the display shows for a top-level window (X11: _NET_WM_ICON).
void SetWindowIcon(HWND hwnd, HICON icon);
HICON GetWindowIcon(HWND hwnd);

}  // namespace vandrel
