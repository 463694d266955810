// The effects that scatter: cells turning in a random order (Pixel, Pixel fade, Pixel line),
// columns falling like streams with random delays (Stream), and a plasma cloud (Plasma). Their
// generator is seeded with the number of cells before every frame, so each frame draws the same
// sequence as the one before and what has been revealed stays revealed.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <numeric>
#include <vector>

#include "graphics/BuiltInEffects.h"
#include "graphics/LinearRandom.h"
#include "graphics/RectHelpers.h"

namespace vandrel {
namespace {

using namespace effects;

std::uint32_t GridSeed(int columns, int rows) { return std::uint32_t(columns) * std::uint32_t(rows); }

// Visits the first round(cells x p / 100) cells of a random order of all cells. The order is
// drawn one cell at a time (a partial shuffle), so the cells of a lower progress are the first of
// those of a higher one.
template <typename Visit>
void ScatterCells(int columns, int rows, int progress, Visit visit) {
  const int n = columns * rows;
  const int count = std::min(n, Round(double(n) * progress / 100));
  if (count <= 0) return;
  std::vector<int> order(std::size_t(n), 0);
  std::iota(order.begin(), order.end(), 0);
  TLinearRandom random(GridSeed(columns, rows));
  for (int i = 0; i < count; ++i) {
    int j = i + int(random.Next(std::uint32_t(n - i)));
    std::swap(order[std::size_t(i)], order[std::size_t(j)]);
    const int cell = order[std::size_t(i)];
    visit(cell % columns, cell / columns, cell);
  }
}

void Pixel(std::uint8_t* cells, int columns, int rows, int progress) {
  ScatterCells(columns, rows, progress, [&](int, int, int cell) { cells[cell] = 255; });
}

void PixelFade(std::uint8_t* cells, int columns, int rows, int progress) {
  const auto value = std::uint8_t(Round(progress / 100.0 * 255));
  ScatterCells(columns, rows, progress, [&](int, int, int cell) { cells[cell] = value; });
}

// The value falls toward the right; at 100 every cell is opaque, so that the transition ends on
// the whole new picture.
void PixelLine(std::uint8_t* cells, int columns, int rows, int progress) {
  if (progress <= 0) return;
  std::vector<std::uint8_t> value(static_cast<std::size_t>(columns), 255);
  if (progress < 100)
    for (int x = 0; x < columns; ++x) {
      int percent = std::clamp(Round(2.0 * progress - x * columns * 0.1 / progress), 0, 100);
      value[std::size_t(x)] = std::uint8_t(MulDiv(percent, 255, 100));
    }
  ScatterCells(columns, rows, progress, [&](int x, int, int cell) { cells[cell] = value[std::size_t(x)]; });
}

// Each column starts after a random delay of 0 to 79 steps, smoothed over its neighbours in 8
// passes so that neighbouring streams fall together, and fills downwards over 100 steps; the
// progress runs over 180 steps, so the last stream is down at 100.
void Stream(std::uint8_t* cells, int columns, int rows, int progress) {
  TLinearRandom random(GridSeed(columns, rows));
  std::vector<int> delay(static_cast<std::size_t>(columns)), next(delay.size());
  for (int& d : delay) d = int(random.Next(80));
  for (int pass = 0; pass < 8; ++pass) {
    for (int x = 0; x < columns; ++x) {
      int left = delay[std::size_t(std::max(x - 1, 0))];
      int right = delay[std::size_t(std::min(x + 1, columns - 1))];
      next[std::size_t(x)] = (left + delay[std::size_t(x)] + right) / 3;
    }
    delay.swap(next);
  }
  const int steps = progress * 180 / 100;
  for (int x = 0; x < columns; ++x) {
    const int local = std::clamp(steps - delay[std::size_t(x)], 0, 100);
    const int filled = MulDiv(local, rows, 100);
    for (int y = 0; y < filled; ++y) cells[y * columns + x] = 255;
  }
}

struct TPlasmaTables {
  std::array<int, 512> Cosine;
  std::array<int, 512> Sine;
  std::array<std::uint8_t, 512> Ramp;
};

const TPlasmaTables& PlasmaTables() {
  static const TPlasmaTables tables = [] {
    TPlasmaTables t;
    for (int k = 0; k < 512; ++k) {
      const double angle = k * 2 * std::numbers::pi / 512;
      t.Cosine[std::size_t(k)] = (Round(std::cos(angle) * 256) + 256) % 512;
      t.Sine[std::size_t(k)] = (Round(std::sin(angle) * 256) + 256) % 512;
    }
    // The ramp climbs and falls twice, so the cloud shows bright and dark bands.
    struct TStop {
      int At;
      int Value;
    };
    constexpr TStop kStops[] = {{0, 0}, {96, 255}, {224, 64}, {352, 224}, {511, 0}};
    for (std::size_t s = 0; s + 1 < std::size(kStops); ++s) {
      const TStop a = kStops[s], b = kStops[s + 1];
      for (int k = a.At; k <= b.At; ++k)
        t.Ramp[std::size_t(k)] = std::uint8_t(a.Value + MulDiv(b.Value - a.Value, k - a.At, b.At - a.At));
    }
    return t;
  }();
  return tables;
}

void Plasma(std::uint8_t* cells, int columns, int rows, int progress) {
  const TPlasmaTables& t = PlasmaTables();
  // Two waves across, two down and one along the diagonal, whatever the grid's size.
  std::vector<int> across(static_cast<std::size_t>(columns)), down(static_cast<std::size_t>(rows)),
      diagonal(static_cast<std::size_t>(columns + rows));
  for (int x = 0; x < columns; ++x) across[std::size_t(x)] = t.Cosine[std::size_t(x * 1024 / columns & 511)];
  for (int y = 0; y < rows; ++y) down[std::size_t(y)] = t.Sine[std::size_t(y * 1024 / rows & 511)];
  for (int d = 0; d < columns + rows; ++d)
    diagonal[std::size_t(d)] = t.Cosine[std::size_t(d * 512 / (columns + rows) & 511)];
  const int level = MulDiv(2 * progress, 255, 100);
  for (int y = 0; y < rows; ++y) {
    std::uint8_t* row = cells + y * columns;
    for (int x = 0; x < columns; ++x) {
      int plasma = t.Ramp[std::size_t((across[std::size_t(x)] + down[std::size_t(y)] +
                                       diagonal[std::size_t(x + y)]) & 511)];
      row[x] = std::uint8_t(std::clamp(level - plasma, 0, 255));
    }
  }
}

constexpr TseEffectEntry kPixels[] = {
    {"Pixel", ekFade, &Pixel},
    {"Pixel fade", ekFade, &PixelFade},
    {"Pixel line", ekFade, &PixelLine},
};

constexpr TseEffectEntry kFlows[] = {
    {"Stream", ekFade, &Stream},
    {"Plasma", ekFade, &Plasma},
};

}  // namespace

std::span<const TseEffectEntry> PixelEffects() { return kPixels; }
std::span<const TseEffectEntry> FlowEffects() { return kFlows; }

}  // namespace vandrel
