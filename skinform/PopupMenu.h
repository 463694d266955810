// TSeCustomPopupMenu: a context menu whose levels are skinned popup windows. It owns the root
// item; only one such menu is open at a time in the process.
#pragma once

#include "framework/PopupMenu.h"

namespace vandrel {

class TSeCustomItem;
class TSePopupMenuOptions;

class TSeCustomPopupMenu : public TPopupMenu {
  VANDREL_CLASS_INFO
 public:
  explicit TSeCustomPopupMenu(TComponent* owner);
  ~TSeCustomPopupMenu() override;

  TSeCustomItem* Items() const { return m_items; }
  // Given to every item when the menu pops up; null leaves the items without options.
  TSePopupMenuOptions* PopupMenuOptions() const { return m_options; }
  void SetPopupMenuOptions(TSePopupMenuOptions* options) { m_options = options; }

  // Closes another open skinned menu first, then shows the root's children at (x, y) and runs the
  // menu until it closes. The chosen item's click runs afterwards, from the click window.
  void Popup(int x, int y) override;

  // The menu whose Popup is running, or null.
  static TSeCustomPopupMenu* CurrentPopupMenu();

 private:
  TSeCustomItem* m_items;
  TSePopupMenuOptions* m_options = nullptr;
};

}  // namespace vandrel
