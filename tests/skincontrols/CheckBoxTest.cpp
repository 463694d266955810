// The check box's own look and behaviour: glyph and caption placement, the state cycle and its
// OnClick, mouse, space bar and accelerator through the real input path, loading without OnClick,
// and the embossed disabled caption.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Stream.h"
#include "platform/win/VirtualKeys.h"
#include "skincontrols/CheckBox.h"

namespace vandrel::test {
namespace {

TEST_F(SkinControlsTest, CheckBoxPlacesGlyphAndCaption) {
  TSeCustomCheckBox box(nullptr);
  EXPECT_EQ(box.BoundsRect(), Bounds(0, 0, 98, 20));
  EXPECT_TRUE(box.TabStop());
  EXPECT_TRUE(box.Transparent());
  EXPECT_EQ(box.Performance(), kspDoubleBuffer);
  EXPECT_EQ(box.Caption(), "CheckBox");

  // The main window's autostart box.
  box.SetBounds(0, 0, 76, 16);
  box.SetCaption("自动启动");
  EXPECT_EQ(box.CheckRect(), Rect(0, 1, 13, 14));
  const TRect caption = box.CaptionRect();
  EXPECT_EQ(caption.Left, 18);
  EXPECT_EQ(caption.Top, (16 - caption.Height()) / 2);

  box.SetAlignment(ktaRightJustify);
  EXPECT_EQ(box.CheckRect(), Rect(63, 1, 76, 14));
  EXPECT_EQ(box.CaptionRect().Left, 2);

  // Word wrap breaks the caption inside the width left beside the glyph (minus 10), centred.
  box.SetAlignment(ktaLeftJustify);
  box.SetBounds(0, 0, 60, 60);
  box.SetCaption("one two three four");
  const int oneLine = box.CaptionRect().Height();
  box.SetWordWrap(true);
  const TRect wrapped = box.CaptionRect();
  EXPECT_GT(wrapped.Height(), oneLine);
  EXPECT_LE(wrapped.Width(), 60 - 13 - 10);
  EXPECT_EQ(wrapped.Top, (60 - wrapped.Height()) / 2);

  // The platform's text (an action link sets it) becomes the caption.
  static_cast<TControl&>(box).SetCaption("Run");
  EXPECT_EQ(box.Caption(), "Run");
}

TEST_F(SkinControlsTest, CheckBoxStateChangesFireOnClickOnce) {
  struct Case {
    const char* name;
    TCheckBoxState start;
    bool allowGrayed;
    std::vector<TCheckBoxState (*)(TSeCustomCheckBox&)> steps;
    TCheckBoxState expected;
    int clicks;
  };
  auto checkTrue = +[](TSeCustomCheckBox& b) { b.SetChecked(true); return b.State(); };
  auto checkFalse = +[](TSeCustomCheckBox& b) { b.SetChecked(false); return b.State(); };
  auto sameState = +[](TSeCustomCheckBox& b) { b.SetState(b.State()); return b.State(); };
  const std::vector<Case> cases = {
      {"Checked on a checked box", cbChecked, false, {checkTrue}, cbChecked, 0},
      {"Checked on a grayed box", cbGrayed, false, {checkTrue}, cbChecked, 1},
      {"unchecking a grayed box", cbGrayed, false, {checkFalse}, cbUnchecked, 1},
      {"same state again", cbGrayed, false, {sameState}, cbGrayed, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSeCustomCheckBox box(nullptr);
    box.SetState(c.start);
    int clicks = 0;
    box.OnClick = [&](TPersistent*) { ++clicks; };
    for (auto step : c.steps) step(box);
    EXPECT_EQ(box.State(), c.expected);
    EXPECT_EQ(clicks, c.clicks);
  }
}

// Each row is one user action through the real input path and what it leaves behind.
TEST_F(SkinControlsTest, CheckBoxFollowsMouseSpaceBarAndAccelerator) {
  TForm* form = NewForm();
  auto* other = new TSeCustomCheckBox(form);
  other->SetParent(form);
  other->SetBounds(10, 60, 80, 20);
  auto* box = new TSeCustomCheckBox(form);
  box->SetParent(form);
  box->SetBounds(10, 10, 80, 20);
  box->SetCaption("&Run");
  std::vector<TCheckBoxState> seen;
  box->OnClick = [&](TPersistent*) { seen.push_back(box->State()); };
  form->Show();
  Pump();
  other->SetFocus();
  Pump();

  auto at = [&](int x, int y) { return box->ClientToScreen({x, y}); };
  enum Action { Press, Move, Release, SpaceDown, SpaceUp, Char, Gray, Disable };
  struct Step {
    const char* name;
    Action action;
    TPoint p;
    char32_t ch;
    TCheckBoxState state;
    bool pressed;
    size_t clicks;
  };
  const std::vector<Step> steps = {
      {"press takes the focus", Press, {5, 5}, 0, cbUnchecked, true, 0},
      {"moving off keeps it pressed", Move, {200, 50}, 0, cbUnchecked, true, 0},
      {"release outside does not toggle", Release, {200, 50}, 0, cbUnchecked, false, 0},
      {"press again", Press, {5, 5}, 0, cbUnchecked, true, 0},
      {"release on the right bottom corner toggles", Release, {80, 20}, 0, cbChecked, false, 1},
      {"space bar held", SpaceDown, {}, 0, cbChecked, true, 1},
      {"space bar released toggles", SpaceUp, {}, 0, cbUnchecked, false, 2},
      {"gray cycle on", Gray, {}, 0, cbUnchecked, false, 2},
      {"click to grayed", Press, {5, 5}, 0, cbUnchecked, true, 2},
      {"", Release, {5, 5}, 0, cbGrayed, false, 3},
      {"accelerator from another control", Char, {}, U'r', cbChecked, false, 4},
      {"other letters do nothing", Char, {}, U'x', cbChecked, false, 4},
      {"accelerator again", Char, {}, U'R', cbUnchecked, false, 5},
      {"disabled: no mouse", Disable, {}, 0, cbUnchecked, false, 5},
      {"", Press, {5, 5}, 0, cbUnchecked, false, 5},
      {"", Release, {5, 5}, 0, cbUnchecked, false, 5},
      {"disabled: no accelerator", Char, {}, U'r', cbUnchecked, false, 5},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    switch (s.action) {
      case Press: m_screen->MouseDown(at(s.p.X, s.p.Y)); break;
      case Move: m_screen->MouseMove(at(s.p.X, s.p.Y)); break;
      case Release: m_screen->MouseUp(at(s.p.X, s.p.Y)); break;
      case SpaceDown: m_screen->KeyDown(VK_SPACE); break;
      case SpaceUp: m_screen->KeyUp(VK_SPACE); break;
      case Char:
        other->SetFocus();
        Pump();
        m_screen->KeyPress(int(s.ch >= U'a' ? s.ch - 32 : s.ch), s.ch);
        break;
      case Gray: box->SetAllowGrayed(true); break;
      case Disable: box->SetEnabled(false); break;
    }
    Pump();
    EXPECT_EQ(box->State(), s.state);
    EXPECT_EQ(box->Pressed(), s.pressed);
    EXPECT_EQ(seen.size(), s.clicks);
    if (s.action == Press && s.pressed) {
      EXPECT_TRUE(box->Focused());
    }
  }
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbGrayed, cbChecked, cbUnchecked}));
}

