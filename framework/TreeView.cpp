#include "framework/TreeView.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "framework/ImageList.h"
#include "framework/PropertyInfo.h"
#include "platform/core/Text.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/TextOut.h"
#include "platform/win/ScrollBar.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel {

namespace {
constexpr std::array<std::string_view, 4> kSortTypeNames = {"stNone", "stData", "stText", "stBoth"};
constexpr std::array<std::string_view, 2> kBorderStyleNames = {"bsNone", "bsSingle"};
static_assert(kSortTypeNames.size() == size_t(stBoth) + 1);
constexpr int kWheelLines = 3;
}  // namespace

const TClassInfo& TCustomTreeView::StaticClassInfo() {
  using T = TCustomTreeView;
  static const TClassInfo info("TCustomTreeView", &TCustomControl::StaticClassInfo(), nullptr, {
      prop::Boolean("AutoExpand", &T::AutoExpand, &T::SetAutoExpand, false),
      prop::Enum("BorderStyle", &T::BorderStyle, &T::SetBorderStyle, kBorderStyleNames, bsSingleBorder),
      prop::Boolean("HideSelection", &T::HideSelection, &T::SetHideSelection, true),
      prop::Component("Images", &T::Images, &T::SetImages),
      prop::Integer("Indent", &T::Indent, &T::SetIndent, 19),
      prop::Boolean("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false),
      prop::Boolean("ShowButtons", &T::ShowButtons, &T::SetShowButtons, true),
      prop::Boolean("ShowLines", &T::ShowLines, &T::SetShowLines, true),
      prop::Boolean("ShowRoot", &T::ShowRoot, &T::SetShowRoot, true),
      prop::Enum("SortType", &T::SortType, &T::SetSortType, kSortTypeNames, stNone),
      prop::Component("StateImages", &T::StateImages, &T::SetStateImages),
      prop::Boolean("ToolTips", &T::ToolTips, &T::SetToolTips, true),
      prop::Event("OnChange", &T::OnChange),
      prop::Event("OnChanging", &T::OnChanging),
      prop::Event("OnCollapsed", &T::OnCollapsed),
      prop::Event("OnCollapsing", &T::OnCollapsing),
      prop::Event("OnCompare", &T::OnCompare),
      prop::Event("OnDeletion", &T::OnDeletion),
      prop::Event("OnExpanded", &T::OnExpanded),
      prop::Event("OnExpanding", &T::OnExpanding),
  });
  return info;
}

const TClassInfo& TTreeView::StaticClassInfo() {
  static const TClassInfo info("TTreeView", &TCustomTreeView::StaticClassInfo(), ComponentFactory<TTreeView>(), {});
  return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TCustomControl(owner), m_items(std::make_unique<TTreeNodes>(this)) {
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
  SetImages(nullptr);
  SetStateImages(nullptr);
  // Handlers are not told about nodes that go with the control.
  OnDeletion = nullptr;
  OnChange = nullptr;
  m_selected = nullptr;
  m_items.reset();
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= WS_VSCROLL;
  if (m_borderStyle == bsSingleBorder) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::SetImages(TCustomImageList* images) {
  if (images == m_images) return;
  if (m_images) {
    m_images->UnRegisterChanges(m_imagesListener);
    m_images->RemoveFreeNotification(this);
  }
  m_images = images;
  if (m_images) {
    m_imagesListener = m_images->RegisterChanges([this] { ImagesChanged(); });
    m_images->FreeNotification(this);
  }
  ImagesChanged();
}

void TCustomTreeView::SetStateImages(TCustomImageList* images) {
  if (images == m_stateImages) return;
  if (m_stateImages) {
    m_stateImages->UnRegisterChanges(m_stateListener);
    m_stateImages->RemoveFreeNotification(this);
  }
  m_stateImages = images;
  if (m_stateImages) {
    m_stateListener = m_stateImages->RegisterChanges([this] { ImagesChanged(); });
    m_stateImages->FreeNotification(this);
  }
  ImagesChanged();
}

void TCustomTreeView::ImagesChanged() {
  m_itemHeight = 0;
  NodesChanged();
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == m_images) {
      m_images = nullptr;
      ImagesChanged();
    }
    if (component == m_stateImages) {
      m_stateImages = nullptr;
      ImagesChanged();
    }
  }
  TCustomControl::Notification(component, operation);
}

void TCustomTreeView::SetIndent(int indent) {
  if (indent == m_indent || indent < 0) return;
  m_indent = indent;
  Invalidate();
}
void TCustomTreeView::SetShowButtons(bool v) {
  if (v == m_showButtons) return;
  m_showButtons = v;
  Invalidate();
}
void TCustomTreeView::SetShowLines(bool v) {
  if (v == m_showLines) return;
  m_showLines = v;
  Invalidate();
}
void TCustomTreeView::SetShowRoot(bool v) {
  if (v == m_showRoot) return;
  m_showRoot = v;
  Invalidate();
}
void TCustomTreeView::SetHideSelection(bool v) {
  if (v == m_hideSelection) return;
  m_hideSelection = v;
  Invalidate();
}

void TCustomTreeView::SetSortType(TSortType type) {
  if (type == m_sortType) return;
  m_sortType = type;
  if ((type == stText || type == stBoth) && !Loading()) AlphaSort(true);
}

void TCustomTreeView::SetBorderStyle(TBorderStyle style) {
  if (style == m_borderStyle) return;
  m_borderStyle = style;
  RecreateWnd();
}

int TCustomTreeView::CompareNodes(TTreeNode* a, TTreeNode* b) {
  int result = 0;
  if (OnCompare) {
    OnCompare(this, a, b, 0, result);
    return result;
  }
  if (m_sortType == stData || m_sortType == stBoth) {
    if (a->Data() != b->Data()) result = a->Data() < b->Data() ? -1 : 1;
    if (result || m_sortType == stData) return result;
  }
  return CompareText(a->Text(), b->Text());
}

void TCustomTreeView::AlphaSort(bool recurse) {
  m_items->BeginUpdate();
  m_items->m_root->AlphaSort(recurse);
  m_items->EndUpdate();
}

void TCustomTreeView::FullExpand() {
  m_items->BeginUpdate();
  for (TTreeNode* n = m_items->GetFirstNode(); n; n = n->GetNextSibling()) n->Expand(true);
  m_items->EndUpdate();
}

void TCustomTreeView::FullCollapse() {
  m_items->BeginUpdate();
  for (TTreeNode* n = m_items->GetFirstNode(); n; n = n->GetNextSibling()) n->Collapse(true);
  m_items->EndUpdate();
}

void TCustomTreeView::NodesChanged() {
  m_rowsValid = false;
  if (m_items && m_items->Updating()) return;
  if (!HandleAllocated()) return;
  int maxTop = std::max(int(VisibleNodes().size()) - VisibleRowCount(), 0);
  if (m_topIndex > maxTop) m_topIndex = maxTop;
  UpdateScrollBar();
  Invalidate();
}

void TCustomTreeView::NodeTextChanged(TTreeNode* node) {
  // Sorting follows a change of a node's text, never the mere adding of nodes.
  if ((m_sortType == stText || m_sortType == stBoth) && node->m_parent) {
    TTreeNode* parent = node->m_parent;
    std::stable_sort(parent->m_children.begin(), parent->m_children.end(),
                     [this](const auto& a, const auto& b) { return CompareNodes(a.get(), b.get()) < 0; });
  }
  NodesChanged();
}

void TCustomTreeView::NodeDeleting(TTreeNode* node) {
  if (m_selected == node) {
    m_selected = nullptr;
    // Clearing the whole tree leaves nothing selected; deleting one node moves the selection to
    // a neighbour, as the platform's tree does.
    if (!m_items->Updating()) {
      TTreeNode* next = node->GetNextSibling();
      if (!next) next = node->GetPrevSibling();
      if (!next) next = node->Parent();
      m_selected = next;
      if (OnChange) OnChange(this, next);
    }
  }
  if (OnDeletion) OnDeletion(this, node);
  m_rowsValid = false;
}

bool TCustomTreeView::ExpandNode(TTreeNode* node, bool expand) {
  if (!node->HasChildren() || node->m_expanded == expand) return false;
  bool allow = true;
  if (expand && OnExpanding) OnExpanding(this, node, allow);
  if (!expand && OnCollapsing) OnCollapsing(this, node, allow);
  if (!allow) return false;
  node->m_expanded = expand;
  // A selection hidden by the collapse moves up to the collapsed node.
  if (!expand && m_selected && m_selected->HasAsParent(node)) {
    m_selected = node;
    if (OnChange) OnChange(this, node);
  }
  NodesChanged();
  if (expand && OnExpanded) OnExpanded(this, node);
  if (!expand && OnCollapsed) OnCollapsed(this, node);
  return true;
}

void TCustomTreeView::SetSelected(TTreeNode* node) { SelectNode(node, m_autoExpand); }

void TCustomTreeView::SelectNode(TTreeNode* node, bool autoExpand) {
  if (node == m_selected) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, node, allow);
  if (!allow) return;
  TTreeNode* old = m_selected;
  m_selected = node;
  if (autoExpand && node) {
    // Collapse the old branch up to the first node that also leads to the new one.
    for (TTreeNode* n = old; n; n = n->Parent()) {
      if (n == node || node->HasAsParent(n)) break;
      ExpandNode(n, false);
    }
    if (m_selected == node) ExpandNode(node, true);
  }
  Invalidate();
  if (m_selected == node && node) node->MakeVisible();
  if (OnChange) OnChange(this, node);
}

