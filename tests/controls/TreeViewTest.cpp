// The tree view as the main window uses it: no buttons or lines, AutoExpand, images that follow
// the expansion events, a long list scrolled by bar, wheel and keys, and hints for cut-off lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "framework/HintWindow.h"
#include "framework/ImageList.h"
#include "framework/TreeView.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel::test {
namespace {

class TreeViewTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    m_form = NewForm(100, 100, 300, 240);
    m_images = new TImageList(m_form);
    // Four plain images: red, green, blue, black.
    for (std::uint32_t c : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u}) {
      std::vector<std::uint32_t> px(256, c);
      m_images->AddPixels(px.data());
    }
    m_tree = new TTreeView(m_form);
    m_tree->SetParent(m_form);
    m_tree->SetBorderStyle(bsNoBorder);
    m_tree->SetAlign(alClient);
    m_tree->SetImages(m_images);
    m_tree->SetShowButtons(false);
    m_tree->SetShowLines(false);
    m_tree->SetAutoExpand(true);
    m_tree->SetReadOnly(true);
    // The main window's handlers: folder images follow the expansion.
    m_tree->OnExpanded = [this](TPersistent*, TTreeNode* n) {
      m_events.push_back("expanded " + n->Text());
      n->SetImageIndex(2);
    };
    m_tree->OnCollapsed = [this](TPersistent*, TTreeNode* n) {
      m_events.push_back("collapsed " + n->Text());
      n->SetImageIndex(1);
    };
  }

  // Sections A and B with categories; A1 holds two lines.
  void BuildSmallTree() {
    TTreeNodes* items = m_tree->Items();
    a = items->AddChild(nullptr, "A");
    a1 = items->AddChild(a, "A1");
    items->AddChild(a1, "line 1");
    items->AddChild(a1, "line 2");
    a2 = items->AddChild(a, "A2");
    b = items->AddChild(nullptr, "B");
    b1 = items->AddChild(b, "B1");
    for (TTreeNode* n : {a, a1, a2, b, b1}) {
      n->SetImageIndex(1);
      n->SetSelectedIndex(3);
    }
  }

  TPoint RowPoint(TTreeNode* n) {
    TRect r = m_tree->DisplayRect(n, true);
    return m_tree->ClientToScreen({r.Left + 3, r.Top + r.Height() / 2});
  }

  TForm* m_form = nullptr;
  TImageList* m_images = nullptr;
  TTreeView* m_tree = nullptr;
  std::vector<std::string> m_events;
  TTreeNode *a = nullptr, *a1 = nullptr, *a2 = nullptr, *b = nullptr, *b1 = nullptr;
};

TEST_F(TreeViewTest, ExpansionFromCodeFiresOnEveryNodeWithChildren) {
  BuildSmallTree();
  a1->Expand(false);  // its parent is still collapsed: the state is kept and the event fires
  EXPECT_TRUE(a1->Expanded());
  EXPECT_FALSE(a1->IsVisible());
  EXPECT_EQ(a1->ImageIndex(), 2);
  a2->Expand(false);  // no children: nothing changes, nothing fires
  EXPECT_FALSE(a2->Expanded());
  a->Expand(false);
  a->Expand(false);  // already expanded: no second event
  a->Collapse(false);
  EXPECT_EQ(m_events, (std::vector<std::string>{"expanded A1", "expanded A", "collapsed A"}));
  EXPECT_TRUE(a1->Expanded());  // kept while hidden
  EXPECT_EQ(a->ImageIndex(), 1);

  m_events.clear();
  a->Expand(true);
  EXPECT_EQ(m_events, (std::vector<std::string>{"expanded A"}));  // A1 was expanded already
  EXPECT_EQ(m_tree->VisibleNodes().size(), 6u);  // A, A1, 2 lines, A2, B
}

