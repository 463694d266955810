// The form options at work, kept apart from the frame so each piece can be checked on its own:
// edge snapping of a moved window, the background capture that blending and the shadow are
// composed over, and the shadow's fading band.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "graphics/AnimationRec.h"
#include "graphics/Bitmap.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/core/Geometry.h"

namespace vandrel {

class TCanvas;

// `moved` shifted so that an edge within `size` pixels of the same edge of `area` lies on it; the
// shadow band (right and bottom, `shadowBand` pixels) is left out of the measure. The left and top
// edges win over the right and bottom ones.
TRect ApplyGravitation(const TRect& moved, const TRect& area, int size, int shadowBand);

// The colour of the drop shadow at its full alpha.
inline constexpr TseColor kShadowColor = 0x803F3F3F;

// Which corner of a shadow strip fades: the strip shrinks one pixel a ring towards it.
enum class TShadowFade { TopRight, BottomLeft, BottomRight };

// Fills `r` with the shadow colour in rings of alpha 8, 58, 108 and 128 from the outer edges
// named by `fade` inwards, the corner pixel of each inner ring taking the alpha of the ring
// outside it. The pixels become these values whatever the bitmap held.
void FillShadowRings(TseBitmap& surface, TRect r, TShadowFade fade);

// The shadow band of a window-size surface: `client` is the client area, `frame` the frame size
// and the band `size` pixels wide to the right and below. The parts of the band the shadow does
// not reach become the transparent key; `capture` (the screen under the window, or null) is put
// behind the whole band.
void DrawShadowBand(TseBitmap& surface, const TRect& client, TSize frame, int size, const TseBitmap* capture);

// Gives the strips of the frame and of the client area their blending alpha and puts the capture
// behind them; `origin` is where the surface lies in window coordinates.
void BlendOverCapture(TseBitmap& surface, const std::vector<TRect>& rects, std::uint8_t alpha,
                      const TseBitmap* capture, TPoint origin = {});

// Readies a window's first frame for its show transition: opaque, the skin's key colour keyed,
// and every pixel of the margins (x <= margin, x >= frame width, y <= margin, y >= frame height)
// that lies outside `shape` keyed too, so the screen shows there. Only margin pixels are tested
// against the shape: it is a window region, slow to ask pixel by pixel.
void PrepareShowImage(TseBitmap& image, HRGN shape, int margin, TSize frame);

// Plays a window's show transition on the screen at `at` (screen coordinates), from the screen
// under the window (`capture`) to its first frame; a canvas given stands in for the screen.
void PlayShowTransition(const TseAnimationRec& rec, TPoint at, TseBitmap& image, const TseBitmap& capture,
                        TCanvas* canvas = nullptr);

// Blending and shadows are composed from 24- or 32-bit screen reads; on any other screen they stay
// off, which the first call that finds so says once on stderr.
bool ScreenAllowsEffects();

// Copies a screen rectangle into a bitmap at (x, y); false when the screen cannot be read.
using TScreenReader = std::function<bool(const TRect& screen, TseBitmap& target, int x, int y)>;
// The platform's screen, read through the screen device context.
bool ReadScreen(const TRect& screen, TseBitmap& target, int x, int y);

// The parts of `r` outside `kept`: a strip left of the overlap and one right of it, each as tall
// as `r`, and between them one above and one below; `r` whole when they do not overlap.
std::vector<TRect> UncoveredStrips(const TRect& r, const TRect& kept);

// The screen under a window, kept in step as the window moves: only what a move uncovered is read
// from the screen, the rest (where the window itself is shown) comes from the previous picture.
class TBackgroundCapture {
 public:
  explicit TBackgroundCapture(TScreenReader reader = ReadScreen) : m_reader(std::move(reader)) {}

  // Makes the picture the screen under `r`; nothing when `r` is the last rectangle. A failed read
  // keeps the previous picture, and `r` still becomes the last rectangle.
  void Capture(const TRect& r);
  // The next capture reads everything again.
  void Forget() { m_last = {}; }
  const TseBitmap& Picture() const { return *m_picture; }
  const TRect& LastRect() const { return m_last; }

 private:
  TScreenReader m_reader;
  std::unique_ptr<TseBitmap> m_picture = std::make_unique<TseBitmap>();
  TRect m_last;
};

}  // namespace vandrel
