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
  m_canvas->Lock();
  m_canvas->FreeHandle();
  m_canvas->SetHandle(dc);
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
}

}  // namespace vandrel
