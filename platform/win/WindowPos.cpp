// Positioning and showing with their message sequence, z-order, coordinate mapping,
// hit-testing by point and window shapes.
#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/RegionApi.h"
#include "platform/gdi/Surface.h"
#include "platform/win/Input.h"
#include "platform/win/Invalidation.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TWindowSystem& WS() { return TWindowSystem::Instance(); }

// Minimized windows are parked far off the screen, as the platform does.
constexpr int kIconicPos = -32000;

void Restack(TWindowRecord* w, HWND insertAfter) {
  auto& sib = w->Parent->Children;
  sib.erase(std::remove(sib.begin(), sib.end(), w), sib.end());
  bool top = w->IsTopLevel();
  auto isTopmost = [](TWindowRecord* s) { return (s->ExStyle & WS_EX_TOPMOST) != 0; };
  auto firstNormal = [&] { return std::find_if(sib.begin(), sib.end(), [&](auto* s) { return !isTopmost(s); }); };
  if (top && insertAfter == HWND_TOPMOST) {
    w->ExStyle |= WS_EX_TOPMOST;
    sib.insert(sib.begin(), w);
  } else if (top && insertAfter == HWND_NOTOPMOST) {
    w->ExStyle &= ~WS_EX_TOPMOST;
    sib.insert(firstNormal(), w);
  } else if (insertAfter == HWND_TOP) {
    sib.insert(top && !isTopmost(w) ? firstNormal() : sib.begin(), w);
  } else if (insertAfter == HWND_BOTTOM) {
    if (top) w->ExStyle &= ~WS_EX_TOPMOST;
    sib.push_back(w);
  } else {
    auto it = std::find_if(sib.begin(), sib.end(), [&](auto* s) { return s->Handle == insertAfter; });
    if (it == sib.end()) {
      sib.insert(sib.begin(), w);
    } else {
      sib.insert(it + 1, w);
    }
  }
  // Owned windows stay in front of their owner.
  if (top) {
    std::vector<TWindowRecord*> owned;
    for (auto* s : sib)
      if (s->Owner == w->Handle) owned.push_back(s);
    for (auto* o : owned) {
      sib.erase(std::remove(sib.begin(), sib.end(), o), sib.end());
      auto at = std::find(sib.begin(), sib.end(), w);
      if (!isTopmost(o) && isTopmost(w)) at = sib.begin();
      sib.insert(at, o);
    }
  }
}

