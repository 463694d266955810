// Standard window scroll bars.
#include "platform/win/ScrollBar.h"

#include <algorithm>
#include <cstdint>

#include "platform/core/ScopeExit.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Edge.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/DefaultFrame.h"
#include "platform/win/Input.h"
#include "platform/win/Invalidation.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Settings.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TScrollBarState* BarState(TWindowRecord* w, int bar) {
  if (!w) return nullptr;
  if (bar == SB_VERT) return &w->VScroll;
  if (bar == SB_HORZ) return &w->HScroll;
  return nullptr;
}

void RedrawFrame(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN); }

// Range arithmetic runs in 64 bits: a range may span every int (SetScrollRange(0, INT_MAX)).
std::int64_t RangeOf(const TScrollBarState& s) { return std::int64_t(s.Max) - s.Min + 1; }

int MaxPos(const TScrollBarState& s) {
  return int(std::max<std::int64_t>(s.Min, s.Max - std::max<std::int64_t>(std::int64_t(s.Page) - 1, 0)));
}

bool HasThumbRange(const TScrollBarState& s) { return RangeOf(s) > std::int64_t(s.Page) && s.Max > s.Min; }

// Showing or hiding a bar changes the client area.
void SetShown(HWND hwnd, TWindowRecord* w, int bar, bool shown) {
  TScrollBarState* s = BarState(w, bar);
  if (s->Shown == shown) return;
  s->Shown = shown;
  DWORD flag = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  w->Style = shown ? (w->Style | flag) : (w->Style & ~flag);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw) {
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  TScrollBarState* s = BarState(w, bar);
  if (!s) return 0;
  if (info.fMask & SIF_RANGE) {
    s->Min = info.nMin;
    s->Max = std::max(info.nMax, info.nMin);
  }
  if (info.fMask & SIF_PAGE) s->Page = UINT(std::min<std::int64_t>(info.nPage, std::min<std::int64_t>(RangeOf(*s), UINT32_MAX)));
  if (info.fMask & SIF_POS) s->Pos = info.nPos;
  s->Pos = std::clamp(s->Pos, s->Min, MaxPos(*s));
  bool scrollable = HasThumbRange(*s);
  if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
    if (info.fMask & SIF_DISABLENOSCROLL) {
      s->Disabled = !scrollable;
      SetShown(hwnd, w, bar, true);
    } else {
      SetShown(hwnd, w, bar, scrollable);
    }
  }
  if (!(w = TWindowSystem::Instance().Find(hwnd))) return 0;
  if (redraw) RedrawFrame(hwnd);
  return BarState(w, bar)->Pos;
}

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info) {
  TScrollBarState* s = BarState(TWindowSystem::Instance().Find(hwnd), bar);
  if (!s) return false;
  if (info.fMask & SIF_RANGE) {
    info.nMin = s->Min;
    info.nMax = s->Max;
  }
  if (info.fMask & SIF_PAGE) info.nPage = s->Page;
  if (info.fMask & SIF_POS) info.nPos = s->Pos;
  if (info.fMask & SIF_TRACKPOS) info.nTrackPos = s->Tracking ? s->TrackPos : s->Pos;
  return true;
}

int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw) {
  SCROLLINFO si;
  si.fMask = SIF_POS;
  int old = GetScrollPos(hwnd, bar);
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  TScrollBarState* s = BarState(TWindowSystem::Instance().Find(hwnd), bar);
  return s ? s->Pos : 0;
}

bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = min;
  si.nMax = max;
  if (!BarState(TWindowSystem::Instance().Find(hwnd), bar)) return false;
  SetScrollInfo(hwnd, bar, si, redraw);
  return true;
}

bool ShowScrollBar(HWND hwnd, int bar, bool show) {
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  if (!w) return false;
  if (bar == SB_VERT || bar == SB_BOTH) SetShown(hwnd, w, SB_VERT, show);
  if (!(w = TWindowSystem::Instance().Find(hwnd))) return false;
  if (bar == SB_HORZ || bar == SB_BOTH) SetShown(hwnd, w, SB_HORZ, show);
  return true;
}

bool EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  if (!w) return false;
  for (int b : {SB_HORZ, SB_VERT})
    if (bar == b || bar == SB_BOTH) BarState(w, b)->Disabled = arrows == ESB_DISABLE_BOTH;
  RedrawFrame(hwnd);
  return true;
}

