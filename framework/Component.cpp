#include "framework/Component.h"

#include <algorithm>

#include "framework/ComponentErrors.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"

namespace vandrel {

const TClassInfo& TComponent::StaticClassInfo() {
  using T = TComponent;
  // Name travels in the object header, never as a property.
  static const TClassInfo info("TComponent", &TPersistent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::String("Name", &T::Name, &T::SetName).Stored(false),
      prop::Integer("Tag", &T::Tag, &T::SetTag, 0),
  });
  return info;
}

bool IsValidIdent(std::string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  MarkDestroying();
  while (!m_freeNotifies.empty()) {
    TComponent* other = m_freeNotifies.back();
    m_freeNotifies.pop_back();
    std::erase(other->m_freeNotifies, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (m_owner) m_owner->RemoveComponent(this);
}

void TComponent::MarkDestroying() {
  if (m_state.Contains(csDestroying)) return;
  m_state.Include(csDestroying);
  for (TComponent* c : m_components) c->MarkDestroying();
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) return nullptr;
  return m_components[size_t(index)];
}

int TComponent::ComponentIndex() const {
  if (!m_owner) return -1;
  auto& list = m_owner->m_components;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : m_components)
    if (SameText(c->m_name, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component) return;
  if (component->m_owner == this) return;
  ValidateRename(component, "", component->m_name);
  if (component->m_owner) component->m_owner->RemoveComponent(component);
  Insert(component);
  if (Designing()) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->m_owner != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  m_components.push_back(component);
  component->m_owner = this;
}

void TComponent::Remove(TComponent* component) {
  // Owned components are freed from the last one, so the search starts there: freeing a wide tree
  // stays linear.
  auto it = std::find(m_components.rbegin(), m_components.rend(), component);
  if (it != m_components.rend()) m_components.erase(std::next(it).base());
  component->m_owner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!m_components.empty()) {
    TComponent* last = m_components.back();
    RemoveComponent(last);
    delete last;
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == m_name) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (m_owner)
    m_owner->ValidateRename(this, m_name, name);
  else
    ValidateRename(nullptr, m_name, name);
  m_name = name;
}

void TComponent::ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName) {
  if (component && !newName.empty() && !SameText(currentName, newName)) {
    TComponent* existing = FindComponent(newName);
    if (existing && existing != component)
      throw EComponentError("A component named " + newName + " already exists");
  }
}

void TComponent::SetDesigning(bool value) {
  if (value)
    m_state.Include(csDesigning);
  else
    m_state.Exclude(csDesigning);
  for (TComponent* c : m_components) c->SetDesigning(value);
}

void TComponent::SetLoadingState(bool loading) {
  if (loading)
    m_state.Include(csLoading);
  else
    m_state.Exclude(csLoading);
}

void TComponent::SetReadingState(bool reading) {
  if (reading)
    m_state.Include(csReading);
  else
    m_state.Exclude(csReading);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), component) == m_freeNotifies.end())
    m_freeNotifies.push_back(component);
  if (std::find(component->m_freeNotifies.begin(), component->m_freeNotifies.end(), this) ==
      component->m_freeNotifies.end())
    component->m_freeNotifies.push_back(this);
  m_state.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  std::erase(m_freeNotifies, component);
  std::erase(component->m_freeNotifies, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // A handler may free components; walk by index and re-check the bound.
  for (size_t i = 0; i < m_components.size(); ++i) m_components[i]->Notification(component, operation);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) const {
  for (size_t i = 0; i < m_components.size(); ++i) proc(m_components[i]);
}

const std::any* TComponent::FindMethod(std::string_view name) const {
  for (const auto& [methodName, handler] : m_methods)
    if (SameText(methodName, name)) return &handler;
  return nullptr;
}

std::string TComponent::GetNamePath() const { return m_name; }

void TComponent::Loaded() { m_state.Exclude(csLoading); }

}  // namespace vandrel
