// Menu geometry as pure functions: stacking, the scrolled table, placement at monitor edges, and
// moving the hot item with its scroll position.
#include <gtest/gtest.h>

#include "skinform/MenuLayout.h"

namespace vandrel::test {
namespace {

std::vector<TSeMenuEntry> Entries(int count, TSize size = {80, 20}) {
  return std::vector<TSeMenuEntry>(size_t(count), TSeMenuEntry{size, true, false});
}

TEST(MenuLayoutTest, StacksVisibleItemsAtTheWidestWidth) {
  std::vector<TSeMenuEntry> e{{{60, 20}, true, false}, {{90, 15}, true, true}, {{200, 20}, false, false},
                              {{70, 20}, true, false}};
  TSeMenuLayout l = LayoutMenu(e, {3, 3}, true, false, 0, 0);
  // The invisible entry neither takes height nor widens the menu.
  EXPECT_EQ(l.Content, (TSize{90, 55}));
  EXPECT_EQ(l.ItemRects[0], (TRect{3, 3, 93, 23}));
  EXPECT_EQ(l.ItemRects[1], (TRect{3, 23, 93, 38}));
  EXPECT_TRUE(l.ItemRects[2].IsEmpty());
  EXPECT_EQ(l.ItemRects[3], (TRect{3, 38, 93, 58}));
  EXPECT_FALSE(l.Scrolling);
  // A menu bar lays the same entries out in a row.
  TSeMenuLayout bar = LayoutMenu(e, {0, 0}, false, true, 2, 0);
  EXPECT_FALSE(bar.Scrolling);
  EXPECT_EQ(bar.ItemRects[3], (TRect{150, 0, 220, 20}));
}

TEST(MenuLayoutTest, ScrolledTableShowsScrollCountItemsBetweenButtons) {
  struct {
    int position;
    int first, last;
  } cases[] = {{0, 0, 5}, {3, 3, 8}, {6, 6, 8}};
  for (const auto& c : cases) {
    TSeMenuLayout l = LayoutMenu(Entries(8), {3, 3}, true, true, 5, c.position);
    ASSERT_TRUE(l.Scrolling);
    EXPECT_EQ(l.First, c.first);
    EXPECT_EQ(l.Last, c.last);
    int shown = c.last - c.first;
    EXPECT_EQ(l.Content, (TSize{80, shown * 20 + 20}));
    EXPECT_EQ(l.ItemRects[size_t(c.first)], (TRect{3, 13, 83, 33})) << "starts below the up button";
    EXPECT_EQ(l.ScrollUp, (TRect{3, 3, 83, 13}));
    EXPECT_EQ(l.ScrollDown, (TRect{3, 3 + shown * 20 + 10, 83, 3 + shown * 20 + 20}));
  }
  // Scrolled without a count shows everything.
  EXPECT_FALSE(LayoutMenu(Entries(8), {0, 0}, true, true, 0, 0).Scrolling);
}

TEST(MenuLayoutTest, PlacementAtMonitorEdges) {
  const TRect monitor{0, 0, 800, 600};
  const TSize size{120, 200};
  struct {
    const char* what;
    TPoint anchor;
    std::optional<TRect> exclude;
    bool dropsDown;
    TPoint expected;
  } cases[] = {
      {"room to spare", {100, 100}, {}, false, {100, 100}},
      {"near the bottom-right corner: left of and above the point", {750, 550}, {}, false, {630, 350}},
      {"tall menu near the top of a short area stays on the monitor", {750, 150}, {}, false, {630, 150}},
      {"submenu to the right", {300, 100}, TRect{200, 100, 300, 120}, false, {300, 100}},
      {"submenu that does not fit to the right opens to the left", {780, 100}, TRect{680, 100, 780, 120}, false,
       {560, 100}},
      {"submenu past the bottom ends at the item's bottom", {300, 550}, TRect{200, 550, 300, 570}, false, {300, 370}},
      {"menu bar drops down", {10, 20}, TRect{10, 0, 60, 20}, true, {10, 20}},
      {"menu bar item at the right edge", {740, 20}, TRect{740, 0, 790, 20}, true, {670, 20}},
      {"menu bar near the bottom opens above", {10, 580}, TRect{10, 560, 60, 580}, true, {10, 360}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlacePopup(c.anchor, size, c.exclude, c.dropsDown, monitor), c.expected) << c.what;
  // A window taller than the monitor starts at its top rather than above it.
  EXPECT_EQ(PlacePopup({10, 500}, {100, 700}, std::nullopt, false, monitor), (TPoint{10, 0}));
  // A second monitor to the right: its own edges count.
  EXPECT_EQ(PlacePopup({1550, 100}, size, std::nullopt, false, {800, 0, 1600, 600}), (TPoint{1430, 100}));
}

TEST(MenuLayoutTest, StepSkipsSeparatorsAndInvisibleAndWraps) {
  std::vector<TSeMenuEntry> e = Entries(5);
  e[1].Separator = true;
  e[3].Visible = false;
  EXPECT_EQ(StepHotItem(e, 0, true), 2);
  EXPECT_EQ(StepHotItem(e, 2, true), 4);
  EXPECT_EQ(StepHotItem(e, 4, true), 0);
  EXPECT_EQ(StepHotItem(e, 0, false), 4);
  EXPECT_EQ(StepHotItem(e, -1, true), 0);
  EXPECT_EQ(StepHotItem(e, -1, false), 4);
  // Nothing else can become hot: the hot item stays; nothing at all: none.
  std::vector<TSeMenuEntry> lone{{{}, true, false}, {{}, true, true}};
  EXPECT_EQ(StepHotItem(lone, 0, true), 0);
  EXPECT_EQ(StepHotItem({{{}, true, true}}, -1, true), -1);
}

TEST(MenuLayoutTest, ScrollFollowsTheHotItem) {
  // Five shown of eight: Down on the fifth shown item scrolls by one; wrapping to the first item
  // scrolls to the top, to the last scrolls to the end.
  EXPECT_EQ(ScrollToShow(5, 0, 5, 8), 1);
  EXPECT_EQ(ScrollToShow(0, 3, 5, 8), 0);
  EXPECT_EQ(ScrollToShow(7, 0, 5, 8), 3);
  EXPECT_EQ(ScrollToShow(2, 1, 5, 8), 1);
}

}  // namespace
}  // namespace vandrel::test