void ActivateNextAfterHide(TWindowRecord* w) {
  auto& ws = WS();
  if (ws.Active != w->Handle) return;
  HWND next = nullptr;
  if (TWindowRecord* o = ws.Find(w->Owner); o && o->Visible() && !(o->Style & WS_MINIMIZE))
    next = o->Handle;
  for (auto* s : ws.Desktop().Children)
    if (!next && s != w && s->Visible() && !(s->Style & WS_MINIMIZE) && !s->Destroying &&
        !(s->ExStyle & WS_EX_NOACTIVATE) && !(s->Style & WS_DISABLED))
      next = s->Handle;
  SetActiveWindow(next);
}

}  // namespace

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  if (!w || !w->Parent) return false;
  // Drop what would not change, as the platform does before telling the window.
  if (flags & SWP_HIDEWINDOW) flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_SHOWWINDOW) && w->Visible()) flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !w->Visible()) flags &= ~SWP_HIDEWINDOW;
  if (!(flags & SWP_NOSIZE) && cx == w->Rect.Width() && cy == w->Rect.Height()) flags |= SWP_NOSIZE;
  if (!(flags & SWP_NOMOVE) && x == w->Rect.Left && y == w->Rect.Top) flags |= SWP_NOMOVE;
  if (insertAfter == hwnd) flags |= SWP_NOZORDER;
  if (!w->IsTopLevel()) flags |= SWP_NOACTIVATE;

  WINDOWPOS wp;
  wp.hwnd = hwnd;
  wp.hwndInsertAfter = insertAfter;
  wp.x = (flags & SWP_NOMOVE) ? w->Rect.Left : x;
  wp.y = (flags & SWP_NOMOVE) ? w->Rect.Top : y;
  wp.cx = (flags & SWP_NOSIZE) ? w->Rect.Width() : std::max(cx, 0);
  wp.cy = (flags & SWP_NOSIZE) ? w->Rect.Height() : std::max(cy, 0);
  wp.flags = flags;
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, LPARAM(&wp));
    if (!(w = ws.Find(hwnd)) || !w->Parent) return false;
  }
  flags = wp.flags;
  wp.cx = std::max(wp.cx, 0);
  wp.cy = std::max(wp.cy, 0);
  // A handler may have put back what it was told, or changed what it was not told to change.
  if (!(flags & SWP_NOSIZE) && wp.cx == w->Rect.Width() && wp.cy == w->Rect.Height()) flags |= SWP_NOSIZE;
  if (!(flags & SWP_NOMOVE) && wp.x == w->Rect.Left && wp.y == w->Rect.Top) flags |= SWP_NOMOVE;
  TRect oldRect = w->Rect;
  TRect oldClient = w->Client;
  TRect newRect = Bounds((flags & SWP_NOMOVE) ? oldRect.Left : wp.x, (flags & SWP_NOMOVE) ? oldRect.Top : wp.y,
                         (flags & SWP_NOSIZE) ? oldRect.Width() : wp.cx,
                         (flags & SWP_NOSIZE) ? oldRect.Height() : wp.cy);
  TRect newClient = OffsetRect(oldClient, newRect.Left - oldRect.Left, newRect.Top - oldRect.Top);
  if (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = newRect;
    p.rgrc[1] = oldRect;
    p.rgrc[2] = oldClient;
    p.lppos = &wp;
    SendMessage(hwnd, WM_NCCALCSIZE, TRUE, LPARAM(&p));
    if (!(w = ws.Find(hwnd)) || !w->Parent) return false;
    newClient = p.rgrc[0];
  }
  bool sized = !(flags & SWP_NOSIZE);
  bool moved = !(flags & SWP_NOMOVE);
  bool top = w->IsTopLevel();
  // The new backing store first: a size it cannot have raises before anything changed.
  if (top && sized)
    w->Surface = std::make_shared<TSurface>(std::max(newRect.Width(), 1), std::max(newRect.Height(), 1));
  w->Rect = newRect;
  w->Client = newClient;
  bool zchanged = false;
  if (!(flags & SWP_NOZORDER)) {
    Restack(w, insertAfter);
    zchanged = true;
  }
  bool wasVisible = w->Visible();
  if (flags & SWP_SHOWWINDOW) w->Style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->Style &= ~WS_VISIBLE;
  // Contexts handed out earlier draw into the new store and see the new visible region.
  if (sized || moved || zchanged || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED))) RefreshWindowDCs();

  if (!(flags & SWP_NOREDRAW)) {
    if (!top && (wasVisible || (flags & SWP_HIDEWINDOW)) && (moved || sized || (flags & SWP_HIDEWINDOW) || zchanged))
      InvalidateExposed(*w->Parent, oldRect);
    // A moved top-level window keeps its pixels, unless they depend on where it is (NOCOPYBITS).
    if (w->Visible() && (sized || (flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)) || (moved && (!top || (flags & SWP_NOCOPYBITS)))))
      InvalidateWholeWindow(*w);
  } else if (top && sized) {
    InvalidateWholeWindow(*w);  // a new backing store holds nothing yet
  }
  if (top && ws.Backend) {
    if (flags & SWP_SHOWWINDOW) ws.Backend->WindowShown(hwnd);
    if (flags & SWP_HIDEWINDOW) ws.Backend->WindowHidden(hwnd);
    if ((moved || sized) && w->Visible()) ws.Backend->WindowMoved(hwnd);
    if (zchanged) ws.Backend->ZOrderChanged();
  }
  if (flags & SWP_HIDEWINDOW) {
    if (top) {
      ActivateNextAfterHide(w);
    } else {
      for (TWindowRecord* f = ws.Find(ws.Focus); f; f = f->Parent)
        if (f == w) {
          SetFocus(w->Parent->Handle);
          break;
        }
    }
    if (!(w = ws.Find(hwnd))) return true;
    for (TWindowRecord* c = ws.Find(ws.Capture); c; c = c->Parent)
      if (c == w) {
        ReleaseCapture();
        break;
      }
    if (!(w = ws.Find(hwnd))) return true;
  }
  wp.flags = flags;
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, LPARAM(&wp));
  if (!(w = ws.Find(hwnd))) return true;
  if (top && !(flags & SWP_NOACTIVATE) && w->Visible() && !(w->Style & WS_MINIMIZE) &&
      !(w->ExStyle & WS_EX_NOACTIVATE))
    SetActiveWindow(hwnd);
  return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : UINT(SWP_NOREDRAW)));
}

