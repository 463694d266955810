// Formatted text in a rectangle: alignment, line breaking, tab expansion, the "&" accelerator
// prefix and measuring only (DT_CALCRECT).
#pragma once

#include <string_view>

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

inline constexpr UINT DT_TOP = 0x0;
inline constexpr UINT DT_LEFT = 0x0;
inline constexpr UINT DT_CENTER = 0x1;
inline constexpr UINT DT_RIGHT = 0x2;
inline constexpr UINT DT_VCENTER = 0x4;
inline constexpr UINT DT_BOTTOM = 0x8;
inline constexpr UINT DT_WORDBREAK = 0x10;
inline constexpr UINT DT_SINGLELINE = 0x20;
inline constexpr UINT DT_EXPANDTABS = 0x40;
inline constexpr UINT DT_TABSTOP = 0x80;
inline constexpr UINT DT_NOCLIP = 0x100;
inline constexpr UINT DT_EXTERNALLEADING = 0x200;
inline constexpr UINT DT_CALCRECT = 0x400;
inline constexpr UINT DT_NOPREFIX = 0x800;
inline constexpr UINT DT_END_ELLIPSIS = 0x8000;
inline constexpr UINT DT_RTLREADING = 0x20000;
inline constexpr UINT DT_HIDEPREFIX = 0x100000;
inline constexpr UINT DT_PREFIXONLY = 0x200000;

// Returns the height of the text, or with DT_SINGLELINE and DT_VCENTER/DT_BOTTOM the offset from
// rect->top to the bottom of the drawn text; 0 on failure. With DT_CALCRECT nothing is drawn and
// the rectangle's right edge becomes left + the widest line, its bottom top + the text's height.
// Empty text: returns one line height; DT_CALCRECT makes the rectangle 0 wide and, unless single
// line, 0 high.
//
// Lines break at "\n", "\r\n" and "\r" unless DT_SINGLELINE. DT_WORDBREAK breaks after spaces and
// between full-width (CJK) characters; a word longer than the rectangle stays whole. Tabs expand
// to stops every 8 average character widths (DT_TABSTOP: bits 8..15 give the count). "&x" shows x
// underlined and "&&" one "&" unless DT_NOPREFIX. DT_RTLREADING lays each line out in
// right-to-left order: runs of left-to-right text keep their order and the neutral characters at
// either end of the line (spaces, punctuation) move to the other end. DT_END_ELLIPSIS shortens a
// line that does not fit to its longest prefix that fits followed by "...".
int DrawText(HDC dc, std::string_view text, TRect* rect, UINT format);

}  // namespace vandrel
