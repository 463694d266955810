// The main window's whole frame and client background painted as the window paints them (the
// frame strips through the Performance mode's surface, then the background on erase), at its real
// size: a 382 x 536 client area inside the shipped skin's frame, active, against one blend of a
// window of that size by the bitmap library measured in the same run: `x_blend` is the paint's
// CPU time divided by the blend's (the target for ksfpNoBuffer is at most 2).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BlendReference.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Loading.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/SkinEngine.h"
#include "skinform/SkinForm.h"

using namespace vandrel;

namespace {

// The main window's form with its skinned-window component, as the program sets them up.
struct MainWindowFrame {
  MainWindowFrame() : screen(THeadlessScreen::Create({1280, 800})) {
    form = app.CreateForm<TForm>();
    TLoadingScope loading(form);
    form->SetCaption("Vandrel3.0");
    form->SetClientWidth(382);
    form->SetClientHeight(536);
    engine = loading.Create<TSeSkinEngine>();
    skin = loading.Create<TSeSkinForm>();
    skin->SetSkinEngine(engine);
    skin->SetSkinObject("Form");
    skin->SetBorderIcons({kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize});
    loading.End();
    engine->SetSkinFile(VANDREL_STEEL_SKIN_FILE);
    form->Show();
    SetForegroundWindow(form->Handle());
    app.ProcessMessages();
  }

  void Paint() {
    skin->PaintNonClient();
    HWND h = form->Handle();
    HDC dc = GetDC(h);
    SendMessage(h, WM_ERASEBKGND, HdcToWParam(dc), 0);
    ReleaseDC(h, dc);
  }

  std::unique_ptr<THeadlessScreen> screen;
  TApplication app;
  TForm* form = nullptr;
  TSeSkinEngine* engine = nullptr;
  TSeSkinForm* skin = nullptr;
};

void BM_PaintFrameAndBackground(benchmark::State& state, TSeFormPerformance mode) {
  MainWindowFrame w;
  if (!w.skin->FormSkin()) {
    state.SkipWithError("the shipped skin did not load");
    return;
  }
  w.skin->SetPerformance(mode);
  w.Paint();
  const TRect window = WindowRect(w.form->Handle());
  const double start = bench::CpuSeconds();
  for (auto _ : state) w.Paint();
  const double seconds = (bench::CpuSeconds() - start) / double(state.iterations());
  const double blend = bench::BlendSeconds(window.Width(), window.Height());
  state.counters["us_per_paint"] = seconds * 1e6;
  state.counters["x_blend"] = seconds / blend;
  state.SetLabel(std::to_string(window.Width()) + "x" + std::to_string(window.Height()));
}

}  // namespace

BENCHMARK_CAPTURE(BM_PaintFrameAndBackground, ksfpNoBuffer, ksfpNoBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintFrameAndBackground, ksfpSharedBuffer, ksfpSharedBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintFrameAndBackground, ksfpPersistentBuffer, ksfpPersistentBuffer)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintFrameAndBackground, ksfpDoubleBuffer, ksfpDoubleBuffer)->Unit(benchmark::kMicrosecond);
