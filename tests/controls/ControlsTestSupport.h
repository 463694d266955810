// Shared fixture of the control tests: a virtual screen, manual time, an application object, and
// small controls that record what happens to them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickClock.h"
#include "platform/win/Window.h"

namespace vandrel::test {

// A windowed control that fills itself with its colour and logs its notifications.
class TProbeControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  std::vector<std::string> Log;
  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case CM_MOUSEENTER: Log.push_back("enter"); break;
      case CM_MOUSELEAVE: Log.push_back("leave"); break;
      case CM_ENTER: Log.push_back("focus-enter"); break;
      case CM_EXIT: Log.push_back("focus-exit"); break;
      case CM_FOCUSCHANGED: Log.push_back("focus-changed"); break;
      default: break;
    }
    TCustomControl::Dispatch(m);
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
};

class TProbeGraphic : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  std::vector<std::string> Log;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER) Log.push_back("enter");
    if (m.Msg == CM_MOUSELEAVE) Log.push_back("leave");
    TGraphicControl::Dispatch(m);
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_ticks = std::make_unique<ScopedManualTicks>();
    m_screen = THeadlessScreen::Create({1024, 768});
    m_app = std::make_unique<TApplication>();
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

  // A shown form owned by the application, borderless at (left, top) with the given client size.
  TForm* NewForm(int left = 100, int top = 100, int width = 300, int height = 200) {
    auto* f = m_app->CreateForm<TForm>();
    f->SetBorderStyle(bsNone);
    f->SetBounds(left, top, width, height);
    return f;
  }

  void Pump() { m_app->ProcessMessages(); }
  // Screen point of a control's client point.
  TPoint At(const TControl* c, int x, int y) const { return c->ClientToScreen({x, y}); }

  std::unique_ptr<ScopedManualTicks> m_ticks;
  std::unique_ptr<THeadlessScreen> m_screen;
  std::unique_ptr<TApplication> m_app;
};

}  // namespace vandrel::test
