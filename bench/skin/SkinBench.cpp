// The main window's frame at 392 x 570: a private copy of the shipped skin's "Form" tree laid out
// (all eight passes) and drawn into a window-sized bitmap, active, inactive and with the close button
// pressed, against one blend of the whole window measured in the same run. Each benchmark
// reports `x_blend`, its time per frame divided by that blend's (target: at most 2). `Region`
// builds the window region from the same tree, which happens on a resize only. With
// VANDREL_BENCH_SNAPSHOTS set to a folder, each frame benchmark writes the frame it drew there as a
// PNG, to look at.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/BlendReference.h"
#include "framework/Canvas.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngWriter.h"
#include "skin/SkinSource.h"

using namespace vandrel;

namespace {

constexpr int kWidth = 392;
constexpr int kHeight = 570;

double BlendSeconds() {
  static const double seconds = bench::BlendSeconds(kWidth, kHeight);
  return seconds;
}

// The skin the program carries, as the build packs it.
TSeSkinObject& ShippedForm() {
  static TSeSkinSource* source = [] {
    auto* s = new TSeSkinSource;
    s->LoadFromFile(VANDREL_STEEL_SKIN);
    if (!s->FormObject()) throw std::runtime_error(std::string("no Form in ") + VANDREL_STEEL_SKIN);
    return s;
  }();
  return *source->FormObject();
}

enum TLook { lkActive, lkInactive, lkClosePressed };

struct TFrame {
  std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
  TSeSkinObject* form = TSeSkinObject::CloneObject(ShippedForm(), owner.get());

  explicit TFrame(TLook look) {
    // The caption's text is the window's, set on each copy as the skinned window does.
    form->FindObject("Title")->SetText("Vandrel - 提醒");
    form->SetActive(look != lkInactive);
    form->SetState(kStateNormal);
    form->SetBounds({0, 0, kWidth, kHeight});
    if (look == lkClosePressed) {
      TSeSkinObject* close = form->FindObject("CloseButton");
      if (!close) throw std::runtime_error("the shipped skin has no CloseButton");
      close->MouseDown(mbLeft, {1, 1});
    }
  }
};

void BM_Frame(benchmark::State& state, TLook look) {
  TFrame frame(look);
  TseBitmap target;
  target.SetSize(kWidth, kHeight);
  TCanvas canvas;
  canvas.SetHandle(target.DC());
  const double reference = BlendSeconds();
  const double t0 = bench::CpuSeconds();
  for (auto _ : state) {
    frame.form->AlignChildren();
    frame.form->Draw(canvas);
    benchmark::ClobberMemory();
  }
  const double elapsed = bench::CpuSeconds() - t0;
  canvas.SetHandle(HDC());
  if (const char* folder = std::getenv("VANDREL_BENCH_SNAPSHOTS"))
    WritePng(target.DC(), std::string(folder) + "/frame-" + std::to_string(int(look)) + ".png");
  state.counters["x_blend"] = elapsed / double(state.iterations()) / reference;
  state.counters["blend_us"] = reference * 1e6;
}

void BM_Region(benchmark::State& state) {
  TFrame frame(lkActive);
  const double reference = BlendSeconds();
  const double t0 = bench::CpuSeconds();
  for (auto _ : state) {
    HRGN region = frame.form->BuildRegion();
    benchmark::DoNotOptimize(region);
    DeleteObject(region);
  }
  state.counters["x_blend"] = (bench::CpuSeconds() - t0) / double(state.iterations()) / reference;
}

[[maybe_unused]] const bool kRegistered = [] {
  benchmark::RegisterBenchmark("Frame/Active/392x570", BM_Frame, lkActive)->MinTime(0.3);
  benchmark::RegisterBenchmark("Frame/Inactive/392x570", BM_Frame, lkInactive)->MinTime(0.3);
  benchmark::RegisterBenchmark("Frame/ClosePressed/392x570", BM_Frame, lkClosePressed)->MinTime(0.3);
  benchmark::RegisterBenchmark("Region/392x570", BM_Region)->MinTime(0.3);
  return true;
}();

}  // namespace
