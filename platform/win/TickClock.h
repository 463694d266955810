// The millisecond tick count that drives timers, double clicks and message times, and the
// high-resolution counter. Tests switch the tick count to a manual clock and advance it, so that
// timer order and double-click timing do not depend on how fast the machine runs.
#pragma once

#include <cstdint>

#include "platform/win/WinTypes.h"

namespace vandrel {

DWORD GetTickCount();
std::int64_t QueryPerformanceCounter();
std::int64_t QueryPerformanceFrequency();

class TTickClock {
 public:
  // With manual time the tick count stands still until Advance moves it.
  static void SetManual(bool manual, DWORD start = 100000);
  static bool IsManual();
  static void Advance(DWORD milliseconds);
};

// Manual time for the lifetime of a scope.
class ScopedManualTicks {
 public:
  explicit ScopedManualTicks(DWORD start = 100000) { TTickClock::SetManual(true, start); }
  ~ScopedManualTicks() { TTickClock::SetManual(false); }
  ScopedManualTicks(const ScopedManualTicks&) = delete;
  ScopedManualTicks& operator=(const ScopedManualTicks&) = delete;
};

}  // namespace vandrel
