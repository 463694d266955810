#include "graphics/Animate.h"

#include <algorithm>
#include <cmath>

#include "graphics/EffectTimer.h"
#include "graphics/Transition.h"
#include "platform/core/Text.h"

namespace vandrel {

TseEffectChoice ChooseEffect(const TseAnimationRec& rec) {
  std::string name = rec.Effect();
  if (SameText(name, kRandomEffectName)) {
    const TseProcList& list = EffectList();
    if (list.Count() == 0) return {};
    name = list.Items(int(EffectRandom().Next(std::uint32_t(list.Count()))))->DisplayName();
  }
  if (SameText(name, kBitmapEffectName)) return {nullptr, true};
  return {FindEffect(name), false};
}

void Animate(TCanvas& canvas, int x, int y, const TseAnimationRec& rec, TseBitmap& newPicture,
             const TseBitmap& oldPicture) {
  if (newPicture.IsEmpty() || oldPicture.IsEmpty()) return;
  const TseEffectChoice choice = ChooseEffect(rec);
  if (!choice.Playable()) return;
  if (newPicture.Width() != oldPicture.Width() || newPicture.Height() != oldPicture.Height()) {
    newPicture.Draw(canvas, x, y);
    return;
  }
  TseTransition transition(choice.Item, rec, newPicture, oldPicture);
  TseTimer timer;
  const double time = rec.Time();
  double t = 0.01;
  while (time > t) {
    timer.Start();
    const int progress = std::min(100, int(std::nearbyint(t / time * 100)));
    transition.Frame(progress);
    timer.Stop();
    const float elapsed = timer.ElapsedSeconds();
    transition.Work().Draw(canvas, x, y);
    // A counter that stands still (the manual clock of a test nobody advances) would repeat this
    // frame for ever; go on to the last frame instead.
    if (!(elapsed > 0)) break;
    t += double(elapsed) * 1000;
  }
  transition.Frame(100);
  newPicture.Draw(canvas, x, y);
}

}  // namespace vandrel
