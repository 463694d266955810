#include "framework/Control.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "framework/Actions.h"
#include "framework/Application.h"
#include "framework/ComponentWatch.h"
#include "framework/Form.h"
#include "framework/PopupMenu.h"
#include "framework/PropertyInfo.h"
#include "framework/SizeConstraints.h"
#include "framework/WinControl.h"
#include "platform/core/Text.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

namespace vandrel {

namespace {
constexpr std::array<std::string_view, 7> kAlignNames = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"};
constexpr std::array<std::string_view, 4> kAnchorNames = {"akLeft", "akTop", "akRight", "akBottom"};
constexpr std::array<std::string_view, 4> kBiDiNames = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                                        "bdRightToLeftReadingOnly"};
static_assert(kAlignNames.size() == size_t(alCustom) + 1);
static_assert(kAnchorNames.size() == size_t(akBottom) + 1);
static_assert(kBiDiNames.size() == size_t(bdRightToLeftReadingOnly) + 1);

TControl* g_captureControl = nullptr;
TControl* g_mouseControl = nullptr;
}  // namespace

TShiftState ShiftStateFromMouse(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState CurrentShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

const TClassInfo& TControl::StaticClassInfo() {
  using T = TControl;
  static const TClassInfo info("TControl", &TComponent::StaticClassInfo(), nullptr, {
      prop::Integer("Left", &T::Left, &T::SetLeft),
      prop::Integer("Top", &T::Top, &T::SetTop),
      prop::Integer("Width", &T::Width, &T::SetWidth),
      prop::Integer("Height", &T::Height, &T::SetHeight),
      prop::Enum("Align", &T::Align, &T::SetAlign, kAlignNames, alNone),
      prop::Set("Anchors", &T::Anchors, &T::SetAnchors, kAnchorNames, TAnchors{akLeft, akTop}),
      prop::Enum("BiDiMode", &T::BiDiMode, &T::SetBiDiMode, kBiDiNames, bdLeftToRight),
      prop::String("Caption", &T::Caption, &T::SetCaption),
      prop::Color("Color", &T::Color, &T::SetColor),
      prop::Object("Constraints", &T::Constraints),
      prop::Integer("Cursor", &T::Cursor, &T::SetCursor, crDefault),
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, true),
      prop::Object("Font", &T::Font),
      prop::String("Hint", &T::Hint, &T::SetHint),
      prop::Boolean("ParentBiDiMode", &T::ParentBiDiMode, &T::SetParentBiDiMode, true),
      prop::Boolean("ParentColor", &T::ParentColor, &T::SetParentColor, true),
      prop::Boolean("ParentFont", &T::ParentFont, &T::SetParentFont, true),
      prop::Boolean("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint, true),
      prop::Boolean("ShowHint", &T::ShowHint, &T::SetShowHint, false),
      prop::Boolean("Visible", &T::Visible, &T::SetVisible, true),
      prop::Event("OnClick", &T::OnClick),
      prop::Event("OnDblClick", &T::OnDblClick),
      prop::Event("OnMouseDown", &T::OnMouseDown),
      prop::Event("OnMouseMove", &T::OnMouseMove),
      prop::Event("OnMouseUp", &T::OnMouseUp),
      prop::Event("OnResize", &T::OnResize),
  });
  return info;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), m_constraints(std::make_unique<TSizeConstraints>()), m_font(std::make_unique<TFont>()) {
  m_font->OnChange = [this](TFont*) { FontChanged(); };
  m_constraints->OnChange = [this](TSizeConstraints*) { SetBounds(m_left, m_top, m_width, m_height); };
}

TControl::~TControl() {
  if (g_captureControl == this) {
    g_captureControl = nullptr;
    ReleaseCapture();
  }
  if (g_mouseControl == this) g_mouseControl = nullptr;
  if (TApplication* app = Application()) app->ControlDestroying(this);
  m_actionLink.reset();
  if (m_parent) m_parent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == m_parent) return;
  if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
  for (TWinControl* p = parent; p; p = p->Parent())
    if (p == this) throw EInvalidOperation("Cannot insert own parent");
  if (m_parent) m_parent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  m_constraints->Constrain(width, height);
  width = std::max(width, 0);
  height = std::max(height, 0);
  bool sized = width != m_width || height != m_height;
  if (left == m_left && top == m_top && !sized) return;
  TRect old = BoundsRect();
  if (m_parent && !dynamic_cast<TWinControl*>(this) && m_visible) m_parent->InvalidateRect(old, true);
  m_left = left;
  m_top = top;
  m_width = width;
  m_height = height;
  m_anchorRestValid = false;
  BoundsChanged();
  if (m_parent && !dynamic_cast<TWinControl*>(this) && m_visible) m_parent->InvalidateRect(BoundsRect(), true);
  RequestAlign();
  if (sized && !Loading()) Resize();
}

