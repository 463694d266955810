#include "skinform/SkinForm.h"

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/PropertyInfo.h"
#include "framework/Timer.h"
#include "platform/core/Text.h"
#include "skin/SkinEngine.h"
#include "skin/SkinMessages.h"
#include "skin/SkinObject.h"

namespace vandrel {

namespace {

constexpr std::string_view kFormObjectName = "Form";

// The skin object classes give a copy its kinds, size, font and colour; a copy that is not one
// of them has none of these, and the form then keeps its own.
TSeSkinObject* AsSkinObject(ISeSkinObject* object) { return dynamic_cast<TSeSkinObject*>(object); }

ISeSkinObject* FindByKind(ISeSkinObject* root, TSeKind kind) {
  TSeSkinObject* object = AsSkinObject(root);
  return object ? dynamic_cast<ISeSkinObject*>(object->FindObjectByKind(kind)) : nullptr;
}

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
  // Hover tracking of the skin's buttons polls here; the buttons' own reactions come with them.
  m_hoverTimer->SetOnTimer([](TPersistent*) {});
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

const ISeSkinSource* TSeSkinForm::ReadySource() const {
  const ISeSkinSource* source = m_engine ? m_engine->Source() : nullptr;
  return source && source->Ready() ? source : nullptr;
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
  if (const ISeSkinSource* source = ReadySource()) {
    Unbind();
    // The form object unless another one is named and present.
    std::string name{kFormObjectName};
    if (!SameText(m_skinObject, kFormObjectName) && source->HasObject(m_skinObject)) name = m_skinObject;
    m_copy = source->CloneObject(name);
    if (m_copy) {
      if (form) m_copy->SetControl(form);
      m_title = FindByKind(m_copy.get(), skTitle);
      m_client = FindByKind(m_copy.get(), skClient);
      if (TSeSkinObject* object = AsSkinObject(m_copy.get()); object && form) {
        form->Font()->Assign(*object->Font());
        form->SetColor(object->Color());
      }
    }
  } else {
    Unbind();
    if (form) form->SetColor(clBtnFace);
  }
  // A skin without a client object gives the window a fixed size.
  if (Skinned() && !m_client) {
    if (TSeSkinObject* object = AsSkinObject(m_copy.get()); object && form)
      form->SetBounds(form->Left(), form->Top(), object->Width(), object->Height());
  }
  RecalcFrame();
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
    ISeSkinObject* changed = dynamic_cast<ISeSkinObject*>(ChangedObject(m));
    if (Skinned() && ChangedObject(m) && changed != m_client) PaintNonClient();
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
  if (Skinned() && !m_client) {
    TCustomForm* form = OwnerForm();
    if (TSeSkinObject* object = AsSkinObject(m_copy.get()); object && form)
      form->SetBounds(form->Left(), form->Top(), object->Width(), object->Height());
  }
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
