// The modal menu loop and the opening of a level. Every call that can run user code (dispatching a
// message, OnBeforeDropDown, a nested loop) may free the item, the view or its window, so each is
// watched and looked at again afterwards.
//
// What the loop does with a message it looks at (before removing it):
//   WM_QUIT, non-client button          close the whole chain, leave it queued for the outer loops
//   WM_LBUTTONDOWN on this hot item      post VK_RETURN; elsewhere off every hot item: close, leave
// and after removing it:
//   WM_MOUSEMOVE (new point)             hot tracking from the outermost view inward
//   WM_LBUTTONUP                         as WM_LBUTTONDOWN, without leaving
//   other mouse messages, WM_CONTEXTMENU dropped
//   SE_OPENSUBMENU                       open the hot item's submenu
//   keys (left button up)                Enter, Escape, arrows, Alt/F10; others become characters
//   characters                           accelerator: make hot, post VK_RETURN
//   anything else                        dispatched
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "framework/Application.h"
#include "framework/ComponentWatch.h"
#include "framework/Cursors.h"
#include "platform/core/ScopeExit.h"
#include "platform/services/PlatformServices.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"
#include "skin/SkinMessages.h"
#include "skinform/MenuItem.h"
#include "skinform/MenuLayout.h"
#include "skinform/PopupView.h"
#include "skinform/PopupWindow.h"