TRect TControl::GetClientRect() const { return Rect(0, 0, m_width, m_height); }

void TControl::SetClientWidth(int value) { SetWidth(m_width - ClientWidth() + value); }
void TControl::SetClientHeight(int value) { SetHeight(m_height - ClientHeight() + value); }

TPoint TControl::ClientOrigin() const {
  if (!m_parent) return {m_left, m_top};
  return m_parent->ClientOrigin() + TPoint{m_left, m_top};
}

TPoint TControl::ClientToParent(TPoint p, const TWinControl* ancestor) const {
  TPoint s = ClientToScreen(p);
  return ancestor ? ancestor->ScreenToClient(s) : s;
}

void TControl::SetAlign(TAlign align) {
  if (align == m_align) return;
  TAlign old = m_align;
  m_align = align;
  m_anchors = TAnchors{akLeft, akTop};
  if (align == alTop || align == alBottom || align == alClient) m_anchors.Include(akRight);
  if (align == alLeft || align == alRight || align == alClient) m_anchors.Include(akBottom);
  if (align == alBottom || align == alClient) m_anchors.Include(akBottom);
  if (align == alRight || align == alClient) m_anchors.Include(akRight);
  if (old != alNone || align != alNone) RequestAlign();
}

void TControl::SetAnchors(TAnchors anchors) {
  if (anchors == m_anchors) return;
  m_anchors = anchors;
  m_anchorRestValid = false;
}

void TControl::RequestAlign() {
  if (m_parent) m_parent->AlignControl(this);
}

bool TControl::IsVisibleOnScreen() const {
  if (!m_visible) return false;
  return m_parent ? m_parent->IsVisibleOnScreen() : true;
}

void TControl::SetVisible(bool visible) {
  if (visible == m_visible) return;
  if (!visible && m_parent && !dynamic_cast<TWinControl*>(this)) m_parent->InvalidateRect(BoundsRect(), true);
  m_visible = visible;
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0, 0);
  if (visible && m_parent && !dynamic_cast<TWinControl*>(this)) m_parent->InvalidateRect(BoundsRect(), true);
  RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color) {
  if (color == m_color) return;
  m_color = color;
  m_parentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == m_parentColor) return;
  m_parentColor = value;
  if (value && m_parent && !Loading()) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged() {
  if (!m_settingParentFont) m_parentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
  if (value == m_parentFont) return;
  m_parentFont = value;
  if (value && m_parent && !Loading()) Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetText(const std::string& text) {
  if (text == m_text) return;
  m_text = text;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool value) {
  if (value == m_showHint) return;
  m_showHint = value;
  m_parentShowHint = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (value == m_parentShowHint) return;
  m_parentShowHint = value;
  if (value && m_parent && !Loading()) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == m_cursor) return;
  m_cursor = cursor;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode mode) {
  if (mode == m_biDiMode) return;
  m_biDiMode = mode;
  m_parentBiDiMode = false;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value) {
  if (value == m_parentBiDiMode) return;
  m_parentBiDiMode = value;
  if (value && m_parent && !Loading()) Perform(CM_PARENTBIDIMODECHANGED);
}

void TControl::ParentPropertyChanged() {
  if (!m_parent) return;
  if (m_parentColor) Perform(CM_PARENTCOLORCHANGED);
  if (m_parentFont) Perform(CM_PARENTFONTCHANGED);
  if (m_parentShowHint) Perform(CM_PARENTSHOWHINTCHANGED);
  if (m_parentBiDiMode) Perform(CM_PARENTBIDIMODECHANGED);
}

