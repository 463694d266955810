// Update regions, the paint messages and window contexts.
#include "platform/win/Paint.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gdi/DcState.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/RegionApi.h"
#include "platform/win/Invalidation.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TWindowSystem& WS() { return TWindowSystem::Instance(); }

// w's window origin in its top-level window's coordinates.
TPoint OriginInTop(const TWindowRecord& w) {
  TPoint p;
  const TWindowRecord* a = &w;
  while (a->Parent && a->Parent->Parent) {
    p = p + a->Rect.TopLeft() + (a->Parent->Client.TopLeft() - a->Parent->Rect.TopLeft());
    a = a->Parent;
  }
  return p;
}

TRegion ShapeOf(const TWindowRecord& w) {
  TRegion r(w.WindowBounds());
  return w.HasRegion ? r.Intersect(w.Shape) : r;
}

struct TOpenDC {
  HWND Window = nullptr;  // null: the screen
  std::shared_ptr<TSurface> Surface;
  TRect ScreenRect;
  // What a window context was asked for, to resolve it again when the window tree changes.
  DWORD Flags = 0;
  bool HasExtra = false;
  TRegion Extra;  // the DCX_INTERSECTRGN/DCX_EXCLUDERGN region, window coordinates
  bool HasPaint = false;
  TRegion Paint;  // BeginPaint's update region, client coordinates
};

std::unordered_map<std::uint32_t, TOpenDC>& OpenDCs() {
  static std::unordered_map<std::uint32_t, TOpenDC> map;
  return map;
}

}  // namespace

TRegion VisibleRegion(const TWindowRecord& w, bool clientOnly, bool clipChildren) {
  if (!IsVisibleChain(w)) return {};
  TRegion vis = clientOnly ? TRegion(w.ClientInWindow()).Intersect(ShapeOf(w)) : ShapeOf(w);
  if (clipChildren) {
    TPoint co = w.ClientInWindow().TopLeft();
    for (auto* c : w.Children) {
      if (!c->Visible()) continue;
      TRegion cs = ShapeOf(*c);
      cs.Offset(co.X + c->Rect.Left, co.Y + c->Rect.Top);
      vis = vis.Subtract(cs);
    }
  }
  // Walk up, keeping `vis` in the coordinates of the current ancestor's window.
  const TWindowRecord* a = &w;
  while (a->Parent && a->Parent->Parent && !vis.IsEmpty()) {
    const TWindowRecord* p = a->Parent;
    TPoint pco = p->ClientInWindow().TopLeft();
    vis.Offset(pco.X + a->Rect.Left, pco.Y + a->Rect.Top);
    vis = vis.Intersect(p->ClientInWindow()).Intersect(ShapeOf(*p));
    if (a->Style & WS_CLIPSIBLINGS) {
      for (auto* s : p->Children) {
        if (s == a) break;
        if (!s->Visible()) continue;
        TRegion ss = ShapeOf(*s);
        ss.Offset(pco.X + s->Rect.Left, pco.Y + s->Rect.Top);
        vis = vis.Subtract(ss);
      }
    }
    a = p;
  }
  TPoint o = OriginInTop(w);
  vis.Offset(-o.X, -o.Y);
  return vis;
}

void InvalidateWindowArea(TWindowRecord& w, const TRegion& area, bool erase, bool allChildren) {
  if (area.IsEmpty() || !IsVisibleChain(w)) return;
  TRect client = w.ClientInWindow();
  TRegion inClient = area.Intersect(client);
  if (!inClient.IsEmpty()) {
    inClient.Offset(-client.Left, -client.Top);
    w.Update = w.Update.Union(inClient);
    if (erase) w.EraseDue = true;
  }
  if (!area.Subtract(TRegion(client)).Intersect(w.WindowBounds()).IsEmpty()) w.FrameDirty = true;
  if (!allChildren) return;
  for (auto* c : w.Children) {
    if (!c->Visible()) continue;
    TRegion inChild = area;
    inChild.Offset(-(client.Left + c->Rect.Left), -(client.Top + c->Rect.Top));
    InvalidateWindowArea(*c, inChild.Intersect(c->WindowBounds()), erase, true);
  }
}

