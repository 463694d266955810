#include "graphics/TextHelpers.h"

#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/TextOut.h"

namespace vandrel {
namespace {

// Bytes of the UTF-8 character starting at text[i]; a stray byte counts as one character, so
// damaged text is still shortened without reading past its end.
size_t CharLength(std::string_view text, size_t i) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  if (i + n > text.size()) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

int TextWidth(HDC dc, std::string_view text) {
  TSize size;
  if (!GetTextExtentPoint32(dc, text, &size)) return 0;
  return size.cx;
}

}  // namespace

int DrawWideText(TCanvas& canvas, std::string_view text, TRect& rect, unsigned flags) {
  // Measuring nothing selects the canvas's font, which the direct output below needs.
  canvas.TextExtent("");
  HDC dc = canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  return DrawText(dc, text, &rect, flags);
}

int WideTextWidth(TCanvas& canvas, std::string_view text, unsigned flags) {
  if (flags == 0) return canvas.TextExtent(text).cx;
  canvas.TextExtent("");
  TRect r{0, 0, 0, 0};
  DrawText(canvas.Handle(), text, &r, flags | DT_CALCRECT);
  return r.Right;
}

int WideTextHeight(TCanvas& canvas, std::string_view text) { return canvas.TextExtent(text).cy; }

std::string EllipsisText(HDC dc, std::string_view text, int maxWidth) {
  if (TextWidth(dc, text) <= maxWidth) return std::string(text);
  size_t fitting = 0;
  for (size_t i = 0; i < text.size();) {
    size_t next = i + CharLength(text, i);
    std::string candidate(text.substr(0, next));
    candidate += "...";
    if (TextWidth(dc, candidate) > maxWidth) break;
    fitting = next;
    i = next;
  }
  return std::string(text.substr(0, fitting)) + "...";
}

void DrawEmbossedText(TCanvas& canvas, std::string_view text, const TRect& rect, unsigned flags, bool emboss) {
  if (emboss) {
    canvas.Font()->SetColor(clBtnHighlight);
    TRect shadow = OffsetRect(rect, 1, 1);
    DrawWideText(canvas, text, shadow, flags);
    canvas.Font()->SetColor(clBtnShadow);
  }
  TRect r = rect;
  DrawWideText(canvas, text, r, flags);
}

}  // namespace vandrel
