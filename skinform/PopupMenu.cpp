#include "skinform/PopupMenu.h"

#include "framework/Application.h"
#include "framework/PropertyInfo.h"
#include "framework/WinControl.h"
#include "platform/core/ScopeExit.h"
#include "platform/win/MessageQueue.h"
#include "skinform/MenuItem.h"
#include "skinform/PopupWindow.h"

namespace vandrel {

namespace {
TSeCustomPopupMenu* g_current = nullptr;
}

const TClassInfo& TSeCustomPopupMenu::StaticClassInfo() {
  using T = TSeCustomPopupMenu;
  static const TClassInfo info("TSeCustomPopupMenu", &TPopupMenu::StaticClassInfo(), ComponentFactory<T>(), {});
  return info;
}

TSeCustomPopupMenu::TSeCustomPopupMenu(TComponent* owner)
    : TPopupMenu(owner), m_items(new TSeCustomItem(this)) {}

TSeCustomPopupMenu::~TSeCustomPopupMenu() {
  if (g_current == this) g_current = nullptr;
}

TSeCustomPopupMenu* TSeCustomPopupMenu::CurrentPopupMenu() { return g_current; }

void TSeCustomPopupMenu::Popup(int x, int y) {
  if (g_current && g_current != this) {
    CloseOpenMenus();
    if (TApplication* app = Application()) app->ProcessMessages();
  }
  g_current = this;
  TSeCustomPopupMenu* self = this;
  TScopeExit done([self] {
    if (g_current == self) g_current = nullptr;
  });
  m_items->SetImages(Images());
  m_items->SetOptions(m_options);
  if (auto* control = dynamic_cast<TWinControl*>(Owner())) m_items->SetOwnerControl(control);
  m_items->SetAnimate(true);
  m_items->SetPopupMenuItem(true);
  TPopupMenu::Popup(x, y);  // OnPopup
  m_items->Popup(nullptr, x, y, TRect{});
}

}  // namespace vandrel
