// Handles, records and constants of the drawing layer, in the platform's own vocabulary.
//
// Handles are small values, not pointers: a handle names a slot of the process-wide object table
// together with the slot's reuse generation, so a handle kept after DeleteObject/DeleteDC simply no
// longer resolves and every call taking it fails quietly, as the platform's calls do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"

namespace vandrel {

using UINT = unsigned int;
using DWORD = std::uint32_t;
using BYTE = std::uint8_t;

// Any drawing object (bitmap, pen, brush, font, region): what SelectObject and DeleteObject take.
class HGDIOBJ {
 public:
  constexpr HGDIOBJ() = default;
  constexpr HGDIOBJ(std::nullptr_t) {}
  constexpr explicit HGDIOBJ(std::uint32_t value) : m_value(value) {}
  constexpr std::uint32_t Value() const { return m_value; }
  constexpr explicit operator bool() const { return m_value != 0; }
  friend constexpr bool operator==(HGDIOBJ, HGDIOBJ) = default;

 private:
  std::uint32_t m_value = 0;
};

// A typed handle. Drawing objects convert to HGDIOBJ implicitly and back explicitly, as a cast
// between handle types reads in the platform's own code.
template <class Tag, bool IsDrawingObject>
class THandle {
 public:
  constexpr THandle() = default;
  constexpr THandle(std::nullptr_t) {}
  constexpr explicit THandle(std::uint32_t value) : m_value(value) {}
  constexpr explicit THandle(HGDIOBJ h)
    requires IsDrawingObject
      : m_value(h.Value()) {}
  constexpr operator HGDIOBJ() const
    requires IsDrawingObject
  {
    return HGDIOBJ(m_value);
  }
  constexpr std::uint32_t Value() const { return m_value; }
  constexpr explicit operator bool() const { return m_value != 0; }
  friend constexpr bool operator==(THandle, THandle) = default;

 private:
  std::uint32_t m_value = 0;
};

struct HBitmapTag;
struct HPenTag;
struct HBrushTag;
struct HFontTag;
struct HRgnTag;
struct HDcTag;
struct HIconTag;
using HBITMAP = THandle<HBitmapTag, true>;
using HPEN = THandle<HPenTag, true>;
using HBRUSH = THandle<HBrushTag, true>;
using HFONT = THandle<HFontTag, true>;
using HRGN = THandle<HRgnTag, true>;
using HDC = THandle<HDcTag, false>;
using HICON = THandle<HIconTag, false>;

// Object types (GetObjectType).
inline constexpr int OBJ_PEN = 1;
inline constexpr int OBJ_BRUSH = 2;
inline constexpr int OBJ_DC = 3;
inline constexpr int OBJ_FONT = 6;
inline constexpr int OBJ_BITMAP = 7;
inline constexpr int OBJ_REGION = 8;
inline constexpr int OBJ_MEMDC = 10;
inline constexpr int OBJ_ICON = 100;

// Region complexity, CombineRgn modes.
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;

// Background modes, binary raster operations, polygon fill modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;
inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;

// Ternary raster operations of the blits.
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr DWORD SRCPAINT = 0x00EE0086;
inline constexpr DWORD SRCAND = 0x008800C6;
inline constexpr DWORD SRCINVERT = 0x00660046;
inline constexpr DWORD SRCERASE = 0x00440328;
inline constexpr DWORD NOTSRCCOPY = 0x00330008;
inline constexpr DWORD NOTSRCERASE = 0x001100A6;
inline constexpr DWORD MERGECOPY = 0x00C000CA;
inline constexpr DWORD MERGEPAINT = 0x00BB0226;
inline constexpr DWORD PATCOPY = 0x00F00021;
inline constexpr DWORD PATPAINT = 0x00FB0A09;
inline constexpr DWORD PATINVERT = 0x005A0049;
inline constexpr DWORD DSTINVERT = 0x00550009;
inline constexpr DWORD BLACKNESS = 0x00000042;
inline constexpr DWORD WHITENESS = 0x00FF0062;

// Pens and brushes.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HOLLOW = 1;
inline constexpr int BS_HATCHED = 2;
inline constexpr int BS_PATTERN = 3;

// Stock objects.
inline constexpr int WHITE_BRUSH = 0;
inline constexpr int LTGRAY_BRUSH = 1;
inline constexpr int GRAY_BRUSH = 2;
inline constexpr int DKGRAY_BRUSH = 3;
inline constexpr int BLACK_BRUSH = 4;
inline constexpr int NULL_BRUSH = 5;
inline constexpr int HOLLOW_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

// Records of GetObject.
struct BITMAP {
  int bmType = 0;
  int bmWidth = 0;
  int bmHeight = 0;
  int bmWidthBytes = 0;
  int bmPlanes = 1;
  int bmBitsPixel = 0;
  void* bmBits = nullptr;  // null for a device-dependent bitmap
};

struct BITMAPINFOHEADER {
  DWORD biSize = 40;
  int biWidth = 0;
  int biHeight = 0;  // negative: rows stored top to bottom
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 32;
  DWORD biCompression = 0;  // BI_RGB
  DWORD biSizeImage = 0;
};
constexpr DWORD BI_RGB = 0;

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
};

struct LOGPEN {
  int lopnStyle = PS_SOLID;
  TPoint lopnWidth;
  COLORREF lopnColor = 0;
};

struct LOGBRUSH {
  int lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
};

inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_THIN = 100;
inline constexpr int FW_LIGHT = 300;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_MEDIUM = 500;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;
inline constexpr int FW_HEAVY = 900;
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SYMBOL_CHARSET = 2;
inline constexpr int GB2312_CHARSET = 134;

struct LOGFONT {
  int lfHeight = 0;  // < 0: character height in pixels; > 0: cell height; 0: the default size
  int lfWidth = 0;
  int lfEscapement = 0;
  int lfOrientation = 0;
  int lfWeight = FW_NORMAL;
  bool lfItalic = false;
  bool lfUnderline = false;
  bool lfStrikeOut = false;
  int lfCharSet = DEFAULT_CHARSET;
  int lfQuality = 0;
  std::string lfFaceName;  // UTF-8
};

struct TEXTMETRIC {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 0;
  int tmOverhang = 0;
  bool tmItalic = false;
  bool tmUnderlined = false;
  bool tmStruckOut = false;
  int tmCharSet = DEFAULT_CHARSET;
};

}  // namespace vandrel

template <class Tag, bool B>
struct std::hash<vandrel::THandle<Tag, B>> {
  size_t operator()(vandrel::THandle<Tag, B> h) const noexcept { return h.Value(); }
};
template <>
struct std::hash<vandrel::HGDIOBJ> {
  size_t operator()(vandrel::HGDIOBJ h) const noexcept { return h.Value(); }
};
