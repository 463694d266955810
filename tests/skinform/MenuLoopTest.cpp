// Real menus on the headless screen driven through the input path: keyboard and mouse in the menu
// loop, nested levels, placement, scrolling, the click after the windows are gone, and every way
// out giving the mouse capture back.
#include <gtest/gtest.h>

#include <utility>

#include "MenuTestSupport.h"
#include "framework/ComponentWatch.h"
#include "platform/win/VirtualKeys.h"
#include "skinform/PopupView.h"

namespace vandrel::test {
namespace {

// Screen rows of the items of the standard menu opened at (100, 100): the frame's client area
// starts 3 pixels in; items are 20 pixels high, the separator 15.
constexpr int kSeparatorY = 130, kMoreY = 168, kExitY = 188;

class MenuLoopTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    Add("&Open");
    Add("-");
    Add("Disabled")->SetEnabled(false);
    TSeCustomItem* more = Add("&More");
    Add("Sub1", more);
    Add("Sub2", more);
    Add("E&xit");
  }
  // After a menu has closed: nothing left open, grabbed or unused.
  void ExpectAllClosed() {
    EXPECT_TRUE(MenuWindows().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(TSeCustomPopupMenu::CurrentPopupMenu(), nullptr);
    EXPECT_TRUE(m_script.empty()) << "the menu closed before the script ended";
  }
  // The middle of item i of the open submenu (the menu window that does not hold the capture).
  TPoint SubmenuPoint(int i) {
    for (HWND w : MenuWindows())
      if (w != GetCapture()) return {WindowRect(w).Left + 30, WindowRect(w).Top + 3 + 20 * i + 10};
    ADD_FAILURE() << "no submenu";
    return {};
  }
};

TEST_F(MenuLoopTest, KeyboardPaths) {
  struct TCase {
    const char* what;
    std::vector<std::pair<int, char32_t>> keys;
    std::vector<std::string> clicks;
  } cases[] = {
      {"Down, Down, Escape runs nothing", {{VK_DOWN, 0}, {VK_DOWN, 0}, {VK_ESCAPE, 0}}, {}},
      {"Enter clicks the first item", {{VK_RETURN, 0}}, {"&Open"}},
      {"Enter on a disabled item leaves the menu open", {{VK_DOWN, 0}, {VK_RETURN, 0}, {VK_ESCAPE, 0}}, {}},
      {"Up wraps to the last item", {{VK_UP, 0}, {VK_RETURN, 0}}, {"E&xit"}},
      {"accelerator clicks", {{'X', 0}}, {"E&xit"}},
      {"accelerator opens a submenu", {{'M', 0}, {VK_RETURN, 0}}, {"Sub1"}},
      {"Enter opens a submenu, Down moves in it", {{VK_DOWN, 0}, {VK_DOWN, 0}, {VK_RETURN, 0}, {VK_DOWN, 0}, {VK_RETURN, 0}},
       {"Sub2"}},
      {"Escape closes one level at a time",
       {{VK_DOWN, 0}, {VK_DOWN, 0}, {VK_RETURN, 0}, {VK_ESCAPE, 0}, {VK_ESCAPE, 0}}, {}},
      {"Left closes a submenu of a popup", {{'M', 0}, {VK_LEFT, 0}, {VK_UP, 0}, {VK_UP, 0}, {VK_RETURN, 0}},
       {"&Open"}},
      {"Right in a top-level popup does nothing", {{VK_DOWN, 0}, {VK_DOWN, 0}, {VK_RIGHT, 0}, {VK_ESCAPE, 0}}, {}},
      {"Alt closes every level", {{'M', 0}, {VK_MENU, 0}}, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    m_clicks.clear();
    for (auto [vk, ch] : c.keys) Key(vk, ch);
    Open();
    EXPECT_TRUE(m_clicks.empty()) << "a click ran inside the menu";
    Pump();
    EXPECT_EQ(m_clicks, c.clicks);
    ExpectAllClosed();
  }
}

TEST_F(MenuLoopTest, ClickRunsAfterTheWindowsAreGone) {
  bool returned = false;
  std::vector<HWND> seen;
  m_menu->Items()->Items(0)->OnClick = [&](TPersistent*) {
    EXPECT_TRUE(returned);
    EXPECT_TRUE(MenuWindows().empty());
    for (HWND w : seen) EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(GetCapture(), nullptr);
    m_clicks.push_back("open");
  };
  Then([&] { seen = MenuWindows(); });
  Key(VK_RETURN);
  Open();
  returned = true;
  EXPECT_EQ(seen.size(), 1u);
  Pump();
  EXPECT_EQ(m_clicks, (std::vector<std::string>{"open"}));
  ExpectAllClosed();
}

TEST_F(MenuLoopTest, ItemFreedBeforeItsQueuedClickRunsIsNotClicked) {
  TSeCustomItem* open = m_menu->Items()->Items(0);
  Key(VK_RETURN);
  Open();
  delete open;
  Pump();
  EXPECT_TRUE(m_clicks.empty());
}

TEST_F(MenuLoopTest, MousePaths) {
  struct TCase {
    const char* what;
    std::vector<std::function<void()>> steps;
    std::vector<std::string> clicks;
  } cases[] = {
      {"click on an item", {[this] { ClickAt({130, kExitY}); }}, {"E&xit"}},
      {"click on the separator leaves the menu open", {[this] { ClickAt({130, kSeparatorY}); }, [this] { Key(VK_ESCAPE); }},
       {}},
      {"click on the desktop closes every level", {[this] { Key('M'); }, [this] { ClickAt({700, 500}); }}, {}},
      {"hovering an item with children and clicking in its submenu",
       {[this] { Move({130, kMoreY}); }, [this] { Key(VK_RETURN); },
        [this] { Then([this] { m_screen->Click(SubmenuPoint(1)); }); }},
       {"Sub2"}},
      {"moving onto another item of the parent level closes the open submenu",
       {[this] { Key('M'); }, [this] { Move({130, kExitY}); },
        [this] { Then([this] { EXPECT_EQ(MenuWindows().size(), 1u); }); }, [this] { Key(VK_RETURN); }},
       {"E&xit"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    m_clicks.clear();
    m_screen->MouseMove({10, 10});
    Pump();
    for (const auto& step : c.steps) step();
    Open();
    Pump();
    EXPECT_EQ(m_clicks, c.clicks);
    ExpectAllClosed();
  }
}

TEST_F(MenuLoopTest, PlacementNearTheBottomRightCornerAndSubmenuToTheLeft) {
  TRect menu, sub;
  Then([&] { menu = WindowRect(GetCapture()); });
  Key('M');
  Then([&] {
    for (HWND w : MenuWindows())
      if (w != GetCapture()) sub = WindowRect(w);
  });
  Key(VK_ESCAPE);
  Key(VK_ESCAPE);
  Open({790, 590});
  EXPECT_EQ(menu.Right, 790);
  EXPECT_EQ(menu.Bottom, 590);
  // The submenu does not fit right of its item, so it opens to its left.
  EXPECT_FALSE(sub.IsEmpty());
  EXPECT_EQ(sub.Right, menu.Left + 3);
  ExpectAllClosed();
}

TEST_F(MenuLoopTest, ScrolledTableFollowsTheHotItem) {
  TSeCustomItem* root = m_menu->Items();
  while (root->Count()) delete root->Items(0);
  for (int i = 0; i < 8; ++i) Add(std::to_string(i));
  root->SetScrolled(true);
  root->SetScrollCount(5);
  std::vector<std::pair<int, int>> seen;  // (scroll position, hot index) after each Down
  auto record = [&] {
    Then([&] {
      TSeItemView* view = ActiveMenuView();
      seen.push_back({root->ScrollPosition(), view ? root->IndexOf(view->HotItem()) : -2});
    });
  };
  for (int i = 0; i < 8; ++i) {
    Key(VK_DOWN);
    record();
  }
  Key(VK_RETURN);
  Open();
  Pump();
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 5}, {2, 6}, {3, 7}, {0, 0}}));
  EXPECT_EQ(m_clicks, (std::vector<std::string>{"0"}));
  ExpectAllClosed();
}

