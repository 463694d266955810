// TTimer: fires OnTimer every Interval milliseconds while enabled, on the message loop. An error
// in the handler goes to the application's exception handler; the timer keeps running.
#pragma once

#include "framework/Component.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

class TTimer : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value);
  UINT Interval() const { return m_interval; }
  void SetInterval(UINT ms);
  void SetOnTimer(TNotifyEvent::Handler handler);
  TNotifyEvent OnTimer;

  void Loaded() override;
  // Whether a platform timer runs now.
  bool Running() const { return m_id != 0; }

 private:
  void UpdateTimer();
  void Tick();
  bool m_enabled = true;
  UINT m_interval = 1000;
  UINT_PTR m_id = 0;
};

}  // namespace vandrel
