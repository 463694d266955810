#include "app/TreeViewReminderTree.h"

#include "framework/TreeView.h"

namespace vandrel {

IReminderTree::Node TTreeViewReminderTree::AddChild(Node parent, const std::string& text) {
  TTreeNode* parentNode = parent == kTopLevel ? nullptr : m_nodes.at(size_t(parent));
  m_nodes.push_back(m_treeView.Items()->AddChild(parentNode, text));
  return Node(m_nodes.size() - 1);
}

void TTreeViewReminderTree::SetImageIndexes(Node node, int image, int state, int selected) {
  TTreeNode* n = m_nodes.at(size_t(node));
  n->SetImageIndex(image);
  n->SetStateIndex(state);
  n->SetSelectedIndex(selected);
}

void TTreeViewReminderTree::Expand(Node node) { m_nodes.at(size_t(node))->Expand(false); }

void TTreeViewReminderTree::Clear() {
  m_treeView.Items()->Clear();
  m_nodes.clear();
}

}  // namespace vandrel
