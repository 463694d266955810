// Icons: 32-bit pictures with straight (not premultiplied) per-pixel alpha, drawn blended at any
// size. Icons built from a colour bitmap without alpha take their transparency from the mask.
#pragma once

#include <cstdint>
#include <span>

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

class TIconObject : public TGdiObject {
 public:
  TIconObject(std::shared_ptr<TSurface> pixels, TPoint hotspot, bool isIcon)
      : m_pixels(std::move(pixels)), m_hotspot(hotspot), m_isIcon(isIcon) {}
  int ObjectType() const override { return OBJ_ICON; }
  const TSurface& Pixels() const { return *m_pixels; }
  TPoint Hotspot() const { return m_hotspot; }
  bool IsIcon() const { return m_isIcon; }

 private:
  std::shared_ptr<TSurface> m_pixels;  // 0xAARRGGBB, straight alpha
  TPoint m_hotspot;
  bool m_isIcon;
};

struct ICONINFO {
  bool fIcon = true;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask;   // monochrome AND mask: white = transparent
  HBITMAP hbmColor;  // 32-bit colour; with any alpha other than 0 the alpha is used, not the mask
};

inline constexpr UINT DI_MASK = 1;
inline constexpr UINT DI_IMAGE = 2;
inline constexpr UINT DI_NORMAL = 3;
inline constexpr UINT DI_COMPAT = 4;
inline constexpr UINT DI_DEFAULTSIZE = 8;

// Top-down 0xAARRGGBB pixels with straight alpha. Null for a zero or negative size.
HICON CreateIconFromPixels(int width, int height, const std::uint32_t* argb);
HICON CreateIconIndirect(const ICONINFO* info);
// An icon of a .ico file image: the entry whose size is closest to desiredSize (32-bit, 24-bit
// or 8-bit BMP entries with their AND masks). Raises EReadError for damaged data.
HICON CreateIconFromIcoData(std::span<const std::uint8_t> data, int desiredSize);
bool DestroyIcon(HICON icon);
TSize GetIconSize(HICON icon);

// At (x, y), stretched (nearest neighbour) to width x height (0: the icon's own size, or the
// system icon size with DI_DEFAULTSIZE). DI_NORMAL blends by alpha; DI_IMAGE copies the colours;
// DI_MASK draws the mask (black where opaque). A brush other than null fills the area first.
bool DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH brush,
                UINT flags);
bool DrawIcon(HDC dc, int x, int y, HICON icon);

}  // namespace vandrel
