#include "platform/gdi/PngWriter.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace vandrel {

namespace {
struct TFileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

// libpng reports errors by longjmp to here; nothing in this frame needs destruction.
bool WriteImage(png_structp png, png_infop info, FILE* file, const TSurface& surface,
                png_byte* row, bool withAlpha) {
  if (setjmp(png_jmpbuf(png))) return false;
  int channels = withAlpha ? 4 : 3;
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(surface.Width()), png_uint_32(surface.Height()), 8,
               withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    const std::uint32_t* src = surface.Row(y);
    for (int x = 0; x < surface.Width(); ++x) {
      png_byte* out = row + size_t(x) * size_t(channels);
      out[0] = png_byte(src[x] >> 16);
      out[1] = png_byte(src[x] >> 8);
      out[2] = png_byte(src[x]);
      if (withAlpha) out[3] = png_byte(src[x] >> 24);
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}
}  // namespace

void WritePng(const TSurface& surface, const std::string& path, bool withAlpha) {
  std::unique_ptr<FILE, TFileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw EFCreateError("Cannot create file \"" + path + "\"");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_byte> row(size_t(surface.Width()) * (withAlpha ? 4 : 3));
  bool ok = png && info && WriteImage(png, info, file.get(), surface, row.data(), withAlpha);
  if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
  if (!ok || std::fflush(file.get()) != 0) throw EWriteError("Cannot write \"" + path + "\"");
}

void WritePng(HBITMAP bitmap, const std::string& path, bool withAlpha) {
  auto surface = GetBitmapSurface(bitmap);
  if (!surface) throw EInvalidArgument("WritePng: not a bitmap");
  WritePng(*surface, path, withAlpha);
}

void WritePng(HDC dc, const std::string& path, bool withAlpha) {
  auto surface = GetDCSurface(dc);
  if (!surface) throw EInvalidArgument("WritePng: not a device context");
  WritePng(*surface, path, withAlpha);
}

}  // namespace vandrel