void InvalidateWholeWindow(TWindowRecord& w) {
  InvalidateWindowArea(w, TRegion(w.WindowBounds()), true, true);
}

void InvalidateExposed(TWindowRecord& parent, const TRect& oldRect) {
  if (!parent.Parent) return;  // top-level windows are composed by the display
  TRect client = parent.ClientInWindow();
  TRegion area(OffsetRect(oldRect, client.Left, client.Top));
  InvalidateWindowArea(parent, area, true, true);
}

void NotifySurfaceChanged(TWindowRecord& topLevel, const TRect& windowRect) {
  if (auto* b = WS().Backend; b && topLevel.IsTopLevel()) b->SurfaceChanged(topLevel.Handle, windowRect);
}

namespace {

bool Redraw(TWindowRecord& w, const TRegion* clientArea, UINT flags);

void UpdateNow(HWND h, bool children, bool eraseOnly) {
  TWindowRecord* w = WS().Find(h);
  if (!w || !IsVisibleChain(*w)) return;
  if (w->FrameDirty) {
    w->FrameDirty = false;
    SendMessage(h, WM_NCPAINT, 1, 0);
    if (!(w = WS().Find(h))) return;
  }
  if (eraseOnly) {
    if (w->EraseDue && !w->Update.IsEmpty()) {
      w->EraseDue = false;
      HDC dc = GetDCEx(h, nullptr, DCX_CACHE | ((w->Style & WS_CLIPCHILDREN) ? DWORD(DCX_CLIPCHILDREN) : DWORD(0)));
      SendMessage(h, WM_ERASEBKGND, WPARAM(dc.Value()), 0);
      ReleaseDC(h, dc);
    }
  } else if (!w->Update.IsEmpty() || w->InternalPaint) {
    SendMessage(h, WM_PAINT, 0, 0);
  }
  if (!children) return;
  if (!(w = WS().Find(h))) return;
  std::vector<HWND> kids;
  for (auto* c : w->Children) kids.push_back(c->Handle);
  for (HWND k : kids) UpdateNow(k, true, eraseOnly);
}

bool Redraw(TWindowRecord& w, const TRegion* clientArea, UINT flags) {
  TRect client = w.ClientInWindow();
  TRegion area;
  if (clientArea) {
    area = *clientArea;
    area.Offset(client.Left, client.Top);
  } else {
    area = TRegion((flags & RDW_FRAME) ? w.WindowBounds() : client);
  }
  if (!(flags & RDW_FRAME)) area = area.Intersect(client);
  bool children = (flags & RDW_ALLCHILDREN) ||
                  (!(flags & RDW_NOCHILDREN) && !(w.Style & WS_CLIPCHILDREN));
  if (flags & RDW_INVALIDATE) {
    InvalidateWindowArea(w, area, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_FRAME) w.FrameDirty = IsVisibleChain(w) || w.FrameDirty;
  }
  if (flags & RDW_INTERNALPAINT) w.InternalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) w.InternalPaint = false;
  if (flags & RDW_VALIDATE) {
    TRegion inClient = area.Intersect(client);
    inClient.Offset(-client.Left, -client.Top);
    w.Update = w.Update.Subtract(inClient);
    if (w.Update.IsEmpty()) w.EraseDue = false;
    if (flags & RDW_NOFRAME) w.FrameDirty = false;
    if (flags & RDW_NOERASE) w.EraseDue = false;
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
    UpdateNow(w.Handle, (flags & RDW_ALLCHILDREN) != 0, !(flags & RDW_UPDATENOW));
  return true;
}

}  // namespace

bool RedrawWindow(HWND hwnd, const TRect* rect, HRGN region, UINT flags) {
  TWindowRecord* w = hwnd ? WS().Find(hwnd) : &WS().Desktop();
  if (!w) return false;
  if (!w->Parent) {
    // The desktop: repaint every top-level window.
    std::vector<HWND> tops;
    for (auto* t : w->Children) tops.push_back(t->Handle);
    for (HWND t : tops) RedrawWindow(t, nullptr, nullptr, flags | RDW_FRAME | RDW_ALLCHILDREN);
    return true;
  }
  if (region) {
    TRegion* r = GetRegion(region);
    if (!r) return false;
    TRegion copy = *r;
    return Redraw(*w, &copy, flags);
  }
  if (rect) {
    TRegion r(*rect);
    return Redraw(*w, &r, flags);
  }
  return Redraw(*w, nullptr, flags);
}

bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : UINT(0)));
}

bool InvalidateRgn(HWND hwnd, HRGN region, bool erase) {
  if (!region) return InvalidateRect(hwnd, nullptr, erase);
  return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? UINT(RDW_ERASE) : UINT(0)));
}

bool ValidateRect(HWND hwnd, const TRect* rect) {
  return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool ValidateRgn(HWND hwnd, HRGN region) {
  if (!region) return ValidateRect(hwnd, nullptr);
  return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool GetUpdateRect(HWND hwnd, TRect* rect, bool erase) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return false;
  if (rect) *rect = w->Update.Bounds();
  if (erase && !w->Update.IsEmpty()) UpdateNow(hwnd, false, true);
  return !w->Update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, HRGN region, bool erase) {
  TWindowRecord* w = WS().Find(hwnd);
  TRegion* r = GetRegion(region);
  if (!w || !r) return RGN_ERROR;
  *r = w->Update;
  if (erase && !w->Update.IsEmpty()) UpdateNow(hwnd, false, true);
  return r->Complexity();
}

bool UpdateWindow(HWND hwnd) {
  if (!WS().Find(hwnd)) return false;
  UpdateNow(hwnd, false, false);
  return true;
}

namespace {

// Where a window context draws now: its top-level window's backing store, the origin and the
// visible region (in the store's coordinates), from the window tree as it stands.
TRegion ResolveWindowDC(const TWindowRecord& w, TOpenDC& open, TPoint& origin) {
  bool window = (open.Flags & DCX_WINDOW) != 0;
  bool clipChildren = (open.Flags & DCX_CLIPCHILDREN) || (w.Style & WS_CLIPCHILDREN);
  TRegion vis = VisibleRegion(w, !window, clipChildren);
  if (open.HasExtra) vis = (open.Flags & DCX_INTERSECTRGN) ? vis.Intersect(open.Extra) : vis.Subtract(open.Extra);
  if (open.HasPaint) {
    TRegion paint = open.Paint;
    TPoint co = w.ClientInWindow().TopLeft();
    paint.Offset(co.X, co.Y);
    vis = vis.Intersect(paint);
  }
  TPoint o = OriginInTop(w);
  origin = window ? o : o + w.ClientInWindow().TopLeft();
  vis.Offset(o.X, o.Y);
  const TWindowRecord* top = TopLevelOf(const_cast<TWindowRecord*>(&w));
  open.Surface = top ? top->Surface : nullptr;
  return vis;
}

}  // namespace

void RefreshWindowDCs() {
  for (auto& [value, open] : OpenDCs()) {
    if (!open.Window) continue;
    TWindowRecord* w = WS().Find(open.Window);
    if (!w || !w->Parent) continue;
    HDC dc(value);
    TPoint origin;
    TRegion vis = ResolveWindowDC(*w, open, origin);
    SetDCTarget(dc, open.Surface, origin, vis);
  }
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  auto& ws = WS();
  // 1 stands for "the whole window", as WM_NCPAINT passes it, never for a region handle.
  if (clip.Value() == 1) clip = HRGN();
  TRegion* extra = clip ? GetRegion(clip) : nullptr;
  TRegion extraCopy = extra ? *extra : TRegion();
  if (!extra) flags &= ~DWORD(DCX_INTERSECTRGN | DCX_EXCLUDERGN);
  if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) DeleteObject(clip);
  TOpenDC open;
  HDC dc;
  if (!hwnd || hwnd == ws.Desktop().Handle) {
    TSize s = ScreenSize();
    open.ScreenRect = {0, 0, s.cx, s.cy};
    open.Surface = std::make_shared<TSurface>(std::max(s.cx, 1), std::max(s.cy, 1));
    if (ws.Backend) ws.Backend->ReadScreen(*open.Surface, open.ScreenRect);
    open.Surface->TakeDamage();
    TRegion vis(open.ScreenRect);
    if (flags & DCX_INTERSECTRGN) vis = vis.Intersect(extraCopy);
    if (flags & DCX_EXCLUDERGN) vis = vis.Subtract(extraCopy);
    dc = CreateSurfaceDC(open.Surface, {0, 0}, vis);
  } else {
    TWindowRecord* w = ws.Find(hwnd);
    if (!w || !w->Parent) return {};
    open.Window = hwnd;
    open.Flags = flags;
    if (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) {
      TPoint screen = WindowOriginOnScreen(*w);
      extraCopy.Offset(-screen.X, -screen.Y);
      open.HasExtra = true;
      open.Extra = std::move(extraCopy);
    }
    TPoint origin;
    TRegion vis = ResolveWindowDC(*w, open, origin);
    dc = CreateSurfaceDC(open.Surface, origin, vis);
  }
  if (dc) OpenDCs()[dc.Value()] = std::move(open);
  return dc;
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, 0); }

