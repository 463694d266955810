// Rectangle arithmetic shared by the skin layer. Division truncates toward zero, so a rectangle
// larger than its bounds is moved up or left by half the excess; a moved rectangle keeps its size.
#pragma once

#include "platform/core/Geometry.h"

namespace vandrel {

inline int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
inline bool RectIsEmpty(const TRect& r) { return RectWidth(r) < 1 || RectHeight(r) < 1; }
inline bool RectsEqual(const TRect& a, const TRect& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}
inline TRect RectGrow(const TRect& r, int amount) {
  return {r.Left - amount, r.Top - amount, r.Right + amount, r.Bottom + amount};
}
// Left-aligned in the bounds, centred vertically.
TRect RectCenterVert(const TRect& r, const TRect& bounds);
TRect RectCenter(const TRect& r, const TRect& bounds);

// The platform's MulDiv: a * b / c from a 64-bit product, rounded half away from zero; -1 when c
// is 0 or the result does not fit.
int MulDiv(int a, int b, int c);

}  // namespace vandrel
