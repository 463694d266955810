#include "skinform/SkinForm.h"

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/PropertyInfo.h"
#include "framework/Timer.h"
#include "platform/core/Text.h"
#include "skin/SkinEngine.h"
#include "skin/SkinMessages.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"

namespace vandrel {

namespace {

constexpr std::string_view kFormObjectName = "Form";

}  // namespace

const TClassInfo& TSeSkinForm::StaticClassInfo() {
  using T = TSeSkinForm;
  static const TClassInfo info("TSeSkinForm", &TSeCustomForm::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Component("SkinEngine", &T::SkinEngine, &T::SetSkinEngine),
      prop::String("SkinObject", &T::SkinObject, &T::SetSkinObject),
      prop::String("Version", &T::Version, &T::SetVersion).Stored(false),
      prop::Event("OnCustomAction", &T::OnCustomAction),
  });
  return info;
}

TSeSkinForm::TSeSkinForm(TComponent* owner)
    : TSeCustomForm(owner), m_hoverTimer(std::make_unique<TTimer>(nullptr)) {
  SetActive(true);
  m_hoverTimer->SetInterval(100);
  m_hoverTimer->SetEnabled(!Designing());
  // Hover over the skin's objects is polled: the frame gets no word when the pointer leaves it.
  m_hoverTimer->SetOnTimer([this](TPersistent*) { TrackHover(); });
}

TSeSkinForm::~TSeSkinForm() {
  m_hoverTimer.reset();
  Unbind();
  if (m_engine) m_engine->RemoveFreeNotification(this);
}

const std::string& TSeSkinForm::Version() const {
  static const std::string version = "3.4.7";
  return version;
}

void TSeSkinForm::SetSkinEngine(TSeSkinEngine* engine) {
  if (engine != m_engine) {
    if (m_engine) RemoveFreeNotification(m_engine);
    m_engine = engine;
    if (m_engine) FreeNotification(m_engine);
  }
  Bind();
}

const TSeSkinSource* TSeSkinForm::ReadySource() const {
  if (!m_engine) return nullptr;
  const TSeSkinSource& source = m_engine->SkinSource();
  return !source.Busy() && source.Count() > 0 ? &source : nullptr;
}

bool TSeSkinForm::Skinned() const {
  return !Loading() && !Destroying() && ReadySource() && m_copy;
}

void TSeSkinForm::Unbind() {
  m_hovered = m_pressed = nullptr;
  m_title = m_client = nullptr;
  m_copy.reset();
}

void TSeSkinForm::Bind() {
  TCustomForm* form = OwnerForm();
  if (const TSeSkinSource* source = ReadySource()) {
    Unbind();
    // The form object unless another object is named and present.
    const TSeSkinObject* chosen = SameText(m_skinObject, kFormObjectName) ? source->FormObject() : nullptr;
    if (!chosen) chosen = source->FindObject(m_skinObject);
    if (!chosen) chosen = source->FormObject();
    // An object of no size would make a window of no size: the form keeps its own look instead.
    if (chosen && (chosen->Width() <= 0 || chosen->Height() <= 0)) chosen = nullptr;
    if (chosen) {
      m_copy.reset(TSeSkinObject::CloneObject(*chosen, nullptr));
      if (form) m_copy->SetControl(form);
      m_title = m_copy->FindObjectByKind(skTitle);
      m_client = m_copy->FindObjectByKind(skClient);
      if (form) {
        form->Font()->Assign(*m_copy->Font());
        form->SetColor(m_copy->Color());
      }
    }
  } else {
    Unbind();
    if (form) form->SetColor(clBtnFace);
  }
  FitToSkin();
  RecalcFrame();
}

// A skin without a client object gives the window a fixed size.
void TSeSkinForm::FitToSkin() {
  TCustomForm* form = OwnerForm();
  if (form && Skinned() && !m_client) form->SetBounds(form->Left(), form->Top(), m_copy->Width(), m_copy->Height());
}

void TSeSkinForm::SkinChanging() {
  m_hoverTimer->SetEnabled(false);
  // Paint messages queued for the old skin drain before its copy goes, and again after.
  if (TApplication* app = Application()) app->ProcessMessages();
  Unbind();
  if (TApplication* app = Application()) app->ProcessMessages();
}

void TSeSkinForm::SkinChanged() {
  SetSkinEngine(m_engine);
  m_hoverTimer->SetEnabled(!Designing());
  if (WindowState() == kwsMaximized) SetOwnerBounds(GetMaximizedBounds());
}

void TSeSkinForm::Dispatch(TMessage& m) {
  std::weak_ptr<const bool> alive = Alive();
  if (m_engine && SkinChangeEngine(m, scChanging) == m_engine) {
    SkinChanging();
  } else if (m_engine && SkinChangeEngine(m, scChanged) == m_engine) {
    SkinChanged();
  } else if (IsObjectChanged(m)) {
    TSeSkinObject* changed = ChangedObject(m);
    if (Skinned() && changed && changed != m_client) PaintNonClient();
  }
  if (alive.expired()) return;
  TSeCustomForm::Dispatch(m);
}

void TSeSkinForm::Loaded() {
  if (!Designing() && BorderStyle() == kbsToolWindow) {
    m_skinObject = "ToolWindow";
    Bind();
  }
  std::weak_ptr<const bool> alive = Alive();
  TSeCustomForm::Loaded();
  if (alive.expired() || Designing()) return;
  FitToSkin();
  NotifyControls();
}

// Every control of the form learns that the look changed: windowed ones through their window,
// graphic ones straight to their handler.
void TSeSkinForm::NotifyControls() {
  TWinControl* owner = OwnerControl();
  if (!owner) return;
  std::vector<TControl*> children;
  for (int i = 0; i < owner->ControlCount(); ++i) children.push_back(owner->Controls(i));
  for (TControl* child : children) {
    // A handler may free later children: only those still on the form are told.
    if (!owner->ContainsControl(child)) continue;
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
      NotifyObjectChanged(windowed->Handle(), nullptr);
    } else {
      NotifyObjectChanged(*child, nullptr);
    }
  }
}

void TSeSkinForm::CustomAction(TSeSkinObject* button) {
  if (OnCustomAction) OnCustomAction(button);
}

void TSeSkinForm::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_engine) {
    m_engine = nullptr;
    Unbind();
  }
  TSeCustomForm::Notification(component, operation);
}

}  // namespace vandrel