// Walks the child lists directly: finding a node's next sibling means finding its place among
// its siblings, which would make a category of many thousand lines cost quadratic time.
void TCustomTreeView::AppendVisible(const TTreeNode& parent) const {
  for (const auto& child : parent.m_children) {
    m_rows.push_back(child.get());
    if (child->m_expanded) AppendVisible(*child);
  }
}

const std::vector<TTreeNode*>& TCustomTreeView::VisibleNodes() const {
  if (!m_rowsValid) {
    m_rows.clear();
    if (TTreeNode* first = m_items ? m_items->GetFirstNode() : nullptr) AppendVisible(*first->m_parent);
    m_rowsValid = true;
  }
  return m_rows;
}

int TCustomTreeView::RowOf(const TTreeNode* node) const {
  const auto& rows = VisibleNodes();
  auto it = std::find(rows.begin(), rows.end(), node);
  return it == rows.end() ? -1 : int(it - rows.begin());
}

int TCustomTreeView::ItemHeight() const {
  if (m_itemHeight == 0) {
    TCanvas canvas;
    HDC dc = CreateCompatibleDC(HDC());
    canvas.SetHandle(dc);
    canvas.Font()->Assign(*Font());
    int text = canvas.TextHeight("Wg");
    canvas.SetHandle(HDC());
    DeleteDC(dc);
    int image = m_images ? m_images->Height() : 0;
    if (m_stateImages) image = std::max(image, m_stateImages->Height());
    m_itemHeight = std::max({text + 2, image + 2, 1});
  }
  return m_itemHeight;
}

