#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/core/Exception.h"
#include "platform/gdi/GdiObject.h"
#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel {
namespace {

using test::TTestCanvas;

constexpr COLORREF kRed = RGB(255, 0, 0);

TEST(Section, ReportsOrientationBitsAndRowOrder) {
  for (bool bottomUp : {false, true}) {
    TTestCanvas c(3, 2, RGB(255, 255, 255), bottomUp);
    HBITMAP current(GetCurrentObject(c.dc, OBJ_BITMAP));
    ASSERT_EQ(current, c.bitmap);
    DIBSECTION ds;
    ASSERT_EQ(GetObject(current, sizeof ds, &ds), int(sizeof ds));
    EXPECT_EQ(ds.dsBmih.biHeight, bottomUp ? 2 : -2);
    EXPECT_EQ(ds.dsBmih.biBitCount, 32);
    EXPECT_EQ(ds.dsBm.bmBits, c.bits);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 12);
    // The top row drawn through the context is the first or the last row in memory.
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(c.dc, {0, 0, 3, 1}, red);
    DeleteObject(red);
    auto* px = static_cast<std::uint32_t*>(c.bits);
    std::uint32_t first = px[0], last = px[3];
    EXPECT_EQ(bottomUp ? last : first, 0x00FF0000u);  // alpha 0, as the platform writes
    EXPECT_EQ(bottomUp ? first : last, 0x00FFFFFFu);
  }
}

TEST(Section, DeviceDependentAndBadSizesRevealNoBits) {
  HBITMAP ddb = CreateCompatibleBitmap(nullptr, 4, 4);
  BITMAP bm;
  ASSERT_EQ(GetObject(ddb, sizeof bm, &bm), int(sizeof bm));
  EXPECT_EQ(bm.bmBits, nullptr);
  DIBSECTION ds;
  EXPECT_EQ(GetObject(ddb, sizeof ds, &ds), int(sizeof(BITMAP)));
  DeleteObject(ddb);

  EXPECT_FALSE(CreateCompatibleBitmap(nullptr, 0, 5));
  EXPECT_FALSE(CreateCompatibleBitmap(nullptr, -3, 5));
  EXPECT_FALSE(CreateCompatibleBitmap(nullptr, 100000, 100000));
  BITMAPINFO info;
  info.bmiHeader.biWidth = 0;
  info.bmiHeader.biHeight = 5;
  void* bits = &info;
  EXPECT_FALSE(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits));
  EXPECT_EQ(bits, nullptr);
  info.bmiHeader.biWidth = 5;
  info.bmiHeader.biBitCount = 24;
  EXPECT_FALSE(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits));
  EXPECT_FALSE(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits));
}

TEST(Selection, ABitmapLivesInOneContextAndCannotBeDeletedThere) {
  TTestCanvas c(2, 2);
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(SelectObject(other, c.bitmap));
  EXPECT_FALSE(DeleteObject(c.bitmap));
  EXPECT_EQ(SelectObject(c.dc, c.old), c.bitmap);
  EXPECT_EQ(SelectObject(other, c.bitmap), c.old);
  EXPECT_EQ(SelectObject(other, c.old), c.bitmap);
  c.old = SelectObject(c.dc, c.bitmap);
  DeleteDC(other);
}

TEST(Selection, NullAndDeletedObjectsAreRefusedAndDrawingGoesOn) {
  TTestCanvas c(4, 4);
  HBRUSH brush = CreateSolidBrush(kRed);
  HBRUSH previous = SelectObject(c.dc, brush);
  EXPECT_TRUE(previous);
  // Deleting a selected brush retires its handle; the context keeps drawing with it.
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(PatBlt(c.dc, 0, 0, 1, 1, PATCOPY));
  EXPECT_EQ(c.At(0, 0), kRed);
  EXPECT_FALSE(SelectObject(c.dc, brush));
  EXPECT_FALSE(SelectObject(c.dc, HBRUSH()));
  EXPECT_FALSE(SelectObject(c.dc, HGDIOBJ(0x12345678u)));
  EXPECT_FALSE(FillRect(c.dc, {0, 0, 4, 4}, brush));
  EXPECT_EQ(SelectObject(c.dc, previous), brush);
  EXPECT_FALSE(DeleteObject(GetStockObject(WHITE_BRUSH)));
  EXPECT_TRUE(GetStockObject(WHITE_BRUSH));

  HDC gone = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(DeleteDC(gone));
  EXPECT_FALSE(DeleteDC(gone));
  EXPECT_FALSE(FillRect(gone, {0, 0, 1, 1}, GetSysColorBrush(COLOR_BTNFACE)));
  EXPECT_FALSE(SelectObject(gone, GetStockObject(BLACK_PEN)));
  EXPECT_EQ(SaveDC(gone), 0);
  EXPECT_EQ(GetClipBox(gone, nullptr), RGN_ERROR);
}

// A slot is reused for thousands of objects; the handle of the first must never name a later one.
TEST(Selection, AStaleHandleNeverResolvesAgain) {
  struct TDummy : TGdiObject {
    int ObjectType() const override { return OBJ_BRUSH; }
  };
  TGdiObjectTable table;
  std::uint32_t stale = table.Add(std::make_shared<TDummy>());
  ASSERT_TRUE(table.Remove(stale));
  std::uint32_t last = stale;
  for (int i = 0; i < 10000; ++i) {
    std::uint32_t h = table.Add(std::make_shared<TDummy>());
    ASSERT_NE(h, 0u) << i;
    ASSERT_NE(h, stale) << "reuse " << i;
    ASSERT_EQ(table.Find(stale), nullptr) << "reuse " << i;
    ASSERT_NE(table.Find(h), nullptr);
    ASSERT_TRUE(table.Remove(h));
    ASSERT_EQ(table.Find(h), nullptr);
    last = h;
  }
  EXPECT_NE(last, stale);
  EXPECT_EQ(table.LiveCount(), 0u);
}

