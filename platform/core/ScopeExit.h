// Runs an action when a scope ends, however it ends: what a modal loop must undo (capture,
// timers, a disabled owner, a pointer to its own state) is undone on an exception too. An action
// that throws while another exception is already on its way is dropped, so the first one reaches
// the handler; on a normal exit its exception propagates.
#pragma once

#include <exception>
#include <utility>

namespace vandrel {

template <class F>
class [[nodiscard]] TScopeExit {
 public:
  explicit TScopeExit(F action) : m_action(std::move(action)), m_exceptions(std::uncaught_exceptions()) {}
  ~TScopeExit() noexcept(false) {
    if (std::uncaught_exceptions() == m_exceptions) {
      m_action();
      return;
    }
    try {
      m_action();
    } catch (...) {
    }
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  F m_action;
  int m_exceptions;
};

}  // namespace vandrel
