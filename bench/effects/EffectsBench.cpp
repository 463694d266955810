// One frame of every transition effect at 392 x 570 (a window), with cells of 1 and 4 pixels,
// against one blend of the whole window measured in the same run: each benchmark reports
// `x_blend`, its time per iteration divided by the time the row blend takes to put a picture with
// random alpha 1..254 over another of that size (1 = as fast as that blend). `Pattern` computes
// the effect's mask or cell map for the frame (rotation included); `Compose` brings the new
// picture over the work picture through it (for the manual kind, the whole frame).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bench/BlendReference.h"
#include "graphics/Transition.h"

using namespace vandrel;

namespace {

constexpr int kWidth = 392;
constexpr int kHeight = 570;

using bench::CpuSeconds;

void Randomize(TseBitmap& b, std::mt19937& random, int minAlpha, int maxAlpha) {
  bench::Randomize(b, kWidth, kHeight, random, minAlpha, maxAlpha);
}

double BlendSeconds() {
  static const double seconds = bench::BlendSeconds(kWidth, kHeight);
  return seconds;
}

enum TStage { stPattern, stCompose };

void BM_Effect(benchmark::State& state, const TseProcItem* item, int resolution, TStage stage) {
  std::mt19937 random(11);
  TseBitmap oldPicture, newPicture;
  Randomize(oldPicture, random, 255, 255);
  Randomize(newPicture, random, 255, 255);
  TseAnimationRec rec;
  rec.SetResolution(resolution);
  TseTransition transition(item, rec, newPicture, oldPicture);
  transition.Frame(50);
  const double reference = BlendSeconds();
  double t0 = CpuSeconds();
  for (auto _ : state) {
    if (stage == stPattern) transition.Pattern(50);
    else transition.Compose(50);
    benchmark::ClobberMemory();
  }
  const double elapsed = CpuSeconds() - t0;
  state.counters["x_blend"] = elapsed / double(state.iterations()) / reference;
}

void BM_Blend(benchmark::State& state) {
  std::mt19937 random(7);
  TseBitmap source, target;
  Randomize(source, random, 1, 254);
  Randomize(target, random, 255, 255);
  const double reference = BlendSeconds();
  double t0 = CpuSeconds();
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) BlendRow(source.Row(y), target.Row(y), kWidth);
    benchmark::ClobberMemory();
  }
  state.counters["x_blend"] = (CpuSeconds() - t0) / double(state.iterations()) / reference;
  state.counters["blend_us"] = reference * 1e6;
}

[[maybe_unused]] const bool kRegistered = [] {
  benchmark::RegisterBenchmark("Blend/392x570", BM_Blend)->MinTime(0.2);
  for (int resolution : {1, 4})
    for (int i = 0; i < EffectList().Count(); ++i) {
      const TseProcItem* item = EffectList().Items(i);
      for (TStage stage : {stPattern, stCompose}) {
        std::string name = std::string(stage == stPattern ? "Pattern/" : "Compose/") + item->Name() +
                           "/res" + std::to_string(resolution);
        benchmark::RegisterBenchmark(name.c_str(), BM_Effect, item, resolution, stage)->MinTime(0.05);
      }
    }
  return true;
}();

}  // namespace
