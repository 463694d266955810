#include "framework/TreeNodes.h"

#include <algorithm>

#include "framework/TreeView.h"
#include "platform/core/Exception.h"
#include "platform/core/Text.h"

namespace vandrel {

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const { return m_owner->Owner(); }

TTreeNode* TTreeNode::Parent() const {
  return m_parent && m_parent != m_owner->m_root.get() ? m_parent : nullptr;
}

void TTreeNode::SetText(const std::string& text) {
  if (text == m_text) return;
  m_text = text;
  TreeView()->NodeTextChanged(this);
}

void TTreeNode::SetImageIndex(int index) {
  if (index == m_imageIndex) return;
  m_imageIndex = index;
  TreeView()->NodesChanged();
}

void TTreeNode::SetSelectedIndex(int index) {
  if (index == m_selectedIndex) return;
  m_selectedIndex = index;
  TreeView()->NodesChanged();
}

void TTreeNode::SetStateIndex(int index) {
  if (index == m_stateIndex) return;
  m_stateIndex = index;
  TreeView()->NodesChanged();
}

void TTreeNode::SetExpanded(bool value) {
  if (value)
    Expand(false);
  else
    Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
  TreeView()->ExpandNode(this, true);
  if (recurse)
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  TreeView()->ExpandNode(this, false);
  if (recurse)
    for (size_t i = 0; i < m_children.size(); ++i) m_children[i]->Collapse(true);
}

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_children[size_t(index)].get();
}

int TTreeNode::Index() const {
  if (!m_parent) return -1;
  auto& list = m_parent->m_children;
  if (m_indexHint < list.size() && list[m_indexHint].get() == this) return int(m_indexHint);
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == this) {
      m_indexHint = i;
      return int(i);
    }
  return -1;
}

int TTreeNode::Level() const {
  int level = 0;
  for (TTreeNode* p = Parent(); p; p = p->Parent()) ++level;
  return level;
}

int TTreeNode::AbsoluteIndex() const {
  int i = 0;
  for (TTreeNode* n = m_owner->GetFirstNode(); n; n = n->GetNext(), ++i)
    if (n == this) return i;
  return -1;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  if (!m_parent) return nullptr;
  int i = Index();
  return m_parent->Item(i + 1);
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  if (!m_parent) return nullptr;
  int i = Index();
  return i > 0 ? m_parent->Item(i - 1) : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!m_children.empty()) return m_children.front().get();
  for (const TTreeNode* n = this; n && n->m_parent; n = n->m_parent)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* s = GetPrevSibling();
  if (!s) return Parent();
  while (s->HasChildren()) s = s->GetLastChild();
  return s;
}

bool TTreeNode::IsVisible() const {
  for (TTreeNode* p = Parent(); p; p = p->Parent())
    if (!p->m_expanded) return false;
  return true;
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const {
  if (!node) return false;
  for (TTreeNode* p = Parent(); p; p = p->Parent())
    if (p == node) return true;
  return false;
}

bool TTreeNode::Selected() const { return TreeView()->Selected() == this; }

void TTreeNode::SetSelected(bool value) {
  if (value)
    TreeView()->SetSelected(this);
  else if (Selected())
    TreeView()->SetSelected(nullptr);
}

bool TTreeNode::Focused() const { return Selected() && TreeView()->Focused(); }

void TTreeNode::MakeVisible() {
  for (TTreeNode* p = Parent(); p; p = p->Parent())
    if (!p->m_expanded) p->Expand(false);
  TCustomTreeView* tv = TreeView();
  int row = tv->RowOf(this);
  if (row < 0) return;
  int page = std::max(tv->VisibleRowCount(), 1);
  if (row < tv->TopIndex())
    tv->SetTopIndex(row);
  else if (row >= tv->TopIndex() + page)
    tv->SetTopIndex(row - page + 1);
}

void TTreeNode::Delete() { m_owner->Delete(this); }

void TTreeNode::DeleteChildren() {
  while (!m_children.empty()) m_owner->Delete(m_children.back().get());
}

void TTreeNode::AlphaSort(bool recurse) {
  TCustomTreeView* tv = TreeView();
  std::stable_sort(m_children.begin(), m_children.end(),
                   [tv](const auto& a, const auto& b) { return tv->CompareNodes(a.get(), b.get()) < 0; });
  if (recurse)
    for (auto& c : m_children) c->AlphaSort(true);
  tv->NodesChanged();
}

TTreeNodes::TTreeNodes(TCustomTreeView* owner) : m_owner(owner), m_root(new TTreeNode(this)) {
  m_root->m_expanded = true;
}

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::Item(int index) const {
  if (index < 0 || index >= m_count) return nullptr;
  TTreeNode* n = GetFirstNode();
  for (int i = 0; n && i < index; ++i) n = n->GetNext();
  return n;
}

TTreeNode* TTreeNodes::InsertAt(TTreeNode* parent, size_t position, const std::string& text) {
  if (!parent) parent = m_root.get();
  if (parent->m_owner != this) throw EInvalidArgument("Tree node belongs to another tree");
  std::unique_ptr<TTreeNode> node(new TTreeNode(this));
  node->m_parent = parent;
  node->m_text = text;
  TTreeNode* raw = node.get();
  position = std::min(position, parent->m_children.size());
  raw->m_indexHint = position;
  parent->m_children.insert(parent->m_children.begin() + std::ptrdiff_t(position), std::move(node));
  ++m_count;
  Changed();
  return raw;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
  TTreeNode* parent = sibling ? sibling->m_parent : nullptr;
  return InsertAt(parent, SIZE_MAX, text);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::string& text) {
  TTreeNode* parent = sibling ? sibling->m_parent : nullptr;
  return InsertAt(parent, 0, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) { return InsertAt(parent, SIZE_MAX, text); }

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::string& text) { return InsertAt(parent, 0, text); }

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::string& text) {
  if (!sibling) return InsertAt(nullptr, SIZE_MAX, text);
  return InsertAt(sibling->m_parent, size_t(sibling->Index()), text);
}

void TTreeNodes::Delete(TTreeNode* node) {
  if (!node || node == m_root.get()) return;
  if (node->m_owner != this) throw EInvalidArgument("Tree node belongs to another tree");
  // Children first, so that handlers of the deletion event see a consistent tree.
  while (!node->m_children.empty()) Delete(node->m_children.back().get());
  m_owner->NodeDeleting(node);
  TTreeNode* parent = node->m_parent;
  auto& list = parent->m_children;
  auto it = std::find_if(list.begin(), list.end(), [node](const auto& p) { return p.get() == node; });
  if (it == list.end()) return;
  std::unique_ptr<TTreeNode> keep = std::move(*it);
  list.erase(it);
  --m_count;
  Changed();
}

void TTreeNodes::Clear() {
  BeginUpdate();
  try {
    while (m_root->HasChildren()) Delete(m_root->GetLastChild());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TTreeNodes::BeginUpdate() { ++m_updateCount; }

void TTreeNodes::EndUpdate() {
  if (m_updateCount > 0 && --m_updateCount == 0) Changed();
}

void TTreeNodes::Changed() { m_owner->NodesChanged(); }

}  // namespace vandrel
