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
#include "platform/gdi/Blit.h"
#include "platform/gdi/Surface.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
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

  // NewSkinForm bound to engine (when given), with the form shown.
  TSeSkinForm* ShownSkinForm(TForm* form, TSeSkinEngine* engine = nullptr) {
    TSeSkinForm* skin = NewSkinForm(form, [engine](TSeSkinForm& s) {
      if (engine) s.SetSkinEngine(engine);
    });
    ShowWindow(form->Handle(), SW_SHOW);
    Pump();
    return skin;
  }

  void Pump() { m_app->ProcessMessages(); }

  // The window as the display shows it, one 0x00RRGGBB value per pixel, top row first.
  std::vector<std::uint32_t> ShownPixels(HWND h) {
    auto surface = m_screen->CaptureWindow(h);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < surface->Height(); ++y)
      for (int x = 0; x < surface->Width(); ++x) pixels.push_back(surface->Pixel(x, y) & 0xFFFFFF);
    return pixels;
  }

  // Paints the frame in each buffering mode after marking a client pixel; expects the mark kept
  // and every mode showing the same window. The pixels of the first mode.
  std::vector<std::uint32_t> PixelsInEveryPerformanceMode(TSeCustomForm& skin, HWND h) {
    const TRect client = skin.GetClientArea();
    const size_t sentinel = size_t((client.Top + 5) * WindowRect(h).Width() + client.Left + 5);
    std::vector<std::uint32_t> first;
    for (TSeFormPerformance mode : {ksfpNoBuffer, ksfpSharedBuffer, ksfpPersistentBuffer, ksfpDoubleBuffer}) {
      SCOPED_TRACE(kFormPerformanceNames[mode]);
      HDC dc = GetDC(h);
      SetPixel(dc, 5, 5, RGB(1, 2, 3));
      ReleaseDC(h, dc);
      skin.SetPerformance(mode);
      skin.PaintNonClient();
      const auto pixels = ShownPixels(h);
      EXPECT_EQ(pixels[sentinel], 0x010203u);
      if (first.empty()) {
        first = pixels;
      } else {
        EXPECT_EQ(pixels, first);
      }
    }
    return first;
  }

  std::unique_ptr<ScopedManualTicks> m_ticks;
  std::unique_ptr<THeadlessScreen> m_screen;
  std::unique_ptr<TApplication> m_app;
};

}  // namespace vandrel::test
