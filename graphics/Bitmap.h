// TseBitmap: a 32-bit top-down image with per-pixel alpha, held in a device-independent section
// that stays selected into the bitmap's own memory context for its whole life, so its pixels are
// reachable by pointer and by the platform's drawing calls alike. Every bitmap with pixels is in a
// process-wide registry, so a context can be traced back to the bitmap that owns it.
#pragma once

#include <string>

#include "framework/Persistent.h"
#include "graphics/PixelBlend.h"
#include "platform/core/Geometry.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TseBitmap : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TseBitmap() = default;
  ~TseBitmap() override;

  // Absolute values are taken; a zero side or the current size changes nothing. New pixels are
  // transparent black. Raises Exception when the section or its context cannot be made; the
  // bitmap is then empty.
  void SetSize(int width, int height);
  bool IsEmpty() const { return !m_section; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  TseColor* Bits() const { return m_bits; }
  // The first pixel of a row, null outside the bitmap.
  TseColor* Row(int y) const;
  // The memory context the pixels are selected into (null while empty).
  HDC DC() const { return m_dc; }
  const std::string& Name() const { return m_name; }
  void SetName(const std::string& name) { m_name = name; }
  // Some pixel has an alpha other than 0 and 255: the bitmap draws blended.
  bool HasAlpha() const { return m_hasAlpha; }
  // Some pixel is the transparent key: without HasAlpha the bitmap draws keyed.
  bool HasKey() const { return m_hasKey; }

  // 0 outside the bitmap; writes outside are ignored.
  TseColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TseColor value);

  void Fill(TseColor value);
  void SetAlpha(std::uint8_t alpha);
  // Clipped to the bitmap.
  void SetAlphaRect(std::uint8_t alpha, const TRect& r);
  // Without HasAlpha the pixels become the value; with it the value is blended over them.
  void FillRect(const TRect& r, TseColor value);
  void CheckAlpha();
  // Pixels within 5 of the colour in each of red, green and blue become the transparent key.
  void KeyColor(TseColor color);
  // Puts the source's part `sourceRect` behind this bitmap's pixels at (x, y): transparent pixels
  // take the source pixel, opaque ones stay, the rest are blended over it.
  void MergeUnder(const TseBitmap& source, int x, int y, const TRect& sourceRect);

 private:
  void Free();

  TseColor* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
  std::string m_name;
  HBITMAP m_section;
  HGDIOBJ m_oldBitmap;
  HDC m_dc;
  bool m_hasAlpha = false;
  bool m_hasKey = false;
};

// The registered bitmap whose context this is, or null.
TseBitmap* FindBitmapByDC(HDC dc);

}  // namespace vandrel
