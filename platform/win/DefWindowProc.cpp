// The default processing of messages: the plain classic frame, text, closing, cursors,
// activation, erasing, painting, printing and the system keys.
#include <algorithm>
#include <cstring>

#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/DefaultFrame.h"
#include "platform/win/FrameTracking.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

namespace {

TWindowRecord* Rec(HWND h) { return TWindowSystem::Instance().Find(h); }

TFrameLayout LayoutOf(const TWindowRecord& w) {
  return DefaultFrameLayout(w.Style, w.ExStyle, w.Rect.Size(), w.VScroll.Shown, w.HScroll.Shown);
}

HCURSOR CursorForHit(int hit) {
  switch (hit) {
    case HTLEFT:
    case HTRIGHT: return LoadCursor(IDC_SIZEWE);
    case HTTOP:
    case HTBOTTOM: return LoadCursor(IDC_SIZENS);
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
    case HTGROWBOX: return LoadCursor(IDC_SIZENWSE);
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return LoadCursor(IDC_SIZENESW);
    default: return LoadCursor(IDC_ARROW);
  }
}

bool IsActiveFrame(HWND hwnd) {
  TWindowRecord* w = Rec(hwnd);
  TWindowRecord* top = TopLevelOf(w);
  return top && top->Handle == GetActiveWindow();
}

void PaintFrameNow(HWND hwnd, bool active) {
  TWindowRecord* w = Rec(hwnd);
  if (!w || w->ClientInWindow() == w->WindowBounds()) return;
  HDC dc = GetWindowDC(hwnd);
  PaintDefaultFrame(hwnd, dc, active);
  ReleaseDC(hwnd, dc);
}

LRESULT OnSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  UINT cmd = UINT(wParam) & 0xFFF0;
  switch (cmd) {
    case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); return 0;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); return 0;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
    case SC_MOVE:
    case SC_SIZE: {
      bool keyboard = lParam == 0;
      RunMoveSizeLoop(hwnd, UINT(wParam) & 0xFFFF, keyboard ? CursorPos() : LParamToPoint(lParam), keyboard);
      return 0;
    }
    case SC_KEYMENU:
      if (lParam == ' ') {
        TRect r = WindowRect(hwnd);
        RunSystemMenu(hwnd, {r.Left + 4, r.Top + GetSystemMetrics(SM_CYCAPTION) + 3});
      }
      return 0;
    case SC_MOUSEMENU: {
      TRect r = WindowRect(hwnd);
      RunSystemMenu(hwnd, {r.Left + 4, r.Top + GetSystemMetrics(SM_CYCAPTION) + 3});
      return 0;
    }
    default: return 0;
  }
}

LRESULT OnNcLButtonDown(HWND hwnd, int hit, LPARAM lParam) {
  switch (hit) {
    case HTCAPTION:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE + UINT(HTCAPTION), lParam);
      return 0;
    case HTLEFT: case HTRIGHT: case HTTOP: case HTTOPLEFT: case HTTOPRIGHT: case HTBOTTOM:
    case HTBOTTOMLEFT: case HTBOTTOMRIGHT:
      // SC_SIZE carries the edge as WMSZ_LEFT (1) .. WMSZ_BOTTOMRIGHT (8).
      SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + UINT(hit - HTLEFT + 1), lParam);
      return 0;
    case HTGROWBOX:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + 8, lParam);
      return 0;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
      if (TrackCaptionButton(hwnd, hit)) {
        UINT cmd = hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : (IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE);
        SendMessage(hwnd, WM_SYSCOMMAND, cmd, lParam);
      }
      return 0;
    case HTSYSMENU:
      SendMessage(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + UINT(HTSYSMENU), lParam);
      return 0;
    case HTVSCROLL: TrackScrollBar(hwnd, SB_VERT, LParamToPoint(lParam)); return 0;
    case HTHSCROLL: TrackScrollBar(hwnd, SB_HORZ, LParamToPoint(lParam)); return 0;
    default: return 0;
  }
}

