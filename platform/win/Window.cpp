// Creation, destruction, the tree, styles and text.
#include "platform/win/Window.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Exception.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/RegionApi.h"
#include "platform/gdi/Surface.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TWindowSystem& WS() { return TWindowSystem::Instance(); }

bool IsTopmostRecord(const TWindowRecord* w) { return (w->ExStyle & WS_EX_TOPMOST) != 0; }

// New windows go in front of their siblings; a top-level window that is not topmost goes behind
// the topmost ones.
void InsertInZOrder(TWindowRecord* parent, TWindowRecord* w) {
  auto& c = parent->Children;
  auto pos = c.begin();
  if (w->IsTopLevel() && !IsTopmostRecord(w))
    pos = std::find_if(c.begin(), c.end(), [](auto* s) { return !IsTopmostRecord(s); });
  c.insert(pos, w);
}

void Unlink(TWindowRecord* w) {
  if (!w->Parent) return;
  auto& c = w->Parent->Children;
  c.erase(std::remove(c.begin(), c.end(), w), c.end());
}

void SendDestroyTree(TWindowRecord* w) {
  HWND h = w->Handle;
  SendMessage(h, WM_DESTROY, 0, 0);
  // A handler may have destroyed children itself: iterate over a copy of live handles.
  std::vector<HWND> kids;
  if (TWindowRecord* again = WS().Find(h))
    for (auto* c : again->Children) kids.push_back(c->Handle);
  for (HWND k : kids)
    if (TWindowRecord* c = WS().Find(k); c && !c->Destroying) {
      c->Destroying = true;
      SendDestroyTree(c);
    }
}

void FinishDestroyTree(TWindowRecord* w) {
  std::vector<HWND> kids;
  for (auto* c : w->Children) kids.push_back(c->Handle);
  for (HWND k : kids)
    if (TWindowRecord* c = WS().Find(k)) FinishDestroyTree(c);
  HWND h = w->Handle;
  SendMessage(h, WM_NCDESTROY, 0, 0);
  auto& ws = WS();
  ws.Timers.erase(std::remove_if(ws.Timers.begin(), ws.Timers.end(),
                                 [&](const TTimer& t) { return t.Window == h; }),
                  ws.Timers.end());
  ws.Posted.erase(std::remove_if(ws.Posted.begin(), ws.Posted.end(),
                                 [&](const MSG& m) { return m.hwnd == h; }),
                  ws.Posted.end());
  ws.InputMessages.erase(std::remove_if(ws.InputMessages.begin(), ws.InputMessages.end(),
                                        [&](const MSG& m) { return m.hwnd == h; }),
                         ws.InputMessages.end());
  if (ws.Focus == h) ws.Focus = nullptr;
  if (ws.Capture == h) ws.Capture = nullptr;
  if (ws.Active == h) ws.Active = nullptr;
  if (ws.Foreground == h) ws.Foreground = nullptr;
  if (ws.MouseLeaveTrack == h) ws.MouseLeaveTrack = nullptr;
  if (ws.LastMouseWindow == h) ws.LastMouseWindow = nullptr;
  if (ws.LastClick.Window == h) ws.LastClick.Valid = false;
  if (w->IsTopLevel() && ws.Backend) ws.Backend->WindowDestroyed(h);
  Unlink(w);
  w->Parent = nullptr;
  w->Children.clear();
  ws.Retire(w);
}

}  // namespace

void RegisterClass(const WNDCLASS& cls) {
  if (cls.lpszClassName.empty()) throw EInvalidArgument("RegisterClass: the class has no name");
  WS().Classes[cls.lpszClassName] = std::make_shared<const WNDCLASS>(cls);
}

