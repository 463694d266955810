#include "platform/gdi/Surface.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/core/Color.h"
#include "platform/core/Exception.h"

namespace vandrel {

namespace {
constexpr std::int64_t kMaxBytes = std::int64_t(1) << 30;

void CheckSize(int width, int height) {
  if (width <= 0 || height <= 0 || std::int64_t(width) * height * 4 > kMaxBytes)
    throw EInvalidArgument("Invalid surface size " + std::to_string(width) + " x " +
                           std::to_string(height));
}
}  // namespace

TSurface::TSurface(int width, int height, bool bottomUp)
    : m_width(width), m_height(height), m_bottomUp(bottomUp), m_owned(true) {
  CheckSize(width, height);
  m_strideBytes = width * 4;
  m_bits = static_cast<std::uint8_t*>(std::calloc(size_t(m_strideBytes) * size_t(height), 1));
  if (!m_bits) throw EOutOfResources("Out of memory for a " + std::to_string(width) + " x " +
                                     std::to_string(height) + " surface");
  m_pitch = bottomUp ? -std::ptrdiff_t(m_strideBytes) : m_strideBytes;
  m_scan0 = bottomUp ? m_bits + std::ptrdiff_t(height - 1) * m_strideBytes : m_bits;
}

TSurface::TSurface(void* bits, int width, int height, int strideBytes, bool bottomUp)
    : m_width(width), m_height(height), m_strideBytes(strideBytes), m_bottomUp(bottomUp) {
  CheckSize(width, height);
  if (!bits || strideBytes < width * 4)
    throw EInvalidArgument("Invalid surface memory");
  m_bits = static_cast<std::uint8_t*>(bits);
  m_pitch = bottomUp ? -std::ptrdiff_t(strideBytes) : strideBytes;
  m_scan0 = bottomUp ? m_bits + std::ptrdiff_t(height - 1) * strideBytes : m_bits;
}

TSurface::~TSurface() {
  if (m_owned) std::free(m_bits);
}

std::uint32_t TSurface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  return Row(y)[x];
}

void TSurface::SetPixel(int x, int y, std::uint32_t value) {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
  Row(y)[x] = value;
}

void TSurface::Fill(std::uint32_t value) {
  for (int y = 0; y < m_height; ++y) {
    std::uint32_t* row = Row(y);
    for (int x = 0; x < m_width; ++x) row[x] = value;
  }
}

void TSurface::AddDamage(const TRect& r) {
  TRect clipped;
  if (!IntersectRect(clipped, r, Bounds())) return;
  if (m_damage.IsEmpty())
    m_damage = clipped;
  else
    UnionRect(m_damage, m_damage, clipped);
}

TRect TSurface::TakeDamage() {
  TRect d = m_damage;
  m_damage = {};
  return d;
}

std::uint32_t PixelFromColor(std::uint32_t colorRef) {
  COLORREF c = ColorToRGB(TColor(colorRef)) & 0xFFFFFF;
  return PixelFromRGB(GetRValue(c), GetGValue(c), GetBValue(c));
}

std::uint32_t ColorFromPixel(std::uint32_t pixel) {
  return RGB(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
}

}  // namespace vandrel
