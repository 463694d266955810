#include "skincontrols/StatusPanelLayout.h"

#include <algorithm>

namespace vandrel {

void LayoutStatusPanels(std::vector<TStatusPanelLayout>& panels, const TRect& content) {
  const int available = content.Right - content.Left;
  std::vector<TStatusPanelLayout*> list;
  long long sum = 0;
  for (auto& p : panels) {
    if (p.ViewPriority > 0) {
      p.WorkWidth = p.Width;
      p.Shown = true;
      sum += p.Width;
      list.push_back(&p);
    } else {
      p.Shown = false;
    }
  }
  std::stable_sort(list.begin(), list.end(),
                   [](auto* a, auto* b) { return a->ViewPriority > b->ViewPriority; });
  while (sum > available && list.size() >= 2 && list.back()->ViewPriority < 100) {
    list.back()->Shown = false;
    sum -= list.back()->EffectiveWidth();
    list.pop_back();
  }
  long long spare = available - sum;
  if (spare > 0) {
    std::erase_if(list, [](auto* p) { return p->StretchPriority == 0; });
    while (!list.empty() && spare > 0) {
      std::stable_sort(list.begin(), list.end(),
                       [](auto* a, auto* b) { return a->StretchPriority < b->StretchPriority; });
      TStatusPanelLayout* p = list.back();
      p->WorkWidth = int(std::min<long long>(p->WorkWidth + spare, 1 << 29));
      spare = p->WorkWidth - p->EffectiveWidth();
      list.pop_back();
    }
  }
  long long x = 0;
  for (size_t i = 0; i < panels.size(); ++i) {
    auto& p = panels[i];
    if (x >= available) p.Shown = false;
    p.Left = int(content.Left + x);
    p.Right = p.Shown ? p.Left + p.EffectiveWidth() : p.Left;
    x += p.EffectiveWidth();
    const bool last = i + 1 == panels.size();
    if (((p.Shown && x >= available) || last) && p.StretchPriority > 0) p.Right = content.Right;
  }
}

int StatusPanelAt(const std::vector<TStatusPanelLayout>& panels, const TRect& content, TPoint point) {
  if (point.Y < content.Top || point.Y > content.Bottom || point.X < content.Left || panels.empty())
    return -1;
  long long x = content.Left;
  int hit = -1;
  while (x < point.X && hit + 1 < int(panels.size())) {
    ++hit;
    x += panels[size_t(hit)].EffectiveWidth();
  }
  return x < point.X ? -1 : hit;
}

}  // namespace vandrel
