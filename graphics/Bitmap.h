// TseBitmap: a 32-bit top-down image with per-pixel alpha, held in a device-independent section
// that stays selected into the bitmap's own memory context for its whole life, so its pixels are
// reachable by pointer and by the platform's drawing calls alike. Every bitmap with pixels is in a
// process-wide registry, so a context can be traced back to the bitmap that owns it.
#pragma once

#include <memory>
#include <string>

#include "framework/Persistent.h"
#include "graphics/PixelBlend.h"
#include "graphics/SeColor.h"
#include "platform/core/Geometry.h"
#include "platform/core/Stream.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TCanvas;
class TGraphic;

// Neither side may pass this, nor the area kMaxBitmapPixels: a size from a damaged file must not
// reserve gigabytes (the shared paint buffer of a large screen is about 40 megapixels).
inline constexpr int kMaxBitmapSide = 32767;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t(1) << 26;

class TseBitmap : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TseBitmap() = default;
  ~TseBitmap() override;

  // Absolute values are taken; a zero side or the current size changes nothing. New pixels are
  // transparent black. Raises Exception when the section or its context cannot be made, or the
  // size is beyond the limits above; the bitmap is then empty (0 x 0, no section).
  void SetSize(int width, int height);
  bool IsEmpty() const { return !m_section; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  TseColor* Bits() const { return m_bits; }
  // The first pixel of a row, null outside the bitmap.
  TseColor* Row(int y) const;
  // The memory context the pixels are selected into (null while empty).
  HDC DC() const { return m_dc; }
  // Expires when this bitmap is destroyed: links hold it instead of a bare pointer.
  std::weak_ptr<TseBitmap*> Liveness() const { return m_self; }
  const std::string& Name() const { return m_name; }
  void SetName(const std::string& name) { m_name = name; }
  // Some pixel has an alpha other than 0 and 255: the bitmap draws blended.
  bool HasAlpha() const { return m_hasAlpha; }
  // Some pixel is the transparent key: without HasAlpha the bitmap draws keyed.
  bool HasKey() const { return m_hasKey; }
  void SetHasAlpha(bool value) { m_hasAlpha = value; }
  void SetHasKey(bool value) { m_hasKey = value; }

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
  // Every pixel with an alpha other than 0 moves `delta` steps round the 255-step hue circle and
  // becomes opaque (ShiftHueColor); HasAlpha is left as it was.
  void ShiftHue(int delta);
  void FlipVertical();

  // The raw image record: name (32-bit length and bytes), width, height (32-bit each), then the
  // pixels, top row first; a height of 0 or less means that many rows stored bottom row first.
  // Loading then finds the partial alpha and, without it, keys the colour 0x7F007F. A record
  // that ends early or names a size beyond the limits raises, and the bitmap keeps what it held;
  // the pixels are read in pieces, so a damaged size costs memory only for the bytes present.
  void LoadFromStream(TStream& stream);
  // Always a positive height.
  void SaveToStream(TStream& stream) const;

  // A region of the runs of pixels that are not the transparent key (alpha ignored), moved by
  // (dx, dy); null for an empty bitmap. The caller owns it.
  HRGN CreateRegion(int dx, int dy) const;

  // How this bitmap's pixels go onto a target: blended with HasAlpha, else keyed with HasKey,
  // else copied.
  enum class TDrawMode { Copy, Keyed, Blend };
  TDrawMode DrawMode() const;

  // Draws the whole bitmap at (x, y), a part of it at (x, y), or a part stretched (nearest
  // neighbour) to a destination rectangle. A source part not wholly inside this bitmap draws
  // nothing. A context of a registered bitmap or of a 32-bit bottom-up section is drawn into
  // through its pixels, its window origin applied and its clip region not; any other context
  // through the platform's blits, clipped as they clip.
  void Draw(HDC dc, int x, int y) const;
  void Draw(HDC dc, int x, int y, const TRect& source) const;
  void Draw(HDC dc, const TRect& dest, const TRect& source) const;
  void Draw(TCanvas& canvas, int x, int y) const;
  void Draw(TCanvas& canvas, int x, int y, const TRect& source) const;
  void Draw(TCanvas& canvas, const TRect& dest, const TRect& source) const;
  void Draw(TseBitmap& target, int x, int y) const;
  void Draw(TseBitmap& target, int x, int y, const TRect& source) const;
  void Draw(TseBitmap& target, const TRect& dest, const TRect& source) const;
  // Repeats the source part over dest from its top-left corner; tiles at the right and bottom
  // edges are cut to fit. Only the tiles that meet the context's clip box are drawn, each as Draw
  // would draw it.
  void Tile(HDC dc, const TRect& dest, const TRect& source) const;
  void Tile(TCanvas& canvas, const TRect& dest, const TRect& source) const;

  // From a TseBitmap, a platform bitmap (TBitmap), a picture or another graphic: this bitmap takes
  // the size and the picture, all opaque; the flags are not copied. Another graphic is rendered
  // over pure magenta and only the pixels it covers are taken. An empty source empties this
  // bitmap. Anything else raises EConvertError.
  void Assign(const TPersistent& source) override;

  // Puts the source's part `sourceRect` behind this bitmap's pixels at (x, y): transparent pixels
  // take the source pixel, opaque ones stay, the rest are blended over it.
  void MergeUnder(const TseBitmap& source, int x, int y, const TRect& sourceRect);

 protected:
  // To a TBitmap or a picture: 32 bits of this size, with this bitmap drawn at (0, 0).
  void AssignTo(TPersistent& dest) const override;

 private:
  void Free();
  void Clear();
  void AssignGraphic(const TGraphic& graphic);

  TseColor* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
  std::string m_name;
  HBITMAP m_section;
  HGDIOBJ m_oldBitmap;
  HDC m_dc;
  bool m_hasAlpha = false;
  bool m_hasKey = false;
  std::shared_ptr<TseBitmap*> m_self = std::make_shared<TseBitmap*>(this);
};

// The registered bitmap whose context this is, or null.
TseBitmap* FindBitmapByDC(HDC dc);

}  // namespace vandrel
