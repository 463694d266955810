#include "skincontrols/SkinBinding.h"

#include "framework/Control.h"
#include "skin/SkinEngine.h"
#include "skin/SkinMessages.h"

namespace vandrel {

TSeSkinBinding::TSeSkinBinding(TControl& control, std::string objectName, bool linkCopy)
    : TComponent(nullptr), m_control(control), m_objectName(std::move(objectName)), m_linkCopy(linkCopy) {}

TSeSkinBinding::~TSeSkinBinding() {
  m_bound.reset();
  if (m_engine) m_engine->RemoveFreeNotification(this);
}

const std::string& TSeSkinBinding::Version() {
  static const std::string version = "3.4.7";
  return version;
}

const ISeSkinSource* TSeSkinBinding::ReadySource() const {
  const ISeSkinSource* source = m_engine ? m_engine->Source() : nullptr;
  return source && source->Ready() ? source : nullptr;
}

void TSeSkinBinding::SetSkinEngine(TSeSkinEngine* engine) {
  if (engine != m_engine) {
    if (m_engine) m_engine->RemoveFreeNotification(this);
    m_engine = engine;
    if (m_engine) m_engine->FreeNotification(this);
  }
  const ISeSkinSource* source = ReadySource();
  m_bound.reset();
  if (source) {
    m_bound = source->CloneObject(m_objectName);
    if (m_bound && m_linkCopy) m_bound->SetControl(&m_control);
  }
  if (AfterBind) AfterBind(source != nullptr, m_bound != nullptr);
  m_control.Invalidate();
}

bool TSeSkinBinding::SkinAvailable() const {
  if (m_control.Loading() || m_control.Destroying() || !m_bound) return false;
  const ISeSkinSource* source = ReadySource();
  return source && source->HasObject(m_objectName);
}

ISeSkinObject* TSeSkinBinding::FindObject(std::string_view name) const {
  return m_bound ? m_bound->FindObject(name) : nullptr;
}

bool TSeSkinBinding::DrawObject(std::string_view name, int state, const TRect& bounds, TCanvas& canvas) const {
  ISeSkinObject* object = FindObject(name);
  if (!object) return false;
  object->SetState(state);
  object->SetBounds(bounds);
  object->Draw(canvas);
  return true;
}

void TSeSkinBinding::Handle(const TMessage& m) {
  if (!m_engine) {
    if (IsObjectChanged(m)) m_control.Invalidate();
    return;
  }
  if (SkinChangeEngine(m, scChanging) == m_engine) {
    m_bound.reset();
  } else if (SkinChangeEngine(m, scChanged) == m_engine) {
    SetSkinEngine(m_engine);
  } else if (IsObjectChanged(m)) {
    m_control.Invalidate();
  }
}

void TSeSkinBinding::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_engine) {
    // The engine is half gone: forget it without asking it anything.
    m_engine = nullptr;
    m_bound.reset();
    // An owner freeing both frees the control too: nothing to repaint then.
    if (!m_control.Destroying()) {
      if (AfterBind) AfterBind(false, false);
      m_control.Invalidate();
    }
  }
  TComponent::Notification(component, operation);
}

}  // namespace vandrel
