#include "platform/gdi/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/gdi/Raster.h"

namespace vandrel {

namespace {

// Spans of a shape, one [left, right) per row from `top` down.
struct TRowSpans {
  int top = 0;
  std::vector<std::pair<int, int>> rows;
  int Bottom() const { return top + int(rows.size()); }
  std::pair<int, int> At(int y) const {
    if (y < top || y >= Bottom()) return {0, 0};
    return rows[size_t(y - top)];
  }
};

// Row y of the ellipse inscribed in box: pixels whose centres lie inside it.
std::pair<int, int> EllipseRow(const TRect& box, int y) {
  double rx = box.Width() / 2.0, ry = box.Height() / 2.0;
  if (rx <= 0 || ry <= 0) return {0, 0};
  double cx = box.Left + rx, cy = box.Top + ry;
  double dy = (y + 0.5 - cy) / ry;
  if (dy * dy > 1.0) return {0, 0};
  double half = rx * std::sqrt(1.0 - dy * dy);
  int left = int(std::ceil(cx - half - 0.5));
  int right = int(std::floor(cx + half - 0.5)) + 1;
  if (right <= left) {  // keep the outline closed on very flat rows
    left = int(std::floor(cx - 0.5));
    right = left + 1;
  }
  return {left, right};
}

// Rows of a shape are built only inside `rows` (the clip's rows with a margin), so a huge shape
// costs no more than a visible one.
TRowSpans RoundRectSpans(const TRect& r, int ew, int eh, const TRect& rows) {
  TRowSpans s;
  s.top = std::max(r.Top, rows.Top);
  ew = std::clamp(ew, 0, r.Width());
  eh = std::clamp(eh, 0, r.Height());
  for (int y = s.top; y < std::min(r.Bottom, rows.Bottom); ++y) {
    int left = r.Left, right = r.Right;
    if (ew > 1 && eh > 1) {
      TRect corner;
      bool inCorner = true;
      if (y < r.Top + eh / 2)
        corner = {r.Left, r.Top, r.Left + ew, r.Top + eh};
      else if (y >= r.Bottom - eh / 2)
        corner = {r.Left, r.Bottom - eh, r.Left + ew, r.Bottom};
      else
        inCorner = false;
      if (inCorner) {
        auto [l, rr] = EllipseRow(corner, y);
        int inset = l - corner.Left;
        (void)rr;
        left = r.Left + inset;
        right = r.Right - inset;
      }
    }
    s.rows.push_back({left, std::max(left, right)});
  }
  return s;
}

TRowSpans EllipseSpans(const TRect& r, const TRect& rows) {
  TRowSpans s;
  s.top = std::max(r.Top, rows.Top);
  for (int y = s.top; y < std::min(r.Bottom, rows.Bottom); ++y) s.rows.push_back(EllipseRow(r, y));
  return s;
}

// Pixels whose four neighbours are inside the shape.
TRowSpans Interior(const TRowSpans& s) {
  TRowSpans in;
  in.top = s.top;
  for (int y = s.top; y < s.Bottom(); ++y) {
    auto [l, r] = s.At(y);
    auto [la, ra] = s.At(y - 1);
    auto [lb, rb] = s.At(y + 1);
    int left = std::max({l + 1, la, lb});
    int right = std::min({r - 1, ra, rb});
    in.rows.push_back({left, std::max(left, right)});
  }
  return in;
}

class TPainter {
 public:
  explicit TPainter(TDeviceContext& dc) : m_dc(dc) {
    const TPenObject* pen = dc.State().pen.get();
    m_hasPen = pen && !pen->IsNull();
    TRop3 rop = Rop3FromRop2(dc.State().rop2);
    if (m_hasPen) {
      m_pen = SolidPaint(PixelFromColor(pen->Color()), rop);
      m_penWidth = pen->Width();
      m_penStyle = pen->Style();
      m_gap = SolidPaint(PixelFromColor(dc.State().bkColor), rop);
    }
    m_hasBrush = BrushPaint(dc, nullptr, rop, m_brush);
  }

  bool HasPen() const { return m_hasPen; }
  int PenWidth() const { return m_penWidth; }
  bool InsideFrame() const { return m_penStyle == PS_INSIDEFRAME; }
  bool HasBrush() const { return m_hasBrush; }
  TPoint Offset() const { return m_dc.Offset(); }
  // The clip's rows widened by the pen, as the window of rows a shape needs to build.
  TRect Rows() const {
    TRect b = m_dc.Clip().Bounds();
    int margin = m_penWidth + 1;
    return {b.Left, b.Top - margin, b.Right, b.Bottom + margin};
  }