int TCustomTreeView::VisibleRowCount() const { return std::max(ClientHeight() / ItemHeight(), 0); }

TTreeNode* TCustomTreeView::TopItem() const {
  const auto& rows = VisibleNodes();
  return m_topIndex < int(rows.size()) ? rows[size_t(m_topIndex)] : nullptr;
}

void TCustomTreeView::SetTopItem(TTreeNode* node) {
  int row = RowOf(node);
  if (row >= 0) SetTopIndex(row);
}

void TCustomTreeView::SetTopIndex(int index) {
  int maxTop = std::max(int(VisibleNodes().size()) - VisibleRowCount(), 0);
  index = std::clamp(index, 0, maxTop);
  if (index == m_topIndex) return;
  m_topIndex = index;
  UpdateScrollBar();
  Invalidate();
}

void TCustomTreeView::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(int(VisibleNodes().size()) - 1, 0);
  si.nPage = UINT(VisibleRowCount());
  si.nPos = m_topIndex;
  SetScrollInfo(Handle(), SB_VERT, si, true);
}

void TCustomTreeView::ScrollMessage(WPARAM wParam) {
  int page = std::max(VisibleRowCount(), 1);
  switch (int(LOWORD(wParam))) {
    case SB_LINEUP: SetTopIndex(m_topIndex - 1); break;
    case SB_LINEDOWN: SetTopIndex(m_topIndex + 1); break;
    case SB_PAGEUP: SetTopIndex(m_topIndex - page); break;
    case SB_PAGEDOWN: SetTopIndex(m_topIndex + page); break;
    case SB_TOP: SetTopIndex(0); break;
    case SB_BOTTOM: SetTopIndex(int(VisibleNodes().size())); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(Handle(), SB_VERT, si);
      SetTopIndex(si.nTrackPos);
      break;
    }
    default: break;
  }
}

