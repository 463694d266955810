// Pens: style, width and colour of the outlines that lines and shapes draw.
#pragma once

#include "platform/gdi/GdiObject.h"

namespace vandrel {

class TPenObject : public TGdiObject {
 public:
  TPenObject(int style, int width, COLORREF color) : m_style(style), m_width(width), m_color(color) {}
  int ObjectType() const override { return OBJ_PEN; }
  int Style() const { return m_style; }
  // At least 1 (a width of 0 draws one pixel wide, as a cosmetic pen) and at most 4096, wider
  // than any screen.
  int Width() const { return m_width < 1 ? 1 : (m_width > 4096 ? 4096 : m_width); }
  COLORREF Color() const { return m_color; }
  bool IsNull() const { return m_style == PS_NULL; }

 private:
  int m_style;
  int m_width;
  COLORREF m_color;
};

// Styles other than those of GdiTypes.h are refused (null handle).
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN& pen);
int GetObject(HPEN pen, int size, void* out);  // fills a LOGPEN

}  // namespace vandrel
