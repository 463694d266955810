// The status bar's own rules through the real bar: construction, the main window's bar with its
// hosted controls, layouts with hiding and stretching as the bar runs them (after resizes and
// panel changes), hosting rules and their errors, text and image placement, the size grip's
// condition, and a round trip of a form with the bar through a binary stream.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Button.h"
#include "framework/ClassRegistry.h"
#include "framework/Loading.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/gdi/SystemMetrics.h"
#include "skincontrols/CustomPanel.h"
#include "skincontrols/StatusBar.h"

namespace vandrel::test {
namespace {

// The main window's bottom: a framed panel without caption that holds the bar at its bottom.
struct TMainWindowBar {
  TSeCustomPanel* panel;
  TSeCustomStatusBar* bar;
  TButton* checkBox;
  TButton* button1;
  TButton* button2;
};

TMainWindowBar BuildMainWindowBar(TForm* form) {
  form->SetBounds(100, 100, 382, 536);
  auto* panel = new TSeCustomPanel(form);
  panel->SetShowCaption(false);
  panel->SetParent(form);
  panel->SetAlign(alClient);
  auto* bar = new TSeCustomStatusBar(form);
  bar->SetName("SeSkinStatusBar1");
  bar->SetParent(panel);
  bar->SetAlign(alBottom);
  bar->SetTransparent(true);
  bar->Panels()->Add()->SetWidth(200);
  bar->Panels()->Items(0)->SetText("test");
  auto make = [&](const char* name, int width) {
    auto* b = new TButton(form);
    b->SetName(name);
    TSeStatusPanel* p = bar->Panels()->Add();
    p->SetWidth(width);
    p->SetControl(b);
    b->SetParent(bar);
    return b;
  };
  auto* checkBox = make("sbRun", 80);
  auto* button1 = make("SeSkinButton1", 50);
  auto* button2 = make("SeSkinButton2", 50);
  return {panel, bar, checkBox, button1, button2};
}

class TWidePanel : public TSeStatusPanel {
 public:
  TWidePanel() { SetWidth(120); }
};

TEST_F(SkinControlsTest, StatusBarConstructionDefaults) {
  TSeCustomStatusBar bar(nullptr);
  EXPECT_EQ(bar.Height(), 22);
  EXPECT_EQ(bar.BevelInner(), kbvSpace);
  EXPECT_EQ(bar.BevelOuter(), kbvRaised);
  EXPECT_EQ(bar.BevelWidth(), 0);
  EXPECT_EQ(bar.BorderWidth(), 2);
  EXPECT_TRUE(bar.SizeGrip());
  EXPECT_EQ(bar.ControlStyle(), (TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks}));
  EXPECT_EQ(bar.ClientRect(), Rect(2, 2, 98, 20));
  TSeStatusPanel* p = bar.Panels()->Add();
  EXPECT_EQ(p->Width(), 50);
  EXPECT_EQ(p->MaxWidth(), 10000);
  EXPECT_EQ(p->ImageIndex(), -1);
  EXPECT_EQ(p->Margin(), 2);
  EXPECT_EQ(p->Spacing(), 4);
  EXPECT_TRUE(p->Framed());
  EXPECT_TRUE(p->ShowImage());
  EXPECT_EQ(p->ViewPriority(), 100);
  EXPECT_EQ(p->StretchPriority(), 0);
  EXPECT_EQ(p->StatusBar(), &bar);
  // The bevel options are published by the bar, with its own defaults.
  const TClassInfo& info = TSeCustomStatusBar::StaticClassInfo();
  for (const char* name : {"BevelSides", "BevelInner", "BevelOuter", "BevelKind", "BevelWidth", "BorderWidth",
                           "Images", "Panels", "SizeGrip", "OnDrawPanel", "OnPanelClick"})
    EXPECT_NE(info.FindProperty(name), nullptr) << name;
  EXPECT_EQ(info.FindProperty("BorderWidth")->defaultValue, 2);
  EXPECT_EQ(info.FindProperty("BevelInner")->defaultValue, kbvSpace);
}

TEST_F(SkinControlsTest, StatusBarOfTheMainWindowPlacesItsHostedControls) {
  TForm* form = NewForm();
  TMainWindowBar w = BuildMainWindowBar(form);
  form->Show();
  Pump();
  EXPECT_EQ(w.bar->BoundsRect(), Rect(4, 536 - 4 - 22, 378, 536 - 4));
  EXPECT_EQ(w.bar->Panels()->Count(), 4);
  EXPECT_EQ(w.checkBox->BoundsRect(), Rect(203, 3, 279, 19));
  EXPECT_EQ(w.button1->BoundsRect(), Rect(283, 3, 329, 19));
  EXPECT_EQ(w.button2->BoundsRect(), Rect(333, 3, 379, 19));
  for (TButton* b : {w.checkBox, w.button1, w.button2}) EXPECT_TRUE(b->Visible());
  EXPECT_EQ(w.bar->GetPanelRect(0), Rect(2, 2, 202, 20));
  EXPECT_EQ(w.bar->GetPanelRect(3), Rect(332, 2, 382, 20));
  EXPECT_FALSE(w.bar->SizeGripShown());  // it sits 4 pixels inside the panel
  EXPECT_EQ(w.bar->Panels()->Items(1)->DisplayName(), "[ sbRun ]");
  EXPECT_EQ(w.bar->Panels()->Items(0)->DisplayName(), "test");

  // The window grows: nothing stretches, the controls stay.
  form->SetWidth(500);
  Pump();
  EXPECT_EQ(w.button2->BoundsRect(), Rect(333, 3, 379, 19));
}

TEST_F(SkinControlsTest, StatusBarBuiltWhileLoadingLaysOutWhenLoaded) {
  TForm* form = NewForm();
  form->SetBounds(100, 100, 382, 536);
  TLoadingScope loading(form);
  auto* panel = loading.Create<TSeCustomPanel>();
  panel->SetShowCaption(false);
  panel->SetParent(form);
  panel->SetAlign(alClient);
  auto* bar = loading.Create<TSeCustomStatusBar>();
  bar->SetParent(panel);
  bar->SetAlign(alBottom);
  auto* tree = loading.Create<TSeCustomPanel>();  // placed after the bar, yet the bar ends in front
  tree->SetParent(panel);
  tree->SetAlign(alClient);
  bar->Panels()->Add()->SetWidth(200);
  std::vector<TButton*> hosted;
  for (int width : {80, 50, 50}) {
    auto* b = loading.Create<TButton>();
    b->SetParent(bar);  // while loading, a child makes no panel
    TSeStatusPanel* p = bar->Panels()->Add();
    p->SetWidth(width);
    p->SetControl(b);
    hosted.push_back(b);
  }
  loading.End();
  ASSERT_EQ(bar->Panels()->Count(), 4);
  EXPECT_EQ(hosted[0]->BoundsRect(), Rect(203, 3, 279, 19));
  EXPECT_EQ(hosted[1]->BoundsRect(), Rect(283, 3, 329, 19));
  EXPECT_EQ(hosted[2]->BoundsRect(), Rect(333, 3, 379, 19));
  EXPECT_EQ(panel->Controls(panel->ControlCount() - 1), bar);
}

TEST_F(SkinControlsTest, StatusBarLayoutsWithHidingAndStretching) {
  struct PanelSpec {
    int width, view, stretch, maxWidth;
  };
  struct Case {
    const char* what;
    int barWidth;  // border 2 each side, so the content is 4 narrower
    std::vector<PanelSpec> panels;
    std::vector<TRect> rects;  // GetPanelRect after the layout
    std::vector<bool> shown;
  };
  const std::vector<Case> cases = {
      {"the first panel is hidden, the second still starts after its slot",
       254, {{200, 50, 0, 10000}, {80, 100, 0, 10000}},
       {Rect(2, 2, 2, 20), Rect(202, 2, 282, 20)}, {false, true}},
      {"one panel always remains", 254, {{400, 50, 0, 10000}}, {Rect(2, 2, 402, 20)}, {true}},
      {"of a spare 100 the higher priority takes 40 up to its MaxWidth, the other the rest",
       154, {{40, 100, 30, 10000}, {10, 100, 60, 50}},
       {Rect(2, 2, 102, 20), Rect(102, 2, 152, 20)}, {true, true}},
      {"the last stretching panel reaches the content's right edge",
       204, {{50, 100, 0, 10000}, {50, 100, 10, 60}},
       {Rect(2, 2, 52, 20), Rect(52, 2, 202, 20)}, {true, true}},
      {"a panel starting at the content's end is hidden",
       204, {{120, 100, 0, 10000}, {80, 100, 0, 10000}, {30, 100, 0, 10000}},
       {Rect(2, 2, 122, 20), Rect(122, 2, 202, 20), Rect(202, 2, 202, 20)}, {true, true, false}},
  };
  for (const Case& c : cases) {
    TForm* form = NewForm();
    auto* bar = new TSeCustomStatusBar(form);
    bar->SetParent(form);
    for (const PanelSpec& s : c.panels) {
      TSeStatusPanel* p = bar->Panels()->Add();
      p->SetMaxWidth(s.maxWidth);
      p->SetWidth(s.width);
      p->SetViewPriority(s.view);
      p->SetStretchPriority(s.stretch);
    }
    // The layout follows a resize.
    bar->SetWidth(c.barWidth);
    for (size_t i = 0; i < c.rects.size(); ++i) {
      EXPECT_EQ(bar->GetPanelRect(int(i)), c.rects[i]) << c.what << ", panel " << i;
      EXPECT_EQ(bar->Panels()->Items(int(i))->Shown(), c.shown[i]) << c.what << ", panel " << i;
    }
    delete form;
  }
}

TEST_F(SkinControlsTest, StatusBarHostedControlsFollowPanelChanges) {
  TForm* form = NewForm();
  auto* bar = new TSeCustomStatusBar(form);
  bar->SetParent(form);
  bar->SetBounds(0, 0, 200, 22);
  auto* button = new TButton(form);
  button->SetParent(bar);  // inserted at run time: a panel of width 50 hosts it
  ASSERT_EQ(bar->Panels()->Count(), 1);
  TSeStatusPanel* hosting = bar->Panels()->Items(0);
  EXPECT_EQ(hosting->Control(), button);
  EXPECT_EQ(hosting->Width(), 50);
  EXPECT_EQ(button->BoundsRect(), Rect(3, 3, 49, 19));

  hosting->SetFramed(false);  // the control takes the whole panel rectangle
  EXPECT_EQ(button->BoundsRect(), Rect(2, 2, 52, 20));
  TSeStatusPanel* first = bar->Panels()->Add();
  first->SetWidth(120);
  first->SetViewPriority(100);
  hosting->SetViewPriority(40);
  bar->SetWidth(150);  // 170 wanted, 146 there: the hosting panel goes, and its control hides
  EXPECT_FALSE(button->Visible());
  bar->SetWidth(200);
  EXPECT_TRUE(button->Visible());

  // Width stays within 0..MaxWidth; lowering MaxWidth lowers Width; priorities are percentages.
  first->SetWidth(-5);
  EXPECT_EQ(first->Width(), 0);
  first->SetWidth(300);
  first->SetMaxWidth(90);
  EXPECT_EQ(first->Width(), 90);
  EXPECT_THROW(first->SetViewPriority(101), EInvalidArgument);
  EXPECT_THROW(first->SetStretchPriority(-1), EInvalidArgument);
  EXPECT_THROW(first->SetMaxWidth(-1), EInvalidArgument);
  EXPECT_EQ(first->ViewPriority(), 100);
  EXPECT_EQ(first->MaxWidth(), 90);

  // A panel may not host the bar or one of its parents; nothing changes then.
  auto* holder = new TSeCustomPanel(form);
  holder->SetParent(form);
  bar->SetParent(holder);
  EXPECT_THROW(first->SetControl(holder), EInvalidOperation);
  EXPECT_THROW(first->SetControl(bar), EInvalidOperation);
  EXPECT_EQ(first->Control(), nullptr);

  // Another panel taking the control takes it from the first one.
  first->SetControl(button);
  EXPECT_EQ(hosting->Control(), nullptr);
  EXPECT_EQ(first->Control(), button);

  // A destroyed hosted control leaves its panel; a removed child frees its panel.
  auto* other = new TButton(form);
  other->SetParent(bar);
  ASSERT_EQ(bar->Panels()->Count(), 3);
  other->SetParent(form);
  EXPECT_EQ(bar->Panels()->Count(), 2);
  auto* elsewhere = new TButton(form);
  elsewhere->SetParent(form);
  hosting->SetControl(elsewhere);
  delete elsewhere;
  EXPECT_EQ(hosting->Control(), nullptr);
  delete button;  // a child of the bar: its panel goes with it
  EXPECT_EQ(bar->Panels()->Count(), 1);
  EXPECT_EQ(bar->Panels()->Items(0), hosting);

  // The class of a panel made for an inserted control may be replaced.
  bar->OnCreatePanelClass = [](TSeCustomStatusBar*, TSeStatusPanelClass& panelClass) {
    panelClass = StatusPanelClass<TWidePanel>();
  };
  auto* wide = new TButton(form);
  wide->SetParent(bar);
  ASSERT_EQ(bar->Panels()->Count(), 2);
  EXPECT_NE(dynamic_cast<TWidePanel*>(bar->Panels()->Items(1)), nullptr);
  EXPECT_EQ(bar->Panels()->Items(1)->Control(), wide);
  EXPECT_EQ(wide->Width(), 120 - 4);
}

// A bar whose texts measure a fixed size, so placements are plain numbers.
class TFixedTextBar : public TSeCustomStatusBar {
 public:
  using TSeCustomStatusBar::TSeCustomStatusBar;
  std::optional<TSize> fixedText;
  TSize GetTextSize(const TSeStatusPanel& panel) const override {
    return fixedText ? *fixedText : TSeCustomStatusBar::GetTextSize(panel);
  }
};

TEST_F(SkinControlsTest, StatusBarPlacesTextAndImagesInsidePanels) {
  TForm* form = NewForm();
  auto* images = new TImageList(form);
  images->SetWidth(16);
  images->SetHeight(16);
  std::vector<std::uint32_t> pixels(16 * 16, 0xFF00FF00);
  images->AddPixels(pixels.data());
  auto* bar = new TFixedTextBar(form);
  bar->SetParent(form);
  bar->SetBounds(0, 0, 204, 30);
  bar->SetImages(images);
  TSeStatusPanel* p = bar->Panels()->Add();
  p->SetWidth(100);
  p->SetText("Pq");
  // Inner rectangle (3, 3, 99, 27): 96 x 24; text 30 x 13, image 16 x 16, margin 2, spacing 4.
  bar->fixedText = TSize{30, 13};
  struct Case {
    TSeStatusGliphLayout layout;
    TAlignment alignment;
    int imageIndex;
    TRect text;
    TRect image;
  };
  const Case cases[] = {
      {sglGlyphLeft, taLeftJustify, 0, {22, 5, 94, 18}, {2, 4, 18, 20}},
      {sglGlyphLeft, taRightJustify, -1, {2, 5, 94, 18}, {2, 12, 2, 12}},
      {sglGlyphLeft, taCenter, 0, {43, 5, 83, 18}, {23, 4, 39, 20}},     // 10 wider than the text
      {sglGlyphLeft, taCenter, -1, {33, 5, 73, 18}, {31, 12, 31, 12}},
      {sglGlyphRight, taLeftJustify, 0, {2, 5, 74, 18}, {78, 4, 94, 20}},
      {sglGlyphRight, taCenter, 0, {23, 5, 53, 18}, {57, 4, 73, 20}},    // exactly the text
      {sglGlyphRight, taCenter, 7, {33, 5, 63, 18}, {65, 12, 65, 12}},   // index outside the list
  };
  for (const Case& k : cases) {
    p->SetLayout(k.layout);
    p->SetAlignment(k.alignment);
    p->SetImageIndex(k.imageIndex);
    const std::string what = std::to_string(k.layout) + "/" + std::to_string(k.alignment) + "/" + std::to_string(k.imageIndex);
    EXPECT_EQ(bar->GetTextRect(*p), k.text) << what;
    EXPECT_EQ(bar->GetImageRect(*p), k.image) << what;
    // An index outside the list shows nothing and reserves nothing.
    EXPECT_EQ(bar->PanelShowsImage(*p), k.imageIndex == 0) << what;
  }
  bar->fixedText.reset();
  ASSERT_GT(bar->GetTextSize(*p).cx, 0);
  // The text width is limited to what the panel holds.
  p->SetText(std::string(200, 'W'));
  p->SetImageIndex(0);
  EXPECT_EQ(bar->GetTextSize(*p).cx, 100 - 16 - 4 - 2 * 2);
  p->SetText("");
  EXPECT_EQ(bar->GetTextSize(*p), (TSize{0, 0}));
}

TEST_F(SkinControlsTest, StatusBarPaintsSunkenPanelsOverItsBackground) {
  constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
  for (TSePerformance mode : {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}) {
    TSeCustomStatusBar bar(nullptr);
    bar.SetPerformance(mode);
    bar.SetBounds(0, 0, 154, 22);
    bar.SetColor(TColor(kRed));
    TSeStatusPanel* hidden = bar.Panels()->Add();
    hidden->SetWidth(100);
    hidden->SetViewPriority(50);
    TSeStatusPanel* shown = bar.Panels()->Add();
    shown->SetWidth(80);
    shown->SetText("x");
    bar.SetColor(TColor(kBlue));
    ASSERT_FALSE(hidden->Shown());
    auto b = Painted(bar);
    const std::string what = std::string(kPerformanceNames[mode]);
    EXPECT_EQ(At(*b, 0, 0), kBlue) << what;     // border ring
    EXPECT_EQ(At(*b, 50, 10), kBlue) << what;   // the hidden panel's empty slot gets the background
    EXPECT_EQ(At(*b, 102, 2), ColorToRGB(clBtnShadow)) << what;  // the shown panel, sunken
    EXPECT_EQ(At(*b, 110, 19), ColorToRGB(clBtnHighlight)) << what;
    EXPECT_EQ(At(*b, 140, 10), kBlue) << what;  // its face
  }
}

TEST_F(SkinControlsTest, StatusBarSizeGripOnlyInTheFormsBottomRightCorner) {
  TForm* form = NewForm();
  auto* bar = new TSeCustomStatusBar(form);
  bar->SetParent(form);
  bar->SetAlign(alBottom);
  bar->Panels()->Add()->SetWidth(60);
  form->Show();
  Pump();
  EXPECT_TRUE(bar->SizeGripShown());
  TRect content;
  content = bar->ClientRect();
  const TRect grip = bar->GetSizeGripRect();
  EXPECT_EQ(grip, Rect(content.Right - 1 - GetSystemMetrics(SM_CXVSCROLL), content.Bottom - 1 - GetSystemMetrics(SM_CYVSCROLL),
                       content.Right - 1, content.Bottom - 1) );
  bar->SetSizeGrip(false);
  EXPECT_FALSE(bar->SizeGripShown());
  bar->SetSizeGrip(true);
  bar->SetAlign(alTop);
  EXPECT_FALSE(bar->SizeGripShown());
  bar->SetAlign(alBottom);
  form->SetWindowState(wsMaximized);
  EXPECT_FALSE(bar->SizeGripShown());
  form->SetWindowState(wsNormal);

  // A skinned window on the form must allow sizing and be in its normal state too.
  auto* skinned = new TSkinnedWindowStandIn(form);
  skinned->allowsSizing = false;
  EXPECT_FALSE(bar->SizeGripShown());
  EXPECT_FALSE(SizeGripAt(*form, bar->ClientToScreen(CenterPoint(grip))));
  skinned->allowsSizing = true;
  skinned->state = kwsRollup;
  EXPECT_FALSE(bar->SizeGripShown());
  skinned->state = kwsNormal;
  EXPECT_TRUE(bar->SizeGripShown());
  // The skinned window's hit test finds the grip on the screen, and only there.
  EXPECT_TRUE(SizeGripAt(*form, bar->ClientToScreen({grip.Left, grip.Top})));
  EXPECT_FALSE(SizeGripAt(*form, bar->ClientToScreen({grip.Right, grip.Bottom})));
  EXPECT_FALSE(SizeGripAt(*form, bar->ClientToScreen({grip.Left - 1, grip.Top})));
  skinned->active = false;  // an inactive component does not skin the form
  skinned->allowsSizing = false;
  EXPECT_TRUE(bar->SizeGripShown());
}

TEST_F(SkinControlsTest, StatusBarRoundTripsThroughABinaryStream) {
  RegisterClass<TSeCustomStatusBar>();
  RegisterClass<TSeCustomPanel>();
  RegisterClass<TButton>();
  TForm* form = NewForm();
  form->SetName("Form1");
  TMainWindowBar w = BuildMainWindowBar(form);
  w.panel->SetName("SeSkinPanel2");
  TSeStatusPanel* first = w.bar->Panels()->Items(0);
  first->SetAlignment(taCenter);
  first->SetStretchPriority(30);
  first->SetStyle(psOwnerDraw);
  w.bar->SetSizeGrip(false);
  TMemoryStream stream;
  WriteComponentToStream(stream, *form);
  form->SetName("Original");  // the copy takes the stored name

  stream.SetPosition(0);
  auto* copy = m_app->CreateForm<TForm>();
  ReadComponentFromStream(stream, copy);
  auto* bar = dynamic_cast<TSeCustomStatusBar*>(copy->FindComponent("SeSkinStatusBar1"));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->Panels()->Count(), 4);
  EXPECT_FALSE(bar->SizeGrip());
  EXPECT_TRUE(bar->Transparent());
  TSeStatusPanel* p = bar->Panels()->Items(0);
  EXPECT_EQ(p->Text(), "test");
  EXPECT_EQ(p->Width(), 200);
  EXPECT_EQ(p->Alignment(), taCenter);
  EXPECT_EQ(p->StretchPriority(), 30);
  EXPECT_EQ(p->Style(), psOwnerDraw);
  EXPECT_EQ(p->ImageIndex(), -1);

  // The hosted controls come back by name; placing them in the bar makes no panels of their own.
  auto* panel = dynamic_cast<TWinControl*>(copy->FindComponent("SeSkinPanel2"));
  ASSERT_NE(panel, nullptr);
  panel->SetParent(copy);
  bar->SetParent(panel);
  const char* names[] = {"sbRun", "SeSkinButton1", "SeSkinButton2"};
  const TRect rects[] = {Rect(203, 3, 279, 19), Rect(283, 3, 329, 19), Rect(333, 3, 379, 19)};
  for (int i = 0; i < 3; ++i) {
    auto* c = dynamic_cast<TControl*>(copy->FindComponent(names[i]));
    ASSERT_NE(c, nullptr) << names[i];
    EXPECT_EQ(bar->Panels()->Items(i + 1)->Control(), c) << names[i];
    c->SetParent(bar);
  }
  ASSERT_EQ(bar->Panels()->Count(), 4);
  first = bar->Panels()->Items(0);
  first->SetStretchPriority(0);  // as the main window has it
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bar->Panels()->Items(i + 1)->Control()->BoundsRect(), rects[i]) << names[i];
}

}  // namespace
}  // namespace vandrel::test
