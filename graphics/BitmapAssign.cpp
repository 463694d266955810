// TseBitmap to and from the framework's pictures: bitmaps, pictures and other graphics.
#include <cstring>

#include "framework/Bitmap.h"
#include "framework/Picture.h"
#include "graphics/Bitmap.h"

namespace vandrel {
namespace {

constexpr TseColor kMagenta = 0x00FF00FF;

}  // namespace

void TseBitmap::Clear() {
  Free();
  m_hasAlpha = m_hasKey = false;
}

void TseBitmap::Assign(const TPersistent& source) {
  if (auto* b = dynamic_cast<const TseBitmap*>(&source)) {
    if (b == this) return;
    if (b->IsEmpty()) return Clear();
    SetSize(b->Width(), b->Height());
    std::memcpy(m_bits, b->Bits(), size_t(m_width) * size_t(m_height) * sizeof(TseColor));
    SetAlpha(255);
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
    auto surface = b->Surface();
    if (!surface) return Clear();
    SetSize(b->Width(), b->Height());
    for (int y = 0; y < m_height; ++y) std::memcpy(Row(y), surface->Row(y), size_t(m_width) * 4);
    SetAlpha(255);
    return;
  }
  if (auto* p = dynamic_cast<const TPicture*>(&source)) {
    if (!p->Graphic()) return Clear();
    return Assign(*p->Graphic());
  }
  if (auto* g = dynamic_cast<const TGraphic*>(&source)) return AssignGraphic(*g);
  TPersistent::Assign(source);
}

void TseBitmap::AssignGraphic(const TGraphic& graphic) {
  if (graphic.Empty()) return Clear();
  TBitmap canvasBitmap(graphic.Width(), graphic.Height());
  TCanvas* canvas = canvasBitmap.Canvas();
  canvas->Brush()->SetColor(TColor(RGB(255, 0, 255)));
  canvas->FillRect({0, 0, graphic.Width(), graphic.Height()});
  canvas->StretchDraw({0, 0, graphic.Width(), graphic.Height()}, graphic);
  SetSize(graphic.Width(), graphic.Height());
  auto surface = canvasBitmap.Surface();
  for (int y = 0; y < m_height; ++y) {
    const std::uint32_t* from = surface->Row(y);
    TseColor* to = Row(y);
    for (int x = 0; x < m_width; ++x)
      if (!SameRGB(from[x], kMagenta)) to[x] = from[x];
  }
  SetAlpha(255);
}

void TseBitmap::AssignTo(TPersistent& dest) const {
  TBitmap* bitmap = dynamic_cast<TBitmap*>(&dest);
  if (auto* picture = dynamic_cast<TPicture*>(&dest)) bitmap = picture->Bitmap();
  if (!bitmap) return TPersistent::AssignTo(dest);
  bitmap->SetSize(m_width, m_height);
  if (!IsEmpty()) Draw(*bitmap->Canvas(), 0, 0);
}

}  // namespace vandrel
