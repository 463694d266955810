#include "skinform/PopupView.h"

#include "framework/Application.h"
#include "framework/Canvas.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "skinform/MenuItem.h"

namespace vandrel {

TSeItemView::TSeItemView(TComponent* owner) : TComponent(owner) {}

TSeItemView::~TSeItemView() {
  if (m_scrollTimer) KillTimer(nullptr, m_scrollTimer);
  if (m_parentView && m_parentView->m_childView == this) m_parentView->m_childView = nullptr;
  if (m_childView && m_childView->m_parentView == this) m_childView->m_parentView = nullptr;
}

void TSeItemView::SetItem(TSeCustomItem* item) {
  if (item == m_item) return;
  if (m_item) m_item->RemoveFreeNotification(this);
  m_item = item;
  m_hotItem = nullptr;
  if (m_item) m_item->FreeNotification(this);
}

void TSeItemView::SetParentView(TSeItemView* view) {
  if (m_parentView && m_parentView->m_childView == this) m_parentView->m_childView = nullptr;
  m_parentView = view;
  if (view) view->m_childView = this;
}

void TSeItemView::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    if (component == m_item) {
      m_item = nullptr;
      m_hotItem = nullptr;
      m_layout = {};
    } else if (component == m_hotItem) {
      m_hotItem = nullptr;
    }
  }
  TComponent::Notification(component, operation);
}

std::vector<TSeMenuEntry> TSeItemView::Entries() const {
  std::vector<TSeMenuEntry> entries;
  if (!m_item) return entries;
  for (int i = 0; i < m_item->Count(); ++i) {
    TSeCustomItem* child = m_item->Items(i);
    entries.push_back({{}, child->Visible(), child->IsSeparator()});
  }
  return entries;
}

const TSeMenuLayout& TSeItemView::Relayout() {
  std::vector<TSeMenuEntry> entries = Entries();
  if (m_item && m_canvas) {
    for (int i = 0; i < m_item->Count(); ++i)
      if (entries[size_t(i)].Visible) entries[size_t(i)].Size = m_item->Items(i)->Measure(*m_canvas, *this);
  }
  bool scrolled = m_item && m_item->Scrolled();
  int scrollCount = m_item ? m_item->ScrollCount() : 0;
  int position = m_item ? m_item->ScrollPosition() : 0;
  m_layout = LayoutMenu(entries, m_origin, m_vertical, scrolled, scrollCount, position);
  for (int i = 0; m_item && i < m_item->Count(); ++i) m_item->Items(i)->SetItemRect(m_layout.ItemRects[size_t(i)]);
  return m_layout;
}

void TSeItemView::PaintItems(TCanvas& canvas) {
  if (!m_item) return;
  if (m_layout.Scrolling) {
    m_item->DrawScrollButton(canvas, m_scrollState == kssUp, true, m_layout.ScrollUp);
    m_item->DrawScrollButton(canvas, m_scrollState == kssDown, false, m_layout.ScrollDown);
  }
  for (int i = m_layout.First; i < m_layout.Last && i < m_item->Count(); ++i) {
    TSeCustomItem* child = m_item->Items(i);
    if (!child->Visible() || child->HiddenForDrawing()) continue;
    child->DrawItem(canvas, *this, !m_tracking, child == m_hotItem, child->ItemRect());
  }
}

TSeCustomItem* TSeItemView::ItemAt(TPoint screen) const {
  if (!m_item) return nullptr;
  TPoint p = screen;
  if (m_window) ScreenToClient(m_window, p);
  for (int i = m_layout.First; i < m_layout.Last && i < m_item->Count(); ++i) {
    TSeCustomItem* child = m_item->Items(i);
    if (child->Visible() && PtInRect(child->ItemRect(), p)) return child;
  }
  return nullptr;
}

void TSeItemView::RepaintItem(TSeCustomItem* item) {
  if (item && OnRepaintItem) OnRepaintItem(item);
}

void TSeItemView::RepaintScrollButton(bool up) {
  if (OnRepaintScrollButton) OnRepaintScrollButton(up);
}

void TSeItemView::SetHotItem(TSeCustomItem* item) {
  if (item == m_hotItem) return;
  TSeCustomItem* old = m_hotItem;
  if (old) old->RemoveFreeNotification(this);
  m_hotItem = item;
  if (item) item->FreeNotification(this);
  RepaintItem(old);
  RepaintItem(item);
  if (TApplication* app = Application()) app->SetHint(item ? item->Hint() : std::string());
}

bool TSeItemView::TrackPoint(TPoint screen) {
  if (!m_item) return false;
  if (!m_tracking) SetHotItem(nullptr);
  TPoint p = screen;
  if (m_window) ScreenToClient(m_window, p);
  if (m_layout.Scrolling && m_vertical) {
    TSeScrollState state = PtInRect(m_layout.ScrollUp, p) ? kssUp : PtInRect(m_layout.ScrollDown, p) ? kssDown : kssNone;
    if (state != kssNone) {
      if (state != m_scrollState) {
        m_scrollState = state;
        RepaintScrollButton(state == kssUp);
      }
      if (m_childView && m_childView->Window()) PostMessage(m_childView->Window(), WM_KEYDOWN, VK_ESCAPE, 0);
      if (!m_scrollTimer) {
        m_scrollTimer = SetTimer(nullptr, 0, 100, [this](HWND, UINT, UINT_PTR, DWORD) { AutoScroll(); });
      }
      return false;
    }
    if (m_scrollState != kssNone) {
      m_scrollState = kssNone;
      RepaintScrollButton(true);
      RepaintScrollButton(false);
    }
    if (m_scrollTimer) {
      KillTimer(nullptr, m_scrollTimer);
      m_scrollTimer = 0;
    }
  }
  TSeCustomItem* under = ItemAt(screen);
  if (!under || under == m_hotItem) return false;
  SetHotItem(under);
  return true;
}

void TSeItemView::AutoScroll() {
  if (!m_item) return;
  if (m_scrollState == kssUp && m_item->ScrollPosition() > 0) StepHot(false);
  else if (m_scrollState == kssDown && m_layout.Last < m_item->Count()) StepHot(true);
}

void TSeItemView::StepHot(bool forward) {
  if (!m_item) return;
  std::vector<TSeMenuEntry> entries = Entries();
  int current = m_hotItem ? m_item->IndexOf(m_hotItem) : -1;
  int next = StepHotItem(entries, current, forward);
  if (next < 0 || next == current) return;
  TSeCustomItem* target = m_item->Items(next);
  if (m_layout.Scrolling) {
    int position = ScrollToShow(next, m_item->ScrollPosition(), m_item->ScrollCount(), m_item->Count());
    if (position != m_item->ScrollPosition()) {
      m_item->SetScrollPosition(position);
      Relayout();
      // Every shown item moved, so the whole list is repainted instead of the two items.
      auto repaintItem = std::move(OnRepaintItem);
      SetHotItem(target);
      OnRepaintItem = std::move(repaintItem);
      if (OnRepaintAll) OnRepaintAll();
      return;
    }
  }
  SetHotItem(target);
}

}  // namespace vandrel
