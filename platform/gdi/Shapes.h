// Lines and shapes with the selected pen (outline) and brush (interior), through the context's
// binary raster operation. Coordinates are logical.
#pragma once

#include <span>

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

bool MoveToEx(HDC dc, int x, int y, TPoint* old);
// From the current position to (x, y), the end point excluded; (x, y) becomes the current position.
bool LineTo(HDC dc, int x, int y);
// Each segment as LineTo draws it; the current position is neither used nor changed.
bool Polyline(HDC dc, std::span<const TPoint> points);
// The interior under the context's fill mode, then the closed outline.
bool Polygon(HDC dc, std::span<const TPoint> points);
// Outline on the rectangle's inner edge (right and bottom exclusive), interior with the brush. With
// the null pen the filled area is one pixel smaller at the right and bottom, as on the platform.
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
// The ellipse inscribed in the rectangle.
bool Ellipse(HDC dc, int left, int top, int right, int bottom);
// A rectangle whose corners are quarters of a width x height ellipse.
bool RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
// A dotted frame on the rectangle's inner edge, drawn by inverting every other pixel (device
// coordinates with x + y even), so drawing it twice removes it.
bool DrawFocusRect(HDC dc, const TRect& r);

}  // namespace vandrel
