// Area fills with brushes: rectangles, frames, inversions, pattern blits and regions.
// Rectangles are logical coordinates with exclusive right and bottom edges.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

// The brush fills the rectangle (the context's raster mode does not apply).
bool FillRect(HDC dc, const TRect& r, HBRUSH brush);
// A one-pixel frame on the rectangle's inner edge, in the brush.
bool FrameRect(HDC dc, const TRect& r, HBRUSH brush);
bool InvertRect(HDC dc, const TRect& r);
// The selected brush through a raster operation that uses no source (PATCOPY, PATINVERT,
// DSTINVERT, BLACKNESS, WHITENESS, ...). Negative sizes extend left or up from (x, y).
bool PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);

// Regions are in logical coordinates here, as the platform's region painting calls take them.
bool FillRgn(HDC dc, HRGN region, HBRUSH brush);
bool PaintRgn(HDC dc, HRGN region);  // with the selected brush
bool InvertRgn(HDC dc, HRGN region);
// A frame of width x height inside the region's edges.
bool FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);

}  // namespace vandrel
