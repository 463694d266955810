#include "skincontrols/GraphicControl.h"

#include "framework/Form.h"
#include "framework/PropertyInfo.h"
#include "graphics/BackgroundRequest.h"
#include "skincontrols/PaintSurface.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"

namespace vandrel {

const TClassInfo& TSeGraphicControl::StaticClassInfo() {
  using T = TSeGraphicControl;
  static const TClassInfo info("TSeGraphicControl", &TGraphicControl::StaticClassInfo(), nullptr, {
      prop::Object("Blending", &T::Blending),
      prop::Enum("Performance", &T::Performance, &T::SetPerformance, kPerformanceNames),
      prop::Boolean("Transparent", &T::Transparent, &T::SetTransparent),
      prop::Event("OnMouseEnter", &T::OnMouseEnter),
      prop::Event("OnMouseLeave", &T::OnMouseLeave),
  });
  return info;
}

TSeGraphicControl::TSeGraphicControl(TComponent* owner)
    : TGraphicControl(owner),
      m_workingFont(std::make_unique<TFont>()),
      m_blending(std::make_unique<TSeBlending>([this] { BlendingChanged(); })) {
  SetControlStyle(ControlStyle().Include(csOpaque));
  SetColor(clBtnFace);
  SetBounds(0, 0, 100, 30);
}

TSeGraphicControl::~TSeGraphicControl() = default;

void TSeGraphicControl::SetPerformance(TSePerformance value) {
  if (m_performance == value) return;
  if (value == kspNoBuffer && m_blending->Enabled()) return;
  m_performance = value;
  Invalidate();
}

void TSeGraphicControl::SetTransparent(bool value) {
  if (m_transparent == value) return;
  m_transparent = value;
  Invalidate();
}

void TSeGraphicControl::SetBlending(const TSeBlending& value) {
  if (&value == m_blending.get()) return;
  if (value.Enabled() == m_blending->Enabled() && value.Value() == m_blending->Value()) return;
  m_blending->Assign(value);
}

void TSeGraphicControl::BlendingChanged() {
  if (m_blending->Enabled() && m_performance == kspNoBuffer) m_performance = kspDoubleBuffer;
  if (!Loading()) Invalidate();
}

void TSeGraphicControl::Loaded() {
  TGraphicControl::Loaded();
  Invalidate();
}

void TSeGraphicControl::Paint() {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  TCanvas& canvas = *Canvas();
  TPaintSurface surface(canvas, m_performance, w, h, false);
  m_workingFont->Assign(*Font());
  if (m_transparent) PaintParentBackground(surface.DC());
  canvas.Refresh();
  PaintClient();
  if (m_blending->Enabled() && m_performance != kspNoBuffer) {
    m_blendBuffer.SetSize(w, h);
    m_blendBuffer.SetAlpha(255);
    PaintParentBackground(m_blendBuffer.DC());
    m_blendBuffer.SetAlpha(255);
    surface.BlendOver(m_blendBuffer, m_blending->Value());
  }
  surface.Present();
}

void TSeGraphicControl::PaintClient() {
  if (m_transparent) return;
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSeGraphicControl::PaintParentBackground(HDC dc) {
  TWinControl* parent = Parent();
  if (!parent || !parent->HandleAllocated() || Width() <= 0 || Height() <= 0) return;
  TDCStateSaver saver(dc);
  const TPoint p{Left(), Top()};
  const TSeBackgroundRequest request{true, BoundsRect()};
  auto* form = dynamic_cast<TCustomForm*>(parent);
  if (m_performance != kspNoBuffer) {
    OffsetWindowOrgEx(dc, p.X, p.Y, nullptr);
    SendBackgroundRequest(*parent, dc, request, form != nullptr);
    OffsetWindowOrgEx(dc, -p.X, -p.Y, nullptr);
    return;
  }
  TseBitmap temp;
  temp.SetSize(Width(), Height());
  HDC tdc = temp.DC();
  OffsetWindowOrgEx(tdc, p.X, p.Y, nullptr);
  if (form) {
    TMessage m = MakeBackgroundRequest(tdc, request);
    bool answered;
    {
      TDCStateSaver clip(tdc);
      IntersectClipRect(tdc, Left(), Top(), Left() + Width(), Top() + Height());
      answered = PaintSkinnedWindowBackground(*form, m);
    }
    if (!answered) SendBackgroundRequest(*parent, tdc, request, true);
  } else {
    SendBackgroundRequest(*parent, tdc, request, false);
  }
  OffsetWindowOrgEx(tdc, -p.X, -p.Y, nullptr);
  BitBlt(dc, 0, 0, temp.Width(), temp.Height(), tdc, 0, 0, SRCCOPY);
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