bool ReadScreenRect(const TRect& rect, void* bits, int strideBytes) {
  auto& ws = WS();
  const TSize s = ScreenSize();
  TRect on;
  if (!ws.Backend || rect.IsEmpty() || !IntersectRect(on, rect, {0, 0, s.cx, s.cy}) || on != rect) return false;
  TSurface view(bits, rect.Width(), rect.Height(), strideBytes, false);
  ws.Backend->ReadScreen(view, rect);
  return true;
}

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW); }

int ReleaseDC(HWND hwnd, HDC dc) {
  auto& map = OpenDCs();
  auto it = map.find(dc.Value());
  if (it == map.end()) return 0;
  TOpenDC open = std::move(it->second);
  map.erase(it);
  // A context deleted behind our back has nothing left to hand over.
  if (!LookupDC(dc)) return 0;
  (void)hwnd;
  TRect damage = open.Surface ? open.Surface->Damage() : TRect{};
  if (!open.Window) {
    if (!damage.IsEmpty() && WS().Backend) WS().Backend->WriteScreen(*open.Surface, damage);
  } else if (TWindowRecord* w = WS().Find(open.Window); w && !damage.IsEmpty()) {
    if (TWindowRecord* top = TopLevelOf(w)) NotifySurfaceChanged(*top, damage);
  }
  DeleteDC(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = OpenDCs().find(dc.Value());
  return it == OpenDCs().end() ? nullptr : it->second.Window;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  ps = PAINTSTRUCT{};
  if (!w) return {};
  if (w->FrameDirty) {
    w->FrameDirty = false;
    SendMessage(hwnd, WM_NCPAINT, 1, 0);
    if (!(w = ws.Find(hwnd))) return {};
  }
  TRegion update = w->Update;
  bool erase = w->EraseDue;
  w->Update = TRegion();
  w->EraseDue = false;
  w->InternalPaint = false;
  HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE);
  if (!dc) return {};
  // Painting is clipped to what was invalid.
  if (auto it = OpenDCs().find(dc.Value()); it != OpenDCs().end()) {
    it->second.HasPaint = true;
    it->second.Paint = update;
    TPoint origin;
    TRegion vis = ResolveWindowDC(*w, it->second, origin);
    SetDCTarget(dc, it->second.Surface, origin, vis);
  }
  ps.hdc = dc;
  ps.rcPaint = update.Bounds();
  // Only an erase that was asked for and not done falls to the painter.
  ps.fErase = FALSE;
  if (erase) ps.fErase = SendMessage(hwnd, WM_ERASEBKGND, WPARAM(dc.Value()), 0) ? FALSE : TRUE;
  if ((w = ws.Find(hwnd))) w->InBeginPaint = true;
  return dc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT& ps) {
  if (TWindowRecord* w = WS().Find(hwnd)) w->InBeginPaint = false;
  return ReleaseDC(hwnd, ps.hdc) != 0;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, HRGN updateRegion,
                   TRect* updateRect, UINT flags) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w || !w->Parent) return RGN_ERROR;
  TRect client = ClientRect(hwnd);
  TRect area = scroll ? *scroll : client;
  if (clip) IntersectRect(area, area, *clip);
  IntersectRect(area, area, client);
  TRegion uncovered;
  if (TWindowRecord* top = TopLevelOf(w); top && top->Surface && !area.IsEmpty()) {
    // Work in the top-level window's coordinates, where the pixels are.
    TPoint o = OriginInTop(*w) + w->ClientInWindow().TopLeft();
    TRegion visible = VisibleRegion(*w, true, (w->Style & WS_CLIPCHILDREN) != 0);
    TPoint wo = OriginInTop(*w);
    visible.Offset(wo.X, wo.Y);
    TRegion inArea = visible.Intersect(OffsetRect(area, o.X, o.Y));
    TRegion moved = inArea;
    moved.Offset(dx, dy);
    TRegion target = moved.Intersect(inArea);
    TSurface& surface = *top->Surface;
    // Copy through a buffer: source and destination overlap.
    TRect box = inArea.Bounds();
    std::vector<std::uint32_t> saved(size_t(std::max(box.Width(), 0)) * size_t(std::max(box.Height(), 0)));
    for (int y = box.Top; y < box.Bottom; ++y)
      for (int x = box.Left; x < box.Right; ++x) saved[size_t(y - box.Top) * size_t(box.Width()) + size_t(x - box.Left)] = surface.Pixel(x, y);
    target.ForEachIn(surface.Bounds(), [&](const TRect& r) {
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
          surface.SetPixel(x, y, saved[size_t(y - dy - box.Top) * size_t(box.Width()) + size_t(x - dx - box.Left)]);
      surface.AddDamage(r);
    });
    uncovered = inArea.Subtract(target);
    uncovered.Offset(-o.X, -o.Y);
    NotifySurfaceChanged(*top, top->WindowBounds());
  }
  // The pending update region moves with the pixels.
  TRegion pendingIn = w->Update.Intersect(area);
  pendingIn.Offset(dx, dy);
  w->Update = w->Update.Subtract(TRegion(area)).Union(pendingIn.Intersect(area));
  if (flags & SW_INVALIDATE) {
    TRegion inWindow = uncovered;
    TPoint co = w->ClientInWindow().TopLeft();
    inWindow.Offset(co.X, co.Y);
    InvalidateWindowArea(*w, inWindow, (flags & SW_ERASE) != 0, false);
  }
  if (flags & SW_SCROLLCHILDREN) {
    std::vector<HWND> kids;
    for (auto* c : w->Children) kids.push_back(c->Handle);
    for (HWND k : kids)
      if (TWindowRecord* c = WS().Find(k))
        SetWindowPos(k, nullptr, c->Rect.Left + dx, c->Rect.Top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  if (updateRegion)
    if (TRegion* r = GetRegion(updateRegion)) *r = uncovered;
  if (updateRect) *updateRect = uncovered.Bounds();
  return uncovered.Complexity();
}

bool ScrollWindow(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, {}, nullptr,
                        SW_INVALIDATE | SW_ERASE | (scroll ? 0u : UINT(SW_SCROLLCHILDREN))) != RGN_ERROR;
}