void TCustomTreeView::Resize() {
  TCustomControl::Resize();
  NodesChanged();
}

int TCustomTreeView::ItemLeft(const TTreeNode* node) const {
  int level = node->Level();
  if (m_showRoot && (m_showLines || m_showButtons)) ++level;
  return level * m_indent;
}

TRect TCustomTreeView::DisplayRect(const TTreeNode* node, bool textOnly) const {
  int row = RowOf(node);
  if (row < 0) return {};
  int h = ItemHeight();
  int y = (row - m_topIndex) * h;
  if (!textOnly) return Rect(0, y, ClientWidth(), y + h);
  int x = ItemLeft(node);
  if (m_stateImages && node->StateIndex() >= 0) x += m_stateImages->Width();
  if (m_images) x += m_images->Width() + kImageGap;
  TCanvas canvas;
  HDC dc = CreateCompatibleDC(HDC());
  canvas.SetHandle(dc);
  canvas.Font()->Assign(*Font());
  int w = canvas.TextWidth(node->Text());
  canvas.SetHandle(HDC());
  DeleteDC(dc);
  return Rect(x, y, x + w + 2 * kLabelPadding, y + h);
}

THitTest TCustomTreeView::GetHitTestInfoAt(int x, int y, TTreeNode** out) const {
  if (out) *out = nullptr;
  if (y < 0) return htAbove;
  if (y >= ClientHeight()) return htBelow;
  if (x < 0) return htToLeft;
  if (x >= ClientWidth()) return htToRight;
  const auto& rows = VisibleNodes();
  int row = m_topIndex + y / ItemHeight();
  if (row >= int(rows.size())) return htNowhere;
  TTreeNode* node = rows[size_t(row)];
  if (out) *out = node;
  int left = ItemLeft(node);
  if (x < left) {
    if (m_showButtons && node->HasChildren() && x >= left - m_indent) return htOnButton;
    return htOnIndent;
  }
  int pos = left;
  if (m_stateImages && node->StateIndex() >= 0) {
    if (x < pos + m_stateImages->Width()) return htOnStateIcon;
    pos += m_stateImages->Width();
  }
  if (m_images) {
    if (x < pos + m_images->Width() + kImageGap) return htOnIcon;
  }
  TRect label = DisplayRect(node, true);
  if (x < label.Right) return htOnLabel;
  return htOnRight;
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
  TTreeNode* node = nullptr;
  THitTest h = GetHitTestInfoAt(x, y, &node);
  return h == htOnIcon || h == htOnLabel || h == htOnStateIcon ? node : nullptr;
}