  void FillSpans(const TRowSpans& s, const TPaint& paint) {
    for (int y = s.top; y < s.Bottom(); ++y) {
      auto [l, r] = s.At(y);
      FillSurfaceSpan(m_dc, y, l, r, paint);
    }
  }
  // The shape minus its interior with the pen, the interior with the brush. The interior is the
  // shape eroded once per pixel of pen width.
  void Shape(const TRowSpans& outer) {
    TRowSpans inner = outer;
    for (int i = 0; m_hasPen && i < m_penWidth; ++i) inner = Interior(inner);
    if (m_hasBrush) FillSpans(inner, m_brush);
    if (!m_hasPen) return;
    for (int y = outer.top; y < outer.Bottom(); ++y) {
      auto [l, r] = outer.At(y);
      auto [il, ir] = inner.At(y);
      if (ir <= il) {
        FillSurfaceSpan(m_dc, y, l, r, m_pen);
      } else {
        FillSurfaceSpan(m_dc, y, l, il, m_pen);
        FillSurfaceSpan(m_dc, y, ir, r, m_pen);
      }
    }
  }

  // A segment in surface coordinates, end point excluded. Step i along the longer axis moves the
  // shorter one by round(i * dMinor / dMajor) (halves away from the start), so any step can be
  // computed directly and only the steps near the clip are visited.
  void Line(TPoint a, TPoint b) {
    if (!m_hasPen || a == b) return;
    std::int64_t dx = std::int64_t(b.X) - a.X, dy = std::int64_t(b.Y) - a.Y;
    bool xMajor = std::llabs(dx) >= std::llabs(dy);
    std::int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    std::int64_t steps = std::llabs(major);
    int majorSign = major > 0 ? 1 : -1;
    std::int64_t absMinor = std::llabs(minor);
    int minorSign = minor >= 0 ? 1 : -1;
    if (m_penWidth == 1 && dy == 0 && m_penStyle == PS_SOLID) {
      if (dx > 0)
        FillSurfaceSpan(m_dc, a.Y, a.X, b.X, m_pen);
      else
        FillSurfaceSpan(m_dc, a.Y, b.X + 1, a.X + 1, m_pen);
      return;
    }
    // Steps whose major coordinate lies within the clip bounds (plus the pen's reach).
    TRect bounds = m_dc.Clip().Bounds();
    if (bounds.IsEmpty()) return;
    int reach = m_penWidth;
    std::int64_t lo = (xMajor ? bounds.Left : bounds.Top) - reach;
    std::int64_t hi = (xMajor ? bounds.Right : bounds.Bottom) + reach;
    std::int64_t start = xMajor ? a.X : a.Y;
    std::int64_t first = 0, last = steps;  // [first, last)
    if (majorSign > 0) {
      first = std::max<std::int64_t>(0, lo - start);
      last = std::min<std::int64_t>(steps, hi - start);
    } else {
      first = std::max<std::int64_t>(0, start - hi);
      last = std::min<std::int64_t>(steps, start - lo);
    }
    std::vector<TRect> stamps;
    for (std::int64_t i = first; i < last; ++i) {
      std::int64_t off = (2 * i * absMinor + steps) / (2 * steps);
      std::int64_t pm = start + majorSign * i;
      std::int64_t pn = (xMajor ? a.Y : a.X) + minorSign * off;
      int x = int(xMajor ? pm : pn), y = int(xMajor ? pn : pm);
      Plot(x, y, int(i % 2400), stamps);  // 2400: a multiple of every dash pattern
    }
    if (!stamps.empty()) FillSurfaceRegion(m_dc, TRegion::FromRects(stamps), m_pen);
  }

  TDeviceContext& Dc() { return m_dc; }

 private:
  void Plot(int x, int y, int index, std::vector<TRect>& stamps) {
    if (m_penWidth > 1) {
      int half = m_penWidth / 2;
      stamps.push_back({x - half, y - half, x - half + m_penWidth, y - half + m_penWidth});
      return;
    }
    if (m_penStyle != PS_SOLID && m_penStyle != PS_INSIDEFRAME && !DashOn(index)) {
      if (m_dc.State().bkMode == OPAQUE) FillSurfaceSpan(m_dc, y, x, x + 1, m_gap);
      return;
    }
    FillSurfaceSpan(m_dc, y, x, x + 1, m_pen);
  }

  bool DashOn(int index) const {
    static const int kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                     kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    const int* pattern = kDash;
    int count = 2;
    switch (m_penStyle) {
      case PS_DOT: pattern = kDot; break;
      case PS_DASHDOT: pattern = kDashDot; count = 4; break;
      case PS_DASHDOTDOT: pattern = kDashDotDot; count = 6; break;
      default: break;
    }
    int total = 0;
    for (int i = 0; i < count; ++i) total += pattern[i];
    int pos = index % total;
    for (int i = 0; i < count; ++i) {
      if (pos < pattern[i]) return i % 2 == 0;
      pos -= pattern[i];
    }
    return true;
  }

