#include "platform/display/X11Tray.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/Color.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Surface.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Settings.h"

// Xlib last: its macros (None, Bool, Status, True, False) must not reach the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vandrel {

namespace {

constexpr long kRequestDock = 0;  // SYSTEM_TRAY_REQUEST_DOCK
constexpr int kIconSize = 22;     // until the tray gives the window its size

// The face colour as a surface pixel (0x00RRGGBB): what the icon is drawn over.
std::uint32_t FacePixel() {
  COLORREF c = ColorToRGB(clBtnFace);
  return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

}  // namespace

struct TX11Tray::TImpl {
  Display* dpy;
  ::Window root;
  Visual* visual;
  int depth;
  TX11PixelFormat format;
  GC gc = nullptr;
  Atom selection, opcode, manager, xembedInfo;
  ::Window owner = 0;  // the tray's manager window, 0 when none runs

  struct TEntry {
    TTrayIcon Icon;
    ::Window Xid = 0;
    bool Docked = false;  // inside a tray (not on the root window)
    bool Asked = false;   // a dock request is out: the next reparent is the tray's
    int Width = kIconSize, Height = kIconSize;
    unsigned LastButton = 0;
    ::Time LastPress = 0;
  };
  std::vector<TEntry> entries;

  TEntry* Of(::Window xid) {
    for (TEntry& e : entries)
      if (e.Xid == xid && xid) return &e;
    return nullptr;
  }

  // The tray running now; watched so that its end is noticed.
  ::Window Owner() {
    ::Window now = XGetSelectionOwner(dpy, selection);
    if (now && now != owner) XSelectInput(dpy, now, StructureNotifyMask);
    owner = now;
    return owner;
  }

  void Dock(TEntry& e) {
    if (!owner) return;
    if (!e.Xid) {
      XSetWindowAttributes a{};
      a.background_pixel = format.Encode(FacePixel());
      a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
      e.Xid = XCreateWindow(dpy, root, 0, 0, kIconSize, kIconSize, 0, depth, InputOutput, visual,
                            CWBackPixel | CWEventMask, &a);
      XClassHint cls{const_cast<char*>("vandrel-tray"), const_cast<char*>("vandrel")};
      XSetClassHint(dpy, e.Xid, &cls);
      XSizeHints size{};  // trays size their sockets after these
      size.flags = PMinSize | PBaseSize;
      size.min_width = size.base_width = kIconSize;
      size.min_height = size.base_height = kIconSize;
      XSetWMNormalHints(dpy, e.Xid, &size);
      long info[2] = {0, 1};  // XEmbed version 0, mapped once embedded
      XChangeProperty(dpy, e.Xid, xembedInfo, xembedInfo, 32, PropModeReplace, reinterpret_cast<unsigned char*>(info), 2);
    }
    XEvent m{};
    m.xclient.type = ClientMessage;
    m.xclient.window = owner;
    m.xclient.message_type = opcode;
    m.xclient.format = 32;
    m.xclient.data.l[0] = CurrentTime;
    m.xclient.data.l[1] = kRequestDock;
    m.xclient.data.l[2] = long(e.Xid);
    XSendEvent(dpy, owner, False, NoEventMask, &m);
    XFlush(dpy);
    e.Asked = true;
  }

  // The tray is gone: nothing shows the icon, so its window must come back.
  void Lost(TEntry& e) {
    if (!e.Docked) return;
    e.Docked = false;
    if (e.Xid) XUnmapWindow(dpy, e.Xid);
    if (e.Icon.CallbackMessage) PostMessage(e.Icon.Window, e.Icon.CallbackMessage, e.Icon.Id, NIN_ICONLOST);
  }

  // The icon scaled to the window, over the face colour (the tray's background is not ours to read).
  void Paint(TEntry& e) {
    if (!e.Xid || !e.Docked) return;
    auto* icon = LookupObject<TIconObject>(e.Icon.Icon.Value());
    XImage* img = XCreateImage(dpy, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(e.Width), unsigned(e.Height), 32, 0);
    if (!img) return;
    img->data = static_cast<char*>(std::calloc(size_t(img->bytes_per_line) * size_t(e.Height), 1));
    if (!img->data) {
      XDestroyImage(img);
      return;
    }
    const std::uint32_t back = FacePixel();
    std::vector<std::uint32_t> row(size_t(e.Width));
    for (int y = 0; y < e.Height; ++y) {
      for (int x = 0; x < e.Width; ++x) {
        std::uint32_t out = back;
        if (icon && icon->Pixels().Width() > 0 && icon->Pixels().Height() > 0) {
          const TSurface& px = icon->Pixels();
          std::uint32_t p = px.Pixel(x * px.Width() / e.Width, y * px.Height() / e.Height);
          unsigned a = p >> 24;
          auto mix = [&](int shift) {
            unsigned over = (p >> shift) & 0xFF, under = (back >> shift) & 0xFF;
            return ((over * a + under * (255 - a) + 127) / 255) << shift;
          };
          out = mix(16) | mix(8) | mix(0);
        }
        row[size_t(x)] = out;
      }
      format.EncodeRow(row.data(), e.Width, img->data + std::ptrdiff_t(y) * img->bytes_per_line);
    }
    XPutImage(dpy, e.Xid, gc, img, 0, 0, 0, 0, unsigned(e.Width), unsigned(e.Height));
    XDestroyImage(img);
  }

