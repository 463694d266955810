// TSeCustomItem: one node of a skinned menu tree. It owns the order of its children (not their
// memory: items are components owned by their form), runs its click after the menu has closed,
// keeps its values with a linked action, and finds items by shortcut and by accelerator.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Actions.h"
#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "platform/core/Geometry.h"
#include "platform/win/WinTypes.h"

namespace vandrel {

class TCanvas;
class TControl;
class TCustomImageList;
class TSeCustomItem;
class TSeItemView;
class TSePopupForm;
class TSePopupMenuOptions;
class TSePopupWindow;

// Menu-bar button kinds; popups only hold normal items.
enum TSeItemButtonKind { kbkNormal = 0, kbkClose = 1, kbkRestore = 2, kbkMinimize = 3, kbkWindowIcon = 4 };

// Called with the item that changed; a root item is told about its own changes twice.
using TSeItemChangeEvent = std::function<void(TSeCustomItem* sender, TSeCustomItem* changed)>;

class TSeCustomItemActionLink : public TActionLink {
 public:
  explicit TSeCustomItemActionLink(TSeCustomItem* client) : m_client(client) {}
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  bool IsHelpContextLinked() const;
  bool IsShortCutLinked() const;

 protected:
  void Change() override;

 private:
  // The action's values as last applied: a property is linked while the item still holds them.
  struct TValues {
    std::string Caption, Hint;
    bool Checked = false, Enabled = true, Visible = true;
    int ImageIndex = -1;
    TShortCut ShortCut = 0;
  };
  TValues Current() const;
  TSeCustomItem* m_client;
  TValues m_applied;
  bool m_hasApplied = false;
};

class TSeCustomItem : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomItem(TComponent* owner);
  // Frees the children and leaves the parent.
  ~TSeCustomItem() override;

