// The item tree without windows: inserting and removing, the change callbacks, clicks and their
// action, shortcuts found in the tree and accelerators.
#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/ComponentErrors.h"
#include "framework/ComponentWatch.h"
#include "platform/win/VirtualKeys.h"
#include "skinform/MenuItem.h"

namespace vandrel::test {
namespace {

class MenuItemTest : public ::testing::Test {
 protected:
  TSeCustomItem* Item(const std::string& caption, TSeCustomItem* parent = nullptr) {
    auto* item = new TSeCustomItem(m_owner.get());
    item->SetCaption(caption);
    if (parent) parent->Add(item);
    return item;
  }
  std::unique_ptr<TComponent> m_owner = std::make_unique<TComponent>(nullptr);
};

TEST_F(MenuItemTest, DoubleInsertRaisesAndLeavesTheTreeAsItWas) {
  TSeCustomItem* a = Item("a");
  TSeCustomItem* b = Item("b");
  TSeCustomItem* x = Item("x", a);
  try {
    b->Add(x);
    FAIL() << "no error";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "Toolbar item already inserted");
  }
  EXPECT_EQ(x->Parent(), a);
  EXPECT_EQ(a->Count(), 1);
  EXPECT_EQ(b->Count(), 0);
  // An item put under its own descendant would make a cycle that no walk of the tree ends.
  TSeCustomItem* y = Item("y", x);
  (void)y;
  a->Remove(x);
  EXPECT_THROW(y->Add(x), EComponentError);
  EXPECT_EQ(x->Parent(), nullptr);
}

TEST_F(MenuItemTest, InsertRemoveAndFreeKeepParentsRight) {
  TSeCustomItem* root = Item("root");
  TSeCustomItem* a = Item("a", root);
  TSeCustomItem* c = Item("c", root);
  TSeCustomItem* b = Item("b");
  root->Insert(1, b);
  ASSERT_EQ(root->Count(), 3);
  EXPECT_EQ(root->Items(1), b);
  root->Remove(b);
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_EQ(root->IndexOf(c), 1);
  TSeCustomItem* grandChild = Item("g", a);
  TComponentWatch watch(*grandChild);
  delete a;  // frees its children and leaves its parent
  EXPECT_FALSE(watch);
  EXPECT_EQ(root->Count(), 1);
  EXPECT_EQ(root->Items(0), c);
}

TEST_F(MenuItemTest, ChangesReachTheItemAndThenTheRoot) {
  TSeCustomItem* root = Item("root");
  TSeCustomItem* child = Item("child", root);
  std::vector<std::string> calls;
  root->OnChange = [&](TSeCustomItem* sender, TSeCustomItem* changed) {
    calls.push_back(sender->Caption() + "<" + changed->Caption());
  };
  child->OnChange = [&](TSeCustomItem* sender, TSeCustomItem*) { calls.push_back(sender->Caption()); };
  child->SetEnabled(false);
  child->SetEnabled(false);  // unchanged: no call
  EXPECT_EQ(calls, (std::vector<std::string>{"child", "root<child"}));
  calls.clear();
  root->SetChecked(true);  // a root hears about itself twice
  EXPECT_EQ(calls, (std::vector<std::string>{"root<root", "root<root"}));
  calls.clear();
  Item("new", child);
  EXPECT_EQ(calls, (std::vector<std::string>{"child", "root<child"}));
}

TEST_F(MenuItemTest, ClickRunsOnlyForEnabledLeavesThatAreNotSeparators) {
  TSeCustomItem* root = Item("root");
  struct TCase {
    const char* caption;
    bool enabled;
    bool hasChild;
    bool runs;
  } cases[] = {
      {"plain", true, false, true},
      {"-", true, false, false},
      {"disabled", false, false, false},
      {"parent", true, true, false},
  };
  for (const TCase& c : cases) {
    TSeCustomItem* item = Item(c.caption, root);
    item->SetEnabled(c.enabled);
    if (c.hasChild) Item("sub", item);
    int runs = 0;
    item->OnClick = [&](TPersistent*) { ++runs; };
    item->Click();
    EXPECT_EQ(runs, c.runs ? 1 : 0) << c.caption;
  }
}

TEST_F(MenuItemTest, ActionRunsUnlessTheItemHasItsOwnClick) {
  auto* action = new TBasicAction(m_owner.get());
  action->SetCaption("&Open");
  action->SetShortCut(TShortCut('O') | scCtrl);
  std::vector<std::string> ran;
  action->OnExecute = [&](TPersistent*) { ran.push_back("action"); };
  TSeCustomItem* item = Item("");
  item->SetAction(action);
  EXPECT_EQ(item->Caption(), "&Open");
  EXPECT_EQ(item->ShortCut(), TShortCut('O') | scCtrl);
  item->Click();
  item->OnClick = [&](TPersistent*) { ran.push_back("own"); };
  item->Click();
  EXPECT_EQ(ran, (std::vector<std::string>{"action", "own"}));
  // The action's later changes reach the item; a value the item changed itself stays unlinked.
  item->SetCaption("Mine");
  action->SetEnabled(false);
  EXPECT_FALSE(item->Enabled());
  delete action;
  EXPECT_EQ(item->Action(), nullptr);
  EXPECT_EQ(item->Caption(), "Mine");
}

TEST_F(MenuItemTest, OnClickThatIsTheActionsHandlerRunsTheAction) {
  // A form file binds both events by the name of one published handler: the item then counts as
  // linked and the action runs (with its own checks, such as being enabled).
  auto* action = new TBasicAction(m_owner.get());
  int runs = 0;
  std::function<void(TPersistent*)> handler = [&](TPersistent*) { ++runs; };
  action->OnExecute.Bind("DoOpen", std::any(handler));
  TSeCustomItem* item = Item("");
  item->SetAction(action);
  item->OnClick.Bind("DoOpen", std::any(handler));
  item->Click();
  EXPECT_EQ(runs, 1);
  action->SetEnabled(true);
  action->OnUpdate = [](TPersistent* a) { static_cast<TBasicAction*>(a)->SetEnabled(false); };
  item->SetEnabled(true);
  item->Click();
  EXPECT_EQ(runs, 1) << "the action disabled itself in its update";
}

TEST_F(MenuItemTest, ShortCutClicksThePathAndStopsAtADisabledLevel) {
  TSeCustomItem* root = Item("root");
  TSeCustomItem* file = Item("File", root);
  TSeCustomItem* save = Item("Save", file);
  save->SetShortCut(TShortCut('S') | scCtrl);
  int saves = 0;
  save->OnClick = [&](TPersistent*) { ++saves; };
  EXPECT_TRUE(root->IsShortCut(TShortCut('S') | scCtrl));
  EXPECT_EQ(saves, 1);
  EXPECT_FALSE(root->IsShortCut(TShortCut('S')));
  file->SetEnabled(false);
  EXPECT_TRUE(root->IsShortCut(TShortCut('S') | scCtrl));  // found, but not clicked
  EXPECT_EQ(saves, 1);
  // Alt comes from the key message, as the platform marks it.
  TSeCustomItem* quit = Item("Quit", root);
  quit->SetShortCut(TShortCut(VK_F4) | scAlt);
  int quits = 0;
  quit->OnClick = [&](TPersistent*) { ++quits; };
  TMessage alt{WM_SYSKEYDOWN, VK_F4, 0x20000000, 0};
  EXPECT_TRUE(root->IsShortCut(alt));
  EXPECT_EQ(quits, 1);
}

TEST_F(MenuItemTest, ShortCutSearchesAgainWhenAClickMovesTheItem) {
  TSeCustomItem* root = Item("root");
  TSeCustomItem* first = Item("first", root);
  TSeCustomItem* target = Item("target", root);
  TSeCustomItem* other = Item("other", root);
  target->SetShortCut(VK_F2);
  first->SetShortCut(VK_F3);
  int clicks = 0;
  // The handler frees the item it belongs to: the search must not touch it afterwards.
  target->OnClick = [&](TPersistent*) {
    ++clicks;
    delete target;
  };
  EXPECT_TRUE(root->IsShortCut(VK_F2));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(root->IsShortCut(VK_F2));
  (void)other;
}

TEST_F(MenuItemTest, AcceleratorsAndShortCutTexts) {
  TSeCustomItem* root = Item("root");
  TSeCustomItem* open = Item("&Open", root);
  TSeCustomItem* exit = Item("E&xit", root);
  TSeCustomItem* chinese = Item("刷新(&R)", root);
  EXPECT_EQ(root->FindAccelerator(U'o'), open);
  EXPECT_EQ(root->FindAccelerator(U'X'), exit);
  EXPECT_EQ(root->FindAccelerator(U'r'), chinese);
  EXPECT_EQ(root->FindAccelerator(U'e'), nullptr);  // "E" carries no "&"
  struct {
    TShortCut shortCut;
    const char* text;
  } texts[] = {
      {0, ""},
      {TShortCut(VK_F4) | scAlt, "Alt+F4"},
      {TShortCut('A') | scCtrl | scShift, "Shift+Ctrl+A"},
      {VK_DELETE, "Del"},
      {TShortCut(VK_RETURN) | scCtrl, "Ctrl+Enter"},
  };
  for (const auto& t : texts) EXPECT_EQ(ShortCutToText(t.shortCut), t.text);
}

}  // namespace
}  // namespace vandrel::test
