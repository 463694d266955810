#include "graphics/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <unordered_map>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "framework/PropertyInfo.h"
#include "graphics/RowKernels.h"
#include "graphics/SeColor.h"
#include "platform/core/Exception.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/RegionApi.h"

namespace vandrel {
namespace {

// Never destroyed: a bitmap that lives in a static object is destroyed at exit, in an order no
// one controls, and still takes itself out of the registry then.
std::unordered_map<HDC, TseBitmap*>& Registry() {
  static auto* registry = new std::unordered_map<HDC, TseBitmap*>;
  return *registry;
}

int Channel(TseColor c, int shift) { return int((c >> shift) & 0xFF); }

// Reads count bytes in pieces, so that a count from a damaged record costs memory only for the
// bytes the stream really holds; raises EReadError when it ends early.
std::vector<std::uint8_t> ReadInPieces(TStream& stream, std::int64_t count) {
  constexpr std::int64_t kPiece = std::int64_t(1) << 20;
  std::vector<std::uint8_t> bytes;
  while (std::int64_t(bytes.size()) < count) {
    const std::int64_t done = std::int64_t(bytes.size());
    const std::int64_t n = std::min(kPiece, count - done);
    bytes.resize(size_t(done + n));
    stream.ReadBuffer(bytes.data() + done, n);
  }
  return bytes;
}

}  // namespace

const TClassInfo& TseBitmap::StaticClassInfo() {
  static const TClassInfo info("TseBitmap", &TPersistent::StaticClassInfo(), nullptr, {});
  return info;
}

TseBitmap::~TseBitmap() { Free(); }

void TseBitmap::Free() {
  if (m_dc) {
    Registry().erase(m_dc);
    SelectObject(m_dc, m_oldBitmap);
    DeleteDC(m_dc);
  }
  if (m_section) DeleteObject(m_section);
  m_dc = HDC();
  m_section = HBITMAP();
  m_oldBitmap = HGDIOBJ();
  m_bits = nullptr;
  m_width = m_height = 0;
}

void TseBitmap::SetSize(int width, int height) {
  // In 64 bits: the absolute value of the most negative int does not fit an int.
  const std::int64_t w = std::llabs(width), h = std::llabs(height);
  if (w == 0 || h == 0 || (w == m_width && h == m_height)) return;
  Free();
  if (w > kMaxBitmapSide || h > kMaxBitmapSide || w * h > kMaxBitmapPixels)
    throw Exception("Can't allocate the DIB handle");
  width = int(w);
  height = int(h);
  BITMAPINFO info;
  info.bmiHeader.biSize = 40;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
  if (!section || !bits) {
    if (section) DeleteObject(section);
    throw Exception("Can't allocate the DIB handle");
  }
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(section);
    throw Exception("Can't create compatible DC");
  }
  HGDIOBJ old = SelectObject(dc, HGDIOBJ(section));
  if (!old) {
    DeleteDC(dc);
    DeleteObject(section);
    throw Exception("Can't select an object into DC");
  }
  m_section = section;
  m_dc = dc;
  m_oldBitmap = old;
  m_bits = static_cast<TseColor*>(bits);
  m_width = width;
  m_height = height;
  Registry()[dc] = this;
}

TseColor* TseBitmap::Row(int y) const {
  if (!m_bits || y < 0 || y >= m_height) return nullptr;
  return m_bits + std::ptrdiff_t(y) * m_width;
}

TseColor TseBitmap::Pixel(int x, int y) const {
  if (x < 0 || x >= m_width || y < 0 || y >= m_height) return 0;
  return m_bits[std::ptrdiff_t(y) * m_width + x];
}

void TseBitmap::SetPixel(int x, int y, TseColor value) {
  if (x < 0 || x >= m_width || y < 0 || y >= m_height) return;
  m_bits[std::ptrdiff_t(y) * m_width + x] = value;
}

void TseBitmap::Fill(TseColor value) {
  if (m_bits) std::fill_n(m_bits, std::ptrdiff_t(m_width) * m_height, value);
}

void TseBitmap::SetAlpha(std::uint8_t alpha) { SetAlphaRect(alpha, {0, 0, m_width, m_height}); }

