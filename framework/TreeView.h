// TCustomTreeView / TTreeView: a tree of text nodes with images, drawn in the classic look:
// selection, expand and collapse by code, mouse and keyboard with their events, single-branch
// expansion (AutoExpand), optional buttons and lines, a vertical scroll bar and the mouse wheel,
// and a hint that shows the whole text of a line the control cuts off.
#pragma once

#include <memory>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/TreeNodes.h"

namespace vandrel {

class TCustomImageList;

enum TSortType { stNone, stData, stText, stBoth };
enum TBorderStyle { bsNoBorder, bsSingleBorder };
enum THitTest { htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel, htOnRight, htOnStateIcon, htToLeft, htToRight };

using TTVChangedEvent = TEvent<void(TPersistent* sender, TTreeNode* node)>;
using TTVChangingEvent = TEvent<void(TPersistent* sender, TTreeNode* node, bool& allowChange)>;
using TTVExpandedEvent = TEvent<void(TPersistent* sender, TTreeNode* node)>;
using TTVExpandingEvent = TEvent<void(TPersistent* sender, TTreeNode* node, bool& allowExpansion)>;
using TTVCollapsingEvent = TEvent<void(TPersistent* sender, TTreeNode* node, bool& allowCollapse)>;
using TTVCompareEvent = TEvent<void(TPersistent* sender, TTreeNode* a, TTreeNode* b, int data, int& compare)>;

class TCustomTreeView : public TCustomControl {
  VANDREL_CLASS_INFO
 public:
  explicit TCustomTreeView(TComponent* owner);
  ~TCustomTreeView() override;

  TTreeNodes* Items() const { return m_items.get(); }
  TCustomImageList* Images() const { return m_images; }
  void SetImages(TCustomImageList* images);
  // Without a state image list state indexes show nothing.
  TCustomImageList* StateImages() const { return m_stateImages; }
  void SetStateImages(TCustomImageList* images);

  int Indent() const { return m_indent; }
  void SetIndent(int indent);
  bool ShowButtons() const { return m_showButtons; }
  void SetShowButtons(bool v);
  bool ShowLines() const { return m_showLines; }
  void SetShowLines(bool v);
  bool ShowRoot() const { return m_showRoot; }
  void SetShowRoot(bool v);
  bool ReadOnly() const { return m_readOnly; }
  void SetReadOnly(bool v) { m_readOnly = v; }
  // Selecting a node expands it and collapses the branch of the node selected before.
  bool AutoExpand() const { return m_autoExpand; }
  void SetAutoExpand(bool v) { m_autoExpand = v; }
  bool HideSelection() const { return m_hideSelection; }
  void SetHideSelection(bool v);
  bool ToolTips() const { return m_toolTips; }
  void SetToolTips(bool v) { m_toolTips = v; }
  TSortType SortType() const { return m_sortType; }
  void SetSortType(TSortType type);
  TBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TBorderStyle style);

  TTreeNode* Selected() const { return m_selected; }
  void SetSelected(TTreeNode* node);
  TTreeNode* TopItem() const;
  void SetTopItem(TTreeNode* node);
  // The first visible row shown at the top.
  int TopIndex() const { return m_topIndex; }
  int ItemHeight() const;
  // Rows that fit entirely in the client area.
  int VisibleRowCount() const;
  // The nodes whose ancestors are all expanded, in display order.
  const std::vector<TTreeNode*>& VisibleNodes() const;

  TTreeNode* GetNodeAt(int x, int y) const;
  THitTest GetHitTestInfoAt(int x, int y, TTreeNode** node = nullptr) const;
  // Client coordinates; empty for a node that is not shown.
  TRect DisplayRect(const TTreeNode* node, bool textOnly) const;
  void FullExpand();
  void FullCollapse();
  // Sorts the top level (and, recursing, every level) by text.
  void AlphaSort(bool recurse = true);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandedEvent OnExpanded;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnCollapsed;
  TTVCollapsingEvent OnCollapsing;
  TTVChangedEvent OnDeletion;
  TTVCompareEvent OnCompare;

  void Dispatch(TMessage& message) override;

 protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  void CreateParams(TCreateParams& params) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Paint() override;
  void MouseDown(TMouseBtn button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  void Resize() override;
  void CreateHandleDone() override { NodesChanged(); }

  // Node notifications from TTreeNode/TTreeNodes.
  bool ExpandNode(TTreeNode* node, bool expand);
  void NodesChanged();
  void NodeTextChanged(TTreeNode* node);
  void NodeDeleting(TTreeNode* node);
  int CompareNodes(TTreeNode* a, TTreeNode* b);

 private:
  void SelectNode(TTreeNode* node, bool autoExpand);
  void AppendVisible(const TTreeNode& parent) const;
  void SetTopIndex(int index);
  void UpdateScrollBar();
  void ScrollMessage(WPARAM wParam);
  int ItemLeft(const TTreeNode* node) const;
  int RowOf(const TTreeNode* node) const;
  void DrawNode(TCanvas& canvas, TTreeNode* node, int y);
  void DrawLinesAndButton(TCanvas& canvas, TTreeNode* node, int y);
  void ImagesChanged();
  bool HintForNode(THintInfo& info);

  // Space between the image and the label, and inside the label around the text.
  static constexpr int kImageGap = 3;
  static constexpr int kLabelPadding = 2;

  std::unique_ptr<TTreeNodes> m_items;
  TCustomImageList* m_images = nullptr;
  TCustomImageList* m_stateImages = nullptr;
  int m_imagesListener = 0;
  int m_stateListener = 0;
  int m_indent = 19;
  bool m_showButtons = true;
  bool m_showLines = true;
  bool m_showRoot = true;
  bool m_readOnly = false;
  bool m_autoExpand = false;
  bool m_hideSelection = true;
  bool m_toolTips = true;
  TSortType m_sortType = stNone;
  TBorderStyle m_borderStyle = bsSingleBorder;
  TTreeNode* m_selected = nullptr;
  int m_topIndex = 0;
  mutable std::vector<TTreeNode*> m_rows;
  mutable bool m_rowsValid = false;
  mutable int m_itemHeight = 0;
};

class TTreeView : public TCustomTreeView {
  VANDREL_CLASS_INFO
 public:
  explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};

}  // namespace vandrel
