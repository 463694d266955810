// The reminder tree built into the tree view gives the same nodes, images and expansion as the
// in-memory outline, and the view paints it.
#include <gtest/gtest.h>

#include <functional>

#include "app/ReminderBuilder.h"
#include "app/ReminderOutline.h"
#include "app/TreeViewReminderTree.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TreeView.h"
#include "platform/core/Clock.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/Window.h"

using namespace vandrel;

TEST(TreeViewReminderTree, BuildsTheSameTreeAsTheOutline) {
  auto screen = THeadlessScreen::Create({800, 600});
  {
    TApplication app;
    TForm* form = app.CreateForm<TForm>();
    form->SetBounds(0, 0, 400, 500);
    auto* view = new TTreeView(form);
    view->SetParent(form);
    view->SetAlign(alClient);
    view->OnExpanded = [](TPersistent*, TTreeNode* n) { n->SetImageIndex(riOpenFolder); };
    view->OnCollapsed = [](TPersistent*, TTreeNode* n) { n->SetImageIndex(riClosedFolder); };

    TConnection connection;
    connection.SetConnectionString(std::string("Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=qelvondar;Data Source=") +
                                   VANDREL_TEST_DATA "/mdb/sibling.mdb");
    connection.Open();
    TQuery query1(connection), query2(connection);
    ScopedClock pin(EncodeDate(2024, 3, 5));

    TTreeViewReminderTree tree(*view);
    TReminderOutline outline;
    outline.OnExpanded = [&](IReminderTree::Node n) { outline.At(n).ImageIndex = riOpenFolder; };
    for (IReminderTree* target : {static_cast<IReminderTree*>(&tree), static_cast<IReminderTree*>(&outline)}) {
      TReminderBuilder builder(*target, query1, query2);
      builder.AddReminderSection("本日提示", EncodeDate(2024, 3, 5), true);
      builder.AddReminderSection("本月提示", EncodeDate(2024, 3, 1), false);
    }

    std::function<void(TTreeNode*, IReminderTree::Node)> compare = [&](TTreeNode* node, IReminderTree::Node expected) {
      const auto& want = outline.At(expected);
      SCOPED_TRACE(want.Text);
      EXPECT_EQ(node->Text(), want.Text);
      EXPECT_EQ(node->ImageIndex(), want.ImageIndex);
      EXPECT_EQ(node->SelectedIndex(), want.SelectedIndex);
      EXPECT_EQ(node->StateIndex(), want.StateIndex);
      EXPECT_EQ(node->Expanded(), want.Expanded);
      ASSERT_EQ(size_t(node->Count()), want.Children.size());
      for (int i = 0; i < node->Count(); ++i) compare(node->Item(i), want.Children[size_t(i)]);
    };
    ASSERT_EQ(view->Items()->TopLevelCount(), 2);
    compare(view->Items()->GetFirstNode(), outline.TopLevel()[0]);
    compare(view->Items()->GetFirstNode()->GetNextSibling(), outline.TopLevel()[1]);

    // Expanding a section by code shows its expanded categories' lines.
    view->Items()->GetFirstNode()->Expand(false);
    EXPECT_GT(view->VisibleNodes().size(), 30u);
    form->Show();
    app.ProcessMessages();

    tree.Clear();
    EXPECT_EQ(view->Items()->Count(), 0);
  }
  while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
}