TEST_F(TreeViewTest, ClickSelectsAndAutoExpandCollapsesThePreviousBranch) {
  BuildSmallTree();
  m_form->Show();
  Pump();
  EXPECT_EQ(m_tree->Selected(), nullptr);  // taking the focus selected nothing
  EXPECT_TRUE(m_tree->Focused());

  m_screen->Click(RowPoint(a));
  Pump();
  EXPECT_EQ(m_tree->Selected(), a);
  m_screen->Click(RowPoint(a1));
  Pump();
  EXPECT_EQ(m_events, (std::vector<std::string>{"expanded A", "expanded A1"}));

  m_events.clear();
  m_screen->Click(RowPoint(b));
  Pump();
  // The old branch closes from the old selection upwards, then the new node opens.
  EXPECT_EQ(m_events, (std::vector<std::string>{"collapsed A1", "collapsed A", "expanded B"}));
  EXPECT_EQ(m_tree->Selected(), b);
  EXPECT_EQ(a->ImageIndex(), 1);
  EXPECT_EQ(b->ImageIndex(), 2);

  // Selecting a child keeps its parent open; a click on the selected node toggles it.
  m_events.clear();
  m_screen->Click(RowPoint(b1));
  Pump();
  EXPECT_EQ(m_events, (std::vector<std::string>{}));
  m_screen->Click(RowPoint(b));
  m_screen->Click(RowPoint(b), TMouseButton::Left);
  Pump();
  EXPECT_TRUE(b->Expanded());
}

TEST_F(TreeViewTest, KeyboardMovesTheSelectionThroughTheVisibleRows) {
  BuildSmallTree();
  m_tree->SetAutoExpand(false);
  m_form->Show();
  Pump();
  struct TStep {
    int key;
    TTreeNode** expected;
    bool aExpanded;
  };
  const TStep steps[] = {
      {VK_DOWN, &a, false},   // first key selects the first row
      {VK_RIGHT, &a, true},   // expands
      {VK_RIGHT, &a1, true},  // moves into the first child
      {VK_DOWN, &a2, true},   // A1 is collapsed: its lines are skipped
      {VK_LEFT, &a, true},    // to the parent
      {VK_LEFT, &a, false},   // collapses
      {VK_END, &b, false},
      {VK_HOME, &a, false},
  };
  for (const TStep& s : steps) {
    m_screen->KeyPress(s.key);
    Pump();
    EXPECT_EQ(m_tree->Selected(), *s.expected) << "key " << s.key;
    EXPECT_EQ(a->Expanded(), s.aExpanded) << "key " << s.key;
  }
}

TEST_F(TreeViewTest, LongTreeScrollsByWheelBarAndKeys) {
  m_tree->Items()->BeginUpdate();
  for (int i = 0; i < 300; ++i) m_tree->Items()->AddChild(nullptr, "提醒 " + std::to_string(i));
  m_tree->Items()->EndUpdate();
  m_form->Show();
  Pump();
  int page = m_tree->VisibleRowCount();
  ASSERT_GT(page, 5);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(m_tree->Handle(), SB_VERT, si));
  EXPECT_EQ(si.nMax, 299);
  EXPECT_EQ(int(si.nPage), page);

  m_screen->Wheel(m_tree->ClientToScreen({20, 20}), -WHEEL_DELTA);
  Pump();
  EXPECT_EQ(m_tree->TopIndex(), 3);
  SendMessage(m_tree->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(m_tree->TopIndex(), 3 + page);
  m_screen->Wheel(m_tree->ClientToScreen({20, 20}), 10 * WHEEL_DELTA);
  Pump();
  EXPECT_EQ(m_tree->TopIndex(), 0);

  m_screen->KeyPress(VK_END);
  Pump();
  EXPECT_EQ(m_tree->Selected(), m_tree->Items()->Item(299));
  EXPECT_EQ(m_tree->TopIndex(), 300 - page);  // the selection is scrolled into view
  GetScrollInfo(m_tree->Handle(), SB_VERT, si);
  EXPECT_EQ(si.nPos, 300 - page);
  SendMessage(m_tree->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(m_tree->TopIndex(), 300 - page);  // never beyond the last full page
}

TEST_F(TreeViewTest, ImagesFollowLevelAndSelection) {
  BuildSmallTree();
  m_tree->SetColor(clWhite);
  m_form->Show();
  a->Expand(false);  // image 2 (blue) on A
  Pump();
  int h = m_tree->ItemHeight();
  TPoint o = m_tree->ClientOrigin();
  EXPECT_EQ(m_screen->ScreenPixel(o.X + 8, o.Y + h / 2), 0x0000FFu);           // A at level 0
  EXPECT_EQ(m_screen->ScreenPixel(o.X + 19 + 8, o.Y + h + h / 2), 0x00FF00u);  // A1 at level 1
  m_tree->SetSelected(a1);  // selected image 3 (black)
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(o.X + 19 + 8, o.Y + h + h / 2), 0x000000u);
}