TEST_F(MenuLoopTest, RestingOnTheScrollButtonScrollsEvery100Milliseconds) {
  TSeCustomItem* root = m_menu->Items();
  while (root->Count()) delete root->Items(0);
  for (int i = 0; i < 8; ++i) Add(std::to_string(i));
  root->SetScrolled(true);
  root->SetScrollCount(5);
  // The up button at 103..113, five items of 20 pixels, the down button at 213..223.
  Move({130, 218});
  // Each tick moves the hot item down; the list scrolls once it passes the last shown item.
  std::vector<std::pair<int, int>> seen;  // (scroll position, hot index) after 4 and after 8 ticks
  for (int i = 0; i < 8; ++i) {
    Then([] { TTickClock::Advance(100); });
    if (i == 3 || i == 7)
      Then([&] { seen.push_back({root->ScrollPosition(), root->IndexOf(ActiveMenuView()->HotItem())}); });
  }
  Key(VK_ESCAPE);
  Open();
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 4}, {3, 7}}));
  ExpectAllClosed();
}

// Counts its paints, so a test can see which items a change repaints.
class TCountingItem : public TSeCustomItem {
 public:
  using TSeCustomItem::TSeCustomItem;
  int paints = 0;
  void DrawItem(TCanvas& canvas, const TSeItemView& view, bool notTracking, bool hot, const TRect& r) override {
    ++paints;
    TSeCustomItem::DrawItem(canvas, view, notTracking, hot, r);
  }
};

