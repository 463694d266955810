#include "tools/steel-skin/SkinImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vandrel::steelskin {

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [t](int x, int y) { return std::uint32_t(std::lround(x + (y - x) * t)); };
  return 0xFF000000u | channel(RedOf(a), RedOf(b)) << 16 | channel(GreenOf(a), GreenOf(b)) << 8 |
         channel(BlueOf(a), BlueOf(b));
}

namespace {

int Quantise(int v, int bits) {
  const int top = (1 << bits) - 1;
  const int q = (v * top + 127) / 255;
  return (q << (8 - bits)) | (q >> (2 * bits - 8));
}

double Linear(int v) {
  const double s = v / 255.0;
  return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

}  // namespace

std::uint32_t Quantise565(std::uint32_t c) {
  return 0xFF000000u | std::uint32_t(Quantise(RedOf(c), 5)) << 16 |
         std::uint32_t(Quantise(GreenOf(c), 6)) << 8 | std::uint32_t(Quantise(BlueOf(c), 5));
}

bool MatchesKey(std::uint32_t c) {
  return std::abs(RedOf(c) - RedOf(kKey)) <= 5 && std::abs(GreenOf(c) - GreenOf(kKey)) <= 5 &&
         std::abs(BlueOf(c) - BlueOf(kKey)) <= 5;
}

double Luminance(std::uint32_t c) {
  return 0.2126 * Linear(RedOf(c)) + 0.7152 * Linear(GreenOf(c)) + 0.0722 * Linear(BlueOf(c));
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace vandrel::steelskin