void PrintInto(HWND hwnd, HDC dc, LPARAM flags) {
  TWindowRecord* w = Rec(hwnd);
  if (!w) return;
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return;
  TRect client = w->ClientInWindow();
  if ((flags & PRF_NONCLIENT) && client != w->WindowBounds())
    PaintDefaultFrame(hwnd, dc, IsActiveFrame(hwnd));
  TDCStateSaver saver(dc);
  OffsetViewportOrgEx(dc, client.Left, client.Top, nullptr);
  IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
  if (flags & PRF_ERASEBKGND) SendMessage(hwnd, WM_ERASEBKGND, HdcToWParam(dc), 0);
  if (flags & PRF_CLIENT) SendMessage(hwnd, WM_PRINTCLIENT, HdcToWParam(dc), flags);
  if (!(flags & PRF_CHILDREN) || !(w = Rec(hwnd))) return;
  std::vector<HWND> kids;
  for (auto it = w->Children.rbegin(); it != w->Children.rend(); ++it) kids.push_back((*it)->Handle);
  for (HWND k : kids) {
    TWindowRecord* c = Rec(k);
    if (!c || !c->Visible()) continue;
    TDCStateSaver childSaver(dc);
    OffsetViewportOrgEx(dc, c->Rect.Left, c->Rect.Top, nullptr);
    IntersectClipRect(dc, 0, 0, c->Rect.Width(), c->Rect.Height());
    SendMessage(k, WM_PRINT, HdcToWParam(dc), flags | PRF_NONCLIENT);
  }
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindowRecord* w = Rec(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_NCCALCSIZE: {
      TRect* r = reinterpret_cast<TRect*>(lParam);
      if (!r) return 0;
      TFrameLayout l = DefaultFrameLayout(w->Style, w->ExStyle, r->Size(), w->VScroll.Shown, w->HScroll.Shown);
      *r = OffsetRect(l.Client, r->Left, r->Top);
      return 0;
    }
    case WM_NCHITTEST: {
      TPoint p = LParamToPoint(lParam) - WindowOriginOnScreen(*w);
      return DefaultFrameHitTest(LayoutOf(*w), w->Style, w->Rect.Size(), p);
    }
    case WM_NCPAINT: PaintFrameNow(hwnd, IsActiveFrame(hwnd)); return 0;
    case WM_NCACTIVATE: PaintFrameNow(hwnd, wParam != 0); return TRUE;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      w->Text = text ? text : "";
      if (w->IsTopLevel() && TWindowSystem::Instance().Backend) TWindowSystem::Instance().Backend->WindowTextChanged(hwnd);
      if ((w->Style & WS_CAPTION) == WS_CAPTION) PaintFrameNow(hwnd, IsActiveFrame(hwnd));
      return TRUE;
    }
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t n = std::min<size_t>(w->Text.size(), size_t(wParam) - 1);
      std::memcpy(buffer, w->Text.data(), n);
      buffer[n] = '\0';
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: return LRESULT(w->Text.size());
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SETCURSOR: {
      // The parent decides first, as a container may want one cursor over all its children.
      if ((w->Style & WS_CHILD) && w->Parent && SendMessage(w->Parent->Handle, WM_SETCURSOR, wParam, lParam))
        return TRUE;
      int hit = std::int16_t(LOWORD(std::uintptr_t(lParam)));
      if (hit == HTERROR) return FALSE;
      HCURSOR c = hit == HTCLIENT && (w = Rec(hwnd)) && w->Class && w->Class->hCursor ? w->Class->hCursor : CursorForHit(hit);
      SetCursor(c);
      return hit == HTCLIENT ? FALSE : TRUE;
    }
    case WM_MOUSEACTIVATE: {
      if ((w->Style & WS_CHILD) && w->Parent) {
        LRESULT r = SendMessage(w->Parent->Handle, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return (w->ExStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
    }
    case WM_ERASEBKGND: {
      if (!w->Class || w->Class->hbrBackground == clNone) return 0;
      HDC dc = HdcFromWParam(wParam);
      TRect box;
      GetClipBox(dc, &box);
      HBRUSH b = CreateSolidBrush(COLORREF(ColorToRGB(w->Class->hbrBackground)));
      FillRect(dc, box, b);
      DeleteObject(b);
      return 1;
    }
    case WM_PAINT: {
      if (wParam) return 0;  // painting into a given context: nothing to validate
      PAINTSTRUCT ps;
      BeginPaint(hwnd, ps);
      EndPaint(hwnd, ps);
      return 0;
    }
    case WM_PRINTCLIENT: SendMessage(hwnd, WM_PAINT, wParam, 0); return 0;
    case WM_PRINT: PrintInto(hwnd, HdcFromWParam(wParam), lParam); return 0;
    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!wp) return 0;
      if (!(wp->flags & SWP_NOMOVE)) SendMessage(hwnd, WM_MOVE, 0, PointToLParam(w->Client.TopLeft()));
      if (!(w = Rec(hwnd))) return 0;
      if (!(wp->flags & SWP_NOSIZE) || (wp->flags & SWP_FRAMECHANGED)) {
        WPARAM kind = (w->Style & WS_MINIMIZE) ? SIZE_MINIMIZED : (w->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessage(hwnd, WM_SIZE, kind, MAKELPARAM(w->Client.Width(), w->Client.Height()));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
      return 0;
    case WM_MOUSEWHEEL: {
      if (w->VScroll.Shown && !w->VScroll.Disabled) {
        int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        int code = notches > 0 ? SB_LINEUP : SB_LINEDOWN;
        for (int i = 0; i < 3 * std::abs(notches) && IsWindow(hwnd); ++i) SendMessage(hwnd, WM_VSCROLL, code, 0);
        if (IsWindow(hwnd)) SendMessage(hwnd, WM_VSCROLL, SB_ENDSCROLL, 0);
        return 0;
      }
      if ((w->Style & WS_CHILD) && w->Parent) return SendMessage(w->Parent->Handle, msg, wParam, lParam);
      return 0;
    }
    case WM_NCLBUTTONDOWN: return OnNcLButtonDown(hwnd, int(wParam), lParam);
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTSYSMENU) {
        SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
      } else if (wParam == HTCAPTION && (w->Style & WS_MAXIMIZEBOX)) {
        SendMessage(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) || IsIconic(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      } else {
        return OnNcLButtonDown(hwnd, int(wParam), lParam);
      }
      return 0;
    case WM_NCRBUTTONUP:
      if (wParam == HTCAPTION || wParam == HTSYSMENU) RunSystemMenu(hwnd, LParamToPoint(lParam));
      return 0;
    case WM_SYSCOMMAND: return OnSysCommand(hwnd, wParam, lParam);
    case WM_SYSKEYDOWN: {
      HWND top = TopLevelOf(w) ? TopLevelOf(w)->Handle : hwnd;
      if (wParam == VK_F4 && (HIWORD(std::uintptr_t(lParam)) & 0x2000)) SendMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    }
    case WM_SYSCHAR: {
      HWND top = TopLevelOf(w) ? TopLevelOf(w)->Handle : hwnd;
      if (wParam == ' ' && (GetWindowLong(top, GWL_STYLE) & WS_SYSMENU)) SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, ' ');
      return 0;
    }
    case WM_SETREDRAW:
      // Turning redraw off hides the window from painting without hiding it from the screen.
      if (wParam) {
        w->Style |= WS_VISIBLE;
      } else {
        w->Style &= ~WS_VISIBLE;
      }
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_CONTEXTMENU:
      if ((w->Style & WS_CHILD) && w->Parent) return SendMessage(w->Parent->Handle, msg, wParam, lParam);
      return 0;
    default: return 0;
  }
}

WNDPROC DefWindowProcObject() {
  static const WNDPROC proc = MakeWindowProc(&DefWindowProc);
  return proc;
}

LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return DefWindowProc(hwnd, msg, wParam, lParam);
  TWindowRecord* w = Rec(hwnd);
  if (!w) return (*proc)(hwnd, msg, wParam, lParam);
  TCallGuard guard(w);
  return (*proc)(hwnd, msg, wParam, lParam);
}

}  // namespace vandrel
