#include "platform/gdi/Region.h"

#include <algorithm>
#include <cstdint>

#include "platform/gdi/GdiTypes.h"

namespace vandrel {

// Appends bands in top-to-bottom order, merging touching intervals within a band and a band with
// the previous one when they are adjacent and hold the same intervals.
class TRegionBuilder {
 public:
  explicit TRegionBuilder(TRegion& out) : m_out(out) {}

  void BeginBand(int top, int bottom) {
    FinishBand();
    m_top = top;
    m_bottom = bottom;
    m_bandStart = m_out.m_rects.size();
  }
  void Add(int left, int right) {
    if (right <= left) return;
    auto& rects = m_out.m_rects;
    if (rects.size() > m_bandStart && rects.back().Right >= left) {
      rects.back().Right = std::max(rects.back().Right, right);
      return;
    }
    rects.push_back({left, m_top, right, m_bottom});
  }
  void Finish() {
    FinishBand();
    m_out.ComputeBounds();
  }

 private:
  void FinishBand() {
    auto& rects = m_out.m_rects;
    size_t count = rects.size() - m_bandStart;
    if (count == 0 || m_prevStart == kNone) {
      if (count) {
        m_prevStart = m_bandStart;
      }
      return;
    }
    size_t prevCount = m_bandStart - m_prevStart;
    bool same = prevCount == count && rects[m_prevStart].Bottom == m_top;
    for (size_t i = 0; same && i < count; ++i)
      same = rects[m_prevStart + i].Left == rects[m_bandStart + i].Left &&
             rects[m_prevStart + i].Right == rects[m_bandStart + i].Right;
    if (same) {
      for (size_t i = 0; i < count; ++i) rects[m_prevStart + i].Bottom = m_bottom;
      rects.resize(m_bandStart);
    } else {
      m_prevStart = m_bandStart;
    }
    m_bandStart = rects.size();
  }

