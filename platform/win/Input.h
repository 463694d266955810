// Mouse and keyboard: capture, focus, activation, key state, the cursor, and the calls through
// which a display (or a test) injects input at screen positions.
#pragma once

#include "platform/win/WinTypes.h"

namespace vandrel {

HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();

// High bit set while down, low bit toggled on each press, as the platform reports.
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);

bool GetCursorPos(TPoint& pt);
TPoint CursorPos();
bool SetCursorPos(int x, int y);

enum : std::uintptr_t {
  IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515, IDC_SIZENWSE = 32642,
  IDC_SIZENESW = 32643, IDC_SIZEWE = 32644, IDC_SIZENS = 32645, IDC_SIZEALL = 32646,
  IDC_NO = 32648, IDC_HAND = 32649,
};
HCURSOR LoadCursor(std::uintptr_t id);
// The standard cursor id behind a handle (IDC_ARROW for null).
std::uintptr_t CursorId(HCURSOR cursor);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

bool TrackMouseEvent(TRACKMOUSEEVENT& tme);

enum class TMouseButton { Left, Right, Middle };
// Input as a display delivers it, queued and turned into window messages when the message loop
// takes it, with hit-testing, capture, activation and double clicks.
void InjectMouseMove(TPoint screenPt);
// The pointer went to a window that is not ours (or off every window of ours): the window it
// left gets its WM_MOUSELEAVE, and until the next move no window of ours is under the pointer.
void InjectMouseLeave(TPoint screenPt);
void InjectMouseButton(TMouseButton button, bool down, TPoint screenPt);
void InjectMouseWheel(int delta, TPoint screenPt);
// ch: the character the key produces, 0 to derive it from the key code and the shift state.
void InjectKey(int vk, bool down, char32_t ch = 0);
// Text typed without a key of its own (an input method's composition): WM_CHAR for the focus.
void InjectChar(char32_t ch);

}  // namespace vandrel
