#include "graphics/RectHelpers.h"

#include <cstdint>
#include <limits>

namespace vandrel {

TRect RectCenterVert(const TRect& r, const TRect& bounds) {
  int w = RectWidth(r), h = RectHeight(r);
  int top = bounds.Top + (RectHeight(bounds) - h) / 2;
  return {bounds.Left, top, bounds.Left + w, top + h};
}

TRect RectCenter(const TRect& r, const TRect& bounds) {
  int w = RectWidth(r), h = RectHeight(r);
  int left = bounds.Left + (RectWidth(bounds) - w) / 2;
  int top = bounds.Top + (RectHeight(bounds) - h) / 2;
  return {left, top, left + w, top + h};
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t p = std::int64_t(a) * b;
  bool negative = (p < 0) != (c < 0);
  std::int64_t num = p < 0 ? -p : p;
  std::int64_t den = c < 0 ? -std::int64_t(c) : c;
  std::int64_t q = (num + den / 2) / den;
  if (negative) q = -q;
  if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
  return int(q);
}

}  // namespace vandrel