bool UnregisterClass(const std::string& name) { return WS().Classes.erase(name) > 0; }

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    UINT_PTR menuOrId, void* param) {
  auto& ws = WS();
  auto cls = ws.Classes.find(className);
  if (cls == ws.Classes.end())
    throw EInvalidArgument("CreateWindowEx: unknown window class \"" + className + "\"");
  TWindowRecord* parentRecord = &ws.Desktop();
  HWND owner = nullptr;
  if (style & WS_CHILD) {
    parentRecord = ws.Find(parent);
    if (!parentRecord || parentRecord->Destroying)
      throw EInvalidArgument("CreateWindowEx: a child window needs a valid parent");
  } else if (parent) {
    TWindowRecord* o = ws.Find(parent);
    if (!o) throw EInvalidArgument("CreateWindowEx: invalid owner window");
    owner = TopLevelOf(o) ? TopLevelOf(o)->Handle : nullptr;
  }
  // Overlapped windows always have a caption and clip their siblings.
  if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION | WS_CLIPSIBLINGS;
  if (x == CW_USEDEFAULT) x = y = 40;
  if (width == CW_USEDEFAULT) {
    width = 400;
    height = 300;
  }
  width = std::max(width, 0);
  height = std::max(height, 0);

  auto record = std::make_unique<TWindowRecord>();
  TWindowRecord* w = record.get();
  w->Handle = ws.NewHandle();
  w->Class = cls->second;
  w->Style = style & ~WS_VISIBLE;
  w->ExStyle = exStyle;
  w->Parent = parentRecord;
  w->Owner = owner;
  w->Rect = w->Client = Bounds(x, y, width, height);
  w->RestoreRect = w->Rect;
  w->Text = windowName;
  w->Proc = w->Class->lpfnWndProc ? w->Class->lpfnWndProc : DefWindowProcObject();
  w->Id = menuOrId;
  w->VScroll.Shown = (style & WS_VSCROLL) != 0;
  w->HScroll.Shown = (style & WS_HSCROLL) != 0;
  if (w->IsTopLevel()) w->Surface = std::make_shared<TSurface>(std::max(width, 1), std::max(height, 1));
  HWND h = w->Handle;
  ws.Register(std::move(record));
  InsertInZOrder(parentRecord, w);

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hMenu = menuOrId;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = LONG(style);
  cs.lpszName = windowName.c_str();
  cs.lpszClass = className.c_str();
  cs.dwExStyle = exStyle;
  if (!SendMessage(h, WM_NCCREATE, 0, LPARAM(&cs))) {
    DestroyWindow(h);
    return nullptr;
  }
  if (!(w = ws.Find(h))) return nullptr;
  {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = w->Rect;
    SendMessage(h, WM_NCCALCSIZE, FALSE, LPARAM(&p.rgrc[0]));
    if (!(w = ws.Find(h))) return nullptr;
    w->Client = p.rgrc[0];
  }
  if (SendMessage(h, WM_CREATE, 0, LPARAM(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  if (!(w = ws.Find(h))) return nullptr;
  SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
  if (!(w = ws.Find(h))) return nullptr;
  SendMessage(h, WM_MOVE, 0, PointToLParam(w->Client.TopLeft()));
  if (!ws.Find(h)) return nullptr;
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return ws.Find(h) ? h : nullptr;
}

bool DestroyWindow(HWND hwnd) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  if (!w || w->Destroying || !w->Parent) return false;
  // Owned windows go first.
  if (w->IsTopLevel()) {
    std::vector<HWND> owned;
    for (auto* s : ws.Desktop().Children)
      if (s->Owner == hwnd) owned.push_back(s->Handle);
    for (HWND o : owned) DestroyWindow(o);
    if (!(w = ws.Find(hwnd)) || w->Destroying) return false;
  }
  if (w->Visible())
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!(w = ws.Find(hwnd)) || w->Destroying) return false;
  w->Destroying = true;
  for (TWindowRecord* c = ws.Find(ws.Capture); c; c = c->Parent)
    if (c == w) {
      ReleaseCapture();
      break;
    }
  for (TWindowRecord* f = ws.Find(ws.Focus); f; f = f->Parent)
    if (f == w) {
      // The focus leaves for the parent of a child window, or nowhere for a top-level one.
      HWND parent = w->IsTopLevel() ? nullptr : w->Parent->Handle;
      HWND old = ws.Focus;
      ws.Focus = parent;
      SendMessage(old, WM_KILLFOCUS, WPARAM(parent), 0);
      if (parent) SendMessage(parent, WM_SETFOCUS, WPARAM(old), 0);
      break;
    }
  if (ws.Active == hwnd) {
    HWND next = nullptr;
    if (w->Owner && IsWindowVisible(w->Owner)) next = w->Owner;
    for (auto* s : ws.Desktop().Children)
      if (!next && s != w && s->Visible() && !s->Destroying && !(s->Style & WS_MINIMIZE) &&
          !(s->ExStyle & WS_EX_NOACTIVATE))
        next = s->Handle;
    SetActiveWindow(next);
  }
  if (!ws.Find(hwnd)) return true;
  SendDestroyTree(w);
  if (!ws.Find(hwnd)) return true;
  FinishDestroyTree(w);
  return true;
}

bool IsWindow(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w && w->Parent;
}

HWND GetDesktopWindow() { return WS().Desktop().Handle; }

HWND GetParent(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w || !w->Parent) return nullptr;
  if (w->Style & WS_CHILD) return w->Parent->Handle;
  return w->Owner;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w || !w->Parent) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->Parent->Handle;
    case GA_ROOT: return TopLevelOf(w)->Handle;
    case GA_ROOTOWNER: {
      TWindowRecord* t = TopLevelOf(w);
      while (TWindowRecord* o = WS().Find(t->Owner)) t = o;
      return t->Handle;
    }
    default: return nullptr;
  }
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front()->Handle;
  if (cmd == GW_OWNER) return w->Owner;
  if (!w->Parent) return nullptr;
  auto& sib = w->Parent->Children;
  auto it = std::find(sib.begin(), sib.end(), w);
  switch (cmd) {
    case GW_HWNDFIRST: return sib.front()->Handle;
    case GW_HWNDLAST: return sib.back()->Handle;
    case GW_HWNDNEXT: return (it + 1) == sib.end() ? nullptr : (*(it + 1))->Handle;
    case GW_HWNDPREV: return it == sib.begin() ? nullptr : (*(it - 1))->Handle;
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND parent) {
  TWindowRecord* p = parent ? WS().Find(parent) : &WS().Desktop();
  if (!p || p->Children.empty()) return nullptr;
  return p->Children.front()->Handle;
}

