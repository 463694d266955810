// Painting the main window's status bar (four panels, three hosted controls) in each buffering
// mode, against the unbuffered paint measured in the same run, see-through as the main window has
// it and opaque. The hosted controls are framed skinned panels in the same mode as the bar. The
// ratios are printed by the last benchmark of each group.
#include <benchmark/benchmark.h>

#include <ctime>
#include <map>
#include <utility>
#include <memory>

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/display/HeadlessScreen.h"
#include "skincontrols/CustomPanel.h"
#include "skincontrols/StatusBar.h"

using namespace vandrel;

namespace {

double CpuMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

// Microseconds per paint by (see-through, mode).
std::map<std::pair<bool, TSePerformance>, double> g_microseconds;

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
  MainWindowBar(TSePerformance mode, bool transparent) : screen(THeadlessScreen::Create({1280, 800})) {
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
    bar->SetTransparent(transparent);
    bar->SetPerformance(mode);
    TSeStatusPanel* text = bar->Panels()->Add();
    text->SetWidth(200);
    text->SetText("2024-5-12  农历  四月初五  星期日");
    for (int width : {80, 50, 50}) {
      auto* hosted = new TSeCustomPanel(form);
      hosted->SetShowCaption(false);
      hosted->SetPerformance(mode);
      hosted->SetTransparent(transparent);
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

void BM_PaintStatusBar(benchmark::State& state, TSePerformance mode, bool transparent) {
  MainWindowBar w(mode, transparent);
  w.Paint();  // the shared buffer is sized on first use
  const long before = w.bar->paints;
  // Processor time: the machine is shared, and waiting for it is not the paint's cost.
  const double start = CpuMicroseconds();
  for (auto _ : state) w.Paint();
  const double us = CpuMicroseconds() - start;
  double& result = g_microseconds[{transparent, mode}];
  result = us / double(state.iterations());
  state.counters["us_per_paint"] = result;
  state.counters["bar_looks_per_paint"] = double(w.bar->paints - before) / double(state.iterations());
}

void BM_RatiosToNoBuffer(benchmark::State& state, bool transparent) {
  for (auto _ : state) {
  }
  const double reference = g_microseconds[{transparent, kspNoBuffer}];
  if (reference <= 0) {
    state.SkipWithError("the unbuffered paint was not measured");
    return;
  }
  state.counters["shared_x_nobuffer"] = g_microseconds[{transparent, kspSharedBuffer}] / reference;
  state.counters["double_x_nobuffer"] = g_microseconds[{transparent, kspDoubleBuffer}] / reference;
}

}  // namespace

// As the main window has them: the bar and the hosted controls see-through.
BENCHMARK_CAPTURE(BM_PaintStatusBar, see_through/kspNoBuffer, kspNoBuffer, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintStatusBar, see_through/kspSharedBuffer, kspSharedBuffer, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintStatusBar, see_through/kspDoubleBuffer, kspDoubleBuffer, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RatiosToNoBuffer, see_through, true)->Iterations(1);
// Opaque: no background requests, so only the buffering differs.
BENCHMARK_CAPTURE(BM_PaintStatusBar, opaque/kspNoBuffer, kspNoBuffer, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintStatusBar, opaque/kspSharedBuffer, kspSharedBuffer, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintStatusBar, opaque/kspDoubleBuffer, kspDoubleBuffer, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RatiosToNoBuffer, opaque, false)->Iterations(1);