namespace vandrel {

struct TMenuCaptureState {
  HWND Window = nullptr;
  int Count = 0;
  bool Lost = false;
};

namespace {

// The mouse capture of one menu: its outermost level takes it, nested levels share it, and the
// last one out gives it back if it still holds it. A menu opened while another one is closing
// (its loops still on the stack) gets a capture of its own.

std::vector<std::shared_ptr<TMenuCaptureState>>& Captures() {
  static std::vector<std::shared_ptr<TMenuCaptureState>> captures;
  return captures;
}

std::shared_ptr<TMenuCaptureState> CaptureMenuMouse(HWND window, const std::shared_ptr<TMenuCaptureState>& outer) {
  if (outer) {
    ++outer->Count;
    return outer;
  }
  auto state = std::make_shared<TMenuCaptureState>();
  state->Window = window;
  state->Count = 1;
  Captures().push_back(state);
  SetCapture(window);
  return state;
}

void ReleaseMenuMouse(const std::shared_ptr<TMenuCaptureState>& state) {
  if (!state || state->Count == 0) return;
  if (--state->Count == 0) {
    if (GetCapture() == state->Window) ReleaseCapture();
    std::erase(Captures(), state);
  }
}

bool MenuCaptureLost(const TMenuCaptureState& state) { return state.Lost || GetCapture() != state.Window; }

// The views whose loops run, outermost first.
std::vector<TSeItemView*>& OpenViews() {
  static std::vector<TSeItemView*> views;
  return views;
}

bool IsOpenView(const TSeItemView* view) {
  auto& v = OpenViews();
  return std::find(v.begin(), v.end(), view) != v.end();
}

bool IsNonClientButton(UINT msg) { return msg >= WM_NCLBUTTONDOWN && msg <= WM_NCMBUTTONDBLCLK; }

TPoint MessageScreenPoint(const MSG& msg) {
  TPoint p = LParamToPoint(msg.lParam);
  if (msg.hwnd) ClientToScreen(msg.hwnd, p);
  return p;
}

}  // namespace

TSeItemView* ActiveMenuView() { return OpenViews().empty() ? nullptr : OpenViews().back(); }

void NoteMenuCaptureChanged(HWND window) {
  for (auto& state : Captures())
    if (window && state->Window == window) state->Lost = true;
}

TSeItemView* TSeItemView::RootView() {
  TSeItemView* v = this;
  while (v->m_parentView) v = v->m_parentView;
  return v;
}

void TSeItemView::CloseChain() {
  for (TSeItemView* v = this; v; v = v->m_parentView) {
    v->m_tracking = false;
    v->m_submenuOpen = false;
    v->SetHotItem(nullptr);
    v->StopScrollTimer();
  }
}

void TSeItemView::StopScrollTimer() {
  if (m_scrollTimer) KillTimer(nullptr, m_scrollTimer);
  m_scrollTimer = 0;
  m_scrollState = kssNone;
}

void TSeItemView::OpenSubmenu() {
  TSeCustomItem* item = m_hotItem;
  if (!item || !item->Enabled() || item->Count() == 0 || m_scrollState != kssNone) return;
  TRect r = item->ItemRect();
  if (m_window) r = MapWindowRect(m_window, nullptr, r);
  TPoint anchor = m_dropsDown ? TPoint{r.Left, r.Bottom} : TPoint{r.Right, r.Top};
  m_submenuOpen = true;
  item->Popup(this, anchor.X, anchor.Y, r);
}

void TSeItemView::MouseButton(TPoint screen, bool down, bool& leave) {
  if (m_hotItem && ItemAt(screen) == m_hotItem) {
    if (m_window) PostMessage(m_window, WM_KEYDOWN, VK_RETURN, 0);
    return;
  }
  for (TSeItemView* v = this; v; v = v->m_parentView)
    if (v->m_hotItem && v->ItemAt(screen) == v->m_hotItem) return;
  for (TSeItemView* v = this; v; v = v->m_parentView)
    if (v->ItemAt(screen) || (v->m_window && PtInRect(WindowRect(v->m_window), screen))) return;
  CloseChain();
  if (down) leave = true;
}

bool TSeItemView::HandleKey(WPARAM key) {
  bool bar = !m_vertical;
  TSeItemView* parent = m_parentView;
  auto escape = [&] {
    if (parent) parent->m_submenuOpen = false;
    SetHotItem(nullptr);
    return false;
  };
  switch (key) {
    case VK_TAB:
    case VK_SPACE:
      return true;
    case VK_RETURN: {
      TSeCustomItem* item = m_hotItem;
      if (!item) return true;
      item->Click();
      if (!TSeCustomItem::IsLive(item) || item != m_hotItem) return true;
      if (item->Count() > 0) OpenSubmenu();
      else if (!item->IsSeparator() && item->Enabled()) CloseChain();
      return true;
    }
    case VK_MENU:
    case VK_F10:
      CloseChain();
      return true;
    case VK_ESCAPE:
      return escape();
    case VK_LEFT:
      if (bar) {
        StepHot(false);
      } else if (parent && !parent->m_vertical) {
        if (parent->m_window) PostMessage(parent->m_window, WM_KEYDOWN, VK_LEFT, 0);
        return escape();
      } else if (parent) {
        return escape();
      }
      return true;
    case VK_RIGHT:
      if (bar) {
        StepHot(true);
      } else if (parent) {
        if (m_hotItem && m_hotItem->Count() > 0 && m_hotItem->Enabled()) {
          OpenSubmenu();
        } else if (!parent->m_vertical) {
          if (parent->m_window) PostMessage(parent->m_window, WM_KEYDOWN, VK_RIGHT, 0);
          return escape();
        } else {
          return escape();
        }
      }
      return true;
    case VK_UP:
      if (!bar) StepHot(false);
      return true;
    case VK_DOWN:
      if (bar) {
        OpenSubmenu();
      } else {
        bool reopen = m_submenuOpen;
        StepHot(true);
        if (reopen) OpenSubmenu();
      }
      return true;
    default:
      return true;
  }
}

bool TSeItemView::HandleLoopMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_CONTEXTMENU:
      return true;
    case WM_MOUSEMOVE: {
      TPoint p = MessageScreenPoint(msg);
      if (p == m_lastPoint) return true;
      m_lastPoint = p;
      std::vector<TSeItemView*> chain;
      for (TSeItemView* v = this; v; v = v->m_parentView) chain.insert(chain.begin(), v);
      for (TSeItemView* v : chain) {
        bool changed = v->TrackPoint(p);
        if (v == this || !changed) continue;
        // An outer level changed its hot item: close the levels in between, let that level open
        // the new item's submenu from its own loop, and leave this one.
        for (TSeItemView* w = m_parentView; w && w != v; w = w->m_parentView)
          if (w->m_window) PostMessage(w->m_window, WM_KEYDOWN, VK_ESCAPE, 0);
        v->m_submenuOpen = false;
        if (v->m_window) PostMessage(v->m_window, SE_OPENSUBMENU, 0, 0);
        SetHotItem(nullptr);
        return false;
      }
      return true;
    }
    case WM_LBUTTONUP: {
      bool leave = false;
      MouseButton(MessageScreenPoint(msg), false, leave);
      return true;
    }
    case SE_OPENSUBMENU:
      OpenSubmenu();
      return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (GetKeyState(VK_LBUTTON) < 0) return true;
      if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_UP || msg.wParam == VK_DOWN ||
          msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_TAB || msg.wParam == VK_SPACE ||
          msg.wParam == VK_MENU || msg.wParam == VK_F10)
        return HandleKey(msg.wParam);
      TranslateMessage(msg);
      return true;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (TSeCustomItem* item = m_item ? m_item->FindAccelerator(char32_t(msg.wParam)) : nullptr) {
        SetHotItem(item);
        if (m_window) PostMessage(m_window, WM_KEYDOWN, VK_RETURN, 0);
      }
      return true;
    default:
      break;
  }
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) return true;
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) return true;
  DispatchMessage(msg);
  return true;
}

