// Update regions and the paint pipeline: erase before paint, which windows repaint, clipping of
// window contexts, the screen context and printing a window into a bitmap.
#include "WinTestSupport.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fill.h"
#include "platform/gdi/RegionApi.h"

namespace vandrel::test {
namespace {

using PaintTest = WinTest;

// A handler that fills the client area with one colour on WM_PAINT (and on WM_PAINT with a
// context, as printing asks).
WinTest::Handler Painter(COLORREF color, std::vector<TRect>* paints = nullptr) {
  return [=](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PAINT) return std::nullopt;
    HBRUSH b = CreateSolidBrush(color);
    if (wp) {
      FillRect(HdcFromWParam(wp), ClientRect(h), b);
    } else {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, ps);
      if (paints) paints->push_back(ps.rcPaint);
      FillRect(dc, ClientRect(h), b);
      EndPaint(h, ps);
    }
    DeleteObject(b);
    return 0;
  };
}

TEST_F(PaintTest, EraseComesBeforePaintAndOnlyWhenAsked) {
  HWND w = Top(0, 0, 100, 100);
  Pump();
  ClearLog();
  InvalidateRect(w, nullptr, false);
  Pump();
  EXPECT_EQ(Filtered({WM_ERASEBKGND, WM_PAINT}, w), std::vector<UINT>{WM_PAINT});
  ClearLog();
  TRect part{10, 10, 20, 20};
  std::vector<TRect> paints;
  std::vector<UINT> order;
  std::vector<BOOL> erases;
  bool eraseDeclined = false;
  On(w, [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_ERASEBKGND) {
      order.push_back(m);
      if (eraseDeclined) return 0;
    }
    if (m == WM_PAINT) {
      PAINTSTRUCT ps;
      BeginPaint(h, ps);  // erasing happens inside BeginPaint
      order.push_back(m);
      paints.push_back(ps.rcPaint);
      erases.push_back(ps.fErase);
      EndPaint(h, ps);
      return 0;
    }
    return std::nullopt;
  });
  InvalidateRect(w, &part, true);
  Pump();
  EXPECT_EQ(order, (std::vector<UINT>{WM_ERASEBKGND, WM_PAINT}));
  EXPECT_EQ(paints, std::vector<TRect>{part});
  EXPECT_FALSE(GetUpdateRect(w, nullptr, false));
  // fErase asks the painter to erase: only when an erase was due and WM_ERASEBKGND declined it.
  struct {
    bool erase, declined;
    BOOL fErase;
  } cases[] = {{true, false, FALSE}, {false, false, FALSE}, {true, true, TRUE}, {false, true, FALSE}};
  for (auto& c : cases) {
    erases.clear();
    eraseDeclined = c.declined;
    InvalidateRect(w, &part, c.erase);
    Pump();
    EXPECT_EQ(erases, std::vector<BOOL>{c.fErase}) << "erase " << c.erase << " declined " << c.declined;
  }
}

TEST_F(PaintTest, AProcedureThatIgnoresPaintDoesNotGetItForever) {
  HWND w = Top(0, 0, 50, 50);
  On(w, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_PAINT) return 0;
    return std::nullopt;
  });
  Pump();
  ClearLog();
  InvalidateRect(w, nullptr, true);
  Pump();
  EXPECT_EQ(Of(WM_PAINT, w).size(), 1u);
  // The frame context of WM_NCPAINT's "whole window" (1) covers the whole window.
  HDC dc = GetDCEx(w, HRGN(1u), DCX_WINDOW | DCX_INTERSECTRGN);
  TRect box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (TRect{0, 0, 50, 50}));
  ReleaseDC(w, dc);
}

