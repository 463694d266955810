// The panel's own look and behaviour: child area and caption layout, rolling (at once, animated,
// with the parent following), the frozen height while rolled, the caption button through real
// mouse input, hiding, hints, and a round trip through a binary stream with the raw NormalHeight.
#include <gtest/gtest.h>

#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/PropertyInfo.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Stream.h"
#include "skincontrols/CustomPanel.h"

namespace vandrel::test {
namespace {

class THeightLog : public TSeCustomPanel {
 public:
  using TSeCustomPanel::TSeCustomPanel;
  std::vector<int> heights;

 protected:
  void Resize() override {
    heights.push_back(Height());
    TSeCustomPanel::Resize();
  }
};

TEST_F(SkinControlsTest, PanelLayoutOfChildAreaCaptionAndButton) {
  TSeCustomPanel p(nullptr);
  EXPECT_EQ(p.BoundsRect(), Bounds(0, 0, 100, 90));
  EXPECT_EQ(p.Color(), clWindow);
  EXPECT_EQ(p.ClientRect(), Rect(4, 24, 96, 86));
  EXPECT_EQ(p.ButtonRect(), Rect(79 + 2, 1 + 2, 99 - 2, 21 - 2));

  p.SetShowCaption(false);  // the main window's panels
  p.SetBounds(0, 0, 382, 65);
  EXPECT_EQ(p.ClientRect(), Rect(4, 4, 378, 61));
  EXPECT_EQ(p.ButtonRect(), Rect(0, 0, 0, 0));  // the button has no effect without a caption

  p.SetShowBevel(false);
  EXPECT_EQ(p.ClientRect(), Rect(3, 3, 379, 62));
}

// The margin and the bevel are one value each, whichever class a caller reaches them through, and
// the control base draws no frame of its own in the panel's margin.
TEST_F(SkinControlsTest, PanelMarginAndBevelAreTheBasesProperties) {
  TForm* form = NewForm();
  auto* p = new TSeCustomPanel(form);
  p->SetParent(form);
  p->SetShowCaption(false);
  p->SetBounds(0, 0, 40, 30);
  auto* child = new TSeCustomControl(form);
  child->SetParent(p);
  child->SetAlign(alClient);
  TSeCustomControl& base = *p;
  base.SetBorderWidth(5);
  base.SetBevelWidth(2);
  EXPECT_EQ(p->BorderWidth(), 5);
  EXPECT_EQ(p->BevelWidth(), 2);
  EXPECT_EQ(p->ClientRect(), Rect(7, 7, 33, 23));
  EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 33, 23));  // realigned
  const TPropertyInfo* stored = TSeCustomPanel::StaticClassInfo().FindProperty("BorderWidth");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->getOrdinal(*p), 5);
  // The base frame's bevel cuts would show in the margin if the base drew its frame here.
  base.SetBevelOuter(kbvRaised);
  p->SetColor(TColor(RGB(10, 200, 30)));
  child->SetVisible(false);
  auto b = Painted(*p);
  EXPECT_EQ(At(*b, 3, 3), RGB(10, 200, 30));
}

TEST_F(SkinControlsTest, PanelRollsUpToItsCaptionBarAndBack) {
  TForm* form = NewForm();
  auto* p = new THeightLog(form);
  p->SetParent(form);
  p->SetBounds(0, 0, 100, 200);
  std::vector<std::string> events;
  p->OnBeforeRoll = [&](TPersistent*) { events.push_back("before"); };
  p->OnRollup = [&](TPersistent*) { events.push_back(p->Rolled() ? "rolled" : "unrolled"); };
  p->SetRolled(true);
  EXPECT_EQ(p->Height(), 22);
  EXPECT_EQ(p->NormalHeight(), 200);
  p->SetHeight(150);  // frozen while rolled
  EXPECT_EQ(p->Height(), 22);
  p->SetRolled(false);
  EXPECT_EQ(p->Height(), 200);
  EXPECT_EQ(events, (std::vector<std::string>{"before", "rolled", "before", "unrolled"}));

  // Animated, from 101: every height divisible by 4 on the way, then the rolled height.
  p->SetHeight(101);
  p->SetAnimateRoll(true);
  p->heights.clear();
  p->SetRolled(true);
  std::vector<int> expected;
  for (int h = 100; h >= 24; h -= 4) expected.push_back(h);
  expected.push_back(22);
  EXPECT_EQ(p->heights, expected);
  p->heights.clear();
  p->SetRolled(false);
  ASSERT_FALSE(p->heights.empty());
  EXPECT_EQ(p->heights.front(), 24);
  EXPECT_EQ(p->heights.back(), 101);

  // The parent follows the panel.
  p->SetAnimateRoll(false);
  auto* inner = new TSeCustomPanel(form);
  inner->SetParent(p);
  inner->SetBounds(0, 0, 80, 60);
  inner->SetParentRoll(true);
  inner->SetRolled(true);
  EXPECT_EQ(p->Height(), 22);
  inner->SetRolled(false);
  EXPECT_EQ(p->Height(), 60);
}

