// The skinned panel, status bar, check box, button and scroll bar on small skins built in the test:
// which sub-object each draws in which state (driven through the real input path), what each
// binding takes from the skin, repainting only what changed, and the own look whenever the skin is
// missing, lacks the object or its engine is freed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "TestSkin.h"
#include "framework/Loading.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualKeys.h"
#include "skin/SkinMessages.h"
#include "skincontrols/SkinButton.h"
#include "skincontrols/SkinCheckBox.h"
#include "skincontrols/SkinPanel.h"
#include "skincontrols/SkinScrollBar.h"
#include "skincontrols/SkinStatusBar.h"

namespace vandrel::test {
namespace {

constexpr COLORREF kGlyph = RGB(200, 10, 0), kFace = RGB(10, 200, 0), kFrame = RGB(90, 90, 0),
                   kPanel = RGB(150, 60, 0), kGrip = RGB(60, 150, 0), kTextFont = RGB(255, 0, 255),
                   kObjectFont = RGB(0, 255, 255);
using Log = std::vector<std::string>;

class SkinnedControlsTest : public SkinControlsTest {
 protected:
  void SetUp() override {
    SkinControlsTest::SetUp();
    form = NewForm();
    form->SetBounds(100, 100, 300, 200);
    engine = new TTestSkinEngine(form);
    auto& box = engine->source.Add("CheckBox", kGlyph, &log);
    box.Add("Unchecked", kGlyph, {11, 11});
    box.Add("Checked", kGlyph, {11, 11});
    box.Add("Mixed", kGlyph, {11, 11});
    box.Add("Text", kGlyph).WithFont(kTextFont);
    auto& button = engine->source.Add("Button", kFace, &log).WithFont(kObjectFont);
    button.Add("Face", kFace).seeThrough = true;
    button.Add("Text", kFace).WithFont(kTextFont);
    auto& panel = engine->source.Add("Panel", kFrame, &log);
    panel.Add("Frame", kFrame).seeThrough = true;
    panel.Add("Caption", kPanel, {0, 23});
    panel.Add("ButtonRollup", kGrip);
    panel.Add("Button", kGrip);
    auto& bar = engine->source.Add("StatusBar", kFrame, &log);
    bar.Add("Frame", kFrame);
    bar.Add("Panel", kPanel);
    bar.Add("Gripper", kGrip);
    auto& scroll = engine->source.Add("ScrollBar", kFrame, &log);
    scroll.Add("HorzFrame", kFrame, {0, 12});
    scroll.Add("Frame", kFrame, {14, 14});
    scroll.Add("LeftButton", kGlyph, {10, 12});
    scroll.Add("RightButton", kGlyph, {10, 12});
    scroll.Add("Slider", kFace);
  }

  template <typename T>
  T* Place(int left, int top, int width, int height) {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBounds(left, top, width, height);
    return c;
  }

  // What a paint of the control drew, through its real paint path.
  template <typename T>
  Log DrawnBy(T& control) {
    log.clear();
    m_last = Painted(control);
    return log;
  }

