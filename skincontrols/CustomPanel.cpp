#include "skincontrols/CustomPanel.h"

#include <array>
#include <cstring>

#include "framework/ComponentWatch.h"
#include "framework/Filer.h"
#include "framework/PropertyInfo.h"
#include "graphics/PaintHelpers.h"
#include "graphics/TextHelpers.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/FrameControl.h"

namespace vandrel {
namespace {

constexpr std::array<std::string_view, 2> kButtonKindNames = {"pbkRoll", "pbkHide"};
static_assert(kButtonKindNames.size() == size_t(pbkHide) + 1);

}  // namespace

const TClassInfo& TSeCustomPanel::StaticClassInfo() {
  using T = TSeCustomPanel;
  static const TClassInfo info("TSeCustomPanel", &TSeCustomControl::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Boolean("AnimateRoll", &T::AnimateRoll, &T::SetAnimateRoll, false),
      prop::Integer("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 1),
      prop::Integer("BorderWidth", &T::BorderWidth, &T::SetBorderWidth, 3),
      prop::Integer("ButtonCursor", &T::ButtonCursor, &T::SetButtonCursor, crDefault),
      prop::String("ButtonHint", &T::ButtonHint, &T::SetButtonHint),
      prop::Enum("ButtonKind", &T::ButtonKind, &T::SetButtonKind, kButtonKindNames, pbkRoll),
      prop::Color("Color", &T::Color, &T::SetColor, clWindow),
      prop::WideString("Caption", &T::Caption, &T::SetCaption),
      prop::String("CaptionHint", &T::CaptionHint, &T::SetCaptionHint),
      prop::Integer("CaptionCursor", &T::CaptionCursor, &T::SetCaptionCursor, crDefault),
      prop::Boolean("Rolled", &T::Rolled, &T::SetRolled, false),
      prop::Boolean("ParentRoll", &T::ParentRoll, &T::SetParentRoll, false),
      prop::Boolean("ShowBevel", &T::ShowBevel, &T::SetShowBevel, true),
      prop::Boolean("ShowButton", &T::ShowButton, &T::SetShowButton, true),
      prop::Boolean("ShowCaption", &T::ShowCaption, &T::SetShowCaption, true),
      prop::Event("OnButtonClick", &T::OnButtonClick),
      prop::Event("OnRollup", &T::OnRollup),
      prop::Event("OnHide", &T::OnHide),
      prop::Event("OnBeforeRoll", &T::OnBeforeRoll),
  });
  return info;
}

TSeCustomPanel::TSeCustomPanel(TComponent* owner) : TSeCustomControl(owner) {
  SetControlStyle(ControlStyle().Include(csAcceptsControls));
  SetColor(clWindow);
  SetBorderWidth(3);
  SetBevelWidth(1);
  SetBounds(Left(), Top(), 100, 90);
}

void TSeCustomPanel::Realigned() {
  Realign();
}

void TSeCustomPanel::SetCaptionHeight(int value) {
  if (m_captionHeight == value) return;
  m_captionHeight = value;
  Invalidate();
  Realigned();
}

void TSeCustomPanel::SetShowCaption(bool value) {
  if (m_showCaption == value) return;
  m_showCaption = value;
  Realigned();
  Invalidate();
}

void TSeCustomPanel::BorderChanged() {
  TSeCustomControl::BorderChanged();
  Realigned();
}

void TSeCustomPanel::GetContentRect(TRect& rect) const { rect = {0, 0, CachedWidth(), CachedHeight()}; }

void TSeCustomPanel::SetShowBevel(bool value) {
  if (m_showBevel == value) return;
  m_showBevel = value;
  Invalidate();
  Realigned();
}

void TSeCustomPanel::SetShowButton(bool value) {
  if (m_showButton == value) return;
  m_showButton = value;
  Invalidate();
}

void TSeCustomPanel::SetButtonKind(TSePanelButtonKind value) {
  if (m_buttonKind == value) return;
  m_buttonKind = value;
  Invalidate();
}

void TSeCustomPanel::SetCaption(const std::string& value) {
  if (m_caption == value) return;
  m_caption = value;
  Invalidate();
}

void TSeCustomPanel::SetRolled(bool value) {
  if (m_rolled == value) return;
  if (value) RollUp(); else Unroll();
}

void TSeCustomPanel::GetCaptionRect(TRect& rect) const {
  rect = {0, 0, CachedWidth(), CachedHeight()};
  // Visual styles are never active here, so the bevel always takes its room.
  if (m_showBevel) rect = InflateRect(rect, -BevelWidth(), -BevelWidth());
  rect.Bottom = rect.Top + m_captionHeight;
}

TRect TSeCustomPanel::ButtonRect() const {
  if (!m_showCaption || !m_showButton) return {0, 0, 0, 0};
  TRect c;
  GetCaptionRect(c);
  c.Left = c.Right - c.Height();
  return InflateRect(c, -2, -2);
}

TRect TSeCustomPanel::GetClientRect() const {
  TRect r{0, 0, CachedWidth(), CachedHeight()};
  r = InflateRect(r, -BorderWidth(), -BorderWidth());
  if (m_showBevel) r = InflateRect(r, -BevelWidth(), -BevelWidth());
  if (m_showCaption) r.Top += m_captionHeight;
  return r;
}

void TSeCustomPanel::SetBounds(int left, int top, int width, int height) {
  // A rolled panel keeps its height whatever alignment or callers ask for.
  if (m_rolled) height = CachedHeight();
  TSeCustomControl::SetBounds(left, top, width, height);
}

void TSeCustomPanel::Loaded() {
  TSeCustomControl::Loaded();
  Invalidate();
}

void TSeCustomPanel::StepHeight(int height) {
  SetHeight(height);
  if (m_parentRoll && Parent()) Parent()->SetHeight(Height());
}

void TSeCustomPanel::RollUp() {
  TComponentWatch alive(*this);
  if (OnBeforeRoll) OnBeforeRoll(this);
  if (!alive) return;
  m_normalHeight = CachedHeight();
  TRect c;
  GetCaptionRect(c);
  const int target = c.Height() + 2 * BevelWidth();
  if (m_animateRoll) {
    for (int h = m_normalHeight; h >= target; --h) {
      if (h % 4 == 0) SetHeight(h);
      if (m_parentRoll && Parent()) Parent()->SetHeight(Height());
    }
  }
  StepHeight(target);
  m_rolled = true;
  Invalidate();
  if (OnRollup) OnRollup(this);
}

void TSeCustomPanel::Unroll() {
  TComponentWatch alive(*this);
  if (OnBeforeRoll) OnBeforeRoll(this);
  if (!alive) return;
  m_rolled = false;
  if (m_animateRoll) {
    for (int h = CachedHeight(); h <= m_normalHeight; ++h) {
      if (h % 4 == 0) SetHeight(h);
      if (m_parentRoll && Parent()) Parent()->SetHeight(Height());
    }
  }
  StepHeight(m_normalHeight);
  if (OnRollup) OnRollup(this);
}

void TSeCustomPanel::PaintClient() {
  if (!m_showCaption) {
    PaintBackground();
    return;
  }
  TRect c;
  GetCaptionRect(c);
  {
    HDC dc = Canvas()->Handle();
    TDCStateSaver saver(dc);
    ExcludeClipRect(dc, c.Left, c.Top, c.Right, c.Bottom);
    Canvas()->Refresh();
    PaintBackground();
  }
  Canvas()->Refresh();
  PaintCaption();
}

void TSeCustomPanel::PaintBackground() {
  TCanvas& canvas = *Canvas();
  TRect r{0, 0, CachedWidth(), CachedHeight()};
  FillColorRect(canvas, r, Color());
  if (m_showBevel) {
    // An etched line, one pixel each way, whatever the bevel width reserves.
    DrawFrame3D(canvas, r, clBtnShadow, clBtnHighlight);
    r = InflateRect(r, -1, -1);
    DrawFrame3D(canvas, r, clBtnHighlight, clBtnShadow);
  }
}

void TSeCustomPanel::PaintCaption() {
  if (!m_showCaption) return;
  TCanvas& canvas = *Canvas();
  TRect c;
  GetCaptionRect(c);
  FillColorRect(canvas, c, clBtnFace);
  DrawFrame3D(canvas, c, clBtnHighlight, clBtnShadow);
  c.Left += 5;
  c.Right -= 5;
  canvas.SetFont(*Font());
  DrawWideText(canvas, m_caption, c, BiDiTextFlags(DT_SINGLELINE | DT_VCENTER, true));
  if (!m_showButton) return;
  TRect b = ButtonRect();
  UINT type = DFC_SCROLL;
  UINT state = m_rolled ? DFCS_SCROLLDOWN : DFCS_SCROLLUP;
  if (m_buttonKind == pbkHide) {
    type = DFC_CAPTION;
    state = DFCS_CAPTIONCLOSE;
  }
  if (m_button.Pressed()) state |= DFCS_PUSHED;
  TRect frame = b;
  DrawFrameControl(canvas.Handle(), &frame, type, state);
  canvas.Refresh();
  if (m_button.Pressed()) DrawFrame3D(canvas, b, clBtnShadow, clBtnHighlight);
  else if (m_button.Hot()) DrawFrame3D(canvas, b, clBtnHighlight, clBtnShadow);
  else DrawFrameRect(canvas, b, clBtnFace);
  DrawFrameRect(canvas, InflateRect(b, -1, -1), clBtnFace);
}

void TSeCustomPanel::InvalidateButton() { InvalidateRect(ButtonRect(), false); }

void TSeCustomPanel::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeCustomControl::MouseDown(button, shift, x, y);
  if (alive && button == mbLeft && m_button.Press(ButtonRect(), {x, y})) InvalidateButton();
}

