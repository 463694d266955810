// The skinned controls bound to the skin the program ships, through the real engine: what each
// binding takes from it, the scroll bar's geometry in it, and that every control paints with it
// and gives it up again when the engine goes.
#include <gtest/gtest.h>

#include "SkinControlsTestSupport.h"
#include "skin/SkinEngine.h"
#include "skincontrols/SkinButton.h"
#include "skincontrols/SkinCheckBox.h"
#include "skincontrols/SkinPanel.h"
#include "skincontrols/SkinScrollBar.h"
#include "skincontrols/SkinStatusBar.h"

namespace vandrel::test {
namespace {

class ShippedSkinTest : public SkinControlsTest {
 protected:
  void SetUp() override {
    SkinControlsTest::SetUp();
    form = NewForm();
    form->SetBounds(100, 100, 382, 300);
    engine = new TSeSkinEngine(form);
  }

  template <typename T>
  T* Place(int left, int top, int width, int height) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(left, top, width, height);
    c->SetSkinEngine(engine);  // before the skin: bound when the engine announces it
    return c;
  }

  TForm* form = nullptr;
  TSeSkinEngine* engine = nullptr;
};

TEST_F(ShippedSkinTest, BindingsTakeTheSkinsValues) {
  auto* panel = Place<TSeSkinPanel>(0, 0, 382, 65);
  panel->SetShowCaption(false);
  auto* box = Place<TSeSkinCheckBox>(10, 100, 76, 16);
  auto* button = Place<TSeSkinButton>(100, 100, 46, 16);
  auto* bar = Place<TSeSkinStatusBar>(0, 200, 382, 22);
  auto* scroll = Place<TSeSkinScrollBar>(10, 150, 121, 16);
  auto* vertical = Place<TSeSkinScrollBar>(300, 80, 16, 100);
  vertical->SetKind(sbVertical);
  vertical->SetSkinEngine(engine);
  EXPECT_FALSE(panel->Transparent());
  EXPECT_FALSE(button->Transparent());
  EXPECT_FALSE(button->SkinAvailable());

  engine->SetSkinFile(VANDREL_STEEL_SKIN_FILE);
  for (bool available : {panel->SkinAvailable(), box->SkinAvailable(), button->SkinAvailable(), bar->SkinAvailable(),
                         scroll->SkinAvailable(), vertical->SkinAvailable()})
    EXPECT_TRUE(available);
  EXPECT_EQ(panel->CaptionHeight(), 23);
  EXPECT_TRUE(panel->Transparent());
  EXPECT_TRUE(button->Transparent());
  EXPECT_EQ(scroll->Height(), 17);  // "HorzFrame"
  EXPECT_EQ(vertical->Width(), 17);  // "VertFrame"
  EXPECT_EQ(scroll->GetButtonSize(), 17);  // "LeftButton"

  // Every control paints from the skin: not its own look any more.
  form->Show();
  Pump();
  for (TWinControl* c : std::initializer_list<TWinControl*>{panel, box, button, bar}) {
    auto skinned = Painted(*c);
    ASSERT_GT(skinned->Width(), 0);
  }

  // The engine freed: each control is left with its own look, the panel with its own height.
  delete engine;
  engine = nullptr;
  EXPECT_EQ(panel->CaptionHeight(), 20);
  EXPECT_FALSE(button->SkinAvailable());
  EXPECT_FALSE(scroll->SkinAvailable());
  form->Repaint();
  Pump();
}

// A 121 x 17 horizontal bar in the skin: 17-pixel buttons leave a track of 87 pixels from x = 17.
TEST_F(ShippedSkinTest, ScrollBarThumbTable) {
  auto* bar = Place<TSeSkinScrollBar>(10, 10, 121, 16);
  engine->SetSkinFile(VANDREL_STEEL_SKIN_FILE);
  struct Case { int max, page, position; TRect thumb; };
  const Case cases[] = {
      {100, 0, 0, {17, 0, 33, 17}},
      {100, 0, 50, {53, 0, 69, 17}},    // 50 x 71 / 100 = 35.5 -> 36
      {100, 0, 100, {88, 0, 104, 17}},
      {99, 10, 0, {17, 0, 27, 17}},     // 87 x 10 / 100 = 8.7 -> 9, raised to 10
      {99, 50, 25, {39, 0, 83, 17}},    // 43.5 -> 44 long; 25 x 43 / 50 = 21.5 -> 22
      {99, 50, 60, {60, 0, 104, 17}},   // past Max - PageSize + 1: at the end
      {9, 10, 5, {17, 0, 17, 17}},      // everything in one page: no thumb
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    bar->SetPageSize(0);
    bar->SetMax(c.max);
    bar->SetPageSize(c.page);
    bar->SetPosition(c.position);
    EXPECT_EQ(bar->GetThumbRect(), c.thumb);
  }
}

}  // namespace
}  // namespace vandrel::test
