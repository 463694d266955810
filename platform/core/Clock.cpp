#include "platform/core/Clock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vandrel {
namespace {

std::optional<TDateTime>& PinnedInCode() {
  static std::optional<TDateTime> pinned;
  return pinned;
}

// VANDREL_NOW, read once; a value that does not parse is reported once and ignored.
const std::optional<TDateTime>& PinnedByEnvironment() {
  static const std::optional<TDateTime> pinned = [] {
    const char* text = std::getenv("VANDREL_NOW");
    if (!text || !*text) return std::optional<TDateTime>();
    auto value = ParseIsoDateTime(text);
    if (!value)
      std::fprintf(stderr, "vandrel: VANDREL_NOW=\"%s\" is not a date such as 2024-05-12T09:30:00; using the real clock\n", text);
    return value;
  }();
  return pinned;
}

TDateTime LocalNow() {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  int msec = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return ComposeDateTime(EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, msec));
}

}  // namespace

TDateTime Now() {
  if (PinnedInCode()) return *PinnedInCode();
  if (PinnedByEnvironment()) return *PinnedByEnvironment();
  return LocalNow();
}

TDateTime Date() { return DateOf(Now()); }

bool ClockPinned() { return PinnedInCode() || PinnedByEnvironment(); }

void PinClock(std::optional<TDateTime> value) { PinnedInCode() = value; }

std::optional<TDateTime> PinnedClock() { return PinnedInCode(); }

std::optional<TDateTime> ParseIsoDateTime(std::string_view text) {
  int y, mo, d, h = 0, mi = 0, s = 0;
  int used = 0;
  std::string copy(text);
  if (std::sscanf(copy.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used) != 3) return std::nullopt;
  std::string_view rest = std::string_view(copy).substr(size_t(used));
  if (!rest.empty()) {
    if (rest[0] != 'T' && rest[0] != ' ') return std::nullopt;
    std::string time(rest.substr(1));
    int n = 0;
    if (std::sscanf(time.c_str(), "%2d:%2d%n", &h, &mi, &n) != 2) return std::nullopt;
    if (size_t(n) < time.size()) {
      int m = 0;
      if (std::sscanf(time.c_str() + n, ":%2d%n", &s, &m) != 1 || size_t(n + m) != time.size())
        return std::nullopt;
    }
  }
  TDateTime date, time;
  if (!TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, s, 0, time)) return std::nullopt;
  return ComposeDateTime(date, time);
}

}  // namespace vandrel
