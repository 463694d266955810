// Shared fixture of the skinned-window tests: a virtual screen, manual time, an application, and
// forms whose skinned-window component is made the way a stored form makes it (loading, then
// Loaded), so that the hook is installed as in the program.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Loading.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickClock.h"
#include "platform/win/Window.h"
#include "skinform/SkinForm.h"

namespace vandrel::test {

class SkinFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_ticks = std::make_unique<ScopedManualTicks>();
    m_screen = THeadlessScreen::Create({800, 600});
    m_app = std::make_unique<TApplication>();
  }

  void TearDown() override {
    m_app.reset();
    while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
    ReleaseCapture();
    Drain();
    m_screen.reset();
    m_ticks.reset();
  }

  static void Drain() {
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(msg);
  }

  TForm* NewForm(TFormBorderStyle border = bsSizeable) {
    auto* f = m_app->CreateForm<TForm>();
    f->SetBorderStyle(border);
    f->SetBounds(100, 100, 300, 200);
    f->SetCaption("Form");
    return f;
  }

  // A skinned-window component on form, set up while loading as a stored form would be.
  TSeSkinForm* NewSkinForm(TForm* form, const std::function<void(TSeSkinForm&)>& setup = {}) {
    TLoadingScope loading(form);
    auto* skin = loading.Create<TSeSkinForm>();
    if (setup) setup(*skin);
    loading.End();
    return skin;
  }

  void Pump() { m_app->ProcessMessages(); }

  std::unique_ptr<ScopedManualTicks> m_ticks;
  std::unique_ptr<THeadlessScreen> m_screen;
  std::unique_ptr<TApplication> m_app;
};

}  // namespace vandrel::test
