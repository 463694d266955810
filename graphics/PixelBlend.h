// Pixels of the bitmap library and the blend kernels. Which kernel runs is decided once by a
// processor check: with the multimedia feature every byte, alpha included, is mixed as a 16-bit
// lane, t + a * (s - t) / 256; without it the colour channels are mixed by a / 255 scaled to 256
// and alpha becomes opaque. The two differ in the last bit, so callers and stored pictures see
// whichever the processor picks.
#pragma once

#include <cstdint>

namespace vandrel {

// 0xAARRGGBB; in memory blue, green, red, alpha.
using TseColor = std::uint32_t;

// Marks see-through pixels of skin images: red 127, green 0, blue 127, alpha 0.
inline constexpr TseColor kTransparentKey = 0x007F007F;

constexpr std::uint8_t AlphaOf(TseColor c) { return std::uint8_t(c >> 24); }
constexpr TseColor WithAlpha(TseColor c, std::uint8_t alpha) {
  return (c & 0x00FFFFFFu) | (TseColor(alpha) << 24);
}
constexpr bool SameRGB(TseColor a, TseColor b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }

// True when the processor identifies itself, reports a family above 4 and has the multimedia
// extension bit (feature bit 23).
bool ProcessorHasBlendLanes();
// The kernel in use; set from the processor check on first use. Forcing it lets the scalar path
// run (and be tested) on processors that have the feature.
bool UsingLaneBlend();
void ForceLaneBlend(bool lanes);

// s over t with s's alpha, one pixel, in the form the processor check chose. The lane form has
// no shortcuts for alpha 0 and 255.
TseColor BlendPixel(TseColor s, TseColor t);
// Each byte, alpha included: (t * 256 + a * (s - t)) div 256.
TseColor LaneBlendPixel(TseColor s, TseColor t);
// a = 0: t; a = 255: s; else each colour (s * a + t * (255 - a)) div 256, alpha 255.
TseColor ScalarBlendPixel(TseColor s, TseColor t);
// s over t for a row of pixels through the row kernel (RowKernels.h); both forms leave t for
// alpha 0 and take s for alpha 255.
void BlendRow(const TseColor* s, TseColor* t, int count);

}  // namespace vandrel
