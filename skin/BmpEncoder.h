// Encoding of 16-bit 5-6-5 BMP files, the form of the image records of the shipped skin file. The
// decoder widens each channel by repeating its high bits; the encoder rounds to the nearest of
// the 32 (64 for green) levels, so that encoding what the decoder made gives back the same bits.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vandrel {

// The 5-6-5 value nearest to an 0x??RRGGBB colour (alpha is not stored), and its widened colour
// as opaque 0xFFRRGGBB.
std::uint16_t To565(std::uint32_t color);
std::uint32_t From565(std::uint16_t value);

// A complete BMP file (file header, 40-byte info header, the three bit-field masks, rows bottom
// to top padded to four bytes) of width x height pixels given top row first as 0x??RRGGBB.
std::vector<std::uint8_t> EncodeBmp565(int width, int height, std::span<const std::uint32_t> pixels);

}  // namespace vandrel
