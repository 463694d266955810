// The shapes: discs around the centre or from the bottom-left corner, diamonds around the centre,
// and a line pivoting around the bottom-left corner, each in a smooth, a slide and a fade variant.
// Slide and fade discs are filled between the points of a midpoint circle; the smooth ramps go by
// the rounded distance, so that the rings of successive radii leave no cell out.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graphics/BuiltInEffects.h"
#include "graphics/RectHelpers.h"

namespace vandrel {
namespace {

using namespace effects;

int Diagonal(int columns, int rows) { return Round(std::hypot(columns, rows)); }

// A disc around the centre whose radius reaches half the diagonal at 100.
struct TCentreDisc {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    if (p <= 0) return;
    const int reach = int(std::ceil(std::hypot(m.Columns, m.Rows) / 2)) + 1;
    FillMaskDisc(m, m.Columns / 2, m.Rows / 2, MulDiv(p, reach, 100), value);
  }
  static int Step(int x, int y, int columns, int rows) {
    const double dx = x - (columns - 1) / 2.0, dy = y - (rows - 1) / 2.0;
    return Round(std::sqrt(dx * dx + dy * dy));
  }
  static int Steps(int columns, int rows) { return MulDiv(Diagonal(columns, rows), 9, 10); }
};

// A disc growing from the bottom-left corner to the full diagonal.
struct TCornerDisc {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    if (p <= 0) return;
    const int reach = int(std::ceil(std::hypot(m.Columns, m.Rows))) + 1;
    FillMaskDisc(m, 0, m.Rows - 1, MulDiv(p, reach, 100), value);
  }
  static int Step(int x, int y, int, int rows) {
    const double dy = rows - 1 - y;
    return Round(std::sqrt(double(x) * x + dy * dy));
  }
  static int Steps(int columns, int rows) { return MulDiv(Diagonal(columns, rows), 3, 2); }
};

// A diamond around the centre: its corners touch the middle of the sides at 50 and it passes the
// picture's corners at 100.
struct TDiamond {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    const std::int64_t c = m.Columns, r = m.Rows;
    CoverCells(m, value, [&](int x, int y) {
      return (Distance2(x, m.Columns) * r + Distance2(y, m.Rows) * c) * 100 < 2 * p * c * r;
    });
  }
  static int Step(int x, int y, int columns, int rows) {
    double f = double(Distance2(x, columns)) / columns + double(Distance2(y, rows)) / rows;
    return Round(f / 2 * std::max(columns, rows));
  }
  static int Steps(int columns, int rows) { return MulDiv(std::max(columns, rows), 5, 2); }
};

// The line from the bottom-left corner starts along the bottom edge; its far end climbs the right
// edge (positions 0 to rows - 1) and then runs along the top edge to the left (up to
// rows + columns - 2). A cell's step is the first position at which the line has passed it.
struct TRotate {
  static int Step(int x, int y, int columns, int rows) {
    const std::int64_t vx = x, vy = rows - 1 - y, w = columns - 1, h = rows - 1;
    if (vx == 0 && vy == 0) return 0;
    if (vx > 0 && vy * w <= h * vx) return int((vy * w + vx - 1) / vx);
    return int(h + w - vx * h / vy);
  }
  static int Steps(int columns, int rows) { return MulDiv(columns + rows, 3, 2); }
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    const int last = MulDiv(m.Columns + m.Rows, p, 100);
    CoverCells(m, value, [&](int x, int y) { return Step(x, y, m.Columns, m.Rows) <= last; });
  }
};

constexpr TseEffectEntry kShapes[] = {
    {"CircleSlideOut", ekFade, &Out<vrSlide, TCentreDisc>},
    {"CircleFadeOut", ekFade, &Out<vrFade, TCentreDisc>},
    {"CircleSmoothOut", ekFade, &Out<vrSmooth, TCentreDisc>},
    {"CircleSlideIn", ekFade, &In<vrSlide, TCentreDisc>},
    {"CircleFadeIn", ekFade, &In<vrFade, TCentreDisc>},
    {"CircleSmoothIn", ekFade, &In<vrSmooth, TCentreDisc>},
    {"CircleSlide", ekFade, &Out<vrSlide, TCornerDisc>},
    {"CircleFade", ekFade, &Out<vrFade, TCornerDisc>},
    {"CircleSmooth", ekFade, &Out<vrSmooth, TCornerDisc>},
    {"DiamondSlideIn", ekFade, &In<vrSlide, TDiamond>},
    {"DiamondFadeIn", ekFade, &In<vrFade, TDiamond>},
    {"DiamondSmoothIn", ekFade, &In<vrSmooth, TDiamond>},
    {"DiamondSlideOut", ekFade, &Out<vrSlide, TDiamond>},
    {"DiamondFadeOut", ekFade, &Out<vrFade, TDiamond>},
    {"DiamondSmoothOut", ekFade, &Out<vrSmooth, TDiamond>},
    {"RotateSlide", ekFade, &Out<vrSlide, TRotate>},
    {"RotateFade", ekFade, &Out<vrFade, TRotate>},
    {"RotateSmooth", ekFade, &Out<vrSmooth, TRotate>},
};

}  // namespace

std::span<const TseEffectEntry> ShapeEffects() { return kShapes; }

}  // namespace vandrel
