#include "platform/gdi/StockObjects.h"

#include <memory>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"

namespace vandrel {

TStockObjects& TStockObjects::Instance() {
  static TStockObjects stock;
  return stock;
}

TStockObjects::TStockObjects() {
  auto& table = TGdiObjectTable::Instance();
  auto brush = [&](int index, COLORREF color) {
    m_objects[size_t(index)] = HGDIOBJ(table.Add(std::make_shared<TBrushObject>(BS_SOLID, color), true));
  };
  brush(WHITE_BRUSH, RGB(255, 255, 255));
  brush(LTGRAY_BRUSH, RGB(192, 192, 192));
  brush(GRAY_BRUSH, RGB(128, 128, 128));
  brush(DKGRAY_BRUSH, RGB(64, 64, 64));
  brush(BLACK_BRUSH, RGB(0, 0, 0));
  m_objects[NULL_BRUSH] = HGDIOBJ(table.Add(std::make_shared<TBrushObject>(BS_NULL, 0), true));
  auto pen = [&](int index, int style, COLORREF color) {
    m_objects[size_t(index)] = HGDIOBJ(table.Add(std::make_shared<TPenObject>(style, 0, color), true));
  };
  pen(WHITE_PEN, PS_SOLID, RGB(255, 255, 255));
  pen(BLACK_PEN, PS_SOLID, RGB(0, 0, 0));
  pen(NULL_PEN, PS_NULL, 0);
  LOGFONT system;
  system.lfHeight = -11;
  system.lfWeight = FW_BOLD;
  system.lfFaceName = "MS Sans Serif";
  m_objects[SYSTEM_FONT] = HGDIOBJ(table.Add(std::make_shared<TFontObject>(system), true));
  LOGFONT gui;
  gui.lfHeight = -11;
  gui.lfFaceName = "MS Shell Dlg";
  m_objects[DEFAULT_GUI_FONT] = HGDIOBJ(table.Add(std::make_shared<TFontObject>(gui), true));
  for (int i = 0; i <= COLOR_ENDCOLORS; ++i)
    m_sysBrushes[size_t(i)] =
        HBRUSH(table.Add(std::make_shared<TBrushObject>(BS_SOLID, GetSysColor(i)), true));
  auto mono = std::make_shared<TSurface>(1, 1);
  m_defaultBitmap = HBITMAP(table.Add(
      std::make_shared<TBitmapObject>(mono, TBitmapObject::TKind::Monochrome), true));
}

HGDIOBJ TStockObjects::Get(int index) const {
  if (index < 0 || size_t(index) >= m_objects.size()) return nullptr;
  return m_objects[size_t(index)];
}

HBRUSH TStockObjects::SysColorBrush(int index) const {
  if (index < 0 || index > COLOR_ENDCOLORS) return nullptr;
  return m_sysBrushes[size_t(index)];
}

}  // namespace vandrel
