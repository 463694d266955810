// The geometry of menus as pure functions: stacking a level's items, placing a popup window on its
// monitor, and moving the hot item with the scroll position. The views call these; tests call them
// directly.
#pragma once

#include <optional>
#include <vector>

#include "platform/core/Geometry.h"

namespace vandrel {

// Scroll buttons are this high, and a scrolled list starts this far down.
inline constexpr int kMenuScrollButtonHeight = 10;

struct TSeMenuEntry {
  TSize Size;            // measured; ignored for an invisible entry
  bool Visible = true;
  bool Separator = false;
};

struct TSeMenuLayout {
  std::vector<TRect> ItemRects;  // one per entry; empty outside the shown range or when invisible
  TSize Content;
  int First = 0;                 // the shown range [First, Last)
  int Last = 0;
  bool Scrolling = false;
  TRect ScrollUp, ScrollDown;    // empty unless scrolling
};

// Vertical stacks (popups) or a row (menu bars, never scrolled). Scrolling needs scrollCount > 0.
TSeMenuLayout LayoutMenu(const std::vector<TSeMenuEntry>& entries, TPoint origin, bool vertical, bool scrolled,
                         int scrollCount, int scrollPosition);

// Where a popup window of `size` goes on `monitor`. Without `exclude`, at the anchor (left of it
// or above it where it would pass the right or bottom edge); with `exclude` (the opening item's
// screen rectangle), below it for a menu bar or right of it for a popup, flipping where it does
// not fit, then pulled inside the monitor's right and bottom edges. A window never starts left of
// or above the monitor, so every item stays reachable.
TPoint PlacePopup(TPoint anchor, TSize size, const std::optional<TRect>& exclude, bool dropsDown,
                  const TRect& monitor);

// The next (or previous) entry that is visible and not a separator, wrapping around; `current`
// itself when no other entry qualifies, -1 when none does. current = -1 starts before the first
// (after the last going backwards).
int StepHotItem(const std::vector<TSeMenuEntry>& entries, int current, bool forward);
// The scroll position that shows `index` with `scrollCount` entries at a time.
int ScrollToShow(int index, int scrollPosition, int scrollCount, int count);

}  // namespace vandrel