bool BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool ShowWindow(HWND hwnd, int cmd) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  if (!w || !w->Parent) return false;
  bool wasVisible = w->Visible();
  bool show = cmd != SW_HIDE;
  if (show != wasVisible) {
    SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!(w = ws.Find(hwnd))) return wasVisible;
  }
  UINT noActivate = (cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || cmd == SW_SHOWMINNOACTIVE ||
                     cmd == SW_MINIMIZE || cmd == SW_HIDE) ? UINT(SWP_NOACTIVATE) : 0u;
  switch (cmd) {
    case SW_HIDE:
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
      if (!(w->Style & WS_MINIMIZE)) {
        if (!(w->Style & WS_MAXIMIZE)) w->RestoreRect = w->Rect;
        w->Style = (w->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
        SetWindowPos(hwnd, nullptr, kIconicPos, kIconicPos, 160, 24,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
        if ((w = ws.Find(hwnd))) ActivateNextAfterHide(w);
      } else if (!wasVisible) {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    }
    case SW_MAXIMIZE: {
      if (!(w->Style & WS_MAXIMIZE)) {
        if (!(w->Style & WS_MINIMIZE)) w->RestoreRect = w->Rect;
        w->Style = (w->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        MINMAXINFO mmi = DefaultMinMaxInfo(*w);
        SendMessage(hwnd, WM_GETMINMAXINFO, 0, LPARAM(&mmi));
        SetWindowPos(hwnd, HWND_TOP, mmi.ptMaxPosition.X, mmi.ptMaxPosition.Y, mmi.ptMaxSize.X,
                     mmi.ptMaxSize.Y, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
      } else {
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
      }
      break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE: {
      if (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        w->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        TRect r = w->RestoreRect;
        SetWindowPos(hwnd, HWND_TOP, r.Left, r.Top, r.Width(), r.Height(),
                     SWP_SHOWWINDOW | SWP_FRAMECHANGED | noActivate);
        break;
      }
      [[fallthrough]];
    }
    default:
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | noActivate |
                       (w->IsTopLevel() && !noActivate ? 0u : UINT(SWP_NOZORDER)));
      break;
  }
  return wasVisible;
}

bool GetWindowRect(HWND hwnd, TRect& rect) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return false;
  TPoint o = WindowOriginOnScreen(*w);
  rect = Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
  return true;
}

bool GetClientRect(HWND hwnd, TRect& rect) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return false;
  rect = {0, 0, std::max(w->Client.Width(), 0), std::max(w->Client.Height(), 0)};
  return true;
}

TRect WindowRect(HWND hwnd) {
  TRect r;
  GetWindowRect(hwnd, r);
  return r;
}

TRect ClientRect(HWND hwnd) {
  TRect r;
  GetClientRect(hwnd, r);
  return r;
}

bool ClientToScreen(HWND hwnd, TPoint& pt) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return false;
  pt = pt + ClientOriginOnScreen(*w);
  return true;
}

bool ScreenToClient(HWND hwnd, TPoint& pt) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return false;
  pt = pt - ClientOriginOnScreen(*w);
  return true;
}

void MapWindowPoints(HWND from, HWND to, TPoint* points, int count) {
  TPoint delta;
  if (TWindowRecord* f = WS().Find(from)) delta = ClientOriginOnScreen(*f);
  if (TWindowRecord* t = WS().Find(to)) delta = delta - ClientOriginOnScreen(*t);
  for (int i = 0; i < count; ++i) points[i] = points[i] + delta;
}

