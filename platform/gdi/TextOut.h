// Text output and measurement with the selected font. Text is UTF-8 (the platform's "ANSI code
// page" here), so the narrow and wide forms of the platform's calls are the same call.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

inline constexpr UINT TA_NOUPDATECP = 0;
inline constexpr UINT TA_UPDATECP = 1;
inline constexpr UINT TA_LEFT = 0;
inline constexpr UINT TA_RIGHT = 2;
inline constexpr UINT TA_CENTER = 6;
inline constexpr UINT TA_TOP = 0;
inline constexpr UINT TA_BOTTOM = 8;
inline constexpr UINT TA_BASELINE = 24;
inline constexpr UINT TA_RTLREADING = 256;
inline constexpr UINT ETO_OPAQUE = 2;
inline constexpr UINT ETO_CLIPPED = 4;
inline constexpr UINT ETO_RTLREADING = 0x80;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

UINT SetTextAlign(HDC dc, UINT align);  // returns the previous alignment, GDI_ERROR on failure
UINT GetTextAlign(HDC dc);

// In OPAQUE background mode the text cell is filled with the background colour first.
bool TextOut(HDC dc, int x, int y, std::string_view text);
// rect (may be null): ETO_OPAQUE fills it with the background colour, ETO_CLIPPED clips to it.
// dx: the advance of each character (one per code point); characters beyond its end, or all of
// them when it is empty, take their own advance.
bool ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, std::string_view text,
                std::span<const int> dx = {});
// The platform's spelling for "no advances".
inline bool ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, std::string_view text,
                       std::nullptr_t) {
  return ExtTextOut(dc, x, y, options, rect, text, std::span<const int>());
}
// Width as the sum of the advances that drawing uses; height as the font's cell height.
bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size);
// How many characters (code points) fit in maxExtent, and the extent after each (as many as
// `extents` holds; it may be empty).
bool GetTextExtentExPoint(HDC dc, std::string_view text, int maxExtent, int* fit,
                          std::span<int> extents, TSize* size);
bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
// The family of the face that renders the font ("Liberation Sans" for "MS Sans Serif").
std::string GetTextFace(HDC dc);

}  // namespace vandrel
