// The surface one paint of a skinned control draws into, chosen by its buffering mode: the
// window's own context, the top-left corner of the shared paint buffer, or a bitmap made for this
// paint. Present() shows the result; the destructor always points the canvas back at the window's
// context and frees the per-paint bitmap, also when painting failed.
#pragma once

#include <memory>

#include "framework/Canvas.h"
#include "graphics/Bitmap.h"
#include "graphics/Blending.h"
#include "skincontrols/ControlTypes.h"

namespace vandrel {

class TPaintSurface {
 public:
  // fillKey: buffered surfaces start as the transparent key over (0, 0, width, height).
  TPaintSurface(TCanvas& canvas, TSePerformance mode, int width, int height, bool fillKey);
  ~TPaintSurface();
  TPaintSurface(const TPaintSurface&) = delete;
  TPaintSurface& operator=(const TPaintSurface&) = delete;

  HDC DC() const { return m_target ? m_target->DC() : m_windowDC; }
  TseBitmap* Bitmap() const { return m_target; }
  // Shows the surface at `opacity` over `background` (already sized and opaque): pixels of the
  // surface get that alpha and the background is composed under them.
  void BlendOver(const TseBitmap& background, int opacity);
  // Copies a buffered surface to (0, 0) of the window's context.
  void Present();

 private:
  TCanvas& m_canvas;
  HDC m_windowDC;
  int m_width;
  int m_height;
  std::unique_ptr<TseBitmap> m_own;
  TseBitmap* m_target = nullptr;
};

}  // namespace vandrel
