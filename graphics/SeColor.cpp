#include "graphics/SeColor.h"

#include <algorithm>
#include <cmath>

namespace vandrel {
namespace {

// Nearest, halves to even (the default rounding mode).
int RoundEven(double v) { return int(std::nearbyint(v)); }

double HueToChannel(double p, double q, double t) {
  t -= std::floor(t);
  if (6 * t < 1) return p + (q - p) * 6 * t;
  if (2 * t < 1) return q;
  if (3 * t < 2) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

}  // namespace

TseColor SeColorFromColor(TColor color) {
  const COLORREF rgb = ColorToRGB(color);
  return 0xFF000000u | (TseColor(GetRValue(rgb)) << 16) | (TseColor(GetGValue(rgb)) << 8) |
         TseColor(GetBValue(rgb));
}

TColor ColorFromSeColor(TseColor color) {
  return TColor(RGB(int((color >> 16) & 0xFF), int((color >> 8) & 0xFF), int(color & 0xFF)));
}

TseColor ShiftHueColor(TseColor c, int delta) {
  const double r = ((c >> 16) & 0xFF) / 255.0, g = ((c >> 8) & 0xFF) / 255.0, b = (c & 0xFF) / 255.0;
  const double max = std::max({r, g, b}), min = std::min({r, g, b});
  const double l = (max + min) / 2;
  double s = 0, h = 0;
  if (max != min) {
    const double d = max - min;
    s = l >= 0.5 ? d / (2 - max - min) : d / (max + min);
    h = max == r ? (g - b) / d : max == g ? (b - r) / d + 2 : (r - g) / d + 4;
    h /= 6;
    if (h < 0) h += 1;
  }
  int step = RoundEven(h * 255) + delta;
  // 255 steps: 255 is hue 0 again, so the wrap is by 255, not 256.
  if (step >= 256) step -= 255;
  if (step < 0) step += 255;
  h = step / 255.0;
  int red, green, blue;
  if (s == 0) {
    red = green = blue = RoundEven(l * 255);
  } else {
    const double q = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    red = RoundEven(255 * HueToChannel(p, q, h + 1.0 / 3));
    green = RoundEven(255 * HueToChannel(p, q, h));
    blue = RoundEven(255 * HueToChannel(p, q, h - 1.0 / 3));
  }
  return 0xFF000000u | (TseColor(std::clamp(red, 0, 255)) << 16) |
         (TseColor(std::clamp(green, 0, 255)) << 8) | TseColor(std::clamp(blue, 0, 255));
}

}  // namespace vandrel
