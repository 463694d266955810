#include "skinform/MenuLayout.h"

#include <algorithm>

namespace vandrel {

TSeMenuLayout LayoutMenu(const std::vector<TSeMenuEntry>& entries, TPoint origin, bool vertical, bool scrolled,
                         int scrollCount, int scrollPosition) {
  TSeMenuLayout layout;
  int count = int(entries.size());
  layout.ItemRects.assign(entries.size(), TRect{});
  layout.Scrolling = vertical && scrolled && scrollCount > 0;
  layout.First = layout.Scrolling ? std::clamp(scrollPosition, 0, count) : 0;
  layout.Last = layout.Scrolling ? std::min(count, layout.First + scrollCount) : count;
  // The cross size covers every visible entry, shown or not, so scrolling never changes it.
  int cross = 0;
  for (const TSeMenuEntry& e : entries)
    if (e.Visible) cross = std::max(cross, vertical ? e.Size.cx : e.Size.cy);
  int along = layout.Scrolling ? kMenuScrollButtonHeight : 0;
  for (int i = layout.First; i < layout.Last; ++i) {
    const TSeMenuEntry& e = entries[size_t(i)];
    if (!e.Visible) continue;
    if (vertical) {
      layout.ItemRects[size_t(i)] = {origin.X, origin.Y + along, origin.X + cross, origin.Y + along + e.Size.cy};
      along += e.Size.cy;
    } else {
      layout.ItemRects[size_t(i)] = {origin.X + along, origin.Y, origin.X + along + e.Size.cx, origin.Y + cross};
      along += e.Size.cx;
    }
  }
  if (layout.Scrolling) along += kMenuScrollButtonHeight;
  layout.Content = vertical ? TSize{cross, along} : TSize{along, cross};
  if (layout.Scrolling) {
    layout.ScrollUp = {origin.X, origin.Y, origin.X + cross, origin.Y + kMenuScrollButtonHeight};
    layout.ScrollDown = {origin.X, origin.Y + along - kMenuScrollButtonHeight, origin.X + cross, origin.Y + along};
  }
  return layout;
}

TPoint PlacePopup(TPoint anchor, TSize size, const std::optional<TRect>& exclude, bool dropsDown,
                  const TRect& monitor) {
  TPoint p = anchor;
  if (!exclude) {
    if (p.X + size.cx > monitor.Right) p.X -= size.cx;
    if (p.Y + size.cy > monitor.Bottom) p.Y -= size.cy;
  } else {
    const TRect& r = *exclude;
    if (dropsDown) {
      p = {r.Left, r.Bottom};
      if (p.X + size.cx > monitor.Right) p.X = r.Right - size.cx;
      if (p.Y + size.cy > monitor.Bottom) {
        p.Y = r.Top - size.cy;
        if (p.Y < monitor.Top) p.Y = monitor.Top;
      }
    } else {
      p = {r.Right, r.Top};
      if (p.X + size.cx > monitor.Right) p.X = r.Left - size.cx;
      if (p.Y + size.cy > monitor.Bottom) p.Y = r.Bottom - size.cy;
    }
    p.X = std::min(p.X, monitor.Right - size.cx);
    p.Y = std::min(p.Y, monitor.Bottom - size.cy);
  }
  p.X = std::max(p.X, monitor.Left);
  p.Y = std::max(p.Y, monitor.Top);
  return p;
}

int StepHotItem(const std::vector<TSeMenuEntry>& entries, int current, bool forward) {
  int count = int(entries.size());
  if (count == 0) return -1;
  int i = current;
  if (i < 0 || i >= count) i = forward ? -1 : count;
  for (int step = 0; step < count; ++step) {
    i = forward ? (i + 1) % count : (i - 1 + count) % count;
    const TSeMenuEntry& e = entries[size_t(i)];
    if (e.Visible && !e.Separator) return i;
  }
  return current >= 0 && current < count ? current : -1;
}

int ScrollToShow(int index, int scrollPosition, int scrollCount, int count) {
  if (scrollCount <= 0) return 0;
  int maxPosition = std::max(0, count - scrollCount);
  if (index < scrollPosition) scrollPosition = index;
  else if (index >= scrollPosition + scrollCount) scrollPosition = index - scrollCount + 1;
  return std::clamp(scrollPosition, 0, maxPosition);
}

}  // namespace vandrel
