#include "app/TreeViewReminderTree.h"

#include <functional>

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

namespace {

std::vector<std::string> PathOf(const TTreeNode* node) {
  std::vector<std::string> path;
  for (; node; node = node->Parent()) path.insert(path.begin(), node->Text());
  return path;
}

// By index, not by sibling links: finding a node's next sibling means finding its place among
// its siblings, and a category may hold many thousand lines.
TTreeNode* FindChild(const TTreeNode& parent, const std::string& text) {
  for (int i = 0; i < parent.Count(); ++i)
    if (parent.Item(i)->Text() == text) return parent.Item(i);
  return nullptr;
}

void ForEachParentNode(TTreeNode& node, const std::function<void(TTreeNode&)>& action) {
  if (!node.HasChildren()) return;
  action(node);
  for (int i = 0; i < node.Count(); ++i) ForEachParentNode(*node.Item(i), action);
}

void ForEachParentNode(const TCustomTreeView& treeView, const std::function<void(TTreeNode&)>& action) {
  for (TTreeNode* section = treeView.Items()->GetFirstNode(); section; section = section->GetNextSibling())
    ForEachParentNode(*section, action);
}

TTreeNode* FindPath(const TCustomTreeView& treeView, const std::vector<std::string>& path) {
  if (path.empty()) return nullptr;
  TTreeNode* found = treeView.Items()->GetFirstNode();
  while (found && found->Text() != path[0]) found = found->GetNextSibling();
  for (size_t i = 1; found && i < path.size(); ++i) found = FindChild(*found, path[i]);
  return found;
}

}  // namespace

TTreeViewState TTreeViewState::Of(const TCustomTreeView& treeView) {
  TTreeViewState state;
  ForEachParentNode(treeView, [&](TTreeNode& n) { state.m_expanded.emplace(PathOf(&n), n.Expanded()); });
  state.m_selected = PathOf(treeView.Selected());
  state.m_top = PathOf(treeView.TopItem());
  return state;
}

void TTreeViewState::ApplyTo(TCustomTreeView& treeView) const {
  // Selecting expands (AutoExpand): the kept expansion is laid over it afterwards.
  if (TTreeNode* selected = FindPath(treeView, m_selected)) treeView.SetSelected(selected);
  ForEachParentNode(treeView, [&](TTreeNode& n) {
    auto kept = m_expanded.find(PathOf(&n));
    if (kept != m_expanded.end() && kept->second != n.Expanded()) n.SetExpanded(kept->second);
  });
  if (TTreeNode* top = FindPath(treeView, m_top)) treeView.SetTopItem(top);
}

void TTreeViewReminderTree::Clear() {
  m_treeView.Items()->Clear();
  m_nodes.clear();
}

}  // namespace vandrel
