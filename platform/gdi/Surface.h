// A block of 32-bit pixels (blue, green, red, alpha in memory; 0xAARRGGBB as a value) that drawing
// contexts draw into: the memory of a device-independent section, a window's backing store or a
// virtual screen. Rows are addressed visually (row 0 is the top row) whatever the memory order, so
// drawing code never cares whether the memory is stored top-down or bottom-up.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/core/Geometry.h"

namespace vandrel {

class TSurface {
 public:
  // Own, zero-filled memory. Sizes must be positive and the memory below 1 GiB, else
  // EInvalidArgument; a failed allocation raises EOutOfResources.
  TSurface(int width, int height, bool bottomUp = false);
  // Borrowed memory (shared memory of a display, a caller's buffer): the caller keeps it alive as
  // long as the surface. strideBytes is the distance between two rows in memory (at least
  // width * 4); bits is the first row in memory, the bottom row when bottomUp.
  TSurface(void* bits, int width, int height, int strideBytes, bool bottomUp);
  ~TSurface();
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  TRect Bounds() const { return {0, 0, m_width, m_height}; }
  bool BottomUp() const { return m_bottomUp; }
  int StrideBytes() const { return m_strideBytes; }
  // The first row in memory, as a section reports its bits.
  void* Bits() const { return m_bits; }

  std::uint32_t* Row(int y) const {
    return reinterpret_cast<std::uint32_t*>(m_scan0 + std::ptrdiff_t(y) * m_pitch);
  }
  // 0 outside the surface; writes outside are ignored.
  std::uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, std::uint32_t value);
  void Fill(std::uint32_t value);

  // What has been drawn since the last TakeDamage, as one bounding rectangle: lets a display push
  // only changed pixels. Every drawing call through a context adds its clipped bounds.
  void AddDamage(const TRect& r);
  TRect Damage() const { return m_damage; }
  TRect TakeDamage();

 private:
  int m_width = 0;
  int m_height = 0;
  int m_strideBytes = 0;
  bool m_bottomUp = false;
  bool m_owned = false;
  std::uint8_t* m_bits = nullptr;
  std::uint8_t* m_scan0 = nullptr;  // visual row 0
  std::ptrdiff_t m_pitch = 0;       // bytes from one visual row to the next
  TRect m_damage;
};

// Pixel value helpers. The drawing calls write colours with alpha 0, as the platform does on a
// 32-bit section; blits copy all four bytes.
constexpr std::uint32_t PixelFromRGB(int r, int g, int b, int a = 0) {
  return (std::uint32_t(a & 0xFF) << 24) | (std::uint32_t(r & 0xFF) << 16) |
         (std::uint32_t(g & 0xFF) << 8) | std::uint32_t(b & 0xFF);
}
// A colour reference (0x00BBGGRR, or a system colour 0xFF0000nn) as a pixel with alpha 0.
std::uint32_t PixelFromColor(std::uint32_t colorRef);
// A pixel as a colour reference (alpha dropped).
std::uint32_t ColorFromPixel(std::uint32_t pixel);

}  // namespace vandrel
