#include <gtest/gtest.h>

#include <cstdint>

#include "platform/core/Exception.h"
#include <vector>

#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel {
namespace {

using test::TTestCanvas;

const std::map<COLORREF, char> kClassic = {
    {RGB(255, 255, 255), 'w'}, {RGB(212, 208, 200), 'f'}, {RGB(128, 128, 128), 's'},
    {RGB(64, 64, 64), 'd'},    {RGB(0, 0, 0), 'k'},       {RGB(1, 2, 3), '.'}};

TEST(Classic, MetricsOfTheStandardScheme) {
  struct {
    int index, value;
  } cases[] = {{SM_CXFRAME, 4}, {SM_CYFRAME, 4}, {SM_CYCAPTION, 19}, {SM_CYSMCAPTION, 15},
               {SM_CXSIZE, 18}, {SM_CYSIZE, 18}, {SM_CXSMSIZE, 16}, {SM_CYSMSIZE, 14},
               {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16}, {SM_CYVSCROLL, 16}, {SM_CXSMICON, 16},
               {SM_CYSMICON, 16}, {SM_CXMINIMIZED, 160}, {SM_CYMENU, 19}, {SM_CXEDGE, 2},
               {SM_CMONITORS, 1}, {SM_CXMENUCHECK, 13}, {12345, 0}, {-1, 0}};
  for (const auto& k : cases) EXPECT_EQ(GetSystemMetrics(k.index), k.value) << k.index;
  SetScreenSize(1024, 768);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  SetScreenSize(0, -5);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  SetScreenSize(1280, 800);
}

TEST(Classic, EdgesOwnTheirCornersAndAdjustTheRectangle) {
  TTestCanvas c(6, 6, RGB(1, 2, 3));
  TRect r{0, 0, 6, 6};
  DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(c.Picture({0, 0, 6, 6}, kClassic),
            "fffffd\n"
            "fwwwsd\n"
            "fwffsd\n"
            "fwffsd\n"
            "fssssd\n"
            "dddddd");
  EXPECT_EQ(r, (TRect{2, 2, 4, 4}));
  TTestCanvas s(4, 4, RGB(1, 2, 3));
  TRect q{0, 0, 4, 4};
  DrawEdge(s.dc, &q, BDR_SUNKENOUTER, BF_TOP | BF_LEFT);
  EXPECT_EQ(s.Picture({0, 0, 4, 4}, kClassic), "ssss\ns...\ns...\ns...");
  EXPECT_EQ(q, (TRect{0, 0, 4, 4}));
  EXPECT_FALSE(DrawEdge(s.dc, nullptr, EDGE_RAISED, BF_RECT));
}

TEST(Classic, CheckBoxStatesDrawTheClassicBox) {
  struct {
    UINT state;
    char face;   // interior letter
    char check;  // check mark letter, or 0
  } cases[] = {
      {DFCS_BUTTONCHECK, 'w', 0},
      {DFCS_BUTTONCHECK | DFCS_CHECKED, 'w', 'k'},
      {DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, 'f', 's'},
      {DFCS_BUTTONCHECK | DFCS_PUSHED, 'f', 0},
  };
  for (const auto& k : cases) {
    TTestCanvas c(13, 13, RGB(1, 2, 3));
    TRect r{0, 0, 13, 13};
    ASSERT_TRUE(DrawFrameControl(c.dc, &r, DFC_BUTTON, k.state));
    std::string pic = c.Picture({0, 0, 13, 13}, kClassic);
    // Sunken frame: shadow outer and dark shadow inner top-left, highlight and 3D light
    // bottom-right, which own the top-right corners.
    EXPECT_EQ(pic.substr(0, 13), "ssssssssssssw") << k.state;
    EXPECT_EQ(pic.substr(14, 13), "sddddddddddfw") << k.state;
    EXPECT_EQ(c.At(2, 2), k.face == 'w' ? RGB(255, 255, 255) : RGB(212, 208, 200)) << k.state;
    // The check mark's bottom tip at interior (2+2, 2+6) + 1.
    COLORREF tip = c.At(2 + 1 + 2, 2 + 1 + 6);
    if (k.check)
      EXPECT_EQ(tip, k.check == 'k' ? RGB(0, 0, 0) : RGB(128, 128, 128)) << k.state;
    else
      EXPECT_EQ(tip, c.At(2, 2)) << k.state;
  }
}

TEST(Classic, FrameControlsRefuseUnknownKindsAndSurviveTinyRects) {
  TTestCanvas c(20, 20);
  TRect r{0, 0, 16, 14};
  EXPECT_FALSE(DrawFrameControl(c.dc, &r, 99, 0));
  EXPECT_FALSE(DrawFrameControl(c.dc, &r, DFC_CAPTION, 0x77));
  EXPECT_FALSE(DrawFrameControl(HDC(), &r, DFC_CAPTION, 0));
  for (UINT type : {DFC_CAPTION, DFC_SCROLL, DFC_BUTTON, DFC_MENU})
    for (TRect tiny : {TRect{0, 0, 1, 1}, TRect{0, 0, 3, 2}, TRect{5, 5, 0, 0}, TRect{-10, -10, 30, 30}})
      DrawFrameControl(c.dc, &tiny, type, 0);
}

TEST(Classic, MenuArrowIsBlackOnWhite) {
  TTestCanvas c(20, 20, RGB(1, 2, 3));
  TRect r{0, 0, 20, 20};
  DrawFrameControl(c.dc, &r, DFC_MENU, DFCS_MENUARROW);
  int black = 0, other = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      COLORREF p = c.At(x, y);
      if (p == 0) ++black;
      else if (p != RGB(255, 255, 255)) ++other;
    }
  EXPECT_EQ(other, 0);
  EXPECT_EQ(black, 6 * 6);  // a right-pointing triangle of height 6: 11+9+7+5+3+1
  // Pointing right: the widest column is the leftmost one.
  EXPECT_EQ(c.At(7, 9), RGB(0, 0, 0));
}

