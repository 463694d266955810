// Layout, hit-testing and painting of the plain classic frame.
#include "platform/win/DefaultFrame.h"

#include <algorithm>

#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Edge.h"
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/gdi/Fill.h"
#include "platform/win/FrameText.h"
#include "platform/win/Messages.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/WindowStyles.h"
#include "platform/win/WindowSystem.h"

namespace vandrel {

TFrameLayout DefaultFrameLayout(DWORD style, DWORD exStyle, TSize window, bool vScroll, bool hScroll) {
  TFrameLayout l;
  int w = window.cx;
  int h = window.cy;
  l.Sizable = (style & WS_THICKFRAME) != 0;
  l.HasCaption = (style & WS_CAPTION) == WS_CAPTION;
  if (l.Sizable) {
    l.BorderWidth = GetSystemMetrics(SM_CXFRAME);
  } else if (l.HasCaption || (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    l.BorderWidth = GetSystemMetrics(SM_CXDLGFRAME);
  } else if (style & WS_BORDER) {
    l.BorderWidth = GetSystemMetrics(SM_CXBORDER);
  }
  int b = l.BorderWidth;
  TRect r{b, b, w - b, h - b};
  if (l.HasCaption) {
    bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    int capH = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
    l.Caption = {b, b, w - b, b + capH - 1};
    r.Top += capH;
    int bw = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
    int bh = GetSystemMetrics(tool ? SM_CYSMSIZE : SM_CYSIZE) - 4;
    int top = b + (capH - 1 - bh) / 2;
    if (style & WS_SYSMENU) {
      l.Close = {w - b - 2 - bw, top, w - b - 2, top + bh};
      if (!tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        l.Maximize = {l.Close.Left - 2 - bw, top, l.Close.Left - 2, top + bh};
        l.Minimize = {l.Maximize.Left - bw, top, l.Maximize.Left, top + bh};
      }
      if (!tool) {
        int icon = GetSystemMetrics(SM_CXSMICON);
        int it = b + (capH - 1 - icon) / 2;
        l.Icon = {b + 2, it, b + 2 + icon, it + icon};
      }
    }
  }
  if (exStyle & WS_EX_CLIENTEDGE) r = InflateRect(r, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
  int vbar = GetSystemMetrics(SM_CXVSCROLL), hbar = GetSystemMetrics(SM_CYHSCROLL);
  if (vScroll && r.Width() >= vbar) {
    l.VScroll = {r.Right - vbar, r.Top, r.Right, r.Bottom};
    r.Right -= vbar;
  }
  if (hScroll && r.Height() >= hbar) {
    l.HScroll = {r.Left, r.Bottom - hbar, r.Right, r.Bottom};
    r.Bottom -= hbar;
    if (!l.VScroll.IsEmpty()) {
      l.VScroll.Bottom = r.Bottom;
      l.Corner = {l.VScroll.Left, r.Bottom, l.VScroll.Right, l.HScroll.Bottom};
    }
  }
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  l.Client = r;
  return l;
}

int DefaultFrameHitTest(const TFrameLayout& l, DWORD style, TSize window, TPoint pt) {
  if (!TRect{0, 0, window.cx, window.cy}.Contains(pt)) return HTNOWHERE;
  if (l.Client.Contains(pt)) return HTCLIENT;
  if (l.VScroll.Contains(pt)) return HTVSCROLL;
  if (l.HScroll.Contains(pt)) return HTHSCROLL;
  if (l.Corner.Contains(pt)) return l.Sizable ? HTGROWBOX : HTBORDER;
  if (l.HasCaption) {
    if (l.Close.Contains(pt)) return HTCLOSE;
    if (l.Maximize.Contains(pt)) return HTMAXBUTTON;
    if (l.Minimize.Contains(pt)) return HTMINBUTTON;
    if (l.Icon.Contains(pt)) return HTSYSMENU;
    if (l.Caption.Contains(pt)) return HTCAPTION;
  }
  int b = l.BorderWidth;
  if (b > 0 && l.Sizable && !(style & (WS_MAXIMIZE | WS_MINIMIZE))) {
    int c = GetSystemMetrics(SM_CXSIZE) + b;  // corners reach along the edges
    bool left = pt.X < b, right = pt.X >= window.cx - b;
    bool top = pt.Y < b, bottom = pt.Y >= window.cy - b;
    if (left || right) {
      if (pt.Y < c) return left ? HTTOPLEFT : HTTOPRIGHT;
      if (pt.Y >= window.cy - c) return left ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
      return left ? HTLEFT : HTRIGHT;
    }
    if (top || bottom) {
      if (pt.X < c) return top ? HTTOPLEFT : HTBOTTOMLEFT;
      if (pt.X >= window.cx - c) return top ? HTTOPRIGHT : HTBOTTOMRIGHT;
      return top ? HTTOP : HTBOTTOM;
    }
  }
  if (l.HasCaption && pt.Y < l.Caption.Bottom + 1 && pt.Y >= l.Caption.Top) return HTCAPTION;
  return HTBORDER;
}

namespace {

void Fill(HDC dc, const TRect& r, int sysColor) { FillRect(dc, r, GetSysColorBrush(sysColor)); }

void FillColor(HDC dc, const TRect& r, COLORREF c) {
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, r, b);
  DeleteObject(b);
}

// A one-pixel bevel: topLeft on the top and left edges, bottomRight on the others.
void Bevel(HDC dc, const TRect& r, int topLeft, int bottomRight) {
  Fill(dc, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
  Fill(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
  Fill(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
  Fill(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

void CaptionButton(HDC dc, const TRect& r, UINT kind, bool pushed) {
  if (r.IsEmpty()) return;
  TRect box = r;
  DrawFrameControl(dc, &box, DFC_CAPTION, kind | (pushed ? UINT(DFCS_PUSHED) : 0u));
}

COLORREF Mix(COLORREF a, COLORREF b, int num, int den) {
  auto ch = [&](int sa, int sb) { return sa + (sb - sa) * num / std::max(den, 1); };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

}  // namespace

void PaintDefaultFrame(HWND hwnd, HDC dc, bool active, int pressedHit) {
  TWindowRecord* w = TWindowSystem::Instance().Find(hwnd);
  if (!w || !dc) return;
  TSize size = w->Rect.Size();
  TFrameLayout l = DefaultFrameLayout(w->Style, w->ExStyle, size, w->VScroll.Shown, w->HScroll.Shown);
  TDCStateSaver saver(dc);
  ExcludeClipRect(dc, l.Client.Left, l.Client.Top, l.Client.Right, l.Client.Bottom);
  TRect all{0, 0, size.cx, size.cy};
  int b = l.BorderWidth;
  if (b >= 2) {
    TRect edge = all;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    TRect inner = InflateRect(all, -2, -2);
    int band = l.Sizable ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_BTNFACE;
    for (int i = 0; i < b - 2; ++i) Bevel(dc, InflateRect(inner, -i, -i), band, band);
  } else if (b == 1) {
    Bevel(dc, all, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
  }
  if (l.HasCaption) {
    COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    const TRect& c = l.Caption;
    int width = std::max(c.Width(), 1);
    // Bands of a few pixels keep the gradient smooth without a fill per pixel column.
    for (int x = c.Left; x < c.Right; x += 4)
      FillColor(dc, {x, c.Top, std::min(x + 4, c.Right), c.Bottom}, Mix(from, to, x - c.Left, width));
    Fill(dc, {c.Left, c.Bottom, c.Right, c.Bottom + 1}, COLOR_BTNFACE);
    DrawCaptionTextAndIcon(hwnd, dc, l, active);
    bool iconic = (w->Style & WS_MINIMIZE) != 0, zoomed = (w->Style & WS_MAXIMIZE) != 0;
    CaptionButton(dc, l.Minimize, iconic ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN, pressedHit == HTMINBUTTON);
    CaptionButton(dc, l.Maximize, zoomed ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX, pressedHit == HTMAXBUTTON);
    CaptionButton(dc, l.Close, DFCS_CAPTIONCLOSE, pressedHit == HTCLOSE);
  }
  if (!l.Corner.IsEmpty()) Fill(dc, l.Corner, COLOR_BTNFACE);
  PaintWindowScrollBars(hwnd, dc, l);
}

}  // namespace vandrel
