#include "framework/Actions.h"

#include <algorithm>

#include "framework/Control.h"
#include "framework/ImageList.h"
#include "framework/PropertyInfo.h"

namespace vandrel {

const TClassInfo& TBasicAction::StaticClassInfo() {
  using T = TBasicAction;
  static const TClassInfo info("TBasicAction", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::String("Caption", &T::Caption, &T::SetCaption),
      prop::Boolean("Checked", &T::Checked, &T::SetChecked, false),
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, true),
      prop::String("Hint", &T::Hint, &T::SetHint),
      prop::Integer("ImageIndex", &T::ImageIndex, &T::SetImageIndex, -1),
      prop::Integer("ShortCut", &T::ShortCut, &T::SetShortCut, 0),
      prop::Boolean("Visible", &T::Visible, &T::SetVisible, true),
      prop::Event("OnExecute", &T::OnExecute),
      prop::Event("OnUpdate", &T::OnUpdate),
  });
  return info;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
  // Clients forget the action before it goes.
  while (!m_clients.empty()) m_clients.back()->SetAction(nullptr);
}

void TBasicAction::Change() {
  // A client may unlink itself while it takes the change.
  auto clients = m_clients;
  for (TActionLink* link : clients)
    if (std::find(m_clients.begin(), m_clients.end(), link) != m_clients.end()) link->Change();
}

void TBasicAction::SetCaption(const std::string& v) {
  if (v == m_caption) return;
  m_caption = v;
  Change();
}
void TBasicAction::SetHint(const std::string& v) {
  if (v == m_hint) return;
  m_hint = v;
  Change();
}
void TBasicAction::SetImageIndex(int v) {
  if (v == m_imageIndex) return;
  m_imageIndex = v;
  Change();
}
void TBasicAction::SetImages(TCustomImageList* images) {
  if (images == m_images) return;
  if (m_images) m_images->RemoveFreeNotification(this);
  m_images = images;
  if (m_images) m_images->FreeNotification(this);
  Change();
}
void TBasicAction::SetEnabled(bool v) {
  if (v == m_enabled) return;
  m_enabled = v;
  Change();
}
void TBasicAction::SetChecked(bool v) {
  if (v == m_checked) return;
  m_checked = v;
  Change();
}
void TBasicAction::SetVisible(bool v) {
  if (v == m_visible) return;
  m_visible = v;
  Change();
}
void TBasicAction::SetShortCut(TShortCut v) {
  if (v == m_shortCut) return;
  m_shortCut = v;
  Change();
}

bool TBasicAction::Execute() {
  Update();
  if (!m_enabled || !OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == m_images) {
    m_images = nullptr;
    Change();
  }
  TComponent::Notification(component, operation);
}

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TBasicAction* action) {
  if (action == m_action) return;
  if (m_action) std::erase(m_action->m_clients, this);
  m_action = action;
  if (m_action) {
    m_action->m_clients.push_back(this);
    Change();
  }
}

bool TActionLink::Execute() { return m_action && m_action->Execute(); }

bool TControlActionLink::IsCaptionLinked() const {
  return Action() && (!m_applied || m_client->Caption() == m_caption);
}
bool TControlActionLink::IsEnabledLinked() const {
  return Action() && (!m_applied || m_client->Enabled() == m_enabled);
}
bool TControlActionLink::IsHintLinked() const { return Action() && (!m_applied || m_client->Hint() == m_hint); }
bool TControlActionLink::IsVisibleLinked() const {
  return Action() && (!m_applied || m_client->Visible() == m_visible);
}

void TControlActionLink::Change() {
  TBasicAction* a = Action();
  if (!a) return;
  bool caption = IsCaptionLinked(), enabled = IsEnabledLinked(), hint = IsHintLinked(), visible = IsVisibleLinked();
  m_caption = a->Caption();
  m_hint = a->Hint();
  m_enabled = a->Enabled();
  m_visible = a->Visible();
  m_applied = true;
  if (caption) m_client->SetCaption(a->Caption());
  if (enabled) m_client->SetEnabled(a->Enabled());
  if (hint) m_client->SetHint(a->Hint());
  if (visible) m_client->SetVisible(a->Visible());
  m_client->ActionChange(a, false);
}

}  // namespace vandrel
