// The classic look of menu items, scroll buttons and the popup frame, in exact pixels on small
// bitmaps, and the measures that size a menu.
#include <gtest/gtest.h>

#include <memory>

#include "framework/Canvas.h"
#include "framework/ImageList.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"
#include "platform/win/VirtualKeys.h"
#include "skinform/MenuItem.h"
#include "skinform/MenuPaint.h"
#include "skinform/PopupView.h"
#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel::test {
namespace {

class MenuDrawTest : public ::testing::Test {
 protected:
  MenuDrawTest() {
    m_root = new TSeCustomItem(m_owner.get());
    m_view = new TSePopupView(m_owner.get());
    m_view->SetItem(m_root);
  }
  TSeCustomItem* Item(const std::string& caption) {
    auto* item = new TSeCustomItem(m_owner.get());
    item->SetCaption(caption);
    m_root->Add(item);
    return item;
  }
  // Letters of the classic colours: menu and button face share one colour in the standard scheme.
  static std::map<COLORREF, char> Letters() {
    return {{ColorToRGB(clMenu), '.'},
            {ColorToRGB(clBtnShadow), 'S'},
            {ColorToRGB(clBtnHighlight), 'H'},
            {RGB(0, 0, 0), '#'},
            {ColorToRGB(clHighlight), '*'}};
  }
  std::unique_ptr<TComponent> m_owner = std::make_unique<TComponent>(nullptr);
  TSeCustomItem* m_root;
  TSePopupView* m_view;
};

// Paints into a test canvas through a framework canvas.
template <typename F>
void Paint(TTestCanvas& target, F&& draw) {
  TCanvas canvas;
  canvas.SetHandle(target.dc);
  draw(canvas);
  canvas.SetHandle(nullptr);
}

TEST_F(MenuDrawTest, MeasuresOfItems) {
  TTestCanvas t(10, 10);
  TCanvas canvas;
  canvas.SetHandle(t.dc);
  SelectMenuFont(canvas);
  TSeCustomItem* plain = Item("&Open");
  TSeCustomItem* quit = Item("Quit");
  quit->SetShortCut(TShortCut(VK_F4) | scAlt);
  TSeCustomItem* separator = Item("-");
  // The "&" counts as a character when measuring.
  int open = WideTextWidth(canvas, "&Open", DT_NOPREFIX);
  EXPECT_GT(open, WideTextWidth(canvas, "Open", 0));
  EXPECT_EQ(plain->Measure(canvas, *m_view), (TSize{open + 22 + 42, 20}));
  SelectMenuFont(canvas);
  int alt = canvas.TextWidth("Alt+F4");
  EXPECT_EQ(quit->Measure(canvas, *m_view).cx, WideTextWidth(canvas, "Quit", DT_NOPREFIX) + 22 + 42 + alt);
  EXPECT_EQ(separator->Measure(canvas, *m_view).cy, 15);

  // The image column grows with images wider than the menu height; tall images make tall items.
  TImageList wide(m_owner.get());
  wide.SetWidth(32);
  wide.SetHeight(32);
  TImageList small(m_owner.get());
  small.SetWidth(16);
  small.SetHeight(16);
  EXPECT_EQ(ImageColumnWidth(&wide), 38);
  EXPECT_EQ(ImageColumnWidth(&small), 22);
  EXPECT_EQ(ImageColumnWidth(nullptr), 22);
  m_root->SetImages(&wide);  // the children use the root's list
  EXPECT_EQ(plain->Measure(canvas, *m_view), (TSize{open + 38 + 42, 36}));
  EXPECT_EQ(separator->Measure(canvas, *m_view).cy, 15);

  // Menu bars: caption + 12, button kinds square.
  m_view->SetVertical(false);
  m_root->SetImages(nullptr);
  EXPECT_EQ(plain->Measure(canvas, *m_view), (TSize{open + 12, 20}));
  plain->SetButtonKind(kbkClose);
  EXPECT_EQ(plain->Measure(canvas, *m_view), (TSize{20, 20}));
  canvas.SetHandle(nullptr);
}

TEST_F(MenuDrawTest, SeparatorIsAnEtchedLine) {
  TTestCanvas t(12, 15);
  TSeCustomItem* separator = Item("-");
  Paint(t, [&](TCanvas& c) { separator->DrawItem(c, *m_view, false, true, {0, 0, 12, 15}); });
  EXPECT_EQ(t.Picture({0, 5, 12, 11}, Letters()),
            "............\n"
            "............\n"
            "..SSSSSSSH..\n"
            "..HHHHHHHH..\n"
            "............\n"
            "............");
}

TEST_F(MenuDrawTest, DisabledCaptionIsEmbossedUnlessHot) {
  TSeCustomItem* item = Item("W");
  item->SetEnabled(false);
  struct {
    bool hot;
    bool highlightCopy;
  } cases[] = {{false, true}, {true, false}};
  for (const auto& c : cases) {
    TTestCanvas t(60, 20);
    Paint(t, [&](TCanvas& canvas) { item->DrawItem(canvas, *m_view, false, c.hot, {0, 0, 60, 20}); });
    // Text is smoothed, so the copies are told apart by brightness: the highlight copy is the only
    // thing lighter than the menu colour, the shadow copy the only grey darker than it.
    auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    int menu = brightness(ColorToRGB(clMenu));
    int lighter = 0, greyer = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 26; x < 60; ++x) {
        COLORREF p = t.At(x, y);
        lighter += brightness(p) > menu;
        greyer += p == ColorToRGB(clBtnShadow);
      }
    EXPECT_GT(greyer, 0) << "hot " << c.hot;
    EXPECT_EQ(lighter > 0, c.highlightCopy) << "hot " << c.hot;
  }
}

