#include "platform/os/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/display/HeadlessScreen.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Window.h"

namespace vandrel {
namespace {

class MessageBoxTest : public ::testing::Test {
 protected:
  MessageBoxTest() {
    WNDCLASS cls;
    cls.lpszClassName = "MessageBoxTestOwner";
    RegisterClass(cls);
    m_owner = CreateWindowEx(0, "MessageBoxTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                             nullptr);
  }
  ~MessageBoxTest() override { DestroyWindow(m_owner); }

  // Runs one step each time the box waits for input; a step sees the box and injects input.
  void Script(std::vector<std::function<void(HWND box)>> steps) {
    m_screen->SetIdleHandler([this, steps = std::move(steps), next = size_t(0)]() mutable {
      if (next >= steps.size()) return false;
      HWND box = GetActiveWindow();
      if (box == m_owner) return false;
      steps[next++](box);
      return true;
    });
  }
  // Screen position of the centre of button `index` of `count` in the bottom row of the box.
  static TPoint ButtonCentre(HWND box, int index, int count) {
    TRect client = ClientRect(box);
    int left = (client.Width() - (count * 75 + (count - 1) * 6)) / 2 + index * 81;
    TPoint p{left + 37, client.Bottom - 12 - 11};
    ClientToScreen(box, p);
    return p;
  }

  std::unique_ptr<THeadlessScreen> m_screen = THeadlessScreen::Create({1024, 768}, TRect{0, 0, 1024, 740});
  HWND m_owner = nullptr;
};

TEST_F(MessageBoxTest, KeysAnswerTheBoxAndTheOwnerIsDisabledMeanwhile) {
  const struct {
    UINT type;
    std::vector<int> keys;
    int result;
  } cases[] = {
      {MB_OK, {VK_RETURN}, IDOK},
      {MB_OK | MB_ICONERROR, {VK_ESCAPE}, IDOK},
      {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
      {MB_OKCANCEL, {VK_RIGHT, VK_SPACE}, IDCANCEL},
      {MB_YESNO, {VK_ESCAPE, VK_TAB, VK_RETURN}, IDNO},  // Escape cannot answer Yes/No
      {MB_YESNOCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, {VK_RIGHT, VK_RETURN}, IDYES},
  };
  for (const auto& c : cases) {
    bool ownerDisabled = false;
    std::string caption;
    std::vector<std::function<void(HWND)>> steps;
    for (int key : c.keys)
      steps.push_back([&, key](HWND box) {
        ownerDisabled = !IsWindowEnabled(m_owner);
        caption = GetWindowText(box);
        m_screen->KeyPress(key);
      });
    Script(steps);
    EXPECT_EQ(MessageBox(m_owner, "data.mdb \u4E0D\u5B58\u5728\uFF01", "Vandrel", c.type), c.result) << c.type;
    EXPECT_TRUE(ownerDisabled);
    EXPECT_EQ(caption, "Vandrel");
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_EQ(GetActiveWindow(), m_owner);
  }
}

TEST_F(MessageBoxTest, ClicksAnswerOnlyWhenReleasedOnTheButton) {
  Script({
      [&](HWND box) {  // press OK, slide off it, let go: nothing
        m_screen->MouseDown(ButtonCentre(box, 0, 2));
        m_screen->MouseMove({0, 0});
        m_screen->MouseUp({0, 0});
      },
      [&](HWND box) { m_screen->Click(ButtonCentre(box, 1, 2)); },
  });
  EXPECT_EQ(MessageBox(m_owner, "Question?", "Vandrel", MB_OKCANCEL), IDCANCEL);

  Script({[&](HWND box) { m_screen->Click(ButtonCentre(box, 0, 1)); }});
  EXPECT_EQ(MessageBox(nullptr, "Without an owner", "Vandrel", MB_OK), IDOK);

  // The owner stays on top of other windows: the box must still be the one under the click.
  SetWindowPos(m_owner, HWND_TOPMOST, 0, 0, 1024, 740, 0);
  Script({[&](HWND box) { m_screen->Click(ButtonCentre(box, 0, 1)); }});
  EXPECT_EQ(MessageBox(m_owner, "Above a window that stays on top", "Vandrel", MB_OK), IDOK);
}

TEST_F(MessageBoxTest, LongTextsWrapInsideTheWorkArea) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "A long failure message that goes on. ";
  TRect rect;
  Script({[&](HWND box) {
    rect = WindowRect(box);
    m_screen->KeyPress(VK_RETURN);
  }});
  EXPECT_EQ(MessageBox(m_owner, text, "Vandrel", MB_OK), IDOK);
  EXPECT_GT(rect.Height(), 100) << "the text was wrapped onto several lines";
  EXPECT_GE(rect.Left, 0);
  EXPECT_GE(rect.Top, 0);
  EXPECT_LE(rect.Right, 1024);
  EXPECT_LE(rect.Bottom, 740);
}

TEST_F(MessageBoxTest, ABoxNothingCanAnswerReturnsZero) {
  // No idle handler: no input can ever come.
  EXPECT_EQ(MessageBox(m_owner, "text", "Vandrel", MB_OK), 0);
  EXPECT_TRUE(IsWindowEnabled(m_owner));
  EXPECT_EQ(GetTopWindow(nullptr), m_owner) << "the box is gone";

  // A quit request ends the box and stays pending for the caller's loop.
  PostQuitMessage(3);
  Script({[&](HWND) {}});
  EXPECT_EQ(MessageBox(m_owner, "text", "Vandrel", MB_OK), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessage(msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, WPARAM(3));
}

TEST_F(MessageBoxTest, AHandlerThrowingInsideTheBoxLeavesTheOwnerUsable) {
  constexpr UINT kBoom = WM_USER + 9;
  WNDCLASS cls;
  cls.lpszClassName = "MessageBoxTestThrower";
  cls.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == kBoom) throw std::runtime_error("boom");
    return DefWindowProc(h, m, w, l);
  });
  RegisterClass(cls);
  HWND thrower = CreateWindowEx(0, "MessageBoxTestThrower", "", WS_POPUP, 0, 0, 10, 10, nullptr);
  bool ownerDisabled = false;
  Script({[&](HWND) {
    ownerDisabled = !IsWindowEnabled(m_owner);
    PostMessage(thrower, kBoom, 0, 0);
  }});
  EXPECT_THROW(MessageBox(m_owner, "text", "Vandrel", MB_OK), std::runtime_error);
  m_screen->SetIdleHandler(nullptr);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(m_owner));
  EXPECT_EQ(GetActiveWindow(), m_owner);
  DestroyWindow(thrower);
  EXPECT_EQ(GetTopWindow(nullptr), m_owner) << "the box is gone";
}

}  // namespace
}  // namespace vandrel
