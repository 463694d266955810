// Points, sizes and rectangles with the platform's rectangle arithmetic.
// A rectangle's right and bottom edges are exclusive: {0, 0, 2, 2} covers four pixels.
#pragma once

#include <algorithm>

namespace vandrel {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
  TPoint operator+(TPoint o) const { return {X + o.X, Y + o.Y}; }
  TPoint operator-(TPoint o) const { return {X - o.X, Y - o.Y}; }
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  TSize Size() const { return {Width(), Height()}; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  // Empty as the platform sees it: no pixel inside, including inverted rectangles.
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

inline bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
inline bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }
inline bool EqualRect(const TRect& a, const TRect& b) { return a == b; }

// Intersection of two rectangles; when they do not overlap the result is {0,0,0,0} and false.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// Smallest rectangle holding both; empty inputs are ignored. False when both are empty.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
TRect OffsetRect(const TRect& r, int dx, int dy);
TRect InflateRect(const TRect& r, int dx, int dy);
TPoint CenterPoint(const TRect& r);
// The rectangle with Left <= Right and Top <= Bottom.
TRect NormalizeRect(const TRect& r);

}  // namespace vandrel
