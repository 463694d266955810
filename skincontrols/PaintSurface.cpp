#include "skincontrols/PaintSurface.h"

#include "graphics/SharedPaintBuffer.h"
#include "platform/gdi/Blit.h"

namespace vandrel {

TPaintSurface::TPaintSurface(TCanvas& canvas, TSePerformance mode, int width, int height, bool fillKey)
    : m_canvas(canvas), m_windowDC(canvas.Handle()), m_width(width), m_height(height) {
  if (mode == kspSharedBuffer) {
    m_target = &SharedPaintBuffer();
    if (fillKey) m_target->FillRect({0, 0, width, height}, kTransparentKey);
  } else if (mode == kspDoubleBuffer) {
    m_own = std::make_unique<TseBitmap>();
    m_own->SetSize(width, height);
    if (fillKey) m_own->Fill(kTransparentKey);
    m_target = m_own.get();
  }
  if (m_target) m_canvas.SetHandle(m_target->DC());
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
