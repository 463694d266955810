#include "skinform/FormEffects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/Canvas.h"
#include "graphics/Animate.h"
#include "platform/core/ScopeExit.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/RegionApi.h"
#include "platform/services/PlatformServices.h"
#include "platform/win/Paint.h"

namespace vandrel {

TRect ApplyGravitation(const TRect& moved, const TRect& area, int size, int shadowBand) {
  const TRect r{moved.Left, moved.Top, moved.Right - shadowBand, moved.Bottom - shadowBand};
  auto shift = [size](int low, int high, int areaLow, int areaHigh) {
    if (std::abs(low - areaLow) < size) return areaLow - low;
    if (std::abs(high - areaHigh) < size) return areaHigh - high;
    return 0;
  };
  return OffsetRect(moved, shift(r.Left, r.Right, area.Left, area.Right),
                    shift(r.Top, r.Bottom, area.Top, area.Bottom));
}

namespace {

void SetPixels(TseBitmap& surface, const TRect& r, TseColor value) {
  TRect d;
  if (!IntersectRect(d, r, {0, 0, surface.Width(), surface.Height()})) return;
  for (int y = d.Top; y < d.Bottom; ++y) std::fill(surface.Row(y) + d.Left, surface.Row(y) + d.Right, value);
}

}  // namespace

void FillShadowRings(TseBitmap& surface, TRect r, TShadowFade fade) {
  // Each ring: its alpha, then the alpha its corner pixel keeps so the corner rounds off.
  constexpr std::uint8_t rings[] = {8, 58, 108, 128};
  for (int i = 0; i < 4 && !r.IsEmpty(); ++i) {
    SetPixels(surface, r, WithAlpha(kShadowColor, rings[i]));
    if (i == 3) break;
    const TseColor corner = WithAlpha(kShadowColor, rings[i == 0 ? 0 : i - 1]);
    switch (fade) {
      case TShadowFade::TopRight:
        surface.SetPixel(r.Right - 1, r.Top, corner);
        --r.Right, ++r.Top;
        break;
      case TShadowFade::BottomLeft:
        surface.SetPixel(r.Left, r.Bottom - 1, corner);
        ++r.Left, --r.Bottom;
        break;
      case TShadowFade::BottomRight:
        surface.SetPixel(r.Right - 1, r.Bottom - 1, corner);
        --r.Right, --r.Bottom;
        break;
    }
  }
}

void DrawShadowBand(TseBitmap& surface, const TRect& c, TSize frame, int size, const TseBitmap* capture) {
  const int w = surface.Width(), h = surface.Height();
  struct Strip {
    TRect key, shadow, under;
    TShadowFade fade;
  };
  const Strip strips[] = {
      {{c.Right, 0, w, size}, {c.Right, size, w, c.Bottom}, {c.Right, 0, w, h}, TShadowFade::TopRight},
      {{0, c.Bottom, size, h}, {size, c.Bottom, frame.cx, h}, {0, c.Bottom, c.Right, h}, TShadowFade::BottomLeft},
      {{}, {c.Right, c.Bottom, w, h}, {c.Right, c.Bottom, w, h}, TShadowFade::BottomRight},
  };
  for (const Strip& s : strips) {
    SetPixels(surface, s.key, kTransparentKey);
    FillShadowRings(surface, s.shadow, s.fade);
    if (capture && !capture->IsEmpty()) surface.MergeUnder(*capture, s.under.Left, s.under.Top, s.under);
  }
}

void BlendOverCapture(TseBitmap& surface, const std::vector<TRect>& rects, std::uint8_t alpha,
                      const TseBitmap* capture, TPoint origin) {
  for (const TRect& r : rects) {
    if (r.IsEmpty()) continue;
    const TRect local = OffsetRect(r, -origin.X, -origin.Y);
    surface.SetAlphaRect(alpha, local);
    if (capture && !capture->IsEmpty()) surface.MergeUnder(*capture, local.Left, local.Top, r);
  }
}

void PrepareShowImage(TseBitmap& image, HRGN shape, int margin, TSize frame) {
  image.SetAlpha(255);
  image.KeyColor(kTransparentKey);
  for (int y = 0; y < image.Height(); ++y) {
    const bool marginRow = y <= margin || y >= frame.cy;
    TseColor* row = image.Row(y);
    for (int x = 0; x < image.Width(); ++x) {
      if (!marginRow && x > margin && x < frame.cx) {
        x = frame.cx - 1;  // the middle of the row is inside the frame
        continue;
      }
      if (!shape || !PtInRegion(shape, x, y)) row[x] = kTransparentKey;
    }
  }
  image.SetHasAlpha(false);
  image.SetHasKey(true);
}

void PlayShowTransition(const TseAnimationRec& rec, TPoint at, TseBitmap& image, const TseBitmap& capture,
                        TCanvas* canvas) {
  if (canvas) {
    Animate(*canvas, at.X, at.Y, rec, image, capture);
    return;
  }
  HDC screen = GetDC(nullptr);
  if (!screen) return;
  TCanvas onScreen;
  TScopeExit release([&] {
    onScreen.SetHandle(nullptr);
    ReleaseDC(nullptr, screen);
  });
  onScreen.SetHandle(screen);
  Animate(onScreen, at.X, at.Y, rec, image, capture);
}

bool ScreenAllowsEffects() {
  const int depth = GetScreenDepth();
  if (depth == 24 || depth == 32) return true;
  static bool told = false;
  if (!told) {
    told = true;
    std::fprintf(stderr, "vandrel: blending and shadows are off on a screen of %d bits per pixel\n", depth);
  }
  return false;
}

bool ReadScreen(const TRect& screen, TseBitmap& target, int x, int y) {
  TRect inside;
  if (!IntersectRect(inside, {x, y, x + screen.Width(), y + screen.Height()}, {0, 0, target.Width(), target.Height()}) ||
      inside.Width() != screen.Width() || inside.Height() != screen.Height())
    return false;
  if (ReadScreenRect(screen, target.Row(y) + x, target.Width() * int(sizeof(TseColor)))) return true;
  // Partly off the screen: through the screen context, which clips.
  HDC dc = GetDC(nullptr);
  if (!dc) return false;
  const bool ok = BitBlt(target.DC(), x, y, screen.Width(), screen.Height(), dc, screen.Left, screen.Top, SRCCOPY);
  ReleaseDC(nullptr, dc);
  return ok;
}

std::vector<TRect> UncoveredStrips(const TRect& r, const TRect& kept) {
  TRect o;
  if (!IntersectRect(o, r, kept)) return {r};
  std::vector<TRect> strips;
  const TRect candidates[] = {{r.Left, r.Top, o.Left, r.Bottom},
                              {o.Left, r.Top, o.Right, o.Top},
                              {o.Right, r.Top, r.Right, r.Bottom},
                              {o.Left, o.Bottom, o.Right, r.Bottom}};
  for (const TRect& s : candidates)
    if (!s.IsEmpty()) strips.push_back(s);
  return strips;
}

void TBackgroundCapture::Capture(const TRect& r) {
  if (r == m_last || r.IsEmpty()) return;
  const TRect previous = m_picture->IsEmpty() ? TRect{} : m_last;
  m_last = r;
  auto next = std::make_unique<TseBitmap>();
  next->SetSize(r.Width(), r.Height());
  for (const TRect& s : UncoveredStrips(r, previous)) {
    if (!m_reader(s, *next, s.Left - r.Left, s.Top - r.Top)) return;
    next->SetAlphaRect(255, OffsetRect(s, -r.Left, -r.Top));
  }
  TRect o;
  if (IntersectRect(o, r, previous)) {
    const size_t bytes = size_t(o.Width()) * sizeof(TseColor);
    for (int y = o.Top; y < o.Bottom; ++y)
      std::memcpy(next->Row(y - r.Top) + (o.Left - r.Left), m_picture->Row(y - previous.Top) + (o.Left - previous.Left),
                  bytes);
  }
  m_picture = std::move(next);
}

}  // namespace vandrel
