// TPen and TBrush: the outline and fill tools of a canvas, value objects with a change callback
// whose platform handles are made on first use and dropped on every change.
#pragma once

#include <functional>
#include <memory>

#include "framework/Persistent.h"
#include "platform/core/Color.h"
#include "platform/gdi/GdiTypes.h"

namespace vandrel {

class TBitmap;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
  pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TPen : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TPen() = default;
  ~TPen() override;
  void Assign(const TPersistent& source) override;

  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  int Width() const { return m_width; }
  void SetWidth(int width);
  TPenStyle Style() const { return m_style; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return m_mode; }
  void SetMode(TPenMode mode);
  // The binary raster operation of Mode.
  int Rop2() const;

  HPEN Handle() const;
  std::function<void(TPen*)> OnChange;

 private:
  void Changed();
  TColor m_color = clBlack;
  int m_width = 1;
  TPenStyle m_style = psSolid;
  TPenMode m_mode = pmCopy;
  mutable HPEN m_handle;
};

class TBrush : public TPersistent {
  VANDREL_CLASS_INFO
 public:
  TBrush();
  ~TBrush() override;
  void Assign(const TPersistent& source) override;

  TColor Color() const { return m_color; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return m_style; }
  void SetStyle(TBrushStyle style);
  // A pattern brush: the brush keeps its own copy of the bitmap; null goes back to Style.
  TBitmap* Bitmap() const { return m_bitmap.get(); }
  void SetBitmap(const TBitmap* bitmap);

  // Null for bsClear (nothing is filled).
  HBRUSH Handle() const;
  std::function<void(TBrush*)> OnChange;

 private:
  void Changed();
  TColor m_color = clWhite;
  TBrushStyle m_style = bsSolid;
  std::unique_ptr<TBitmap> m_bitmap;
  mutable HBRUSH m_handle;
};

}  // namespace vandrel
