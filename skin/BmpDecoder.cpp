#include "skin/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "framework/Graphic.h"
#include "graphics/Bitmap.h"

namespace vandrel {

namespace {

constexpr std::int64_t kMaxSide = kMaxBitmapSide;
// 64 MB of pixels: far beyond any skin image, and what a few bytes of 1-bit data cannot claim.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 24;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;

[[noreturn]] void Invalid(const std::string& why) { throw EInvalidGraphic("Bitmap image is not valid: " + why); }

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

// One colour channel of a bit-field pixel, widened to 8 bits by repeating its high bits, so that
// the largest value becomes 255 and 5-bit 15 becomes 123.
class TChannel {
 public:
  TChannel() = default;
  explicit TChannel(std::uint32_t mask) : m_mask(mask) {
    if (mask == 0) return;
    m_shift = std::countr_zero(mask);
    m_bits = std::popcount(mask);
    if (std::countl_zero(mask) + m_shift + m_bits != 32) Invalid("colour mask is not contiguous");
    // A channel of eight bits or fewer is widened by repeating its bits, looked up per value.
    if (m_bits <= 8)
      for (std::uint32_t v = 0; v < (1u << m_bits); ++v) {
        std::uint32_t out = 0;
        for (int at = 8 - m_bits; at > -m_bits; at -= m_bits) out |= at >= 0 ? v << at : v >> -at;
        m_scale[v] = std::uint8_t(out & 0xFF);
      }
  }
  std::uint32_t operator()(std::uint32_t pixel) const {
    const std::uint32_t v = (pixel & m_mask) >> m_shift;
    return m_bits > 8 ? v >> (m_bits - 8) : m_scale[v];
  }

 private:
  std::array<std::uint8_t, 256> m_scale{};
  std::uint32_t m_mask = 0;
  int m_shift = 0;
  int m_bits = 0;
};

// A row of 5-6-5 pixels widened as TChannel widens them (each channel's high bits repeated).
void Widen565Row(const std::uint8_t* row, TseColor* out, std::int64_t width) {
  std::int64_t x = 0;
#ifdef __SSE2__
  // Eight pixels at a time in 16-bit lanes: blue and green make the low half of each output
  // pixel, red and an opaque alpha the high half.
  const __m128i low5 = _mm_set1_epi16(0x1F), low6 = _mm_set1_epi16(0x3F);
  for (; x + 8 <= width; x += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x * 2));
    const __m128i r = _mm_srli_epi16(v, 11);
    const __m128i g = _mm_and_si128(_mm_srli_epi16(v, 5), low6);
    const __m128i b = _mm_and_si128(v, low5);
    const __m128i r8 = _mm_or_si128(_mm_slli_epi16(r, 3), _mm_srli_epi16(r, 2));
    const __m128i g8 = _mm_or_si128(_mm_slli_epi16(g, 2), _mm_srli_epi16(g, 4));
    const __m128i b8 = _mm_or_si128(_mm_slli_epi16(b, 3), _mm_srli_epi16(b, 2));
    const __m128i lowHalf = _mm_or_si128(b8, _mm_slli_epi16(g8, 8));
    const __m128i highHalf = _mm_or_si128(r8, _mm_set1_epi16(std::int16_t(0xFF00)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi16(lowHalf, highHalf));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_unpackhi_epi16(lowHalf, highHalf));
  }
#endif
  for (; x < width; ++x) {
    const std::uint32_t v = Le16(row + x * 2);
    const std::uint32_t r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
    out[x] = 0xFF000000u | (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
  }
}

}  // namespace

