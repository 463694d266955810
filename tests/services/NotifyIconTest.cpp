// The notification-area icon through the virtual screen's stand-in tray: the add/modify/delete
// rules, the callbacks, and what a window hears when the tray goes away.
#include "platform/services/NotifyIcon.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/display/HeadlessScreen.h"
#include "platform/gdi/Icon.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TrayHost.h"
#include "platform/win/Window.h"

namespace vandrel {
namespace {

constexpr UINT kTray = WM_APP + 5;

class NotifyIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASS cls;
    cls.lpszClassName = "NotifyIconTest";
    cls.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == kTray) Heard().push_back({w, l});
      return DefWindowProc(h, m, w, l);
    });
    RegisterClass(cls);
    m_window = CreateWindowEx(0, "NotifyIconTest", "", WS_POPUP, 0, 0, 10, 10, nullptr);
    Heard().clear();
  }
  void TearDown() override {
    DestroyWindow(m_window);
    DestroyIcon(m_icon);
  }

  static std::vector<std::pair<WPARAM, LPARAM>>& Heard() {
    static std::vector<std::pair<WPARAM, LPARAM>> heard;
    return heard;
  }
  NOTIFYICONDATA Data(UINT flags, const char* tip = "") const {
    NOTIFYICONDATA d;
    d.hWnd = m_window;
    d.uID = 7;
    d.uFlags = flags;
    d.uCallbackMessage = kTray;
    d.hIcon = m_icon;
    d.szTip = tip;
    return d;
  }

  std::unique_ptr<THeadlessScreen> m_screen = THeadlessScreen::Create({640, 480});
  HICON m_icon = CreateIconFromPixels(1, 1, std::vector<std::uint32_t>{0xFF0000FFu}.data());
  HWND m_window = nullptr;
};

TEST_F(NotifyIconTest, IconsNeedARunningTrayAndFollowTheRulesOfAddModifyDelete) {
  // No tray: nothing to add to, so the caller knows to minimise instead.
  EXPECT_FALSE(NotifyAreaAvailable());
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, Data(NIF_MESSAGE | NIF_ICON | NIF_TIP, "信息提示")));
  m_screen->SetTrayRunning(true);
  EXPECT_TRUE(NotifyAreaAvailable());
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, Data(NIF_MESSAGE | NIF_ICON | NIF_TIP, "信息提示")));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, Data(NIF_TIP, "again"))) << "the same icon added twice";
  // A change touches only the parts its flags name.
  ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, Data(NIF_TIP, "Vandrel")));
  ASSERT_EQ(m_screen->TrayIcons().size(), 1u);
  const TTrayIcon& icon = m_screen->TrayIcons()[0];
  EXPECT_EQ(icon.Tip, "Vandrel");
  EXPECT_EQ(icon.Icon, m_icon);
  EXPECT_EQ(icon.CallbackMessage, kTray);
  NOTIFYICONDATA other = Data(NIF_TIP);
  other.uID = 8;
  EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, other)) << "changing an icon that is not there";
  EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, other));
  EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, Data(0)));
  EXPECT_TRUE(m_screen->TrayIcons().empty());
  // A destroyed window takes its icons with it.
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, Data(NIF_MESSAGE | NIF_ICON)));
  DestroyWindow(m_window);
  EXPECT_TRUE(m_screen->TrayIcons().empty());
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, Data(NIF_MESSAGE | NIF_ICON)));
}

TEST_F(NotifyIconTest, TheWindowHearsTheMouseAndTheTrayGoingAway) {
  m_screen->SetTrayRunning(true);
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, Data(NIF_MESSAGE | NIF_ICON)));
  m_screen->TrayMouse(m_window, 7, WM_LBUTTONDBLCLK);
  m_screen->TrayMouse(m_window, 7, WM_RBUTTONUP);
  m_screen->TrayMouse(m_window, 9, WM_RBUTTONUP);  // no such icon
  ProcessPendingMessages();
  EXPECT_EQ(Heard(), (std::vector<std::pair<WPARAM, LPARAM>>{{7, WM_LBUTTONDBLCLK}, {7, WM_RBUTTONUP}}));
  Heard().clear();
  // The tray dies: the window hears its icon is gone, and the icon shows again with a new tray.
  m_screen->SetTrayRunning(false);
  ProcessPendingMessages();
  EXPECT_EQ(Heard(), (std::vector<std::pair<WPARAM, LPARAM>>{{7, NIN_ICONLOST}}));
  EXPECT_FALSE(NotifyAreaAvailable());
  EXPECT_EQ(m_screen->TrayIcons().size(), 1u);
  m_screen->SetTrayRunning(true);
  EXPECT_EQ(m_screen->TrayIcons().size(), 1u);
}

}  // namespace
}  // namespace vandrel
