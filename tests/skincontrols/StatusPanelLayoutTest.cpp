// The status bar's panel layout without painting: the main window's bar, hiding by view priority,
// sharing spare width by stretch priority past MaxWidth, the last stretching panel reaching the
// right edge, and hit-testing.
#include <gtest/gtest.h>

#include <vector>

#include "skincontrols/StatusPanelLayout.h"

namespace vandrel::test {
namespace {

TStatusPanelLayout Panel(int width, int view = 100, int stretch = 0, int maxWidth = 10000) {
  TStatusPanelLayout p;
  p.Width = width;
  p.ViewPriority = view;
  p.StretchPriority = stretch;
  p.MaxWidth = maxWidth;
  return p;
}

std::vector<TRect> Spans(const std::vector<TStatusPanelLayout>& panels) {
  std::vector<TRect> out;
  for (auto& p : panels) out.push_back({p.Left, p.Shown ? 1 : 0, p.Right, 0});
  return out;
}

TEST(StatusPanelLayoutTest, LayoutCases) {
  struct Case {
    const char* what;
    std::vector<TStatusPanelLayout> panels;
    TRect content;
    std::vector<TRect> spans;  // left, shown, right
  };
  const std::vector<Case> cases = {
      {"main window: nothing hidden or stretched, the last panel reaches past the content",
       {Panel(200), Panel(80), Panel(50), Panel(50)}, {2, 2, 372, 20},
       {{2, 1, 202, 0}, {202, 1, 282, 0}, {282, 1, 332, 0}, {332, 1, 382, 0}}},
      {"the lower view priority is hidden; positions still advance past it",
       {Panel(200, 50), Panel(80, 100)}, {0, 0, 250, 20},
       {{0, 0, 0, 0}, {200, 1, 280, 0}}},
      {"one panel always remains",
       {Panel(400, 50)}, {0, 0, 250, 20},
       {{0, 1, 400, 0}}},
      {"view priority 0 never shows",
       {Panel(30, 0), Panel(30)}, {0, 0, 250, 20},
       {{0, 0, 0, 0}, {0, 1, 30, 0}}},
      {"spare width beyond MaxWidth passes on",
       {Panel(50, 100, 30), Panel(50, 100, 60, 90), Panel(100)}, {0, 0, 300, 20},
       {{0, 1, 110, 0}, {110, 1, 200, 0}, {200, 1, 300, 0}}},
      {"the last stretching panel reaches the right edge",
       {Panel(50), Panel(50, 100, 10, 60)}, {3, 0, 203, 20},
       {{3, 1, 53, 0}, {53, 1, 203, 0}}},
      {"a panel starting beyond the bar is hidden",
       {Panel(200), Panel(100), Panel(20)}, {0, 0, 300, 20},
       {{0, 1, 200, 0}, {200, 1, 300, 0}, {300, 0, 300, 0}}},
  };
  for (auto c : cases) {
    LayoutStatusPanels(c.panels, c.content);
    EXPECT_EQ(Spans(c.panels), c.spans) << c.what;
  }
}

TEST(StatusPanelLayoutTest, HiddenPanelsKeepTheirLastWorkWidth) {
  std::vector<TStatusPanelLayout> panels{Panel(50, 100, 10), Panel(40)};
  LayoutStatusPanels(panels, {0, 0, 200, 20});
  EXPECT_EQ(panels[0].WorkWidth, 160);
  panels[0].ViewPriority = 0;
  LayoutStatusPanels(panels, {0, 0, 200, 20});
  EXPECT_FALSE(panels[0].Shown);
  EXPECT_EQ(panels[0].WorkWidth, 160);
  EXPECT_EQ(panels[1].Left, 160);  // the hidden panel's slot stays empty
}

TEST(StatusPanelLayoutTest, PanelAtWalksTheEffectiveWidths) {
  std::vector<TStatusPanelLayout> panels{Panel(200, 50), Panel(80)};
  const TRect content{2, 2, 252, 20};
  LayoutStatusPanels(panels, content);
  struct Case { TPoint p; int hit; };
  const Case cases[] = {
      {{2, 10}, -1},     // exactly at the left edge
      {{3, 10}, 0},      // the hidden panel still takes its place
      {{202, 10}, 0},
      {{203, 10}, 1},
      {{282, 10}, 1},
      {{283, 10}, -1},   // beyond all panels
      {{100, 20}, 0},    // bottom edge included
      {{100, 21}, -1},
      {{1, 10}, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(StatusPanelAt(panels, content, c.p), c.hit) << c.p.X << "," << c.p.Y;
  EXPECT_EQ(StatusPanelAt({}, content, {10, 10}), -1);
}

}  // namespace
}  // namespace vandrel::test
