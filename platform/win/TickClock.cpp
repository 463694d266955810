#include "platform/win/TickClock.h"

#include <chrono>

namespace vandrel {

namespace {

struct TManualState {
  bool manual = false;
  DWORD ticks = 0;
};

TManualState& State() {
  static TManualState state;
  return state;
}

std::int64_t SteadyNanoseconds() {
  using namespace std::chrono;
  return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

DWORD GetTickCount() {
  if (State().manual) return State().ticks;
  return DWORD(SteadyNanoseconds() / 1000000);
}

std::int64_t QueryPerformanceCounter() {
  // Under manual time the counter follows the tick count, so measured durations agree with it.
  if (State().manual) return std::int64_t(State().ticks) * 1000000;
  return SteadyNanoseconds();
}

std::int64_t QueryPerformanceFrequency() { return 1000000000; }

void TTickClock::SetManual(bool manual, DWORD start) {
  State().manual = manual;
  State().ticks = start;
}

bool TTickClock::IsManual() { return State().manual; }

void TTickClock::Advance(DWORD milliseconds) { State().ticks += milliseconds; }

}  // namespace vandrel
