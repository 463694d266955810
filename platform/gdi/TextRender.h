// Glyph runs: measuring and drawing decoded text with a context's font. Shared by the text output
// calls and DrawText; internal to the drawing layer.
#pragma once

#include <string>
#include <string_view>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontEngine.h"

namespace vandrel {

// UTF-8 to code points; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(std::string_view text);

const TFontObject& CurrentFont(const TDeviceContext& dc);
int RunWidth(const TFontInstance& font, std::u32string_view text);

struct TGlyphRunStyle {
  std::uint32_t color = 0;       // pixel
  bool underline = false;
  bool strikeOut = false;
  const int* dx = nullptr;       // one advance per character, or null
  const TRect* clip = nullptr;   // extra clip rectangle, surface coordinates
};
// Draws the run with its pen starting at `origin` on the baseline (surface coordinates).
void DrawGlyphRun(TDeviceContext& dc, const TFontInstance& font, std::u32string_view text,
                  TPoint origin, const TGlyphRunStyle& style);
// Underlines one character cell (accelerator prefix): x0..x1 on the underline row.
void DrawUnderline(TDeviceContext& dc, const TFontInstance& font, int x0, int x1, int baseline,
                   std::uint32_t color, const TRect* clip);

}  // namespace vandrel
