// One image of a skin as the artwork generator produces it: a name, a size and 32-bit pixels
// 0xAARRGGBB (top row first), plus the colour arithmetic the drawing code and its checks share.
// Skin files store these images as 16-bit 5-6-5 pictures, so the quantisation lives here too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vandrel::steelskin {

// See-through pixels: red 127, green 0, blue 127, alpha 0, as the skin layer keys them.
inline constexpr std::uint32_t kKey = 0x007F007F;

struct TSkinImage {
  std::string Name;
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;

  TSkinImage() = default;
  TSkinImage(std::string name, int width, int height, std::uint32_t fill = kKey)
      : Name(std::move(name)), Width(width), Height(height), Pixels(std::size_t(width) * height, fill) {}

  // Outside the image: 0 on reading, ignored on writing.
  std::uint32_t At(int x, int y) const {
    return Inside(x, y) ? Pixels[std::size_t(y) * Width + x] : 0;
  }
  void Set(int x, int y, std::uint32_t c) {
    if (Inside(x, y)) Pixels[std::size_t(y) * Width + x] = c;
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

// An opaque colour from 0xRRGGBB.
constexpr std::uint32_t Rgb(std::uint32_t rgb) { return 0xFF000000u | (rgb & 0xFFFFFFu); }
constexpr int RedOf(std::uint32_t c) { return int(c >> 16) & 0xFF; }
constexpr int GreenOf(std::uint32_t c) { return int(c >> 8) & 0xFF; }
constexpr int BlueOf(std::uint32_t c) { return int(c) & 0xFF; }

// a at t = 0, b at t = 1 (t clamped), opaque.
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t);

// What a 5-6-5 picture keeps of a colour: each channel rounded to 5 (6 for green) bits and
// expanded again by repeating its high bits, as a reader of such a picture does; opaque. The key
// comes out as (123, 0, 123), which MatchesKey still takes for the key.
std::uint32_t Quantise565(std::uint32_t c);
// Whether the skin layer takes the pixel for the key: each of red, green and blue within 5 of it.
bool MatchesKey(std::uint32_t c);

// WCAG relative luminance of an sRGB colour (0..1) and the contrast ratio of two colours (1..21).
double Luminance(std::uint32_t c);
double ContrastRatio(std::uint32_t a, std::uint32_t b);

}  // namespace vandrel::steelskin
