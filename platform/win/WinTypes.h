// The scalar types, handles and records of the window system, with the platform's names and
// parameter packing so that message code reads as it would on the original platform.
#pragma once

#include <cstdint>

#include "platform/core/Geometry.h"

namespace vandrel {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using BOOL = int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;

// Handles are opaque and never reused, so a stale handle is recognised instead of reaching
// another window.
struct HWND__;
using HWND = HWND__*;
struct HCURSOR__;
using HCURSOR = HCURSOR__*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

constexpr WORD LOWORD(std::uintptr_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return LPARAM(std::int32_t(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16)));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) { return WPARAM(DWORD(WORD(lo)) | (DWORD(WORD(hi)) << 16)); }
constexpr LRESULT MAKELRESULT(int lo, int hi) { return LRESULT(MAKELPARAM(lo, hi)); }
// Signed coordinates packed in an lParam (screen positions can be negative).
constexpr int GET_X_LPARAM(LPARAM l) { return std::int16_t(LOWORD(std::uintptr_t(l))); }
constexpr int GET_Y_LPARAM(LPARAM l) { return std::int16_t(HIWORD(std::uintptr_t(l))); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return std::int16_t(HIWORD(w)); }
constexpr int GET_KEYSTATE_WPARAM(WPARAM w) { return LOWORD(w); }
inline LPARAM PointToLParam(TPoint p) { return MAKELPARAM(p.X, p.Y); }
inline TPoint LParamToPoint(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  TPoint pt;
};

// The position record of WM_WINDOWPOSCHANGING/WM_WINDOWPOSCHANGED; a handler of the first may
// change it and the change takes effect.
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
};

// WM_NCCALCSIZE with wParam set: rgrc[0] is the proposed window rectangle on entry and the client
// rectangle on return, rgrc[1] the old window rectangle, rgrc[2] the old client rectangle, all
// in the parent's client coordinates.
struct NCCALCSIZE_PARAMS {
  TRect rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  UINT_PTR hMenu = 0;
  HWND hwndParent = nullptr;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

struct MINMAXINFO {
  TPoint ptReserved;
  TPoint ptMaxSize;
  TPoint ptMaxPosition;
  TPoint ptMinTrackSize;
  TPoint ptMaxTrackSize;
};

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// rgstate: 0 the bar, 1 top arrow, 2 page up area, 3 thumb, 4 page down area, 5 bottom arrow.
struct SCROLLBARINFO {
  DWORD cbSize = sizeof(SCROLLBARINFO);
  TRect rcScrollBar;  // screen coordinates
  int dxyLineButton = 0;
  int xyThumbTop = 0;
  int xyThumbBottom = 0;
  int reserved = 0;
  DWORD rgstate[6] = {};
};

struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;
};

}  // namespace vandrel
