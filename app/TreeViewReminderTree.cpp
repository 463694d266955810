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

namespace {

void CopyChildren(const TTreeNode* first, IReminderTree::Node parent, TReminderOutline& outline) {
  for (const TTreeNode* n = first; n; n = n->GetNextSibling()) {
    const IReminderTree::Node copy = outline.AddChild(parent, n->Text());
    TReminderOutline::TNode& node = outline.At(copy);
    node.ImageIndex = n->ImageIndex();
    node.StateIndex = n->StateIndex();
    node.SelectedIndex = n->SelectedIndex();
    node.Expanded = n->Expanded();
    CopyChildren(n->GetFirstChild(), copy, outline);
  }
}

}  // namespace

TReminderOutline OutlineOf(const TCustomTreeView& treeView) {
  TReminderOutline outline;
  CopyChildren(treeView.Items()->GetFirstNode(), IReminderTree::kTopLevel, outline);
  return outline;
}

void TTreeViewReminderTree::Clear() {
  m_treeView.Items()->Clear();
  m_nodes.clear();
}

}  // namespace vandrel
