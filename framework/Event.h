// Published events: a handler together with the name it is stored under in a component stream.
// Streams carry only the name; the reader binds it to a handler the root component publishes
// under that name (TComponent::PublishMethod), so that a stored form keeps its wiring.
#pragma once

#include <any>
#include <functional>
#include <string>
#include <utility>

#include "framework/ComponentErrors.h"

namespace vandrel {

class TEventBase {
 public:
  virtual ~TEventBase() = default;
  // Empty for a handler assigned in code: such a handler is not stored.
  const std::string& MethodName() const { return m_methodName; }
  virtual bool Assigned() const = 0;
  // Raises EPropertyError when the published handler has another signature.
  virtual void Bind(const std::string& methodName, const std::any& handler) = 0;
  virtual void Clear() = 0;

 protected:
  std::string m_methodName;
};

template <typename Signature>
class TEvent;

template <typename R, typename... Args>
class TEvent<R(Args...)> : public TEventBase {
 public:
  using Handler = std::function<R(Args...)>;

  TEvent() = default;
  TEvent(Handler handler) : m_handler(std::move(handler)) {}
  TEvent& operator=(Handler handler) {
    m_handler = std::move(handler);
    m_methodName.clear();
    return *this;
  }

  explicit operator bool() const { return bool(m_handler); }
  bool Assigned() const override { return bool(m_handler); }
  R operator()(Args... args) const { return m_handler(std::forward<Args>(args)...); }

  void Bind(const std::string& methodName, const std::any& handler) override {
    const Handler* h = std::any_cast<Handler>(&handler);
    if (!h) throw EPropertyError("Method '" + methodName + "' has an incompatible type");
    m_handler = *h;
    m_methodName = methodName;
  }
  void Clear() override {
    m_handler = nullptr;
    m_methodName.clear();
  }

 private:
  Handler m_handler;
};

class TPersistent;
using TNotifyEvent = TEvent<void(TPersistent* sender)>;

}  // namespace vandrel
