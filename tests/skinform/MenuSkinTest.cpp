// Items and popup frames drawn from a small skin made here in an engine's source: the skinned measures, separators with
// and without a "Separator" object, grey disabled items, the text margin past the image column,
// and the fallback to the classic look for a skin without "MenuBar".
#include <gtest/gtest.h>

#include <memory>

#include "framework/Canvas.h"
#include "framework/ImageList.h"
#include "skin/ActiveObject.h"
#include "skin/SkinEngine.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"
#include "skinform/MenuPaint.h"
#include "skinform/MenuSkinItem.h"
#include "skinform/PopupView.h"
#include "tests/gdi/GdiTestCanvas.h"

namespace vandrel::test {
namespace {

constexpr COLORREF kItemColor = RGB(0, 0, 200);
constexpr COLORREF kHotColor = RGB(0, 200, 0);
constexpr COLORREF kTextColor = RGB(255, 255, 0);
constexpr COLORREF kSeparatorColor = RGB(200, 0, 0);

class MenuSkinTest : public ::testing::Test {
 protected:
  MenuSkinTest() {
    m_root = new TSeSkinItem(m_owner.get());
    m_view = new TSePopupView(m_owner.get());
    m_view->SetItem(m_root);
  }

  // "MenuBar" (when asked) and "PopupMenu" with an "Item" 21 pixels high, optionally a
  // "Separator" and a "Frame" with margins 4, 5, 6, 7.
  void MakeSkin(bool menuBar, bool separator, bool frame) {
    if (menuBar) {
      auto bar = std::make_unique<TSeSkinObject>(nullptr);
      bar->SetName("MenuBar");
      m_source.AddObject(std::move(bar));
    }
    auto popup = std::make_unique<TSeSkinObject>(nullptr);
    popup->SetName("PopupMenu");
    auto* item = new TSeActiveObject(popup.get());
    item->SetName("Item");
    item->SetColor(TColor(kItemColor));
    item->SetActiveColor(TColor(kHotColor));
    item->Font()->SetColor(TColor(kTextColor));
    item->ActiveFont()->SetColor(TColor(kTextColor));
    item->SetTextAlign(taLeft);
    item->SetTextMarginLeft(2);
    item->SetBounds({0, 0, 100, 21});
    if (separator) {
      auto* s = new TSeSkinObject(popup.get());
      s->SetName("Separator");
      s->SetColor(TColor(kSeparatorColor));
    }
    if (frame) {
      auto* f = new TSeSkinObject(popup.get());
      f->SetName("Frame");
      f->SetColor(TColor(kSeparatorColor));
      f->SetMarginLeft(4);
      f->SetMarginTop(5);
      f->SetMarginRight(6);
      f->SetMarginBottom(7);
    }
    m_popupItem = item;
    m_source.AddObject(std::move(popup));
    m_root->SetSkinEngine(&m_engine);
  }

  TSeSkinItem* Item(const std::string& caption) {
    auto* item = new TSeSkinItem(m_owner.get());
    item->SetCaption(caption);
    m_root->Add(item);
    item->SetSkinEngine(m_root->SkinEngine());
    return item;
  }

  template <typename F>
  static void Paint(TTestCanvas& target, F&& draw) {
    TCanvas canvas;
    canvas.SetHandle(target.dc);
    draw(canvas);
    canvas.SetHandle(nullptr);
  }

