// The watch that keeps the window on today: it wakes at midnight by itself and, told of a clock
// change, tells a jump of more than a minute (either way, or a suspend) from time running on.
#include "app/DayWatch.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "framework/Component.h"
#include "platform/core/Clock.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickClock.h"

using namespace vandrel;

namespace {

TDateTime At(int year, int month, int day, int hour, int minute, int second = 0) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second, 0));
}

// Its owner rebuilds for the new day, which restarts the watch, as the window does.
struct TWatched {
  TComponent owner{nullptr};
  int stale = 0;
  TDayWatch watch{&owner, [this] {
                    ++stale;
                    watch.Restart();
                  }};
};

}  // namespace

TEST(DayWatch, WakesAtMidnightAndArmsAgainAfterAnEarlyWake) {
  struct Step {
    TDateTime clock;  // the wall clock once the milliseconds have run
    DWORD ms;
    int stale;
  };
  struct Case {
    const char* what;
    TDateTime start;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"two seconds before midnight, then a whole day",
       At(2024, 3, 4, 23, 59, 58),
       {{At(2024, 3, 4, 23, 59, 59), 1999, 0},
        {At(2024, 3, 5, 0, 0, 0), 1, 1},
        {At(2024, 3, 5, 23, 59, 59), 86399999, 1},
        {At(2024, 3, 6, 0, 0, 0), 1, 2}}},
      // The clock ran slow: when the timer fires it is still 23:59, so it waits for the rest.
      {"an early wake", At(2024, 3, 4, 23, 0, 0), {{At(2024, 3, 4, 23, 59, 0), 3600000, 0}, {At(2024, 3, 5, 0, 0, 0), 60000, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedManualTicks ticks;
    ScopedClock clock(c.start);
    TWatched w;
    w.watch.Restart();
    for (const Step& step : c.steps) {
      PinClock(step.clock);
      TTickClock::Advance(step.ms);
      ProcessPendingMessages();
      EXPECT_EQ(w.stale, step.stale) << step.ms;
    }
  }
}

TEST(DayWatch, MillisecondsToMidnightOfThePinnedClock) {
  const std::pair<TDateTime, UINT> cases[] = {
      {At(2024, 3, 4, 23, 59, 58), 2000},
      {At(2024, 3, 5, 0, 0, 0), 86400000},
      {At(2024, 12, 31, 12, 0, 0), 43200000},
  };
  for (const auto& [now, ms] : cases) {
    ScopedClock clock(now);
    EXPECT_EQ(TDayWatch::MillisecondsToMidnight(), ms);
  }
}

TEST(DayWatch, ClockChangesOfMoreThanAMinuteOrToAnotherDayAreStale) {
  struct Case {
    const char* what;
    TDateTime armed;
    DWORD ticks;  // milliseconds that ran since
    TDateTime now;
    bool stale;
  };
  const Case cases[] = {
      {"an hour back", At(2024, 3, 5, 10, 0), 0, At(2024, 3, 5, 9, 0), true},
      {"an hour forward", At(2024, 3, 5, 10, 0), 0, At(2024, 3, 5, 11, 0), true},
      {"a suspend of two hours", At(2024, 3, 5, 10, 0), 1000, At(2024, 3, 5, 12, 0, 1), true},
      {"time ran on", At(2024, 3, 5, 10, 0), 600000, At(2024, 3, 5, 10, 10), false},
      {"synchronisation nudged it", At(2024, 3, 5, 10, 0), 600000, At(2024, 3, 5, 10, 10, 30), false},
      {"two seconds, past midnight", At(2024, 3, 4, 23, 59, 59), 0, At(2024, 3, 5, 0, 0, 1), true},
      {"back across midnight", At(2024, 3, 5, 0, 30), 0, At(2024, 3, 4, 23, 30), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedManualTicks ticks;
    ScopedClock clock(c.armed);
    TWatched w;
    w.watch.Restart();
    TTickClock::Advance(c.ticks);
    PinClock(c.now);
    w.watch.ClockChanged();
    EXPECT_EQ(w.stale, c.stale ? 1 : 0);
  }
}
