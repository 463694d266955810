// Non-visual parts the skinned controls rely on: loading a form built in code, the timer, actions
// and their links, collections that report changes, and references cleared when a component goes.
#include <gtest/gtest.h>

#include "ControlsTestSupport.h"
#include "framework/Actions.h"
#include "framework/ImageList.h"
#include "framework/Loading.h"
#include "framework/NotifyCollection.h"
#include "framework/PopupMenu.h"
#include "framework/Timer.h"
#include "platform/win/VirtualKeys.h"

namespace vandrel::test {
namespace {

// Records what it saw of the loading state.
class TLoadProbe : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;
  std::vector<std::string>* Journal = nullptr;
  void SetBounds(int l, int t, int w, int h) override {
    if (Journal && Loading()) Journal->push_back(Name() + " bounds while loading");
    TProbeControl::SetBounds(l, t, w, h);
  }
  void Loaded() override {
    TProbeControl::Loaded();
    if (Journal) Journal->push_back(Name() + " loaded");
  }
};

TEST_F(ControlsTest, FormBuiltInCodeLoadsLikeAStoredForm) {
  std::vector<std::string> journal;
  TForm* form = m_app->CreateForm<TForm>();
  form->OnCreate = [&](TPersistent*) { journal.push_back("create"); };
  {
    TLoadingScope loading(form);
    auto* top = loading.Create<TLoadProbe>();
    top->Journal = &journal;
    top->SetName("Top");
    top->SetParent(form);
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* rest = loading.Create<TLoadProbe>();
    rest->Journal = &journal;
    rest->SetName("Rest");
    rest->SetParent(form);
    rest->SetAlign(alClient);
    EXPECT_TRUE(form->Loading());
    journal.push_back("end of properties");
    loading.End();
    EXPECT_FALSE(top->Loading());
  }
  // Properties were set while loading; Loaded runs root first, then in creation order, then
  // OnCreate; alignment waited for the end of loading.
  std::vector<std::string> steps;
  for (auto& e : journal)
    if (e.find("bounds") == std::string::npos) steps.push_back(e);
  EXPECT_EQ(journal.front(), "Top bounds while loading");
  EXPECT_EQ(steps, (std::vector<std::string>{"end of properties", "Top loaded", "Rest loaded", "create"}));
  auto* top = static_cast<TControl*>(form->FindComponent("Top"));
  auto* rest = static_cast<TControl*>(form->FindComponent("Rest"));
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, form->ClientWidth(), 30));
  EXPECT_EQ(rest->Top(), 30);
  EXPECT_EQ(rest->Height(), form->ClientHeight() - 30);
}

TEST_F(ControlsTest, TimerTicksOnTheLoopAndStopsWhenDisabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(100);
  timer.SetOnTimer([&](TPersistent*) {
    if (++ticks == 2) throw EConvertError("tick failed");  // reported, the timer goes on
  });
  std::vector<std::string> errors;
  m_app->OnException = [&](TPersistent*, const std::exception& e) { errors.push_back(e.what()); };
  for (int i = 0; i < 3; ++i) {
    TTickClock::Advance(100);
    Pump();
  }
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(errors, (std::vector<std::string>{"tick failed"}));
  timer.SetEnabled(false);
  TTickClock::Advance(500);
  Pump();
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(timer.Running());
  // A platform timer's callback reports through the application too.
  UINT_PTR id = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { throw EConvertError("callback failed"); });
  TTickClock::Advance(60);
  EXPECT_NO_THROW(Pump());
  KillTimer(nullptr, id);
  EXPECT_EQ(errors, (std::vector<std::string>{"tick failed", "callback failed"}));
}

TEST_F(ControlsTest, ActionDrivesItsClientsUntilAClientOverrides) {
  TForm* form = NewForm();
  auto* action = new TBasicAction(form);
  action->SetCaption("刷新");
  action->SetHint("Refresh");
  int executed = 0;
  action->OnExecute = [&](TPersistent*) { ++executed; };
  auto* a = new TProbeControl(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 40, 20);
  a->SetControlStyle(a->ControlStyle().Include(csClickEvents));
  a->SetAction(action);
  auto* b = new TProbeControl(form);
  b->SetParent(form);
  b->SetAction(action);
  EXPECT_EQ(a->Caption(), "刷新");
  EXPECT_EQ(action->ClientCount(), 2);

  b->SetCaption("own");  // b keeps its own caption from now on
  action->SetCaption("万年历");
  action->SetEnabled(false);
  EXPECT_EQ(a->Caption(), "万年历");
  EXPECT_EQ(b->Caption(), "own");
  EXPECT_FALSE(a->Enabled());
  action->SetEnabled(true);

  form->Show();
  Pump();
  m_screen->Click(At(a, 5, 5));
  Pump();
  EXPECT_EQ(executed, 1);

  // Freeing the action clears the clients' links; freeing a client unlinks it.
  delete b;
  EXPECT_EQ(action->ClientCount(), 1);
  delete action;
  EXPECT_EQ(a->Action(), nullptr);
  m_screen->Click(At(a, 5, 5));
  Pump();
  EXPECT_EQ(executed, 1);
}

