// Bitmaps: 32-bit device-independent sections (top-down or bottom-up, pixels reachable by pointer),
// device-dependent bitmaps of the screen's format, and monochrome bitmaps for patterns. All keep
// their pixels in a TSurface; what differs is what GetObject reveals, as on the platform.
#pragma once

#include <memory>

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

class TBitmapObject : public TGdiObject {
 public:
  enum class TKind { DibSection, DeviceDependent, Monochrome };
  TBitmapObject(std::shared_ptr<TSurface> surface, TKind kind)
      : m_surface(std::move(surface)), m_kind(kind) {}
  int ObjectType() const override { return OBJ_BITMAP; }

  const std::shared_ptr<TSurface>& Surface() const { return m_surface; }
  TKind Kind() const { return m_kind; }
  // The context this bitmap is selected into (a bitmap lives in at most one), else null.
  HDC SelectedInto() const { return m_selectedInto; }
  void SetSelectedInto(HDC dc) { m_selectedInto = dc; }

 private:
  std::shared_ptr<TSurface> m_surface;
  TKind m_kind;
  HDC m_selectedInto;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
};
inline constexpr UINT DIB_RGB_COLORS = 0;

// A 32-bit section; height < 0 stores rows top-down. *bits receives the first row in memory.
// Null (and *bits null) for other formats, a zero size or a size too big to allocate.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits);
// A bitmap of the screen's format (32 bits), zero-filled; GetObject reports no bits.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// 1 bit per pixel (bits: rows of 16-bit aligned bytes, set bit = white) or 32 bits per pixel
// (bits: top-down pixels); bits may be null.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);

// Fills a BITMAP (size sizeof(BITMAP)) or DIBSECTION (size sizeof(DIBSECTION); sections only).
// Returns the bytes written, 0 on failure.
int GetObject(HBITMAP bitmap, int size, void* out);
TSize GetBitmapDimension(HBITMAP bitmap);

// The surface behind a bitmap handle (for higher layers that keep pixels in bitmaps).
std::shared_ptr<TSurface> GetBitmapSurface(HBITMAP bitmap);

}  // namespace vandrel