TEST_F(MenuLoopTest, HotItemChangesRepaintOnlyTheOldAndTheNewItemAndSetTheHint) {
  TSeCustomItem* root = m_menu->Items();
  while (root->Count()) delete root->Items(0);
  std::vector<TCountingItem*> items;
  for (int i = 0; i < 5; ++i) {
    auto* item = new TCountingItem(m_form);
    item->SetCaption("item " + std::to_string(i));
    item->SetHint("hint " + std::to_string(i));
    root->Add(item);
    items.push_back(item);
  }
  auto paints = [&] {
    std::vector<int> counts;
    for (TCountingItem* item : items) counts.push_back(std::exchange(item->paints, 0));
    return counts;
  };
  std::vector<std::vector<int>> seen;
  std::string hint;
  Then([&] { paints(); });  // the window's first paint
  Key(VK_DOWN);
  Then([&] {
    seen.push_back(paints());
    hint = m_app->Hint();
  });
  Move({130, 113 + 2 * 20 + 5});  // onto item 2
  Then([&] { seen.push_back(paints()); });
  Move({130, 113 + 2 * 20 + 5});  // the same point again: nothing
  Then([&] { seen.push_back(paints()); });
  Key(VK_ESCAPE);
  Open();
  EXPECT_EQ(seen, (std::vector<std::vector<int>>{{1, 1, 0, 0, 0}, {0, 1, 1, 0, 0}, {0, 0, 0, 0, 0}}));
  EXPECT_EQ(hint, "hint 1");
  ExpectAllClosed();
}

TEST_F(MenuLoopTest, LosingTheCaptureEndsTheLoopWithoutAClick) {
  Key('M');
  Then([&] { SetCapture(m_form->Handle()); });
  Open();
  Pump();
  EXPECT_TRUE(m_clicks.empty());
  EXPECT_TRUE(MenuWindows().empty());
  // The capture now belongs to someone else: the menu must not take it away on its way out.
  EXPECT_EQ(GetCapture(), m_form->Handle());
  ReleaseCapture();
  ExpectAllClosed();
}

TEST_F(MenuLoopTest, OpeningASecondMenuClosesTheFirst) {
  auto* second = new TSeCustomPopupMenu(m_form);
  auto* two = new TSeCustomItem(m_form);
  two->SetCaption("Two");
  two->OnClick = [&](TPersistent*) { m_clicks.push_back("Two"); };
  second->Items()->Add(two);
  Key('M');
  Then([&] {
    SetTimer(nullptr, 0, 5, [&](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      second->Popup(300, 300);
    });
    TTickClock::Advance(10);
  });
  std::size_t windowsInSecond = 0;
  Then([&] { windowsInSecond = MenuWindows().size(); });
  Key(VK_RETURN);
  Open();
  Pump();
  EXPECT_EQ(windowsInSecond, 1u) << "the first menu's levels are gone while the second is open";
  EXPECT_EQ(m_clicks, (std::vector<std::string>{"Two"}));
  ExpectAllClosed();
}

TEST_F(MenuLoopTest, AnExceptionInsideTheLoopClosesEveryLevelAndGivesTheCaptureBack) {
  TSeCustomItem* more = m_menu->Items()->Items(3);
  more->OnBeforeDropDown = [](TPersistent*) { throw Exception("drop-down failed"); };
  Key('M');
  EXPECT_THROW(Open(), Exception);
  ExpectAllClosed();
  // The menu still works afterwards.
  more->OnBeforeDropDown = nullptr;
  Key('M');
  Key(VK_RETURN);
  Open();
  Pump();
  EXPECT_EQ(m_clicks, (std::vector<std::string>{"Sub1"}));
}

TEST_F(MenuLoopTest, FreeingTheMenusOwnerInsideTheLoop) {
  auto* other = new TForm(m_app.get());
  other->SetBorderStyle(bsNone);
  auto* menu = new TSeCustomPopupMenu(other);
  auto* item = new TSeCustomItem(other);
  item->SetCaption("gone");
  menu->Items()->Add(item);
  auto* sub = new TSeCustomItem(other);
  item->Add(sub);
  TComponentWatch alive(*other);
  Key(VK_RETURN);  // opens the submenu: two nested loops run when the owner goes
  Then([&] {
    SetTimer(nullptr, 0, 5, [&](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      delete other;
    });
    TTickClock::Advance(10);
  });
  menu->Popup(100, 100);
  EXPECT_FALSE(alive);
  ExpectAllClosed();
}

}  // namespace
}  // namespace vandrel::test