bool IsChild(HWND parent, HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return false;
  for (TWindowRecord* a = w; a->Parent && (a->Style & WS_CHILD); a = a->Parent)
    if (a->Parent->Handle == parent) return true;
  return false;
}

HWND SetParent(HWND hwnd, HWND newParent) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  TWindowRecord* p = newParent ? ws.Find(newParent) : &ws.Desktop();
  if (!w || !p || !w->Parent || w == p) return nullptr;
  for (TWindowRecord* a = p; a; a = a->Parent)
    if (a == w) throw EInvalidArgument("SetParent: a window cannot become its own descendant");
  HWND old = w->Parent->Handle;
  bool visible = w->Visible();
  if (visible) ShowWindow(hwnd, SW_HIDE);
  bool wasTop = w->IsTopLevel();
  Unlink(w);
  w->Parent = p;
  InsertInZOrder(p, w);
  if (w->IsTopLevel() && !w->Surface)
    w->Surface = std::make_shared<TSurface>(std::max(w->Rect.Width(), 1), std::max(w->Rect.Height(), 1));
  if (!w->IsTopLevel() && wasTop) {
    if (ws.Backend) ws.Backend->WindowDestroyed(hwnd);
    w->Surface.reset();
  }
  if (visible) ShowWindow(hwnd, SW_SHOWNA);
  return old == ws.Desktop().Handle ? nullptr : old;
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE: return LONG_PTR(LONG(w->Style));
    case GWL_EXSTYLE: return LONG_PTR(LONG(w->ExStyle));
    case GWLP_USERDATA: return w->UserData;
    case GWLP_ID: return LONG_PTR(w->Id);
    case GWLP_HWNDPARENT: return LONG_PTR(GetParent(hwnd));
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      DWORD& field = index == GWL_STYLE ? w->Style : w->ExStyle;
      DWORD old = field;
      // STYLESTRUCT: old and new style, the new one changeable by the handler.
      DWORD ss[2] = {old, DWORD(value)};
      SendMessage(hwnd, WM_STYLECHANGING, WPARAM(index), LPARAM(ss));
      if (!(w = WS().Find(hwnd))) return 0;
      DWORD& again = index == GWL_STYLE ? w->Style : w->ExStyle;
      DWORD keep = index == GWL_STYLE ? (again & (WS_VISIBLE | WS_MINIMIZE)) : 0;
      again = (ss[1] & ~(index == GWL_STYLE ? DWORD(WS_VISIBLE | WS_MINIMIZE) : 0)) | keep;
      if (index == GWL_STYLE) {
        if ((again ^ old) & WS_VSCROLL) w->VScroll.Shown = (again & WS_VSCROLL) != 0;
        if ((again ^ old) & WS_HSCROLL) w->HScroll.Shown = (again & WS_HSCROLL) != 0;
      }
      ss[1] = again;
      SendMessage(hwnd, WM_STYLECHANGED, WPARAM(index), LPARAM(ss));
      return LONG_PTR(LONG(old));
    }
    case GWLP_USERDATA: {
      LONG_PTR old = w->UserData;
      w->UserData = value;
      return old;
    }
    case GWLP_ID: {
      LONG_PTR old = LONG_PTR(w->Id);
      w->Id = UINT_PTR(value);
      return old;
    }
    case GWLP_WNDPROC:
      throw EInvalidArgument("SetWindowLongPtr: window procedures are installed with SetWindowProc");
    default: return 0;
  }
}

