#include "framework/Button.h"

#include "framework/ComponentWatch.h"
#include "framework/Form.h"
#include "framework/PropertyInfo.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/Shapes.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel {

const TClassInfo& TButton::StaticClassInfo() {
  using T = TButton;
  static const TClassInfo info("TButton", &TCustomControl::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Boolean("Cancel", &T::Cancel, &T::SetCancel, false),
      prop::Boolean("Default", &T::Default, &T::SetDefault, false),
      prop::Integer("ModalResult", &T::ModalResult, &T::SetModalResult, 0),
  });
  return info;
}

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
  // The button clicks itself on release, so the generic click generation stays off.
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csOpaque});
  SetParentColor(false);
  SetColor(clBtnFace);
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
  if (value == m_roles.Default()) return;
  m_roles.SetDefault(value);
  m_roles.SetActiveDefault(value);
  Invalidate();
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this); form && m_modalResult != 0) form->SetModalResult(m_modalResult);
  TCustomControl::Click();
}

void TButton::Paint() {
  TCanvas* c = Canvas();
  HDC dc = c->Handle();
  TRect r = ClientRect();
  bool focused = Focused();
  if (focused || m_roles.ActiveDefault()) {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    r = InflateRect(r, -1, -1);
  }
  c->Refresh();
  const bool down = m_press.Pressed();
  UINT state = DFCS_BUTTONPUSH | (down ? UINT(DFCS_PUSHED) : 0u) | (Enabled() ? 0u : UINT(DFCS_INACTIVE));
  TRect face = r;
  DrawFrameControl(dc, &face, DFC_BUTTON, state);
  TRect text = r;
  if (down) text = OffsetRect(text, 1, 1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(*Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  c->TextRect(text, Caption(), tfCenter | tfVerticalCenter | tfSingleLine);
  if (focused) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->DrawFocusRect(InflateRect(r, -3, -3));
  }
}

void TButton::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (CanFocus()) SetFocus();
  m_press.Press(ClientRect(), {x, y});
  SetMouseCapture(true);
  Invalidate();
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (m_press.Tracking() && m_press.Move(ClientRect(), {x, y}, true)) Invalidate();
}

void TButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  const bool wasTracking = m_press.Tracking() && button == mbLeft;
  bool click = false;
  if (wasTracking) {
    click = m_press.Release(ClientRect(), {x, y});
    SetMouseCapture(false);
    Invalidate();
  }
  TComponentWatch alive(*this);
  TCustomControl::MouseUp(button, shift, x, y);
  if (alive && click) Click();
}

void TButton::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_SPACE && !shift.Contains(ssAlt) && m_press.PressKey()) Invalidate();
}

void TButton::KeyUp(WORD& key, TShiftState shift) {
  TComponentWatch alive(*this);
  TCustomControl::KeyUp(key, shift);
  if (!alive || key != VK_SPACE || !m_press.ReleaseKey()) return;
  Invalidate();
  Click();
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGKEY:
      if (m_roles.AnswerDialogKey(*this, m)) return;
      break;
    case CM_FOCUSCHANGED:
      if (m_roles.FocusChanged(reinterpret_cast<TWinControl*>(m.LParam), this, true)) Invalidate();
      return;
    case CM_ENTER:
    case CM_EXIT:
      Invalidate();
      break;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

}  // namespace vandrel