TEST_F(SkinControlsTest, PanelButtonClicksOnlyOnReleaseInside) {
  TForm* form = NewForm();
  auto* p = new TSeCustomPanel(form);
  p->SetParent(form);
  p->SetBounds(10, 10, 120, 80);
  p->SetButtonHint("roll");
  p->SetCaptionHint("caption");
  int clicks = 0;
  p->OnButtonClick = [&](TPersistent*) { ++clicks; };
  form->Show();
  Pump();
  const TRect b = p->ButtonRect();
  const TPoint inside = p->ClientToScreen({b.Left + 3, b.Top + 3});
  const TPoint outside = p->ClientToScreen({20, 50});

  m_screen->MouseMove(inside);
  Pump();
  EXPECT_TRUE(p->ButtonHot());
  THintInfo info;
  info.CursorPos = {b.Left + 3, b.Top + 3};
  p->Perform(CM_HINTSHOW, 0, LPARAM(&info));
  EXPECT_EQ(info.HintStr, "roll");

  m_screen->MouseDown(inside);
  Pump();
  EXPECT_TRUE(p->ButtonPressed());
  m_screen->MouseMove(outside);
  Pump();
  EXPECT_FALSE(p->ButtonPressed());
  m_screen->MouseMove(inside);  // back in with the button held
  Pump();
  EXPECT_TRUE(p->ButtonPressed());
  m_screen->MouseMove(outside);
  Pump();
  m_screen->MouseUp(outside);
  Pump();
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(p->ButtonPressed());
  EXPECT_FALSE(p->Rolled());

  m_screen->Click(inside);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(p->Rolled());

  info.CursorPos = {10, 5};  // caption away from the button
  m_screen->MouseMove(p->ClientToScreen({10, 5}));
  Pump();
  p->Perform(CM_HINTSHOW, 0, LPARAM(&info));
  EXPECT_EQ(info.HintStr, "caption");

  std::vector<std::string> order;
  p->SetButtonKind(pbkHide);
  p->OnHide = [&](TPersistent*) { order.push_back(p->Visible() ? "hide while visible" : "hide late"); };
  p->OnButtonClick = [&](TPersistent*) { order.push_back(p->Visible() ? "click visible" : "click hidden"); };
  m_screen->Click(inside);
  Pump();
  EXPECT_EQ(order, (std::vector<std::string>{"hide while visible", "click hidden"}));
}

TEST_F(SkinControlsTest, PanelPaintsBodyCaptionAndEtchedBevel) {
  TSeCustomPanel p(nullptr);
  p.SetBounds(0, 0, 40, 30);
  p.SetColor(TColor(RGB(255, 0, 0)));
  auto b = Painted(p);
  const COLORREF shadow = ColorToRGB(clBtnShadow), hi = ColorToRGB(clBtnHighlight);
  EXPECT_EQ(At(*b, 0, 10), shadow);   // etched: shadow outside,
  EXPECT_EQ(At(*b, 1, 10), hi);       // highlight inside
  EXPECT_EQ(At(*b, 39, 10), hi);
  EXPECT_EQ(At(*b, 10, 25), RGB(255, 0, 0));
  EXPECT_EQ(At(*b, 4, 10), ColorToRGB(clBtnFace));  // caption bar (1..21)
  p.SetShowCaption(false);
  b = Painted(p);
  EXPECT_EQ(At(*b, 4, 10), RGB(255, 0, 0));
}

TEST_F(SkinControlsTest, PanelRoundTripsThroughABinaryStreamWithItsNormalHeight) {
  TSeCustomPanel source(nullptr);
  source.SetName("SePanel1");
  source.SetBounds(0, 0, 100, 200);
  source.SetCaption("提醒");
  source.SetButtonKind(pbkHide);
  source.SetPerformance(kspSharedBuffer);
  source.SetRolled(true);
  TMemoryStream stream;
  WriteComponentToStream(stream, source);
  stream.SetPosition(0);
  TSeCustomPanel copy(nullptr);
  ReadComponentFromStream(stream, &copy);
  EXPECT_TRUE(copy.Rolled());
  EXPECT_EQ(copy.Height(), 22);
  EXPECT_EQ(copy.NormalHeight(), 200);
  EXPECT_EQ(copy.Caption(), "提醒");
  EXPECT_EQ(copy.ButtonKind(), pbkHide);
  EXPECT_EQ(copy.Performance(), kspSharedBuffer);
  copy.SetRolled(false);
  EXPECT_EQ(copy.Height(), 200);
}

}  // namespace
}  // namespace vandrel::test
