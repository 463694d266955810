// Keeps the window true to the day. It wakes once, at the next local midnight (a timer armed for
// the time left until then), and when the system clock was set (the window gets WM_TIMECHANGE:
// by hand, by time synchronisation, on waking from suspend), and tells its owner when the day the
// window shows is over or the clock jumped by more than a minute.
#pragma once

#include <functional>

#include "platform/core/DateTime.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

class TComponent;
class TTimer;

class TDayWatch {
 public:
  // onStale rebuilds the window; every build of it calls Restart. The timer is owned by owner.
  TDayWatch(TComponent* owner, std::function<void()> onStale);

  // The window is being built for today: arm the timer for the next midnight.
  void Restart();
  // The rebuild for a new day failed: wake again after delay milliseconds and try once more,
  // whatever the clock says then.
  void RetryAfter(UINT delay);
  // The system clock was set.
  void ClockChanged();

  // Milliseconds from now to the next local midnight, daylight saving changes included (as the
  // pinned clock counts when it is pinned); at least 1.
  static UINT MillisecondsToMidnight();

 private:
  void Due();

  TTimer* m_timer;
  std::function<void()> m_onStale;
  TDateTime m_day = 0;
  // The wall clock and the tick count when armed: the tick count runs on when the clock is set
  // and stands still in suspend, so the two drift apart exactly by a jump.
  TDateTime m_armedAt = 0;
  DWORD m_armedTicks = 0;
};

}  // namespace vandrel