TEST(Clip, SavedStatesAndMovedOriginsClipWhereTheyShould) {
  TTestCanvas c(8, 8);
  HBRUSH black = HBRUSH(GetStockObject(BLACK_BRUSH));
  int level = SaveDC(c.dc);
  EXPECT_EQ(level, 1);
  SetWindowOrgEx(c.dc, 2, 2, nullptr);
  // Logical (3, 3)-(6, 6) is device (1, 1)-(4, 4).
  EXPECT_EQ(IntersectClipRect(c.dc, 3, 3, 6, 6), SIMPLEREGION);
  TRect box;
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (TRect{3, 3, 6, 6}));
  SaveDC(c.dc);
  EXPECT_EQ(ExcludeClipRect(c.dc, 4, 4, 5, 5), COMPLEXREGION);
  // Moving the origin moves the drawing, not the clip region (kept in device coordinates).
  OffsetWindowOrgEx(c.dc, -1, 0, nullptr);
  FillRect(c.dc, {0, 0, 20, 20}, black);
  EXPECT_EQ(c.Picture({0, 0, 6, 6}),
            "......\n"
            ".###..\n"
            ".#.#..\n"
            ".###..\n"
            "......\n"
            "......");
  EXPECT_TRUE(RestoreDC(c.dc, -1));
  TPoint org;
  GetWindowOrgEx(c.dc, &org);
  EXPECT_EQ(org, (TPoint{2, 2}));
  FillRect(c.dc, {0, 0, 20, 20}, black);
  EXPECT_EQ(c.At(2, 2), RGB(0, 0, 0));
  EXPECT_TRUE(RestoreDC(c.dc, level));
  EXPECT_FALSE(RestoreDC(c.dc, 1));
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (TRect{0, 0, 8, 8}));
}

TEST(Clip, SelectedRegionIsInDeviceCoordinatesAndCopied) {
  TTestCanvas c(6, 2);
  SetWindowOrgEx(c.dc, 10, 0, nullptr);
  HRGN region = CreateRectRgn(1, 0, 3, 1);
  EXPECT_EQ(SelectClipRgn(c.dc, region), SIMPLEREGION);
  OffsetRgn(region, 2, 0);  // the context holds its own copy
  FillRect(c.dc, {10, 0, 16, 2}, HBRUSH(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(c.Picture({0, 0, 6, 2}), ".##...\n......");
  EXPECT_EQ(GetClipRgn(c.dc, region), 1);
  TRect box;
  GetRgnBox(region, &box);
  EXPECT_EQ(box, (TRect{1, 0, 3, 1}));
  EXPECT_EQ(SelectClipRgn(c.dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(c.dc, region), 0);
  DeleteObject(region);
}

TEST(SurfaceContext, DrawsAtItsOriginInsideItsVisibleRegionAndRecordsDamage) {
  auto surface = std::make_shared<TSurface>(10, 6);
  // A "window" whose device origin is (3, 1), partly covered: visible (2, 0)-(6, 6).
  HDC dc = CreateSurfaceDC(surface, {3, 1}, TRegion(TRect{2, 0, 6, 6}));
  HGDIOBJ stock = GetCurrentObject(dc, OBJ_BITMAP);
  BITMAP bm;
  ASSERT_TRUE(GetObject(HBITMAP(stock), sizeof bm, &bm));
  EXPECT_EQ(bm.bmBits, nullptr);
  HBRUSH red = CreateSolidBrush(kRed);
  FillRect(dc, {-5, 0, 2, 2}, red);  // surface x -2..5, y 1..3
  auto at = [&](int x, int y) { return ColorFromPixel(surface->Pixel(x, y)); };
  EXPECT_EQ(at(1, 1), 0u);
  EXPECT_EQ(at(2, 1), kRed);
  EXPECT_EQ(at(4, 2), kRed);
  EXPECT_EQ(at(5, 2), 0u);
  EXPECT_EQ(at(4, 3), 0u);
  EXPECT_EQ(surface->TakeDamage(), (TRect{2, 1, 5, 3}));
  EXPECT_EQ(surface->Damage(), TRect{});
  // The application's clip region is relative to the device origin.
  HRGN region = CreateRectRgn(0, 0, 1, 1);
  SelectClipRgn(dc, region);
  FillRect(dc, {0, 0, 10, 10}, HBRUSH(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(at(3, 1), RGB(255, 255, 255));
  EXPECT_EQ(at(4, 1), kRed);
  TPoint origin;
  ASSERT_TRUE(GetDCOrgEx(dc, &origin));
  EXPECT_EQ(origin, (TPoint{3, 1}));
  SetDCOwnerTag(dc, 42);
  EXPECT_EQ(GetDCOwnerTag(dc), 42u);
  DeleteObject(region);
  DeleteObject(red);
  DeleteDC(dc);
}

TEST(SurfaceContext, BorrowedMemoryBottomUp) {
  std::uint32_t memory[2 * 3] = {};
  auto surface = std::make_shared<TSurface>(memory, 2, 3, 8, true);
  HDC dc = CreateSurfaceDC(surface, {0, 0}, TRegion(surface->Bounds()));
  SetPixel(dc, 1, 0, RGB(0, 0, 255));
  EXPECT_EQ(memory[5], 0x000000FFu);
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 5, 0), CLR_INVALID);
  DeleteDC(dc);
  EXPECT_THROW(TSurface(memory, 2, 3, 4, true), EInvalidArgument);
  EXPECT_THROW(TSurface(0, 3), EInvalidArgument);
}

}  // namespace
}  // namespace vandrel