void TSeItemView::TrackMenu() {
  TComponentWatch alive(*this);
  HWND window = m_window;
  m_tracking = true;
  SetCursor(LoadCursor(IDC_ARROW));
  OpenViews().push_back(this);
  std::shared_ptr<TMenuCaptureState> capture =
      CaptureMenuMouse(window, m_parentView ? m_parentView->m_capture : nullptr);
  m_capture = capture;
  TSeItemView* self = this;
  TScopeExit leave([&alive, self, capture] {
    std::erase(OpenViews(), self);
    ReleaseMenuMouse(capture);
    if (!alive) return;
    self->StopScrollTimer();
    self->m_tracking = false;
    if (self->m_parentView && self->m_parentView->OnRepaintAll) self->m_parentView->OnRepaintAll();
  });

  if (m_item && m_item->Count() > 0) {
    std::vector<TSeMenuEntry> entries = Entries();
    int first = -1;
    for (int i = m_layout.First; i < m_layout.Last; ++i)
      if (entries[size_t(i)].Visible) {
        first = i;
        break;
      }
    if (first >= 0) {
      TSeCustomItem* hot = m_item->Items(first);
      if (hot->ButtonKind() != kbkNormal) {
        int second = StepHotItem(entries, first, true);
        if (second > first) hot = m_item->Items(second);
      }
      SetHotItem(hot);
    }
    TPoint cursor;
    GetCursorPos(cursor);
    TrackPoint(cursor);
    m_lastPoint = cursor;
  }

  bool idle = false;
  while (alive && m_tracking) {
    if (MenuCaptureLost(*capture)) {
      CloseChain();
      break;
    }
    if (idle) WaitMessage();
    if (!alive || !m_tracking) break;
    MSG msg;
    if (!PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE)) {
      idle = true;
      continue;
    }
    idle = false;
    if (msg.message == WM_QUIT || IsNonClientButton(msg.message)) {
      CloseChain();
      break;
    }
    if (msg.message == WM_WINDOWPOSCHANGING) {
      CloseChain();
      break;
    }
    if (msg.message == WM_LBUTTONDOWN) {
      bool leaveLoop = false;
      MouseButton(MessageScreenPoint(msg), true, leaveLoop);
      if (leaveLoop) break;
    }
    // Remove exactly the message looked at: what the checks above posted would otherwise come
    // first (posted messages go before input).
    PeekMessage(msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
    if (msg.message == WM_LBUTTONDOWN) continue;
    if (!HandleLoopMessage(msg)) break;
  }
}

void CloseOpenMenus() {
  std::vector<TSeItemView*> views = OpenViews();
  if (views.empty()) return;
  views.back()->CloseChain();
  for (TSeItemView* v : views) {
    if (!IsOpenView(v)) continue;
    if (auto* w = dynamic_cast<TSePopupWindow*>(v->Owner())) w->HideNoActivate();
    if (TSeCustomItem* item = v->Item())
      if (auto* owner = dynamic_cast<TWinControl*>(item->Owner()); owner && owner->HandleAllocated())
        PostMessage(owner->Handle(), WM_NCMBUTTONDBLCLK, 0, 0);
  }
}

void TSeCustomItem::Popup(TSeItemView* view, int x, int y, const TRect& exclude) {
  bool anyVisible = false;
  for (TSeCustomItem* child : m_items) anyVisible = anyVisible || child->Visible();
  if (!anyVisible) return;
  TComponentWatch alive(*this);
  std::optional<TComponentWatch> viewAlive;
  if (view) viewAlive.emplace(*view);
  if (OnBeforeDropDown) OnBeforeDropDown(this);
  if (!alive || (view && !*viewAlive)) return;

  auto* window = new TSePopupWindow(Owner(), this);
  TComponentWatch windowAlive(*window);
  TScopeExit freeWindow([&] {
    if (windowAlive) delete window;
  });
  if (m_popupMenuItem && m_animate) {
    TSeCustomItem* top = m_parent ? m_parent : this;
    top->SetAnimate(false);
  }

  TRect monitor = GetMonitorAreaOfPoint({x, y}, false);
  TSize size = window->LayoutView();
  std::optional<TRect> rect;
  if (!exclude.IsEmpty()) rect = exclude;
  bool dropsDown = view && view->DropsDown();
  TPoint at = PlacePopup({x, y}, size, rect, dropsDown, monitor);
  window->SetBounds(at.X, at.Y, size.cx, size.cy);
  window->ShowNoActivate();
  if (m_foreground) SetForegroundWindow(window->Handle());

  TSePopupView* popupView = window->View();
  popupView->SetParentView(view);
  TScopeExit unlink([&] {
    if (windowAlive) popupView->SetParentView(nullptr);
  });
  popupView->TrackMenu();
}

}  // namespace vandrel
