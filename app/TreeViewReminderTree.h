// The reminder tree in the main window's tree view: node handles are positions in a table of
// the view's nodes, rebuilt with the tree.
#pragma once

#include <vector>

#include "app/ReminderOutline.h"
#include "app/ReminderTree.h"

namespace vandrel {

class TCustomTreeView;
class TTreeNode;

class TTreeViewReminderTree : public IReminderTree {
 public:
  explicit TTreeViewReminderTree(TCustomTreeView& treeView) : m_treeView(treeView) {}

  Node AddChild(Node parent, const std::string& text) override;
  void SetImageIndexes(Node node, int image, int state, int selected) override;
  void Expand(Node node) override;
  // Deletes every node of the view.
  void Clear();

 private:
  TCustomTreeView& m_treeView;
  std::vector<TTreeNode*> m_nodes;
};

// What a tree view shows, node by node (texts, image indexes, expansion), as an outline that
// prints the way --dump and --json print.
TReminderOutline OutlineOf(const TCustomTreeView& treeView);

}  // namespace vandrel