void TseBitmap::SetAlphaRect(std::uint8_t alpha, const TRect& r) {
  TRect area;
  if (!IntersectRect(area, r, {0, 0, m_width, m_height})) return;
  for (int y = area.Top; y < area.Bottom; ++y) {
    TseColor* row = Row(y);
    for (int x = area.Left; x < area.Right; ++x) row[x] = WithAlpha(row[x], alpha);
  }
}

void TseBitmap::FillRect(const TRect& r, TseColor value) {
  TRect area;
  if (!IntersectRect(area, r, {0, 0, m_width, m_height})) return;
  for (int y = area.Top; y < area.Bottom; ++y) {
    TseColor* row = Row(y);
    for (int x = area.Left; x < area.Right; ++x)
      row[x] = m_hasAlpha ? BlendPixel(value, row[x]) : value;
  }
}

void TseBitmap::CheckAlpha() {
  const std::ptrdiff_t n = std::ptrdiff_t(m_width) * m_height;
  std::ptrdiff_t i = 0;
#ifdef __SSE2__
  // Four pixels at a time: stop at the first group holding an alpha that is neither 0 nor 255.
  const __m128i alphaMask = _mm_set1_epi32(int(0xFF000000u));
  for (; i + 4 <= n; i += 4) {
    const __m128i alpha = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m_bits + i)), alphaMask);
    const __m128i plain = _mm_or_si128(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()), _mm_cmpeq_epi32(alpha, alphaMask));
    if (_mm_movemask_epi8(plain) != 0xFFFF) break;
  }
#endif
  m_hasAlpha = false;
  for (; i < n; ++i) {
    const std::uint8_t a = AlphaOf(m_bits[i]);
    if (a != 0 && a != 255) {
      m_hasAlpha = true;
      return;
    }
  }
}

void TseBitmap::KeyColor(TseColor color) {
  m_hasKey = false;
  const std::ptrdiff_t n = std::ptrdiff_t(m_width) * m_height;
  std::ptrdiff_t i = 0;
#ifdef __SSE2__
  // Four pixels at a time: the byte-wise distance to the colour, less the tolerance, is zero in
  // red, green and blue exactly where each channel lies within 5.
  const __m128i target = _mm_set1_epi32(int(color));
  const __m128i tolerance = _mm_set1_epi32(0x00050505);
  const __m128i alphaBytes = _mm_set1_epi32(int(0xFF000000u));
  const __m128i key = _mm_set1_epi32(int(kTransparentKey));
  __m128i any = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4) {
    __m128i* at = reinterpret_cast<__m128i*>(m_bits + i);
    const __m128i p = _mm_loadu_si128(at);
    const __m128i distance = _mm_or_si128(_mm_subs_epu8(p, target), _mm_subs_epu8(target, p));
    const __m128i beyond = _mm_andnot_si128(alphaBytes, _mm_subs_epu8(distance, tolerance));
    const __m128i near = _mm_cmpeq_epi32(beyond, _mm_setzero_si128());
    _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(near, key), _mm_andnot_si128(near, p)));
    any = _mm_or_si128(any, near);
  }
  m_hasKey = _mm_movemask_epi8(any) != 0;
#endif
  for (; i < n; ++i) {
    const TseColor p = m_bits[i];
    bool near = true;
    for (int shift : {0, 8, 16})
      if (std::abs(Channel(p, shift) - Channel(color, shift)) > 5) near = false;
    if (near) {
      m_bits[i] = kTransparentKey;
      m_hasKey = true;
    }
  }
}

