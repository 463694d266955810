#include "app/DayWatch.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "framework/Timer.h"
#include "platform/core/Clock.h"
#include "platform/win/TickClock.h"

namespace vandrel {
namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
// Time synchronisation nudges the clock by fractions of a second; a suspend or a person moves
// it by more than this.
constexpr double kJumpMilliseconds = 60000.0;

}  // namespace

TDayWatch::TDayWatch(TComponent* owner, std::function<void()> onStale)
    : m_timer(new TTimer(owner)), m_onStale(std::move(onStale)) {
  m_timer->SetEnabled(false);
  m_timer->OnTimer = [this](TPersistent*) { Due(); };
}

UINT TDayWatch::MillisecondsToMidnight() {
  double ms;
  if (ClockPinned()) {
    ms = (Date() + 1 - Now()) * kMillisecondsPerDay;
  } else {
    // Through the C library, so that a day of 23 or 25 hours ends when the local clock says.
    const std::time_t now = std::time(nullptr);
    std::tm midnight{};
    localtime_r(&now, &midnight);
    midnight.tm_mday += 1;
    midnight.tm_hour = midnight.tm_min = midnight.tm_sec = 0;
    midnight.tm_isdst = -1;
    const std::time_t at = std::mktime(&midnight);
    timespec precise{};
    clock_gettime(CLOCK_REALTIME, &precise);
    ms = (double(at) - double(precise.tv_sec)) * 1000.0 - double(precise.tv_nsec) / 1e6;
  }
  // To the millisecond (day fractions carry rounding errors); a wake a moment early only arms
  // again for the rest.
  return UINT(std::max(1LL, std::llround(ms)));
}

void TDayWatch::Restart() {
  m_day = Date();
  m_armedAt = Now();
  m_armedTicks = GetTickCount();
  m_timer->SetEnabled(false);
  m_timer->SetInterval(MillisecondsToMidnight());
  m_timer->SetEnabled(true);
}

void TDayWatch::RetryAfter(UINT delay) {
  // No day matches this one, so the wake counts as stale.
  m_day = 0;
  m_armedAt = Now();
  m_armedTicks = GetTickCount();
  m_timer->SetEnabled(false);
  m_timer->SetInterval(std::max<UINT>(1, delay));
  m_timer->SetEnabled(true);
}

// The rebuild may close the window and free this watch with it: nothing here is touched after it.
void TDayWatch::Due() {
  if (Date() != m_day) {
    std::function<void()> onStale = m_onStale;
    onStale();
  } else {
    Restart();
  }
}

void TDayWatch::ClockChanged() {
  const double expected = m_armedAt + double(GetTickCount() - m_armedTicks) / kMillisecondsPerDay;
  if (Date() != m_day || std::fabs(Now() - expected) * kMillisecondsPerDay > kJumpMilliseconds) {
    std::function<void()> onStale = m_onStale;
    onStale();
  } else {
    Restart();
  }
}

}  // namespace vandrel
