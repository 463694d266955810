// Press, hover and click tracking, once for every push part, with each control's own rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/PressTracker.h"

namespace vandrel::test {
namespace {

// One event: 'd' press, 'm' move without a button, 'h' move with the button held, 'u' release,
// 'l' leave; then the looks and whether the release clicked.
struct TStep {
  char event;
  TPoint p;
  bool pressed, hot, click;
};

struct TRulesCase {
  const char* name;
  TPressRules rules;
  std::vector<TStep> steps;
};

TEST(PressTrackerTest, EachControlKeepsItsOwnRules) {
  const TRect area{0, 0, 10, 10};
  const TPressRules button{}, checkBox{false, false, true}, panelButton{true, true, false};
  const std::vector<TRulesCase> cases = {
      {"button: the pressed look follows the pointer",
       button,
       {{'d', {5, 5}, true, false, false}, {'h', {15, 5}, false, false, false}, {'h', {5, 5}, true, true, false},
        {'u', {5, 5}, false, true, true}}},
      {"button: a release outside clicks nothing", button, {{'d', {5, 5}, true, false, false}, {'u', {15, 5}, false, false, false}}},
      {"check box: pressed until release, wherever the pointer goes",
       checkBox,
       {{'d', {5, 5}, true, false, false}, {'h', {15, 5}, true, false, false}, {'u', {15, 5}, false, false, false}}},
      {"check box: the right and bottom edges are on it",
       checkBox,
       {{'d', {5, 5}, true, false, false}, {'u', {10, 10}, false, false, true}}},
      {"scroll bar part: the right edge is not on it",
       button,
       {{'d', {10, 5}, false, false, false}, {'d', {9, 9}, true, false, false}, {'u', {10, 9}, false, false, false}}},
      {"scroll bar part: nor the bottom edge", button, {{'d', {9, 9}, true, false, false}, {'u', {9, 10}, false, false, false}}},
      {"panel button: hot without a press, pressed by any held button",
       panelButton,
       {{'m', {5, 5}, false, true, false}, {'h', {15, 5}, false, false, false}, {'h', {5, 5}, true, true, false},
        {'u', {5, 5}, false, true, true}, {'l', {}, false, false, false}}},
      {"panel button: a press that left it clicks nothing",
       panelButton,
       {{'d', {5, 5}, true, false, false}, {'h', {15, 5}, false, false, false}, {'u', {15, 5}, false, false, false}}},
  };
  for (const TRulesCase& k : cases) {
    SCOPED_TRACE(k.name);
    TPressTracker t(k.rules);
    for (size_t i = 0; i < k.steps.size(); ++i) {
      const TStep& s = k.steps[i];
      bool click = false;
      switch (s.event) {
        case 'd': t.Press(area, s.p); break;
        case 'm': t.Move(area, s.p, false); break;
        case 'h': t.Move(area, s.p, true); break;
        case 'u': click = t.Release(area, s.p); break;
        case 'l': t.Leave(); break;
      }
      EXPECT_EQ(t.Pressed(), s.pressed) << "step " << i;
      EXPECT_EQ(t.Hot(), s.hot) << "step " << i;
      EXPECT_EQ(click, s.click) << "step " << i;
    }
  }
}

TEST(PressTrackerTest, TheKeyboardPressesWithoutTracking) {
  TPressTracker t;
  EXPECT_TRUE(t.PressKey());
  EXPECT_FALSE(t.PressKey());
  EXPECT_TRUE(t.Pressed());
  EXPECT_FALSE(t.Tracking());
  EXPECT_TRUE(t.ReleaseKey());
  EXPECT_FALSE(t.Pressed());
  t.Press({0, 0, 10, 10}, {1, 1});
  t.Cancel();
  EXPECT_FALSE(t.Pressed());
  EXPECT_FALSE(t.Tracking());
  EXPECT_FALSE(t.Release({0, 0, 10, 10}, {1, 1}));
}

}  // namespace
}  // namespace vandrel::test
