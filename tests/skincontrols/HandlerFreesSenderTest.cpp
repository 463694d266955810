// A handler may free the control that fired it: each push control, driven through the real input
// path, must not touch itself after such a handler (run under ASan, a touch is a use after free).
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Button.h"
#include "platform/win/VirtualKeys.h"
#include "skincontrols/Button.h"
#include "skincontrols/CheckBox.h"
#include "skincontrols/CustomPanel.h"

namespace vandrel::test {
namespace {

struct TFreeCase {
  const char* name;
  // Makes the control on the form and hooks `free` (which deletes it) to the handler under test.
  std::function<TWinControl*(TForm* form, std::function<void()> free)> make;
  // Where the click goes, in the control's client coordinates; none: the space bar.
  std::optional<TPoint> click;
};

TEST_F(SkinControlsTest, AHandlerThatFreesItsSenderEndsTheInputQuietly) {
  auto freeing = [](auto* control, std::function<void()> free) {
    return [control, free](TPersistent* sender) {
      EXPECT_EQ(sender, control);
      std::function<void()> run = free;  // outlives the closure that the delete frees
      run();
    };
  };
  // A control whose OnClick frees it.
  auto clicking = [&](auto* control, std::function<void()> free) -> TWinControl* {
    control->OnClick = freeing(control, free);
    return control;
  };
  auto skinnedButton = [&](TForm* f, auto free) { return clicking(new TSeCustomButton(f), free); };
  auto checkBox = [&](TForm* f, auto free) { return clicking(new TSeCustomCheckBox(f), free); };
  auto classicButton = [&](TForm* f, auto free) { return clicking(new TButton(f), free); };
  const TPoint panelButton{-1, -1};  // the panel's caption button
  const std::vector<TFreeCase> cases = {
      {"skinned button, mouse", skinnedButton, TPoint{5, 5}},
      {"skinned button, space bar", skinnedButton, std::nullopt},
      {"check box, mouse", checkBox, TPoint{5, 5}},
      {"check box, space bar", checkBox, std::nullopt},
      {"panel button, before rolling", [&](TForm* f, auto free) {
         auto* p = new TSeCustomPanel(f);
         p->OnBeforeRoll = freeing(p, free);
         return p;
       }, panelButton},
      {"panel button, after rolling", [&](TForm* f, auto free) {
         auto* p = new TSeCustomPanel(f);
         p->OnRollup = freeing(p, free);
         return p;
       }, panelButton},
      {"panel button, hiding", [&](TForm* f, auto free) {
         auto* p = new TSeCustomPanel(f);
         p->SetButtonKind(pbkHide);
         p->OnHide = freeing(p, free);
         return p;
       }, panelButton},
      {"classic button, mouse", classicButton, TPoint{5, 5}},
      {"classic button, space bar", classicButton, std::nullopt},
  };
  for (const TFreeCase& k : cases) {
    SCOPED_TRACE(k.name);
    TForm* form = NewForm();
    form->SetBounds(100, 100, 200, 120);
    TWinControl* control = nullptr;
    bool freed = false;
    // The handler's own closure goes with the control: nothing of it is used after the delete.
    control = k.make(form, [&] {
      freed = true;
      delete control;
    });
    control->SetParent(form);
    control->SetBounds(10, 10, 120, 60);
    form->Show();
    Pump();
    if (k.click) {
      TPoint p = *k.click;
      if (auto* panel = dynamic_cast<TSeCustomPanel*>(control); panel && p.X < 0) {
        const TRect b = panel->ButtonRect();
        p = {b.Left + 3, b.Top + 3};
      }
      const TPoint at = control->ClientToScreen(p);
      m_screen->MouseMove(at);
      Pump();
      m_screen->Click(at);
    } else {
      control->SetFocus();
      Pump();
      m_screen->KeyPress(VK_SPACE);
    }
    Pump();
    EXPECT_TRUE(freed);
    EXPECT_EQ(form->ControlCount(), 0);
    delete form;
  }
}

}  // namespace
}  // namespace vandrel::test
