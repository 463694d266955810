#include "platform/display/X11Display.h"

#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <set>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Text.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/display/X11Mapping.h"
#include "platform/display/X11PixelFormat.h"
#include "platform/display/X11Tray.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Surface.h"
#include "platform/win/ClockChange.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

// Xlib last: its macros (None, Bool, Status, True, False) must not reach the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

namespace vandrel {

namespace {

// Xlib reports errors to one process-wide handler. A request whose failure we handle (attaching
// shared memory) runs inside a trap; any other error is reported once per kind on stderr.
struct TErrorTrap {
  bool Trapping = false;
  bool Caught = false;
  std::set<std::pair<int, int>> Reported;  // error code, request
};

TErrorTrap& Errors() {
  static TErrorTrap trap;
  return trap;
}

int OnXError(Display* dpy, XErrorEvent* e) {
  TErrorTrap& t = Errors();
  if (t.Trapping) {
    t.Caught = true;
    return 0;
  }
  if (t.Reported.insert({e->error_code, e->request_code}).second) {
    char text[256] = {};
    XGetErrorText(dpy, e->error_code, text, sizeof text);
    std::fprintf(stderr, "vandrel: X error \"%s\" in request %d.%d (reported once)\n", text, e->request_code,
                 e->minor_code);
  }
  return 0;
}

// Runs an X request and tells whether the server refused it.
template <class F>
bool SucceedsOnServer(Display* dpy, F request) {
  TErrorTrap& t = Errors();
  XSync(dpy, False);  // earlier errors are not this request's
  t.Trapping = true;
  t.Caught = false;
  bool ok = request();
  XSync(dpy, False);
  t.Trapping = false;
  return ok && !t.Caught;
}

std::u32string CodePoints(const std::string& utf8) {
  std::u16string units = Utf8ToUtf16(utf8);
  std::u32string out;
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    out.push_back(c);
  }
  return out;
}

}  // namespace

struct TX11Display::TImpl {
  Display* dpy = nullptr;
  int screen = 0;
  ::Window root = 0;
  Visual* visual = nullptr;
  int depth = 24;
  TX11PixelFormat format;
  XIM im = nullptr;  // the input method that turns keys into text, when one opens
  bool shape = false;
  bool shm = false;
  std::string appTitle;
  GC gc = nullptr;
  GC rootGc = nullptr;
  std::map<std::uintptr_t, ::Cursor> cursors;
  ::Cursor current = 0;
  // The window of a reminder program stays open for days: it hears of clock changes here.
  TClockChangeWatch clockChange;

  // A client-side image of the visual's format, in shared memory when the server can reach it.
  struct TImage {
    XImage* image = nullptr;
    XShmSegmentInfo shmInfo{};
    bool imageShm = false;
  };
  struct TWin : TImage {
    ::Window xid = 0;
    bool mapped = false;
    bool overrideRedirect = false;
    bool topmost = false;
    bool fullDirty = true;
    XIC ic = nullptr;
    bool reparented = false;  // inside a window manager's frame: real notifies are frame-relative
    // Rectangles asked of the server (or its window manager) and not answered yet, oldest first.
    std::deque<TRect> requested;
  };
  std::map<HWND, TWin> wins;
  std::map<::Window, HWND> byX;
  TImage screenRead;  // kept between reads of the screen, which are mostly of the same size
  std::unique_ptr<TX11Tray> tray;
  HWND grabbed = nullptr;  // the top-level window the capture belongs to
  bool keyboardGrabbed = false;

  Atom Intern(const char* name) { return XInternAtom(dpy, name, False); }

  bool HasWm() {
    Atom check = Intern("_NET_SUPPORTING_WM_CHECK");
    Atom type;
    int format;
    unsigned long n = 0, after;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(dpy, root, check, 0, 1, False, XA_WINDOW, &type, &format, &n, &after, &data) ==
                     Success && n == 1;
    if (data) XFree(data);
    return found;
  }

