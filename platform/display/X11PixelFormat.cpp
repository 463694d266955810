#include "platform/display/X11PixelFormat.h"

#include <bit>
#include <cstring>

namespace vandrel {

namespace {

const char* ClassName(int c) {
  static const char* const kNames[] = {"StaticGray", "GrayScale", "StaticColor", "PseudoColor", "TrueColor", "DirectColor"};
  return c >= 0 && c < 6 ? kNames[c] : "unknown";
}

// An 8-bit channel into the bits of mask, and back (scaled, so 5 bits of 31 read as 255).
std::uint32_t ToChannel(std::uint32_t c8, std::uint32_t mask) {
  int shift = std::countr_zero(mask), bits = std::popcount(mask);
  return ((c8 >> (8 - bits)) << shift) & mask;
}
std::uint32_t FromChannel(std::uint32_t value, std::uint32_t mask) {
  int shift = std::countr_zero(mask), bits = std::popcount(mask);
  std::uint32_t max = (1u << bits) - 1, c = (value & mask) >> shift;
  return (c * 255 + max / 2) / max;
}

}  // namespace

bool TX11PixelFormat::IsDirect() const {
  return BitsPerPixel == 32 && !MsbFirst && RedMask == 0xFF0000 && GreenMask == 0xFF00 && BlueMask == 0xFF &&
         OpaqueBits == 0;
}

std::uint32_t TX11PixelFormat::Encode(std::uint32_t rgb) const {
  return ToChannel((rgb >> 16) & 0xFF, RedMask) | ToChannel((rgb >> 8) & 0xFF, GreenMask) |
         ToChannel(rgb & 0xFF, BlueMask) | OpaqueBits;
}

std::uint32_t TX11PixelFormat::Decode(std::uint32_t value) const {
  return (FromChannel(value, RedMask) << 16) | (FromChannel(value, GreenMask) << 8) | FromChannel(value, BlueMask);
}

void TX11PixelFormat::EncodeRow(const std::uint32_t* src, int count, char* dst) const {
  if (IsDirect()) {
    std::memcpy(dst, src, size_t(count) * 4);
    return;
  }
  auto* out = reinterpret_cast<unsigned char*>(dst);
  int bytes = BitsPerPixel / 8;
  for (int x = 0; x < count; ++x, out += bytes) {
    std::uint32_t v = Encode(src[x]);
    for (int b = 0; b < bytes; ++b) out[MsbFirst ? bytes - 1 - b : b] = static_cast<unsigned char>(v >> (8 * b));
  }
}

std::uint32_t TX11PixelFormat::ReadPixel(const char* row, int x) const {
  int bytes = BitsPerPixel / 8;
  auto* in = reinterpret_cast<const unsigned char*>(row) + std::ptrdiff_t(x) * bytes;
  std::uint32_t v = 0;
  for (int b = 0; b < bytes; ++b) v |= std::uint32_t(in[MsbFirst ? bytes - 1 - b : b]) << (8 * b);
  return Decode(v);
}

std::optional<TX11PixelFormat> X11PixelFormatOf(int visualClass, int depth, int bitsPerPixel, bool msbFirst,
                                                std::uint32_t redMask, std::uint32_t greenMask,
                                                std::uint32_t blueMask, std::string& why) {
  auto channelOk = [](std::uint32_t m) {
    // One run of 1 to 8 bits.
    return m && std::popcount(m) <= 8 && std::popcount((m >> std::countr_zero(m)) + 1) == 1;
  };
  bool depthOk = depth == 16 || depth == 24 || depth == 32;
  bool bppOk = bitsPerPixel == (depth == 16 ? 16 : 32);
  if (visualClass != 4 || !depthOk || !bppOk || !channelOk(redMask) || !channelOk(greenMask) || !channelOk(blueMask) ||
      (redMask & greenMask) || (redMask & blueMask) || (greenMask & blueMask)) {
    why = "The X display's visual is " + std::to_string(depth) + "-bit " + ClassName(visualClass) + " (" +
          std::to_string(bitsPerPixel) + " bits per pixel); vandrel draws only on 16-, 24- or 32-bit TrueColor visuals";
    return std::nullopt;
  }
  TX11PixelFormat f;
  f.BitsPerPixel = bitsPerPixel;
  f.MsbFirst = msbFirst;
  f.RedMask = redMask;
  f.GreenMask = greenMask;
  f.BlueMask = blueMask;
  f.OpaqueBits = depth == 32 ? ~(redMask | greenMask | blueMask) : 0;
  return f;
}

}  // namespace vandrel
