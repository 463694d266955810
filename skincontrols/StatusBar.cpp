// TSeCustomStatusBar: construction, published properties, the layout and the hosted controls,
// notifications and the mouse. Geometry of text and images and the painting are in
// StatusBarPaint.cpp.
#include "skincontrols/StatusBar.h"

#include <vector>

#include "framework/Form.h"
#include "graphics/BackgroundRequest.h"
#include "framework/PropertyInfo.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"

namespace vandrel {
const TClassInfo& TSeCustomStatusBar::StaticClassInfo() {
  using T = TSeCustomStatusBar;
  static const TClassInfo info("TSeCustomStatusBar", &TSeCustomControl::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Set("BevelSides", &T::BevelSides, &T::SetBevelSides, kBevelSideNames, kAllBevelSides),
      prop::Enum("BevelInner", &T::BevelInner, &T::SetBevelInner, kBevelCutNames, kbvSpace),
      prop::Enum("BevelOuter", &T::BevelOuter, &T::SetBevelOuter, kBevelCutNames, kbvRaised),
      prop::Enum("BevelKind", &T::BevelKind, &T::SetBevelKind, kBevelKindNames, kbkNone),
      prop::Integer("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 0),
      prop::Integer("BorderWidth", &T::BorderWidth, &T::SetBorderWidth, 2),
      prop::Component("Images", &T::Images, &T::SetImages),
      prop::Object("Panels", &T::Panels),
      prop::Boolean("SizeGrip", &T::SizeGrip, &T::SetSizeGrip, true),
      prop::Event("OnCreatePanelClass", &T::OnCreatePanelClass),
      prop::Event("OnDrawPanel", &T::OnDrawPanel),
      prop::Event("OnPanelClick", &T::OnPanelClick),
      prop::Event("OnPanelDblClick", &T::OnPanelDblClick),
  });
  return info;
}

TSeCustomStatusBar::TSeCustomStatusBar(TComponent* owner)
    : TSeCustomControl(owner), m_panels(std::make_unique<TSeStatusPanels>(this)) {
  SetBevelSides(kAllBevelSides);
  SetBevelInner(kbvSpace);
  SetBevelOuter(kbvRaised);
  SetBevelWidth(0);
  SetBorderWidth(2);
  SetThemedFrame(false);
  // Not opaque, unlike the other skinned controls.
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
  SetBounds(Left(), Top(), Width(), 22);
}

TSeCustomStatusBar::~TSeCustomStatusBar() {
  m_destroying = true;
  // The hosted controls are forgotten first: the children go with the bar after this body.
  for (int i = 0; i < m_panels->Count(); ++i)
    if (TControl* c = m_panels->Items(i)->Control()) {
      m_panels->Items(i)->DropControl();
      c->RemoveFreeNotification(this);
    }
  m_panels->OnUpdate = nullptr;
  m_pressedPanel = nullptr;
  SetImages(nullptr);
  m_panels.reset();
}

void TSeCustomStatusBar::SetPanels(const TSeStatusPanels& value) { m_panels->Assign(value); }

void TSeCustomStatusBar::SetImages(TCustomImageList* value) {
  if (m_images == value) return;
  if (m_images) {
    m_images->UnRegisterChanges(m_imagesChangeId);
    m_images->RemoveFreeNotification(this);
  }
  m_images = value;
  if (m_images) {
    m_imagesChangeId = m_images->RegisterChanges([this] { Invalidate(); });
    m_images->FreeNotification(this);
  }
  if (!m_destroying) Invalidate();
}

void TSeCustomStatusBar::SetSizeGrip(bool value) {
  if (m_sizeGrip == value) return;
  m_sizeGrip = value;
  Invalidate();
}

std::vector<TStatusPanelLayout> TSeCustomStatusBar::PanelLayouts() const {
  std::vector<TStatusPanelLayout> layout;
  layout.reserve(size_t(m_panels->Count()));
  for (int i = 0; i < m_panels->Count(); ++i) layout.push_back(m_panels->Items(i)->m_layout);
  return layout;
}

TSeStatusPanel* TSeCustomStatusBar::PanelOf(const TControl* control) const {
  if (!control) return nullptr;
  for (int i = 0; i < m_panels->Count(); ++i) {
    TSeStatusPanel* p = m_panels->Items(i);
    if (p && p->Control() == control) return p;
  }
  return nullptr;
}

void TSeCustomStatusBar::UpdatePanels() {
  if (m_layingOut || Loading() || IsBeingDestroyed()) return;
  m_layingOut = true;
  try {
    TRect content;
    GetContentRect(content);
    const int n = m_panels->Count();
    std::vector<TStatusPanelLayout> layout = PanelLayouts();
    LayoutStatusPanels(layout, content);
    for (int i = 0; i < n; ++i) m_panels->Items(i)->m_layout = layout[size_t(i)];
    for (int i = 0; i < n; ++i) {
      TSeStatusPanel* p = m_panels->Items(i);
      if (TControl* c = p->Control()) {
        c->SetBoundsRect(GetPanelInnerRect(*p));
        c->SetVisible(p->Shown());
      }
    }
  } catch (...) {
    m_layingOut = false;
    throw;
  }
  m_layingOut = false;
}

void TSeCustomStatusBar::PanelsChanged() {
  if (Loading() || IsBeingDestroyed()) return;
  UpdatePanels();
  Invalidate();
}

void TSeCustomStatusBar::PanelChanged(TSeStatusPanel* panel) {
  if (Loading() || IsBeingDestroyed()) return;
  if (TControl* c = panel->Control()) c->SetBoundsRect(GetPanelInnerRect(*panel));
  if (!HandleAllocated() || !Showing() || CachedWidth() <= 0 || CachedHeight() <= 0) return;
  // Marked for the next paint rather than drawn at once: that paint goes through the bar's
  // buffering and see-through background, and a change made from inside a paint (an owner-draw
  // handler changing its panel) cannot paint inside that paint.
  const TRect r = GetPanelRect(panel->Index());
  InvalidateRect(r, false);
  if (SizeGripShown()) {
    const TRect grip = GetSizeGripRect();
    if (r.Left < grip.Right && grip.Left < r.Right && r.Top < grip.Bottom && grip.Top < r.Bottom) InvalidateRect(grip, false);
  }
}

void TSeCustomStatusBar::PanelDestroying(TSeStatusPanel* panel) {
  if (m_pressedPanel == panel) m_pressedPanel = nullptr;
}

TSeStatusPanel* TSeCustomStatusBar::CreatePanel(TControl* control) {
  TSeStatusPanelClass panelClass = StatusPanelClass<TSeStatusPanel>();
  if (OnCreatePanelClass) OnCreatePanelClass(this, panelClass);
  m_panels->BeginUpdate();
  TSeStatusPanel* panel;
  try {
    panel = m_panels->Add(panelClass);
    panel->SetControl(control);
  } catch (...) {
    m_panels->EndUpdate();
    throw;
  }
  m_panels->EndUpdate();
  return panel;
}

TRect TSeCustomStatusBar::GetPanelRect(int index) const {
  const TSeStatusPanel* p = m_panels->Items(index);
  if (!p) return {0, 0, 0, 0};
  TRect content;
  GetContentRect(content);
  return {p->PanelLeft(), content.Top, p->PanelRight(), content.Bottom};
}

TRect TSeCustomStatusBar::GetPanelInnerRect(const TSeStatusPanel& panel) const {
  TRect r = GetPanelRect(panel.Index());
  if (panel.Framed()) {
    r = InflateRect(r, -1, -1);
    r.Right -= 2;
  }
  return r;
}

TRect TSeCustomStatusBar::GetSizeGripRect() const {
  TRect r;
  GetContentRect(r);
  const int n = m_panels->Count();
  if (n > 0 && m_panels->Items(n - 1)->Framed()) r = InflateRect(r, -1, -1);
  r.Left = r.Right - GetSystemMetrics(SM_CXVSCROLL);
  r.Top = r.Bottom - GetSystemMetrics(SM_CYVSCROLL);
  return r;
}

bool TSeCustomStatusBar::SizeGripShown() const {
  if (!m_sizeGrip) return false;
  TCustomForm* form = GetParentForm(this);
  if (!form || form->WindowState() != wsNormal) return false;
  const TPoint corner = ClientToScreen({Width(), Height()});
  const TRect client = form->ClientRect();
  if (corner != form->ClientToScreen({client.Right, client.Bottom})) return false;
  if (ISeSkinnedWindow* skinned = ActiveSkinnedWindow(*form))
    return skinned->AllowsSizing() && skinned->WindowState() == kwsNormal;
  return true;
}

std::optional<TRect> TSeCustomStatusBar::SizeGripArea() const {
  if (!SizeGripShown()) return std::nullopt;
  const TRect r = GetSizeGripRect();
  const TPoint origin = ClientToScreen({0, 0});
  return OffsetRect(r, origin.X, origin.Y);
}

TSeStatusPanel* TSeCustomStatusBar::PanelAt(TPoint point) const {
  TRect content;
  GetContentRect(content);
  const int hit = StatusPanelAt(PanelLayouts(), content, point);
  return hit < 0 ? nullptr : m_panels->Items(hit);
}

void TSeCustomStatusBar::AlignControls(TControl* control, TRect&) {
  // Hosted controls are placed by the layout alone; the children's own alignment never applies.
  if (IsBeingDestroyed()) return;
  if (control || m_panels->Count() > 0) UpdatePanels();
}

void TSeCustomStatusBar::BorderChanged() {
  TSeCustomControl::BorderChanged();
  UpdatePanels();
}

void TSeCustomStatusBar::Resize() {
  UpdatePanels();
  TSeCustomControl::Resize();
}

void TSeCustomStatusBar::Loaded() {
  TSeCustomControl::Loaded();
  UpdatePanels();
  if (Parent()) BringToFront();
}

void TSeCustomStatusBar::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) {
    if (component == static_cast<TComponent*>(m_images)) {
      m_images = nullptr;
      if (!m_destroying) Invalidate();
    }
    // The component is half gone already: it is found by address, not by its class.
    if (!IsBeingDestroyed()) {
      for (int i = 0; i < m_panels->Count(); ++i) {
        TSeStatusPanel* p = m_panels->Items(i);
        if (p->Control() && static_cast<TComponent*>(p->Control()) == component) {
          p->DropControl();
          UpdatePanels();
          Invalidate();
          break;
        }
      }
    }
  }
  TSeCustomControl::Notification(component, operation);
}