TEST_F(PaintTest, FrameRepaintsThroughNcPaintBeforeTheClient) {
  HWND w = Top(0, 0, 120, 90, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  Pump();
  ClearLog();
  RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
  Pump();
  EXPECT_EQ(Filtered({WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}, w),
            (std::vector<UINT>{WM_NCPAINT, WM_PAINT, WM_ERASEBKGND}));
  // Without RDW_FRAME only the client area repaints; UpdateWindow does it at once.
  ClearLog();
  InvalidateRect(w, nullptr, false);
  UpdateWindow(w);
  EXPECT_EQ(Filtered({WM_NCPAINT, WM_PAINT}, w), std::vector<UINT>{WM_PAINT});
  // The classic frame really is on the screen: the active caption colour at its left end.
  TRect r = WindowRect(w);
  EXPECT_EQ(m_screen->ScreenPixel(r.Left + 6, r.Top + 10), PixelFromColor(GetSysColor(COLOR_ACTIVECAPTION)));
}

TEST_F(PaintTest, ScrollingMovesPixelsAndInvalidatesWhatWasUncovered) {
  HWND w = Top(0, 0, 40, 40);
  // Each row painted in its own shade, so moved rows can be recognised.
  On(w, [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PAINT) return std::nullopt;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, ps);
    for (int y = 0; y < 40; ++y) {
      HBRUSH b = CreateSolidBrush(RGB(y * 5, 0, 0));
      FillRect(dc, {0, y, 40, y + 1}, b);
      DeleteObject(b);
    }
    EndPaint(h, ps);
    return 0;
  });
  Pump();
  TRect uncovered;
  EXPECT_EQ(ScrollWindowEx(w, 0, -10, nullptr, nullptr, {}, &uncovered, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(uncovered, (TRect{0, 30, 40, 40}));
  EXPECT_EQ(m_screen->ScreenPixel(5, 0), 0x320000u);  // row 10 is now at the top
  TRect update;
  ASSERT_TRUE(GetUpdateRect(w, &update, false));
  EXPECT_EQ(update, (TRect{0, 30, 40, 40}));
  ClearLog();
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(5, 35), 0xAF0000u);  // repainted: row 35 itself
  EXPECT_EQ(ScrollWindowEx(nullptr, 0, 1, nullptr, nullptr, {}, nullptr, 0), RGN_ERROR);
}