  // The tree. Insert raises EComponentError "Toolbar item already inserted" for an item that has
  // a parent (the tree is left unchanged); an index out of range appends.
  int Count() const { return int(m_items.size()); }
  TSeCustomItem* Items(int index) const;
  TSeCustomItem* Parent() const { return m_parent; }
  TSeCustomItem* Root();
  int IndexOf(const TSeCustomItem* item) const;
  void Add(TSeCustomItem* item) { Insert(Count(), item); }
  void Insert(int index, TSeCustomItem* item);
  void Remove(TSeCustomItem* item);

  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  int HelpContext() const { return m_helpContext; }
  void SetHelpContext(int value) { m_helpContext = value; }
  const std::string& Hint() const { return m_hint; }
  void SetHint(const std::string& value) { m_hint = value; }
  TComponent* ParentComponent() const { return m_parentComponent; }
  void SetParentComponent(TComponent* component) { m_parentComponent = component; }
  bool Checked() const { return m_checked; }
  void SetChecked(bool value);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value);
  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& value);
  int ImageIndex() const { return m_imageIndex; }
  void SetImageIndex(int value);
  TCustomImageList* Images() const { return m_images; }
  void SetImages(TCustomImageList* images);
  // The item's own list, else the root's.
  TCustomImageList* EffectiveImages();
  bool Scrolled() const { return m_scrolled; }
  void SetScrolled(bool value);
  int ScrollCount() const { return m_scrollCount; }
  void SetScrollCount(int value);
  TShortCut ShortCut() const { return m_shortCut; }
  void SetShortCut(TShortCut value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);
  TNotifyEvent OnClick;
  TNotifyEvent OnBeforeDropDown;

  bool IsSeparator() const { return m_caption == "-"; }
  TSeItemChangeEvent OnChange;

  // Queues the click so that it runs once the menu windows are gone (runs it at once when no click
  // window exists). Nothing for a separator, a disabled item or an item with children.
  void Click();
  // The click itself: OnClick, or the linked action.
  virtual void RunClick();
  // A key press (WM_KEYDOWN or WM_SYSKEYDOWN; Shift and Ctrl from the key state, Alt from the
  // message) matched against the shortcuts of the tree; clicks the path down to the found item.
  bool IsShortCut(const TMessage& message);
  bool IsShortCut(TShortCut shortCut);
  // The first child whose caption marks `ch` (compared upper-cased) with "&".
  TSeCustomItem* FindAccelerator(char32_t ch) const;

  // Shows the children; view = the view that opens this level (none for a context menu), (x, y) the
  // anchor, exclude the opening item's screen rectangle. Defined by the popup window code.
  void Popup(TSeItemView* view, int x, int y, const TRect& exclude);

  // State shared with the menu windows. The setters that say so apply to the whole subtree.
  TSeItemButtonKind ButtonKind() const { return m_buttonKind; }
  void SetButtonKind(TSeItemButtonKind kind) { m_buttonKind = kind; }
  TSePopupMenuOptions* Options() const { return m_options; }
  void SetOptions(TSePopupMenuOptions* options);  // subtree
  TControl* OwnerControl() const { return m_ownerControl; }
  void SetOwnerControl(TControl* control);  // subtree
  bool RightToLeft() const { return m_rightToLeft; }
  void SetRightToLeft(bool value);  // subtree
  bool ToolbarStyle() const { return m_toolbarStyle; }
  void SetToolbarStyle(bool value);  // subtree
  bool Foreground() const { return m_foreground; }
  void SetForeground(bool value);  // subtree
  bool Animate() const { return m_animate; }
  void SetAnimate(bool value);  // subtree
  bool PopupMenuItem() const { return m_popupMenuItem; }
  void SetPopupMenuItem(bool value);  // subtree
  int ScrollPosition() const { return m_scrollPosition; }
  void SetScrollPosition(int value) { m_scrollPosition = value; }
  bool HiddenForDrawing() const { return m_hiddenForDrawing; }
  void SetHiddenForDrawing(bool value) { m_hiddenForDrawing = value; }
  const TRect& ItemRect() const { return m_itemRect; }
  void SetItemRect(const TRect& r) { m_itemRect = r; }

  // Measuring and drawing (the unskinned look here; skinned items override).
  virtual TSize Measure(TCanvas& canvas, const TSeItemView& view);
  virtual void DrawItem(TCanvas& canvas, const TSeItemView& view, bool notTracking, bool hot, const TRect& r);
  virtual void DrawScrollButton(TCanvas& canvas, bool hot, bool up, const TRect& r);
  // The frame of the windows that show this item's children.
  virtual TSePopupForm* CreatePopupForm(TSePopupWindow* window);

  // True while this item is alive; a queued click checks it before running.
  static bool IsLive(const TSeCustomItem* item);
  // A number given to each item at creation, never reused; 0 for an item that is not alive.
  static std::uint64_t Serial(const TSeCustomItem* item);

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  friend class TSeCustomItemActionLink;
  void ActionChange(TBasicAction* action, bool checkDefaults);
  void Changed();
  template <typename F>
  void ForSubtree(F&& f);

 private:
  std::vector<TSeCustomItem*> m_items;
  TSeCustomItem* m_parent = nullptr;
  std::unique_ptr<TSeCustomItemActionLink> m_actionLink;
  int m_helpContext = 0;
  std::string m_hint;
  TComponent* m_parentComponent = nullptr;
  bool m_checked = false;
  bool m_enabled = true;
  std::string m_caption;
  int m_imageIndex = -1;
  TCustomImageList* m_images = nullptr;
  bool m_scrolled = false;
  int m_scrollCount = 0;
  TShortCut m_shortCut = 0;
  bool m_visible = true;

  TSeItemButtonKind m_buttonKind = kbkNormal;
  TSePopupMenuOptions* m_options = nullptr;
  TControl* m_ownerControl = nullptr;
  bool m_rightToLeft = false;
  bool m_toolbarStyle = false;
  bool m_foreground = false;
  bool m_animate = false;
  bool m_popupMenuItem = false;
  int m_scrollPosition = 0;
  bool m_hiddenForDrawing = false;
  TRect m_itemRect;
};

// The platform's text for a shortcut: "Shift+Ctrl+A", "Alt+F4", "Del"; empty for 0.
std::string ShortCutToText(TShortCut shortCut);

}  // namespace vandrel