  TDeviceContext& m_dc;
  bool m_hasPen = false;
  bool m_hasBrush = false;
  TPaint m_pen;
  TPaint m_gap;
  TPaint m_brush;
  int m_penWidth = 1;
  int m_penStyle = PS_SOLID;
};

// The box of a shape in surface coordinates; with the null pen one pixel smaller at the right and
// bottom; a wide pen's outline is centred on the box's edge unless it is an inside-frame pen.
TRect ShapeBox(TPainter& p, int left, int top, int right, int bottom) {
  TRect r = p.Dc().ToSurface(NormalizeRect({left, top, right, bottom}));
  if (!p.HasPen()) {
    r.Right -= 1;
    r.Bottom -= 1;
  } else if (p.PenWidth() > 1 && !p.InsideFrame()) {
    int before = (p.PenWidth() - 1) / 2, after = p.PenWidth() / 2;
    r = {r.Left - before, r.Top - before, r.Right + after, r.Bottom + after};
  }
  return r;
}

}  // namespace

bool MoveToEx(HDC dc, int x, int y, TPoint* old) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  if (old) *old = d->State().currentPos;
  d->State().currentPos = {x, y};
  return true;
}

bool LineTo(HDC dc, int x, int y) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  TPainter p(*d);
  p.Line(d->ToSurface(d->State().currentPos), d->ToSurface(TPoint{x, y}));
  d->State().currentPos = {x, y};
  return true;
}

bool Polyline(HDC dc, std::span<const TPoint> points) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || points.size() < 2) return false;
  TPainter p(*d);
  for (size_t i = 1; i < points.size(); ++i)
    p.Line(d->ToSurface(points[i - 1]), d->ToSurface(points[i]));
  return true;
}

bool Polygon(HDC dc, std::span<const TPoint> points) {
  TDeviceContext* d = LookupDC(dc);
  if (!d || points.size() < 2) return false;
  TPainter p(*d);
  std::vector<TPoint> pts;
  for (TPoint pt : points) pts.push_back(d->ToSurface(pt));
  if (p.HasBrush()) {
    TPaint brush;
    BrushPaint(*d, nullptr, Rop3FromRop2(d->State().rop2), brush);
    int top = INT32_MAX, bottom = INT32_MIN;
    for (TPoint pt : pts) {
      top = std::min(top, pt.Y);
      bottom = std::max(bottom, pt.Y);
    }
    TRect clipBounds = d->Clip().Bounds();
    top = std::max(top, clipBounds.Top);
    bottom = std::min(bottom, clipBounds.Bottom);
    bool winding = d->State().polyFillMode == WINDING;
    std::vector<std::pair<double, int>> crossings;
    for (int y = top; y < bottom; ++y) {
      double sy = y + 0.5;
      crossings.clear();
      for (size_t i = 0; i < pts.size(); ++i) {
        TPoint a = pts[i], b = pts[(i + 1) % pts.size()];
        if (a.Y == b.Y) continue;
        int dir = a.Y < b.Y ? 1 : -1;
        if (a.Y > b.Y) std::swap(a, b);
        if (sy < a.Y || sy >= b.Y) continue;
        crossings.push_back({a.X + (sy - a.Y) * (b.X - a.X) / double(b.Y - a.Y), dir});
      }
      std::sort(crossings.begin(), crossings.end());
      int count = 0;
      for (size_t i = 0; i + 1 < crossings.size(); ++i) {
        count += crossings[i].second;
        bool inside = winding ? count != 0 : (i % 2 == 0);
        if (!inside) continue;
        int x0 = int(std::ceil(crossings[i].first - 0.5));
        int x1 = int(std::ceil(crossings[i + 1].first - 0.5));
        FillSurfaceSpan(*d, y, x0, x1, brush);
      }
    }
  }
  for (size_t i = 0; i < pts.size(); ++i) p.Line(pts[i], pts[(i + 1) % pts.size()]);
  return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  TPainter p(*d);
  p.Shape(RoundRectSpans(ShapeBox(p, left, top, right, bottom), 0, 0, p.Rows()));
  return true;
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  TPainter p(*d);
  p.Shape(EllipseSpans(ShapeBox(p, left, top, right, bottom), p.Rows()));
  return true;
}

bool RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  TPainter p(*d);
  p.Shape(RoundRectSpans(ShapeBox(p, left, top, right, bottom), width, height, p.Rows()));
  return true;
}

bool DrawFocusRect(HDC dc, const TRect& r) {
  TDeviceContext* d = LookupDC(dc);
  if (!d) return false;
  if (r.IsEmpty()) return true;
  TRect s = d->ToSurface(r);
  TPoint origin = d->Origin();
  TPaint dot = SolidPaint(0x00FFFFFF, 0x5A);
  auto plot = [&](int x, int y) {
    if (((x - origin.X) + (y - origin.Y)) % 2 == 0) FillSurfaceSpan(*d, y, x, x + 1, dot);
  };
  TRect b = d->Clip().Bounds();
  for (int x = std::max(s.Left, b.Left); x < std::min(s.Right, b.Right); ++x) {
    plot(x, s.Top);
    if (s.Bottom - 1 > s.Top) plot(x, s.Bottom - 1);
  }
  for (int y = std::max(s.Top + 1, b.Top); y < std::min(s.Bottom - 1, b.Bottom); ++y) {
    plot(s.Left, y);
    if (s.Right - 1 > s.Left) plot(s.Right - 1, y);
  }
  return true;
}

}  // namespace vandrel
