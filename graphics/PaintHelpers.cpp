#include "graphics/PaintHelpers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "framework/Icon.h"
#include "graphics/RectHelpers.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Surface.h"

namespace vandrel {
namespace {

void SolidPen(TCanvas& canvas, TColor color) {
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetColor(color);
}

void SolidBrush(TCanvas& canvas, TColor color) {
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(color);
}

void Line(TCanvas& canvas, int x0, int y0, int x1, int y1, TColor color) {
  SolidPen(canvas, color);
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
}

}  // namespace

void DrawLineTo(TCanvas& canvas, int x, int y, TColor color) {
  SolidPen(canvas, color);
  canvas.LineTo(x, y);
}

void DrawFrame3D(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  canvas.Brush()->SetStyle(bsClear);
  SolidPen(canvas, topLeft);
  const TPoint first[] = {{r.Left, r.Bottom - 2}, {r.Left, r.Top}, {r.Right - 1, r.Top}};
  canvas.Polyline(first);
  SolidPen(canvas, bottomRight);
  const TPoint second[] = {{r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left - 1, r.Bottom - 1}};
  canvas.Polyline(second);
}

void DrawFrameRect(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.Brush()->SetStyle(bsClear);
  SolidPen(canvas, color);
  canvas.Rectangle(r);
}

void DrawFrameRect(TCanvas& canvas, int left, int top, int right, int bottom, TColor color) {
  DrawFrameRect(canvas, TRect{left, top, right, bottom}, color);
}

void DrawFocusFrame(TCanvas& canvas, const TRect& r, TColor color) {
  SolidBrush(canvas, color);
  canvas.DrawFocusRect(r);
}

void FillColorRect(TCanvas& canvas, const TRect& r, TColor color) {
  SolidBrush(canvas, color);
  canvas.FillRect(r);
}

void FillColorRect(TCanvas& canvas, int left, int top, int right, int bottom, TColor color) {
  FillColorRect(canvas, TRect{left, top, right, bottom}, color);
}

void FillRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color) {
  SolidBrush(canvas, color);
  SolidPen(canvas, color);
  canvas.RoundRect(r, radius, radius);
}

void FillGradient(TCanvas& canvas, const TRect& r, TColor start, bool vertical, TColor end) {
  if (RectIsEmpty(r)) return;
  const int extent = vertical ? RectHeight(r) : RectWidth(r);
  const int bands = extent < 255 ? extent : 255;
  const COLORREF c0 = ColorToRGB(start), c1 = ColorToRGB(end);
  const std::array<int, 3> from{GetRValue(c0), GetGValue(c0), GetBValue(c0)};
  const std::array<int, 3> to{GetRValue(c1), GetGValue(c1), GetBValue(c1)};
  const int origin = vertical ? r.Top : r.Left;
  for (int n = 0; n <= bands; ++n) {
    std::array<int, 3> c{};
    for (int k = 0; k < 3; ++k) {
      // nearbyint rounds halves to even under the default rounding mode.
      double v = (double(n) * (to[k] - from[k]) * 255.0 / bands + from[k] * 255.0) / 255.0;
      c[k] = std::clamp(int(std::nearbyint(v)), 0, 255);
    }
    int a = origin + MulDiv(n, extent, bands);
    int b = origin + MulDiv(n + 1, extent, bands);
    TRect band = vertical ? TRect{r.Left, a, r.Right, b} : TRect{a, r.Top, b, r.Bottom};
    TRect visible;
    if (!IntersectRect(visible, band, r)) continue;
    FillColorRect(canvas, visible, TColor(RGB(c[0], c[1], c[2])));
  }
}

void FillChecker(TCanvas& canvas, const TRect& r, TColor first, TColor second) {
  TRect area{std::max(r.Left, 0), std::max(r.Top, 0), r.Right, r.Bottom};
  if (RectIsEmpty(area)) return;
  const std::uint32_t a = PixelFromColor(ColorToRGB(first));
  const std::uint32_t b = PixelFromColor(ColorToRGB(second));
  std::array<std::uint32_t, 64> pixels{};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pixels[y * 8 + x] = (x % 2 == y % 2) ? b : a;
  HBITMAP pattern = CreateBitmap(8, 8, 1, 32, pixels.data());
  HBRUSH brush = CreatePatternBrush(pattern);
  vandrel::FillRect(canvas.Handle(), area, brush);
  DeleteObject(brush);
  DeleteObject(pattern);
}

void DrawBevelLines(TCanvas& canvas, TRect& r, TSeBevelSides sides, int width, TColor topLeft,
                    TColor bottomRight) {
  for (int i = 0; i < width; ++i) {
    if (sides.Contains(kbsLeft)) Line(canvas, r.Left, r.Top, r.Left, r.Bottom, topLeft);
    if (sides.Contains(kbsTop)) Line(canvas, r.Left, r.Top, r.Right, r.Top, topLeft);
    if (sides.Contains(kbsBottom)) Line(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1, bottomRight);
    if (sides.Contains(kbsRight)) Line(canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom, bottomRight);
    if (sides.Contains(kbsLeft)) ++r.Left;
    if (sides.Contains(kbsTop)) ++r.Top;
    if (sides.Contains(kbsRight)) --r.Right;
    if (sides.Contains(kbsBottom)) --r.Bottom;
  }
}

void DrawIconCentered(TCanvas& canvas, const TRect& r, HICON icon) {
  if (!icon) return;
  TRect place = RectCenter(TRect{0, 0, 16, 16}, r);
  DrawIconEx(canvas.Handle(), place.Left, place.Top, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

void DrawIconCentered(TCanvas& canvas, const TRect& r, const TIcon* icon) {
  if (icon) DrawIconCentered(canvas, r, icon->Handle());
}

}  // namespace vandrel