  void Click(TEntry& e, const XButtonEvent& b, bool down) {
    static const UINT messages[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                        {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK},
                                        {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK}};
    if (b.button < 1 || b.button > 3) return;
    UINT message = messages[b.button - 1][down ? 0 : 1];
    if (down) {
      if (e.LastButton == b.button && b.time - e.LastPress <= GetDoubleClickTime()) {
        message = messages[b.button - 1][2];
        e.LastButton = 0;
      } else {
        e.LastButton = b.button;
        e.LastPress = b.time;
      }
    }
    // The pointer is over the tray, not over a window of ours; a menu opened now opens there.
    InjectMouseLeave({b.x_root, b.y_root});
    if (e.Icon.CallbackMessage) PostMessage(e.Icon.Window, e.Icon.CallbackMessage, e.Icon.Id, LPARAM(message));
  }

  void Destroy(TEntry& e) {
    if (e.Xid) XDestroyWindow(dpy, e.Xid);
    e.Xid = 0;
  }
};

TX11Tray::TX11Tray(Display* dpy, int screen, const TX11PixelFormat& format)
    : m_impl(std::make_unique<TImpl>()) {
  auto& t = *m_impl;
  t.dpy = dpy;
  t.root = RootWindow(dpy, screen);
  t.visual = DefaultVisual(dpy, screen);
  t.depth = DefaultDepth(dpy, screen);
  t.format = format;
  t.gc = XCreateGC(dpy, t.root, 0, nullptr);
  t.selection = XInternAtom(dpy, ("_NET_SYSTEM_TRAY_S" + std::to_string(screen)).c_str(), False);
  t.opcode = XInternAtom(dpy, "_NET_SYSTEM_TRAY_OPCODE", False);
  t.manager = XInternAtom(dpy, "MANAGER", False);
  t.xembedInfo = XInternAtom(dpy, "_XEMBED_INFO", False);
  // A tray that starts says so to the root window's structure listeners.
  XWindowAttributes attributes;
  XGetWindowAttributes(dpy, t.root, &attributes);
  XSelectInput(dpy, t.root, attributes.your_event_mask | StructureNotifyMask);
  t.Owner();
}

TX11Tray::~TX11Tray() {
  for (auto& e : m_impl->entries) m_impl->Destroy(e);
  XFreeGC(m_impl->dpy, m_impl->gc);
}

bool TX11Tray::Available() { return m_impl->Owner() != 0; }

bool TX11Tray::Show(const TTrayIcon& icon) {
  auto& t = *m_impl;
  for (auto& e : t.entries)
    if (e.Icon.Window == icon.Window && e.Icon.Id == icon.Id) {
      e.Icon = icon;
      t.Paint(e);
      return true;
    }
  if (!t.Owner()) return false;
  t.entries.push_back({icon});
  t.Dock(t.entries.back());
  return true;
}

bool TX11Tray::Remove(HWND window, UINT id) {
  auto& t = *m_impl;
  auto it = std::find_if(t.entries.begin(), t.entries.end(),
                         [&](const TImpl::TEntry& e) { return e.Icon.Window == window && e.Icon.Id == id; });
  if (it == t.entries.end()) return false;
  t.Destroy(*it);
  t.entries.erase(it);
  XFlush(t.dpy);
  return true;
}

const TTrayIcon* TX11Tray::Find(HWND window, UINT id) const {
  for (const auto& e : m_impl->entries)
    if (e.Icon.Window == window && e.Icon.Id == id) return &e.Icon;
  return nullptr;
}

void TX11Tray::WindowDestroyed(HWND window) {
  auto& t = *m_impl;
  for (auto& e : t.entries)
    if (e.Icon.Window == window) t.Destroy(e);
  std::erase_if(t.entries, [&](const TImpl::TEntry& e) { return e.Icon.Window == window; });
}

bool TX11Tray::Handle(XEvent& ev) {
  auto& t = *m_impl;
  if (ev.type == ClientMessage && ev.xclient.window == t.root && ev.xclient.message_type == t.manager &&
      Atom(ev.xclient.data.l[1]) == t.selection) {
    t.Owner();
    for (auto& e : t.entries) t.Dock(e);
    return true;
  }
  if (ev.type == DestroyNotify && t.owner && ev.xdestroywindow.window == t.owner) {
    t.owner = 0;
    for (auto& e : t.entries) t.Lost(e);
    return true;
  }
  TImpl::TEntry* e = t.Of(ev.xany.window);
  if (!e) return false;
  switch (ev.type) {
    case ReparentNotify:
      // Back on the root window: the tray that held it is gone (its save-set returned it).
      // Any other parent is the tray's only when we asked for one; a window manager taking the
      // returned window for a moment is not a tray.
      if (ev.xreparent.parent == t.root) {
        t.Lost(*e);
      } else if (e->Asked) {
        e->Docked = true;
        e->Asked = false;
      }
      break;
    case MapNotify:
      if (!e->Docked) XUnmapWindow(t.dpy, e->Xid);  // no icon left lying on the desktop
      break;
    case DestroyNotify:
      // Destroyed with a tray that did not give it back.
      e->Xid = 0;
      t.Lost(*e);
      break;
    case ConfigureNotify:
      e->Width = std::max(ev.xconfigure.width, 1);
      e->Height = std::max(ev.xconfigure.height, 1);
      break;
    case Expose:
      if (ev.xexpose.count == 0) t.Paint(*e);
      break;
    case ButtonPress:
    case ButtonRelease: t.Click(*e, ev.xbutton, ev.type == ButtonPress); break;
    default: break;
  }
  return true;
}

}  // namespace vandrel
