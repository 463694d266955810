// Controls and forms through the real message path on the virtual screen: alignment, mouse
// enter/leave, capture and clicks, focus and Tab, painting of windowless children, and an error
// in an event handler shown in the message box while the program goes on.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "framework/Button.h"
#include "framework/SizeConstraints.h"
#include "framework/Screen.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel::test {
namespace {

// A container whose children sit 4 pixels inside it, like the main window's panels.
// Only the mouse notifications of a probe's log.
std::vector<std::string> MouseLog(const std::vector<std::string>& log) {
  std::vector<std::string> out;
  for (auto& e : log)
    if (e == "enter" || e == "leave") out.push_back(e);
  return out;
}

class TInsetPanel : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;
  TRect GetClientRect() const override { return InflateRect(TProbeControl::GetClientRect(), -4, -4); }
};

TEST_F(ControlsTest, MainWindowLayoutAlignsTopBottomAndClientChildren) {
  TForm* form = m_app->CreateForm<TForm>();
  form->SetBorderStyle(bsSingle);
  form->SetClientWidth(382);
  form->SetClientHeight(536);
  auto* top = new TInsetPanel(form);
  top->SetParent(form);
  top->SetHeight(65);
  top->SetAlign(alTop);
  auto* image = new TProbeGraphic(form);
  image->SetParent(top);
  image->SetAlign(alClient);
  auto* rest = new TInsetPanel(form);
  rest->SetParent(form);
  rest->SetAlign(alClient);
  auto* status = new TProbeControl(form);
  status->SetParent(rest);
  status->SetHeight(22);
  status->SetAlign(alBottom);
  auto* tree = new TProbeControl(form);
  tree->SetParent(rest);
  tree->SetAlign(alClient);

  auto check = [&] {
    EXPECT_EQ(form->ClientRect(), Rect(0, 0, 382, 536));
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 382, 65));
    EXPECT_EQ(image->BoundsRect(), Rect(4, 4, 378, 61));
    EXPECT_EQ(rest->BoundsRect(), Rect(0, 65, 382, 536));
    EXPECT_EQ(status->BoundsRect(), Rect(4, 471 - 4 - 22, 378, 467));
    EXPECT_EQ(tree->BoundsRect(), Rect(4, 4, 378, 445));
  };
  check();  // before any window exists
  form->Show();
  Pump();
  check();  // with the windows and the real frame
  EXPECT_EQ(WindowRect(tree->Handle()), Bounds(tree->ClientOrigin().X, tree->ClientOrigin().Y, 374, 441));

  // A taller window gives the extra height to the client-aligned children only.
  form->SetClientHeight(600);
  Pump();
  EXPECT_EQ(top->Height(), 65);
  EXPECT_EQ(status->BoundsRect(), Rect(4, 535 - 4 - 22, 378, 531));
  EXPECT_EQ(tree->Height(), 505);
}

TEST_F(ControlsTest, AnchorsAndConstraintsFollowTheParent) {
  TForm* form = NewForm(0, 0, 200, 100);
  auto* right = new TProbeControl(form);
  right->SetParent(form);
  right->SetBounds(150, 10, 40, 20);
  right->SetAnchors(TAnchors{akTop, akRight});
  auto* stretch = new TProbeControl(form);
  stretch->SetParent(form);
  stretch->SetBounds(10, 40, 180, 50);
  stretch->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
  stretch->Constraints()->SetMaxHeight(60);
  form->Show();
  Pump();
  form->SetBounds(0, 0, 300, 200);
  EXPECT_EQ(right->BoundsRect(), Rect(250, 10, 290, 30));
  EXPECT_EQ(stretch->Width(), 280);
  EXPECT_EQ(stretch->Height(), 60);  // held by the constraint
}

