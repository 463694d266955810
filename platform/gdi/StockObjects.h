// The stock objects (white brush, black pen, null pen, the default font, ...) and the system colour
// brushes: created on first use, never deleted.
#pragma once

#include <array>

#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TStockObjects {
 public:
  static TStockObjects& Instance();
  HGDIOBJ Get(int index) const;
  HBRUSH SysColorBrush(int index) const;
  // The 1 x 1 monochrome bitmap a fresh memory context holds.
  HBITMAP DefaultBitmap() const { return m_defaultBitmap; }

 private:
  TStockObjects();
  std::array<HGDIOBJ, 20> m_objects{};
  std::array<HBRUSH, COLOR_ENDCOLORS + 1> m_sysBrushes{};
  HBITMAP m_defaultBitmap;
};

}  // namespace vandrel
