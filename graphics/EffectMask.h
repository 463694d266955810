// What the fade-kind effects draw their coverage masks with: the three value rules, straight
// lines and midpoint circles on the grid of cells, and the inversion that turns an Out pattern into
// its In counterpart.
#pragma once

#include <cstdint>

namespace vandrel {

// A mask of columns x rows cells, one byte each, row after row.
struct TseMask {
  std::uint8_t* Cells;
  int Columns;
  int Rows;
  void Set(int x, int y, std::uint8_t value) const {
    if (x >= 0 && x < Columns && y >= 0 && y < Rows) Cells[y * Columns + x] = value;
  }
};

// Fade variants: the revealed area fades in as the wipe proceeds.
std::uint8_t FadeValue(int progress);
// Smooth variants: step `step` of a ramp of `steps` steps, 2p percent at its start falling to 0
// at its end; 255 once the value would pass it, and everywhere at progress 100.
std::uint8_t SmoothValue(int step, int steps, int progress);

// Both end points included, with the incremental line algorithm's integer stepping; cells
// outside the mask are skipped.
void DrawMaskLine(const TseMask& mask, int x0, int y0, int x1, int y1, std::uint8_t value);
// The outline of radius r around (cx, cy) by the midpoint algorithm (decision value 3 - 2r).
void DrawMaskCircle(const TseMask& mask, int cx, int cy, int r, std::uint8_t value);
// The disc inside that outline: each outline point joined to its mirror image by a line.
void FillMaskDisc(const TseMask& mask, int cx, int cy, int r, std::uint8_t value);

// Turns an Out pattern computed for 100 - p into the In pattern for p. Slide and fade variants
// (smooth false): set cells become 0, empty cells `revealed`; smooth variants: v becomes 255 - v.
void InvertMask(const TseMask& mask, bool smooth, std::uint8_t revealed);

}  // namespace vandrel
