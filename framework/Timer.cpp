#include "framework/Timer.h"

#include "framework/Application.h"
#include "framework/PropertyInfo.h"
#include "platform/win/MessageQueue.h"

namespace vandrel {

const TClassInfo& TTimer::StaticClassInfo() {
  using T = TTimer;
  static const TClassInfo info("TTimer", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Boolean("Enabled", &T::Enabled, &T::SetEnabled, true),
      prop::Integer("Interval", &T::Interval, &T::SetInterval, 1000),
      prop::Event("OnTimer", &T::OnTimer),
  });
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  if (m_id) KillTimer(nullptr, m_id);
}

void TTimer::SetEnabled(bool value) {
  if (value == m_enabled) return;
  m_enabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(UINT ms) {
  if (ms == m_interval) return;
  m_interval = ms;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent::Handler handler) {
  OnTimer = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (m_id) KillTimer(nullptr, m_id);
  m_id = 0;
  if (m_enabled && m_interval > 0 && OnTimer && !Loading())
    m_id = SetTimer(nullptr, 0, m_interval, [this](HWND, UINT, UINT_PTR, DWORD) { Tick(); });
}

void TTimer::Tick() {
  if (!OnTimer) return;
  try {
    OnTimer(this);
  } catch (...) {
    if (TApplication* app = Application()) {
      app->HandleException(this);
    } else {
      throw;
    }
  }
}

}  // namespace vandrel
