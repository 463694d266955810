// The wipes: a front that moves down, closes from the top and bottom, opens from the middle,
// crosses the picture diagonally, or grows as a cross or a rectangle around the centre, each in a
// smooth, a slide and a fade variant; and the plain Fade.
#include <algorithm>
#include <cstdlib>

#include "graphics/BuiltInEffects.h"
#include "graphics/RectHelpers.h"

namespace vandrel {
namespace {

using namespace effects;

// Rows from the top down to row MulDiv(p, rows - 1, 100).
struct TDown {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    const int last = MulDiv(p, m.Rows - 1, 100);
    for (int y = 0; y <= last; ++y) DrawMaskLine(m, 0, y, m.Columns - 1, y, value);
  }
  static int Step(int, int y, int, int) { return y; }
  static int Steps(int, int rows) { return MulDiv(rows, 3, 2); }
};

// Rows from the top and from the bottom, up to MulDiv(p, rows div 2, 100) rows each.
struct TIn {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    const int k = MulDiv(p, m.Rows / 2, 100);
    for (int y = 0; y <= k; ++y) {
      DrawMaskLine(m, 0, y, m.Columns - 1, y, value);
      DrawMaskLine(m, 0, m.Rows - 1 - y, m.Columns - 1, m.Rows - 1 - y, value);
    }
  }
  static int Step(int, int y, int, int rows) { return std::min(y, rows - 1 - y); }
  static int Steps(int, int rows) { return MulDiv(rows, 8, 10); }
};

// Rows from the middle outwards, up to MulDiv(p, rows div 2, 100) rows each way.
struct TOut {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    const int middle = m.Rows / 2, k = MulDiv(p, m.Rows / 2, 100);
    for (int y = middle - k; y <= middle + k; ++y) DrawMaskLine(m, 0, y, m.Columns - 1, y, value);
  }
  static int Step(int, int y, int, int rows) { return std::abs(y - rows / 2); }
  static int Steps(int, int rows) { return MulDiv(rows, 8, 10); }
};

// Lines across the top-left corner: the front runs from (2a, 0) to (0, 2b), a and b being
// MulDiv(columns - 1, p, 100) and MulDiv(rows - 1, p, 100); at 100 it passes the far corner.
struct TDiagonal {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    const int a2 = 2 * MulDiv(m.Columns - 1, p, 100), b2 = 2 * MulDiv(m.Rows - 1, p, 100);
    if (b2 == 0) {
      DrawMaskLine(m, 0, 0, a2, 0, value);
      return;
    }
    for (int y = 0; y <= std::min(b2, m.Rows - 1); ++y)
      DrawMaskLine(m, 0, y, int(std::int64_t(a2) * (b2 - y) / b2), y, value);
  }
  static int Step(int x, int y, int columns, int rows) {
    return Round((Fraction(x, columns) + Fraction(y, rows)) * (columns + rows) / 2);
  }
  static int Steps(int columns, int rows) { return MulDiv(columns + rows, 3, 2); }
};

// How far a cell lies from the diagonal that joins the top-left and bottom-right corners: 0 on
// it, 1 in the two other corners.
double OffDiagonal(int x, int y, int columns, int rows) {
  return std::abs(Fraction(x, columns) - Fraction(y, rows));
}

// From the bottom-left and top-right corners toward the diagonal.
struct TDiagonalIn {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    CoverCells(m, value, [&](int x, int y) {
      return (1.0 - OffDiagonal(x, y, m.Columns, m.Rows)) * 100 <= p;
    });
  }
  static int Step(int x, int y, int columns, int rows) {
    return Round((1.0 - OffDiagonal(x, y, columns, rows)) * (columns + rows) / 2);
  }
  static int Steps(int columns, int rows) { return MulDiv(columns + rows, 3, 4); }
};

// A band along the diagonal widening outwards.
struct TDiagonalOut {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    CoverCells(m, value, [&](int x, int y) { return OffDiagonal(x, y, m.Columns, m.Rows) * 100 <= p; });
  }
  static int Step(int x, int y, int columns, int rows) {
    return Round(OffDiagonal(x, y, columns, rows) * (columns + rows) / 2);
  }
  static int Steps(int columns, int rows) { return MulDiv(columns + rows, 3, 4); }
};

