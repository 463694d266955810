// One move of a translucent, shadowed window of the main window's size (392 x 570): the strips of
// the screen the move uncovered are read, the frame and client background are put over the
// capture, the shadow band is composed and the window presented. Measured against one blend of a
// whole window of that size by the bitmap library in the same run: `x_blend` is the move's time
// divided by the blend's (the target is at most 3).
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BlendReference.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Loading.h"
#include "platform/core/Color.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickClock.h"
#include "platform/win/Window.h"
#include "skinform/SkinForm.h"

using namespace vandrel;

namespace {

constexpr int kWidth = 392;
constexpr int kHeight = 570;

void BM_MoveBlendedShadowedWindow(benchmark::State& state) {
  ScopedManualTicks ticks;
  auto screen = THeadlessScreen::Create({1280, 800});
  auto app = std::make_unique<TApplication>();
  TForm* back = app->CreateForm<TForm>();
  back->SetBorderStyle(bsNone);
  back->SetBounds(0, 0, 1280, 800);
  back->SetColor(clTeal);
  ShowWindow(back->Handle(), SW_SHOW);
  TForm* form = app->CreateForm<TForm>();
  form->SetBounds(200, 100, kWidth, kHeight);
  {
    TLoadingScope loading(form);
    auto* skin = loading.Create<TSeSkinForm>();
    skin->Blending()->SetValue(128);
    skin->Blending()->SetEnabled(true);
    skin->Shadow()->SetEnabled(true);
    loading.End();
  }
  ShowWindow(form->Handle(), SW_SHOW);
  app->ProcessMessages();
  HWND h = form->Handle();
  const double blend = bench::BlendSeconds(kWidth, kHeight);
  double spent = 0;
  int step = 0;
  for (auto _ : state) {
    const TRect r = WindowRect(h);
    const int d = (step++ % 2) ? -3 : 3;
    const double t0 = bench::CpuSeconds();
    SetWindowPos(h, nullptr, r.Left + d, r.Top + d, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    app->ProcessMessages();
    spent += bench::CpuSeconds() - t0;
  }
  const double move = spent / double(state.iterations());
  state.counters["move_ms"] = move * 1000;
  state.counters["blend_ms"] = blend * 1000;
  state.counters["x_blend"] = move / blend;
  app.reset();
  while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
}
BENCHMARK(BM_MoveBlendedShadowedWindow)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
