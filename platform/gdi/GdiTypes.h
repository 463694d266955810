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
enum : int {
  OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_DC = 3, OBJ_FONT = 6, OBJ_BITMAP = 7, OBJ_REGION = 8,
  OBJ_MEMDC = 10, OBJ_ICON = 100
};

// Region complexity, CombineRgn modes.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// Background modes, binary raster operations, polygon fill modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int {
  R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
  R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11,
  R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16
};
enum : int { ALTERNATE = 1, WINDING = 2 };

// Ternary raster operations of the blits.
enum : DWORD {
  SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
  SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
  MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09,
  PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
  WHITENESS = 0x00FF0062
};

// Pens and brushes.
enum : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4,
             PS_NULL = 5, PS_INSIDEFRAME = 6 };
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3 };

// Stock objects.
enum : int {
  WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
  NULL_BRUSH = 5, HOLLOW_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
  SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17
};

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

enum : int {
  FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500,
  FW_SEMIBOLD = 600, FW_BOLD = 700, FW_HEAVY = 900
};
enum : int { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, GB2312_CHARSET = 134 };

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
