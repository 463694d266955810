#include "tools/vandrel-skin/PngFile.h"

#include <png.h>

#include <cstring>

#include "platform/core/Exception.h"
#include "platform/core/Text.h"
#include "platform/gdi/PngWriter.h"
#include "platform/gdi/Surface.h"

namespace vandrel::skinpack {

namespace {

// A skin image is a strip of a few hundred pixels; anything far beyond is damage.
constexpr std::uint32_t kMaxSide = 1 << 14;

}  // namespace

void SavePng(const TPngImage& image, const std::string& path) {
  std::vector<std::uint32_t> pixels = image.Pixels;
  TSurface surface(pixels.data(), image.Width, image.Height, image.Width * 4, false);
  WritePng(surface, path, true);
}

TPngImage LoadPng(const std::string& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str()))
    throw EReadError(path + ": " + (png.message[0] ? png.message : "not a PNG file"));
  if (png.width == 0 || png.height == 0 || png.width > kMaxSide || png.height > kMaxSide) {
    png_image_free(&png);
    throw EReadError(path + ": the picture is " + IntToStr(png.width) + "x" + IntToStr(png.height) + " pixels");
  }
  // Blue, green, red, alpha in memory: the 0xAARRGGBB words of a skin image.
  png.format = PNG_FORMAT_BGRA;
  TPngImage image;
  image.Width = int(png.width);
  image.Height = int(png.height);
  image.Pixels.resize(size_t(png.width) * png.height);
  if (!png_image_finish_read(&png, nullptr, image.Pixels.data(), 0, nullptr)) {
    const std::string why = png.message;
    png_image_free(&png);
    throw EReadError(path + ": " + why);
  }
  return image;
}

}  // namespace vandrel::skinpack
