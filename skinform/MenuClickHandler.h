// The hidden click window of the skinned menus: a chosen item's click is posted to it, so the
// click runs after every menu loop has ended and the menu windows are gone.
#pragma once

#include "platform/win/WinTypes.h"

namespace vandrel {

class TSeCustomItem;

// The click window, created on first use while a display is up; null without one.
HWND MenuClickWindow();
// Queues the item's click; the click is dropped when the item is freed before it runs.
void PostMenuClick(HWND clickWindow, TSeCustomItem* item);

}  // namespace vandrel
