// TTreeNode and TTreeNodes: the items of a tree view. A node owns its children; the node list owns
// the top-level nodes and counts them all. Node operations go straight to the data and tell the
// tree view what changed (expansion events, repaint, sorting on a text change).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace vandrel {

class TCustomTreeView;
class TTreeNodes;

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;
  ~TTreeNode();

  TTreeNodes* Owner() const { return m_owner; }
  TCustomTreeView* TreeView() const;
  // Null for a top-level node.
  TTreeNode* Parent() const;

  const std::string& Text() const { return m_text; }
  // With text sorting on, a changed text re-sorts the node among its siblings.
  void SetText(const std::string& text);
  int ImageIndex() const { return m_imageIndex; }
  void SetImageIndex(int index);
  int SelectedIndex() const { return m_selectedIndex; }
  void SetSelectedIndex(int index);
  int StateIndex() const { return m_stateIndex; }
  void SetStateIndex(int index);
  void* Data() const { return m_data; }
  void SetData(void* data) { m_data = data; }

  // Expanding a node without children does nothing and fires nothing; a node keeps its
  // expanded state while an ancestor is collapsed.
  bool Expanded() const { return m_expanded; }
  void SetExpanded(bool value);
  void Expand(bool recurse);
  void Collapse(bool recurse);

  int Count() const { return int(m_children.size()); }
  TTreeNode* Item(int index) const;
  bool HasChildren() const { return !m_children.empty(); }
  int Index() const;
  int Level() const;
  int AbsoluteIndex() const;
  TTreeNode* GetFirstChild() const { return m_children.empty() ? nullptr : m_children.front().get(); }
  TTreeNode* GetLastChild() const { return m_children.empty() ? nullptr : m_children.back().get(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // Depth first, through collapsed nodes too.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // Every ancestor expanded.
  bool IsVisible() const;
  bool HasAsParent(const TTreeNode* node) const;

  bool Selected() const;
  void SetSelected(bool value);
  bool Focused() const;
  // Expands the ancestors and scrolls the node into view.
  void MakeVisible();
  void Delete();
  void DeleteChildren();
  // Sorts the children by text (ASCII case ignored), keeping equal texts in order.
  void AlphaSort(bool recurse = false);

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* owner) : m_owner(owner) {}

  TTreeNodes* m_owner;
  TTreeNode* m_parent = nullptr;  // the list's hidden root for top-level nodes
  std::vector<std::unique_ptr<TTreeNode>> m_children;
  std::string m_text;
  int m_imageIndex = 0;
  int m_selectedIndex = 0;
  int m_stateIndex = -1;
  void* m_data = nullptr;
  bool m_expanded = false;
  // Where the node last stood among its siblings; checked before use, so a stale hint only
  // costs the search it saves when it is right (walking siblings in order stays linear).
  mutable size_t m_indexHint = 0;
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TCustomTreeView* owner);
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  TCustomTreeView* Owner() const { return m_owner; }
  // All nodes, at every level.
  int Count() const { return m_count; }
  // Depth-first position; null out of range.
  TTreeNode* Item(int index) const;
  TTreeNode* GetFirstNode() const { return m_root->GetFirstChild(); }
  int TopLevelCount() const { return m_root->Count(); }

  // After the last sibling of `sibling` (null: a new last top-level node).
  TTreeNode* Add(TTreeNode* sibling, const std::string& text);
  TTreeNode* AddFirst(TTreeNode* sibling, const std::string& text);
  // After the last child of parent (null: top level).
  TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
  // Before sibling (null: at the end of the top level).
  TTreeNode* Insert(TTreeNode* sibling, const std::string& text);
  void Delete(TTreeNode* node);
  void Clear();

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return m_updateCount > 0; }

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InsertAt(TTreeNode* parent, size_t position, const std::string& text);
  void Changed();

  TCustomTreeView* m_owner;
  std::unique_ptr<TTreeNode> m_root;
  int m_count = 0;
  int m_updateCount = 0;
};

}  // namespace vandrel
