// TComponent: a named persistent object in an ownership tree. An owner frees what it owns; a
// component removes itself from its owner when freed; components that merely refer to another one
// ask for a free notification and forget it in Notification(opRemove).
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Event.h"
#include "framework/Persistent.h"
#include "framework/SmallSet.h"

namespace vandrel {

enum TComponentStateFlag {
  csLoading,       // properties are being read; Loaded ends it
  csReading,       // the reader is setting properties right now
  csWriting,
  csDestroying,
  csDesigning,     // never set at run time; code paths may still test it
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
};
using TComponentState = TSmallSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  explicit TComponent(TComponent* owner);
  // Frees what the component owns after the derived destructors have run; a class whose owned
  // components use its members while they are freed calls DestroyComponents() itself first.
  ~TComponent() override;

  TComponent* Owner() const { return m_owner; }
  int ComponentCount() const { return int(m_components.size()); }
  // nullptr for an index out of range.
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  // Direct owned components only, ignoring ASCII case; nullptr for an empty name or no match.
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  const std::string& Name() const { return m_name; }
  // Raises EComponentError for a name that is not an identifier or is taken in the owner.
  virtual void SetName(const std::string& name);
  std::int32_t Tag() const { return m_tag; }
  void SetTag(std::int32_t tag) { m_tag = tag; }

  TComponentState ComponentState() const { return m_state; }
  bool Loading() const { return m_state.Contains(csLoading); }
  bool Designing() const { return m_state.Contains(csDesigning); }
  bool Destroying() const { return m_state.Contains(csDestroying); }
  // Sets or clears csDesigning on this component and everything it owns.
  void SetDesigning(bool value);
  // Used by the reader: csLoading and csReading on while properties are read.
  void SetLoadingState(bool loading);
  void SetReadingState(bool reading);

  // Asks that `component` be told (Notification opRemove) when this one is freed, and the other way
  // round. Calling it twice registers once.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Owned components written to, and read back from, a component stream as children of this one.
  // The default gives every owned component, in order.
  virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const;
  // Publishes a handler under a name so that stored events naming it can be bound on reading.
  template <typename Signature>
  void PublishMethod(std::string name, std::function<Signature> handler) {
    m_methods.emplace_back(std::move(name), std::any(std::move(handler)));
  }
  // nullptr when no handler is published under that name (ASCII case ignored).
  const std::any* FindMethod(std::string_view name) const;

  std::string GetNamePath() const override;
  // Called once after the whole stream has been read, in reading order (root first); the
  // base clears csLoading. Overrides call the base first.
  virtual void Loaded();

 protected:
  // Sent to this component about another: opInsert/opRemove for what it owns (and forwarded to
  // what it owns), opRemove for free-notification partners. Overrides forget their references
  // to a removed component and then call the base.
  virtual void Notification(TComponent* component, TOperation operation);
  // Override to validate a rename; the base checks for a duplicate in the owner.
  virtual void ValidateRename(TComponent* component, const std::string& currentName,
                              const std::string& newName);
  TPersistent* GetOwner() const override { return m_owner; }
  // Sets csDestroying here and on everything owned; a destructor that still sends messages (a
  // window going) calls it first, so that whoever hears them knows the component is going.
  void MarkDestroying();

 private:
  friend class TReader;
  friend class TWriter;
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* m_owner = nullptr;
  std::vector<TComponent*> m_components;
  std::vector<TComponent*> m_freeNotifies;
  std::vector<std::pair<std::string, std::any>> m_methods;
  std::string m_name;
  std::int32_t m_tag = 0;
  TComponentState m_state;
};

// True for a valid component name: a letter or '_', then letters, digits or '_'.
bool IsValidIdent(std::string_view name);

}  // namespace vandrel
