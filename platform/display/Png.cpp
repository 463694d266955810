// PNG output of screenshots.
#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/display/HeadlessScreen.h"

namespace vandrel {

void SavePng(const TSurface& surface, const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) throw EFCreateError("Cannot create file \"" + path + "\"");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    throw EOutOfResources("SavePng: out of memory");
  }
  std::vector<png_byte> row(size_t(surface.Width()) * 3);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw EWriteError("Cannot write file \"" + path + "\"");
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, png_uint_32(surface.Width()), png_uint_32(surface.Height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint32_t* src = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      row[size_t(x) * 3] = png_byte(src[x] >> 16);
      row[size_t(x) * 3 + 1] = png_byte(src[x] >> 8);
      row[size_t(x) * 3 + 2] = png_byte(src[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
}

}  // namespace vandrel
