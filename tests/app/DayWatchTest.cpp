// The watch that keeps the window on today: it wakes at midnight by itself and, told of a clock
// change, tells a jump of more than a minute (either way, or a suspend) from time running on.
#include "app/DayWatch.h"

#include <gtest/gtest.h>

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

TEST(DayWatch, WakesOnceAtMidnight) {
  ScopedManualTicks ticks;
  ScopedClock clock(At(2024, 3, 4, 23, 59, 58));
  EXPECT_EQ(TDayWatch::MillisecondsToMidnight(), 2000u);
  TWatched w;
  w.watch.Restart();
  TTickClock::Advance(1999);
  ProcessPendingMessages();
  EXPECT_EQ(w.stale, 0);
  PinClock(At(2024, 3, 5, 0, 0, 0));
  TTickClock::Advance(1);
  ProcessPendingMessages();
  EXPECT_EQ(w.stale, 1);
  // Armed for the next midnight, a whole day on.
  EXPECT_EQ(TDayWatch::MillisecondsToMidnight(), 86400000u);
  TTickClock::Advance(86399999);
  ProcessPendingMessages();
  EXPECT_EQ(w.stale, 1);
  PinClock(At(2024, 3, 6, 0, 0, 0));
  TTickClock::Advance(1);
  ProcessPendingMessages();
  EXPECT_EQ(w.stale, 2);
}

TEST(DayWatch, AnEarlyWakeArmsAgainForTheRest) {
  ScopedManualTicks ticks;
  ScopedClock clock(At(2024, 3, 4, 23, 0, 0));
  TWatched w;
  w.watch.Restart();
  // The clock ran slow: when the timer fires, it is 23:59:00.
  PinClock(At(2024, 3, 4, 23, 59, 0));
  TTickClock::Advance(3600000);
  ProcessPendingMessages();
  EXPECT_EQ(w.stale, 0);
  PinClock(At(2024, 3, 5, 0, 0, 0));
  TTickClock::Advance(60000);
  ProcessPendingMessages();
  EXPECT_EQ(w.stale, 1);
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