TEST_F(MenuDrawTest, HotItemUsesTheSelectionColoursAndTextStartsRightOfTheImageColumn) {
  TSeCustomItem* item = Item("WWW");
  TTestCanvas t(80, 20);
  Paint(t, [&](TCanvas& c) { item->DrawItem(c, *m_view, false, true, {0, 0, 80, 20}); });
  int firstText = 80;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 80; ++x)
      if (t.At(x, y) != ColorToRGB(clHighlight)) firstText = std::min(firstText, x);
  EXPECT_GE(firstText, 22 + 4);
  EXPECT_LT(firstText, 22 + 4 + 3);
}

TEST_F(MenuDrawTest, CheckedItemShowsTheCheckMarkInADitheredSunkenColumn) {
  TSeCustomItem* item = Item("x");
  item->SetChecked(true);
  TTestCanvas t(40, 20);
  Paint(t, [&](TCanvas& c) { item->DrawItem(c, *m_view, false, false, {0, 0, 40, 20}); });
  // Column (0,0)-(20,20): sunken frame, dither inside, check mark around (8, 11).
  EXPECT_EQ(t.At(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(t.At(19, 19), ColorToRGB(clBtnHighlight));
  EXPECT_NE(t.At(2, 2), t.At(3, 2)) << "dithered";
  EXPECT_EQ(t.Picture({5, 6, 14, 14}, Letters()).find('#') != std::string::npos, true);
  EXPECT_EQ(t.At(8, 11), RGB(0, 0, 0)) << "the anchor lies on the first polyline";
}

TEST_F(MenuDrawTest, ScrollButtonsAndSubmenuArrow) {
  TTestCanvas t(11, 10);
  Paint(t, [&](TCanvas& c) { m_root->DrawScrollButton(c, false, true, {0, 0, 11, 10}); });
  EXPECT_EQ(t.Picture({0, 0, 11, 10}, Letters()),
            "...........\n"
            "...........\n"
            "...........\n"
            ".....#.....\n"
            "....###....\n"
            "...#####...\n"
            "..#######..\n"
            "...........\n"
            "...........\n"
            "...........");
  Paint(t, [&](TCanvas& c) { m_root->DrawScrollButton(c, true, false, {0, 0, 11, 10}); });
  EXPECT_EQ(t.Picture({0, 0, 11, 10}, Letters()),
            "SSSSSSSSSSH\n"
            "S.........H\n"
            "S.........H\n"
            "S.#######.H\n"
            "S..#####..H\n"
            "S...###...H\n"
            "S....#....H\n"
            "S.........H\n"
            "S.........H\n"
            "HHHHHHHHHHH");

  // An item with children draws the arrow 24 pixels in from the right, in the text colour.
  TSeCustomItem* parent = Item("P");
  auto* child = new TSeCustomItem(m_owner.get());
  parent->Add(child);
  TTestCanvas a(100, 20);
  Paint(a, [&](TCanvas& c) { parent->DrawItem(c, *m_view, false, false, {0, 0, 100, 20}); });
  int arrowPixels = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 76; x < 96; ++x) arrowPixels += a.At(x, y) == RGB(0, 0, 0);
  EXPECT_GT(arrowPixels, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 96; x < 100; ++x) EXPECT_EQ(a.At(x, y), ColorToRGB(clMenu));
}

TEST_F(MenuDrawTest, ClassicPopupFrameHasThreeRings) {
  // The inside stays as it was (white here): the items cover it.
  TTestCanvas t(8, 8);
  Paint(t, [&](TCanvas& c) { PaintClassicPopupFrame(c, {8, 8}); });
  EXPECT_EQ(t.Picture({0, 0, 8, 8}, Letters()),
            ".......#\n"
            ".HHHHHS#\n"
            ".H....S#\n"
            ".H.HH.S#\n"
            ".H.HH.S#\n"
            ".H....S#\n"
            ".SSSSSS#\n"
            "########");
}

}  // namespace
}  // namespace vandrel::test
