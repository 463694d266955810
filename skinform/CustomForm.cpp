#include "skinform/CustomForm.h"
#include "skinform/FormEffects.h"

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/Form.h"
#include "framework/PopupMenu.h"
#include "framework/PropertyInfo.h"
#include "framework/Screen.h"
#include "framework/SizeConstraints.h"
#include "graphics/Bitmap.h"
#include "platform/core/ScopeExit.h"
#include "platform/services/PlatformServices.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinMessages.h"

namespace vandrel {

const TClassInfo& TSeCustomForm::StaticClassInfo() {
  using T = TSeCustomForm;
  // Only Active and MinimizeApplication have a stored default: every other value is written.
  static const TClassInfo info("TSeCustomForm", &TSeHook::StaticClassInfo(), nullptr, {
      prop::Object("Animation", &T::Animation),
      prop::Object("Blending", &T::Blending),
      prop::Set("BorderIcons", &T::BorderIcons, &T::SetBorderIcons, kBorderIconNames),
      prop::Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, kBorderStyleNames),
      prop::WideString("Caption", &T::Caption, &T::SetCaption),
      prop::Object("Dragging", &T::Dragging),
      prop::Object("Gravitation", &T::Gravitation),
      prop::Object("Constraints", &T::Constraints),
      prop::Object("SystemMenuOptions", &T::SystemMenuOptions),
      prop::Component("SystemMenuLink", &T::SystemMenuLink, &T::SetSystemMenuLink),
      prop::Object("TrayMenuOptions", &T::TrayMenuOptions),
      prop::Component("TrayMenuLink", &T::TrayMenuLink, &T::SetTrayMenuLink),
      prop::Boolean("MinimizeApplication", &T::MinimizeApplication, &T::SetMinimizeApplication, true),
      prop::Enum("Performance", &T::Performance, &T::SetPerformance, kFormPerformanceNames),
      prop::Object("Shadow", &T::Shadow),
      prop::Boolean("StayOnTop", &T::StayOnTop, &T::SetStayOnTop),
      prop::Boolean("StretchBackground", &T::StretchBackground, &T::SetStretchBackground),
      prop::Enum("WindowState", &T::WindowState, &T::SetWindowState, kWindowStateNames),
      prop::Event("OnCreate", &T::OnCreate),
      prop::Event("OnPaint", &T::OnPaint),
      prop::Event("OnClose", &T::OnClose),
      prop::Event("OnMinimize", &T::OnMinimize),
      prop::Event("OnMaximize", &T::OnMaximize),
      prop::Event("OnRollup", &T::OnRollup),
      prop::Event("OnMinToTray", &T::OnMinToTray),
      prop::Event("OnResize", &T::OnResize),
  });
  return info;
}

TSeCustomForm::TSeCustomForm(TComponent* owner)
    : TSeHook(owner),
      m_animation(std::make_unique<TSeAnimation>()),
      m_blending(std::make_unique<TSeBlending>([this] { OptionChanged(); })),
      m_dragging(std::make_unique<TSeDragging>()),
      m_gravitation(std::make_unique<TSeGravitation>()),
      m_constraints(std::make_unique<TSizeConstraints>()),
      m_systemMenuOptions(std::make_unique<TSePopupMenuOptions>()),
      m_trayMenuOptions(std::make_unique<TSePopupMenuOptions>()),
      m_shadow(std::make_unique<TSeShadow>([this] { OptionChanged(); })),
      m_canvas(std::make_unique<TCanvas>()),
      m_capture(std::make_unique<TBackgroundCapture>()) {
  if (auto* form = dynamic_cast<TCustomForm*>(owner)) {
    m_caption = form->Caption();
    m_lastSeenCaption = m_caption;
    switch (form->BorderStyle()) {
      case bsNone: m_borderStyle = kbsNone; break;
      case bsToolWindow: m_borderStyle = kbsToolWindow; break;
      default: m_borderStyle = kbsStandard; break;
    }
    const TBorderIcons icons = form->BorderIcons();
    if (!icons.Contains(biSystemMenu)) m_borderIcons.Exclude(kbiSystemMenu);
    if (!icons.Contains(biMinimize)) m_borderIcons.Exclude(kbiMinimize);
    if (!icons.Contains(biMaximize)) m_borderIcons.Exclude(kbiMaximize);
    if (icons.Contains(biHelp)) m_borderIcons.Include(kbiHelp);
    // The component draws the frame: the platform's own frame styles must not take room.
    form->SetBorderStyle(bsSizeable);
    form->SetAutoScroll(false);
    if (form->FormStyle() == fsMDIChild) {
      m_minimizeApplication = false;
      m_gravitation->SetSize(9);
      m_borderIcons = {kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup};
    }
    SetConstraints(*form->Constraints());
  }
  m_paintAllowed = true;
}

TSeCustomForm::~TSeCustomForm() {
  SetActive(false);
  SetControl(nullptr);
}

// ---- owner ----

TCustomForm* TSeCustomForm::OwnerForm() const { return dynamic_cast<TCustomForm*>(Owner()); }

