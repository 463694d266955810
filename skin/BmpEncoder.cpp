#include "skin/BmpEncoder.h"

#include "platform/core/Exception.h"

namespace vandrel {

namespace {

int Level(std::uint32_t channel, int bits) {
  const int top = (1 << bits) - 1;
  return (int(channel & 0xFF) * top + 127) / 255;
}

int Widen(int level, int bits) { return (level << (8 - bits)) | (level >> (2 * bits - 8)); }

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr std::uint32_t kHeaderBytes = 14 + 40 + 12;

}  // namespace

std::uint16_t To565(std::uint32_t c) {
  return std::uint16_t(Level(c >> 16, 5) << 11 | Level(c >> 8, 6) << 5 | Level(c, 5));
}

std::uint32_t From565(std::uint16_t v) {
  return 0xFF000000u | std::uint32_t(Widen(v >> 11, 5)) << 16 | std::uint32_t(Widen((v >> 5) & 0x3F, 6)) << 8 |
         std::uint32_t(Widen(v & 0x1F, 5));
}

std::vector<std::uint8_t> EncodeBmp565(int width, int height, std::span<const std::uint32_t> pixels) {
  if (width < 0 || height < 0 || pixels.size() != size_t(width) * size_t(height))
    throw EInvalidArgument("EncodeBmp565: the pixels do not match the size");
  const std::uint64_t stride = (std::uint64_t(width) * 2 + 3) / 4 * 4;
  const std::uint64_t imageBytes = stride * std::uint64_t(height);
  if (imageBytes > 0x7FFFFFFF - kHeaderBytes) throw EInvalidArgument("EncodeBmp565: the picture is too large");
  std::vector<std::uint8_t> out;
  out.reserve(size_t(kHeaderBytes + imageBytes));
  out.push_back('B');
  out.push_back('M');
  Put32(out, std::uint32_t(kHeaderBytes + imageBytes));
  Put32(out, 0);
  Put32(out, kHeaderBytes);
  Put32(out, 40);
  Put32(out, std::uint32_t(width));
  Put32(out, std::uint32_t(height));
  Put16(out, 1);
  Put16(out, 16);
  Put32(out, 3);  // bit fields
  Put32(out, std::uint32_t(imageBytes));
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0xF800);
  Put32(out, 0x07E0);
  Put32(out, 0x001F);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) Put16(out, To565(pixels[size_t(y) * size_t(width) + size_t(x)]));
    for (std::uint64_t pad = std::uint64_t(width) * 2; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace vandrel
