#include "graphics/EffectTimer.h"

#include "platform/win/TickClock.h"

namespace vandrel {

TseTimer::TseTimer() : m_frequency(QueryPerformanceFrequency()) {
  std::int64_t first = QueryPerformanceCounter();
  m_overhead = QueryPerformanceCounter() - first;
}

void TseTimer::Start() { m_start = QueryPerformanceCounter(); }

void TseTimer::Stop() { m_stop = QueryPerformanceCounter(); }

float TseTimer::ElapsedSeconds() const {
  return float(m_stop - m_start - m_overhead) / float(m_frequency);
}

}  // namespace vandrel
