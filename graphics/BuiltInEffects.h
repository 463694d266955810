// The effects this library registers, family by family, and the shared helpers of their
// patterns. The registry enters the families in this order: wipes, the pixel effects, shapes,
// the flows, then the cell and manual effects.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "graphics/EffectMask.h"
#include "graphics/EffectRegistry.h"

namespace vandrel {

struct TseEffectEntry {
  std::string_view Name;
  TseEffectKind Kind;
  TseEffectProc Proc;
};

// Smooth, Slide and Fade variants of Diagonal, DiagonalIn, DiagonalOut, Down, In, Out, CrossOut,
// CrossIn, RectIn, RectOut, and Fade.
std::span<const TseEffectEntry> WipeEffects();
// Pixel, Pixel fade, Pixel line.
std::span<const TseEffectEntry> PixelEffects();
// The circle, diamond and rotate families.
std::span<const TseEffectEntry> ShapeEffects();
// Stream, Plasma.
std::span<const TseEffectEntry> FlowEffects();
// Interlace, Corner (slide kind), Slide, Push (manual kind).
std::span<const TseEffectEntry> CellEffects();

namespace effects {

// Which value rule a variant follows.
enum TValueRule { vrSmooth, vrSlide, vrFade };

// Every cell for which inside(x, y) holds takes the value.
template <typename Inside>
void CoverCells(const TseMask& m, std::uint8_t value, Inside inside) {
  for (int y = 0; y < m.Rows; ++y) {
    std::uint8_t* row = m.Cells + y * m.Columns;
    for (int x = 0; x < m.Columns; ++x)
      if (inside(x, y)) row[x] = value;
  }
}

// Every cell takes the smooth ramp's value at the step step(x, y) of `steps`. The ramp's values
// are worked out once per frame: a step past its end is 0 (255 at progress 100).
template <typename Step>
void RampCells(const TseMask& m, int steps, int progress, Step step) {
  std::vector<std::uint8_t> ramp(std::size_t(std::max(steps, 0)) + 1);
  for (int e = 0; e <= std::max(steps, 0); ++e) ramp[std::size_t(e)] = SmoothValue(e, steps, progress);
  const std::uint8_t beyond = SmoothValue(std::max(steps, 0) + 1, steps, progress);
  for (int y = 0; y < m.Rows; ++y) {
    std::uint8_t* row = m.Cells + y * m.Columns;
    for (int x = 0; x < m.Columns; ++x) {
      const int e = step(x, y);
      row[x] = e >= 0 && e < int(ramp.size()) ? ramp[std::size_t(e)] : beyond;
    }
  }
}

// A position along one side as a fraction 0 to 1 (0 on a grid one cell long).
inline double Fraction(int i, int count) { return count > 1 ? double(i) / (count - 1) : 0.0; }
// Twice the distance of a cell from the centre line of its side (an integer also when the
// centre falls between two cells).
inline int Distance2(int i, int count) { return std::abs(2 * i - (count - 1)); }
// Halves to even, as every rounding of the patterns.
inline int Round(double v) { return int(std::nearbyint(v)); }

// A shape that grows from an origin: Cover(mask, p, value) writes the area reached at p (every
// cell at 100, and nothing at 0 for the shapes that have an In variant); Step(x, y, columns, rows) and Steps(columns, rows) place a cell on the
// smooth ramp. Out(...) plays it outwards, In(...) closes it again by inverting the Out pattern.
template <TValueRule rule, typename Shape>
void Out(std::uint8_t* cells, int columns, int rows, int progress) {
  TseMask m{cells, columns, rows};
  if constexpr (rule == vrSmooth) {
    RampCells(m, Shape::Steps(columns, rows), progress,
              [&](int x, int y) { return Shape::Step(x, y, columns, rows); });
  } else {
    Shape::Cover(m, progress, rule == vrSlide ? 255 : FadeValue(progress));
  }
}

template <TValueRule rule, typename Shape>
void In(std::uint8_t* cells, int columns, int rows, int progress) {
  TseMask m{cells, columns, rows};
  if constexpr (rule == vrSmooth) {
    Out<vrSmooth, Shape>(cells, columns, rows, 100 - progress);
    InvertMask(m, true, 0);
  } else {
    // The Out pattern is drawn opaque so that its lowest fade value still counts as set.
    Out<vrSlide, Shape>(cells, columns, rows, 100 - progress);
    InvertMask(m, false, rule == vrSlide ? 255 : FadeValue(progress));
  }
}

}  // namespace effects

}  // namespace vandrel
