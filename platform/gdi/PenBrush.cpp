#include <memory>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/StockObjects.h"

namespace vandrel {

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  return HPEN(TGdiObjectTable::Instance().Add(std::make_shared<TPenObject>(style, width, color)));
}

HPEN CreatePenIndirect(const LOGPEN& pen) {
  return CreatePen(pen.lopnStyle, pen.lopnWidth.X, pen.lopnColor);
}

int GetObject(HPEN pen, int size, void* out) {
  auto* p = LookupObject<TPenObject>(pen.Value());
  if (!p || !out || size < int(sizeof(LOGPEN))) return 0;
  auto* lp = static_cast<LOGPEN*>(out);
  lp->lopnStyle = p->Style();
  lp->lopnWidth = {p->Width(), 0};
  lp->lopnColor = p->Color();
  return int(sizeof(LOGPEN));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return HBRUSH(TGdiObjectTable::Instance().Add(std::make_shared<TBrushObject>(BS_SOLID, color)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto* b = LookupObject<TBitmapObject>(bitmap.Value());
  if (!b) return nullptr;
  const TSurface& src = *b->Surface();
  auto copy = std::make_shared<TSurface>(src.Width(), src.Height());
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) copy->Row(y)[x] = src.Row(y)[x];
  bool mono = b->Kind() == TBitmapObject::TKind::Monochrome;
  return HBRUSH(TGdiObjectTable::Instance().Add(std::make_shared<TBrushObject>(copy, mono)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& brush) {
  if (brush.lbStyle == BS_NULL)
    return HBRUSH(TGdiObjectTable::Instance().Add(std::make_shared<TBrushObject>(BS_NULL, 0)));
  if (brush.lbStyle == BS_SOLID) return CreateSolidBrush(brush.lbColor);
  return nullptr;
}

HBRUSH GetSysColorBrush(int index) { return TStockObjects::Instance().SysColorBrush(index); }

int GetObject(HBRUSH brush, int size, void* out) {
  auto* b = LookupObject<TBrushObject>(brush.Value());
  if (!b || !out || size < int(sizeof(LOGBRUSH))) return 0;
  auto* lb = static_cast<LOGBRUSH*>(out);
  lb->lbStyle = b->Style();
  lb->lbColor = b->Color();
  return int(sizeof(LOGBRUSH));
}

}  // namespace vandrel