WNDPROC GetWindowProc(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w ? w->Proc : nullptr;
}

WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return nullptr;
  WNDPROC old = w->Proc;
  w->Proc = proc ? std::move(proc) : DefWindowProcObject();
  return old;
}

std::string GetClassName(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w && w->Class ? w->Class->lpszClassName : std::string();
}

UINT GetClassStyle(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w && w->Class ? w->Class->style : 0;
}

bool SetWindowText(HWND hwnd, const std::string& text) {
  if (!IsWindow(hwnd)) return false;
  return SendMessage(hwnd, WM_SETTEXT, 0, LPARAM(text.c_str())) != 0;
}

int GetWindowTextLength(HWND hwnd) {
  if (!IsWindow(hwnd)) return 0;
  return int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

std::string GetWindowText(HWND hwnd) {
  if (!IsWindow(hwnd)) return {};
  int length = std::max(GetWindowTextLength(hwnd), 0);
  std::string buffer(size_t(length) + 1, '\0');
  SendMessage(hwnd, WM_GETTEXT, WPARAM(buffer.size()), LPARAM(buffer.data()));
  // The buffer, not the returned count, holds the text: a subclass may report 0 characters for
  // a text it left in the buffer.
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

bool IsWindowVisible(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w && IsVisibleChain(*w);
}

bool IsWindowEnabled(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w && w->Enabled();
}

bool EnableWindow(HWND hwnd, bool enable) {
  auto& ws = WS();
  TWindowRecord* w = ws.Find(hwnd);
  if (!w) return false;
  bool wasDisabled = !w->Enabled();
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->Style &= ~WS_DISABLED;
  } else {
    w->Style |= WS_DISABLED;
    for (TWindowRecord* f = ws.Find(ws.Focus); f; f = f->Parent)
      if (f == w) {
        SetFocus(nullptr);
        break;
      }
    if (ws.Capture == hwnd) ReleaseCapture();
  }
  SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

bool IsIconic(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w && (w->Style & WS_MINIMIZE);
}

bool IsZoomed(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w && (w->Style & WS_MAXIMIZE);
}

void SetWindowIcon(HWND hwnd, HICON icon) {
  TWindowRecord* w = WS().Find(hwnd);
  if (!w) return;
  w->Icon = icon;
  if (w->IsTopLevel() && WS().Backend) WS().Backend->WindowIconChanged(hwnd);
}

HICON GetWindowIcon(HWND hwnd) {
  TWindowRecord* w = WS().Find(hwnd);
  return w ? w->Icon : HICON();
}

}  // namespace vandrel
