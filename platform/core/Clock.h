// The current date and time. VANDREL_NOW (e.g. "2024-05-12T09:30:00" or "2024-05-12") pins the
// clock for tests and demonstrations; tests may also pin it in code.
#pragma once

#include <optional>
#include <string_view>

#include "platform/core/DateTime.h"

namespace vandrel {

TDateTime Now();
// Today without a time of day.
TDateTime Date();

// Whether Now() is pinned (in code or by VANDREL_NOW) rather than the system's clock.
bool ClockPinned();

// Pins the clock to a value, or lets it run again with std::nullopt (then VANDREL_NOW applies).
void PinClock(std::optional<TDateTime> value);
// Parses "yyyy-mm-dd", "yyyy-mm-ddThh:nn[:ss]" or with a blank instead of the T.
std::optional<TDateTime> ParseIsoDateTime(std::string_view text);

// The value pinned in code, if any.
std::optional<TDateTime> PinnedClock();

// Pins the clock for the lifetime of a scope, then gives back the pin it replaced.
class ScopedClock {
 public:
  explicit ScopedClock(TDateTime value) : m_previous(PinnedClock()) { PinClock(value); }
  ~ScopedClock() { PinClock(m_previous); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  std::optional<TDateTime> m_previous;
};

}  // namespace vandrel
