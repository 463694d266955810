// A region as a list of rectangles in y-x bands: rectangles sorted by top, then by left; the
// rectangles of one band share top and bottom, never touch or overlap, and two vertically adjacent
// bands never hold the same x intervals (they are merged). That normal form makes equality a plain
// comparison and lets every combination run as one linear sweep over both operands.
#pragma once

#include <span>
#include <vector>

#include "platform/core/Geometry.h"

namespace vandrel {

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& r);
  // The union of any rectangles. Rectangles that already come in band order (rows of runs, as a
  // mask scan produces them) are taken in one pass; any other order is sorted and merged.
  static TRegion FromRects(std::span<const TRect> rects);

  bool IsEmpty() const { return m_rects.empty(); }
  TRect Bounds() const { return m_bounds; }
  const std::vector<TRect>& Rects() const { return m_rects; }
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;

  bool Contains(TPoint p) const;
  bool Intersects(const TRect& r) const;
  void Offset(int dx, int dy);

  TRegion Union(const TRegion& other) const;
  TRegion Intersect(const TRegion& other) const;
  TRegion Subtract(const TRegion& other) const;
  TRegion Xor(const TRegion& other) const;
  TRegion Intersect(const TRect& r) const;

  friend bool operator==(const TRegion& a, const TRegion& b) { return a.m_rects == b.m_rects; }

  // Calls f(rect) for every piece of the region inside area (pieces are clipped to area).
  template <class F>
  void ForEachIn(const TRect& area, F&& f) const {
    if (area.IsEmpty()) return;
    for (size_t i = FirstBandBelow(area.Top); i < m_rects.size(); ++i) {
      const TRect& r = m_rects[i];
      if (r.Top >= area.Bottom) break;
      TRect c{std::max(r.Left, area.Left), std::max(r.Top, area.Top), std::min(r.Right, area.Right),
              std::min(r.Bottom, area.Bottom)};
      if (!c.IsEmpty()) f(c);
    }
  }
  // Calls f(x0, x1) for every piece of row y between x0 and x1 (exclusive) inside the region.
  template <class F>
  void ForEachSpan(int y, int x0, int x1, F&& f) const {
    if (x1 <= x0) return;
    for (size_t i = FirstBandBelow(y); i < m_rects.size(); ++i) {
      const TRect& r = m_rects[i];
      if (r.Top > y) break;
      if (r.Right <= x0) continue;
      if (r.Left >= x1) break;
      f(std::max(r.Left, x0), std::min(r.Right, x1));
    }
  }

 private:
  enum class TOp { Or, And, Diff, Xor };
  static TRegion Combine(const TRegion& a, const TRegion& b, TOp op);
  // Index of the first rectangle whose bottom lies below y.
  size_t FirstBandBelow(int y) const;
  void ComputeBounds();

  std::vector<TRect> m_rects;
  TRect m_bounds;

  friend class TRegionBuilder;
};

}  // namespace vandrel
