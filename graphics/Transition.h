// One running transition: the grid of cells, the working buffers of the effect's kind, and the
// work picture each frame is composed in. A frame draws the old picture into the work picture,
// computes the effect's pattern for the progress (mask, cell map, or nothing for the manual
// kind), and composes the new picture over it through that pattern. Animate drives the frames;
// the benchmark times the pattern and the composition apart.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/AnimationRec.h"
#include "graphics/Bitmap.h"
#include "graphics/EffectRegistry.h"
#include "platform/core/Geometry.h"

namespace vandrel {

class TseTransition {
 public:
  // `effect` null plays the bitmap effect from the record's Bitmap. Both pictures must have the
  // same size and stay alive as long as the transition.
  TseTransition(const TseProcItem* effect, const TseAnimationRec& rec, TseBitmap& newPicture,
                const TseBitmap& oldPicture);
  TseTransition(const TseTransition&) = delete;
  TseTransition& operator=(const TseTransition&) = delete;

  int Columns() const { return m_columns; }
  int Rows() const { return m_rows; }
  const TseBitmap& Work() const { return m_work; }
  // The coverage mask (fade kind and bitmap effect) and the cell map (slide kind), in the
  // picture's orientation; empty for the kinds that have none.
  const std::vector<std::uint8_t>& Mask() const { return m_mask; }
  const std::vector<TseCellEntry>& CellMap() const { return m_map; }

  void Frame(int progress) {
    DrawOld();
    Pattern(progress);
    Compose(progress);
  }
  void DrawOld();
  void Pattern(int progress);
  void Compose(int progress);

 private:
  bool IsMasked() const { return m_bitmapEffect || m_kind == ekFade; }
  // Columns and rows of what the procedure computes: swapped for the quarter turns.
  bool Turned() const { return m_rotation == krRotate90 || m_rotation == krRotate270; }
  int ComputedColumns() const { return Turned() ? m_rows : m_columns; }
  int ComputedRows() const { return Turned() ? m_columns : m_rows; }
  void RotateMask();
  void RotateCellMap();
  void ComposeMask();
  void ComposeCells();
  void ClearKeyAlpha();

  TseEffectKind m_kind = ekFade;
  TseEffectProc m_proc;
  bool m_bitmapEffect;
  const TseAnimationRec& m_rec;
  TseBitmap& m_new;
  const TseBitmap& m_old;
  TseRotation m_rotation;
  int m_resolution;
  int m_tileCount;
  int m_columns;
  int m_rows;
  TseBitmap m_work;
  std::vector<std::uint8_t> m_mask;
  std::vector<std::uint8_t> m_computed;  // the procedure's mask before the rotation
  std::vector<std::uint8_t> m_picture;   // the bitmap effect's picture, one blue byte per cell
  std::vector<TseCellEntry> m_map;
  std::vector<TseCellEntry> m_computedMap;
};

// Where a cell computed on the turned grid lands on the picture's grid of columns x rows:
// krRotate90 a quarter turn counter-clockwise, krRotate270 clockwise.
TPoint RotateCell(TseRotation rotation, int x, int y, int columns, int rows);

}  // namespace vandrel
