// The pixel loops under every drawing call: spans and rectangles painted with a solid colour or a
// brush pattern through a raster operation, clipped to a context's clip and recorded as damage.
// Internal to the drawing layer.
#pragma once

#include <cstdint>

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

// A raster operation as the 8-bit truth table of the ternary operations: bit (P*4 + S*2 + D)
// is the result for pattern bit P, source bit S and destination bit D.
using TRop3 = std::uint8_t;
constexpr TRop3 Rop3FromCode(DWORD rop) { return TRop3((rop >> 16) & 0xFF); }
// The binary operation R2_x (pen and destination) as a ternary one that ignores the source.
TRop3 Rop3FromRop2(int rop2);
constexpr bool Rop3UsesSource(TRop3 r) { return ((r >> 2) & 0x33) != (r & 0x33); }
constexpr bool Rop3UsesPattern(TRop3 r) { return (r >> 4) != (r & 0x0F); }
std::uint32_t ApplyRop3(TRop3 rop, std::uint32_t p, std::uint32_t s, std::uint32_t d);

struct TPaint {
  std::uint32_t color = 0;             // when there is no pattern
  const TSurface* pattern = nullptr;
  bool monochrome = false;             // pattern black -> foreground, white -> background
  std::uint32_t foreground = 0;
  std::uint32_t background = 0;
  TPoint patternOrigin;                // surface point of pattern pixel (0, 0)
  TRop3 rop = 0xF0;                    // PATCOPY

  std::uint32_t PatternAt(int x, int y) const;
};

// A solid paint.
TPaint SolidPaint(std::uint32_t pixel, TRop3 rop = 0xF0);
// The paint of the context's brush (or `brush` when given); false for a hollow brush.
bool BrushPaint(const TDeviceContext& dc, const TBrushObject* brush, TRop3 rop, TPaint& out);

// Surface coordinates; clipped to the context's clip; adds damage.
void FillSurfaceRect(TDeviceContext& dc, const TRect& r, const TPaint& paint);
void FillSurfaceSpan(TDeviceContext& dc, int y, int x0, int x1, const TPaint& paint);
void FillSurfaceRegion(TDeviceContext& dc, const TRegion& region, const TPaint& paint);

}  // namespace vandrel