TScrollBarParts ScrollBarParts(HWND hwnd, int bar) {
  TScrollBarParts p;
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  TScrollBarState* s = BarState(w, bar);
  if (!s) return p;
  TFrameLayout l = DefaultFrameLayout(w->Style, w->ExStyle, w->Rect.Size(), w->VScroll.Shown, w->HScroll.Shown);
  bool vert = bar == SB_VERT;
  p.Bar = vert ? l.VScroll : l.HScroll;
  if (p.Bar.IsEmpty()) return p;
  // Work along the bar as if it were vertical, then map back.
  int start = vert ? p.Bar.Top : p.Bar.Left;
  int length = vert ? p.Bar.Height() : p.Bar.Width();
  int arrow = std::min(GetSystemMetrics(vert ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
  int trackStart = start + arrow, trackEnd = start + length - arrow;
  int track = trackEnd - trackStart;
  int thumbStart = trackStart, thumbEnd = trackStart;
  bool hasThumb = !s->Disabled && HasThumbRange(*s) && track >= 8;
  if (hasThumb) {
    int thumb = s->Page ? int(std::max<std::int64_t>(std::int64_t(track) * s->Page / RangeOf(*s), 8))
                        : GetSystemMetrics(vert ? SM_CYVTHUMB : SM_CXHTHUMB);
    thumb = std::min(thumb, track);
    std::int64_t span = std::max<std::int64_t>(std::int64_t(MaxPos(*s)) - s->Min, 1);
    std::int64_t pos = std::clamp<std::int64_t>(s->Tracking ? s->TrackPos : s->Pos, s->Min, MaxPos(*s));
    thumbStart = trackStart + int(std::int64_t(track - thumb) * (pos - s->Min) / span);
    thumbEnd = thumbStart + thumb;
  }
  auto seg = [&](int a, int b) {
    return vert ? TRect{p.Bar.Left, a, p.Bar.Right, b} : TRect{a, p.Bar.Top, b, p.Bar.Bottom};
  };
  p.ArrowUp = seg(start, trackStart);
  p.ArrowDown = seg(trackEnd, start + length);
  if (hasThumb) {
    p.PageUp = seg(trackStart, thumbStart);
    p.Thumb = seg(thumbStart, thumbEnd);
    p.PageDown = seg(thumbEnd, trackEnd);
  } else {
    p.PageUp = seg(trackStart, trackEnd);
  }
  return p;
}

bool GetScrollBarInfo(HWND hwnd, LONG objectId, SCROLLBARINFO& info) {
  int bar = objectId == OBJID_VSCROLL ? SB_VERT : objectId == OBJID_HSCROLL ? SB_HORZ : -1;
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  TScrollBarState* s = BarState(w, bar);
  if (!s) return false;
  TScrollBarParts p = ScrollBarParts(hwnd, bar);
  TPoint o = WindowOriginOnScreen(*w);
  info = SCROLLBARINFO{};
  info.rcScrollBar = OffsetRect(p.Bar, o.X, o.Y);
  bool vert = bar == SB_VERT;
  info.dxyLineButton = vert ? p.ArrowUp.Height() : p.ArrowUp.Width();
  int base = vert ? p.Bar.Top : p.Bar.Left;
  info.xyThumbTop = p.Thumb.IsEmpty() ? 0 : (vert ? p.Thumb.Top : p.Thumb.Left) - base;
  info.xyThumbBottom = p.Thumb.IsEmpty() ? 0 : (vert ? p.Thumb.Bottom : p.Thumb.Right) - base;
  if (!s->Shown) info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
  if (s->Disabled) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  if (p.Thumb.IsEmpty()) info.rgstate[3] |= STATE_SYSTEM_INVISIBLE;
  return true;
}

namespace {

void FillSys(HDC dc, const TRect& r, int c) { FillRect(dc, r, GetSysColorBrush(c)); }

void PaintBar(HWND hwnd, HDC dc, int bar, int pressedPart) {
  TScrollBarParts p = ScrollBarParts(hwnd, bar);
  if (p.Bar.IsEmpty()) return;
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  bool disabled = BarState(w, bar)->Disabled;
  bool vert = bar == SB_VERT;
  // The track is the classic checker of face and highlight; a flat mix reads the same.
  HBRUSH track = CreateSolidBrush(RGB(0xEA, 0xE8, 0xE3));
  FillRect(dc, p.PageUp, track);
  FillRect(dc, p.PageDown, track);
  DeleteObject(track);
  if (pressedPart == 2) FillSys(dc, p.PageUp, COLOR_3DDKSHADOW);
  if (pressedPart == 4) FillSys(dc, p.PageDown, COLOR_3DDKSHADOW);
  for (int part : {1, 5}) {
    TRect r = part == 1 ? p.ArrowUp : p.ArrowDown;
    if (r.IsEmpty()) continue;
    UINT kind = vert ? (part == 1 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) : (part == 1 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
    if (disabled) kind |= DFCS_INACTIVE;
    if (pressedPart == part) kind |= DFCS_PUSHED | DFCS_FLAT;
    DrawFrameControl(dc, &r, DFC_SCROLL, kind);
  }
  if (!p.Thumb.IsEmpty()) {
    TRect thumb = p.Thumb;
    DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  }
}

int PressedPart(HWND hwnd, int bar);

}  // namespace

void PaintWindowScrollBars(HWND hwnd, HDC dc, const TFrameLayout& l) {
  if (!l.VScroll.IsEmpty()) PaintBar(hwnd, dc, SB_VERT, PressedPart(hwnd, SB_VERT));
  if (!l.HScroll.IsEmpty()) PaintBar(hwnd, dc, SB_HORZ, PressedPart(hwnd, SB_HORZ));
}

namespace {

struct TTracking {
  HWND Window = nullptr;
  int Bar = -1;
  int Part = 0;  // 1 arrow up, 2 page up, 3 thumb, 4 page down, 5 arrow down
  bool Pressed = false;
};

TTracking& Tracking() {
  static TTracking t;
  return t;
}

int PressedPart(HWND hwnd, int bar) {
  const TTracking& t = Tracking();
  return (t.Window == hwnd && t.Bar == bar && t.Pressed && t.Part != 3) ? t.Part : 0;
}

int PartAt(const TScrollBarParts& p, TPoint pt) {
  if (p.ArrowUp.Contains(pt)) return 1;
  if (p.Thumb.Contains(pt)) return 3;
  if (p.PageUp.Contains(pt)) return 2;
  if (p.PageDown.Contains(pt)) return 4;
  if (p.ArrowDown.Contains(pt)) return 5;
  return 0;
}

int RequestOf(int part) {
  switch (part) {
    case 1: return SB_LINEUP;
    case 2: return SB_PAGEUP;
    case 4: return SB_PAGEDOWN;
    case 5: return SB_LINEDOWN;
    default: return -1;
  }
}

constexpr UINT_PTR kRepeatTimer = 0xFFF0;

}  // namespace

void TrackScrollBar(HWND hwnd, int bar, TPoint screenPt) {
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  TScrollBarState* s = BarState(w, bar);
  if (!s || s->Disabled) return;
  UINT msgId = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  TPoint origin = WindowOriginOnScreen(*w);
  TScrollBarParts parts = ScrollBarParts(hwnd, bar);
  TTracking& t = Tracking();
  t = {hwnd, bar, PartAt(parts, screenPt - origin), true};
  if (!t.Part) return;
  bool vert = bar == SB_VERT;
  int grabOffset = vert ? screenPt.Y - origin.Y - parts.Thumb.Top : screenPt.X - origin.X - parts.Thumb.Left;
  auto send = [&](int code, int pos) { SendMessage(hwnd, msgId, MAKEWPARAM(code, pos), 0); };
  TScopeExit finish([hwnd, bar] {
    KillTimer(hwnd, kRepeatTimer);
    Tracking() = TTracking{};
    if (TWindowRecord* r = TWindowSystem::Instance().Find(hwnd)) BarState(r, bar)->Tracking = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    if (IsWindow(hwnd)) RedrawFrame(hwnd);
  });
  SetCapture(hwnd);
  RedrawFrame(hwnd);
  if (t.Part == 3) {
    s->Tracking = true;
    s->TrackPos = s->Pos;
  } else {
    send(RequestOf(t.Part), 0);
    int delay = 0;
    SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay);
    SetTimer(hwnd, kRepeatTimer, UINT(250 * (delay + 1)));
  }
  MSG msg;
  TPoint last = screenPt;
  while (GetCapture() == hwnd && IsWindow(hwnd)) {
    if (!GetMessage(msg, nullptr, 0, 0)) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE) {
      last = msg.pt;
      if (t.Part == 3 && (w = TWindowSystem::Instance().Find(hwnd))) {
        s = BarState(w, bar);
        TScrollBarParts now = ScrollBarParts(hwnd, bar);
        TPoint o = WindowOriginOnScreen(*w);
        int trackStart = vert ? now.ArrowUp.Bottom : now.ArrowUp.Right;
        int trackLen = (vert ? now.ArrowDown.Top : now.ArrowDown.Left) - trackStart;
        int thumb = vert ? now.Thumb.Height() : now.Thumb.Width();
        int at = (vert ? last.Y - o.Y : last.X - o.X) - grabOffset - trackStart;
        int span = std::max(trackLen - thumb, 1);
        int pos = int(s->Min + std::int64_t(std::clamp(at, 0, span)) * (std::int64_t(MaxPos(*s)) - s->Min) / span);
        if (pos != s->TrackPos) {
          s->TrackPos = pos;
          send(SB_THUMBTRACK, pos);
          RedrawFrame(hwnd);
        }
      } else {
        TScrollBarParts now = ScrollBarParts(hwnd, bar);
        bool over = PartAt(now, last - origin) == t.Part;
        if (over != t.Pressed) {
          t.Pressed = over;
          RedrawFrame(hwnd);
        }
      }
      continue;
    }
    if (msg.message == WM_TIMER && msg.hwnd == hwnd && msg.wParam == kRepeatTimer) {
      int speed = 31;
      SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed);
      SetTimer(hwnd, kRepeatTimer, UINT(400 / (speed + 2) + 20));
      TScrollBarParts now = ScrollBarParts(hwnd, bar);
      if (t.Pressed && PartAt(now, last - origin) == t.Part) send(RequestOf(t.Part), 0);
      continue;
    }
    TranslateMessage(msg);
    DispatchMessage(msg);
  }
  KillTimer(hwnd, kRepeatTimer);
  if ((w = TWindowSystem::Instance().Find(hwnd))) {
    s = BarState(w, bar);
    if (t.Part == 3) {
      send(SB_THUMBPOSITION, s->TrackPos);
      if ((w = TWindowSystem::Instance().Find(hwnd))) BarState(w, bar)->Tracking = false;
    }
    send(SB_ENDSCROLL, 0);
  }
}

}  // namespace vandrel