TEST(Icons, DrawIconExBlendsByAlphaAndScales) {
  const std::uint32_t pixels[] = {0xFFFF0000, 0x800000FF, 0x00000000, 0xFF00FF00};
  HICON icon = CreateIconFromPixels(2, 2, pixels);
  ASSERT_TRUE(icon);
  EXPECT_EQ(GetIconSize(icon), (TSize{2, 2}));
  TTestCanvas c(8, 8);
  DrawIconEx(c.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(1, 0), RGB(127, 127, 255));  // half blue over white
  EXPECT_EQ(c.At(0, 1), RGB(255, 255, 255));
  DrawIconEx(c.dc, 4, 4, icon, 4, 4, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.At(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(c.At(7, 7), RGB(0, 255, 0));
  EXPECT_EQ(c.At(4, 7), RGB(255, 255, 255));
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  EXPECT_FALSE(DrawIcon(c.dc, 0, 0, icon));
  EXPECT_FALSE(CreateIconFromPixels(0, 3, nullptr));
}

TEST(Icons, IcoDataWithMaskAndDamagedData) {
  // One 2 x 2 24-bit image: bottom row red, top row white; mask makes the top-right transparent.
  std::vector<std::uint8_t> ico = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 24, 0};
  std::vector<std::uint8_t> bmp = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 24, 0};
  bmp.resize(40, 0);
  const std::uint8_t rows[] = {0, 0, 255, 0, 0, 255, 0, 0,            // bottom row, padded
                               255, 255, 255, 255, 255, 255, 0, 0};   // top row
  bmp.insert(bmp.end(), std::begin(rows), std::end(rows));
  const std::uint8_t mask[] = {0, 0, 0, 0, 0x40, 0, 0, 0};  // bottom row, then top row
  bmp.insert(bmp.end(), std::begin(mask), std::end(mask));
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) ico.push_back(std::uint8_t(v >> (8 * i)));
  };
  put32(std::uint32_t(bmp.size()));
  put32(22);
  ico.insert(ico.end(), bmp.begin(), bmp.end());
  HICON icon = CreateIconFromIcoData(ico, 16);
  ASSERT_TRUE(icon);
  TTestCanvas c(2, 2, RGB(0, 0, 0));
  DrawIcon(c.dc, 0, 0, icon);
  EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(c.At(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
  DestroyIcon(icon);
  for (size_t cut : {size_t(3), size_t(20), ico.size() - 5}) {
    std::vector<std::uint8_t> broken(ico.begin(), ico.begin() + std::ptrdiff_t(cut));
    EXPECT_THROW(CreateIconFromIcoData(broken, 16), EReadError) << cut;
  }
}

}  // namespace
}  // namespace vandrel
