// Shared fixture of the window tests: a virtual screen, manual time, and a window class that
// records the messages its windows receive and lets a test answer some of them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/display/HeadlessScreen.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TickClock.h"
#include "platform/win/Window.h"

namespace vandrel::test {

struct TLogged {
  HWND Window;
  UINT Message;
  WPARAM WParam;
  LPARAM LParam;
};

class WinTest : public ::testing::Test {
 public:
  using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

 protected:
  void SetUp() override {
    m_ticks = std::make_unique<ScopedManualTicks>();
    m_screen = THeadlessScreen::Create({640, 480});
    Current() = this;
    WNDCLASS cls;
    cls.lpszClassName = "rec";
    cls.style = CS_DBLCLKS;
    cls.hbrBackground = clWhite;
    cls.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      WinTest* t = Current();
      if (t) {
        t->m_log.push_back({h, m, w, l});
        if (auto it = t->m_handlers.find(h); it != t->m_handlers.end())
          if (auto r = it->second(h, m, w, l)) return *r;
      }
      return DefWindowProc(h, m, w, l);
    });
    RegisterClass(cls);
  }

  void TearDown() override {
    m_handlers.clear();
    while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
    ReleaseCapture();
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    Current() = nullptr;
    m_screen.reset();
    m_ticks.reset();
  }

  static WinTest*& Current() {
    static WinTest* current = nullptr;
    return current;
  }

  HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, DWORD ex = 0) {
    return CreateWindowEx(ex, "rec", "top", style, x, y, w, h, nullptr);
  }
  HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE) {
    return CreateWindowEx(0, "rec", "child", style, x, y, w, h, parent);
  }
  void On(HWND h, Handler f) { m_handlers[h] = std::move(f); }

  // Messages of one kind (or all, for 0) as they arrived, optionally for one window.
  std::vector<UINT> Messages(HWND h = nullptr) const {
    std::vector<UINT> out;
    for (auto& e : m_log)
      if (!h || e.Window == h) out.push_back(e.Message);
    return out;
  }
  std::vector<TLogged> Of(UINT msg, HWND h = nullptr) const {
    std::vector<TLogged> out;
    for (auto& e : m_log)
      if (e.Message == msg && (!h || e.Window == h)) out.push_back(e);
    return out;
  }
  // The messages among `interesting` in arrival order.
  std::vector<UINT> Filtered(std::initializer_list<UINT> interesting, HWND h = nullptr) const {
    std::vector<UINT> out;
    for (auto& e : m_log)
      if ((!h || e.Window == h) && std::find(interesting.begin(), interesting.end(), e.Message) != interesting.end())
        out.push_back(e.Message);
    return out;
  }
  void ClearLog() { m_log.clear(); }
  void Pump() { ProcessPendingMessages(); }

  std::unique_ptr<ScopedManualTicks> m_ticks;
  std::unique_ptr<THeadlessScreen> m_screen;
  std::vector<TLogged> m_log;
  std::map<HWND, Handler> m_handlers;
};

}  // namespace vandrel::test
