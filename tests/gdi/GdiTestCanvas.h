// A small 32-bit section selected into a memory context, and a picture of its pixels as text so
// tests can state exact pixels compactly.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/gdi/Gdi.h"

namespace vandrel::test {

class TTestCanvas {
 public:
  TTestCanvas(int width, int height, COLORREF background = RGB(255, 255, 255), bool bottomUp = false) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = bottomUp ? height : -height;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
    HBRUSH b = CreateSolidBrush(background);
    FillRect(dc, {0, 0, width, height}, b);
    DeleteObject(b);
  }
  ~TTestCanvas() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  TTestCanvas(const TTestCanvas&) = delete;
  TTestCanvas& operator=(const TTestCanvas&) = delete;

  COLORREF At(int x, int y) const { return ColorFromPixel(GetBitmapSurface(bitmap)->Pixel(x, y)); }
  TSurface& Surface() const { return *GetBitmapSurface(bitmap); }

  // Rows of the area joined by '\n'; each pixel is its colour's letter, '?' when unlisted.
  std::string Picture(const TRect& area, const std::map<COLORREF, char>& letters) const {
    std::string out;
    for (int y = area.Top; y < area.Bottom; ++y) {
      if (y > area.Top) out += '\n';
      for (int x = area.Left; x < area.Right; ++x) {
        auto it = letters.find(At(x, y));
        out += it == letters.end() ? '?' : it->second;
      }
    }
    return out;
  }
  // '.' white, '#' black.
  std::string Picture(const TRect& area) const {
    return Picture(area, {{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}});
  }

  HBITMAP bitmap;
  HBITMAP old;
  HDC dc;
  void* bits = nullptr;
};

}  // namespace vandrel::test
