#include "platform/gdi/FrameControl.h"

#include <algorithm>

#include "platform/gdi/Edge.h"
#include "platform/gdi/Raster.h"

namespace vandrel {

namespace {

class TGlyphPen {
 public:
  TGlyphPen(TDeviceContext& d, TPoint origin, COLORREF color) : m_d(d), m_origin(origin), m_color(color) {}
  void Rect(int x, int y, int w, int h) const {
    TRect r = Bounds(m_origin.X + x, m_origin.Y + y, w, h);
    FillSurfaceRect(m_d, m_d.ToSurface(r), SolidPaint(PixelFromColor(m_color)));
  }
  void Dot(int x, int y) const { Rect(x, y, 1, 1); }
  // Button face behind a glyph part that hides what lies under it.
  void Clear(int x, int y, int w, int h) const {
    TRect r = Bounds(m_origin.X + x, m_origin.Y + y, w, h);
    FillSurfaceRect(m_d, m_d.ToSurface(r), SolidPaint(PixelFromColor(GetSysColor(COLOR_BTNFACE))));
  }

 private:
  TDeviceContext& m_d;
  TPoint m_origin;
  COLORREF m_color;
};

void FillSys(TDeviceContext& d, const TRect& r, int index) {
  FillSurfaceRect(d, d.ToSurface(r), SolidPaint(PixelFromColor(GetSysColor(index))));
}

// The glyph drawers take the glyph box's top-left and a size unit.
using TGlyphFn = void (*)(const TGlyphPen&, int size);

// "X" of two-pixel strokes, size x (size - 1).
void CloseGlyph(const TGlyphPen& p, int n) {
  int rows = n - 1;
  for (int r = 0; r < rows; ++r) {
    int d = std::min(r, rows - 1 - r);
    p.Rect(d, r, 2, 1);
    p.Rect(n - 2 - d, r, 2, 1);
  }
}
void MinimizeGlyph(const TGlyphPen& p, int n) { p.Rect(1, n - 3, std::max(2, n * 3 / 4), 2); }
void MaximizeGlyph(const TGlyphPen& p, int n) {
  int s = n + 1;
  p.Rect(0, 0, s, 2);
  p.Rect(0, s - 1, s, 1);
  p.Rect(0, 0, 1, s);
  p.Rect(s - 1, 0, 1, s);
}
// Two overlapping windows; the front one (bottom-left) hides the back one.
void RestoreGlyph(const TGlyphPen& p, int n) {
  int s = std::max(4, (n + 1) * 2 / 3), off = std::max(2, n + 1 - s);
  auto box = [&](int x, int y) {
    p.Rect(x, y, s, 2);
    p.Rect(x, y + s - 1, s, 1);
    p.Rect(x, y, 1, s);
    p.Rect(x + s - 1, y, 1, s);
  };
  box(off, 0);
  p.Clear(1, off + 2, s - 2, s - 3);
  box(0, off);
}
void HelpGlyph(const TGlyphPen& p, int n) {
  static const char* kQuestion[] = {".####.", "##..##", "....##", "...##.", "..##..",
                                    "..##..", "......", "..##..", "..##.."};
  int x0 = (n - 6) / 2;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 6; ++x)
      if (kQuestion[y][x] == '#') p.Dot(x0 + x, y - 1);
}

// The classic check mark, 7 x 7.
void CheckGlyph(const TGlyphPen& p, int) {
  static const char* kCheck[] = {"......#", ".....##", "#...###", "##.###.",
                                 "#####..", ".###...", "..#...."};
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x)
      if (kCheck[y][x] == '#') p.Dot(x, y);
}

// A filled triangle pointing in direction dir (0 up, 1 down, 2 left, 3 right), height h.
void Arrow(const TGlyphPen& p, int dir, int h) {
  for (int i = 0; i < h; ++i) {
    int len = 2 * i + 1;
    switch (dir) {
      case 0: p.Rect(h - 1 - i, i, len, 1); break;
      case 1: p.Rect(i, i, 2 * (h - i) - 1, 1); break;
      case 2: p.Rect(i, h - 1 - i, 1, len); break;
      default: p.Rect(i, i, 1, 2 * (h - i) - 1); break;
    }
  }
}