TEST_F(ControlsTest, MouseEnterAndLeaveFollowThePointer) {
  TForm* form = NewForm();
  auto* win = new TProbeControl(form);
  win->SetParent(form);
  win->SetBounds(10, 10, 50, 50);
  auto* graphic = new TProbeGraphic(form);
  graphic->SetParent(form);
  graphic->SetBounds(100, 10, 50, 50);
  form->Show();
  Pump();

  m_screen->MouseMove(At(form, 120, 30));
  Pump();
  EXPECT_EQ(graphic->Log, (std::vector<std::string>{"enter"}));
  EXPECT_EQ(MouseControl(), graphic);
  m_screen->MouseMove(At(form, 20, 20));
  Pump();
  EXPECT_EQ(graphic->Log, (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(MouseLog(win->Log), (std::vector<std::string>{"enter"}));
  m_screen->MouseMove({5, 5});  // off the form
  Pump();
  EXPECT_EQ(MouseLog(win->Log), (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(MouseControl(), nullptr);
}

TEST_F(ControlsTest, CaptureHoldsDuringADragAndClickNeedsReleaseInside) {
  TForm* form = NewForm();
  auto* win = new TProbeControl(form);
  win->SetParent(form);
  win->SetBounds(10, 10, 50, 50);
  auto* graphic = new TProbeGraphic(form);
  graphic->SetParent(form);
  graphic->SetBounds(100, 10, 50, 50);
  form->Show();
  Pump();

  for (TControl* c : std::initializer_list<TControl*>{win, graphic}) {
    SCOPED_TRACE(c == win ? "windowed" : "windowless");
    int clicks = 0;
    TPoint lastMove{-1000, -1000};
    c->OnClick = [&](TPersistent*) { ++clicks; };
    c->OnMouseMove = [&](TPersistent*, TShiftState, int x, int y) { lastMove = {x, y}; };
    // Press, drag far outside: the control keeps the mouse; release outside: no click.
    m_screen->MouseDown(At(c, 5, 5));
    Pump();
    EXPECT_TRUE(c->MouseCapture());
    m_screen->MouseMove(At(c, 200, 120));
    Pump();
    EXPECT_EQ(lastMove, (TPoint{200, 120}));
    m_screen->MouseUp(At(c, 200, 120));
    Pump();
    EXPECT_FALSE(c->MouseCapture());
    EXPECT_EQ(clicks, 0);
    // Press and release inside: one click; leaving and coming back before the release also clicks.
    m_screen->Click(At(c, 5, 5));
    Pump();
    EXPECT_EQ(clicks, 1);
    m_screen->MouseDown(At(c, 5, 5));
    m_screen->MouseMove(At(c, 80, 5));
    m_screen->MouseMove(At(c, 6, 6));
    m_screen->MouseUp(At(c, 6, 6));
    Pump();
    EXPECT_EQ(clicks, 2);
  }
}

TEST_F(ControlsTest, FirstActivationFocusesTheFirstTabStopAndTabMovesOn) {
  TForm* form = NewForm();
  std::vector<TProbeControl*> c;
  for (int i = 0; i < 4; ++i) {
    auto* p = new TProbeControl(form);
    p->SetParent(form);
    p->SetBounds(10 + 60 * i, 10, 50, 30);
    p->SetTabStop(i != 2);  // the third one is skipped
    c.push_back(p);
  }
  c[0]->SetTabOrder(1);  // tab order: c1, c0, c2, c3
  form->Show();
  Pump();
  EXPECT_TRUE(c[1]->Focused());
  EXPECT_EQ(form->ActiveControl(), c[1]);

  struct TStep {
    bool shift;
    TProbeControl* expected;
  };
  for (TStep s : {TStep{false, c[0]}, TStep{false, c[3]}, TStep{false, c[1]}, TStep{true, c[3]}, TStep{true, c[0]}}) {
    if (s.shift) m_screen->KeyDown(VK_SHIFT);
    m_screen->KeyPress(VK_TAB);
    if (s.shift) m_screen->KeyUp(VK_SHIFT);
    Pump();
    EXPECT_TRUE(s.expected->Focused()) << "expected control " << (s.expected - c[0]);
  }
  // Leaving and entering are told in order, and the form broadcasts the change to everyone.
  c[0]->Log.clear();
  c[3]->Log.clear();
  c[3]->SetFocus();
  Pump();
  EXPECT_EQ(c[0]->Log, (std::vector<std::string>{"focus-exit", "focus-changed"}));
  EXPECT_EQ(c[3]->Log, (std::vector<std::string>{"focus-enter", "focus-changed"}));
}

TEST_F(ControlsTest, ParentPaintsItsWindowlessChildren) {
  TForm* form = NewForm(100, 100, 200, 100);
  form->SetColor(clWhite);
  auto* graphic = new TProbeGraphic(form);
  graphic->SetParent(form);
  graphic->SetBounds(20, 30, 40, 10);
  graphic->SetColor(clRed);
  form->Show();
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(120, 130), 0xFF0000u);
  EXPECT_EQ(m_screen->ScreenPixel(159, 139), 0xFF0000u);
  EXPECT_EQ(m_screen->ScreenPixel(160, 139), 0xFFFFFFu);
  EXPECT_EQ(m_screen->ScreenPixel(119, 130), 0xFFFFFFu);
  // Moving it repaints both places.
  graphic->SetLeft(100);
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(120, 130), 0xFFFFFFu);
  EXPECT_EQ(m_screen->ScreenPixel(200, 130), 0xFF0000u);
  graphic->Hide();
  Pump();
  EXPECT_EQ(m_screen->ScreenPixel(200, 130), 0xFFFFFFu);
}

TEST_F(ControlsTest, ErrorInAnEventHandlerGoesToOnExceptionWithItsMessage) {
  TForm* form = NewForm();
  auto* probe = new TProbeControl(form);
  probe->SetParent(form);
  probe->SetBounds(10, 10, 50, 30);
  probe->OnClick = [](TPersistent*) { throw EConvertError("'abc' is not a valid integer value"); };
  auto* quiet = new TProbeControl(form);
  quiet->SetParent(form);
  quiet->SetBounds(100, 10, 50, 30);
  quiet->OnClick = [](TPersistent*) { throw EAbort("never shown"); };
  std::vector<std::string> errors;
  TPersistent* from = nullptr;
  m_app->OnException = [&](TPersistent* sender, const std::exception& e) {
    from = sender;
    errors.push_back(e.what());
  };
  form->Show();
  Pump();
  m_screen->Click(At(probe, 5, 5));
  m_screen->Click(At(quiet, 5, 5));
  Pump();
  EXPECT_EQ(errors, (std::vector<std::string>{"'abc' is not a valid integer value"}));
  EXPECT_EQ(from, probe);
}

TEST_F(ControlsTest, ErrorInAnEventHandlerIsShownAndTheProgramGoesOn) {
  TForm* form = NewForm();
  auto* button = new TProbeControl(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 50, 30);
  int clicks = 0;
  button->OnClick = [&](TPersistent*) {
    ++clicks;
    if (clicks == 1) throw EConvertError("'abc' is not a valid integer value");
  };
  form->Show();
  Pump();

  std::vector<std::string> shown;
  m_screen->SetIdleHandler([&] {
    HWND box = GetActiveWindow();
    if (!box || box == form->Handle()) return false;
    shown.push_back(GetWindowText(box));
    m_screen->KeyPress(VK_RETURN);
    return true;
  });
  m_screen->Click(At(button, 5, 5));
  Pump();
  EXPECT_EQ(shown, (std::vector<std::string>{"Vandrel"}));
  // The box is gone and the form works as before.
  EXPECT_EQ(GetActiveWindow(), form->Handle());
  m_screen->Click(At(button, 5, 5));
  Pump();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(shown.size(), 1u);
}

TEST(AccelTest, FindsTheCharacterAfterASingleAmpersand) {
  EXPECT_TRUE(IsAccel(U'r', "&Refresh"));
  EXPECT_TRUE(IsAccel(U'R', "Re&run"));
  EXPECT_FALSE(IsAccel(U'r', "Save && run"));
  EXPECT_TRUE(IsAccel(U'x', "A&&B &x"));
  EXPECT_FALSE(IsAccel(U'a', "no accelerator"));
  EXPECT_FALSE(IsAccel(U'a', "trailing &"));
}

TEST_F(ControlsTest, ModalFormReturnsTheResultOfTheButtonUsed) {
  struct TCase {
    int key;
    TModalResult expected;
  };
  for (TCase c : {TCase{VK_RETURN, mrOk}, TCase{VK_ESCAPE, mrCancel}}) {
    TForm* owner = NewForm();
    owner->Show();
    Pump();
    auto* dialog = m_app->CreateForm<TForm>();
    dialog->SetBorderStyle(bsDialog);
    dialog->SetPosition(poScreenCenter);
    auto* ok = new TButton(dialog);
    ok->SetParent(dialog);
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    auto* cancel = new TButton(dialog);
    cancel->SetParent(dialog);
    cancel->SetLeft(80);
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    bool ownerDisabled = false;
    m_screen->SetIdleHandler([&] {
      if (GetActiveWindow() != dialog->Handle()) return false;
      ownerDisabled = !IsWindowEnabled(owner->Handle());
      m_screen->KeyPress(c.key);
      return true;
    });
    EXPECT_EQ(dialog->ShowModal(), c.expected);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(dialog->Visible());
    m_screen->SetIdleHandler(nullptr);
    delete dialog;
    delete owner;
  }
}

}  // namespace
}  // namespace vandrel::test
