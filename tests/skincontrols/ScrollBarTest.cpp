// The custom scroll bar: geometry as a table, value setters, scroll steps, dragging, auto-repeat
// at the keyboard's delay and speed under a manual clock, hot parts ending on mouse leave, handlers
// that free the scroll bar, and its own look.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Timer.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/Settings.h"
#include "platform/win/VirtualKeys.h"
#include "skincontrols/ScrollBar.h"

namespace vandrel::test {
namespace {

using Log = std::vector<std::pair<TSeScrollCode, int>>;

class ScrollBarTest : public SkinControlsTest {
 protected:
  void TearDown() override {
    // The keyboard settings are process-wide: leave their defaults for the next test.
    SystemParametersInfo(SPI_SETKEYBOARDDELAY, 1, nullptr);
    SystemParametersInfo(SPI_SETKEYBOARDSPEED, 31, nullptr);
    SkinControlsTest::TearDown();
  }

  // A 121 x 16 horizontal scroll bar at (10, 10) on a shown form; every OnScroll goes to m_log.
  TSeCustomScrollBar* NewBar(TForm*& form) {
    form = NewForm();
    auto* bar = new TSeCustomScrollBar(form);
    bar->SetParent(form);
    bar->SetBounds(10, 10, 121, 16);
    bar->OnScroll = [this](TPersistent*, TSeScrollCode code, int& position) { m_log.emplace_back(code, position); };
    form->Show();
    Pump();
    return bar;
  }

  void Press(TControl& c, TPoint p) { m_screen->MouseMove(c.ClientToScreen(p)); m_screen->MouseDown(c.ClientToScreen(p)); Pump(); }
  void Move(TControl& c, TPoint p) { m_screen->MouseMove(c.ClientToScreen(p)); Pump(); }
  void Release(TControl& c, TPoint p) { m_screen->MouseUp(c.ClientToScreen(p)); Pump(); }
  void Wait(DWORD ms) { TTickClock::Advance(ms); Pump(); }

