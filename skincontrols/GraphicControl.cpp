#include "skincontrols/GraphicControl.h"

#include "framework/PropertyInfo.h"
#include "framework/WinControl.h"
#include "graphics/PaintSurface.h"

namespace vandrel {

const TClassInfo& TSeGraphicControl::StaticClassInfo() {
  static const TClassInfo info("TSeGraphicControl", &TGraphicControl::StaticClassInfo(), nullptr,
                               PaintOptionProperties<TSeGraphicControl>());
  return info;
}

TSeGraphicControl::TSeGraphicControl(TComponent* owner) : TGraphicControl(owner), m_paint(*this) {
  SetControlStyle(ControlStyle().Include(csOpaque));
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

TSeGraphicControl::~TSeGraphicControl() = default;

void TSeGraphicControl::Loaded() {
  TGraphicControl::Loaded();
  Invalidate();
}

void TSeGraphicControl::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  TCanvas& canvas = *Canvas();
  TPaintSurface surface(canvas, Performance(), w, h, false);
  WorkingFont()->Assign(*Font());
  if (Transparent()) PaintParentBackground(surface.DC());
  canvas.Refresh();
  PaintClient();
  m_paint.BlendOverBackground(surface, w, h, [this](HDC dc) { PaintParentBackground(dc); });
  surface.Present();
}

void TSeGraphicControl::PaintClient() {
  if (Transparent()) return;
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSeGraphicControl::PaintParentBackground(HDC dc) {
  TWinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated() || Width() <= 0 || Height() <= 0) return;
  // Windowless siblings are not painted under this control: it is one of them.
  m_paint.PaintParentBackground(dc, {Left(), Top()}, Width(), Height(), false);
}

void TSeGraphicControl::MouseEnter() {
  m_hot = true;
  if (OnMouseEnter) OnMouseEnter(this);
}

void TSeGraphicControl::MouseLeave() {
  m_hot = false;
  if (OnMouseLeave) OnMouseLeave(this);
}

void TSeGraphicControl::Dispatch(TMessage& m) {
  const LPARAM self = reinterpret_cast<LPARAM>(static_cast<TControl*>(this));
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
    TGraphicControl::Dispatch(m);
    if (m.LParam == 0 || m.LParam == self) {
      if (m.Msg == CM_MOUSEENTER) MouseEnter(); else MouseLeave();
    }
    return;
  }
  TGraphicControl::Dispatch(m);
}

}  // namespace vandrel
