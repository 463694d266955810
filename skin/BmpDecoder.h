// Decoding of BMP files, as the legacy image records of skin files hold them: 1, 4 and 8 bits per
// pixel with a palette, 16 bits (5-5-5, or any bit fields such as 5-6-5), 24 bits, and 32 bits
// (plain or bit fields), bottom-up or top-down, with a Windows or an OS/2 core header.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

namespace vandrel {

class TseBitmap;

// The image of a complete BMP file (file header included) in a new bitmap of its size, every
// alpha 255; a width or height of 0 gives an empty bitmap. Raises EInvalidGraphic for anything it
// cannot read, before allocating pixels that the data does not back.
std::unique_ptr<TseBitmap> DecodeBmp(std::span<const std::uint8_t> file);

}  // namespace vandrel
