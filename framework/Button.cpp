#include "framework/Button.h"

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
  if (value == m_default) return;
  m_default = value;
  m_activeDefault = value;
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
  if (focused || m_activeDefault) {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    r = InflateRect(r, -1, -1);
  }
  c->Refresh();
  UINT state = DFCS_BUTTONPUSH | (m_down ? UINT(DFCS_PUSHED) : 0u) | (Enabled() ? 0u : UINT(DFCS_INACTIVE));
  TRect face = r;
  DrawFrameControl(dc, &face, DFC_BUTTON, state);
  TRect text = r;
  if (m_down) text = OffsetRect(text, 1, 1);
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
  m_tracking = true;
  m_down = true;
  SetMouseCapture(true);
  Invalidate();
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!m_tracking) return;
  bool inside = ClientRect().Contains({x, y});
  if (inside != m_down) {
    m_down = inside;
    Invalidate();
  }
}

void TButton::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  bool wasTracking = m_tracking && button == mbLeft;
  if (wasTracking) {
    m_tracking = false;
    m_down = false;
    SetMouseCapture(false);
    Invalidate();
  }
  TCustomControl::MouseUp(button, shift, x, y);
  if (wasTracking && ClientRect().Contains({x, y})) Click();
}

void TButton::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_SPACE && !shift.Contains(ssAlt)) {
    m_down = true;
    Invalidate();
  }
}

void TButton::KeyUp(WORD& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  if (key == VK_SPACE && m_down) {
    m_down = false;
    Invalidate();
    Click();
  }
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGKEY: {
      bool enter = m.WParam == VK_RETURN && (m_activeDefault || Focused());
      bool escape = m.WParam == VK_ESCAPE && m_cancel;
      if ((enter || escape) && CanFocus() && CurrentShiftState().Empty()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    }
    case CM_FOCUSCHANGED: {
      auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
      bool active = dynamic_cast<TButton*>(focused) ? focused == this : m_default;
      if (active != m_activeDefault) {
        m_activeDefault = active;
        Invalidate();
      }
      return;
    }
    case CM_ENTER:
    case CM_EXIT:
      Invalidate();
      break;
    default: break;
  }
  TCustomControl::Dispatch(m);
}

}  // namespace vandrel