TEST_F(TreeViewTest, TextSortingOnlyWhenATextChanges) {
  m_tree->SetSortType(stText);
  TTreeNodes* items = m_tree->Items();
  TTreeNode* c = items->AddChild(nullptr, "c");
  items->AddChild(nullptr, "a");
  items->AddChild(nullptr, "b");
  auto order = [&] {
    std::string s;
    for (TTreeNode* n = items->GetFirstNode(); n; n = n->GetNextSibling()) s += n->Text();
    return s;
  };
  EXPECT_EQ(order(), "cab");  // nodes stay in the order they were added
  c->SetText("d");
  EXPECT_EQ(order(), "abd");
}

TEST_F(TreeViewTest, DeletingTheSelectionMovesItAndClearingEmptiesIt) {
  BuildSmallTree();
  std::vector<std::string> deleted;
  m_tree->OnDeletion = [&](TPersistent*, TTreeNode* n) { deleted.push_back(n->Text()); };
  m_tree->SetAutoExpand(false);
  m_tree->SetSelected(a1);
  a1->Delete();
  EXPECT_EQ(deleted, (std::vector<std::string>{"line 2", "line 1", "A1"}));
  EXPECT_EQ(m_tree->Selected(), a2);
  EXPECT_EQ(m_tree->Items()->Count(), 4);
  m_tree->Items()->Clear();
  EXPECT_EQ(m_tree->Selected(), nullptr);
  EXPECT_EQ(m_tree->Items()->Count(), 0);
  EXPECT_EQ(m_tree->Items()->GetFirstNode(), nullptr);
}

TEST_F(TreeViewTest, CutOffLineShowsItsWholeTextAsHint) {
  m_tree->SetShowHint(true);
  TTreeNode* shortNode = m_tree->Items()->AddChild(nullptr, "短");
  TTreeNode* longNode = m_tree->Items()->AddChild(nullptr, std::string(60, 'x') + " 很长的一行提醒文字");
  m_form->Show();
  Pump();
  ASSERT_GT(m_tree->DisplayRect(longNode, true).Right, m_tree->ClientWidth());

  m_screen->MouseMove(RowPoint(shortNode));
  Pump();
  TTickClock::Advance(600);
  Pump();
  EXPECT_FALSE(m_app->HintShowing());

  m_screen->MouseMove(RowPoint(longNode));
  Pump();
  TTickClock::Advance(600);
  Pump();
  ASSERT_TRUE(m_app->HintShowing());
  EXPECT_EQ(m_app->HintWindow()->Text(), longNode->Text());
  // Leaving the line takes the hint away.
  m_screen->MouseMove(RowPoint(shortNode));
  Pump();
  EXPECT_FALSE(m_app->HintShowing());
}

TEST_F(TreeViewTest, FreedImageListIsForgotten) {
  BuildSmallTree();
  m_form->Show();
  Pump();
  delete m_images;
  EXPECT_EQ(m_tree->Images(), nullptr);
  m_tree->Repaint();  // paints without images
  Pump();
}

}  // namespace
}  // namespace vandrel::test
