// The reference the skin layer's benchmarks measure against in the same run: one blend of a
// whole window-sized picture with random alpha 1..254 over an opaque one, by the bitmap library's
// row kernel, timed in thread CPU seconds so that other processes on a shared machine skew
// neither side.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <random>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/PixelBlend.h"

namespace vandrel::bench {

inline double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

inline void Randomize(TseBitmap& b, int width, int height, std::mt19937& random, int minAlpha, int maxAlpha) {
  b.SetSize(width, height);
  std::uniform_int_distribution<int> alpha(minAlpha, maxAlpha);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, (random() & 0x00FFFFFFu) | TseColor(alpha(random)) << 24);
}

// CPU seconds of one blend of a width x height window, the median of several timed runs.
inline double BlendSeconds(int width, int height) {
  std::mt19937 random(7);
  TseBitmap source, target;
  Randomize(source, width, height, random, 1, 254);
  Randomize(target, width, height, random, 255, 255);
  std::vector<double> runs;
  for (int r = 0; r < 15; ++r) {
    const int reps = 50;
    const double t0 = CpuSeconds();
    for (int i = 0; i < reps; ++i) {
      for (int y = 0; y < height; ++y) BlendRow(source.Row(y), target.Row(y), width);
      benchmark::ClobberMemory();
    }
    runs.push_back((CpuSeconds() - t0) / reps);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

}  // namespace vandrel::bench
