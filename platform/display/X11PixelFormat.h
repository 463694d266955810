// How the pixels of an X visual are laid out, and the conversion between them and the surfaces'
// 0x00RRGGBB pixels. Only TrueColor visuals of depth 16, 24 and 32 are drawn on; any other visual
// is refused with a message that says which one the display has. Internal to the X11 display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vandrel {

struct TX11PixelFormat {
  int BitsPerPixel = 32;  // 16 or 32
  bool MsbFirst = false;  // the image's byte order
  std::uint32_t RedMask = 0xFF0000, GreenMask = 0xFF00, BlueMask = 0xFF;
  std::uint32_t OpaqueBits = 0;  // alpha bits of a 32-bit visual, set so windows stay opaque

  // Surfaces' rows can be copied as they are.
  bool IsDirect() const;
  std::uint32_t Encode(std::uint32_t rgb) const;
  std::uint32_t Decode(std::uint32_t value) const;
  // count surface pixels to one row of an image of this format.
  void EncodeRow(const std::uint32_t* src, int count, char* dst) const;
  std::uint32_t ReadPixel(const char* row, int x) const;
};

// The format of a visual, or nullopt with the reason in `why`. visualClass is the X class number
// (TrueColor = 4).
std::optional<TX11PixelFormat> X11PixelFormatOf(int visualClass, int depth, int bitsPerPixel, bool msbFirst,
                                                std::uint32_t redMask, std::uint32_t greenMask,
                                                std::uint32_t blueMask, std::string& why);

}  // namespace vandrel