  TForm* form = nullptr;
  TTestSkinEngine* engine = nullptr;
  Log log;
  std::unique_ptr<TseBitmap> m_last;
};

// Each step is one user action; the row says the glyph and state the next paint draws.
TEST_F(SkinnedControlsTest, CheckBoxGlyphAndStatePrecedence) {
  auto* other = Place<TSeCustomCheckBox>(10, 100, 80, 20);
  auto* box = Place<TSeSkinCheckBox>(10, 10, 98, 20);
  box->SetSkinEngine(engine);
  form->Show();
  Pump();
  other->SetFocus();
  Pump();
  EXPECT_EQ(box->CheckRect(), Rect(0, 4, 11, 15));  // the size of "Checked"
  EXPECT_EQ(COLORREF(box->Font()->Color()), kTextFont);

  enum Action { Nothing, Focus, Hover, SpaceDown, SpaceUp, Away, Gray, Disable, OffWindow };
  struct Step { const char* name; Action action; const char* drawn; };
  const Step steps[] = {
      {"normal", Nothing, "Unchecked 0"},
      {"focused", Focus, "Unchecked 7"},
      {"hot beats focused", Hover, "Unchecked 5"},
      {"pressed plays no part", SpaceDown, "Unchecked 5"},
      {"the release toggles", SpaceUp, "Checked 5"},
      {"the pointer moves to the form", Away, "Checked 7"},
      {"grayed", Gray, "Mixed 7"},
      {"hovered again", Hover, "Mixed 5"},
      {"straight off the window ends hot", OffWindow, "Mixed 7"},
      {"disabled beats all", Disable, "Mixed 8"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    switch (s.action) {
      case Nothing: break;
      case Focus: box->SetFocus(); break;
      case Hover: m_screen->MouseMove(box->ClientToScreen({50, 10})); break;
      case SpaceDown: m_screen->KeyDown(VK_SPACE); break;
      case SpaceUp: m_screen->KeyUp(VK_SPACE); break;
      case Away: m_screen->MouseMove(form->ClientToScreen({200, 150})); break;
      case Gray: box->SetState(cbGrayed); break;
      case Disable: box->SetEnabled(false); break;
      case OffWindow: m_screen->MouseMove({700, 550}); break;
    }
    Pump();
    EXPECT_EQ(DrawnBy(*box), Log{s.drawn});
    const int state = std::stoi(std::string(s.drawn).substr(std::string(s.drawn).find(' ') + 1));
    EXPECT_EQ(At(*m_last, 5, 9), TTestSkinObject::Shade(kGlyph, state));
  }
}

TEST_F(SkinnedControlsTest, CheckBoxFontComesFromTextElseTheObject) {
  engine->source.objects.clear();
  auto& box = engine->source.Add("CheckBox", kGlyph, &log).WithFont(kObjectFont);
  box.Add("Checked", kGlyph, {13, 13});
  auto* c = Place<TSeSkinCheckBox>(10, 10, 98, 20);
  c->SetSkinEngine(engine);
  EXPECT_EQ(COLORREF(c->Font()->Color()), kObjectFont);
  // A state whose glyph the skin lacks draws no glyph; the caption still comes.
  EXPECT_EQ(DrawnBy(*c), Log{});
}

TEST_F(SkinnedControlsTest, ButtonFaceStatePrecedence) {
  auto* edit = Place<TSeCustomCheckBox>(10, 100, 80, 20);  // a control that is no button
  auto* button = Place<TSeSkinButton>(10, 10, 46, 16);
  button->SetCaption("刷新");
  button->SetSkinEngine(engine);
  EXPECT_TRUE(button->Transparent());  // the masked face
  form->Show();
  Pump();
  edit->SetFocus();
  Pump();

  enum Action { Nothing, Focus, Hover, Press, MoveOff, MoveOn, Release, OffWindow, Default, Disable };
  struct Step { const char* name; Action action; int state; };
  const Step steps[] = {
      {"normal", Nothing, 0},
      {"focused", Focus, 7},
      {"hot beats focused", Hover, 5},
      {"pressed beats hot", Press, 6},
      {"held off the button", MoveOff, 7},
      {"back over it", MoveOn, 6},
      {"released", Release, 5},
      {"straight off the window ends hot", OffWindow, 7},
      {"the active default looks focused", Default, 7},
      {"disabled beats all", Disable, 8},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    switch (s.action) {
      case Nothing: break;
      case Focus: button->SetFocus(); break;
      case Hover: m_screen->MouseMove(button->ClientToScreen({20, 8})); break;
      case Press: m_screen->MouseDown(button->ClientToScreen({20, 8})); break;
      case MoveOff: m_screen->MouseMove(form->ClientToScreen({200, 150})); break;
      case MoveOn: m_screen->MouseMove(button->ClientToScreen({20, 8})); break;
      case Release: m_screen->MouseUp(button->ClientToScreen({20, 8})); break;
      case OffWindow: m_screen->MouseMove({700, 550}); break;
      case Default:
        button->SetDefault(true);
        edit->SetFocus();
        break;
      case Disable: button->SetEnabled(false); break;
    }
    Pump();
    EXPECT_EQ(DrawnBy(*button), Log{"Face " + std::to_string(s.state)});
    EXPECT_EQ(At(*m_last, 1, 1), TTestSkinObject::Shade(kFace, s.state));
  }
}

TEST_F(SkinnedControlsTest, ButtonCaptionFontAndFaceFallbacks) {
  struct Case { const char* name; bool face, text; std::optional<bool> seeThrough; bool showCaption;
                const char* drawn; COLORREF font; bool transparent; };
  const Case cases[] = {
      {"face and text", true, true, true, true, "Face 0", kTextFont, true},
      {"an opaque face", true, true, false, true, "Face 0", kTextFont, false},
      {"no face: the object itself", false, true, std::nullopt, true, "Button 0", kTextFont, false},
      {"no text: the object's font", true, false, std::nullopt, true, "Face 0", kObjectFont, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    engine->source.objects.clear();
    auto& object = engine->source.Add("Button", kFace, &log).WithFont(kObjectFont);
    if (c.face) object.Add("Face", kFace).seeThrough = c.seeThrough;
    if (c.text) object.Add("Text", kFace).WithFont(kTextFont);
    auto* button = Place<TSeSkinButton>(10, 10, 46, 16);
    button->SetCaption("WWW");
    button->SetShowCaption(c.showCaption);
    button->SetSkinEngine(engine);
    EXPECT_EQ(button->Transparent(), c.transparent);
    EXPECT_EQ(DrawnBy(*button), Log{c.drawn});
    // The caption is drawn in the chosen font's colour somewhere inside its rectangle.
    const TRect r = button->CaptionRect();
    bool found = false;
    for (int y = r.Top; y < r.Bottom && !found; ++y)
      for (int x = r.Left; x < r.Right && !found; ++x) found = At(*m_last, x, y) == c.font;
    EXPECT_TRUE(found);
    delete button;
  }
}

TEST_F(SkinnedControlsTest, AStateChangeRepaintsOnlyThatControl) {
  auto* box = Place<TSeSkinCheckBox>(10, 60, 98, 20);
  auto* button = Place<TSeSkinButton>(10, 10, 46, 16);
  box->SetSkinEngine(engine);
  button->SetSkinEngine(engine);
  form->Show();
  Pump();
  log.clear();
  m_screen->MouseMove(button->ClientToScreen({20, 8}));
  Pump();
  EXPECT_EQ(log, Log{"Face 5"});
  log.clear();
  m_screen->MouseMove(box->ClientToScreen({50, 10}));
  Pump();
  std::sort(log.begin(), log.end());
  EXPECT_EQ(log, (Log{"Face 0", "Unchecked 5"}));
  const TPoint p = button->ClientToScreen({1, 1});
  EXPECT_EQ(ColorFromPixel(m_screen->Capture()->Pixel(p.X, p.Y)), TTestSkinObject::Shade(kFace, 0));
}

TEST_F(SkinnedControlsTest, PanelTakesCaptionHeightAndSeeThroughFromItsSkin) {
  auto* panel = Place<TSeSkinPanel>(0, 0, 200, 100);
  panel->SetShowCaption(true);
  panel->SetShowButton(true);
  EXPECT_EQ(panel->CaptionHeight(), 20);
  panel->SetSkinEngine(engine);
  EXPECT_EQ(panel->CaptionHeight(), 23);
  EXPECT_TRUE(panel->Transparent());
  panel->SetCaption("Notes");
  const Log drawn = DrawnBy(*panel);
  EXPECT_EQ(drawn, (Log{"Frame 0", "Caption 0", "ButtonRollup 0"}));
  EXPECT_EQ(At(*m_last, 100, 80), TTestSkinObject::Shade(kFrame, 0));

  struct Case { const char* name; TSePanelButtonKind kind; bool rolled; const char* button; };
  // The skin has "ButtonRollup" and "Button" only: the others fall back to "Button".
  const Case cases[] = {{"rolled", pbkRoll, true, "Button 0"}, {"hide", pbkHide, false, "Button 0"},
                        {"unrolled", pbkRoll, false, "ButtonRollup 0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel->SetButtonKind(c.kind);
    panel->SetRolled(c.rolled);
    EXPECT_EQ(DrawnBy(*panel).back(), c.button);
  }

  // A skin without the object leaves the panel to its own look and its own caption height.
  panel->SetSkinObject("Gauge");
  panel->SetSkinEngine(engine);
  EXPECT_FALSE(panel->SkinAvailable());
  EXPECT_EQ(panel->CaptionHeight(), 20);
  EXPECT_EQ(DrawnBy(*panel), Log{});
}

TEST_F(SkinnedControlsTest, StatusBarDrawsFramePanelsAndGrip) {
  auto* bar = Place<TSeSkinStatusBar>(0, 0, 200, 22);
  bar->SetAlign(alBottom);
  for (int width : {60, 60}) bar->Panels()->Add()->SetWidth(width);
  bar->SetSkinEngine(engine);
  form->Show();
  Pump();
  ASSERT_TRUE(bar->SizeGripShown());
  // The frame goes down once under the whole bar, then each panel and the grip over it.
  EXPECT_EQ(DrawnBy(*bar), (Log{"Frame 0", "Panel 0", "Panel 0", "Gripper 0"}));
  const TRect first = bar->GetPanelRect(0);
  EXPECT_EQ(At(*m_last, first.Left + 2, first.Top + 2), TTestSkinObject::Shade(kPanel, 0));
  EXPECT_EQ(At(*m_last, 150, 10), TTestSkinObject::Shade(kFrame, 0));
}

TEST_F(SkinnedControlsTest, ScrollBarTakesItsSizesAndStatesFromTheSkin) {
  auto* bar = Place<TSeSkinScrollBar>(10, 10, 121, 16);
  EXPECT_EQ(bar->BorderWidth(), 0);
  bar->SetSkinEngine(engine);
  EXPECT_EQ(bar->Height(), 12);  // "HorzFrame"
  EXPECT_EQ(bar->GetButtonSize(), 10);  // "LeftButton"
  form->Show();
  Pump();

  enum Action { Nothing, Move, Press, Release };
  struct Step { const char* name; Action action; TPoint at; int button, thumb; };
  const TPoint onButton{3, 6}, onThumb{12, 6}, offWindow{590, 440};
  const Step steps[] = {
      {"normal", Nothing, {}, 0, 0},
      {"hot button", Move, onButton, 5, 0},
      {"pressed button", Press, onButton, 6, 0},
      {"released", Release, onButton, 5, 0},
      {"hot thumb", Move, onThumb, 0, 5},
      {"dragged thumb", Press, onThumb, 0, 6},
      {"released over it", Release, onThumb, 0, 5},
      {"off the window", Move, offWindow, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    const TPoint p = bar->ClientToScreen(s.at);
    switch (s.action) {
      case Nothing: break;
      case Move: m_screen->MouseMove(p); break;
      case Press: m_screen->MouseDown(p); break;
      case Release: m_screen->MouseUp(p); break;
    }
    Pump();
    // Two passes: each piece is drawn twice.
    const std::string b = "LeftButton " + std::to_string(s.button), t = "Slider " + std::to_string(s.thumb);
    EXPECT_EQ(DrawnBy(*form), (Log{"HorzFrame 0", b, "RightButton 0", t, "HorzFrame 0", b, "RightButton 0", t}));
  }
  bar->SetEnabled(false);
  Pump();
  // Disabled: no thumb at all, the buttons disabled.
  EXPECT_EQ(DrawnBy(*form), (Log{"HorzFrame 0", "LeftButton 8", "RightButton 8", "HorzFrame 0", "LeftButton 8",
                                 "RightButton 8"}));

  // Vertical: the width of "VertFrame", else "Frame".
  auto* vertical = Place<TSeSkinScrollBar>(200, 10, 16, 100);
  vertical->SetKind(sbVertical);
  vertical->SetSkinEngine(engine);
  EXPECT_EQ(vertical->Width(), 14);
}

// The main window's arrangement: a see-through check box on a see-through unbuffered panel on a
// skinned form. Both skins draw only outlines; inside them the form's striped skin shows through
// both controls, pixel for pixel.
TEST_F(SkinnedControlsTest, SeeThroughControlsShowTheFormsSkinThroughBoth) {
  constexpr COLORREF kEven = RGB(1, 2, 3), kOdd = RGB(250, 240, 230);
  auto* skinned = new TSkinnedWindowStandIn(form);
  skinned->background = [&](TMessage& m) {
    HDC dc = HdcFromWParam(m.WParam);
    HBRUSH even = CreateSolidBrush(kEven), odd = CreateSolidBrush(kOdd);
    FillRect(dc, {0, 0, 300, 200}, even);
    for (int x = 1; x < 300; x += 2) FillRect(dc, {x, 0, x + 1, 200}, odd);
    DeleteObject(even);
    DeleteObject(odd);
    return true;
  };
  for (auto& o : engine->source.objects)
    for (const char* name : {"Frame", "Unchecked"})
      if (auto* part = static_cast<TTestSkinObject*>(o->FindObject(name))) part->hollow = true;
  auto* panel = Place<TSeSkinPanel>(20, 10, 200, 100);
  panel->SetShowCaption(false);
  panel->SetPerformance(kspNoBuffer);
  panel->SetSkinEngine(engine);
  ASSERT_TRUE(panel->Transparent());
  auto* box = new TSeSkinCheckBox(form);
  box->SetParent(panel);
  box->SetBounds(30, 20, 98, 20);
  box->SetCaption("");
  box->SetSkinEngine(engine);
  auto b = Painted(*box);
  // The glyph's outline at (0, 4, 11, 15) in the box; everything else is the form's stripes.
  const TPoint origin{20 + 30, 10 + 20};
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 98; ++x) {
      const bool outline = (x == 0 || x == 10) ? (y >= 4 && y < 15) : (x < 11 && (y == 4 || y == 14));
      const COLORREF expected = outline ? TTestSkinObject::Shade(kGlyph, 0) : ((origin.X + x) % 2 ? kOdd : kEven);
      ASSERT_EQ(At(*b, x, y), expected) << x << "," << y;
    }
}

// The engine freed under live controls, or a skin lacking the named object: every control draws
// exactly what its custom class draws.
TEST_F(SkinnedControlsTest, BadInputLeavesTheOwnLook) {
  form->Show();
  Pump();
  struct Pair { TWinControl* skinned; TWinControl* plain; };
  auto* box = Place<TSeSkinCheckBox>(10, 10, 98, 20);
  auto* plainBox = Place<TSeCustomCheckBox>(10, 40, 98, 20);
  auto* button = Place<TSeSkinButton>(120, 10, 46, 16);
  auto* plainButton = Place<TSeCustomButton>(120, 40, 46, 16);
  auto* panel = Place<TSeSkinPanel>(10, 70, 80, 50);
  auto* plainPanel = Place<TSeCustomPanel>(100, 70, 80, 50);
  auto* bar = Place<TSeSkinStatusBar>(10, 130, 120, 22);
  auto* plainBar = Place<TSeCustomStatusBar>(10, 160, 120, 22);
  for (TSeCustomStatusBar* b : {static_cast<TSeCustomStatusBar*>(bar), plainBar}) b->Panels()->Add()->SetWidth(50);
  button->SetCaption("Go");
  plainButton->SetCaption("Go");
  const Pair pairs[] = {{box, plainBox}, {button, plainButton}, {panel, plainPanel}, {bar, plainBar}};
  auto sameLook = [&](const char* when) {
    SCOPED_TRACE(when);
    for (const Pair& p : pairs) {
      auto a = Painted(*p.skinned), b = Painted(*p.plain);
      for (int y = 0; y < a->Height(); ++y)
        for (int x = 0; x < a->Width(); ++x)
          if (a->Pixel(x, y) != b->Pixel(x, y)) {
            ADD_FAILURE() << p.skinned->ClassName() << " differs at " << x << "," << y;
            return;
          }
    }
  };

  box->SetSkinObject("Missing");
  box->SetSkinEngine(engine);
  button->SetSkinObject("Missing");
  button->SetSkinEngine(engine);
  panel->SetSkinObject("Missing");
  panel->SetSkinEngine(engine);
  bar->SetSkinObject("Missing");
  bar->SetSkinEngine(engine);
  sameLook("the skin lacks the object");

  box->SetSkinObject("CheckBox");
  box->SetSkinEngine(engine);
  button->SetSkinObject("Button");
  button->SetSkinEngine(engine);
  panel->SetSkinObject("Panel");
  panel->SetSkinEngine(engine);
  bar->SetSkinObject("StatusBar");
  bar->SetSkinEngine(engine);
  ASSERT_TRUE(box->SkinAvailable() && button->SkinAvailable() && panel->SkinAvailable() && bar->SkinAvailable());
  // What the skin set is the skinned controls' own now: match it on the plain twins.
  plainButton->SetTransparent(button->Transparent());
  plainPanel->SetTransparent(panel->Transparent());
  plainBox->Font()->Assign(*box->Font());
  delete engine;
  engine = nullptr;
  EXPECT_EQ(panel->CaptionHeight(), 20);
  log.clear();
  sameLook("the engine freed");
  EXPECT_EQ(log, Log{});

  // A scroll bar whose engine goes draws its own look, border and all.
  auto* scroll = Place<TSeSkinScrollBar>(10, 10, 121, 16);
  auto* second = new TTestSkinEngine(form);
  second->source.Add("ScrollBar", kFrame, &log).Add("HorzFrame", kFrame, {0, 12});
  scroll->SetSkinEngine(second);
  delete second;
  EXPECT_FALSE(scroll->SkinAvailable());
  log.clear();
  Painted(*form);
  EXPECT_EQ(log, Log{});
}

}  // namespace
}  // namespace vandrel::test
