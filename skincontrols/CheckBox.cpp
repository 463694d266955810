#include "skincontrols/CheckBox.h"

#include "framework/ComponentWatch.h"
#include "framework/PropertyInfo.h"
#include "graphics/PaintHelpers.h"
#include "graphics/RectHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/FrameControl.h"
#include "platform/win/VirtualKeys.h"
#include "skincontrols/MeasureCanvas.h"

namespace vandrel {

const TClassInfo& TSeCustomCheckBox::StaticClassInfo() {
  using T = TSeCustomCheckBox;
  static const TClassInfo info("TSeCustomCheckBox", &TSeCustomControl::StaticClassInfo(), ComponentFactory<T>(), {
      prop::WideString("Caption", &T::Caption, &T::SetCaption),
      prop::Boolean("AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed, false),
      prop::Enum("Alignment", &T::Alignment, &T::SetAlignment, kLeftRightNames, ktaLeftJustify),
      // A view of State: State alone is stored.
      prop::Boolean("Checked", &T::Checked, &T::SetChecked, false).Stored(false),
      prop::Integer("Spacing", &T::Spacing, &T::SetSpacing, 5),
      prop::Enum("State", &T::State, &T::SetState, kCheckBoxStateNames, cbUnchecked),
      prop::Boolean("WordWrap", &T::WordWrap, &T::SetWordWrap, false),
      prop::Boolean("TabStop", &T::TabStop, &T::SetTabStop, true),
  });
  return info;
}

TSeCustomCheckBox::TSeCustomCheckBox(TComponent* owner) : TSeCustomControl(owner) {
  // The check box fires OnClick on every state change itself, so the generic click on release
  // stays off.
  SetControlStyle(ControlStyle().Exclude(csClickEvents));
  SetBounds(Left(), Top(), 98, 20);
  SetTabStop(true);
  SetTransparent(true);
  SetPerformance(kspDoubleBuffer);
}

void TSeCustomCheckBox::SetState(TCheckBoxState value) {
  if (m_state == value) return;
  m_state = value;
  // Invalidated first: the click handler may free the control.
  Invalidate();
  Click();
}

void TSeCustomCheckBox::SetSpacing(int value) {
  if (m_spacing == value) return;
  m_spacing = value;
  Invalidate();
}

void TSeCustomCheckBox::SetAlignment(TSeLeftRight value) {
  if (m_alignment == value) return;
  m_alignment = value;
  Invalidate();
}

void TSeCustomCheckBox::SetWordWrap(bool value) {
  if (m_wordWrap == value) return;
  m_wordWrap = value;
  Invalidate();
}

void TSeCustomCheckBox::SetCaption(const std::string& value) {
  if (m_caption == value) return;
  m_caption = value;
  Invalidate();
}

void TSeCustomCheckBox::Click() {
  // A stored state read back is not a user's change.
  if (Loading()) return;
  TSeCustomControl::Click();
}

void TSeCustomCheckBox::Toggle() {
  switch (m_state) {
    case cbUnchecked: SetState(m_allowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

TSize TSeCustomCheckBox::GetCheckSize() { return {13, 13}; }

TRect TSeCustomCheckBox::CheckRect() {
  const TSize size = GetCheckSize();
  const int w = CachedWidth(), h = CachedHeight();
  const TRect bounds = m_alignment == ktaRightJustify ? TRect{w - size.cx, 0, w, h} : TRect{0, 0, w, h};
  return RectCenterVert({0, 0, size.cx, size.cy}, bounds);
}

TRect TSeCustomCheckBox::MeasureCaption(TCanvas& canvas) {
  const TSize check = GetCheckSize();
  const unsigned flags = BiDiTextFlags(DT_EXPANDTABS | (m_wordWrap ? DT_WORDBREAK : 0u), false);
  TRect r{0, 0, CachedWidth() - check.cx - 10, WideTextHeight(canvas, m_caption)};
  DrawWideText(canvas, m_caption, r, flags | DT_CALCRECT);
  const int left = m_alignment == ktaRightJustify ? 2 : check.cx + m_spacing;
  return RectCenterVert(r, {left, 0, CachedWidth(), CachedHeight()});
}

TRect TSeCustomCheckBox::CaptionRect() {
  TMeasureCanvas canvas(*Font());
  return MeasureCaption(canvas);
}

void TSeCustomCheckBox::PaintClient() {
  TSeCustomControl::PaintClient();
  Canvas()->Refresh();
  PaintCheck();
  Canvas()->Refresh();
  PaintCaption();
}

void TSeCustomCheckBox::PaintCheck() {
  // Visual styles are never active here: the classic frame-control glyph.
  UINT state = DFCS_BUTTONCHECK;
  if (m_state == cbChecked) state |= DFCS_CHECKED;
  if (m_state == cbGrayed) state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (!Enabled()) state |= DFCS_INACTIVE;
  TRect g = CheckRect();
  DrawFrameControl(Canvas()->Handle(), &g, DFC_BUTTON, state);
}

void TSeCustomCheckBox::PaintCaption() {
  TCanvas& canvas = *Canvas();
  canvas.SetFont(*WorkingFont());
  TRect r = MeasureCaption(canvas);
  const unsigned flags = BiDiTextFlags(DT_EXPANDTABS | (m_wordWrap ? DT_WORDBREAK : 0u), false);
  DrawEmbossedText(canvas, m_caption, r, flags, !Enabled());
  if (IsFocused()) {
    r = InflateRect(r, 1, 2);
    r.Right += 2;
    DrawFocusFrame(canvas, r, clBtnShadow);
  }
}

void TSeCustomCheckBox::MouseEnter() {
  TSeCustomControl::MouseEnter();
  Invalidate();
}

void TSeCustomCheckBox::MouseLeave() {
  TSeCustomControl::MouseLeave();
  Invalidate();
}

void TSeCustomCheckBox::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeCustomControl::MouseDown(button, shift, x, y);
  if (!alive || button != mbLeft) return;
  if (CanFocus()) SetFocus();
  SetMouseCapture(true);
  m_press.Press({0, 0, CachedWidth(), CachedHeight()}, {x, y});
  Invalidate();
}

void TSeCustomCheckBox::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  if (m_press.Pressed() && button == mbLeft) {
    const bool toggle = m_press.Release({0, 0, CachedWidth(), CachedHeight()}, {x, y});
    Invalidate();
    SetMouseCapture(false);
    if (toggle) {
      TComponentWatch alive(*this);
      Toggle();
      if (!alive) return;
    }
  }
  TSeCustomControl::MouseUp(button, shift, x, y);
}

void TSeCustomCheckBox::KeyDown(WORD& key, TShiftState shift) {
  TComponentWatch alive(*this);
  TSeCustomControl::KeyDown(key, shift);
  if (!alive || key != VK_SPACE) return;
  m_press.PressKey();
  Invalidate();
}

void TSeCustomCheckBox::KeyUp(WORD& key, TShiftState shift) {
  TComponentWatch alive(*this);
  TSeCustomControl::KeyUp(key, shift);
  if (!alive || key != VK_SPACE) return;
  Toggle();
  if (!alive) return;
  m_press.ReleaseKey();
  Invalidate();
}

void TSeCustomCheckBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(char32_t(m.WParam), m_caption) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        m.Result = 1;
        return;
      }
      TSeCustomControl::Dispatch(m);
      return;
    case CM_TEXTCHANGED:
      TSeCustomControl::Dispatch(m);
      SetCaption(Text());
      Invalidate();
      return;
    case CM_SYSCOLORCHANGE:
      Invalidate();
      TSeCustomControl::Dispatch(m);
      return;
    default:
      TSeCustomControl::Dispatch(m);
  }
}

}  // namespace vandrel