TEST_F(PaintTest, InvalidatingAChildRepaintsOnlyIt) {
  HWND parent = Top(0, 0, 200, 200, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND a = Child(parent, 10, 10, 50, 50);
  HWND b = Child(parent, 100, 10, 50, 50);
  Pump();
  ClearLog();
  InvalidateRect(a, nullptr, true);
  Pump();
  EXPECT_EQ(Of(WM_PAINT).size(), 1u);
  EXPECT_EQ(Of(WM_PAINT).front().Window, a);
  // Without WS_CLIPCHILDREN, invalidating the parent takes the children under the area along.
  ClearLog();
  HWND plain = Top(300, 0, 200, 200);
  HWND c = Child(plain, 0, 0, 50, 50);
  HWND d = Child(plain, 100, 100, 50, 50);
  Pump();
  ClearLog();
  TRect area{0, 0, 60, 60};
  InvalidateRect(plain, &area, true);
  Pump();
  EXPECT_FALSE(Of(WM_PAINT, plain).empty());
  EXPECT_FALSE(Of(WM_PAINT, c).empty());
  EXPECT_TRUE(Of(WM_PAINT, d).empty());
  EXPECT_TRUE(Of(WM_PAINT, b).empty());
}

TEST_F(PaintTest, ContextsAreClippedToTheVisiblePartOfTheWindow) {
  HWND parent = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Child(parent, 20, 20, 30, 30, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  HWND front = Child(parent, 40, 40, 30, 30, WS_CHILD | WS_VISIBLE);
  SetWindowPos(front, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  On(parent, Painter(RGB(255, 0, 0)));
  On(child, Painter(RGB(0, 255, 0)));
  On(front, Painter(RGB(0, 0, 255)));
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(5, 5), 0xFF0000u);
  EXPECT_EQ(m_screen->ScreenPixel(25, 25), 0x00FF00u);
  EXPECT_EQ(m_screen->ScreenPixel(45, 45), 0x0000FFu);  // the sibling in front wins
  // A parent repaint under WS_CLIPCHILDREN leaves the children alone.
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(m_screen->ScreenPixel(25, 25), 0x00FF00u);
  // A window context draws nowhere outside its window.
  HDC dc = GetDC(child);
  FillRect(dc, {-100, -100, 200, 200}, HBRUSH(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(ReleaseDC(child, dc), 1);
  EXPECT_EQ(m_screen->ScreenPixel(25, 25), 0u);
  EXPECT_EQ(m_screen->ScreenPixel(15, 15), 0xFF0000u);
  EXPECT_EQ(m_screen->ScreenPixel(45, 45), 0x0000FFu);
  EXPECT_EQ(ReleaseDC(child, dc), 0);  // twice: refused, nothing breaks
}

// A context taken before its window was resized, moved or reshaped draws where the window is now;
// a context deleted before it was released leaves no trace behind.
TEST_F(PaintTest, OpenContextsFollowTheirWindow) {
  HWND top = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Child(top, 10, 10, 20, 20);
  Pump();
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HDC topDc = GetDC(top), childDc = GetDC(child);
  SetWindowPos(top, nullptr, 0, 0, 150, 150, SWP_NOMOVE | SWP_NOZORDER);  // a new backing store
  SetWindowPos(child, nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  FillRect(childDc, {0, 0, 20, 20}, red);
  EXPECT_EQ(m_screen->ScreenPixel(65, 65), 0xFF0000u);
  FillRect(topDc, {0, 0, 150, 150}, red);
  EXPECT_EQ(m_screen->ScreenPixel(140, 140), 0xFF0000u);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SetWindowRgn(top, CreateRectRgn(0, 0, 120, 120), false);
  FillRect(topDc, {0, 0, 150, 150}, blue);
  EXPECT_EQ(m_screen->CaptureWindow(top)->Pixel(110, 20) & 0xFFFFFFu, 0x0000FFu);
  EXPECT_EQ(m_screen->CaptureWindow(top)->Pixel(130, 20) & 0xFFFFFFu, 0xFF0000u);  // outside the new shape
  EXPECT_EQ(ReleaseDC(top, topDc), 1);
  EXPECT_EQ(ReleaseDC(child, childDc), 1);
  DeleteObject(red);
  DeleteObject(blue);
  HDC dc = GetDC(top);
  EXPECT_EQ(WindowFromDC(dc), top);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(ReleaseDC(top, dc), 0);
  EXPECT_EQ(WindowFromDC(dc), nullptr);
}

TEST_F(PaintTest, WindowRegionShapesDrawingAndTheScreen) {
  HWND w = Top(100, 100, 40, 40);
  On(w, Painter(RGB(255, 255, 0)));
  SetWindowRgn(w, CreateRectRgn(0, 0, 20, 40), true);
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(105, 105), 0xFFFF00u);
  EXPECT_EQ(m_screen->ScreenPixel(130, 105), PixelFromColor(GetSysColor(COLOR_BACKGROUND)) & 0xFFFFFFu);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, copy), SIMPLEREGION);
  TRect box;
  GetRgnBox(copy, &box);
  EXPECT_EQ(box, (TRect{0, 0, 20, 40}));
  DeleteObject(copy);
}

TEST_F(PaintTest, ScreenContextReadsWhatIsUnderAWindow) {
  HWND back = Top(0, 0, 100, 100);
  On(back, Painter(RGB(10, 20, 30)));
  Pump();
  // What a translucent window captures before it appears.
  HDC screen = GetDC(nullptr);
  ASSERT_TRUE(screen);
  EXPECT_EQ(GetPixel(screen, 50, 50), RGB(10, 20, 30));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  HWND front = Top(40, 40, 100, 100);
  On(front, Painter(RGB(200, 0, 0)));
  Pump();
  screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, 50, 50), RGB(200, 0, 0));
  EXPECT_EQ(GetPixel(screen, 20, 20), RGB(10, 20, 30));
  // Drawing on the screen context shows on the screen.
  FillRect(screen, {0, 0, 4, 4}, HBRUSH(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(m_screen->ScreenPixel(1, 1), 0xFFFFFFu);
}

TEST_F(PaintTest, PrintingAWindowWithChildrenIntoABitmap) {
  HWND parent = Top(300, 300, 60, 40, WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND child = Child(parent, 10, 10, 20, 10);
  On(parent, Painter(RGB(0, 0, 255)));
  On(child, Painter(RGB(0, 255, 0)));
  HDC mem = CreateCompatibleDC({});
  HBITMAP bmp = CreateCompatibleBitmap(mem, 60, 40);
  HGDIOBJ old = SelectObject(mem, HGDIOBJ(bmp));
  FillRect(mem, {0, 0, 60, 40}, HBRUSH(GetStockObject(BLACK_BRUSH)));
  ASSERT_TRUE(PrintWindow(parent, mem, PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND));
  EXPECT_EQ(GetPixel(mem, 0, 0), GetSysColor(COLOR_WINDOWFRAME));  // the one-pixel border
  EXPECT_EQ(GetPixel(mem, 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(mem, 1 + 10 + 3, 1 + 10 + 3), RGB(0, 255, 0));  // child inside the client area
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

}  // namespace
}  // namespace vandrel::test
