// The effects that move the picture rather than uncover it: Interlace and Corner place cells of
// the new picture through the cell map; Slide and Push draw the whole picture at an offset.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/AnimationRec.h"
#include "graphics/Bitmap.h"
#include "graphics/BuiltInEffects.h"
#include "graphics/RectHelpers.h"
#include "platform/core/Geometry.h"

namespace vandrel {
namespace {

// Every cell shows the cell of its row MulDiv(100 - p, columns, 100) columns away: even rows
// come in from the left, odd rows from the right.
void Interlace(TseCellEntry* map, int columns, int rows, int progress) {
  const int shift = MulDiv(100 - progress, columns, 100);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) {
      const int source = y % 2 == 0 ? x - shift : x + shift;
      if (source < 0 || source >= columns) continue;
      map[y * columns + x] = {255, std::uint16_t(source), std::uint16_t(y)};
    }
}

// The top-left block shows the new picture's bottom-right block of the same size: the picture
// enters from the top-left corner.
void Corner(TseCellEntry* map, int columns, int rows, int progress) {
  const int a = MulDiv(columns - 1, progress, 100), b = MulDiv(rows - 1, progress, 100);
  for (int y = 0; y <= b; ++y)
    for (int x = 0; x <= a; ++x)
      map[y * columns + x] = {255, std::uint16_t(columns - 1 - a + x), std::uint16_t(rows - 1 - b + y)};
}

// Where the new picture stands at progress p: it enters from the left (krNone), the bottom
// (krRotate90), the right (krRotate180) or the top (krRotate270), and is in place at 100.
TPoint EntryOffset(TseRotation rotation, int width, int height, int progress) {
  switch (rotation) {
    case krRotate90: return {0, height - MulDiv(height, progress, 100)};
    case krRotate180: return {width - MulDiv(width, progress, 100), 0};
    case krRotate270: return {0, MulDiv(height, progress, 100) - height};
    case krNone: break;
  }
  return {MulDiv(width, progress, 100) - width, 0};
}

void Slide(TseBitmap& work, TseBitmap& newPicture, const TseAnimationRec& rec, int progress) {
  const TPoint at = EntryOffset(rec.Rotation(), work.Width(), work.Height(), progress);
  newPicture.Draw(work, at.X, at.Y);
}

// Moves the picture's pixels by (dx, dy) in place; what is uncovered keeps its pixels.
void Shift(TseBitmap& picture, int dx, int dy) {
  const int w = picture.Width(), h = picture.Height();
  if (dx == 0 && dy == 0) return;
  if (std::abs(dx) >= w || std::abs(dy) >= h) return;
  const int count = w - std::abs(dx);
  auto moveRow = [&](int to, int from) {
    std::memmove(picture.Row(to) + std::max(dx, 0), picture.Row(from) + std::max(-dx, 0),
                 std::size_t(count) * sizeof(TseColor));
  };
  if (dy > 0) {
    for (int y = h - 1; y >= dy; --y) moveRow(y, y - dy);
  } else {
    for (int y = 0; y < h + dy; ++y) moveRow(y, y - dy);
  }
}

// The old picture, which the work picture holds, leaves in the direction the new one comes from.
void Push(TseBitmap& work, TseBitmap& newPicture, const TseAnimationRec& rec, int progress) {
  const int w = work.Width(), h = work.Height();
  const TPoint at = EntryOffset(rec.Rotation(), w, h, progress);
  // The old picture stands one picture ahead of the new one.
  switch (rec.Rotation()) {
    case krNone: Shift(work, at.X + w, 0); break;
    case krRotate90: Shift(work, 0, at.Y - h); break;
    case krRotate180: Shift(work, at.X - w, 0); break;
    case krRotate270: Shift(work, 0, at.Y + h); break;
  }
  newPicture.Draw(work, at.X, at.Y);
}

constexpr TseEffectEntry kCells[] = {
    {"Interlace", ekSlide, &Interlace},
    {"Corner", ekSlide, &Corner},
    {"Slide", ekManual, &Slide},
    {"Push", ekManual, &Push},
};

}  // namespace

std::span<const TseEffectEntry> CellEffects() { return kCells; }

}  // namespace vandrel
