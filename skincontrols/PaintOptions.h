// TSePaintOptions: what both skinned-control bases, windowed and windowless, keep for painting and
// do alike: the buffering mode, see-through painting, translucency with its option object, the
// working font, asking the parent for the background behind the control, and blending the finished
// surface over that background. Each base keeps its own interface and hands these parts here.
#pragma once

#include <memory>

#include "framework/Control.h"
#include "framework/PropertyInfo.h"
#include "graphics/Bitmap.h"
#include "graphics/Blending.h"
#include "skincontrols/ControlTypes.h"
#include "graphics/PaintSurface.h"

namespace vandrel {

class TSePaintOptions {
 public:
  // control: the owner; it is invalidated when an option changes.
  explicit TSePaintOptions(TControl& control);
  TSePaintOptions(const TSePaintOptions&) = delete;
  TSePaintOptions& operator=(const TSePaintOptions&) = delete;

  TSePerformance Performance() const { return m_performance; }
  // kspNoBuffer is refused while blending is enabled: blending needs a buffer.
  void SetPerformance(TSePerformance value);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  TSeBlending* Blending() const { return m_blending.get(); }
  void SetBlending(const TSeBlending& value);
  TFont* WorkingFont() const { return m_workingFont.get(); }

  // Paints into dc what the parent shows behind a control whose client (0, 0) lies at origin in
  // the parent's client coordinates, so that the control's own coordinates apply. Unbuffered, the
  // background goes through a bitmap of width x height first, so the window never shows the
  // half-painted state. siblings: a blended windowed control also paints the windowless siblings.
  void PaintParentBackground(HDC dc, TPoint origin, int width, int height, bool siblings);
  // The last step of a paint: with blending and a buffer, the surface is shown at the blending
  // value over the parent's background (painted by paintBackground into the blend buffer).
  template <typename PaintBackground>
  void BlendOverBackground(TPaintSurface& surface, int width, int height, PaintBackground paintBackground) {
    if (!m_blending->Enabled() || m_performance == kspNoBuffer) return;
    m_blendBuffer.SetSize(width, height);
    m_blendBuffer.SetAlpha(255);
    paintBackground(m_blendBuffer.DC());
    m_blendBuffer.SetAlpha(255);
    surface.BlendOver(m_blendBuffer, m_blending->Value());
  }

 private:
  void BlendingChanged();
  void PaintSiblings(HDC dc);

  TControl& m_control;
  TSePerformance m_performance = kspNoBuffer;
  bool m_transparent = false;
  std::unique_ptr<TFont> m_workingFont;
  std::unique_ptr<TSeBlending> m_blending;
  TseBitmap m_blendBuffer;
};

// The published properties both bases store alike, in their stored order.
template <typename T>
std::vector<TPropertyInfo> PaintOptionProperties() {
  return {
      prop::Object("Blending", &T::Blending),
      prop::Enum("Performance", &T::Performance, &T::SetPerformance, kPerformanceNames),
      prop::Boolean("Transparent", &T::Transparent, &T::SetTransparent),
      prop::Event("OnMouseEnter", &T::OnMouseEnter),
      prop::Event("OnMouseLeave", &T::OnMouseLeave),
  };
}

}  // namespace vandrel
