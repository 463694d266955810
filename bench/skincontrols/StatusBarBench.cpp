// Painting the main window's status bar (four panels, three hosted controls) in each buffering
// mode, against the unbuffered paint measured in the same run, see-through as the main window has
// it and opaque. The hosted controls are framed skinned panels in the same mode as the bar. The
// ratios are printed by the last benchmark of each group. A last group paints the main window's bar
// as the program has it (skinned classes hosting the check box and two buttons) with the shipped
// skin, against the same controls without a skin.
#include <benchmark/benchmark.h>

#include <ctime>
#include <map>
#include <utility>
#include <memory>

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/display/HeadlessScreen.h"
#include "skin/SkinEngine.h"
#include "skincontrols/CustomPanel.h"
#include "skincontrols/SkinButton.h"
#include "skincontrols/SkinCheckBox.h"
#include "skincontrols/SkinPanel.h"
#include "skincontrols/SkinStatusBar.h"
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

// Microseconds per paint without and with the skin.
double g_unskinned = 0, g_skinned = 0;

struct SkinnedMainWindowBar {
  explicit SkinnedMainWindowBar(bool skinned) : screen(THeadlessScreen::Create({1280, 800})) {
    form = app.CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 382, 536);
    auto* engine = new TSeSkinEngine(form);
    auto* panel = new TSeSkinPanel(form);
    panel->SetShowCaption(false);
    panel->SetBorderWidth(3);
    panel->SetBevelWidth(1);
    panel->SetPerformance(kspNoBuffer);
    panel->SetParent(form);
    panel->SetAlign(alClient);
    panel->SetSkinEngine(engine);
    bar = new TSeSkinStatusBar(form);
    bar->SetParent(panel);
    bar->SetAlign(alBottom);
    bar->SetHeight(22);
    bar->SetBorderWidth(2);
    bar->SetTransparent(true);
    bar->SetSkinEngine(engine);
    for (int width : {200, 80, 50, 50}) bar->Panels()->Add()->SetWidth(width);
    bar->Panels()->Items(0)->SetText("2024-5-12  农历  四月初五  星期日");
    auto* box = new TSeSkinCheckBox(form);
    box->SetCaption("自动启动");
    box->SetState(cbChecked);
    box->SetSkinEngine(engine);
    controls[0] = box;
    const char* captions[] = {"万年历", "刷新"};
    for (int i = 0; i < 2; ++i) {
      auto* button = new TSeSkinButton(form);
      button->SetCaption(captions[i]);
      button->SetBounds(0, 0, 46, 16);
      button->SetSkinEngine(engine);
      controls[i + 1] = button;
    }
    for (int i = 0; i < 3; ++i) {
      bar->Panels()->Items(i + 1)->SetControl(controls[i]);
      controls[i]->SetParent(bar);
    }
    if (skinned) engine->SetSkinFile(VANDREL_STEEL_SKIN_FILE);
    form->Show();
    app.ProcessMessages();
  }

  void Paint() {
    bar->Repaint();
    for (TWinControl* c : controls) c->Repaint();
  }

  std::unique_ptr<THeadlessScreen> screen;
  TApplication app;
  TForm* form = nullptr;
  TSeSkinStatusBar* bar = nullptr;
  TWinControl* controls[3] = {};
};

void BM_PaintMainWindowBar(benchmark::State& state, bool skinned) {
  SkinnedMainWindowBar w(skinned);
  if (skinned && !w.bar->SkinAvailable()) {
    state.SkipWithError("the shipped skin did not load");
    return;
  }
  w.Paint();
  const double start = CpuMicroseconds();
  for (auto _ : state) w.Paint();
  const double us = (CpuMicroseconds() - start) / double(state.iterations());
  (skinned ? g_skinned : g_unskinned) = us;
  state.counters["us_per_paint"] = us;
}

void BM_SkinnedToUnskinned(benchmark::State& state) {
  for (auto _ : state) {
  }
  if (g_unskinned <= 0 || g_skinned <= 0) {
    state.SkipWithError("both paints must be measured first");
    return;
  }
  state.counters["skinned_x_unskinned"] = g_skinned / g_unskinned;
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
// The main window's bar and its hosted check box and buttons, skinned against their own look.
BENCHMARK_CAPTURE(BM_PaintMainWindowBar, own_look, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintMainWindowBar, shipped_skin, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkinnedToUnskinned)->Iterations(1);
