#include "skin/SystemButton.h"

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/ComponentWatch.h"
#include "framework/Form.h"
#include "framework/Icon.h"
#include "framework/PropertyInfo.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/SystemMetrics.h"
#include "skin/SkinnedWindow.h"

namespace vandrel {

namespace {

// Which buttons a window state hides; states outside the table leave visibility as it is.
//
//   state          hidden
//   normal         restore, roll down
//   maximized      maximize, roll down
//   minimized      minimize, maximize, roll up, roll down
//   rolled up      restore, roll up
std::optional<TSmallSet<TSeAction>> HiddenInState(int state) {
  switch (state) {
    case kStateNormal: return TSmallSet<TSeAction>{sbaRestore, sbaRollDown};
    case kStateMaximized: return TSmallSet<TSeAction>{sbaMaximize, sbaRollDown};
    case kStateMinimized: return TSmallSet<TSeAction>{sbaMinimize, sbaMaximize, sbaRollUp, sbaRollDown};
    case kStateRolledUp: return TSmallSet<TSeAction>{sbaRestore, sbaRollUp};
    default: return std::nullopt;
  }
}

// The border icon a button needs to be shown; none for the rest.
std::optional<TSeBorderIcon> NeededIcon(TSeAction action) {
  switch (action) {
    case sbaClose: return kbiClose;
    case sbaHelp: return kbiHelp;
    case sbaMinimize: return kbiMinimize;
    case sbaMaximize:
    case sbaRestore: return kbiMaximize;
    case sbaRollUp:
    case sbaRollDown: return kbiRollup;
    case sbaTray: return kbiTray;
    case sbaSysMenu: return kbiSystemMenu;
    default: return std::nullopt;
  }
}

void ApplyVisibility(TSeSkinObject& button, TSeAction action, int state) {
  ISeSkinnedWindow* window = button.OwnerForm();
  if (!window) return;
  if (auto hidden = HiddenInState(state)) button.SetVisible(!hidden->Contains(action));
  if (auto icon = NeededIcon(action); icon && !window->BorderIcons().Contains(*icon)) button.SetVisible(false);
}

void PerformAction(TSeSkinObject& button, TSeAction action) {
  ISeSkinnedWindow* window = button.OwnerForm();
  if (!window) return;
  switch (action) {
    case sbaClose: window->Close(); break;
    case sbaHelp: window->Help(); break;
    case sbaMinimize: window->Minimize(); break;
    case sbaMaximize: window->Maximize(); break;
    case sbaRestore:
    case sbaRollDown: window->Restore(); break;
    case sbaRollUp: window->Rollup(); break;
    case sbaTray: window->MinimizeToTray(); break;
    case sbaSysMenu: window->ShowSystemMenu(); break;
    case sbaCustom: window->CustomAction(&button); break;
    case sbaNone:
    case sbaRollPanel: break;
  }
}

// The press tracking both button classes share. Invalidate reaches the control's window, whose
// handler may free the control and this button with it: the callers check before going on.
void TrackEnter(TSeSkinObject& button, TSeSysButtonTracking& t) {
  t.state = t.shift.Contains(ssLeft) ? sbsPressed : sbsHot;
  button.Invalidate();
}

void TrackLeave(TSeSkinObject& button, TSeSysButtonTracking& t) {
  t.state = sbsNormal;
  button.Invalidate();
}

void TrackDown(TSeSkinObject& button, TSeSysButtonTracking& t, TMouseBtn which) {
  if (which != mbLeft) return;
  t.shift.Include(ssLeft);
  t.state = sbsPressed;
  button.Invalidate();
}

void TrackMove(TSeSkinObject& button, TSeSysButtonTracking& t, TShiftState shift) {
  t.shift = shift;
  if (t.state == sbsPressed && shift.Contains(ssLeft)) button.Invalidate();
}

// Whether the release completes a click; the button is still alive when it says so.
bool TrackUp(TSeSkinObject& button, TSeSysButtonTracking& t, TMouseBtn which) {
  if (which != mbLeft) return false;
  t.shift = {};
  if (t.state != sbsPressed) return false;
  t.state = sbsHot;
  TComponentWatch alive(button);
  button.Invalidate();
  return bool(alive);
}

void TrackDblClick(TSeSkinObject& button, TSeAction action, TMouseBtn which) {
  if (which != mbLeft || action != sbaSysMenu) return;
  if (ISeSkinnedWindow* window = button.OwnerForm()) window->Close();
}

// A system-menu button of a form shows the form's icon at its top-left corner at the small-icon
// size. Returns whether the control is a form, and so whether the icon was the whole drawing.
bool DrawFormIcon(TSeSkinObject& button, TCanvas& canvas) {
  auto* form = dynamic_cast<TCustomForm*>(button.Control());
  if (!form) return false;
  int size = GetSystemMetrics(SM_CXSMICON);
  if (size <= 0) size = GetSystemMetrics(SM_CXSIZE);
  if (const TIcon* icon = form->Icon(); icon && !icon->Empty())
    DrawIconEx(canvas.Handle(), button.Left(), button.Top(), icon->Handle(), size, size, 0, HBRUSH(), DI_NORMAL);
  return true;
}

}  // namespace

// TSeSystemButton

const TClassInfo& TSeSystemButton::StaticClassInfo() {
  using T = TSeSystemButton;
  static const TClassInfo info("TSeSystemButton", &TSeActiveBitmap::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Enum("Action", &T::Action, &T::SetAction, kSeActionNames, sbaNone),
      prop::Object("BitmapHot", &T::BitmapHot),
      prop::Object("BitmapPressed", &T::BitmapPressed),
  });
  return info;
}

