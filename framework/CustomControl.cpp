#include "framework/CustomControl.h"

#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TCustomControl::StaticClassInfo() {
  static const TClassInfo info("TCustomControl", &TWinControl::StaticClassInfo(), nullptr, {});
  return info;
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), m_canvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() { m_canvas->FreeHandle(); }

void TCustomControl::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(*m_canvas, dc);
  Paint();
}

}  // namespace vandrel
