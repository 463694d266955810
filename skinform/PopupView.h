// TSeItemView and TSePopupView: one open level of a menu. The view lays out the children of its
// item, tracks the hot item, draws through the item's operations and runs the modal menu loop;
// views of nested levels are chained parent to child while their loops run.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/Component.h"
#include "platform/core/Geometry.h"
#include "platform/win/WinTypes.h"
#include "skinform/MenuLayout.h"

namespace vandrel {

class TCanvas;
class TSeCustomItem;
struct TMenuCaptureState;

enum TSeScrollState { kssNone, kssUp, kssDown };

class TSeItemView : public TComponent {
 public:
  explicit TSeItemView(TComponent* owner);
  ~TSeItemView() override;

  TSeCustomItem* Item() const { return m_item; }
  void SetItem(TSeCustomItem* item);
  bool Vertical() const { return m_vertical; }
  void SetVertical(bool value) { m_vertical = value; }
  // Menu bars drop their submenus below the item; popups open them to the right.
  bool DropsDown() const { return m_dropsDown; }
  void SetDropsDown(bool value) { m_dropsDown = value; }
  TSeCustomItem* HotItem() const { return m_hotItem; }
  bool Tracking() const { return m_tracking; }
  bool SubmenuOpen() const { return m_submenuOpen; }
  TSeItemView* ParentView() const { return m_parentView; }
  TSeItemView* ChildView() const { return m_childView; }
  void SetParentView(TSeItemView* view);
  TSeScrollState ScrollState() const { return m_scrollState; }

  // Drawing target: the canvas the items draw on and where the content's top-left lies on it.
  TCanvas* Canvas() const { return m_canvas; }
  void SetCanvas(TCanvas* canvas) { m_canvas = canvas; }
  TPoint Origin() const { return m_origin; }
  void SetOrigin(TPoint origin) { m_origin = origin; }
  // The window that shows the view (null for a view drawn elsewhere); points arrive in screen
  // coordinates and are mapped through it.
  HWND Window() const { return m_window; }
  void SetWindow(HWND window) { m_window = window; }

  // Measures and stacks the children at the origin and stores each child's rectangle.
  const TSeMenuLayout& Relayout();
  const TSeMenuLayout& Layout() const { return m_layout; }
  TSize ContentSize() const { return m_layout.Content; }
  // Draws the scroll buttons (when scrolled) and every shown item not hidden for drawing.
  void PaintItems(TCanvas& canvas);
  // Called for the repaints the view asks for; the popup window draws or invalidates.
  std::function<void(TSeCustomItem* item)> OnRepaintItem;
  std::function<void(bool up)> OnRepaintScrollButton;
  std::function<void()> OnRepaintAll;

  // Hot tracking from a screen point; returns whether the hot item changed.
  bool TrackPoint(TPoint screen);
  void SetHotItem(TSeCustomItem* item);
  // Next/previous selectable child with wrapping and scrolling.
  void StepHot(bool forward);
  // The child under a screen point (in the shown range, visible), or null.
  TSeCustomItem* ItemAt(TPoint screen) const;

  // The modal menu loop of this level; returns when the level closes (a click, Escape, a click
  // elsewhere, losing the mouse capture) or the view is freed by code run inside the loop.
  void TrackMenu();
  // Ends the loops of this view and of every parent view.
  void CloseChain();
  // Opens the hot item's submenu and runs its loop (nothing for a disabled item, an item without
  // children, or while a scroll button is active).
  void OpenSubmenu();
  // The outermost view of the chain.
  TSeItemView* RootView();

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  std::vector<TSeMenuEntry> Entries() const;
  void RepaintItem(TSeCustomItem* item);
  void RepaintScrollButton(bool up);
  // The auto-scroll timer's step while the mouse rests on a scroll button.
  void AutoScroll();
  void StopScrollTimer();
  // One removed message of the loop; false to leave the loop.
  bool HandleLoopMessage(const MSG& msg);
  bool HandleKey(WPARAM key);
  void MouseButton(TPoint screen, bool down, bool& leave);

  TSeCustomItem* m_item = nullptr;
  bool m_vertical = true;
  bool m_dropsDown = false;
  TSeCustomItem* m_hotItem = nullptr;
  bool m_tracking = false;
  bool m_submenuOpen = false;
  TSeItemView* m_parentView = nullptr;
  TSeItemView* m_childView = nullptr;
  TCanvas* m_canvas = nullptr;
  TPoint m_origin;
  HWND m_window = nullptr;
  TSeMenuLayout m_layout;
  TSeScrollState m_scrollState = kssNone;
  UINT_PTR m_scrollTimer = 0;
  TPoint m_lastPoint{-100000, -100000};
  std::shared_ptr<TMenuCaptureState> m_capture;  // shared by the levels of one menu

};

// The innermost view whose menu loop runs, or null.
TSeItemView* ActiveMenuView();

class TSePopupView : public TSeItemView {
 public:
  explicit TSePopupView(TComponent* owner) : TSeItemView(owner) {}
};

}  // namespace vandrel
