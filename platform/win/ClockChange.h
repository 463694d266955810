// Notices when the system's wall clock is set (by hand, by time synchronisation stepping it, on
// waking from suspend) and tells every top-level window with WM_TIMECHANGE, as the platform does.
// A display backend waits on its descriptor together with its own input.
#pragma once

namespace vandrel {

class TClockChangeWatch {
 public:
  // Without the system's notice (no timerfd), FileDescriptor() is -1 and nothing is ever told.
  TClockChangeWatch();
  ~TClockChangeWatch();
  TClockChangeWatch(const TClockChangeWatch&) = delete;
  TClockChangeWatch& operator=(const TClockChangeWatch&) = delete;

  // Readable once the clock was set.
  int FileDescriptor() const { return m_fd; }
  // Without blocking: when the clock was set since the last call, posts WM_TIMECHANGE to every
  // top-level window and returns true.
  bool Check();

 private:
  void Arm();
  int m_fd = -1;
};

// Posts WM_TIMECHANGE to every top-level window.
void BroadcastTimeChange();

}  // namespace vandrel
