#include "platform/gdi/TextRender.h"

#include "platform/core/Text.h"
#include "platform/gdi/Raster.h"

namespace vandrel {

std::u32string DecodeUtf8(std::string_view text) {
  std::u16string wide = Utf8ToUtf16(text);
  std::u32string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back(c);
  }
  return out;
}

const TFontObject& CurrentFont(const TDeviceContext& dc) { return *dc.State().font; }

int RunWidth(const TFontInstance& font, std::u32string_view text) {
  int width = 0;
  for (char32_t c : text) width += font.Advance(c);
  return width;
}

namespace {
inline std::uint32_t Blend(std::uint32_t d, std::uint32_t c, unsigned a) {
  if (a == 255) return c & 0x00FFFFFF;
  unsigned na = 255 - a;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    unsigned dv = (d >> shift) & 0xFF, cv = (c >> shift) & 0xFF;
    out |= std::uint32_t((dv * na + cv * a + 127) / 255) << shift;
  }
  return out;
}

template <class F>
void ForEachClipped(TDeviceContext& dc, const TRect* clip, const TRect& area, F&& f) {
  TRect a = area;
  if (clip && !IntersectRect(a, a, *clip)) return;
  dc.Clip().ForEachIn(a, f);
}
}  // namespace

void DrawGlyphRun(TDeviceContext& dc, const TFontInstance& font, std::u32string_view text,
                  TPoint origin, const TGlyphRunStyle& style) {
  TSurface* s = dc.Surface();
  if (!s) return;
  int x = origin.X;
  for (size_t i = 0; i < text.size(); ++i) {
    const TGlyph& g = font.Glyph(text[i]);
    if (g.width > 0 && g.height > 0) {
      TRect box{x + g.left, origin.Y - g.top, x + g.left + g.width, origin.Y - g.top + g.height};
      ForEachClipped(dc, style.clip, box, [&](const TRect& piece) {
        for (int y = piece.Top; y < piece.Bottom; ++y) {
          const std::uint8_t* cov = g.coverage.data() + size_t(y - box.Top) * size_t(g.width);
          std::uint32_t* row = s->Row(y);
          for (int px = piece.Left; px < piece.Right; ++px) {
            unsigned a = cov[px - box.Left];
            if (a) row[px] = Blend(row[px], style.color, a);
          }
        }
        s->AddDamage(piece);
      });
    }
    x += style.dx ? style.dx[i] : g.advance;
  }
  int end = x;
  auto line = [&](int offset) {
    TRect r{origin.X, origin.Y + offset, end, origin.Y + offset + font.LineThickness()};
    ForEachClipped(dc, style.clip, r, [&](const TRect& piece) {
      FillSurfaceRect(dc, piece, SolidPaint(style.color & 0xFFFFFF));
    });
  };
  if (style.underline) line(font.UnderlineOffset());
  if (style.strikeOut) line(font.StrikeOutOffset());
}

void DrawUnderline(TDeviceContext& dc, const TFontInstance& font, int x0, int x1, int baseline,
                   std::uint32_t color, const TRect* clip) {
  TRect r{x0, baseline + font.UnderlineOffset(), x1,
          baseline + font.UnderlineOffset() + font.LineThickness()};
  ForEachClipped(dc, clip, r, [&](const TRect& piece) {
    FillSurfaceRect(dc, piece, SolidPaint(color & 0xFFFFFF));
  });
}

}  // namespace vandrel