TSeSystemButton::TSeSystemButton(TComponent* owner)
    : TSeActiveBitmap(owner),
      m_bitmapHot(std::make_unique<TseBitmapLink>()),
      m_bitmapPressed(std::make_unique<TseBitmapLink>()) {
  SetKind(skSysButton);
}

void TSeSystemButton::AfterLoad() {
  TSeActiveBitmap::AfterLoad();
  ResolveLink(*m_bitmapHot);
  ResolveLink(*m_bitmapPressed);
}

void TSeSystemButton::SetChildrenState(int state) {
  for (int i = 0; i < Count(); ++i) Objects(i)->SetState(state);
}

void TSeSystemButton::Draw(TCanvas& canvas) {
  if (m_action == sbaSysMenu && DrawFormIcon(*this, canvas)) return;
  struct TRestore {
    TSeSystemButton& button;
    bool active;
    ~TRestore() {
      button.SetChildrenState(kStateNormal);
      button.SetActive(active);
    }
  } restore{*this, Active()};
  if (!Active()) {
    SetChildrenState(kStateDisabled);
    TSeActiveBitmap::Draw(canvas);
    return;
  }
  const TseBitmapLink& normal = ActiveBitmap()->IsValid() ? *ActiveBitmap() : *Bitmap();
  switch (m_tracking.state) {
    case sbsNormal: TSeActiveBitmap::Draw(canvas); break;
    case sbsHot: DrawPressedOrHot(canvas, m_bitmapHot->IsValid() ? *m_bitmapHot : normal, kStateHot); break;
    case sbsPressed: DrawPressedOrHot(canvas, m_bitmapPressed->IsValid() ? *m_bitmapPressed : normal, kStatePressed); break;
  }
}

void TSeSystemButton::DrawPressedOrHot(TCanvas& canvas, const TseBitmapLink& picture, int childState) {
  // The children draw their own state pictures, not their active ones.
  SetActive(false);
  SetChildrenState(childState);
  DrawWith(canvas, picture);
}

void TSeSystemButton::SetState(int state) {
  TSeActiveBitmap::SetState(state);
  ApplyVisibility(*this, m_action, state);
}

void TSeSystemButton::MouseEnter() { TrackEnter(*this, m_tracking); }
void TSeSystemButton::MouseLeave() { TrackLeave(*this, m_tracking); }
void TSeSystemButton::MouseDown(TMouseBtn button, TPoint) { TrackDown(*this, m_tracking, button); }
void TSeSystemButton::MouseMove(TShiftState shift, TPoint) { TrackMove(*this, m_tracking, shift); }

void TSeSystemButton::MouseUp(TMouseBtn button, TPoint) {
  if (TrackUp(*this, m_tracking, button)) PerformAction(*this, m_action);
}

void TSeSystemButton::DblClick(TMouseBtn button, TPoint) { TrackDblClick(*this, m_action, button); }

void TSeSystemButton::Assign(const TPersistent& source) {
  TSeActiveBitmap::Assign(source);
  if (const auto* from = dynamic_cast<const TSeSystemButton*>(&source)) {
    m_action = from->m_action;
    m_bitmapHot->Assign(*from->m_bitmapHot);
    m_bitmapPressed->Assign(*from->m_bitmapPressed);
  }
}

// TSeSysButtonSkinObject

const TClassInfo& TSeSysButtonSkinObject::StaticClassInfo() {
  using T = TSeSysButtonSkinObject;
  static const TClassInfo info("TSeSysButtonSkinObject", &TSeBitmapSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Enum("Action", &T::Action, &T::SetAction, kSeActionNames, sbaNone),
      prop::Object("BitmapHover", &T::BitmapHover),
      prop::Object("BitmapDown", &T::BitmapDown),
      prop::String("RollPanel", &T::RollPanel, &T::SetRollPanel),
  });
  return info;
}