std::unique_ptr<TseBitmap> DecodeBmp(std::span<const std::uint8_t> file) {
  const std::int64_t size = std::int64_t(file.size());
  const std::uint8_t* data = file.data();
  if (size < 18 || data[0] != 'B' || data[1] != 'M') Invalid("no BMP file header");
  const std::uint32_t offBits = Le32(data + 10);
  const std::uint32_t headerSize = Le32(data + 14);
  const bool core = headerSize == 12;
  if (!core && (headerSize < 40 || headerSize > 1024)) Invalid("unknown header size " + std::to_string(headerSize));
  if (14 + std::int64_t(headerSize) > size) Invalid("header is truncated");
  const std::uint8_t* h = data + 14;
  std::int64_t width, height;
  int bpp;
  std::uint32_t compression = kBiRgb, colorsUsed = 0;
  if (core) {
    width = Le16(h + 4);
    height = Le16(h + 6);
    bpp = Le16(h + 10);
  } else {
    width = std::int32_t(Le32(h + 4));
    height = std::int32_t(Le32(h + 8));
    bpp = Le16(h + 14);
    compression = Le32(h + 16);
    colorsUsed = Le32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0 || width > kMaxSide || height > kMaxSide) Invalid("size " + std::to_string(width) + " x " + std::to_string(height));
  if (width * height > kMaxPixels) Invalid("image too large");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw EInvalidGraphic("Unsupported bitmap format: " + std::to_string(bpp) + " bits per pixel");
  if (compression != kBiRgb && !(compression == kBiBitFields && (bpp == 16 || bpp == 32)))
    throw EInvalidGraphic("Unsupported bitmap format: compression " + std::to_string(compression));

  std::int64_t at = 14 + headerSize;
  TChannel red, green, blue;
  bool is565 = false;
  if (compression == kBiBitFields) {
    const std::uint8_t* masks = h + 40;
    if (headerSize < 52) {
      if (at + 12 > size) Invalid("colour masks are truncated");
      masks = data + at;
      at += 12;
    }
    red = TChannel(Le32(masks));
    green = TChannel(Le32(masks + 4));
    blue = TChannel(Le32(masks + 8));
    is565 = bpp == 16 && Le32(masks) == 0xF800 && Le32(masks + 4) == 0x07E0 && Le32(masks + 8) == 0x001F;
  } else if (bpp == 16) {
    red = TChannel(0x7C00);
    green = TChannel(0x03E0);
    blue = TChannel(0x001F);
  } else if (bpp >= 24) {
    red = TChannel(0xFF0000);
    green = TChannel(0x00FF00);
    blue = TChannel(0x0000FF);
  }

  std::array<TseColor, 256> palette;
  palette.fill(0xFF000000u);
  if (bpp <= 8) {
    const std::int64_t entry = core ? 3 : 4;
    std::int64_t count = colorsUsed ? colorsUsed : (std::int64_t(1) << bpp);
    if (count > 256) Invalid("palette of " + std::to_string(count) + " colours");
    // Writers often store fewer colours than the depth allows and say so only by where the
    // pixels start.
    if (offBits > at) count = std::min(count, (offBits - at) / entry);
    if (at + count * entry > size) Invalid("palette is truncated");
    for (std::int64_t i = 0; i < count; ++i) {
      const std::uint8_t* p = data + at + i * entry;
      palette[size_t(i)] = 0xFF000000u | TseColor(p[2]) << 16 | TseColor(p[1]) << 8 | p[0];
    }
    at += count * entry;
  }
  if (offBits != 0) at = offBits;
  const std::int64_t stride = (width * bpp + 31) / 32 * 4;
  if (at > size || stride * height > size - at) throw EInvalidGraphic("Bitmap image is truncated");

  auto bitmap = std::make_unique<TseBitmap>();
  if (width == 0 || height == 0) return bitmap;
  bitmap->SetSize(int(width), int(height));
  for (std::int64_t y = 0; y < height; ++y) {
    const std::uint8_t* row = data + at + (topDown ? y : height - 1 - y) * stride;
    TseColor* out = bitmap->Row(int(y));
    const auto fields = [&](std::uint32_t pixel) {
      return 0xFF000000u | red(pixel) << 16 | green(pixel) << 8 | blue(pixel);
    };
    switch (bpp) {
      case 32:
        for (std::int64_t x = 0; x < width; ++x) out[x] = fields(Le32(row + x * 4));
        break;
      case 24:
        for (std::int64_t x = 0; x < width; ++x) {
          const std::uint8_t* p = row + x * 3;
          out[x] = fields(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16);
        }
        break;
      case 16:
        if (is565) {
          Widen565Row(row, out, width);
          break;
        }
        for (std::int64_t x = 0; x < width; ++x) out[x] = fields(Le16(row + x * 2));
        break;
      default: {
        const int perByte = 8 / bpp;
        for (std::int64_t x = 0; x < width; ++x) {
          const int shift = (perByte - 1 - int(x % perByte)) * bpp;
          out[x] = palette[(row[x / perByte] >> shift) & ((1 << bpp) - 1)];
        }
      }
    }
  }
  return bitmap;
}

}  // namespace vandrel
