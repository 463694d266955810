// The reminder tree in the main window's tree view: node handles are positions in a table of
// the view's nodes, rebuilt with the tree.
#pragma once

#include <map>
#include <string>
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

// Which nodes of a tree view are expanded, which one is selected and which is the top row, by the
// texts on their paths, so that they can be found again after the tree was built anew.
class TTreeViewState {
 public:
  static TTreeViewState Of(const TCustomTreeView& treeView);
  // Nodes on a kept path take their kept state; nodes that are new keep what the build gave them.
  void ApplyTo(TCustomTreeView& treeView) const;

 private:
  using TPath = std::vector<std::string>;
  std::map<TPath, bool> m_expanded;
  TPath m_selected;
  TPath m_top;
};

// What a tree view shows, node by node (texts, image indexes, expansion), as an outline that
// prints the way --dump and --json print.
TReminderOutline OutlineOf(const TCustomTreeView& treeView);

}  // namespace vandrel
