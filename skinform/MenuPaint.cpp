#include "skinform/MenuPaint.h"

#include <algorithm>
#include <array>
#include <vector>

#include "framework/Canvas.h"
#include "framework/ImageList.h"
#include "graphics/Bitmap.h"
#include "graphics/PaintHelpers.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/FrameControl.h"
#include "platform/gdi/SystemMetrics.h"

namespace vandrel {

int MenuItemWidth() { return std::max(20, GetSystemMetrics(SM_CXMENUSIZE)); }
int MenuItemHeight() { return std::max(20, GetSystemMetrics(SM_CYMENUSIZE)); }

void SelectMenuFont(TCanvas& canvas) {
  TFont* font = canvas.Font();
  font->SetName("Tahoma");
  font->SetHeight(-11);
  font->SetStyle({});
}

int ImageColumnWidth(const TCustomImageList* images) {
  if (images && images->Width() > MenuItemHeight()) return images->Width() + 6;
  return 22;
}

void DrawCheckMark(TCanvas& canvas, TPoint a, TColor first, TColor second) {
  const std::array<TPoint, 7> one{{{a.X - 2, a.Y - 2}, {a.X, a.Y}, {a.X + 4, a.Y - 4}, {a.X + 4, a.Y - 3},
                                   {a.X, a.Y + 1}, {a.X - 2, a.Y - 1}, {a.X - 2, a.Y - 2}}};
  const std::array<TPoint, 5> two{{{a.X - 3, a.Y - 2}, {a.X - 3, a.Y - 1}, {a.X, a.Y + 2}, {a.X + 5, a.Y - 3},
                                   {a.X + 5, a.Y - 5}}};
  canvas.Pen()->SetColor(first);
  canvas.Polyline(one);
  canvas.Pen()->SetColor(second);
  canvas.Polyline(two);
}

namespace {

// The arrow's pixels for one size, drawn once by the platform (black on white).
const std::vector<TPoint>& ArrowPixels(int size) {
  static std::vector<std::pair<int, std::vector<TPoint>>> cache;
  for (auto& [s, pixels] : cache)
    if (s == size) return pixels;
  TseBitmap picture;
  picture.SetSize(size, size);
  TRect r{0, 0, size, size};
  DrawFrameControl(picture.DC(), &r, DFC_MENU, DFCS_MENUARROW);
  std::vector<TPoint> pixels;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (ColorFromPixel(picture.Pixel(x, y)) == RGB(0, 0, 0)) pixels.push_back({x, y});
  cache.emplace_back(size, std::move(pixels));
  return cache.back().second;
}

}  // namespace

void DrawSubmenuArrow(TCanvas& canvas, int x, int y, int size, TColor color) {
  for (TPoint p : ArrowPixels(size)) canvas.SetPixel(x + p.X, y + p.Y, color);
}

void DrawScrollTriangle(TCanvas& canvas, const TRect& r, bool up, TColor color) {
  int left = r.Left + (r.Width() - 7) / 2;
  int top = r.Top + (r.Height() - 4) / 2;
  for (int row = 0; row < 4; ++row) {
    int half = up ? row : 3 - row;
    FillColorRect(canvas, left + 3 - half, top + row, left + 4 + half, top + row + 1, color);
  }
}

void PaintClassicPopupFrame(TCanvas& canvas, TSize size) {
  TRect r{0, 0, size.cx, size.cy};
  DrawFrame3D(canvas, r, clBtnFace, TColor(RGB(0, 0, 0)));
  DrawFrame3D(canvas, InflateRect(r, -1, -1), clBtnHighlight, clBtnShadow);
  DrawFrame3D(canvas, InflateRect(r, -2, -2), clMenu, clMenu);
}

}  // namespace vandrel