bool PrintWindow(HWND hwnd, HDC dc, UINT prfFlags) {
  if (!WS().Find(hwnd) || !LookupDC(dc)) return false;
  SendMessage(hwnd, WM_PRINT, WPARAM(dc.Value()), LPARAM(prfFlags));
  return true;
}

// The message-loop side: the window to send WM_PAINT to next, after its frame was painted.
HWND NextPaintWindow(HWND filter) {
  std::vector<HWND> stack;
  for (auto it = WS().Desktop().Children.rbegin(); it != WS().Desktop().Children.rend(); ++it)
    stack.push_back((*it)->Handle);
  while (!stack.empty()) {
    HWND h = stack.back();
    stack.pop_back();
    TWindowRecord* w = WS().Find(h);
    if (!w || !w->Visible()) continue;
    bool match = !filter || h == filter || IsChild(filter, h);
    if (match && w->FrameDirty) {
      w->FrameDirty = false;
      SendMessage(h, WM_NCPAINT, 1, 0);
      if (!(w = WS().Find(h))) continue;
    }
    if (match && (!w->Update.IsEmpty() || w->InternalPaint)) return h;
    for (auto it = w->Children.rbegin(); it != w->Children.rend(); ++it) stack.push_back((*it)->Handle);
  }
  return nullptr;
}

}  // namespace vandrel
