#include "skinform/MenuClickHandler.h"

#include "framework/Application.h"
#include "platform/win/DisplayBackend.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "skin/SkinMessages.h"
#include "skinform/MenuItem.h"

namespace vandrel {

namespace {

LRESULT ClickWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != SE_MENUCLICK) return DefWindowProc(hwnd, msg, wParam, lParam);
  auto* item = reinterpret_cast<TSeCustomItem*>(lParam);
  auto alive = [&] { return TSeCustomItem::IsLive(item) && TSeCustomItem::Serial(item) == std::uint64_t(wParam); };
  if (!alive()) return 0;
  // What the closing menus left queued (repaints of the windows below) goes first.
  if (TApplication* app = Application()) app->ProcessMessages();
  if (alive()) item->RunClick();
  return 0;
}

}  // namespace

HWND MenuClickWindow() {
  static HWND window = nullptr;
  // The class is checked too: a new screen may have given the old handle to another window.
  if (IsWindow(window) && GetClassName(window) == "TSeClickHandler") return window;
  window = nullptr;
  if (!GetDisplayBackend()) return nullptr;
  static bool registered = false;
  if (!registered) {
    WNDCLASS cls;
    cls.lpfnWndProc = MakeWindowProc(ClickWindowProc);
    cls.lpszClassName = "TSeClickHandler";
    RegisterClass(cls);
    registered = true;
  }
  window = CreateWindowEx(WS_EX_TOOLWINDOW, "TSeClickHandler", "", WS_POPUP, 10000, 10000, 0, 0, nullptr);
  return window;
}

void PostMenuClick(HWND clickWindow, TSeCustomItem* item) {
  PostMessage(clickWindow, SE_MENUCLICK, WPARAM(TSeCustomItem::Serial(item)), reinterpret_cast<LPARAM>(item));
}

}  // namespace vandrel
