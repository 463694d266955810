// Painting the main window's status bar (transparent, four panels, three hosted controls) in each
// buffering mode, against the unbuffered paint measured in the same run. The hosted controls are
// framed skinned panels in the same mode as the bar. The ratios are printed by the last benchmark.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/display/HeadlessScreen.h"
#include "skincontrols/CustomPanel.h"
#include "skincontrols/StatusBar.h"

using namespace vandrel;

namespace {

std::map<TSePerformance, double> g_microseconds;

// Counts how often the bar's look is painted: once for its own paint and once more for each
// see-through hosted control that asks for the background behind it.
class TCountingStatusBar : public TSeCustomStatusBar {
 public:
  using TSeCustomStatusBar::TSeCustomStatusBar;
  long paints = 0;

 protected:
  void PaintClient() override {
    ++paints;
    TSeCustomStatusBar::PaintClient();
  }
};

struct MainWindowBar {
  explicit MainWindowBar(TSePerformance mode) : screen(THeadlessScreen::Create({1280, 800})) {
    form = app.CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 382, 536);
    auto* panel = new TSeCustomPanel(form);
    panel->SetShowCaption(false);
    panel->SetParent(form);
    panel->SetAlign(alClient);
    bar = new TCountingStatusBar(form);
    bar->SetParent(panel);
    bar->SetAlign(alBottom);
    bar->SetTransparent(true);
    bar->SetPerformance(mode);
    TSeStatusPanel* text = bar->Panels()->Add();
    text->SetWidth(200);
    text->SetText("2024-5-12  农历  四月初五  星期日");
    for (int width : {80, 50, 50}) {
      auto* hosted = new TSeCustomPanel(form);
      hosted->SetShowCaption(false);
      hosted->SetPerformance(mode);
      hosted->SetTransparent(true);
      TSeStatusPanel* p = bar->Panels()->Add();
      p->SetWidth(width);
      p->SetControl(hosted);
      hosted->SetParent(bar);
      controls[hostedCount++] = hosted;
    }
    form->Show();
    app.ProcessMessages();
  }

  void Paint() {
    bar->Repaint();
    for (TSeCustomPanel* c : controls) c->Repaint();
  }

  std::unique_ptr<THeadlessScreen> screen;
  TApplication app;
  TForm* form = nullptr;
  TCountingStatusBar* bar = nullptr;
  TSeCustomPanel* controls[3] = {};
  int hostedCount = 0;
};

void BM_PaintStatusBar(benchmark::State& state, TSePerformance mode) {
  MainWindowBar w(mode);
  w.Paint();  // the shared buffer is sized on first use
  const long before = w.bar->paints;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) w.Paint();
  const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  g_microseconds[mode] = us / double(state.iterations());
  state.counters["us_per_paint"] = g_microseconds[mode];
  state.counters["bar_looks_per_paint"] = double(w.bar->paints - before) / double(state.iterations());
}

void BM_RatiosToNoBuffer(benchmark::State& state) {
  for (auto _ : state) {
  }
  const double reference = g_microseconds[kspNoBuffer];
  if (reference <= 0) {
    state.SkipWithError("the unbuffered paint was not measured");
    return;
  }
  state.counters["shared_x_nobuffer"] = g_microseconds[kspSharedBuffer] / reference;
  state.counters["double_x_nobuffer"] = g_microseconds[kspDoubleBuffer] / reference;
}

}  // namespace

BENCHMARK_CAPTURE(BM_PaintStatusBar, kspNoBuffer, kspNoBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintStatusBar, kspSharedBuffer, kspSharedBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintStatusBar, kspDoubleBuffer, kspDoubleBuffer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RatiosToNoBuffer)->Iterations(1);