// The glyph in the text colour, or embossed (highlight one pixel down-right, then shadow) when
// inactive.
template <class F>
void Glyph(TDeviceContext& d, TPoint at, bool inactive, F&& draw) {
  if (inactive) {
    draw(TGlyphPen(d, at + TPoint{1, 1}, GetSysColor(COLOR_BTNHIGHLIGHT)));
    draw(TGlyphPen(d, at, GetSysColor(COLOR_BTNSHADOW)));
  } else {
    draw(TGlyphPen(d, at, GetSysColor(COLOR_BTNTEXT)));
  }
}

void ButtonFace(HDC dc, TRect& r, UINT state) {
  UINT flags = BF_RECT | BF_MIDDLE | BF_ADJUST;
  if (state & DFCS_FLAT) flags |= BF_FLAT;
  UINT edge = EDGE_RAISED;
  if (state & DFCS_PUSHED) edge = (state & DFCS_FLAT) ? UINT(BDR_SUNKENOUTER) : UINT(EDGE_SUNKEN);
  DrawEdge(dc, &r, edge, flags);
}

bool Caption(HDC dc, TDeviceContext& d, TRect r, UINT state) {
  TRect face = r;
  ButtonFace(dc, face, state);
  int n = std::min(r.Width(), r.Height()) - 6;
  if (n < 3) return true;
  TGlyphFn fn = CloseGlyph;
  int kind = int(state & 0xFF);
  switch (kind) {
    case DFCS_CAPTIONCLOSE: fn = CloseGlyph; break;
    case DFCS_CAPTIONMIN: fn = MinimizeGlyph; break;
    case DFCS_CAPTIONMAX: fn = MaximizeGlyph; break;
    case DFCS_CAPTIONRESTORE: fn = RestoreGlyph; break;
    case DFCS_CAPTIONHELP: fn = HelpGlyph; break;
    default: return false;
  }
  int glyphW = n + 1, glyphH = (kind == DFCS_CAPTIONCLOSE) ? n - 1 : n + 1;
  TPoint at{r.Left + (r.Width() - glyphW) / 2, r.Top + (r.Height() - glyphH) / 2};
  if (state & DFCS_PUSHED) at = at + TPoint{1, 1};
  Glyph(d, at, state & DFCS_INACTIVE, [&](const TGlyphPen& p) { fn(p, n); });
  return true;
}

bool Scroll(HDC dc, TDeviceContext& d, TRect r, UINT state) {
  UINT kind = state & 0xFF;
  if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
    if (!(state & DFCS_TRANSPARENT)) FillSys(d, r, COLOR_BTNFACE);
    // Diagonal grooves from the bottom-right corner: highlight, shadow, shadow, gap.
    int size = std::min(r.Width(), r.Height());
    for (int y = r.Bottom - size; y < r.Bottom; ++y)
      for (int x = r.Right - size; x < r.Right; ++x) {
        int k = (r.Right - 1 - x) + (r.Bottom - 1 - y);
        if (k >= size - 2 || k < 1) continue;
        int phase = k % 4;
        if (phase == 0) continue;
        FillSys(d, {x, y, x + 1, y + 1}, phase == 1 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
      }
    return true;
  }
  int dir;
  switch (kind) {
    case DFCS_SCROLLUP: dir = 0; break;
    case DFCS_SCROLLDOWN: case DFCS_SCROLLCOMBOBOX: dir = 1; break;
    case DFCS_SCROLLLEFT: dir = 2; break;
    case DFCS_SCROLLRIGHT: dir = 3; break;
    default: return false;
  }
  TRect face = r;
  if (state & DFCS_PUSHED)
    DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT | BF_MIDDLE | BF_FLAT);
  else
    ButtonFace(dc, face, state);
  int h = std::max(1, (std::min(r.Width(), r.Height()) - 4) / 3);
  int w = 2 * h - 1;
  bool vertical = dir < 2;
  int gw = vertical ? w : h, gh = vertical ? h : w;
  TPoint at{r.Left + (r.Width() - gw) / 2, r.Top + (r.Height() - gh) / 2};
  if (state & DFCS_PUSHED) at = at + TPoint{1, 1};
  Glyph(d, at, state & DFCS_INACTIVE, [&](const TGlyphPen& p) { Arrow(p, dir, h); });
  return true;
}