TRect MapWindowRect(HWND from, HWND to, const TRect& r) {
  TPoint p[2] = {r.TopLeft(), r.BottomRight()};
  MapWindowPoints(from, to, p, 2);
  return {p[0].X, p[0].Y, p[1].X, p[1].Y};
}

namespace {

bool ContainsPoint(const TWindowRecord& w, TPoint parentClientPt) {
  if (!w.Visible() || !w.Rect.Contains(parentClientPt)) return false;
  if (w.HasRegion) return w.Shape.Contains(parentClientPt - w.Rect.TopLeft());
  return true;
}

// The deepest window under pt (in parent's client coordinates), hit-testing with WM_NCHITTEST
// when sendHitTest; hit receives the code.
TWindowRecord* FindAt(TWindowRecord& parent, TPoint pt, bool sendHitTest, int& hit) {
  std::vector<HWND> order;
  for (auto* c : parent.Children) order.push_back(c->Handle);
  for (HWND h : order) {
    TWindowRecord* c = WS().Find(h);
    if (!c || c->Parent != &parent || !ContainsPoint(*c, pt)) continue;
    if (c->Style & WS_MINIMIZE) continue;
    // A disabled child passes its mouse input to its parent.
    if (!c->Enabled() && !c->IsTopLevel()) continue;
    if (c->Client.Contains(pt) && c->Enabled()) {
      TPoint inner = pt - c->Client.TopLeft();
      if (TWindowRecord* deeper = FindAt(*c, inner, sendHitTest, hit)) return deeper;
    }
    if (!sendHitTest) {
      hit = HTCLIENT;
      return c;
    }
    if (!c->Enabled()) {
      hit = HTERROR;
      return c;
    }
    TPoint screen = pt + ClientOriginOnScreen(parent);
    int code = int(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(screen)));
    if (!WS().Find(h)) continue;
    if (code == HTTRANSPARENT) continue;
    hit = code;
    return c;
  }
  return nullptr;
}

}  // namespace

TWindowRecord* HitTestWindow(TPoint screenPt, int& hit) {
  hit = HTNOWHERE;
  if (WS().PointerAway && screenPt == WS().Cursor) return nullptr;
  return FindAt(WS().Desktop(), screenPt, true, hit);
}

HWND WindowFromPoint(TPoint screenPt) {
  int hit = 0;
  TWindowRecord* w = HitTestWindow(screenPt, hit);
  return w ? w->Handle : nullptr;
}

HWND ChildWindowFromPoint(HWND parent, TPoint clientPt) {
  TWindowRecord* p = WS().Find(parent);
  if (!p || !TRect{0, 0, p->Client.Width(), p->Client.Height()}.Contains(clientPt)) return nullptr;
  for (auto* c : p->Children)
    if (c->Rect.Contains(clientPt) && (!c->HasRegion || c->Shape.Contains(clientPt - c->Rect.TopLeft())))
      return c->Handle;
  return parent;
}

bool SetWindowRgn(HWND hwnd, HRGN region, bool redraw) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  if (!w) {
    // The region was handed over: it is deleted even when the call fails.
    if (region) DeleteObject(region);
    return false;
  }
  TRegion shape;
  bool has = false;
  if (region) {
    TRegion* r = GetRegion(region);
    if (!r) return false;
    shape = *r;
    has = true;
    DeleteObject(region);
  }
  TRect oldRect = w->Rect;
  w->HasRegion = has;
  w->Shape = std::move(shape);
  RefreshWindowDCs();
  if (w->IsTopLevel() && ws.Backend) ws.Backend->WindowShapeChanged(hwnd);
  if (redraw && w->Visible()) {
    if (!w->IsTopLevel()) InvalidateExposed(*w->Parent, oldRect);
    InvalidateWholeWindow(*w);
  }
  return true;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
  TWindowRecord* w = WS().Find(hwnd);
  TRegion* r = GetRegion(region);
  if (!w || !w->HasRegion || !r) return RGN_ERROR;
  *r = w->Shape;
  return r->Complexity();
}

}  // namespace vandrel
