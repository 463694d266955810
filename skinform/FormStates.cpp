// The window-state operations of the skinned window: it keeps its own state and moves and sizes
// the owner form itself rather than letting the platform do it.
#include "skinform/CustomForm.h"

#include "framework/Form.h"
#include "platform/services/PlatformServices.h"
#include "platform/win/Window.h"

namespace vandrel {

// ---- window actions ----

// False also when the handler freed the component (with its form): nothing may follow then.
bool TSeCustomForm::FireAction(TSeFormActionEvent& event) {
  bool callDefault = true;
  std::weak_ptr<const bool> alive = Alive();
  if (event) event(this, callDefault);
  return !alive.expired() && callDefault;
}

bool TSeCustomForm::AllowsSizing() const {
  return m_dragging->Sizeable() && m_windowState != kwsMaximized && m_windowState != kwsMinimized &&
         m_windowState != kwsRollup;
}

void TSeCustomForm::SetOwnerBounds(const TRect& bounds) {
  if (TWinControl* owner = OwnerControl())
    owner->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
}

TRect TSeCustomForm::GetMaximizedBounds() {
  HWND h = Handle();
  return h ? GetMonitorAreaOfWindow(h, !m_stayOnTop) : GetScreenArea(!m_stayOnTop);
}

void TSeCustomForm::Close() {
  if (!FireAction(OnClose)) return;
  if (TCustomForm* form = OwnerForm()) form->Close();
}

void TSeCustomForm::Help() {}

// A form loaded in another state keeps the bounds it was designed with, not the out-of-sight
// place it waits at until the state is applied.
void TSeCustomForm::TakeRestoreBounds() {
  TWinControl* owner = OwnerControl();
  if (owner && m_windowState == kwsNormal && !m_restoreBoundsKept) m_restoreBounds = owner->BoundsRect();
  m_restoreBoundsKept = false;
}

// The caption buttons' hot look belongs to the old state, so the hot area moves off them.
void TSeCustomForm::EnterState(TSeWindowState state, const TRect& bounds) {
  m_previousState = m_windowState;
  m_windowState = state;
  m_hotArea = haSkinButton;
  if (!bounds.IsEmpty()) SetOwnerBounds(bounds);
  if (Handle()) ShowWindow(Handle(), SW_SHOW);
  PaintNonClient();
}

void TSeCustomForm::Maximize() {
  if (m_windowState == kwsMaximized) {
    Restore();
    return;
  }
  if (!FireAction(OnMaximize)) return;
  TWinControl* owner = OwnerControl();
  if (!owner) return;
  TakeRestoreBounds();
  EnterState(kwsMaximized, GetMaximizedBounds());
}

void TSeCustomForm::Restore() {
  if (m_windowState == kwsNormal) return;
  TWinControl* owner = OwnerControl();
  if (!owner) return;
  // A rolled-up window unrolls where it was dragged to; one that spans the screen's width (it
  // was rolled up from maximized) goes back to maximized.
  if (m_windowState == kwsRollup &&
      (m_previousState == kwsMaximized || GetMaximizedBounds().Width() == m_frameSize.cx)) {
    std::weak_ptr<const bool> alive = Alive();
    Maximize();
    if (!alive.expired() && m_windowState == kwsMaximized) m_previousState = kwsNormal;
    return;
  }
  TRect bounds = m_restoreBounds;
  if (m_windowState == kwsRollup)
    bounds = OffsetRect(bounds, owner->Left() - bounds.Left, owner->Top() - bounds.Top);
  EnterState(kwsNormal, bounds);
}

void TSeCustomForm::Minimize() {
  if (!FireAction(OnMinimize)) return;
  TWinControl* owner = OwnerControl();
  if (!owner || m_windowState == kwsMinimized) return;
  TakeRestoreBounds();
  m_previousState = m_windowState;
  m_windowState = kwsMinimized;
  m_hotArea = haSkinButton;
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

TRect TSeCustomForm::GetRollupBounds() {
  TWinControl* owner = OwnerControl();
  if (!owner) return {};
  // Only the frame stays: the caption above the client and the border below it.
  const TRect c = GetClientArea();
  const int height = c.Top + m_frameSize.cy - c.Bottom;
  return {owner->Left(), owner->Top(), owner->Left() + m_frameSize.cx, owner->Top() + height};
}

void TSeCustomForm::Rollup() {
  if (!FireAction(OnRollup)) return;
  if (m_windowState == kwsRollup) {
    Restore();
    return;
  }
  TWinControl* owner = OwnerControl();
  if (!owner) return;
  if (m_windowState != kwsMinimized && m_windowState != kwsMaximized) m_restoreBounds = owner->BoundsRect();
  m_restoreBoundsKept = false;
  EnterState(kwsRollup, GetRollupBounds());
}

void TSeCustomForm::MinimizeToTray() { FireAction(OnMinToTray); }

void TSeCustomForm::ShowSystemMenu() { m_hotArea = haSkinButton; }

void TSeCustomForm::ShowSystemMenu(const TPoint&) { m_hotArea = haSkinButton; }

void TSeCustomForm::CustomAction(TSeSkinObject*) {}

}  // namespace vandrel