void TCustomTreeView::MouseDown(TMouseBtn button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    TTreeNode* node = nullptr;
    THitTest hit = GetHitTestInfoAt(x, y, &node);
    if (hit == htOnButton && node) {
      ExpandNode(node, !node->Expanded());
    } else if (node && (hit == htOnIcon || hit == htOnLabel || hit == htOnStateIcon)) {
      if (shift.Contains(ssDouble)) {
        if (!m_autoExpand) ExpandNode(node, !node->Expanded());
      } else if (node == m_selected) {
        if (m_autoExpand) ExpandNode(node, !node->Expanded());
      } else {
        SelectNode(node, m_autoExpand);
      }
    }
  } else if (button == mbRight) {
    if (CanFocus() && !Focused()) SetFocus();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomTreeView::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  const auto& rows = VisibleNodes();
  if (rows.empty()) return;
  int row = m_selected ? RowOf(m_selected) : -1;
  int page = std::max(VisibleRowCount(), 1);
  auto go = [&](int r) {
    r = std::clamp(r, 0, int(rows.size()) - 1);
    SelectNode(rows[size_t(r)], m_autoExpand);
  };
  switch (key) {
    case VK_DOWN: go(row + 1); break;
    case VK_UP: go(row < 0 ? 0 : row - 1); break;
    case VK_HOME: go(0); break;
    case VK_END: go(int(rows.size()) - 1); break;
    case VK_NEXT: go(row + page); break;
    case VK_PRIOR: go(row - page); break;
    case VK_LEFT:
      if (!m_selected) break;
      if (m_selected->Expanded() && m_selected->HasChildren())
        ExpandNode(m_selected, false);
      else if (m_selected->Parent())
        SelectNode(m_selected->Parent(), m_autoExpand);
      break;
    case VK_RIGHT:
      if (!m_selected || !m_selected->HasChildren()) break;
      if (!m_selected->Expanded())
        ExpandNode(m_selected, true);
      else
        SelectNode(m_selected->GetFirstChild(), m_autoExpand);
      break;
    case VK_ADD:
      if (m_selected) ExpandNode(m_selected, true);
      break;
    case VK_SUBTRACT:
      if (m_selected) ExpandNode(m_selected, false);
      break;
    case VK_MULTIPLY:
      if (m_selected) m_selected->Expand(true);
      break;
    default: return;
  }
  key = 0;
}

bool TCustomTreeView::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  int lines = -wheelDelta * kWheelLines / WHEEL_DELTA;
  if (lines == 0) lines = wheelDelta > 0 ? -1 : 1;
  SetTopIndex(m_topIndex + lines);
  return true;
}

bool TCustomTreeView::HintForNode(THintInfo& info) {
  TTreeNode* node = nullptr;
  GetHitTestInfoAt(info.CursorPos.X, info.CursorPos.Y, &node);
  if (!node) return false;
  info.CursorRect = DisplayRect(node, false);
  if (!m_toolTips) return false;
  TRect label = DisplayRect(node, true);
  if (label.Right <= ClientWidth()) {
    info.HintStr.clear();
    return true;
  }
  // The whole line, laid over the cut-off one.
  info.HintStr = node->Text();
  info.HintPos = ClientToScreen({label.Left - 1, label.Top});
  return true;
}

void TCustomTreeView::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_VSCROLL: ScrollMessage(m.WParam); return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // Focus changes only the look of the selection; it never selects a node by itself.
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_ERASEBKGND: m.Result = 1; return;
    case CM_FONTCHANGED:
      m_itemHeight = 0;
      TCustomControl::Dispatch(m);
      NodesChanged();
      return;
    case CM_HINTSHOW: {
      auto* info = reinterpret_cast<THintInfo*>(m.LParam);
      if (info) HintForNode(*info);
      m.Result = 0;
      return;
    }
    default: TCustomControl::Dispatch(m);
  }
}

}  // namespace vandrel