TEST_F(SkinControlsTest, CheckBoxLoadsItsStateWithoutOnClick) {
  TSeCustomCheckBox source(nullptr);
  source.SetName("sbRun");
  source.SetCaption("自动启动");
  source.SetState(cbChecked);
  source.SetSpacing(7);
  TMemoryStream stream;
  WriteComponentToStream(stream, source);
  stream.SetPosition(0);
  TSeCustomCheckBox copy(nullptr);
  int clicks = 0;
  copy.OnClick = [&](TPersistent*) { ++clicks; };
  ReadComponentFromStream(stream, &copy);
  EXPECT_EQ(copy.State(), cbChecked);
  EXPECT_TRUE(copy.Checked());
  EXPECT_EQ(copy.Caption(), "自动启动");
  EXPECT_EQ(copy.Spacing(), 7);
  EXPECT_EQ(clicks, 0);
  copy.SetChecked(false);
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinControlsTest, CheckBoxDrawsGlyphAndEmbossedDisabledCaption) {
  TForm* form = NewForm(clBtnFace);
  auto* box = new TSeCustomCheckBox(form);
  box->SetParent(form);
  box->SetBounds(0, 0, 76, 16);
  box->SetCaption("WWW");
  box->SetChecked(true);
  auto colours = [&](const TseBitmap& b, const TRect& r) {
    std::set<COLORREF> found;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) found.insert(At(b, x, y));
    return found;
  };
  auto b = Painted(*box);
  const TRect glyph = box->CheckRect();
  auto enabledGlyph = colours(*b, glyph);
  EXPECT_TRUE(enabledGlyph.count(ColorToRGB(clWindow)));  // the white box
  EXPECT_TRUE(enabledGlyph.count(RGB(0, 0, 0)));           // the tick
  EXPECT_EQ(At(*b, 0, 0), ColorToRGB(clBtnFace));          // above it the form shows through
  TRect caption = box->CaptionRect();
  auto enabledText = colours(*b, caption);
  EXPECT_TRUE(enabledText.count(ColorToRGB(clWindowText)));

  box->SetEnabled(false);
  b = Painted(*box);
  auto disabledGlyph = colours(*b, glyph);  // the inactive glyph: a grey tick on the face colour
  EXPECT_TRUE(disabledGlyph.count(ColorToRGB(clBtnFace)));
  EXPECT_FALSE(disabledGlyph.count(RGB(0, 0, 0)));
  auto disabledText = colours(*b, InflateRect(caption, 1, 1));
  EXPECT_TRUE(disabledText.count(ColorToRGB(clBtnHighlight)));
  EXPECT_TRUE(disabledText.count(ColorToRGB(clBtnShadow)));
  EXPECT_FALSE(disabledText.count(ColorToRGB(clWindowText)));
}

}  // namespace
}  // namespace vandrel::test
