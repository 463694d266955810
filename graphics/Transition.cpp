#include "graphics/Transition.h"

#include <algorithm>
#include <cmath>

#include "graphics/RectHelpers.h"
#include "platform/gdi/Blit.h"

namespace vandrel {

TPoint RotateCell(TseRotation rotation, int x, int y, int columns, int rows) {
  switch (rotation) {
    case krRotate90: return {y, rows - 1 - x};
    case krRotate180: return {columns - 1 - x, rows - 1 - y};
    case krRotate270: return {columns - 1 - y, x};
    case krNone: break;
  }
  return {x, y};
}

TseTransition::TseTransition(const TseProcItem* effect, const TseAnimationRec& rec,
                             TseBitmap& newPicture, const TseBitmap& oldPicture)
    : m_bitmapEffect(effect == nullptr),
      m_rec(rec),
      m_new(newPicture),
      m_old(oldPicture),
      m_rotation(rec.Rotation()),
      m_resolution(rec.Resolution()),
      m_tileCount(rec.TileCount()) {
  if (effect) {
    m_kind = effect->Kind();
    m_proc = effect->Proc();
  }
  m_columns = oldPicture.Width() / m_resolution / m_tileCount + 1;
  m_rows = oldPicture.Height() / m_resolution / m_tileCount + 1;
  m_work.SetSize(oldPicture.Width(), oldPicture.Height());
  const std::size_t cells = std::size_t(m_columns) * std::size_t(m_rows);
  if (IsMasked()) {
    m_mask.assign(cells, 0);
    if (m_rotation != krNone || m_bitmapEffect) m_computed.assign(cells, 0);
  } else if (m_kind == ekSlide) {
    m_map.assign(cells, {});
    if (m_rotation != krNone) m_computedMap.assign(cells, {});
    // The slide composition takes any source pixel that is not clear.
    ClearKeyAlpha();
  }
  if (!m_bitmapEffect) return;
  // The bitmap effect's picture, stretched to the computed grid: its blue bytes decide when each
  // cell appears, bright ones first.
  m_picture.assign(cells, 0);
  TBitmap* source = rec.Bitmap();
  if (!source || source->Empty()) return;
  const int cw = ComputedColumns(), ch = ComputedRows();
  TseBitmap stretched;
  stretched.SetSize(cw, ch);
  StretchBlt(stretched.DC(), 0, 0, cw, ch, source->Canvas()->Handle(), 0, 0, source->Width(),
             source->Height(), SRCCOPY);
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) m_picture[std::size_t(y * cw + x)] = std::uint8_t(stretched.Pixel(x, y));
}

void TseTransition::DrawOld() { m_old.Draw(m_work, 0, 0); }

void TseTransition::Pattern(int progress) {
  const int cw = ComputedColumns(), ch = ComputedRows();
  if (m_bitmapEffect) {
    const int shift = int(std::nearbyint(510.0 * progress / 100)) - 255;
    std::vector<std::uint8_t>& target = m_rotation == krNone ? m_mask : m_computed;
    for (std::size_t i = 0; i < target.size(); ++i)
      target[i] = std::uint8_t(std::clamp(m_picture[i] + shift, 0, 255));
    if (m_rotation != krNone) RotateMask();
    return;
  }
  if (m_kind == ekFade) {
    std::vector<std::uint8_t>& target = m_rotation == krNone ? m_mask : m_computed;
    std::fill(target.begin(), target.end(), 0);
    std::get<TseFadeProc>(m_proc)(target.data(), cw, ch, progress);
    if (m_rotation != krNone) RotateMask();
  } else if (m_kind == ekSlide) {
    std::vector<TseCellEntry>& target = m_rotation == krNone ? m_map : m_computedMap;
    std::fill(target.begin(), target.end(), TseCellEntry{});
    std::get<TseSlideProc>(m_proc)(target.data(), cw, ch, progress);
    if (m_rotation != krNone) RotateCellMap();
  }
}

void TseTransition::RotateMask() {
  const int cw = ComputedColumns(), ch = ComputedRows();
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) {
      TPoint to = RotateCell(m_rotation, x, y, m_columns, m_rows);
      m_mask[std::size_t(to.Y * m_columns + to.X)] = m_computed[std::size_t(y * cw + x)];
    }
}

// The map turns with the grid, and so do the source cells it names: a picture that slides in
// from the left without rotation comes in upright from the bottom with krRotate90.
void TseTransition::RotateCellMap() {
  const int cw = ComputedColumns(), ch = ComputedRows();
  std::fill(m_map.begin(), m_map.end(), TseCellEntry{});
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x) {
      const TseCellEntry e = m_computedMap[std::size_t(y * cw + x)];
      if ((e.Alpha & 0xFF) == 0 || e.Column >= cw || e.Row >= ch) continue;
      TPoint to = RotateCell(m_rotation, x, y, m_columns, m_rows);
      TPoint from = RotateCell(m_rotation, e.Column, e.Row, m_columns, m_rows);
      m_map[std::size_t(to.Y * m_columns + to.X)] = {e.Alpha, std::uint16_t(from.X), std::uint16_t(from.Y)};
    }
}

