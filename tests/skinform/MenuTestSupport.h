// Shared fixture of the menu tests that open real menus: a virtual screen with manual time, an
// active form that owns a skinned popup menu, and a script of input steps that runs whenever a
// menu loop waits for messages. A loop that waits after the script has run out fails the test
// with an exception instead of hanging.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickClock.h"
#include "platform/win/Window.h"
#include "skinform/MenuItem.h"
#include "skinform/PopupMenu.h"

namespace vandrel::test {

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_ticks = std::make_unique<ScopedManualTicks>();
    m_screen = THeadlessScreen::Create({800, 600});
    m_app = std::make_unique<TApplication>();
    m_form = m_app->CreateForm<TForm>();
    m_form->SetBorderStyle(bsNone);
    m_form->SetBounds(50, 50, 300, 200);
    m_form->Show();
    SetForegroundWindow(m_form->Handle());
    m_menu = new TSeCustomPopupMenu(m_form);
    // The pointer stays where an earlier test left it; a menu's hot item follows it.
    m_screen->MouseMove({5, 5});
    m_app->ProcessMessages();
    m_screen->SetIdleHandler([this] {
      if (m_script.empty()) return false;
      auto step = std::move(m_script.front());
      m_script.pop_front();
      step();
      return true;
    });
  }

  void TearDown() override {
    m_screen->SetIdleHandler(nullptr);
    m_app.reset();
    while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
    ReleaseCapture();
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    m_screen.reset();
    m_ticks.reset();
  }

  // A child of `parent` (the menu's root by default) that logs its click.
  TSeCustomItem* Add(const std::string& caption, TSeCustomItem* parent = nullptr) {
    auto* item = new TSeCustomItem(m_form);
    item->SetCaption(caption);
    (parent ? parent : m_menu->Items())->Add(item);
    item->OnClick = [this, caption](TPersistent*) { m_clicks.push_back(caption); };
    return item;
  }

  // Script steps, each run when a loop waits.
  void Then(std::function<void()> step) { m_script.push_back(std::move(step)); }
  void Key(int vk, char32_t ch = 0) {
    Then([this, vk, ch] { m_screen->KeyPress(vk, ch); });
  }
  void Move(TPoint p) {
    Then([this, p] { m_screen->MouseMove(p); });
  }
  void ClickAt(TPoint p) {
    Then([this, p] { m_screen->Click(p); });
  }

  // Pops the menu up and returns once it has closed; the clicks have not run yet.
  void Open(TPoint at = {100, 100}) { m_menu->Popup(at.X, at.Y); }
  void Pump() { m_app->ProcessMessages(); }

  // The visible menu windows, front first (the capture window is the outermost one).
  static std::vector<HWND> MenuWindows() {
    std::vector<HWND> windows;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
      if (IsWindowVisible(w) && (GetWindowLong(w, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
          (GetWindowLong(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        windows.push_back(w);
    return windows;
  }

  std::unique_ptr<ScopedManualTicks> m_ticks;
  std::unique_ptr<THeadlessScreen> m_screen;
  std::unique_ptr<TApplication> m_app;
  TForm* m_form = nullptr;
  TSeCustomPopupMenu* m_menu = nullptr;
  std::deque<std::function<void()>> m_script;
  std::vector<std::string> m_clicks;
};

}  // namespace vandrel::test
