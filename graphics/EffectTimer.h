// TseTimer: the stopwatch that paces a transition, on the platform's high-resolution counter (which
// the manual clock of the tests drives). The cost of reading the counter, taken once from two
// readings in a row, is not counted as elapsed time.
#pragma once

#include <cstdint>

namespace vandrel {

class TseTimer {
 public:
  TseTimer();
  void Start();
  void Stop();
  // (stop - start - overhead) / frequency, in single precision as the frame loop adds it up.
  float ElapsedSeconds() const;
  std::int64_t Frequency() const { return m_frequency; }
  std::int64_t Overhead() const { return m_overhead; }

 private:
  std::int64_t m_frequency;
  std::int64_t m_overhead;
  std::int64_t m_start = 0;
  std::int64_t m_stop = 0;
};

}  // namespace vandrel
