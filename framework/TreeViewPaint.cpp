// TCustomTreeView: drawing the rows in the classic look.
#include "framework/ImageList.h"
#include "framework/TreeView.h"

namespace vandrel {

void TCustomTreeView::Paint() {
  TCanvas& c = *Canvas();
  TRect client = ClientRect();
  c.Brush()->SetColor(Color());
  c.FillRect(client);
  const auto& rows = VisibleNodes();
  int h = ItemHeight();
  for (int row = m_topIndex, y = 0; row < int(rows.size()) && y < client.Bottom; ++row, y += h) DrawNode(c, rows[size_t(row)], y);
}

void TCustomTreeView::DrawLinesAndButton(TCanvas& c, TTreeNode* node, int y) {
  int h = ItemHeight();
  int left = ItemLeft(node);
  int cx = left - m_indent / 2 - 1;
  int cy = y + h / 2;
  if (cx < 0) return;
  if (m_showLines) {
    // Dotted lines: horizontal to the item, vertical through the siblings.
    for (int x = cx; x < left - 2; x += 2) c.SetPixel(x, cy, clGray);
    int bottom = node->GetNextSibling() ? y + h : cy;
    int top = (node->GetPrevSibling() || node->Parent()) ? y : cy;
    for (int yy = top + ((top + cx) & 1); yy < bottom; yy += 2) c.SetPixel(cx, yy, clGray);
    int level = node->Level() - 1;
    for (TTreeNode* p = node->Parent(); p; p = p->Parent(), --level) {
      if (!p->GetNextSibling()) continue;
      int px = ItemLeft(p) - m_indent / 2 - 1;
      if (px < 0) continue;
      for (int yy = y + ((y + px) & 1); yy < y + h; yy += 2) c.SetPixel(px, yy, clGray);
    }
  }
  if (m_showButtons && node->HasChildren()) {
    TRect box = Rect(cx - 4, cy - 4, cx + 5, cy + 5);
    c.Brush()->SetColor(clWindow);
    c.FillRect(box);
    c.Brush()->SetColor(clGray);
    c.FrameRect(box);
    c.Pen()->SetColor(clWindowText);
    c.MoveTo(cx - 2, cy);
    c.LineTo(cx + 3, cy);
    if (!node->Expanded()) {
      c.MoveTo(cx, cy - 2);
      c.LineTo(cx, cy + 3);
    }
  }
}

void TCustomTreeView::DrawNode(TCanvas& c, TTreeNode* node, int y) {
  int h = ItemHeight();
  if ((m_showLines || m_showButtons) && ItemLeft(node) > 0) DrawLinesAndButton(c, node, y);
  int x = ItemLeft(node);
  if (m_stateImages && node->StateIndex() >= 0) {
    m_stateImages->Draw(c, x, y + (h - m_stateImages->Height()) / 2, node->StateIndex(), Enabled());
    x += m_stateImages->Width();
  }
  bool selected = node == m_selected;
  if (m_images) {
    int index = selected ? node->SelectedIndex() : node->ImageIndex();
    m_images->Draw(c, x, y + (h - m_images->Height()) / 2, index, Enabled());
    x += m_images->Width() + kImageGap;
  }
  c.Font()->Assign(*Font());
  TSize ext = c.TextExtent(node->Text());
  TRect label = Rect(x, y, x + ext.cx + 2 * kLabelPadding, y + h);
  bool focused = Focused();
  bool showSelection = selected && (focused || !m_hideSelection);
  if (showSelection) {
    c.Brush()->SetColor(focused ? clHighlight : clBtnFace);
    c.FillRect(label);
    c.Font()->SetColor(focused ? clHighlightText : clWindowText);
  } else if (!Enabled()) {
    c.Font()->SetColor(clGrayText);
  }
  c.Brush()->SetStyle(bsClear);
  c.TextOut(x + kLabelPadding, y + (h - ext.cy) / 2, node->Text());
  if (selected && focused) {
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clHighlight);
    c.DrawFocusRect(label);
  }
}

}  // namespace vandrel