TBasicAction* TControl::Action() const { return m_actionLink ? m_actionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action) {
  if (action == Action()) return;
  if (Action()) Action()->RemoveFreeNotification(this);
  if (!action) {
    m_actionLink.reset();
    return;
  }
  if (!m_actionLink) m_actionLink = std::make_unique<TControlActionLink>(this);
  action->FreeNotification(this);
  m_actionLink->SetAction(action);
}

void TControl::ActionChange(TBasicAction*, bool) {}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == m_popupMenu) return;
  if (m_popupMenu) m_popupMenu->RemoveFreeNotification(this);
  m_popupMenu = menu;
  if (m_popupMenu) m_popupMenu->FreeNotification(this);
}

bool TControl::DoContextPopup(TPoint screenPt) {
  if (!m_popupMenu || !m_popupMenu->AutoPopup()) return false;
  m_popupMenu->SetPopupComponent(this);
  m_popupMenu->Popup(screenPt.X, screenPt.Y);
  return true;
}

void TControl::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && m_actionLink && component == m_actionLink->Action()) m_actionLink.reset();
  if (operation == opRemove && component == m_popupMenu) m_popupMenu = nullptr;
  TComponent::Notification(component, operation);
}

void TControl::Invalidate() {
  if (m_parent && m_visible) m_parent->InvalidateRect(BoundsRect(), !m_controlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (m_parent) m_parent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (m_parent) m_parent->SetChildZOrder(this, true);
}

void TControl::SendToBack() {
  if (m_parent) m_parent->SetChildZOrder(this, false);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (m_controlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (m_controlStyle.Contains(csClickEvents)) m_controlState.Include(csClicked);
      break;
    case WM_LBUTTONUP: m_controlState.Exclude(csLButtonDown); break;
    default: break;
  }
  Dispatch(m);
}

void TControl::MouseMessage(TMessage& m, bool down, TMouseBtn button, bool dbl) {
  TPoint p = LParamToPoint(m.LParam);
  TShiftState shift = ShiftStateFromMouse(m.WParam);
  if (dbl) shift.Include(ssDouble);
  if (down) {
    if (dbl && m_controlStyle.Contains(csDoubleClicks) && button == mbLeft) DblClick();
    MouseDown(button, shift, p.X, p.Y);
    return;
  }
  if (button == mbLeft) {
    if (m_controlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (m_controlState.Contains(csClicked)) {
      m_controlState.Exclude(csClicked);
      // The click handler may free this control.
      TComponentWatch alive(*this);
      if (GetClientRect().Contains(p) || Rect(0, 0, m_width, m_height).Contains(p)) Click();
      if (!alive) return;
    }
  }
  MouseUp(button, shift, p.X, p.Y);
  if (button == mbRight) DoContextPopup(ClientToScreen(p));
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: MouseMessage(m, true, mbLeft, false); return;
    case WM_LBUTTONDBLCLK: MouseMessage(m, true, mbLeft, true); return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: MouseMessage(m, true, mbRight, m.Msg == WM_RBUTTONDBLCLK); return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: MouseMessage(m, true, mbMiddle, m.Msg == WM_MBUTTONDBLCLK); return;
    case WM_LBUTTONUP: MouseMessage(m, false, mbLeft, false); return;
    case WM_RBUTTONUP: MouseMessage(m, false, mbRight, false); return;
    case WM_MBUTTONUP: MouseMessage(m, false, mbMiddle, false); return;
    case WM_MOUSEMOVE: {
      TPoint p = LParamToPoint(m.LParam);
      MouseMove(ShiftStateFromMouse(m.WParam), p.X, p.Y);
      return;
    }
    case WM_CANCELMODE:
      if (MouseCapture()) SetMouseCapture(false);
      m_controlState.Exclude(csClicked);
      return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    case CM_PARENTCOLORCHANGED:
      if (m_parentColor && m_parent) {
        TColor c = m_parent->Color();
        if (c != m_color) {
          m_color = c;
          Perform(CM_COLORCHANGED);
        }
        m_parentColor = true;
      }
      return;
    case CM_PARENTFONTCHANGED:
      if (m_parentFont && m_parent) {
        m_settingParentFont = true;
        m_font->Assign(*m_parent->Font());
        m_settingParentFont = false;
      }
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (m_parentShowHint && m_parent && m_parent->ShowHint() != m_showHint) {
        m_showHint = m_parent->ShowHint();
        Perform(CM_SHOWHINTCHANGED);
      }
      return;
    case CM_PARENTBIDIMODECHANGED:
      if (m_parentBiDiMode && m_parent && m_parent->BiDiMode() != m_biDiMode) {
        m_biDiMode = m_parent->BiDiMode();
        Perform(CM_BIDIMODECHANGED);
      }
      return;
    case CM_HITTEST: m.Result = HTCLIENT; return;
    case WM_CONTEXTMENU: {
      // (-1, -1) comes from the keyboard: the menu opens at the control's centre.
      TPoint p = LParamToPoint(m.LParam);
      if (p == TPoint{-1, -1}) p = ClientToScreen({m_width / 2, m_height / 2});
      if (DoContextPopup(p)) {
        m.Result = 1;
        return;
      }
      DefaultHandler(m);
      return;
    }
    default: DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage&) {}

bool TControl::MouseCapture() const { return g_captureControl == this; }

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  if (value) {
    SetCaptureControl(this);
  } else {
    SetCaptureControl(nullptr);
  }
}

void TControl::Click() {
  if (OnClick && Action()) {
    OnClick(this);
  } else if (m_actionLink && m_actionLink->Action()) {
    m_actionLink->Execute();
  } else if (OnClick) {
    OnClick(this);
  }
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (m_parent) {
    ParentPropertyChanged();
    RequestAlign();
  }
  if (m_actionLink && m_actionLink->Action()) ActionChange(m_actionLink->Action(), true);
}

bool IsAccel(char32_t key, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" shows one "&"
      continue;
    }
    char c = caption[i + 1];
    if (key < 0x80 && (unsigned char)(c) < 0x80) return AsciiUpper(char(key)) == AsciiUpper(c);
    return false;
  }
  return false;
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