bool Button(HDC dc, TDeviceContext& d, TRect r, UINT state) {
  UINT kind = state & 0xFF;
  if (kind == DFCS_BUTTONPUSH) {
    ButtonFace(dc, r, state);
    return true;
  }
  if (kind != DFCS_BUTTONCHECK && kind != DFCS_BUTTON3STATE && kind != DFCS_BUTTONRADIO) return false;
  // A 13 x 13 box centred in r (or the whole of a smaller r).
  int s = std::min({13, r.Width(), r.Height()});
  TRect box = Bounds(r.Left + (r.Width() - s) / 2, r.Top + (r.Height() - s) / 2, s, s);
  bool checked = state & DFCS_CHECKED;
  bool inactive = state & DFCS_INACTIVE;
  bool pushed = state & DFCS_PUSHED;
  bool threeState = kind == DFCS_BUTTON3STATE;
  TRect inner = box;
  if (state & (DFCS_FLAT | DFCS_MONO))
    DrawEdge(dc, &inner, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_ADJUST);
  else
    DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (threeState && checked) {
    // Dithered face for the indeterminate state.
    for (int y = inner.Top; y < inner.Bottom; ++y)
      for (int x = inner.Left; x < inner.Right; ++x)
        FillSys(d, {x, y, x + 1, y + 1}, ((x + y) & 1) ? COLOR_BTNFACE : COLOR_BTNHIGHLIGHT);
  } else {
    FillSys(d, inner, (pushed || inactive) ? COLOR_BTNFACE : COLOR_WINDOW);
  }
  if (checked && inner.Width() >= 7 && inner.Height() >= 7) {
    int color = (inactive || threeState) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
    TPoint at{inner.Left + (inner.Width() - 7) / 2, inner.Top + (inner.Height() - 7) / 2};
    CheckGlyph(TGlyphPen(d, at, GetSysColor(color)), 7);
  }
  return true;
}

bool Menu(TDeviceContext& d, TRect r, UINT state) {
  FillSurfaceRect(d, d.ToSurface(r), SolidPaint(PixelFromColor(RGB(255, 255, 255))));
  int s = std::min(r.Width(), r.Height());
  switch (state & 0xFF) {
    case DFCS_MENUARROW: {
      int h = std::max(2, s * 4 / 13);  // 4 for the 13-pixel menu check size
      int w = h, hh = 2 * h - 1;
      TGlyphPen p(d, {r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - hh) / 2}, RGB(0, 0, 0));
      Arrow(p, 3, h);
      return true;
    }
    case DFCS_MENUCHECK:
      CheckGlyph(TGlyphPen(d, {r.Left + (r.Width() - 7) / 2, r.Top + (r.Height() - 7) / 2}, RGB(0, 0, 0)), 7);
      return true;
    case DFCS_MENUBULLET: {
      TGlyphPen p(d, {r.Left + (r.Width() - 6) / 2, r.Top + (r.Height() - 6) / 2}, RGB(0, 0, 0));
      p.Rect(1, 0, 4, 6);
      p.Rect(0, 1, 6, 4);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

bool DrawFrameControl(HDC dc, TRect* rect, UINT type, UINT state) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || !rect) return false;
  TRect r = NormalizeRect(*rect);
  if (r.IsEmpty()) return true;
  switch (type) {
    case DFC_CAPTION: return Caption(dc, *d, r, state);
    case DFC_SCROLL: return Scroll(dc, *d, r, state);
    case DFC_BUTTON: return Button(dc, *d, r, state);
    case DFC_MENU: case DFC_POPUPMENU: return Menu(*d, r, state);
    default: return false;
  }
}

}  // namespace vandrel
