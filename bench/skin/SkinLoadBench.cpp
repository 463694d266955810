// Loading the shipped skin (inflate, content, 57 BMP images, 24 object trees) against a raw
// inflate of the same file measured in the same run: each benchmark reports `x_inflate`, its time
// per iteration divided by the time the raw inflate takes (target for the load: at most 1.3).
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <vector>

#include "platform/core/Stream.h"
#include "skin/SkinFilter.h"
#include "skin/SkinSource.h"
#include "skin/ZlibStream.h"

using namespace vandrel;

namespace {

// Thread CPU time, so that other processes on the shared machine do not skew either side.
double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

const std::vector<std::uint8_t>& SkinFile() {
  static const std::vector<std::uint8_t> bytes = [] {
    TFileStream file(VANDREL_STEEL_SKIN, fmOpenRead);
    std::vector<std::uint8_t> b(size_t(file.Size()));
    file.ReadBuffer(b.data(), std::int64_t(b.size()));
    return b;
  }();
  return bytes;
}

// The container's zlib stream inflated into memory, with the buffers the loader uses.
std::int64_t RawInflate() {
  const auto& file = SkinFile();
  TReadOnlyMemoryStream input(file.data(), std::int64_t(file.size()));
  input.SetPosition(4);
  TDecompressionStream content(input);
  static std::vector<std::uint8_t> out(1 << 20);
  std::int64_t total = 0;
  while (const std::int64_t n = content.Read(out.data(), 8192)) total += n;
  return total;
}

void LoadSkin() {
  const auto& file = SkinFile();
  TReadOnlyMemoryStream input(file.data(), std::int64_t(file.size()));
  TSeSkinSource source;
  TSeSkinFilterMaxCompression filter;
  filter.SetSource(&source);
  filter.LoadFromStream(input);
  benchmark::DoNotOptimize(source.Count());
}

// CPU seconds of one raw inflate, the median of several timed runs.
double InflateSeconds() {
  static const double seconds = [] {
    std::vector<double> runs;
    for (int r = 0; r < 15; ++r) {
      const int reps = 40;
      const double t0 = CpuSeconds();
      for (int i = 0; i < reps; ++i) benchmark::DoNotOptimize(RawInflate());
      runs.push_back((CpuSeconds() - t0) / reps);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
  }();
  return seconds;
}

template <void (*Work)()>
void Measure(benchmark::State& state) {
  const double reference = InflateSeconds();
  const double t0 = CpuSeconds();
  for (auto _ : state) Work();
  state.counters["x_inflate"] = (CpuSeconds() - t0) / double(state.iterations()) / reference;
  state.counters["inflate_us"] = reference * 1e6;
}

void Inflate() { benchmark::DoNotOptimize(RawInflate()); }

BENCHMARK(Measure<Inflate>)->Name("RawInflate")->MinTime(0.2);
BENCHMARK(Measure<LoadSkin>)->Name("LoadShippedSkin")->MinTime(0.5);

}  // namespace
