// The status bar's panel layout as pure functions, so it can be checked without painting: which
// panels show, how spare width is shared out, where each panel lies, and which panel a point hits.
//
//   1. panels with ViewPriority > 0 take their Width; the rest keep the work width they last had
//   2. while they do not fit, the lowest-priority panel below 100 is hidden (one always remains)
//   3. spare width goes to the panels with StretchPriority > 0, highest first; what a panel cannot
//      take beyond its MaxWidth passes on to the next
//   4. positions advance by every panel's effective width, hidden ones included; a panel starting
//      at or beyond the available width is hidden; a stretching panel that fills the bar (or is the
//      last) reaches the content rectangle's right edge
#pragma once

#include <vector>

#include "platform/core/Geometry.h"

namespace vandrel {

struct TStatusPanelLayout {
  // What the panel asks for.
  int Width = 50;
  int MaxWidth = 10000;
  int ViewPriority = 100;
  int StretchPriority = 0;
  // What the layout decides; WorkWidth is kept from the previous layout for panels that do not
  // take part (ViewPriority 0).
  int WorkWidth = 0;
  bool Shown = false;
  int Left = 0;
  int Right = 0;

  int EffectiveWidth() const { return WorkWidth < MaxWidth ? WorkWidth : MaxWidth; }
};

// Lays the panels out in the content rectangle's horizontal extent.
void LayoutStatusPanels(std::vector<TStatusPanelLayout>& panels, const TRect& content);
// The index of the panel under the point, -1 for none. A point exactly at the content's left edge
// or beyond all panels hits none; hidden panels take part with their effective width.
int StatusPanelAt(const std::vector<TStatusPanelLayout>& panels, const TRect& content, TPoint point);

}  // namespace vandrel
