// Brushes: solid colour, hollow, and pattern brushes made from a bitmap (the brush keeps its own
// copy of the pattern, so the bitmap may be deleted afterwards). A monochrome pattern takes the
// context's text colour for black bits and background colour for white ones when it is used.
#pragma once

#include <memory>

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Surface.h"

namespace vandrel {

class TBrushObject : public TGdiObject {
 public:
  TBrushObject(int style, COLORREF color) : m_style(style), m_color(color) {}
  TBrushObject(std::shared_ptr<TSurface> pattern, bool monochrome)
      : m_style(BS_PATTERN), m_pattern(std::move(pattern)), m_monochrome(monochrome) {}
  int ObjectType() const override { return OBJ_BRUSH; }
  int Style() const { return m_style; }
  COLORREF Color() const { return m_color; }
  bool IsNull() const { return m_style == BS_NULL; }
  const TSurface* Pattern() const { return m_pattern.get(); }
  bool Monochrome() const { return m_monochrome; }

 private:
  int m_style;
  COLORREF m_color = 0;
  std::shared_ptr<TSurface> m_pattern;
  bool m_monochrome = false;
};

HBRUSH CreateSolidBrush(COLORREF color);
// The whole bitmap is the pattern (the platform's 8 x 8 patterns are the common case).
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH& brush);
// A brush of a system colour (COLOR_...), owned by the system: DeleteObject ignores it.
HBRUSH GetSysColorBrush(int index);
int GetObject(HBRUSH brush, int size, void* out);  // fills a LOGBRUSH

}  // namespace vandrel
