#include "skincontrols/PaintOptions.h"

#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "graphics/BackgroundRequest.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"
#include "platform/win/Paint.h"
#include "skin/SkinnedWindow.h"

namespace vandrel {

TSePaintOptions::TSePaintOptions(TControl& control)
    : m_control(control),
      m_workingFont(std::make_unique<TFont>()),
      m_blending(std::make_unique<TSeBlending>([this] { BlendingChanged(); })) {}

void TSePaintOptions::SetPerformance(TSePerformance value) {
  if (m_performance == value) return;
  if (value == kspNoBuffer && m_blending->Enabled()) return;
  m_performance = value;
  m_control.Invalidate();
}

void TSePaintOptions::SetTransparent(bool value) {
  if (m_transparent == value) return;
  m_transparent = value;
  m_control.Invalidate();
}

void TSePaintOptions::SetBlending(const TSeBlending& value) {
  if (&value == m_blending.get()) return;
  if (value.Enabled() == m_blending->Enabled() && value.Value() == m_blending->Value()) return;
  m_blending->Assign(value);  // reports back through BlendingChanged
}

void TSePaintOptions::BlendingChanged() {
  if (m_blending->Enabled() && m_performance == kspNoBuffer) m_performance = kspDoubleBuffer;
  if (!m_control.Loading()) m_control.Invalidate();
}

void TSePaintOptions::PaintParentBackground(HDC dc, TPoint p, int width, int height, bool siblings) {
  TWinControl* parent = m_control.Parent();
  TDCStateSaver saver(dc);
  const TSeBackgroundRequest request{true, m_control.BoundsRect()};
  auto* form = dynamic_cast<TCustomForm*>(parent);
  if (m_performance != kspNoBuffer) {
    OffsetWindowOrgEx(dc, p.X, p.Y, nullptr);
    SendBackgroundRequest(*parent, dc, request, form != nullptr);
    if (siblings && m_blending->Enabled()) PaintSiblings(dc);
    OffsetWindowOrgEx(dc, -p.X, -p.Y, nullptr);
    return;
  }
  TseBitmap temp;
  temp.SetSize(width, height);
  HDC tdc = temp.DC();
  OffsetWindowOrgEx(tdc, p.X, p.Y, nullptr);
  if (form) {
    TMessage m = MakeBackgroundRequest(tdc, request);
    bool answered;
    {
      TDCStateSaver clip(tdc);
      const TRect b = m_control.BoundsRect();
      IntersectClipRect(tdc, b.Left, b.Top, b.Right, b.Bottom);
      ISeSkinnedWindow* skinned = ActiveSkinnedWindow(*form);
      answered = skinned && skinned->PaintChildBackground(m);
    }
    if (!answered) SendBackgroundRequest(*parent, tdc, request, true);
  } else {
    SendBackgroundRequest(*parent, tdc, request, false);
  }
  OffsetWindowOrgEx(tdc, -p.X, -p.Y, nullptr);
  BitBlt(dc, 0, 0, temp.Width(), temp.Height(), tdc, 0, 0, SRCCOPY);
}

void TSePaintOptions::PaintSiblings(HDC dc) {
  TWinControl* parent = m_control.Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* sibling = dynamic_cast<TGraphicControl*>(parent->Controls(i));
    // A hidden sibling is not part of what lies beneath.
    if (!sibling || !sibling->Visible()) continue;
    TDCStateSaver saver(dc);
    OffsetWindowOrgEx(dc, -sibling->Left(), -sibling->Top(), nullptr);
    TRect c = sibling->ClientRect();
    IntersectClipRect(dc, c.Left, c.Top, c.Right, c.Bottom);
    sibling->Perform(WM_PAINT, HdcToWParam(dc), 0);
  }
}

}  // namespace vandrel