TSeSysButtonSkinObject::TSeSysButtonSkinObject(TComponent* owner)
    : TSeBitmapSkinObject(owner),
      m_bitmapHover(std::make_unique<TseBitmapLink>()),
      m_bitmapDown(std::make_unique<TseBitmapLink>()) {
  SetKind(skSysButton);
}

void TSeSysButtonSkinObject::AfterLoad() {
  TSeBitmapSkinObject::AfterLoad();
  ResolveLink(*m_bitmapHover);
  ResolveLink(*m_bitmapDown);
}

void TSeSysButtonSkinObject::Draw(TCanvas& canvas) {
  if (m_action == sbaSysMenu && DrawFormIcon(*this, canvas)) return;
  const TseBitmapLink* picture = Bitmap();
  if (m_tracking.state == sbsHot && m_bitmapHover->IsValid()) picture = m_bitmapHover.get();
  if (m_tracking.state == sbsPressed && m_bitmapDown->IsValid()) picture = m_bitmapDown.get();
  DrawWith(canvas, *picture);
}

void TSeSysButtonSkinObject::SetState(int state) {
  TSeBitmapSkinObject::SetState(state);
  ApplyVisibility(*this, m_action, state);
}

void TSeSysButtonSkinObject::MouseEnter() { TrackEnter(*this, m_tracking); }
void TSeSysButtonSkinObject::MouseLeave() { TrackLeave(*this, m_tracking); }
void TSeSysButtonSkinObject::MouseDown(TMouseBtn button, TPoint) { TrackDown(*this, m_tracking, button); }
void TSeSysButtonSkinObject::MouseMove(TShiftState shift, TPoint) { TrackMove(*this, m_tracking, shift); }

void TSeSysButtonSkinObject::MouseUp(TMouseBtn button, TPoint) {
  if (!TrackUp(*this, m_tracking, button)) return;
  if (m_action != sbaRollPanel) {
    PerformAction(*this, m_action);
    return;
  }
  TSeSkinObject* root = this;
  while (auto* parent = dynamic_cast<TSeSkinObject*>(root->Owner())) root = parent;
  if (auto* panel = dynamic_cast<TSeRollPanelObject*>(root->FindObject(m_rollPanel))) panel->Roll();
}

void TSeSysButtonSkinObject::DblClick(TMouseBtn button, TPoint) { TrackDblClick(*this, m_action, button); }

void TSeSysButtonSkinObject::Assign(const TPersistent& source) {
  TSeBitmapSkinObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeSysButtonSkinObject*>(&source)) {
    m_action = from->m_action;
    m_bitmapHover->Assign(*from->m_bitmapHover);
    m_bitmapDown->Assign(*from->m_bitmapDown);
    m_rollPanel = from->m_rollPanel;
  }
}

// TSeRollPanelObject

const TClassInfo& TSeRollPanelObject::StaticClassInfo() {
  using T = TSeRollPanelObject;
  static const TClassInfo info("TSeRollPanelObject", &TSeSkinObject::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Enum("RollKind", &T::RollKind, &T::SetRollKind, kSeRollKindNames, rkLeft),
      prop::Integer("RollValue", &T::RollValue, &T::SetRollValue, 0),
  });
  return info;
}

void TSeRollPanelObject::Roll() {
  if (!Owner()) return;
  const bool across = m_rollKind == rkLeft || m_rollKind == rkRight;
  const int size = across ? Width() : Height();
  const bool rolled = size == m_rollValue;
  // A panel that starts at its rolled size has nothing to come back to.
  if (rolled && m_unrolledSize <= 0) return;
  if (!rolled) m_unrolledSize = size;
  const int newSize = rolled ? m_unrolledSize : m_rollValue;
  TRect r = BoundsRect();
  switch (m_rollKind) {
    case rkLeft: r.Left = r.Right - newSize; break;
    case rkTop: r.Top = r.Bottom - newSize; break;
    case rkRight: r.Right = r.Left + newSize; break;
    case rkBottom: r.Bottom = r.Top + newSize; break;
  }
  SetBounds(r);
  if (TApplication* application = Application()) application->ProcessMessages();
}

void TSeRollPanelObject::Assign(const TPersistent& source) {
  TSeSkinObject::Assign(source);
  if (const auto* from = dynamic_cast<const TSeRollPanelObject*>(&source)) {
    m_rollKind = from->m_rollKind;
    m_rollValue = from->m_rollValue;
  }
}

}  // namespace vandrel