void TSeCustomPanel::MouseMove(TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeCustomControl::MouseMove(shift, x, y);
  if (!alive) return;
  TRect c;
  GetCaptionRect(c);
  const TRect b = ButtonRect();
  if (m_showCaption && c.Contains({x, y})) SetCursor(m_captionCursor);
  if (b.Contains({x, y})) SetCursor(m_buttonCursor);
  if (m_button.Move(b, {x, y}, shift.Contains(ssLeft))) InvalidateButton();
}

void TSeCustomPanel::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TComponentWatch alive(*this);
  TSeCustomControl::MouseUp(button, shift, x, y);
  if (!alive || button != mbLeft) return;
  // A press that left the button stays unpressed and clicks nothing.
  const bool wasPressed = m_button.Pressed();
  const bool click = m_button.Release(ButtonRect(), {x, y});
  if (wasPressed) InvalidateButton();
  if (click) ButtonClick();
}

void TSeCustomPanel::MouseLeave() {
  TSeCustomControl::MouseLeave();
  if (m_button.Leave()) InvalidateButton();
}

void TSeCustomPanel::ButtonClick() {
  // Every event may free the panel: nothing of it is touched after one that did.
  TComponentWatch alive(*this);
  if (m_buttonKind == pbkRoll) {
    SetRolled(!m_rolled);
  } else {
    if (OnHide) OnHide(this);
    if (!alive) return;
    Hide();
  }
  if (alive && OnButtonClick) OnButtonClick(this);
}

void TSeCustomPanel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      TSeCustomControl::Dispatch(m);
      SetCaption(Text());
      return;
    case CM_HINTSHOW: {
      TSeCustomControl::Dispatch(m);
      auto* info = reinterpret_cast<THintInfo*>(m.LParam);
      TRect c;
      GetCaptionRect(c);
      if (info && m_showCaption && c.Contains(info->CursorPos))
        info->HintStr = (m_showButton && m_button.Hot()) ? m_buttonHint : m_captionHint;
      return;
    }
    default:
      TSeCustomControl::Dispatch(m);
  }
}

void TSeCustomPanel::DefineProperties(TFiler& filer) {
  TSeCustomControl::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "NormalHeight",
      [this](TStream& s) {
        if (s.Size() != 4) throw EReadError("NormalHeight: 4 bytes expected");
        std::uint8_t b[4];
        s.ReadBuffer(b, 4);
        m_normalHeight = std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                                      std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
      },
      [this](TStream& s) {
        const std::uint32_t v = std::uint32_t(m_normalHeight);
        const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
        s.Write(b, 4);
      },
      true);
}

}  // namespace vandrel
