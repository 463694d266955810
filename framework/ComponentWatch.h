// TComponentWatch: tells whether a component still exists after a call that can run user code (a
// click handler may free the control that fired it). It is a free-notification partner of the
// component it watches, so it needs no cooperation from that component's class.
//
//   TComponentWatch alive(*this);
//   Click();
//   if (!alive) return;  // the handler freed this control: touch nothing of it
#pragma once

#include "framework/Component.h"

namespace vandrel {

class TComponentWatch : private TComponent {
 public:
  explicit TComponentWatch(TComponent& watched) : TComponent(nullptr), m_watched(&watched) {
    watched.FreeNotification(this);
  }
  ~TComponentWatch() override {
    if (m_watched) m_watched->RemoveFreeNotification(this);
  }
  TComponentWatch(const TComponentWatch&) = delete;
  TComponentWatch& operator=(const TComponentWatch&) = delete;

  explicit operator bool() const { return m_watched != nullptr; }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove && component == m_watched) m_watched = nullptr;
    TComponent::Notification(component, operation);
  }

 private:
  TComponent* m_watched;
};

}  // namespace vandrel
