// The surface one paint of a skinned control or window draws into, chosen by its buffering mode:
// the window's own context, the top-left corner of the shared paint buffer, or a bitmap made for
// this paint. Present() shows the result; the destructor always points the canvas back at the
// window's context and frees the per-paint bitmap, also when painting failed.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "framework/Canvas.h"
#include "graphics/Bitmap.h"
#include "graphics/SharedPaintBuffer.h"

namespace vandrel {

// How a paint reaches the screen: straight to the window, through the process-wide shared
// buffer, or through a bitmap of its own made for each paint.
enum TSePerformance { kspNoBuffer, kspSharedBuffer, kspDoubleBuffer };
inline constexpr std::array<std::string_view, 3> kPerformanceNames = {
    "kspNoBuffer", "kspSharedBuffer", "kspDoubleBuffer"};
static_assert(kPerformanceNames.size() == size_t(kspDoubleBuffer) + 1);

class TPaintSurface {
 public:
  // fillKey: buffered surfaces start as the transparent key over (0, 0, width, height). The
  // shared mode takes a bitmap of its own when the shared buffer is lent or too small.
  TPaintSurface(TCanvas& canvas, TSePerformance mode, int width, int height, bool fillKey);
  ~TPaintSurface();
  TPaintSurface(const TPaintSurface&) = delete;
  TPaintSurface& operator=(const TPaintSurface&) = delete;

  HDC DC() const { return m_target ? m_target->DC() : m_windowDC; }
  // The buffer painted into, null when painting goes straight to the window.
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
  std::optional<TSharedPaintBufferLease> m_lease;
  std::unique_ptr<TseBitmap> m_own;
  TseBitmap* m_target = nullptr;
};

}  // namespace vandrel
