// Blits between contexts and single pixels. Source pixels that lie outside the source surface are
// not read: the matching destination pixels stay as they are.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace vandrel {

// SRCCOPY copies all four bytes of each pixel; other operations combine them bitwise, with the
// destination's brush as the pattern where the operation uses one.
bool BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
// Nearest neighbour: destination column c (0-based) takes source column
// srcX + floor((2c + 1) * srcWidth / (2 * width)), i.e. the source pixel under the centre of the
// destination pixel; rows alike. Negative sizes mirror.
bool StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop);
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;
int SetStretchBltMode(HDC dc, int mode);  // kept for callers; stretching is always nearest
// As StretchBlt with SRCCOPY, leaving out source pixels whose colour (alpha ignored) is `key`.
bool TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                    int srcWidth, int srcHeight, UINT key);

// Constant alpha and per-pixel alpha (premultiplied source, as the platform expects).
struct BLENDFUNCTION {
  BYTE BlendOp = 0;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;
};
constexpr BYTE AC_SRC_OVER = 0;
constexpr BYTE AC_SRC_ALPHA = 1;
bool AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, BLENDFUNCTION blend);

// The colour set (it may differ from the one asked for only by dropped bits), CLR_INVALID when
// the point is clipped away or the context does not resolve.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);

}  // namespace vandrel