  static constexpr size_t kNone = size_t(-1);
  TRegion& m_out;
  int m_top = 0;
  int m_bottom = 0;
  size_t m_bandStart = 0;
  size_t m_prevStart = kNone;
};

TRegion::TRegion(const TRect& r) {
  if (!r.IsEmpty()) {
    m_rects.push_back(r);
    m_bounds = r;
  }
}

void TRegion::ComputeBounds() {
  if (m_rects.empty()) {
    m_bounds = {};
    return;
  }
  m_bounds = {m_rects.front().Left, m_rects.front().Top, m_rects.front().Right,
              m_rects.back().Bottom};
  for (const TRect& r : m_rects) {
    m_bounds.Left = std::min(m_bounds.Left, r.Left);
    m_bounds.Right = std::max(m_bounds.Right, r.Right);
  }
}

int TRegion::Complexity() const {
  if (m_rects.empty()) return NULLREGION;
  return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

size_t TRegion::FirstBandBelow(int y) const {
  auto it = std::partition_point(m_rects.begin(), m_rects.end(),
                                 [y](const TRect& r) { return r.Bottom <= y; });
  return size_t(it - m_rects.begin());
}

bool TRegion::Contains(TPoint p) const {
  if (!m_bounds.Contains(p)) return false;
  bool found = false;
  ForEachSpan(p.Y, p.X, p.X + 1, [&](int, int) { found = true; });
  return found;
}

bool TRegion::Intersects(const TRect& r) const {
  bool found = false;
  ForEachIn(r, [&](const TRect&) { found = true; });
  return found;
}

namespace {
// Saturating, so that moving a region with extreme coordinates cannot overflow.
int Move(int v, int d) {
  std::int64_t r = std::int64_t(v) + d;
  return int(std::clamp<std::int64_t>(r, INT32_MIN, INT32_MAX));
}
}  // namespace

void TRegion::Offset(int dx, int dy) {
  for (TRect& r : m_rects) r = {Move(r.Left, dx), Move(r.Top, dy), Move(r.Right, dx), Move(r.Bottom, dy)};
  // Saturation may have collapsed rectangles at the limits: rebuild the normal form.
  bool collapsed = false;
  for (const TRect& r : m_rects) collapsed = collapsed || r.IsEmpty();
  if (collapsed) {
    std::vector<TRect> rects = std::move(m_rects);
    *this = FromRects(rects);
    return;
  }
  ComputeBounds();
}

TRegion TRegion::FromRects(std::span<const TRect> rects) {
  // One pass when the rectangles already come in band order.
  bool ordered = true;
  const TRect* prev = nullptr;
  for (const TRect& r : rects) {
    if (r.IsEmpty()) continue;
    if (prev) {
      bool sameBand = r.Top == prev->Top && r.Bottom == prev->Bottom && r.Left >= prev->Right;
      if (!sameBand && r.Top < prev->Bottom) {
        ordered = false;
        break;
      }
    }
    prev = &r;
  }
  if (ordered) {
    TRegion out;
    TRegionBuilder b(out);
    const TRect* band = nullptr;
    for (const TRect& r : rects) {
      if (r.IsEmpty()) continue;
      if (!band || r.Top != band->Top || r.Bottom != band->Bottom) {
        b.BeginBand(r.Top, r.Bottom);
        band = &r;
      }
      b.Add(r.Left, r.Right);
    }
    b.Finish();
    return out;
  }
  // Any order: union in a balanced tree of halves.
  if (rects.size() == 1) return TRegion(rects[0]);
  size_t half = rects.size() / 2;
  return FromRects(rects.subspan(0, half)).Union(FromRects(rects.subspan(half)));
}

namespace {
struct TBandCursor {
  const std::vector<TRect>& rects;
  size_t pos = 0;
  // The intervals [begin, end) of the band covering [y0, y1), or an empty range.
  std::pair<size_t, size_t> At(int y0) {
    while (pos < rects.size() && rects[pos].Bottom <= y0) ++pos;
    if (pos >= rects.size() || rects[pos].Top > y0) return {pos, pos};
    size_t end = pos;
    while (end < rects.size() && rects[end].Top == rects[pos].Top) ++end;
    return {pos, end};
  }
};
}  // namespace

TRegion TRegion::Combine(const TRegion& a, const TRegion& b, TOp op) {
  // Every band edge of either operand, in order.
  std::vector<int> ys;
  ys.reserve((a.m_rects.size() + b.m_rects.size()) * 2);
  auto addEdges = [&](const std::vector<TRect>& rs) {
    int lastTop = 0;
    bool any = false;
    for (const TRect& r : rs) {
      if (any && r.Top == lastTop) continue;
      ys.push_back(r.Top);
      ys.push_back(r.Bottom);
      lastTop = r.Top;
      any = true;
    }
  };
  addEdges(a.m_rects);
  size_t mid = ys.size();
  addEdges(b.m_rects);
  std::inplace_merge(ys.begin(), ys.begin() + std::ptrdiff_t(mid), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  TRegion out;
  TRegionBuilder builder(out);
  TBandCursor ca{a.m_rects}, cb{b.m_rects};
  std::vector<int> xs;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    int y0 = ys[k], y1 = ys[k + 1];
    auto [a0, a1] = ca.At(y0);
    auto [b0, b1] = cb.At(y0);
    if (a0 == a1 && b0 == b1) continue;
    if (op == TOp::And && (a0 == a1 || b0 == b1)) continue;
    if (op == TOp::Diff && a0 == a1) continue;
    builder.BeginBand(y0, y1);
    // Sweep the x edges of both bands.
    size_t i = a0, j = b0;
    bool inA = false, inB = false;
    int start = 0;
    bool inside = false;
    // An exhausted band reads as an edge beyond every coordinate: a rectangle may end at
    // INT32_MAX, and that edge must not be mistaken for the end of the other band.
    constexpr std::int64_t kPastEnd = std::int64_t(INT32_MAX) + 1;
    while (i < a1 || j < b1) {
      std::int64_t xa = i < a1 ? (inA ? a.m_rects[i].Right : a.m_rects[i].Left) : kPastEnd;
      std::int64_t xb = j < b1 ? (inB ? b.m_rects[j].Right : b.m_rects[j].Left) : kPastEnd;
      int x = int(std::min(xa, xb));
      if (xa == x) {
        if (inA) ++i;
        inA = !inA;
      }
      if (xb == x) {
        if (inB) ++j;
        inB = !inB;
      }
      bool now = false;
      switch (op) {
        case TOp::Or: now = inA || inB; break;
        case TOp::And: now = inA && inB; break;
        case TOp::Diff: now = inA && !inB; break;
        case TOp::Xor: now = inA != inB; break;
      }
      if (now && !inside) start = x;
      if (!now && inside) builder.Add(start, x);
      inside = now;
    }
  }
  builder.Finish();
  return out;
}

TRegion TRegion::Union(const TRegion& other) const {
  if (other.IsEmpty()) return *this;
  if (IsEmpty()) return other;
  return Combine(*this, other, TOp::Or);
}
TRegion TRegion::Intersect(const TRegion& other) const {
  if (IsEmpty() || other.IsEmpty()) return {};
  return Combine(*this, other, TOp::And);
}
TRegion TRegion::Subtract(const TRegion& other) const {
  if (IsEmpty() || other.IsEmpty()) return *this;
  return Combine(*this, other, TOp::Diff);
}
TRegion TRegion::Xor(const TRegion& other) const {
  if (other.IsEmpty()) return *this;
  if (IsEmpty()) return other;
  return Combine(*this, other, TOp::Xor);
}
TRegion TRegion::Intersect(const TRect& r) const {
  if (m_rects.size() == 1) {
    TRect c;
    IntersectRect(c, m_rects[0], r);
    return TRegion(c);
  }
  return Intersect(TRegion(r));
}

}  // namespace vandrel
