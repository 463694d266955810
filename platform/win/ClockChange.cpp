#include "platform/win/ClockChange.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <vector>

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "platform/win/WindowStyles.h"

namespace vandrel {

TClockChangeWatch::TClockChangeWatch() {
  m_fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
  if (m_fd >= 0) Arm();
}

TClockChangeWatch::~TClockChangeWatch() {
  if (m_fd >= 0) close(m_fd);
}

void TClockChangeWatch::Arm() {
  // An absolute expiry far away that the kernel cancels when the clock is set: the timer itself
  // is never meant to expire.
  itimerspec spec{};
  spec.it_value.tv_sec = std::time(nullptr) + std::time_t(10) * 366 * 86400;
  if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &spec, nullptr) != 0) {
    close(m_fd);
    m_fd = -1;
  }
}

bool TClockChangeWatch::Check() {
  if (m_fd < 0) return false;
  std::uint64_t expirations = 0;
  const ssize_t got = read(m_fd, &expirations, sizeof expirations);
  if (got < 0 && errno == EAGAIN) return false;
  // Cancelled (the clock was set) or, ten years on, expired: watch again either way.
  const bool changed = got < 0 && errno == ECANCELED;
  Arm();
  if (changed) BroadcastTimeChange();
  return changed;
}

void BroadcastTimeChange() {
  // Collected first: a window may be created or destroyed before the posts are taken.
  std::vector<HWND> windows;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) windows.push_back(w);
  for (HWND w : windows) PostMessage(w, WM_TIMECHANGE, 0, 0);
}

}  // namespace vandrel
