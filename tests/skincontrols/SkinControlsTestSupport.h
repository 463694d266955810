// Shared fixture of the skinned-control tests: a virtual screen, manual time, an application with
// a borderless form, and painting of a control into a bitmap through its real paint path.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Form.h"
#include "graphics/Bitmap.h"
#include "graphics/PixelBlend.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/TickClock.h"
#include "platform/win/Window.h"
#include "skin/SkinnedWindow.h"

namespace vandrel::test {

// Forces one blend kernel for a scope and gives the processor's own choice back on every way out.
class TBlendKernelScope {
 public:
  explicit TBlendKernelScope(bool lanes) : m_saved(UsingLaneBlend()) { ForceLaneBlend(lanes); }
  ~TBlendKernelScope() { ForceLaneBlend(m_saved); }
  TBlendKernelScope(const TBlendKernelScope&) = delete;
  TBlendKernelScope& operator=(const TBlendKernelScope&) = delete;

 private:
  bool m_saved;
};

// A form's skinned-window component as the controls see it; it lives and goes with its form, so
// no test leaves a skinned window behind.
class TSkinnedWindowStandIn : public TComponent, public ISeSkinnedWindow {
 public:
  using TComponent::TComponent;
  bool active = true;
  HWND handle = nullptr;
  bool allowsSizing = true;
  TSeWindowState state = kwsNormal;
  std::function<bool(TMessage&)> background;
  std::vector<std::string> actions;

  bool Active() const override { return active; }
  HWND Handle() const override { return handle; }
  bool AllowsSizing() const override { return allowsSizing; }
  TSeWindowState WindowState() const override { return state; }
  TSeBorderIcons BorderIcons() const override { return {kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize}; }
  bool PaintChildBackground(TMessage& request) override { return background && background(request); }
  void Close() override { actions.push_back("close"); }
  void Help() override { actions.push_back("help"); }
  void Minimize() override { actions.push_back("minimize"); }
  void Maximize() override { actions.push_back("maximize"); }
  void Restore() override { actions.push_back("restore"); }
  void Rollup() override { actions.push_back("rollup"); }
  void MinimizeToTray() override { actions.push_back("tray"); }
  void ShowSystemMenu() override { actions.push_back("system menu"); }
  void CustomAction(TSeSkinObject*) override { actions.push_back("custom"); }
};

class SkinControlsTest : public ::testing::Test {
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
    MSG msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    m_screen.reset();
    m_ticks.reset();
  }

  TForm* NewForm(TColor color = TColor(RGB(0, 0, 255))) {
    auto* f = m_app->CreateForm<TForm>();
    f->SetBorderStyle(bsNone);
    f->SetBounds(100, 100, 200, 120);
    f->SetColor(color);
    return f;
  }

  void Pump() { m_app->ProcessMessages(); }

  // The control's own paint (background request, frame, client, buffering) into a fresh bitmap.
  static std::unique_ptr<TseBitmap> Painted(TWinControl& control) {
    auto b = std::make_unique<TseBitmap>();
    b->SetSize(control.Width(), control.Height());
    b->Fill(0xFF00FF00);
    control.PaintTo(b->DC(), 0, 0);
    return b;
  }

  static COLORREF At(const TseBitmap& b, int x, int y) { return ColorFromPixel(b.Pixel(x, y)); }

  std::unique_ptr<ScopedManualTicks> m_ticks;
  std::unique_ptr<THeadlessScreen> m_screen;
  std::unique_ptr<TApplication> m_app;
};

}  // namespace vandrel::test
