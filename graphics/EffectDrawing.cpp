#include "graphics/EffectDrawing.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/Blit.h"

namespace vandrel {

TseDrawMode DrawModeOf(const TseBitmap& source) {
  if (source.HasAlpha()) return TseDrawMode::Blend;
  return source.HasKey() ? TseDrawMode::Keyed : TseDrawMode::Copy;
}

void DrawPicture(const TseBitmap& source, TseBitmap& target, int x, int y, TseDrawMode mode) {
  if (source.IsEmpty() || target.IsEmpty()) return;
  const int left = std::max(x, 0), right = std::min(x + source.Width(), target.Width());
  const int top = std::max(y, 0), bottom = std::min(y + source.Height(), target.Height());
  if (left >= right || top >= bottom) return;
  const int count = right - left;
  for (int ty = top; ty < bottom; ++ty) {
    const TseColor* s = source.Row(ty - y) + (left - x);
    TseColor* t = target.Row(ty) + left;
    switch (mode) {
      case TseDrawMode::Copy:
        std::memcpy(t, s, std::size_t(count) * sizeof(TseColor));
        break;
      case TseDrawMode::Keyed:
        for (int i = 0; i < count; ++i)
          if (!SameRGB(s[i], kTransparentKey)) t[i] = WithAlpha(s[i], 255);
        break;
      case TseDrawMode::Blend:
        BlendRow(s, t, count);
        break;
    }
  }
}

void DrawPicture(const TseBitmap& source, HDC target, int x, int y, TseDrawMode mode) {
  if (source.IsEmpty() || !target) return;
  const int w = source.Width(), h = source.Height();
  if (mode == TseDrawMode::Copy) {
    BitBlt(target, x, y, w, h, source.DC(), 0, 0, SRCCOPY);
    return;
  }
  TseBitmap under;
  under.SetSize(w, h);
  BitBlt(under.DC(), 0, 0, w, h, target, x, y, SRCCOPY);
  DrawPicture(source, under, 0, 0, mode);
  BitBlt(target, x, y, w, h, under.DC(), 0, 0, SRCCOPY);
}

}  // namespace vandrel