void TseTransition::Compose(int progress) {
  if (IsMasked()) {
    ComposeMask();
  } else if (m_kind == ekSlide) {
    ComposeCells();
  } else {
    ClearKeyAlpha();
    std::get<TseManualProc>(m_proc)(m_work, m_new, m_rec, progress);
  }
}

namespace {

// For each pixel along one side, the mask cell the 16.16 fixed-point stretch of every tile puts
// there. The start of a clipped tile goes through MulDiv with 65535, its step is computed with
// 65536.
std::vector<int> StretchIndex(int pixels, int cells, int tileSize, int tileCount) {
  std::vector<int> index(std::size_t(pixels), 0);
  const std::int64_t step = std::int64_t(cells) * 65536 / tileSize;
  for (int i = 0; i < tileCount; ++i) {
    const int tileStart = i * tileSize;
    const int clipStart = std::max(tileStart, 0), clipEnd = std::min(tileStart + tileSize, pixels);
    if (clipStart >= clipEnd) continue;
    const std::int64_t start = MulDiv(cells * (clipStart - tileStart), 65535, tileSize);
    for (int p = clipStart; p < clipEnd; ++p)
      index[std::size_t(p)] = int(std::min<std::int64_t>((start + (p - clipStart) * step) >> 16, cells - 1));
  }
  return index;
}

}  // namespace

void TseTransition::ComposeMask() {
  const int w = m_new.Width(), h = m_new.Height();
  const std::vector<int> column = StretchIndex(w, m_columns, m_columns * m_resolution, m_tileCount);
  const std::vector<int> row = StretchIndex(h, m_rows, m_rows * m_resolution, m_tileCount);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* cells = m_mask.data() + std::size_t(row[std::size_t(y)]) * std::size_t(m_columns);
    TseColor* pixels = m_new.Row(y);
    for (int x = 0; x < w; ++x) {
      const TseColor p = pixels[x];
      pixels[x] = WithAlpha(p, SameRGB(p, kTransparentKey) ? 0 : cells[column[std::size_t(x)]]);
    }
    BlendRow(pixels, m_work.Row(y), w);
  }
  // The mask's values are in the alpha channel now: the picture draws blended, also at the end.
  m_new.SetHasAlpha(true);
}

void TseTransition::ComposeCells() {
  const int w = m_work.Width(), h = m_work.Height();
  const int tileWidth = m_columns * m_resolution, tileHeight = m_rows * m_resolution;
  // Per pixel along each side: the left (top) of its tile and its place inside the tile.
  struct TPlace {
    int TileStart;
    int Cell;
    int Offset;
  };
  auto places = [&](int pixels, int tileSize) {
    std::vector<TPlace> v(static_cast<std::size_t>(pixels));
    for (int p = 0; p < pixels; ++p) {
      const int inTile = p % tileSize;
      v[std::size_t(p)] = {p - inTile, inTile / m_resolution, inTile % m_resolution};
    }
    return v;
  };
  const std::vector<TPlace> across = places(w, tileWidth), down = places(h, tileHeight);
  for (int y = 0; y < h; ++y) {
    const TPlace& py = down[std::size_t(y)];
    const TseCellEntry* entries = m_map.data() + std::size_t(py.Cell) * std::size_t(m_columns);
    TseColor* work = m_work.Row(y);
    for (int x = 0; x < w; ++x) {
      const TPlace& px = across[std::size_t(x)];
      const TseCellEntry e = entries[px.Cell];
      const std::uint8_t alpha = std::uint8_t(e.Alpha);
      if (alpha == 0 || e.Column >= m_columns || e.Row >= m_rows) continue;
      const int sx = px.TileStart + e.Column * m_resolution + px.Offset;
      const int sy = py.TileStart + e.Row * m_resolution + py.Offset;
      if (sx >= w || sy >= h) continue;
      const TseColor s = m_new.Row(sy)[sx];
      if (AlphaOf(s) == 0) continue;
      work[x] = alpha == 255 ? s : BlendPixel(WithAlpha(s, alpha), work[x]);
    }
  }
}

void TseTransition::ClearKeyAlpha() {
  for (int y = 0; y < m_new.Height(); ++y) {
    TseColor* row = m_new.Row(y);
    for (int x = 0; x < m_new.Width(); ++x)
      if (SameRGB(row[x], kTransparentKey)) row[x] = WithAlpha(row[x], 0);
  }
}


}  // namespace vandrel