  Log m_log;
};

TEST_F(ScrollBarTest, DefaultsAndConstruction) {
  TSeCustomScrollBar bar(nullptr);
  EXPECT_EQ(bar.BoundsRect(), Bounds(0, 0, 121, GetSystemMetrics(SM_CYVTHUMB)));
  EXPECT_EQ(bar.Performance(), kspDoubleBuffer);
  EXPECT_TRUE(bar.ControlStyle().Contains(csCaptureMouse));
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.BorderWidth(), 1);
  EXPECT_TRUE(bar.ShowButtons());
  EXPECT_EQ(bar.RepeatTimer(), nullptr);  // made on the first press that repeats
  bar.SetLargeChange(0);
  bar.SetSmallChange(40000);
  EXPECT_EQ(bar.LargeChange(), 1);
  EXPECT_EQ(bar.SmallChange(), 32767);
}

// B, the platform's thumb metric, is 16. Thumb starts round halves to even (35.5 -> 36).
TEST_F(ScrollBarTest, GeometryTable) {
  struct Case {
    const char* name;
    TScrollBarKind kind;
    int w, h, border;
    bool buttons;
    int min, max, page, position;
    int buttonSize, thumbLength;
    TRect first, second, track, thumb, before, after;
  };
  const Case cases[] = {
      {"no page, at the start", sbHorizontal, 121, 16, 1, true, 0, 100, 0, 0, 16, 16,
       {1, 1, 17, 15}, {104, 1, 120, 15}, {17, 1, 104, 15}, {17, 1, 33, 15}, {17, 1, 17, 15}, {33, 1, 104, 15}},
      {"no page, half way: 50 x 71 / 100 = 35.5 -> 36", sbHorizontal, 121, 16, 1, true, 0, 100, 0, 50, 16, 16,
       {1, 1, 17, 15}, {104, 1, 120, 15}, {17, 1, 104, 15}, {53, 1, 69, 15}, {17, 1, 53, 15}, {69, 1, 104, 15}},
      {"no page, at the end", sbHorizontal, 121, 16, 1, true, 0, 100, 0, 100, 16, 16,
       {1, 1, 17, 15}, {104, 1, 120, 15}, {17, 1, 104, 15}, {88, 1, 104, 15}, {17, 1, 88, 15}, {104, 1, 104, 15}},
      {"page 10 of 100 on a 100-pixel track", sbHorizontal, 100, 16, 0, false, 0, 99, 10, 0, 16, 10,
       {0, 0, 16, 16}, {84, 0, 100, 16}, {0, 0, 100, 16}, {0, 0, 10, 16}, {0, 0, 0, 16}, {10, 0, 100, 16}},
      {"a small page keeps (B div 3) x 2", sbHorizontal, 100, 16, 0, false, 0, 99, 5, 0, 16, 10,
       {0, 0, 16, 16}, {84, 0, 100, 16}, {0, 0, 100, 16}, {0, 0, 10, 16}, {0, 0, 0, 16}, {10, 0, 100, 16}},
      {"page 20: position 45 of span 80", sbHorizontal, 100, 16, 0, false, 0, 99, 20, 45, 16, 20,
       {0, 0, 16, 16}, {84, 0, 100, 16}, {0, 0, 100, 16}, {45, 0, 65, 16}, {0, 0, 45, 16}, {65, 0, 100, 16}},
      {"page 20: past Max - PageSize + 1 sits at the end", sbHorizontal, 100, 16, 0, false, 0, 99, 20, 85, 16, 20,
       {0, 0, 16, 16}, {84, 0, 100, 16}, {0, 0, 100, 16}, {80, 0, 100, 16}, {0, 0, 80, 16}, {100, 0, 100, 16}},
      {"vertical", sbVertical, 16, 121, 1, true, 0, 100, 0, 50, 16, 16,
       {1, 1, 15, 17}, {1, 104, 15, 120}, {1, 17, 15, 104}, {1, 53, 15, 69}, {1, 17, 15, 53}, {1, 69, 15, 104}},
      {"shorter than two buttons: half each, no thumb", sbVertical, 16, 30, 1, true, 0, 100, 0, 50, 14, 0,
       {1, 1, 15, 15}, {1, 15, 15, 29}, {1, 15, 15, 15}, {1, 15, 15, 15}, {1, 15, 15, 15}, {1, 15, 15, 15}},
      {"a thumb as long as the track is none", sbHorizontal, 50, 16, 1, true, 0, 100, 0, 0, 16, 0,
       {1, 1, 17, 15}, {33, 1, 49, 15}, {17, 1, 33, 15}, {17, 1, 17, 15}, {17, 1, 17, 15}, {17, 1, 33, 15}},
      {"everything in one page", sbHorizontal, 121, 16, 1, true, 0, 9, 10, 5, 16, 0,
       {1, 1, 17, 15}, {104, 1, 120, 15}, {17, 1, 104, 15}, {17, 1, 17, 15}, {17, 1, 17, 15}, {17, 1, 104, 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSeCustomScrollBar bar(nullptr);
    bar.SetKind(c.kind);
    bar.SetBounds(0, 0, c.w, c.h);
    bar.SetBorderWidth(c.border);
    bar.SetShowButtons(c.buttons);
    bar.SetMax(c.max);
    bar.SetMin(c.min);
    bar.SetPageSize(c.page);
    bar.SetPosition(c.position);
    EXPECT_EQ(bar.GetButtonSize(), c.buttonSize);
    EXPECT_EQ(bar.GetThumbLength(), c.thumbLength);
    EXPECT_EQ(bar.GetFirstButtonRect(), c.first);
    EXPECT_EQ(bar.GetSecondButtonRect(), c.second);
    EXPECT_EQ(bar.GetTrackRect(), c.track);
    EXPECT_EQ(bar.GetThumbRect(), c.thumb);
    EXPECT_EQ(bar.GetTrackBeforeRect(), c.before);
    EXPECT_EQ(bar.GetTrackAfterRect(), c.after);
    // The hit tests exclude the right and bottom edges.
    const TRect t = c.thumb;
    EXPECT_EQ(bar.InThumb({t.Left, t.Top}), c.thumbLength > 0);
    EXPECT_FALSE(bar.InThumb({t.Right, t.Top}));
    EXPECT_TRUE(bar.InFirstButton({c.first.Right - 1, c.first.Bottom - 1}));
    EXPECT_FALSE(bar.InFirstButton({c.first.Right, c.first.Top}));
  }
}

TEST_F(ScrollBarTest, PositionFromPixel) {
  struct Case { int w, border, page, pixel, position; };
  const Case cases[] = {
      {121, 1, 0, 17, 0},     // the track's start
      {121, 1, 0, 52, 49},    // 35 x 100 / 71 = 49.3
      {121, 1, 0, 88, 100},   // the thumb's last place
      {121, 1, 0, 5, 0},      // before the track: raised to Min
      {100, 0, 20, 40, 40},   // span 80 over 80 free pixels
      {100, 0, 20, 95, 80},   // lowered to Max - PageSize + 1
      {30, 1, 0, 20, 0},      // buttons take it all: no free pixels
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pixel);
    TSeCustomScrollBar bar(nullptr);
    bar.SetBounds(0, 0, c.w, 16);
    bar.SetBorderWidth(c.border);
    bar.SetShowButtons(c.border != 0);
    bar.SetMax(c.page ? 99 : 100);
    bar.SetPageSize(c.page);
    EXPECT_EQ(bar.PositionFromPixel(c.pixel), c.position);
  }
}

TEST_F(ScrollBarTest, ValueSettersClampAndFireOnChangeOnce) {
  TSeCustomScrollBar bar(nullptr);
  int changes = 0;
  bar.OnChange = [&](TPersistent*) { ++changes; };
  struct Step { const char* name; void (*apply)(TSeCustomScrollBar&); int min, max, page, position, changes; };
  const Step steps[] = {
      {"position above Max is clamped", [](TSeCustomScrollBar& b) { b.SetPosition(150); }, 0, 100, 0, 100, 1},
      {"the same position again", [](TSeCustomScrollBar& b) { b.SetPosition(100); }, 0, 100, 0, 100, 1},
      {"Max below Position moves it once", [](TSeCustomScrollBar& b) { b.SetMax(60); }, 0, 60, 0, 60, 2},
      {"a page larger than the range", [](TSeCustomScrollBar& b) { b.SetPageSize(80); }, 0, 60, 61, 60, 2},
      {"a negative page is ignored", [](TSeCustomScrollBar& b) { b.SetPageSize(-5); }, 0, 60, 61, 60, 2},
      {"Max shrinks the page", [](TSeCustomScrollBar& b) { b.SetMax(40); }, 0, 40, 41, 40, 3},
      {"Min above Max stops at Max", [](TSeCustomScrollBar& b) { b.SetMin(70); }, 40, 40, 1, 40, 3},
      {"Max below Min stops at Min", [](TSeCustomScrollBar& b) { b.SetMax(10); }, 40, 40, 1, 40, 3},
      {"Min lowered keeps the position", [](TSeCustomScrollBar& b) { b.SetMin(0); }, 0, 40, 1, 40, 3},
      {"position below Min is clamped", [](TSeCustomScrollBar& b) { b.SetPosition(-3); }, 0, 40, 1, 0, 4},
      {"Min raised above the position moves it", [](TSeCustomScrollBar& b) { b.SetMin(5); }, 5, 40, 1, 5, 5},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.apply(bar);
    EXPECT_EQ(bar.Min(), s.min);
    EXPECT_EQ(bar.Max(), s.max);
    EXPECT_EQ(bar.PageSize(), s.page);
    EXPECT_EQ(bar.Position(), s.position);
    EXPECT_EQ(changes, s.changes);
  }
}

TEST_F(ScrollBarTest, ScrollStepsByKeyThroughOnScroll) {
  struct Case { WORD key; int page, start, position; TSeScrollCode code; };
  const Case cases[] = {
      {VK_PRIOR, 0, 50, 43, kscPageUp},     // LargeChange 7 without a page
      {VK_PRIOR, 20, 50, 30, kscPageUp},
      {VK_NEXT, 20, 50, 70, kscPageDown},
      {VK_NEXT, 20, 95, 100, kscPageDown},  // clamped before the handler sees it
      {VK_END, 0, 50, 100, kscBottom},
      {VK_HOME, 0, 50, 0, kscTop},
      {VK_RIGHT, 0, 50, 53, kscLineDown},   // SmallChange 3
      {VK_DOWN, 0, 50, 53, kscLineDown},
      {VK_LEFT, 0, 1, 0, kscLineUp},
      {VK_UP, 0, 50, 47, kscLineUp},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    TSeCustomScrollBar bar(nullptr);
    bar.SetLargeChange(7);
    bar.SetSmallChange(3);
    bar.SetPageSize(c.page);
    bar.SetPosition(c.start);
    Log log;
    bar.OnScroll = [&](TPersistent*, TSeScrollCode code, int& position) { log.emplace_back(code, position); };
    bar.ScrollStep(c.key);
    EXPECT_EQ(log, (Log{{c.code, c.position}}));
    EXPECT_EQ(bar.Position(), c.position);
  }
  TSeCustomScrollBar bar(nullptr);
  bar.OnScroll = [](TPersistent*, TSeScrollCode, int& position) { position = 77; };
  bar.ScrollStep(VK_SPACE);
  EXPECT_EQ(bar.Position(), 0);  // other keys do nothing
  bar.ScrollStep(VK_RIGHT);
  EXPECT_EQ(bar.Position(), 77);  // the handler has the last word
}

TEST_F(ScrollBarTest, DraggingTheThumbFromItsFirstPixel) {
  TForm* form = nullptr;
  TSeCustomScrollBar* bar = NewBar(form);
  Press(*bar, {17, 8});  // the thumb's very first pixel
  EXPECT_TRUE(bar->Dragging());
  Move(*bar, {52, 8});
  EXPECT_EQ(bar->Position(), 49);
  Move(*bar, {52, 100});  // off the bar across the axis: still dragging
  Move(*bar, {400, 8});   // far past the end: held within the track
  EXPECT_EQ(bar->Position(), 100);
  Release(*bar, {400, 8});
  EXPECT_FALSE(bar->Dragging());
  EXPECT_EQ(m_log, (Log{{kscTrack, 0}, {kscTrack, 49}, {kscTrack, 49}, {kscTrack, 100}, {kscPosition, 100},
                        {kscEndScroll, 100}}));

  // A handler that changes the position while dragging is obeyed.
  bar->SetPosition(0);
  bar->OnScroll = [](TPersistent*, TSeScrollCode code, int& position) {
    if (code == kscTrack) position = position / 10 * 10;
  };
  Press(*bar, {20, 8});
  Move(*bar, {55, 8});  // pixel 52: 49, rounded down by the handler
  EXPECT_EQ(bar->Position(), 40);
  Release(*bar, {55, 8});
}

TEST_F(ScrollBarTest, AutoRepeatFollowsKeyboardDelayAndSpeed) {
  struct Case { int delay, speed; DWORD first, next; };
  // 200 + 200 x delay; 1000 / ((speed + 1) x 2.3), to the nearest integer.
  const Case cases[] = {{1, 31, 400, 14}, {0, 0, 200, 435}, {3, 15, 800, 27}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.delay);
    ASSERT_TRUE(SystemParametersInfo(SPI_SETKEYBOARDDELAY, UINT(c.delay), nullptr));
    ASSERT_TRUE(SystemParametersInfo(SPI_SETKEYBOARDSPEED, UINT(c.speed), nullptr));
    TForm* form = nullptr;
    TSeCustomScrollBar* bar = NewBar(form);
    Press(*bar, {110, 8});  // the second button: one step at once
    EXPECT_EQ(bar->Position(), 1);
    EXPECT_TRUE(bar->PartPressed(TSeCustomScrollBar::spSecondButton));
    Wait(c.first - 1);
    EXPECT_EQ(bar->Position(), 1);
    Wait(1);
    EXPECT_EQ(bar->Position(), 2);
    Wait(c.next - 1);
    EXPECT_EQ(bar->Position(), 2);
    Wait(1);
    EXPECT_EQ(bar->Position(), 3);
    // Off the button the repeat goes on but does not step; back on it, it steps again.
    Move(*bar, {60, 8});
    Wait(c.next);
    EXPECT_EQ(bar->Position(), 3);
    Move(*bar, {110, 8});
    Wait(c.next);
    EXPECT_EQ(bar->Position(), 4);
    Release(*bar, {110, 8});
    EXPECT_FALSE(bar->RepeatTimer()->Enabled());
    Wait(c.first + c.next);
    EXPECT_EQ(bar->Position(), 4);
    delete form;
    m_log.clear();
  }
}

TEST_F(ScrollBarTest, HoldingTheTrackPagesUntilTheThumbReachesThePointer) {
  TForm* form = nullptr;
  TSeCustomScrollBar* bar = NewBar(form);
  bar->SetLargeChange(10);
  Press(*bar, {80, 8});
  EXPECT_EQ(bar->Position(), 10);
  Wait(400);
  for (int i = 0; i < 10; ++i) Wait(14);
  // Position 70 puts the thumb on 67..83, over the pointer.
  EXPECT_EQ(bar->Position(), 70);
  EXPECT_TRUE(bar->InThumb({80, 8}));
  EXPECT_FALSE(bar->PartPressed(TSeCustomScrollBar::spTrackAfter));
  Release(*bar, {80, 8});
  Log expected;
  for (int p = 10; p <= 70; p += 10) expected.emplace_back(kscPageDown, p);
  expected.emplace_back(kscEndScroll, 70);
  EXPECT_EQ(m_log, expected);

  // Pressing the track before the thumb pages back.
  m_log.clear();
  Press(*bar, {20, 8});
  EXPECT_EQ(bar->Position(), 60);
  Release(*bar, {20, 8});
}

TEST_F(ScrollBarTest, AFailingStepStopsTheRepeat) {
  TForm* form = nullptr;
  TSeCustomScrollBar* bar = NewBar(form);
  std::vector<std::string> errors;
  m_app->OnException = [&](TPersistent*, const std::exception& e) { errors.push_back(e.what()); };
  Press(*bar, {110, 8});
  bar->OnScroll = [](TPersistent*, TSeScrollCode, int&) { throw std::runtime_error("step failed"); };
  Wait(400);
  EXPECT_EQ(errors, std::vector<std::string>{"step failed"});
  EXPECT_FALSE(bar->RepeatTimer()->Enabled());
  Wait(400);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(bar->Position(), 1);
}

TEST_F(ScrollBarTest, HotPartsEndWhenThePointerLeaves) {
  TForm* form = nullptr;
  TSeCustomScrollBar* bar = NewBar(form);
  struct Step { TPoint p; bool thumb, first, second, before, after; };
  const Step steps[] = {
      {{20, 8}, true, false, false, false, false},
      {{5, 8}, false, true, false, false, false},
      {{110, 8}, false, false, true, false, false},
      {{60, 8}, false, false, false, false, true},
  };
  for (const Step& s : steps) {
    Move(*bar, s.p);
    EXPECT_EQ(bar->ThumbHot(), s.thumb);
    EXPECT_EQ(bar->PartHot(TSeCustomScrollBar::spFirstButton), s.first);
    EXPECT_EQ(bar->PartHot(TSeCustomScrollBar::spSecondButton), s.second);
    EXPECT_EQ(bar->PartHot(TSeCustomScrollBar::spTrackBefore), s.before);
    EXPECT_EQ(bar->PartHot(TSeCustomScrollBar::spTrackAfter), s.after);
  }
  bar->SetShowButtons(false);
  Move(*bar, {5, 8});
  // Without buttons the thumb starts where the first button was.
  EXPECT_FALSE(bar->PartHot(TSeCustomScrollBar::spFirstButton));
  EXPECT_TRUE(bar->ThumbHot());
  m_screen->MouseMove({700, 500});  // straight off the window
  Pump();
  EXPECT_FALSE(bar->ThumbHot());
  EXPECT_FALSE(bar->IsHot());
}

TEST_F(ScrollBarTest, HandlersMayFreeTheScrollBar) {
  enum When { OnChangeInRepeat, OnScrollInDrag, OnScrollAtRelease };
  for (When when : {OnChangeInRepeat, OnScrollInDrag, OnScrollAtRelease}) {
    SCOPED_TRACE(int(when));
    TForm* form = nullptr;
    TSeCustomScrollBar* bar = NewBar(form);
    auto freeBar = [&bar] { delete std::exchange(bar, nullptr); };
    switch (when) {
      case OnChangeInRepeat:
        Press(*bar, {110, 8});
        bar->OnChange = [&](TPersistent*) { freeBar(); };
        Wait(400);
        break;
      case OnScrollInDrag:
        Press(*bar, {20, 8});
        bar->OnScroll = [&](TPersistent*, TSeScrollCode, int&) { freeBar(); };
        m_screen->MouseMove(form->ClientToScreen({60, 18}));
        Pump();
        break;
      case OnScrollAtRelease:
        Press(*bar, {20, 8});
        bar->OnScroll = [&](TPersistent*, TSeScrollCode code, int&) {
          if (code == kscPosition) freeBar();
        };
        m_screen->MouseUp(form->ClientToScreen({30, 18}));
        Pump();
        break;
    }
    EXPECT_EQ(bar, nullptr);
    Wait(1000);
    delete form;
  }
}

TEST_F(ScrollBarTest, OwnLookPieces) {
  TForm* form = nullptr;
  TSeCustomScrollBar* bar = NewBar(form);
  const TPoint o = bar->ClientToScreen({0, 0});
  auto at = [&](int x, int y) { return ColorFromPixel(m_screen->Capture()->Pixel(o.X + x, o.Y + y)); };
  const COLORREF face = ColorToRGB(clBtnFace), shadow = ColorToRGB(clBtnShadow),
                 light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(cl3DDkShadow);
  struct Probe { const char* name; int x, y; COLORREF color; };
  const std::vector<Probe> idle = {
      {"border top left", 0, 0, shadow}, {"border bottom right", 120, 15, light},
      {"thumb outer top", 25, 1, ColorToRGB(cl3DLight)}, {"thumb outer bottom", 25, 14, dark},
      {"thumb inner top", 25, 2, light}, {"thumb face", 25, 8, face},
      {"checker even", 40, 2, light}, {"checker odd", 41, 2, ColorToRGB(clScrollBar)},
  };
  for (const Probe& p : idle) EXPECT_EQ(at(p.x, p.y), p.color) << p.name;

  // Dragged: a flat thumb with a shadow frame.
  Press(*bar, {20, 8});
  EXPECT_EQ(at(25, 1), shadow);
  EXPECT_EQ(at(25, 2), face);
  Release(*bar, {20, 8});

  // The pressed track after the thumb goes dark, but only while the pointer is over it.
  bar->SetLargeChange(1);
  Press(*bar, {100, 8});
  EXPECT_EQ(at(100, 8), dark);
  EXPECT_EQ(at(20, 8), face);  // the track before the thumb is not pressed
  Move(*bar, {100, 40});
  EXPECT_NE(at(100, 8), dark);
  Release(*bar, {100, 40});

  // Disabled: no thumb, the track shows through.
  bar->SetPosition(0);
  bar->SetEnabled(false);
  Pump();
  EXPECT_EQ(at(26, 2), light);
  EXPECT_EQ(at(27, 2), ColorToRGB(clScrollBar));
}

}  // namespace
}  // namespace vandrel::test
