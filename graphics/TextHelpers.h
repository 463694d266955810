// Text output and measurement for the skin layer. Text is this platform's wide text, UTF-8; the
// "ANSI code page" is UTF-8 too, so converting between them is the identity and never loses
// characters. Each call draws with the canvas's current font.
#pragma once

#include <string>
#include <string_view>

#include "framework/Canvas.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

// Background mode transparent, then the platform's formatted text output with the flags. Returns
// the text height; with DT_CALCRECT the rectangle receives the text's extent and nothing is drawn.
int DrawWideText(TCanvas& canvas, std::string_view text, TRect& rect, unsigned flags);
// A disabled control's caption: first in clBtnHighlight one pixel down and right, then in
// clBtnShadow in place; the canvas font keeps the shadow colour afterwards. Without emboss, once in
// the font's colour.
void DrawEmbossedText(TCanvas& canvas, std::string_view text, const TRect& rect, unsigned flags, bool emboss);
// Flags 0: the text-extent width. Other flags: the right edge of a calculate-only formatted output
// from the empty rectangle at (0, 0), so prefixes and ellipses count as they would be drawn.
int WideTextWidth(TCanvas& canvas, std::string_view text, unsigned flags = 0);
int WideTextHeight(TCanvas& canvas, std::string_view text);
// The text when it fits in maxWidth; else its longest prefix (whole characters, grown from the
// start) that still fits with "..." after it, followed by "..."; just "..." when nothing fits.
std::string EllipsisText(HDC dc, std::string_view text, int maxWidth);

}  // namespace vandrel