TWinControl* TSeCustomForm::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

HWND TSeCustomForm::Handle() const {
  TWinControl* owner = OwnerControl();
  return owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
}

bool TSeCustomForm::Hooked() const { return ControlHook() != nullptr && Control() != nullptr; }

// ---- setters ----

void TSeCustomForm::SetBorderIcons(TSeBorderIcons value) {
  m_borderIcons = value;
  if (!Loading()) RecalcFrame();
}

void TSeCustomForm::SetBorderStyle(TSeBorderStyle value) {
  m_borderStyle = value;
  if (!Loading()) RecalcFrame();
}

void TSeCustomForm::SetConstraints(const TSizeConstraints& value) {
  m_constraints->Assign(value);
  if (TWinControl* owner = OwnerControl()) {
    int width = owner->Width(), height = owner->Height();
    if (m_constraints->MinWidth() > 0 && width < m_constraints->MinWidth()) width = m_constraints->MinWidth();
    if (m_constraints->MinHeight() > 0 && height < m_constraints->MinHeight()) height = m_constraints->MinHeight();
    if (width != owner->Width() || height != owner->Height())
      owner->SetBounds(owner->Left(), owner->Top(), width, height);
  }
  if (!Loading()) RecalcFrame();
}

void TSeCustomForm::SetCaption(const std::string& value) {
  if (value == m_caption) return;
  // Stored first: the form's caption change reads the window text back, and that must find
  // nothing new.
  m_caption = value;
  m_lastSeenCaption = value;
  if (TCustomForm* form = OwnerForm()) form->SetCaption(value);
}

void TSeCustomForm::SetSystemMenuLink(TPopupMenu* value) {
  if (value == m_systemMenuLink) return;
  if (m_systemMenuLink) RemoveFreeNotification(m_systemMenuLink);
  m_systemMenuLink = value;
  if (value) FreeNotification(value);
}

void TSeCustomForm::SetTrayMenuLink(TPopupMenu* value) {
  if (value == m_trayMenuLink) return;
  if (m_trayMenuLink) RemoveFreeNotification(m_trayMenuLink);
  m_trayMenuLink = value;
  if (value) FreeNotification(value);
}

void TSeCustomForm::SetStayOnTop(bool value) {
  if (value == m_stayOnTop) return;
  m_stayOnTop = value;
  if (!Designing() && !Loading() && Handle()) ApplyStayOnTop();
}

void TSeCustomForm::ApplyStayOnTop() {
  SetWindowPos(Handle(), m_stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void TSeCustomForm::SetWindowState(TSeWindowState value) {
  if (Loading()) {
    m_loadedState = value;
    m_windowState = value;
    return;
  }
  if (value == m_windowState) return;
  switch (value) {
    case kwsNormal: Restore(); break;
    case kwsMaximized: Maximize(); break;
    case kwsMinimized: Minimize(); break;
    case kwsRollup: Rollup(); break;
    case kwsTray: MinimizeToTray(); break;
  }
}

void TSeCustomForm::OptionChanged() {
  if (!Loading()) RecalcFrame();
}

void TSeCustomForm::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == m_systemMenuLink) m_systemMenuLink = nullptr;
    if (component == m_trayMenuLink) m_trayMenuLink = nullptr;
  }
  TSeHook::Notification(component, operation);
}

// ---- life cycle ----

void TSeCustomForm::Loaded() {
  TSeHook::Loaded();
  if (Designing()) return;
  TWinControl* owner = OwnerControl();
  if (owner) SetControl(owner);
  if (OwnerForm()) ChainShortCut();

  std::weak_ptr<const bool> alive = Alive();
  if (m_loadedState != kwsNormal && owner) {
    m_windowState = kwsNormal;
    if (m_loadedState != kwsRollup) {
      m_restoreBounds = owner->BoundsRect();
      m_restoreBoundsKept = true;
      // Shown out of sight at its designed size until the state is applied, so the user never
      // sees the normal window flash before it is maximized or minimized.
      SetWindowPos(owner->Handle(), nullptr, 0, Screen()->Height(), owner->Width(), owner->Height(),
                   SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PostMessage(owner->Handle(), SE_APPLYSTATE, WPARAM(m_loadedState), 0);
  }
  if (TCustomForm* form = OwnerForm(); form && m_loadedState == kwsNormal) {
    TNotifyEvent saved = form->OnResize;
    form->OnResize = nullptr;
    TScopeExit restore([&] { form->OnResize = saved; });
    RecalcFrame();
  }
  if (OnCreate) OnCreate(this);
  if (alive.expired()) return;
  if (m_stayOnTop && Handle()) ApplyStayOnTop();
}

void TSeCustomForm::ChainShortCut() {
  // No menu bar exists to ask first yet, so the form's own handler keeps answering; the chain
  // is where a menu bar joins.
}

void TSeCustomForm::Unhooked() {
  if (m_ownerDC) {
    ReleaseDC(m_ownerDCWindow, m_ownerDC);
    m_ownerDC = nullptr;
    m_ownerDCWindow = nullptr;
  }
}

}  // namespace vandrel
