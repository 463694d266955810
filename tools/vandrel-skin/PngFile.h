// PNG files of skin images: written through the platform's PNG writer (8-bit RGBA) and read back
// through libpng in any form an image editor may save them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vandrel::skinpack {

struct TPngImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // 0xAARRGGBB, top row first
};

// Raises EFCreateError or EWriteError.
void SavePng(const TPngImage& image, const std::string& path);
// Raises EFOpenError, or EReadError saying what is wrong with the file.
TPngImage LoadPng(const std::string& path);

}  // namespace vandrel::skinpack
