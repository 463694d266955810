// TMeasureCanvas: a canvas on a one-pixel bitmap for measuring text in a font outside painting,
// so layout queries give the same answers the next paint will use.
#pragma once

#include "framework/Canvas.h"
#include "graphics/Bitmap.h"

namespace vandrel {

class TMeasureCanvas : public TCanvas {
 public:
  explicit TMeasureCanvas(const TFont& font) {
    m_bitmap.SetSize(1, 1);
    SetHandle(m_bitmap.DC());
    SetFont(font);
  }
  ~TMeasureCanvas() override { SetHandle(HDC()); }

 private:
  TseBitmap m_bitmap;
};

}  // namespace vandrel