// A vertical and a horizontal band through the centre, half-widths growing to p x size / 200.
struct TCross {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    CoverCells(m, value, [&](int x, int y) {
      return Distance2(x, m.Columns) * 100 < p * m.Columns || Distance2(y, m.Rows) * 100 < p * m.Rows;
    });
  }
  static int Step(int x, int y, int columns, int rows) {
    double f = std::min(double(Distance2(x, columns)) / columns, double(Distance2(y, rows)) / rows);
    return Round(f * std::max(columns, rows) / 2);
  }
  static int Steps(int columns, int rows) { return MulDiv(std::max(columns, rows), 8, 10); }
};

// A rectangle around the centre with the picture's aspect ratio.
struct TRectangle {
  static void Cover(const TseMask& m, int p, std::uint8_t value) {
    CoverCells(m, value, [&](int x, int y) {
      return Distance2(x, m.Columns) * 100 < p * m.Columns && Distance2(y, m.Rows) * 100 < p * m.Rows;
    });
  }
  static int Step(int x, int y, int columns, int rows) {
    double f = std::max(double(Distance2(x, columns)) / columns, double(Distance2(y, rows)) / rows);
    return Round(f * std::max(columns, rows) / 2);
  }
  static int Steps(int columns, int rows) { return MulDiv(std::max(columns, rows), 8, 10); }
};

void Fade(std::uint8_t* cells, int columns, int rows, int progress) {
  std::fill_n(cells, columns * rows, std::uint8_t(Round(progress / 100.0 * 255)));
}

constexpr TseEffectEntry kWipes[] = {
    {"SmoothDiagonal", ekFade, &Out<vrSmooth, TDiagonal>},
    {"SmoothDiagonalIn", ekFade, &Out<vrSmooth, TDiagonalIn>},
    {"SmoothDiagonalOut", ekFade, &Out<vrSmooth, TDiagonalOut>},
    {"SmoothDown", ekFade, &Out<vrSmooth, TDown>},
    {"SmoothIn", ekFade, &Out<vrSmooth, TIn>},
    {"SmoothOut", ekFade, &Out<vrSmooth, TOut>},
    {"SmoothCrossOut", ekFade, &Out<vrSmooth, TCross>},
    {"SmoothCrossIn", ekFade, &In<vrSmooth, TCross>},
    {"SmoothRectIn", ekFade, &In<vrSmooth, TRectangle>},
    {"SmoothRectOut", ekFade, &Out<vrSmooth, TRectangle>},
    {"SlideDiagonal", ekFade, &Out<vrSlide, TDiagonal>},
    {"SlideDiagonalIn", ekFade, &Out<vrSlide, TDiagonalIn>},
    {"SlideDiagonalOut", ekFade, &Out<vrSlide, TDiagonalOut>},
    {"SlideDown", ekFade, &Out<vrSlide, TDown>},
    {"SlideIn", ekFade, &Out<vrSlide, TIn>},
    {"SlideOut", ekFade, &Out<vrSlide, TOut>},
    {"SlideCrossOut", ekFade, &Out<vrSlide, TCross>},
    {"SlideCrossIn", ekFade, &In<vrSlide, TCross>},
    {"SlideRectOut", ekFade, &Out<vrSlide, TRectangle>},
    {"SlideRectIn", ekFade, &In<vrSlide, TRectangle>},
    {"Fade", ekFade, &Fade},
    {"FadeDiagonal", ekFade, &Out<vrFade, TDiagonal>},
    {"FadeDiagonalIn", ekFade, &Out<vrFade, TDiagonalIn>},
    {"FadeDiagonalOut", ekFade, &Out<vrFade, TDiagonalOut>},
    {"FadeDown", ekFade, &Out<vrFade, TDown>},
    {"FadeIn", ekFade, &Out<vrFade, TIn>},
    {"FadeOut", ekFade, &Out<vrFade, TOut>},
    {"FadeCrossOut", ekFade, &Out<vrFade, TCross>},
    {"FadeCrossIn", ekFade, &In<vrFade, TCross>},
    {"FadeRectOut", ekFade, &Out<vrFade, TRectangle>},
    {"FadeRectIn", ekFade, &In<vrFade, TRectangle>},
};

}  // namespace

std::span<const TseEffectEntry> WipeEffects() { return kWipes; }

}  // namespace vandrel