void TSeCustomStatusBar::DoPanelClick(TSeStatusPanel* panel) {
  if (OnPanelClick) OnPanelClick(this, panel);
}

void TSeCustomStatusBar::DoPanelDblClick(TSeStatusPanel* panel) {
  if (OnPanelDblClick) OnPanelDblClick(this, panel);
}

void TSeCustomStatusBar::DoDrawPanel(TSeStatusPanel* panel, const TRect& rect) {
  if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

void TSeCustomStatusBar::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  TSeCustomControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && Enabled()) m_pressedPanel = PanelAt({x, y});
  if (!SizeGripShown() || !GetSizeGripRect().Contains({x, y})) return;
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  ISeSkinnedWindow* skinned = ActiveSkinnedWindow(*form);
  if (!skinned || !skinned->Handle()) return;
  // The skinned window hit-tests the position itself, finds the grip and sizes from the corner;
  // its sizing loop needs the mouse, which the press gave this bar.
  SetMouseCapture(false);
  TPoint screen;
  GetCursorPos(screen);
  SendMessage(skinned->Handle(), WM_NCLBUTTONDOWN, 0, MAKELPARAM(screen.X, screen.Y));
}

void TSeCustomStatusBar::MouseMove(TShiftState shift, int x, int y) {
  TSeCustomControl::MouseMove(shift, x, y);
  if (SizeGripShown()) SetCursor(GetSizeGripRect().Contains({x, y}) ? crSizeNWSE : crDefault);
}