class TPanelItem : public TNotifyCollectionItem {
 public:
  int Width() const { return m_width; }
  void SetWidth(int w) {
    m_width = w;
    Changed(true);
  }
  void SetText(const std::string& t) {
    m_text = t;
    Changed(false);
  }

 private:
  int m_width = 50;
  std::string m_text;
};

TEST(NotifyCollectionTest, ReportsAddsDeletesAndItemChanges) {
  TNotifyCollection panels(CollectionItemFactory<TPanelItem>());
  std::vector<TCollectionItem*> updates;
  panels.OnUpdate = [&](TCollectionItem* item) { updates.push_back(item); };
  auto* first = static_cast<TPanelItem*>(panels.Add());
  auto* second = static_cast<TPanelItem*>(panels.Add());
  second->SetText("test");
  first->SetWidth(200);
  EXPECT_EQ(updates, (std::vector<TCollectionItem*>{nullptr, nullptr, second, nullptr}));
  updates.clear();
  panels.BeginUpdate();
  panels.Add();
  panels.Delete(0);
  panels.EndUpdate();
  EXPECT_EQ(updates, (std::vector<TCollectionItem*>{nullptr}));  // once, for the whole batch
  EXPECT_EQ(panels.Count(), 2);
}

TEST_F(ControlsTest, ContainerIsToldAboutChildrenAndButtonsAboutFocusChanges) {
  class TContainer : public TProbeControl {
   public:
    using TProbeControl::TProbeControl;
    std::vector<std::pair<TControl*, bool>> Changes;
    void Dispatch(TMessage& m) override {
      if (m.Msg == CM_CONTROLCHANGE) Changes.emplace_back(reinterpret_cast<TControl*>(m.WParam), m.LParam != 0);
      TProbeControl::Dispatch(m);
    }
  };
  TForm* form = NewForm();
  auto* box = new TContainer(form);
  box->SetParent(form);
  auto* child = new TProbeGraphic(form);
  child->SetParent(box);
  child->SetParent(nullptr);
  delete child;
  EXPECT_EQ(box->Changes, (std::vector<std::pair<TControl*, bool>>{{child, true}, {child, false}}));
}

TEST_F(ControlsTest, RightClickPopsUpTheControlsMenu) {
  TForm* form = NewForm();
  auto* menu = new TPopupMenu(form);
  std::vector<TPoint> shown;
  menu->OnPopup = [&](TPersistent*) { shown.push_back(menu->PopupPoint()); };
  auto* win = new TProbeControl(form);
  win->SetParent(form);
  win->SetBounds(10, 10, 50, 30);
  win->SetPopupMenu(menu);
  auto* graphic = new TProbeGraphic(form);
  graphic->SetParent(form);
  graphic->SetBounds(100, 10, 50, 30);
  graphic->SetPopupMenu(menu);
  form->Show();
  Pump();
  m_screen->Click(At(win, 5, 6), TMouseButton::Right);
  Pump();
  EXPECT_EQ(menu->PopupComponent(), win);
  m_screen->Click(At(graphic, 7, 8), TMouseButton::Right);
  Pump();
  EXPECT_EQ(menu->PopupComponent(), graphic);
  EXPECT_EQ(shown, (std::vector<TPoint>{At(win, 5, 6), At(graphic, 7, 8)}));
  delete graphic;
  EXPECT_EQ(menu->PopupComponent(), nullptr);
  delete menu;
  EXPECT_EQ(win->PopupMenu(), nullptr);
  m_screen->Click(At(win, 5, 6), TMouseButton::Right);
  Pump();
}

TEST_F(ControlsTest, FreeingAComponentClearsReferencesToIt) {
  TForm* form = NewForm();
  auto* images = new TImageList(form);
  auto* action = new TBasicAction(form);
  action->SetImages(images);
  delete images;
  EXPECT_EQ(action->Images(), nullptr);
  // A child freed while it has the focus leaves the form without an active control.
  auto* edit = new TProbeControl(form);
  edit->SetParent(form);
  edit->SetTabStop(true);
  form->Show();
  Pump();
  ASSERT_EQ(form->ActiveControl(), edit);
  delete edit;
  EXPECT_EQ(form->ActiveControl(), nullptr);
  m_screen->KeyPress(VK_TAB);
  Pump();
}

}  // namespace
}  // namespace vandrel::test
