#include "graphics/PaintSurface.h"

#include <algorithm>

#include "platform/gdi/Blit.h"

namespace vandrel {
namespace {

// Sets the pixels themselves: a fill that blends would leave the last paint showing through
// wherever the bitmap is marked as having alpha.
void ClearToKey(TseBitmap& bitmap, int width, int height) {
  const int w = std::min(width, bitmap.Width()), h = std::min(height, bitmap.Height());
  for (int y = 0; y < h; ++y) std::fill_n(bitmap.Row(y), w, kTransparentKey);
}

}  // namespace

TPaintSurface::TPaintSurface(TCanvas& canvas, TSePerformance mode, int width, int height, bool fillKey)
    : m_canvas(canvas), m_windowDC(canvas.Handle()), m_width(width), m_height(height) {
  if (mode == kspSharedBuffer) m_target = m_lease.emplace(width, height).Bitmap();
  if (mode != kspNoBuffer && !m_target) {
    m_own = std::make_unique<TseBitmap>();
    m_own->SetSize(width, height);
    m_target = m_own.get();
  }
  if (!m_target) return;
  if (fillKey) ClearToKey(*m_target, width, height);
  m_canvas.SetHandle(m_target->DC());
}

TPaintSurface::~TPaintSurface() {
  if (m_target) m_canvas.SetHandle(m_windowDC);
}

void TPaintSurface::BlendOver(const TseBitmap& background, int opacity) {
  if (!m_target) return;
  m_target->SetAlphaRect(std::uint8_t(opacity), {0, 0, m_width, m_height});
  m_target->MergeUnder(background, 0, 0, {0, 0, m_width, m_height});
}

void TPaintSurface::Present() {
  if (m_target) BitBlt(m_windowDC, 0, 0, m_width, m_height, m_target->DC(), 0, 0, SRCCOPY);
}

}  // namespace vandrel
