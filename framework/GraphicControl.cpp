#include "framework/GraphicControl.h"

#include "framework/PropertyInfo.h"
#include "platform/win/Paint.h"

namespace vandrel {

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info("TGraphicControl", &TControl::StaticClassInfo(), nullptr, {});
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), m_canvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() { m_canvas->FreeHandle(); }

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    TCanvasPaintScope scope(*m_canvas, HdcFromWParam(m.WParam));
    Paint();
    return;
  }
  TControl::Dispatch(m);
}

}  // namespace vandrel