void TSeCustomStatusBar::MouseUp(TMouseBtn button, TShiftState shift, int x, int y) {
  TSeCustomControl::MouseUp(button, shift, x, y);
  if (m_pressedPanel && PanelAt({x, y}) == m_pressedPanel) DoPanelClick(m_pressedPanel);
}

void TSeCustomStatusBar::DblClick() {
  TSeCustomControl::DblClick();
  TPoint p;
  GetCursorPos(p);
  if (TSeStatusPanel* panel = PanelAt(ScreenToClient(p))) DoPanelDblClick(panel);
}

void TSeCustomStatusBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_CONTROLCHANGE: {
      TSeCustomControl::Dispatch(m);
      auto* control = reinterpret_cast<TControl*>(m.WParam);
      if (!control || IsBeingDestroyed()) return;
      if (m.LParam) {
        // A control some panel hosts already keeps that panel.
        if (!Loading() && !PanelOf(control)) CreatePanel(control);
      } else if (TSeStatusPanel* p = PanelOf(control)) {
        p->DropControl();
        control->RemoveFreeNotification(this);
        m_panels->Delete(p->Index());
      }
      return;
    }
    case WM_ERASEBKGND:
      if (BackgroundRequestOf(m)) {
        AnswerBackgroundRequest(m);
        return;
      }
      TSeCustomControl::Dispatch(m);
      return;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_SYSCOLORCHANGE:
      TSeCustomControl::Dispatch(m);
      Invalidate();
      return;
    default:
      TSeCustomControl::Dispatch(m);
  }
}

}  // namespace vandrel