void TseBitmap::MergeUnder(const TseBitmap& source, int x, int y, const TRect& sourceRect) {
  TRect s;
  if (!IntersectRect(s, sourceRect, {0, 0, source.Width(), source.Height()})) return;
  // Where the clipped source lands here, clipped to this bitmap.
  const int dx = x - sourceRect.Left, dy = y - sourceRect.Top;
  TRect d;
  if (!IntersectRect(d, OffsetRect(s, dx, dy), {0, 0, m_width, m_height})) return;
  // This bitmap's pixels are the upper layer of the row blend: clear ones give the source pixel,
  // opaque ones stay, the rest are mixed.
  const int width = d.Right - d.Left;
  std::vector<TseColor> row(static_cast<size_t>(width));
  const TRowKernel blend = BlendRowKernel();
  for (int ty = d.Top; ty < d.Bottom; ++ty) {
    TseColor* upper = Row(ty) + d.Left;
    std::memcpy(row.data(), source.Row(ty - dy) + (d.Left - dx), size_t(width) * sizeof(TseColor));
    blend(upper, row.data(), width);
    std::memcpy(upper, row.data(), size_t(width) * sizeof(TseColor));
  }
}

void TseBitmap::ShiftHue(int delta) {
  const std::ptrdiff_t n = std::ptrdiff_t(m_width) * m_height;
  // Skin images repeat few colours, so the last conversion is kept.
  TseColor lastIn = 0, lastOut = 0;
  bool have = false;
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    const TseColor p = m_bits[i];
    if (AlphaOf(p) == 0) continue;
    if (!have || (p & 0x00FFFFFFu) != lastIn) {
      lastIn = p & 0x00FFFFFFu;
      lastOut = ShiftHueColor(p, delta);
      have = true;
    }
    m_bits[i] = lastOut;
  }
}

void TseBitmap::FlipVertical() {
  for (int top = 0, bottom = m_height - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(Row(top), Row(top) + m_width, Row(bottom));
}

void TseBitmap::LoadFromStream(TStream& stream) {
  const std::int32_t nameLength = stream.ReadValue<std::int32_t>();
  if (nameLength < 0) throw EReadError("Invalid image name length");
  const std::vector<std::uint8_t> name = ReadInPieces(stream, nameLength);
  const std::int32_t width = stream.ReadValue<std::int32_t>();
  const std::int32_t storedHeight = stream.ReadValue<std::int32_t>();
  const bool bottomUp = storedHeight <= 0;
  const std::int64_t w = std::llabs(width), h = std::llabs(storedHeight);
  if (w > kMaxBitmapSide || h > kMaxBitmapSide || w * h > kMaxBitmapPixels)
    throw EReadError("Image size " + std::to_string(width) + " x " + std::to_string(storedHeight) +
                     " is too large");
  // Everything is read before the bitmap changes, so a short record leaves it as it was.
  const std::vector<std::uint8_t> pixels = ReadInPieces(stream, w * h * 4);
  SetSize(int(w), int(h));
  m_name.assign(name.begin(), name.end());
  if (m_width == w && m_height == h) {
    for (int y = 0; y < m_height; ++y)
      std::memcpy(Row(bottomUp ? m_height - 1 - y : y), pixels.data() + std::ptrdiff_t(y) * w * 4,
                  size_t(w) * 4);
  }
  // The flags describe the pixels just read, not those of an earlier picture.
  m_hasKey = false;
  CheckAlpha();
  if (!m_hasAlpha) KeyColor(kTransparentKey);
}

void TseBitmap::SaveToStream(TStream& stream) const {
  stream.WriteValue(std::int32_t(m_name.size()));
  stream.WriteString(m_name);
  stream.WriteValue(std::int32_t(m_width));
  stream.WriteValue(std::int32_t(m_height));
  stream.WriteBuffer(m_bits, std::int64_t(m_width) * m_height * 4);
}

HRGN TseBitmap::CreateRegion(int dx, int dy) const {
  if (IsEmpty()) return HRGN();
  std::vector<TRect> runs;
  for (int y = 0; y < m_height; ++y) {
    const TseColor* row = Row(y);
    for (int x = 0; x < m_width;) {
      if (SameRGB(row[x], kTransparentKey)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < m_width && !SameRGB(row[x], kTransparentKey)) ++x;
      runs.push_back({start + dx, y + dy, x + dx, y + 1 + dy});
    }
  }
  return ExtCreateRegion(runs);
}

TseBitmap* FindBitmapByDC(HDC dc) {
  auto it = Registry().find(dc);
  return it == Registry().end() ? nullptr : it->second;
}

}  // namespace vandrel