  // A CARDINAL list property of the root window, at most count values (none when absent).
  std::vector<long> CardinalsOf(const char* name, long count) {
    std::vector<long> values;
    if (count <= 0 || count > 4096) return values;
    Atom type;
    int format = 0;
    unsigned long n = 0, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, root, Intern(name), 0, count, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
            Success && format == 32)
      values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + n);
    if (data) XFree(data);
    return values;
  }

  TWindowRecord* Record(HWND h) { return TWindowSystem::Instance().Find(h); }

  void FreeImage(TImage& w) {
    if (!w.image) return;
    if (w.imageShm) {
      XShmDetach(dpy, &w.shmInfo);
      XSync(dpy, False);
      XDestroyImage(w.image);
      shmdt(w.shmInfo.shmaddr);
    } else {
      XDestroyImage(w.image);
    }
    w.image = nullptr;
    w.imageShm = false;
  }

  void EnsureImage(TImage& w, int width, int height) {
    if (w.image && w.image->width == width && w.image->height == height) return;
    FreeImage(w);
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (shm) {
      XImage* img = XShmCreateImage(dpy, visual, unsigned(depth), ZPixmap, nullptr, &w.shmInfo, unsigned(width), unsigned(height));
      if (img) {
        int id = shmget(IPC_PRIVATE, size_t(img->bytes_per_line) * size_t(height), IPC_CREAT | 0600);
        if (id >= 0) {
          w.shmInfo.shmid = id;
          w.shmInfo.shmaddr = img->data = static_cast<char*>(shmat(id, nullptr, 0));
          w.shmInfo.readOnly = False;
          // A server that cannot reach our memory (a forwarded display, another IPC namespace)
          // refuses the attach with an error, not with the request's return value.
          bool attached = w.shmInfo.shmaddr != reinterpret_cast<char*>(-1) &&
                          SucceedsOnServer(dpy, [&] { return XShmAttach(dpy, &w.shmInfo) != 0; });
          shmctl(id, IPC_RMID, nullptr);  // freed once both sides detach
          if (attached) {
            w.image = img;
            w.imageShm = true;
            return;
          }
          if (w.shmInfo.shmaddr != reinterpret_cast<char*>(-1)) shmdt(w.shmInfo.shmaddr);
        }
        img->data = nullptr;
        XDestroyImage(img);
      }
      shm = false;  // fall back for good
    }
    w.image = NewImage(width, height);
  }

  // A client-side image of the visual's format; XDestroyImage frees its pixels.
  XImage* NewImage(int width, int height) {
    XImage* img = XCreateImage(dpy, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(width), unsigned(height), 32, 0);
    if (!img) return nullptr;
    img->data = static_cast<char*>(std::calloc(size_t(img->bytes_per_line) * size_t(height), 1));
    if (!img->data) {
      XDestroyImage(img);
      return nullptr;
    }
    return img;
  }

  void SetNames(TWin& w, HWND h) {
    std::string caption = GetWindowText(h);
    std::string icon = appTitle.empty() ? caption : appTitle;
    Atom utf8 = Intern("UTF8_STRING");
    XChangeProperty(dpy, w.xid, Intern("_NET_WM_NAME"), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(caption.data()), int(caption.size()));
    XChangeProperty(dpy, w.xid, Intern("_NET_WM_ICON_NAME"), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(icon.data()), int(icon.size()));
    XStoreName(dpy, w.xid, caption.c_str());
    XSetIconName(dpy, w.xid, icon.c_str());
  }

  void SetIcon(TWin& w, HWND h) {
    Atom netIcon = Intern("_NET_WM_ICON");
    auto* icon = LookupObject<TIconObject>(GetWindowIcon(h).Value());
    if (!icon) {
      XDeleteProperty(dpy, w.xid, netIcon);
      return;
    }
    const TSurface& px = icon->Pixels();
    std::vector<unsigned long> data{(unsigned long)px.Width(), (unsigned long)px.Height()};
    for (int y = 0; y < px.Height(); ++y)
      for (int x = 0; x < px.Width(); ++x) data.push_back(px.Pixel(x, y));
    XChangeProperty(dpy, w.xid, netIcon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
  }

  void ApplyShape(TWin& w, TWindowRecord& r) {
    if (!shape) return;
    if (!r.HasRegion) {
      XShapeCombineMask(dpy, w.xid, ShapeBounding, 0, 0, 0, ShapeSet);
      return;
    }
    std::vector<XRectangle> rects;
    for (const TRect& t : r.Shape.Rects())
      rects.push_back({short(t.Left), short(t.Top), (unsigned short)t.Width(), (unsigned short)t.Height()});
    XShapeCombineRectangles(dpy, w.xid, ShapeBounding, 0, 0, rects.data(), int(rects.size()), ShapeSet, YXBanded);
  }

  TWin& Ensure(HWND h) {
    auto it = wins.find(h);
    if (it != wins.end()) return it->second;
    TWindowRecord* r = Record(h);
    TWin w;
    // Menus and tips: placed by us, never decorated, focused or restacked by a window manager.
    const DWORD menuLike = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    w.overrideRedirect = (r->ExStyle & WS_EX_TOOLWINDOW) &&
                         ((r->Style & WS_POPUP) || (r->ExStyle & menuLike) == menuLike);
    w.topmost = (r->ExStyle & WS_EX_TOPMOST) != 0;
    XSetWindowAttributes a{};
    a.override_redirect = w.overrideRedirect ? True : False;
    a.background_pixmap = 0;
    a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                   LeaveWindowMask | KeyPressMask |
                   KeyReleaseMask | StructureNotifyMask | VisibilityChangeMask | FocusChangeMask;
    a.cursor = current;
    w.xid = XCreateWindow(dpy, root, r->Rect.Left, r->Rect.Top, unsigned(std::max(r->Rect.Width(), 1)),
                          unsigned(std::max(r->Rect.Height(), 1)), 0, depth, InputOutput, visual,
                          CWOverrideRedirect | CWBackPixmap | CWEventMask | (current ? CWCursor : 0), &a);
    if (im) {
      w.ic = XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, w.xid, XNFocusWindow,
                       w.xid, nullptr);
      long filter = 0;
      if (w.ic && !XGetICValues(w.ic, XNFilterEvents, &filter, nullptr) && filter)
        XSelectInput(dpy, w.xid, a.event_mask | filter);
    }
    XClassHint cls{const_cast<char*>("vandrel"), const_cast<char*>("vandrel")};
    XSetClassHint(dpy, w.xid, &cls);
    XSizeHints size{};
    size.flags = USPosition | PPosition;
    size.x = r->Rect.Left;
    size.y = r->Rect.Top;
    XSetWMNormalHints(dpy, w.xid, &size);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(dpy, w.xid, &hints);
    // The program draws every frame itself: no decorations from a window manager.
    long motif[5] = {2, 0, 0, 0, 0};
    Atom motifAtom = Intern("_MOTIF_WM_HINTS");
    XChangeProperty(dpy, w.xid, motifAtom, motifAtom, 32, PropModeReplace, reinterpret_cast<unsigned char*>(motif), 5);
    Atom del = Intern("WM_DELETE_WINDOW");
    XSetWMProtocols(dpy, w.xid, &del, 1);
    if (w.topmost) {
      Atom above = Intern("_NET_WM_STATE_ABOVE");
      XChangeProperty(dpy, w.xid, Intern("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&above), 1);
    }
    if (auto o = wins.find(r->Owner); o != wins.end()) XSetTransientForHint(dpy, w.xid, o->second.xid);
    auto& stored = wins[h] = w;
    byX[w.xid] = h;
    SetNames(stored, h);
    SetIcon(stored, h);
    ApplyShape(stored, *r);
    return stored;
  }

  void Present(HWND h, TWin& w) {
    TWindowRecord* r = Record(h);
    if (!r || !r->Surface || !w.mapped) return;
    TSurface& s = *r->Surface;
    TRect d = s.TakeDamage();
    if (w.fullDirty) d = s.Bounds();
    w.fullDirty = false;
    TRect clipped;
    if (!IntersectRect(clipped, d, s.Bounds())) return;
    EnsureImage(w, s.Width(), s.Height());
    if (!w.image) return;
    const std::ptrdiff_t left = std::ptrdiff_t(clipped.Left) * (format.BitsPerPixel / 8);
    for (int y = clipped.Top; y < clipped.Bottom; ++y)
      format.EncodeRow(s.Row(y) + clipped.Left, clipped.Width(), w.image->data + std::ptrdiff_t(y) * w.image->bytes_per_line + left);
    if (w.imageShm) {
      XShmPutImage(dpy, w.xid, gc, w.image, clipped.Left, clipped.Top, clipped.Left, clipped.Top,
                   unsigned(clipped.Width()), unsigned(clipped.Height()), False);
    } else {
      XPutImage(dpy, w.xid, gc, w.image, clipped.Left, clipped.Top, clipped.Left, clipped.Top,
                unsigned(clipped.Width()), unsigned(clipped.Height()));
    }
  }

  // The pointer (and for a menu, the keyboard: nobody gives an override-redirect window the
  // focus) goes to the window holding the capture. A menu must really get the pointer, or clicks
  // outside it would go to other programs and it would never close: another program's grab is
  // waited out briefly, then reported. Other windows take what they get, as before.
  bool Grab(TWin& w) {
    const int tries = w.overrideRedirect ? 25 : 1;
    for (int i = 0;; ++i) {
      int status = XGrabPointer(dpy, w.xid, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                GrabModeAsync, GrabModeAsync, 0, current, CurrentTime);
      if (status == GrabSuccess) break;
      if (i + 1 >= tries) return !w.overrideRedirect;
      poll(nullptr, 0, 8);
    }
    if (w.overrideRedirect) {
      for (int i = 0; i < 25; ++i) {
        if (XGrabKeyboard(dpy, w.xid, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess) {
          keyboardGrabbed = true;
          return true;
        }
        poll(nullptr, 0, 8);
      }
      XUngrabPointer(dpy, CurrentTime);
      return false;
    }
    return true;
  }

  void Ungrab() {
    XUngrabPointer(dpy, CurrentTime);
    if (keyboardGrabbed) XUngrabKeyboard(dpy, CurrentTime);
    keyboardGrabbed = false;
    XFlush(dpy);
  }

  // Keeps the window manager's stay-on-top state in step with WS_EX_TOPMOST.
  void SyncTopmost(HWND h, TWin& w) {
    TWindowRecord* r = Record(h);
    bool topmost = r && (r->ExStyle & WS_EX_TOPMOST);
    if (topmost == w.topmost) return;
    w.topmost = topmost;
    Atom state = Intern("_NET_WM_STATE"), above = Intern("_NET_WM_STATE_ABOVE");
    if (w.mapped && HasWm()) {
      XEvent e{};
      e.xclient.type = ClientMessage;
      e.xclient.window = w.xid;
      e.xclient.message_type = state;
      e.xclient.format = 32;
      e.xclient.data.l[0] = topmost ? 1 : 0;
      e.xclient.data.l[1] = long(above);
      XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else if (topmost) {
      XChangeProperty(dpy, w.xid, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&above), 1);
    } else {
      XDeleteProperty(dpy, w.xid, state);
    }
  }

  // Our mapped windows, the front one first.
  std::vector<::Window> StackingOrder() {
    std::vector<::Window> order;
    for (auto* r : TWindowSystem::Instance().Desktop().Children)
      if (auto it = wins.find(r->Handle); it != wins.end() && it->second.mapped) order.push_back(it->second.xid);
    return order;
  }

  void Restack() {
    for (auto& [h, w] : wins) SyncTopmost(h, w);
    std::vector<::Window> order = StackingOrder();
    if (order.size() > 1) XRestackWindows(dpy, order.data(), int(order.size()));
  }

  // Without a window manager nobody keeps a topmost window above other programs' windows: a
  // covered one brings our front window up and the rest under it in our own order. Raising
  // just the covered window made two topmost windows of ours (a message box and its owner)
  // cover each other in turn for ever; restacking to the order they already have changes
  // nothing, so no new event follows.
  void KeepOnTop() {
    std::vector<::Window> order = StackingOrder();
    if (order.empty()) return;
    if (TWindowRecord* front = Record(byX[order.front()]); front && (front->ExStyle & WS_EX_TOPMOST))
      XRaiseWindow(dpy, order.front());
    if (order.size() > 1) XRestackWindows(dpy, order.data(), int(order.size()));
  }

  XIC InputContext(HWND h) {
    auto it = h ? wins.find(h) : wins.end();
    return it == wins.end() ? nullptr : it->second.ic;
  }

  // The UTF-8 text a key press types: through the input method when one is open, else the
  // Latin-1 of the key symbol.
  std::string KeyText(HWND h, XKeyEvent& key) {
    if (XIC ic = InputContext(h)) {
      std::string text(32, '\0');
      KeySym sym = 0;
      Status status = 0;
      int n = Xutf8LookupString(ic, &key, text.data(), int(text.size()), &sym, &status);
      if (status == XBufferOverflow) {
        text.resize(size_t(n));
        n = Xutf8LookupString(ic, &key, text.data(), int(text.size()), &sym, &status);
      }
      if (status != XLookupChars && status != XLookupBoth) return {};
      text.resize(size_t(std::max(n, 0)));
      return text;
    }
    char buf[8] = {};
    KeySym sym = 0;
    int n = XLookupString(&key, buf, sizeof buf, &sym, nullptr);
    if (n != 1) return {};
    unsigned char c = static_cast<unsigned char>(buf[0]);
    if (c < 0x80) return std::string(1, char(c));
    return {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
  }

  // Asks for the window's rectangle and remembers the request, so that its answer is known as one.
  void RequestRect(TWin& w, const TRect& r) {
    TRect asked = Bounds(r.Left, r.Top, std::max(r.Width(), 1), std::max(r.Height(), 1));
    if (w.requested.size() >= 32) w.requested.pop_front();  // answers a window manager never sent
    w.requested.push_back(asked);
    XMoveResizeWindow(dpy, w.xid, asked.Left, asked.Top, unsigned(asked.Width()), unsigned(asked.Height()));
  }

  // A notify that answers one of our requests says where the window went on the way to the last
  // one: following it would pull the window back. One that answers none is the window manager's
  // own move (a keyboard move, placement), which the window follows, except while a frame drag
  // of ours runs: then we place the window.
  void Configured(HWND h, const XConfigureEvent& c) {
    TWin& w = wins[h];
    if (!c.send_event && w.reparented) return;
    TRect got = Bounds(c.x, c.y, c.width, c.height);
    auto answered = std::find(w.requested.begin(), w.requested.end(), got);
    if (answered != w.requested.end()) {
      w.requested.erase(w.requested.begin(), answered + 1);
      return;
    }
    TWindowRecord* r = Record(h);
    if (!r || !c.send_event || (r->Style & WS_MINIMIZE)) return;
    TWindowRecord* captor = Record(GetCapture());
    if (captor && TopLevelOf(captor) == r) return;
    if (c.x != r->Rect.Left || c.y != r->Rect.Top)
      SetWindowPos(h, nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // A taskbar or pager restored the iconified window: the restore goes the way a click on the
  // window's own restore command goes, so whoever keeps the window's state hears of it.
  void MappedFromOutside(HWND h) {
    TWin& w = wins[h];
    if (w.mapped || !IsIconic(h)) return;
    w.mapped = true;
    w.fullDirty = true;
    SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    // A handler that keeps the window minimised: give it back to the window manager's icon.
    auto it = wins.find(h);
    if (it != wins.end() && IsWindow(h) && IsIconic(h) && it->second.mapped) {
      it->second.mapped = false;
      if (HasWm()) XIconifyWindow(dpy, it->second.xid, screen);
      else XUnmapWindow(dpy, it->second.xid);
    }
  }

  // The window manager iconified the window (its own key, a taskbar).
  void UnmappedFromOutside(HWND h) {
    TWin& w = wins[h];
    if (!w.mapped) return;
    w.mapped = false;
    if (!IsWindowVisible(h) || IsIconic(h)) return;
    SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    // A handler that refused to minimise: the window stays on the screen.
    auto it = wins.find(h);
    if (it != wins.end() && IsWindow(h) && IsWindowVisible(h) && !IsIconic(h) && !it->second.mapped) {
      XMapWindow(dpy, it->second.xid);
      it->second.mapped = true;
      it->second.fullDirty = true;
    }
  }

  void Handle(XEvent& e) {
    if (tray->Handle(e)) return;
    auto it = byX.find(e.xany.window);
    HWND h = it == byX.end() ? nullptr : it->second;
    switch (e.type) {
      case MotionNotify: {
        while (XCheckTypedWindowEvent(dpy, e.xany.window, MotionNotify, &e)) {
        }
        InjectMouseMove({e.xmotion.x_root, e.xmotion.y_root});
        break;
      }
      case LeaveNotify:
        // Grabs move the pointer's window without the pointer moving; only a real move (or the
        // end of a grab, which puts the pointer back where it really is) leaves the window.
        if (e.xcrossing.mode != NotifyGrab) InjectMouseLeave({e.xcrossing.x_root, e.xcrossing.y_root});
        break;
      case EnterNotify:
        if (e.xcrossing.mode != NotifyGrab) InjectMouseMove({e.xcrossing.x_root, e.xcrossing.y_root});
        break;
      case ButtonPress:
      case ButtonRelease: {
        TPoint p{e.xbutton.x_root, e.xbutton.y_root};
        unsigned b = e.xbutton.button;
        if (b == 4 || b == 5) {
          if (e.type == ButtonPress) InjectMouseWheel(b == 4 ? WHEEL_DELTA : -WHEEL_DELTA, p);
          break;
        }
        TMouseButton mb = b == 1 ? TMouseButton::Left : b == 3 ? TMouseButton::Right : TMouseButton::Middle;
        InjectMouseMove(p);
        InjectMouseButton(mb, e.type == ButtonPress, p);
        break;
      }
      case KeyPress: {
        // The key is the one on the keyboard (Shift+1 is the key 1), the text what it types.
        int vk = VirtualKeyOfKeySym(XLookupKeysym(&e.xkey, 0));
        std::u32string text = CodePoints(KeyText(h, e.xkey));
        if (vk) InjectKey(vk, true, text.empty() ? 0 : text[0]);
        for (size_t i = vk ? 1 : 0; i < text.size(); ++i) InjectChar(text[i]);
        break;
      }
      case KeyRelease:
        if (int vk = VirtualKeyOfKeySym(XLookupKeysym(&e.xkey, 0))) InjectKey(vk, false);
        break;
      case Expose:
        if (h && e.xexpose.count == 0) wins[h].fullDirty = true;
        break;
      case VisibilityNotify:
        if (h && wins[h].topmost && e.xvisibility.state != VisibilityUnobscured && !HasWm()) KeepOnTop();
        break;
      case ClientMessage:
        if (h && Atom(e.xclient.data.l[0]) == Intern("WM_DELETE_WINDOW")) PostMessage(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
      case ConfigureNotify:
        if (h) Configured(h, e.xconfigure);
        break;
      case ReparentNotify:
        if (h) wins[h].reparented = e.xreparent.parent != root;
        break;
      case MapNotify:
        if (h) MappedFromOutside(h);
        break;
      case UnmapNotify:
        if (h && !e.xunmap.send_event) UnmappedFromOutside(h);
        break;
      case FocusIn:
        if (XIC ic = InputContext(h)) XSetICFocus(ic);
        if (h && GetActiveWindow() != h && IsWindowVisible(h)) SetActiveWindow(h);
        break;
      case FocusOut:
        if (XIC ic = InputContext(h)) XUnsetICFocus(ic);
        break;
      case MappingNotify:
        // The keyboard was remapped (a layout switch, a tool typing a symbol the layout lacks).
        if (e.xmapping.request != MappingPointer) XRefreshKeyboardMapping(&e.xmapping);
        break;
      default: break;
    }
  }
};

TX11Display::TX11Display(std::unique_ptr<TImpl> impl) : m_impl(std::move(impl)) {}

namespace {

// The user's input method (XMODIFIERS), else Xlib's own, which still composes UTF-8 text. Xlib
// binds the method to the character type of the locale current when it opens, so that locale
// is the user's (a UTF-8 one when the user's cannot be used) just for the opening.
XIM OpenInputMethod(Display* dpy) {
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  std::string previous = current ? current : "C";
  if (!std::setlocale(LC_CTYPE, "") || !XSupportsLocale()) std::setlocale(LC_CTYPE, "C.UTF-8");
  XIM im = nullptr;
  if (XSupportsLocale()) {
    XSetLocaleModifiers("");
    im = XOpenIM(dpy, nullptr, nullptr, nullptr);
    if (!im) {
      XSetLocaleModifiers("@im=none");
      im = XOpenIM(dpy, nullptr, nullptr, nullptr);
    }
  }
  std::setlocale(LC_CTYPE, previous.c_str());
  return im;
}

}  // namespace

std::unique_ptr<TX11Display> TX11Display::Open(const std::string& name) {
  auto impl = std::make_unique<TImpl>();
  impl->dpy = XOpenDisplay(name.empty() ? nullptr : name.c_str());
  if (!impl->dpy) {
    const char* env = std::getenv("DISPLAY");
    throw EOSError("Cannot open the X display \"" + (name.empty() ? std::string(env ? env : "") : name) + "\"");
  }
  XSetErrorHandler(&OnXError);
  impl->screen = DefaultScreen(impl->dpy);
  impl->root = RootWindow(impl->dpy, impl->screen);
  impl->visual = DefaultVisual(impl->dpy, impl->screen);
  impl->depth = DefaultDepth(impl->dpy, impl->screen);
  int bitsPerPixel = 0, formats = 0;
  if (XPixmapFormatValues* f = XListPixmapFormats(impl->dpy, &formats)) {
    for (int i = 0; i < formats; ++i)
      if (f[i].depth == impl->depth) bitsPerPixel = f[i].bits_per_pixel;
    XFree(f);
  }
  std::string why;
  auto format = X11PixelFormatOf(impl->visual->c_class, impl->depth, bitsPerPixel,
                                 ImageByteOrder(impl->dpy) == MSBFirst, std::uint32_t(impl->visual->red_mask),
                                 std::uint32_t(impl->visual->green_mask), std::uint32_t(impl->visual->blue_mask), why);
  if (!format) {
    XCloseDisplay(impl->dpy);
    throw EOSError(why);
  }
  impl->format = *format;
  impl->im = OpenInputMethod(impl->dpy);
  int ev, err;
  impl->shape = XShapeQueryExtension(impl->dpy, &ev, &err);
  impl->shm = XShmQueryExtension(impl->dpy);
  impl->gc = XCreateGC(impl->dpy, impl->root, 0, nullptr);
  XGCValues v{};
  v.subwindow_mode = IncludeInferiors;
  impl->rootGc = XCreateGC(impl->dpy, impl->root, GCSubwindowMode, &v);
  impl->tray = std::make_unique<TX11Tray>(impl->dpy, impl->screen, impl->format);
  std::unique_ptr<TX11Display> display(new TX11Display(std::move(impl)));
  SetDisplayBackend(display.get());
  return display;
}

TX11Display::~TX11Display() {
  if (GetDisplayBackend() == this) SetDisplayBackend(nullptr);
  for (auto& [h, w] : m_impl->wins) {
    m_impl->FreeImage(w);
    if (w.ic) XDestroyIC(w.ic);
    XDestroyWindow(m_impl->dpy, w.xid);
  }
  m_impl->tray.reset();
  m_impl->FreeImage(m_impl->screenRead);
  if (m_impl->im) XCloseIM(m_impl->im);
  for (auto& [id, c] : m_impl->cursors) XFreeCursor(m_impl->dpy, c);
  XFreeGC(m_impl->dpy, m_impl->gc);
  XFreeGC(m_impl->dpy, m_impl->rootGc);
  XCloseDisplay(m_impl->dpy);
}

void TX11Display::SetApplicationTitle(const std::string& title) {
  m_impl->appTitle = title;
  for (auto& [h, w] : m_impl->wins) m_impl->SetNames(w, h);
}

bool TX11Display::HasWindowManager() const { return m_impl->HasWm(); }
bool TX11Display::UsesSharedMemory() const { return m_impl->shm; }

TSize TX11Display::ScreenSize() const {
  return {DisplayWidth(m_impl->dpy, m_impl->screen), DisplayHeight(m_impl->dpy, m_impl->screen)};
}

int TX11Display::ScreenDepth() const { return m_impl->depth; }

TRect TX11Display::WorkArea() const {
  TSize s = ScreenSize();
  TRect screen{0, 0, s.cx, s.cy};
  // A window manager that quit leaves its last work area on the root window: only a running
  // one's counts, and only the entry of the desktop shown.
  if (!m_impl->HasWm()) return screen;
  long desktop = 0;
  if (auto current = m_impl->CardinalsOf("_NET_CURRENT_DESKTOP", 1); current.size() == 1) desktop = current[0];
  std::vector<long> areas = m_impl->CardinalsOf("_NET_WORKAREA", 4 * (desktop + 1));
  if (desktop < 0 || areas.size() < size_t(4 * (desktop + 1))) return screen;
  const long* v = areas.data() + 4 * desktop;
  TRect area = Bounds(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
  TRect inside;
  if (v[2] <= 0 || v[3] <= 0 || !IntersectRect(inside, area, screen) || inside != area) return screen;
  return area;
}

void TX11Display::WindowShown(HWND h) {
  TWindowRecord* r = m_impl->Record(h);
  if (!r) return;
  auto& w = m_impl->Ensure(h);
  if (r->Style & WS_MINIMIZE) return;
  XMapRaised(m_impl->dpy, w.xid);
  w.mapped = true;
  w.fullDirty = true;
  m_impl->Restack();
  if (m_impl->grabbed == h && !m_impl->Grab(w) && GetCapture()) ReleaseCapture();
}

void TX11Display::WindowHidden(HWND h) {
  auto it = m_impl->wins.find(h);
  if (it == m_impl->wins.end() || !it->second.mapped) return;
  XUnmapWindow(m_impl->dpy, it->second.xid);
  it->second.mapped = false;
  if (m_impl->grabbed == h) m_impl->Ungrab();
}

void TX11Display::WindowMoved(HWND h) {
  TWindowRecord* r = m_impl->Record(h);
  auto it = m_impl->wins.find(h);
  if (!r || it == m_impl->wins.end()) return;
  auto& w = it->second;
  if (r->Style & WS_MINIMIZE) {
    if (w.mapped) {
      if (m_impl->HasWm()) {
        XIconifyWindow(m_impl->dpy, w.xid, m_impl->screen);
      } else {
        XUnmapWindow(m_impl->dpy, w.xid);
      }
      w.mapped = false;
    }
    return;
  }
  m_impl->RequestRect(w, r->Rect);
  w.fullDirty = true;
  if (!w.mapped && r->Visible()) WindowShown(h);
}

void TX11Display::WindowShapeChanged(HWND h) {
  TWindowRecord* r = m_impl->Record(h);
  auto it = m_impl->wins.find(h);
  if (r && it != m_impl->wins.end()) m_impl->ApplyShape(it->second, *r);
}

void TX11Display::WindowTextChanged(HWND h) {
  if (auto it = m_impl->wins.find(h); it != m_impl->wins.end()) m_impl->SetNames(it->second, h);
}

void TX11Display::WindowIconChanged(HWND h) {
  if (auto it = m_impl->wins.find(h); it != m_impl->wins.end()) m_impl->SetIcon(it->second, h);
}

void TX11Display::ZOrderChanged() { m_impl->Restack(); }

void TX11Display::WindowDestroyed(HWND h) {
  m_impl->tray->WindowDestroyed(h);
  auto it = m_impl->wins.find(h);
  if (it == m_impl->wins.end()) return;
  m_impl->FreeImage(it->second);
  if (it->second.ic) XDestroyIC(it->second.ic);
  m_impl->byX.erase(it->second.xid);
  if (m_impl->grabbed == h) {
    m_impl->grabbed = nullptr;
    m_impl->Ungrab();
  }
  XDestroyWindow(m_impl->dpy, it->second.xid);
  m_impl->wins.erase(it);
}

void TX11Display::SurfaceChanged(HWND, const TRect&) {}

void TX11Display::ActiveChanged(HWND h) {
  auto it = m_impl->wins.find(h);
  if (it == m_impl->wins.end() || !it->second.mapped || it->second.overrideRedirect) return;
  if (m_impl->HasWm()) {
    // A managed window is not viewable until its manager maps the frame: focusing it directly
    // would be refused, so ask the manager to activate it.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = it->second.xid;
    e.xclient.message_type = m_impl->Intern("_NET_ACTIVE_WINDOW");
    e.xclient.format = 32;
    e.xclient.data.l[0] = 1;  // from an application
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_impl->dpy, m_impl->root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    return;
  }
  XSetInputFocus(m_impl->dpy, it->second.xid, RevertToParent, CurrentTime);
}

bool TX11Display::CaptureChanged(HWND h) {
  TWindowRecord* r = h ? TopLevelOf(m_impl->Record(h)) : nullptr;
  auto it = r ? m_impl->wins.find(r->Handle) : m_impl->wins.end();
  m_impl->grabbed = it != m_impl->wins.end() ? r->Handle : nullptr;
  // A window not on the screen yet is grabbed once it is mapped.
  if (it == m_impl->wins.end() || !it->second.mapped) {
    m_impl->Ungrab();
    return true;
  }
  if (m_impl->Grab(it->second)) return true;
  m_impl->grabbed = nullptr;
  return false;
}

void TX11Display::CursorChanged(HCURSOR c) {
  std::uintptr_t id = CursorId(c);
  auto& cursor = m_impl->cursors[id];
  if (!cursor) cursor = XCreateFontCursor(m_impl->dpy, XCursorShapeOf(id));
  m_impl->current = cursor;
  for (auto& [h, w] : m_impl->wins) XDefineCursor(m_impl->dpy, w.xid, cursor);
}

void TX11Display::Flush() {
  for (auto& [h, w] : m_impl->wins) m_impl->Present(h, w);
  XFlush(m_impl->dpy);
}

void TX11Display::ReadScreen(TSurface& dst, const TRect& rect) {
  TSize s = ScreenSize();
  TRect r;
  if (!IntersectRect(r, rect, {0, 0, s.cx, s.cy})) return;
  // The screen shows our windows as last presented: present what was drawn since.
  Flush();
  auto& impl = *m_impl;
  XImage* img = nullptr;
  bool owned = false;
  if (impl.shm) {
    impl.EnsureImage(impl.screenRead, r.Width(), r.Height());
    if (!impl.screenRead.imageShm) impl.FreeImage(impl.screenRead);  // the server cannot reach our memory
    else if (SucceedsOnServer(impl.dpy, [&] { return XShmGetImage(impl.dpy, impl.root, impl.screenRead.image, r.Left, r.Top, AllPlanes) != 0; }))
      img = impl.screenRead.image;
  }
  if (!img) {
    img = XGetImage(impl.dpy, impl.root, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()), AllPlanes, ZPixmap);
    owned = true;
  }
  if (!img) return;  // the caller keeps what it had
  const TX11PixelFormat& format = impl.format;
  for (int y = 0; y < r.Height(); ++y) {
    int dy = y + r.Top - rect.Top;
    if (dy < 0 || dy >= dst.Height()) continue;
    const char* row = img->data + std::ptrdiff_t(y) * img->bytes_per_line;
    std::uint32_t* out = dst.Row(dy);
    for (int x = 0; x < r.Width(); ++x) {
      int dx = x + r.Left - rect.Left;
      if (dx >= 0 && dx < dst.Width()) out[dx] = format.ReadPixel(row, x);
    }
  }
  if (owned) XDestroyImage(img);
}

void TX11Display::WriteScreen(const TSurface& src, const TRect& rect) {
  TRect r;
  if (!IntersectRect(r, rect, src.Bounds())) return;
  XImage* img = m_impl->NewImage(r.Width(), r.Height());
  if (!img) return;
  for (int y = 0; y < r.Height(); ++y)
    m_impl->format.EncodeRow(src.Row(r.Top + y) + r.Left, r.Width(), img->data + std::ptrdiff_t(y) * img->bytes_per_line);
  XPutImage(m_impl->dpy, m_impl->root, m_impl->rootGc, img, 0, 0, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()));
  XDestroyImage(img);
  XFlush(m_impl->dpy);
}

void TX11Display::PollEvents() {
  m_impl->clockChange.Check();
  while (XPending(m_impl->dpy)) {
    XEvent e;
    XNextEvent(m_impl->dpy, &e);
    if (XFilterEvent(&e, 0)) continue;  // the input method's own
    m_impl->Handle(e);
  }
}

bool TX11Display::WaitEvents(int timeoutMs) {
  Flush();
  if (XPending(m_impl->dpy)) return true;
  pollfd p[2] = {{ConnectionNumber(m_impl->dpy), POLLIN, 0}, {m_impl->clockChange.FileDescriptor(), POLLIN, 0}};
  poll(p, p[1].fd >= 0 ? 2 : 1, timeoutMs);
  return true;
}

bool TX11Display::TrayAvailable() { return m_impl->tray->Available(); }
bool TX11Display::ShowTrayIcon(const TTrayIcon& icon) { return m_impl->tray->Show(icon); }
bool TX11Display::RemoveTrayIcon(HWND window, UINT id) { return m_impl->tray->Remove(window, id); }
const TTrayIcon* TX11Display::FindTrayIcon(HWND window, UINT id) const { return m_impl->tray->Find(window, id); }

std::unique_ptr<TDisplayBackend> OpenDisplay() {
  const char* backend = std::getenv("VANDREL_BACKEND");
  std::string choice = backend ? backend : "";
  if (choice.empty()) {
    const char* display = std::getenv("DISPLAY");
    choice = display && *display ? "x11" : "headless";
  }
  if (choice == "x11") return TX11Display::Open();
  if (choice == "headless") return THeadlessScreen::Create();
  throw EInvalidArgument("VANDREL_BACKEND must be \"headless\" or \"x11\", not \"" + choice + "\"");
}

}  // namespace vandrel
