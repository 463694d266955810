#include <set>
#include <stdexcept>

#include "platform/core/Exception.h"
#include "tests/skinform/SkinFormTestSupport.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

constexpr UINT kProbe = WM_USER + 5;

using TLog = std::vector<std::string>;

// A form whose own procedure writes the probe into the log.
class TProbeForm : public TForm {
 public:
  TProbeForm(TComponent* owner, TLog& log) : TForm(owner), m_log(log) {}
  void WndProc(TMessage& m) override {
    if (m.Msg == kProbe) m_log.push_back("owner");
    TForm::WndProc(m);
  }

 private:
  TLog& m_log;
};

class TRecordingHook : public TSeHook {
 public:
  TRecordingHook(TComponent* owner, std::string name, TLog& log)
      : TSeHook(owner), m_name(std::move(name)), m_log(log) {}
  bool handles = false;
  std::function<void()> onProbe;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg != kProbe) return;
    m_log.push_back(m_name + " before");
    if (handles) MarkHandled();
    if (onProbe) onProbe();
  }

 public:
  void AfterMessage(TMessage& m) override {
    if (m.Msg == kProbe) m_log.push_back(m_name + " after");
  }

 private:
  std::string m_name;
  TLog& m_log;
};

class HookTest : public SkinFormTest {
 protected:
  TProbeForm* NewProbeForm() {
    auto* f = new TProbeForm(m_app.get(), m_log);
    f->SetBounds(10, 10, 200, 150);
    f->HandleNeeded();
    return f;
  }
  TRecordingHook* NewHook(TComponent* owner, const std::string& name, TWinControl* control) {
    auto* h = new TRecordingHook(owner, name, m_log);
    h->SetControl(control);
    return h;
  }
  TLog Probe(HWND h) {
    m_log.clear();
    SendMessage(h, kProbe, 0, 0);
    return m_log;
  }
  TLog m_log;
};

TEST_F(HookTest, TheLastHookSeesFirstAndAHandledMessageStopsEverything) {
  struct Case {
    const char* name;
    bool earlierHandles, laterHandles;
    TLog expected;
  } cases[] = {
      {"nobody handles", false, false, {"later before", "earlier before", "owner", "later after", "earlier after"}},
      {"later handles", false, true, {"later before"}},
      {"earlier handles", true, false, {"later before", "earlier before"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TProbeForm* form = NewProbeForm();
    TRecordingHook* earlier = NewHook(form, "earlier", form);
    TRecordingHook* later = NewHook(form, "later", form);
    earlier->handles = c.earlierHandles;
    later->handles = c.laterHandles;
    EXPECT_EQ(Probe(form->Handle()), c.expected);
    delete form;
    Drain();
  }
}

TEST_F(HookTest, TheHookComesBackOnTheRecreatedWindow) {
  TProbeForm* form = NewProbeForm();
  NewHook(form, "hook", form);
  form->RecreateWnd();
  // The reinstall is posted: the new window runs the form's own procedure until it arrives.
  EXPECT_EQ(Probe(form->Handle()), (TLog{"owner"}));
  Pump();
  EXPECT_EQ(Probe(form->Handle()), (TLog{"hook before", "owner", "hook after"}));
}

TEST_F(HookTest, DeactivatingRestoresTheProcedureOnlyWhenNobodySubclassedAfterUs) {
  TProbeForm* form = NewProbeForm();
  HWND h = form->Handle();
  const WNDPROC own = GetWindowProc(h);
  TRecordingHook* hook = NewHook(nullptr, "hook", form);
  ASSERT_NE(GetWindowProc(h), own);
  hook->SetActive(false);
  EXPECT_EQ(GetWindowProc(h), own);
  EXPECT_EQ(Probe(h), (TLog{"owner"}));

  hook->SetActive(true);
  WNDPROC beneath = GetWindowProc(h);
  WNDPROC foreign = MakeWindowProc([&](HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == kProbe) m_log.push_back("foreign");
    return CallWindowProc(beneath, w, m, wp, lp);
  });
  SetWindowProc(h, foreign);
  hook->SetActive(false);
  EXPECT_EQ(GetWindowProc(h), foreign);
  EXPECT_EQ(Probe(h), (TLog{"foreign", "owner"}));

  // The chain stays whole after the hook and its control hook are gone.
  delete hook;
  Pump();
  EXPECT_EQ(Probe(h), (TLog{"foreign", "owner"}));
  delete form;
}

TEST_F(HookTest, AWindowDestroyedInsideAHandlerLeavesNoHookBehind) {
  const int before = THookList::Instance().Count();
  for (bool hookOwnedByForm : {true, false}) {
    SCOPED_TRACE(hookOwnedByForm ? "hook owned by the form" : "hook on its own");
    TProbeForm* form = NewProbeForm();
    TRecordingHook* other = NewHook(form, "other", form);
    std::unique_ptr<TRecordingHook> own;
    TRecordingHook* killer = NewHook(hookOwnedByForm ? form : nullptr, "killer", form);
    if (!hookOwnedByForm) own.reset(killer);
    killer->onProbe = [&] { delete form; };
    (void)other;
    EXPECT_EQ(Probe(form->Handle()), (TLog{"killer before"}));
    if (own) {
      EXPECT_EQ(own->Control(), nullptr);
    }
    own.reset();
    Pump();
    EXPECT_EQ(THookList::Instance().Count(), before);
  }
}

TEST_F(HookTest, AHookFreedInItsOwnHandlerIsSkippedAfterwards) {
  TProbeForm* form = NewProbeForm();
  NewHook(form, "earlier", form);
  TRecordingHook* later = NewHook(nullptr, "later", form);
  later->onProbe = [&] { delete later; };
  EXPECT_EQ(Probe(form->Handle()), (TLog{"later before", "earlier before", "owner", "earlier after"}));
  Pump();
  EXPECT_EQ(Probe(form->Handle()), (TLog{"earlier before", "owner", "earlier after"}));
}

TEST_F(HookTest, AnErrorInAHookGoesToTheApplicationAndTheMessageGoesOn) {
  std::vector<std::string> errors;
  m_app->OnException = [&](TPersistent*, const std::exception& e) { errors.push_back(e.what()); };
  TProbeForm* form = NewProbeForm();
  NewHook(form, "earlier", form);
  TRecordingHook* later = NewHook(form, "later", form);
  later->onProbe = [] { throw Exception("broken hook"); };
  EXPECT_EQ(Probe(form->Handle()), (TLog{"later before", "earlier before", "owner", "later after", "earlier after"}));
  EXPECT_EQ(errors, (std::vector<std::string>{"broken hook"}));
}

TEST_F(HookTest, ActiveWithoutAControlIsOnlyAWish) {
  TRecordingHook hook(nullptr, "hook", m_log);
  EXPECT_TRUE(hook.Active());
  EXPECT_EQ(hook.ControlHook(), nullptr);
  TProbeForm* form = NewProbeForm();
  hook.SetControl(form);
  EXPECT_NE(hook.ControlHook(), nullptr);
  EXPECT_EQ(Probe(form->Handle()), (TLog{"hook before", "owner", "hook after"}));
  hook.SetControl(nullptr);
  EXPECT_EQ(Probe(form->Handle()), (TLog{"owner"}));
  delete form;
}

}  // namespace
