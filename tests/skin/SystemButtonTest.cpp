// Caption buttons of both families against a stand-in for the skinned window: which buttons show
// in each window state and with which border icons, the press tracking, the nine actions, handlers
// that free the control, and the roll panel.
#include <gtest/gtest.h>

#include <functional>

#include "framework/Control.h"
#include "skin/SkinMessages.h"
#include "skin/SkinnedWindow.h"
#include "skin/SystemButton.h"

namespace vandrel::test {
namespace {

class TFakeSkinnedWindow : public ISeSkinnedWindow {
 public:
  std::string calls;
  TSeSkinObject* customSender = nullptr;
  TSeWindowState state = kwsNormal;
  TSeBorderIcons icons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray};
  std::function<void()> onAction;

  bool Active() const override { return true; }
  HWND Handle() const override { return HWND(); }
  bool AllowsSizing() const override { return true; }
  TSeWindowState WindowState() const override { return state; }
  TSeBorderIcons BorderIcons() const override { return icons; }
  bool PaintChildBackground(TMessage&) override { return false; }
  void Close() override { Record("close "); }
  void Help() override { Record("help "); }
  void Minimize() override { Record("minimize "); }
  void Maximize() override { Record("maximize "); }
  void Restore() override { Record("restore "); }
  void Rollup() override { Record("rollup "); }
  void MinimizeToTray() override { Record("tray "); }
  void ShowSystemMenu() override { Record("sysmenu "); }
  void CustomAction(TSeSkinObject* button) override {
    customSender = button;
    Record("custom ");
  }

 private:
  void Record(const char* call) {
    calls += call;
    if (onAction) onAction();
  }
};

// A control whose window is the fake skinned window's: it answers the form query and counts the
// object-changed notifications, running onChanged on each.
class TFramedControl : public TControl {
 public:
  TFramedControl(TFakeSkinnedWindow& window) : TControl(nullptr), m_window(window) {}
  int changes = 0;
  std::function<void()> onChanged;
  void WndProc(TMessage& message) override {
    if (AnswerFormQuery(message, m_window)) return;
    if (IsObjectChanged(message)) {
      ++changes;
      if (onChanged) onChanged();
      return;
    }
    TControl::WndProc(message);
  }