TControl* GetCaptureControl() {
  if (g_captureControl) {
    // The platform may have taken the capture away (another window captured, a menu opened).
    TWinControl* owner = dynamic_cast<TWinControl*>(g_captureControl);
    if (!owner) owner = g_captureControl->Parent();
    if (!owner || !owner->HandleAllocated() || GetCapture() != owner->Handle()) g_captureControl = nullptr;
  }
  return g_captureControl;
}

void SetCaptureControl(TControl* control) {
  if (!control) {
    bool had = g_captureControl != nullptr;
    g_captureControl = nullptr;
    if (had) ReleaseCapture();
    return;
  }
  TWinControl* owner = dynamic_cast<TWinControl*>(control);
  if (!owner) owner = control->Parent();
  if (!owner) return;
  g_captureControl = nullptr;
  SetCapture(owner->Handle());
  g_captureControl = control;
}

TControl* MouseControl() { return g_mouseControl; }

TControl* FindControlAtScreen(TPoint screenPt, bool allowDisabled) {
  TWinControl* w = FindControl(WindowFromPoint(screenPt));
  if (!w) return nullptr;
  TControl* c = w->ControlAtPos(w->ScreenToClient(screenPt), allowDisabled, false);
  return c ? c : w;
}

void UpdateMouseControl(TPoint screenPt) {
  TControl* target = FindControlAtScreen(screenPt, true);
  if (target == g_mouseControl) return;
  TControl* old = g_mouseControl;
  g_mouseControl = target;
  if (old) old->Perform(CM_MOUSELEAVE, 0, LPARAM(old));
  // The leave handler may have moved things; only enter what is still the mouse control.
  if (g_mouseControl == target && target) {
    if (auto* w = dynamic_cast<TWinControl*>(target); w && w->HandleAllocated()) {
      TRACKMOUSEEVENT tme;
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = w->Handle();
      TrackMouseEvent(tme);
    } else if (target->Parent() && target->Parent()->HandleAllocated()) {
      TRACKMOUSEEVENT tme;
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = target->Parent()->Handle();
      TrackMouseEvent(tme);
    }
    target->Perform(CM_MOUSEENTER, 0, LPARAM(target));
  }
}

}  // namespace vandrel
