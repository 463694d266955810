// Colours of the skin layer as bitmap pixels: the conversions between platform colours and
// TseColor, and the hue shift that recolours skin images and skin object colours alike.
#pragma once

#include "graphics/PixelBlend.h"
#include "platform/core/Color.h"

namespace vandrel {

// System colours resolved to RGB, alpha 255.
TseColor SeColorFromColor(TColor color);
// Alpha dropped.
TColor ColorFromSeColor(TseColor color);

// c moved `delta` steps round a hue circle of 255 steps (0 and 255 being the same hue) through
// hue, saturation and lightness; the result is opaque. Rounding is to nearest, halves to even.
TseColor ShiftHueColor(TseColor c, int delta);

}  // namespace vandrel