  std::unique_ptr<TComponent> m_owner = std::make_unique<TComponent>(nullptr);
  TSeSkinEngine m_engine{nullptr};
  TSeSkinSource& m_source = m_engine.SkinSource();
  TSeSkinItem* m_root;
  TSePopupView* m_view;
  TSeSkinObject* m_popupItem = nullptr;
};

TEST_F(MenuSkinTest, MeasuresFollowTheSkinOnlyWithBothMenuObjects) {
  struct {
    bool menuBar;
    int separatorHeight;
  } cases[] = {{false, 15}, {true, 21}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.menuBar ? "with MenuBar" : "without MenuBar");
    m_source.Clear();
    MakeSkin(c.menuBar, false, false);
    EXPECT_EQ(m_root->SkinAvailable(), c.menuBar);
    TSeSkinItem* separator = Item("-");
    TTestCanvas t(10, 10);
    Paint(t, [&](TCanvas& canvas) { EXPECT_EQ(separator->Measure(canvas, *m_view).cy, c.separatorHeight); });
  }
}

TEST_F(MenuSkinTest, TallImageColumnRaisesItemsButNotSeparators) {
  MakeSkin(true, false, false);
  TSeSkinItem* plain = Item("Open");
  TSeSkinItem* separator = Item("-");
  TImageList images(m_owner.get());
  images.SetWidth(32);
  images.SetHeight(32);
  TTestCanvas t(10, 10);
  Paint(t, [&](TCanvas& canvas) {
    EXPECT_EQ(plain->Measure(canvas, *m_view).cy, 21);
    m_root->SetImages(&images);
    canvas.SetFont(*m_popupItem->Font());
    EXPECT_EQ(plain->Measure(canvas, *m_view), (TSize{canvas.TextWidth("Open") + 38 + 42, 42}));
    EXPECT_EQ(separator->Measure(canvas, *m_view).cy, 21);
  });
}

TEST_F(MenuSkinTest, SeparatorsWithAndWithoutASeparatorObject) {
  for (bool withObject : {false, true}) {
    SCOPED_TRACE(withObject ? "Separator object" : "line of the item object");
    m_source.Clear();
    MakeSkin(true, withObject, false);
    TSeSkinItem* separator = Item("-");
    TTestCanvas t(20, 21);
    Paint(t, [&](TCanvas& canvas) { separator->DrawItem(canvas, *m_view, false, false, {0, 0, 20, 21}); });
    if (withObject) {
      EXPECT_EQ(t.At(0, 0), kSeparatorColor);
      EXPECT_EQ(t.At(19, 20), kSeparatorColor);
    } else {
      // One pixel line in the font colour, 3 pixels in from each side, on the item's fill.
      EXPECT_EQ(t.Picture({0, 8, 20, 11}, {{kItemColor, '.'}, {kTextColor, '#'}}),
                "....................\n"
                "...##############...\n"
                "....................");
    }
  }
}

TEST_F(MenuSkinTest, ItemsDrawThroughTheSkinObjectInTheirState) {
  MakeSkin(true, false, false);
  TSeSkinItem* item = Item("W");
  TSeSkinItem* disabled = Item("W");
  disabled->SetEnabled(false);
  auto count = [](const TTestCanvas& t, COLORREF c) {
    int n = 0;
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 60; ++x) n += t.At(x, y) == c;
    return n;
  };
  TTestCanvas normal(60, 21), focused(60, 21), grey(60, 21);
  Paint(normal, [&](TCanvas& c) { item->DrawItem(c, *m_view, false, false, {0, 0, 60, 21}); });
  Paint(focused, [&](TCanvas& c) { item->DrawItem(c, *m_view, false, true, {0, 0, 60, 21}); });
  Paint(grey, [&](TCanvas& c) { disabled->DrawItem(c, *m_view, false, false, {0, 0, 60, 21}); });
  EXPECT_EQ(normal.At(1, 1), kItemColor);
  EXPECT_EQ(focused.At(1, 1), kHotColor);
  EXPECT_GT(count(normal, kTextColor), 0);
  EXPECT_EQ(count(grey, kTextColor), 0);
  EXPECT_GT(count(grey, RGB(128, 128, 128)), 0);
  // The caption starts right of the image column: the object's margin was raised to it.
  EXPECT_EQ(m_popupItem->TextMarginLeft(), 22);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 22; ++x) ASSERT_EQ(normal.At(x, y), kItemColor) << x << "," << y;
}

TEST_F(MenuSkinTest, FrameFromTheSkin) {
  MakeSkin(true, false, true);
  // The form's client area uses the frame's margins; without "Frame" 3 pixels on every side.
  TSeSkinObject* frame = m_source.FindObject("PopupMenu")->FindObject("Frame");
  ASSERT_NE(frame, nullptr);
  TSeSkinPopupForm skinned(nullptr, m_root);
  EXPECT_EQ(skinned.GetClientArea({100, 80}), (TRect{4, 5, 94, 73}));
  TTestCanvas t(20, 20);
  Paint(t, [&](TCanvas& c) { skinned.PaintFrame(c, {20, 20}); });
  EXPECT_EQ(t.At(0, 0), kSeparatorColor);
  EXPECT_EQ(t.At(19, 19), kSeparatorColor);
  m_source.Clear();
  MakeSkin(true, false, false);
  EXPECT_EQ(skinned.GetClientArea({100, 80}), (TRect{3, 3, 97, 77}));
}

TEST_F(MenuSkinTest, ShippedSkin) {
  m_engine.SetSkinFile(VANDREL_STEEL_SKIN);
  TSeSkinItem* plain = Item("Open");
  TSeSkinItem* separator = Item("-");
  m_root->SetSkinEngine(&m_engine);
  ASSERT_TRUE(m_root->SkinAvailable());
  TTestCanvas t(10, 10);
  Paint(t, [&](TCanvas& canvas) {
    EXPECT_EQ(separator->Measure(canvas, *m_view).cy, 21);
    EXPECT_EQ(plain->Measure(canvas, *m_view).cy, 21);
  });
}

}  // namespace
}  // namespace vandrel::test