 private:
  TFakeSkinnedWindow& m_window;
};

constexpr TSeAction kActions[] = {sbaNone, sbaClose, sbaHelp, sbaMinimize, sbaMaximize, sbaRestore,
                                  sbaRollUp, sbaRollDown, sbaTray, sbaSysMenu, sbaRollPanel, sbaCustom};

// A frame with one button of each action (first family, or second), named after the action.
template <typename Button>
TSeSkinObject* Frame(TComponent* owner) {
  auto* frame = new TSeSkinObject(owner);
  frame->SetName("Form");
  for (TSeAction action : kActions) {
    auto* b = new Button(frame);
    b->SetName(std::string(kSeActionNames[action]));
    b->SetAction(action);
    b->SetBounds({0, 0, 20, 20});
  }
  return frame;
}

std::string Visible(TSeSkinObject& frame) {
  std::string shown;
  for (int i = 0; i < frame.Count(); ++i)
    if (frame.Objects(i)->Visible()) shown += frame.Objects(i)->Name().substr(3) + " ";
  return shown;
}

template <typename Button>
void CheckVisibilityTable() {
  TFakeSkinnedWindow window;
  TFramedControl control(window);
  TSeSkinObject* frame = Frame<Button>(&control);
  // Before the control is set nobody answers: visibility stays as it is.
  frame->SetState(kStateMaximized);
  EXPECT_EQ(Visible(*frame), "None Close Help Minimize Maximize Restore RollUp RollDown Tray SysMenu RollPanel Custom ");
  frame->SetControl(&control);
  const std::pair<int, const char*> table[] = {
      {kStateNormal, "None Close Help Minimize Maximize RollUp Tray SysMenu RollPanel Custom "},
      {kStateMaximized, "None Close Help Minimize Restore RollUp Tray SysMenu RollPanel Custom "},
      {kStateMinimized, "None Close Help Restore Tray SysMenu RollPanel Custom "},
      {kStateRolledUp, "None Close Help Minimize Maximize RollDown Tray SysMenu RollPanel Custom "},
      {kStateHot, "None Close Help Minimize Maximize RollDown Tray SysMenu RollPanel Custom "},  // unchanged
      {kStateNormal, "None Close Help Minimize Maximize RollUp Tray SysMenu RollPanel Custom "},
  };
  for (auto [state, shown] : table) {
    frame->SetState(state);
    EXPECT_EQ(Visible(*frame), shown) << state;
  }
  // A missing border icon hides its buttons whatever the state.
  window.icons = {kbiClose, kbiMinimize};
  frame->SetState(kStateMaximized);
  EXPECT_EQ(Visible(*frame), "None Close Minimize RollPanel Custom ");
  window.icons = {kbiMaximize, kbiRollup, kbiHelp, kbiTray, kbiSystemMenu};
  frame->SetState(kStateNormal);
  EXPECT_EQ(Visible(*frame), "None Help Maximize RollUp Tray SysMenu RollPanel Custom ");
}

TEST(SystemButtonTest, VisibilityFollowsTheWindowStateAndBorderIcons) {
  CheckVisibilityTable<TSeSystemButton>();
  CheckVisibilityTable<TSeSysButtonSkinObject>();
}

template <typename Button>
void CheckActions() {
  TFakeSkinnedWindow window;
  TFramedControl control(window);
  TSeSkinObject* frame = Frame<Button>(&control);
  frame->SetControl(&control);
  const std::pair<TSeAction, const char*> table[] = {
      {sbaNone, ""},           {sbaClose, "close "},     {sbaHelp, "help "},       {sbaMinimize, "minimize "},
      {sbaMaximize, "maximize "}, {sbaRestore, "restore "}, {sbaRollUp, "rollup "},   {sbaRollDown, "restore "},
      {sbaTray, "tray "},      {sbaSysMenu, "sysmenu "}, {sbaRollPanel, ""},       {sbaCustom, "custom "},
  };
  for (auto [action, call] : table) {
    window.calls.clear();
    TSeSkinObject* button = frame->Objects(int(action));
    button->MouseEnter();
    button->MouseDown(mbLeft, {1, 1});
    button->MouseUp(mbLeft, {1, 1});
    EXPECT_EQ(window.calls, call) << kSeActionNames[action];
  }
  EXPECT_EQ(window.customSender, frame->Objects(sbaCustom));
  // A double click closes the window only from the system-menu button.
  window.calls.clear();
  frame->Objects(sbaSysMenu)->DblClick(mbLeft, {});
  frame->Objects(sbaSysMenu)->DblClick(mbRight, {});
  frame->Objects(sbaClose)->DblClick(mbLeft, {});
  EXPECT_EQ(window.calls, "close ");
}

TEST(SystemButtonTest, EachActionReachesTheWindowOnRelease) {
  CheckActions<TSeSystemButton>();
  CheckActions<TSeSysButtonSkinObject>();
}

template <typename Button>
void CheckTracking() {
  TFakeSkinnedWindow window;
  TFramedControl control(window);
  Button button(nullptr);
  button.SetAction(sbaClose);
  // Without a control the button tracks the mouse but has nobody to tell or act on.
  button.MouseDown(mbLeft, {});
  button.MouseUp(mbLeft, {});
  EXPECT_EQ(button.ButtonState(), sbsHot);
  button.MouseLeave();
  button.SetControl(&control);

  button.MouseEnter();
  EXPECT_EQ(button.ButtonState(), sbsHot);
  EXPECT_EQ(control.changes, 1);
  button.MouseDown(mbRight, {});
  EXPECT_EQ(button.ButtonState(), sbsHot);
  button.MouseDown(mbLeft, {});
  EXPECT_EQ(button.ButtonState(), sbsPressed);
  button.MouseLeave();
  EXPECT_EQ(button.ButtonState(), sbsNormal);
  // Back in with the left button still held: pressed again, and the release clicks.
  button.MouseMove(TShiftState{ssLeft}, {});
  button.MouseEnter();
  EXPECT_EQ(button.ButtonState(), sbsPressed);
  button.MouseUp(mbRight, {});
  EXPECT_EQ(window.calls, "");
  button.MouseUp(mbLeft, {});
  EXPECT_EQ(button.ButtonState(), sbsHot);
  EXPECT_EQ(window.calls, "close ");
  // A release that did not start on the button does nothing; the held button is forgotten.
  button.MouseUp(mbLeft, {});
  EXPECT_EQ(window.calls, "close ");
  button.MouseLeave();
  button.MouseEnter();
  EXPECT_EQ(button.ButtonState(), sbsHot);
  const int before = control.changes;
  button.MouseMove(TShiftState{}, {});
  EXPECT_EQ(control.changes, before);
}

TEST(SystemButtonTest, PressTrackingFollowsTheMouse) {
  CheckTracking<TSeSystemButton>();
  CheckTracking<TSeSysButtonSkinObject>();
}

// The control owns the button's tree; handlers that free it must leave nothing touching it.
TEST(SystemButtonTest, HandlersMayFreeTheControlThatOwnsTheButton) {
  TFakeSkinnedWindow window;
  {
    auto* control = new TFramedControl(window);
    TSeSkinObject* frame = Frame<TSeSystemButton>(control);
    frame->SetControl(control);
    TSeSkinObject* close = frame->Objects(sbaClose);
    close->MouseDown(mbLeft, {});
    window.onAction = [&] { delete control; };
    close->MouseUp(mbLeft, {});
    EXPECT_EQ(window.calls, "close ");
    window.onAction = nullptr;
  }
  {
    // Freed by the repaint notification before the action: the action is not performed.
    window.calls.clear();
    auto* control = new TFramedControl(window);
    TSeSkinObject* frame = Frame<TSeSysButtonSkinObject>(control);
    frame->SetControl(control);
    TSeSkinObject* close = frame->Objects(sbaClose);
    close->MouseDown(mbLeft, {});
    control->onChanged = [&] { delete control; };
    close->MouseUp(mbLeft, {});
    EXPECT_EQ(window.calls, "");
  }
}

TEST(SystemButtonTest, RollPanelRollsAlongItsSideAndBack) {
  struct Case {
    TSeRollKind kind;
    TRect rolled;
  } cases[] = {
      {rkTop, {10, 100, 60, 120}},
      {rkBottom, {10, 20, 60, 40}},
      {rkLeft, {40, 20, 60, 120}},
      {rkRight, {10, 20, 30, 120}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    TSeSkinObject root(nullptr);
    auto* panel = new TSeRollPanelObject(&root);
    panel->SetRollKind(c.kind);
    panel->SetRollValue(20);
    auto* content = new TSeSkinObject(panel);
    content->SetAlign(saClient);
    panel->SetBounds({10, 20, 60, 120});
    panel->Roll();
    EXPECT_EQ(panel->BoundsRect(), c.rolled);
    EXPECT_EQ(content->BoundsRect(), c.rolled);  // the children follow
    panel->Roll();
    EXPECT_EQ(panel->BoundsRect(), (TRect{10, 20, 60, 120}));
    EXPECT_EQ(content->BoundsRect(), (TRect{10, 20, 60, 120}));
  }
  // Without an owner there is nothing to roll inside; at its rolled size from the start there is
  // no size to come back to.
  TSeRollPanelObject lone(nullptr);
  lone.SetRollKind(rkTop);
  lone.SetBounds({0, 0, 10, 100});
  lone.Roll();
  EXPECT_EQ(lone.Height(), 100);
  TSeSkinObject root(nullptr);
  auto* small = new TSeRollPanelObject(&root);
  small->SetRollKind(rkTop);
  small->SetRollValue(20);
  small->SetBounds({0, 0, 10, 20});
  small->Roll();
  EXPECT_EQ(small->BoundsRect(), (TRect{0, 0, 10, 20}));
}

TEST(SystemButtonTest, RollPanelButtonRollsThePanelItNamesAnywhereInItsTree) {
  TFakeSkinnedWindow window;
  TFramedControl control(window);
  TSeSkinObject root(nullptr);
  auto* panel = new TSeRollPanelObject(&root);
  panel->SetName("Shade");
  panel->SetRollKind(rkTop);
  panel->SetRollValue(20);
  panel->SetBounds({0, 0, 50, 100});
  auto* other = new TSeSkinObject(&root);
  other->SetName("Plain");
  other->SetBounds({0, 0, 50, 100});
  auto* caption = new TSeSkinObject(&root);
  auto* button = new TSeSysButtonSkinObject(caption);
  button->SetAction(sbaRollPanel);
  button->SetRollPanel("SHADE");
  root.SetControl(&control);
  auto click = [&] {
    button->MouseDown(mbLeft, {});
    button->MouseUp(mbLeft, {});
  };
  click();
  EXPECT_EQ(panel->BoundsRect(), (TRect{0, 80, 50, 100}));
  click();
  EXPECT_EQ(panel->Height(), 100);
  // A name of an object of another kind, or of nothing, does nothing.
  button->SetRollPanel("Plain");
  click();
  EXPECT_EQ(other->BoundsRect(), (TRect{0, 0, 50, 100}));
  button->SetRollPanel("Nowhere");
  click();
  EXPECT_EQ(window.calls, "");
  // The first family's button has no roll panel to roll.
  auto* first = new TSeSystemButton(caption);
  first->SetAction(sbaRollPanel);
  first->MouseDown(mbLeft, {});
  first->MouseUp(mbLeft, {});
  EXPECT_EQ(panel->Height(), 100);
}

}  // namespace
}  // namespace vandrel::test
