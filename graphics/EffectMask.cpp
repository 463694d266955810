#include "graphics/EffectMask.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/RectHelpers.h"

namespace vandrel {

std::uint8_t FadeValue(int progress) { return std::uint8_t(MulDiv(progress, 255, 100)); }

std::uint8_t SmoothValue(int step, int steps, int progress) {
  if (progress >= 100) return 255;
  if (steps <= 0) return FadeValue(progress);
  // Halves to even, as every rounding of the patterns.
  double percent = std::nearbyint(2.0 * progress - double(step) * 2.0 * progress / steps);
  if (percent <= 0) return 0;
  int v = MulDiv(int(percent), 255, 100);
  return std::uint8_t(v >= 255 ? 255 : v);
}

void DrawMaskLine(const TseMask& mask, int x0, int y0, int x1, int y1, std::uint8_t value) {
  if (y0 == y1 && y0 >= 0 && y0 < mask.Rows) {
    // A row: the common case of the wipes, clipped once instead of cell by cell.
    int a = std::max(std::min(x0, x1), 0), b = std::min(std::max(x0, x1), mask.Columns - 1);
    std::uint8_t* row = mask.Cells + y0 * mask.Columns;
    for (int x = a; x <= b; ++x) row[x] = value;
    return;
  }
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    mask.Set(x0, y0, value);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

namespace {

// Calls plot(x, y) for the first octant's points of the midpoint circle of radius r.
template <typename Plot>
void MidpointOctant(int r, Plot plot) {
  int x = 0, y = r, d = 3 - 2 * r;
  while (x <= y) {
    plot(x, y);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
  }
}

}  // namespace

void DrawMaskCircle(const TseMask& mask, int cx, int cy, int r, std::uint8_t value) {
  if (r < 0) return;
  MidpointOctant(r, [&](int x, int y) {
    for (int sx : {-1, 1})
      for (int sy : {-1, 1}) {
        mask.Set(cx + sx * x, cy + sy * y, value);
        mask.Set(cx + sx * y, cy + sy * x, value);
      }
  });
}

void FillMaskDisc(const TseMask& mask, int cx, int cy, int r, std::uint8_t value) {
  if (r < 0) return;
  MidpointOctant(r, [&](int x, int y) {
    for (int sy : {-1, 1}) {
      DrawMaskLine(mask, cx - x, cy + sy * y, cx + x, cy + sy * y, value);
      DrawMaskLine(mask, cx - y, cy + sy * x, cx + y, cy + sy * x, value);
    }
  });
}

void InvertMask(const TseMask& mask, bool smooth, std::uint8_t revealed) {
  const int n = mask.Columns * mask.Rows;
  for (int i = 0; i < n; ++i) {
    std::uint8_t& v = mask.Cells[i];
    v = smooth ? std::uint8_t(255 - v) : (v ? 0 : revealed);
  }
}

}  // namespace vandrel
