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
    m_canvas->Lock();
    m_canvas->FreeHandle();
    m_canvas->SetHandle(HdcFromWParam(m.WParam));
    try {
      m_canvas->Font()->Assign(*Font());
      m_canvas->Brush()->SetColor(Color());
      Paint();
    } catch (...) {
      m_canvas->SetHandle(HDC());
      m_canvas->Unlock();
      throw;
    }
    m_canvas->SetHandle(HDC());
    m_canvas->Unlock();
    return;
  }
  TControl::Dispatch(m);
}

}  // namespace vandrel
