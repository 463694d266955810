// The skin binding every skinned control holds, against a stand-in engine whose skin is a small
// tree of recording objects: binding and its conditions, drawing sub-objects, the engine's
// notifications through the real broadcast, and an engine freed under bound controls.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "platform/core/Text.h"
#include "platform/win/Paint.h"
#include "skin/SkinEngine.h"
#include "skin/SkinMessages.h"
#include "skincontrols/CustomControl.h"
#include "skincontrols/SkinBinding.h"

namespace vandrel::test {
namespace {

// A skin object that writes what is done to it into a shared log.
class TRecordingObject : public ISeSkinObject {
 public:
  TRecordingObject(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}
  void Add(std::string name) { m_children.push_back(std::make_unique<TRecordingObject>(std::move(name), m_log)); }
  std::unique_ptr<TRecordingObject> Clone() const {
    auto copy = std::make_unique<TRecordingObject>(m_name + " copy", m_log);
    for (const auto& c : m_children) copy->m_children.push_back(c->Clone());
    return copy;
  }
  ISeSkinObject* FindObject(std::string_view name) override {
    if (SameText(m_name, std::string(name) + " copy") || SameText(m_name, name)) return this;
    for (const auto& c : m_children)
      if (ISeSkinObject* found = c->FindObject(name)) return found;
    return nullptr;
  }
  void SetControl(TControl* control) override { m_log.push_back(m_name + " control " + (control ? control->Name() : "none")); }
  void SetState(int state) override { m_log.push_back(m_name + " state " + std::to_string(state)); }
  void SetBounds(const TRect& r) override {
    m_log.push_back(m_name + " bounds " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                    std::to_string(r.Right) + "," + std::to_string(r.Bottom));
  }
  void Draw(TCanvas&) override { m_log.push_back(m_name + " draw"); }

 private:
  std::string m_name;
  std::vector<std::string>& m_log;
  std::vector<std::unique_ptr<TRecordingObject>> m_children;
};

class TSourceDouble : public ISeSkinSource {
 public:
  bool busy = false;
  std::vector<std::unique_ptr<TRecordingObject>> objects;
  bool Ready() const override { return !busy && !objects.empty(); }
  bool HasObject(std::string_view name) const override { return Find(name) != nullptr; }
  std::unique_ptr<ISeSkinObject> CloneObject(std::string_view name) const override {
    const TRecordingObject* o = Find(name);
    return o ? o->Clone() : nullptr;
  }

 private:
  const TRecordingObject* Find(std::string_view name) const {
    for (const auto& o : objects)
      if (const_cast<TRecordingObject&>(*o).FindObject(name) == o.get()) return o.get();
    return nullptr;
  }
};

class TEngineDouble : public TSeSkinEngine {
 public:
  using TSeSkinEngine::TSeSkinEngine;
  TSourceDouble source;
  bool loaded = true;
  const ISeSkinSource* Source() const override { return loaded ? &source : nullptr; }
};

class TBoundControl : public TSeCustomControl {
 public:
  explicit TBoundControl(TComponent* owner) : TSeCustomControl(owner) {
    skin.AfterBind = [this](bool usable, bool copied) { binds.push_back({usable, copied}); };
  }
  TSeSkinBinding skin{*this, "Panel"};
  std::vector<std::pair<bool, bool>> binds;
  void Dispatch(TMessage& m) override {
    skin.Handle(m);
    TSeCustomControl::Dispatch(m);
  }
};

class SkinBindingTest : public SkinControlsTest {
 protected:
  void SetUp() override {
    SkinControlsTest::SetUp();
    form = NewForm();
    engine = new TEngineDouble(form);
    auto panel = std::make_unique<TRecordingObject>("Panel", log);
    panel->Add("Frame");
    panel->Add("Caption");
    engine->source.objects.push_back(std::move(panel));
    engine->source.objects.push_back(std::make_unique<TRecordingObject>("Button", log));
    control = new TBoundControl(form);
    control->SetName("bound");
    control->SetParent(form);
    form->Show();
    Pump();
  }

  TForm* form = nullptr;
  TEngineDouble* engine = nullptr;
  TBoundControl* control = nullptr;
  std::vector<std::string> log;
};

TEST_F(SkinBindingTest, BindsACopyOfItsObjectAndDrawsSubObjects) {
  EXPECT_FALSE(control->skin.SkinAvailable());
  EXPECT_EQ(control->skin.SkinObject(), "Panel");
  EXPECT_EQ(TSeSkinBinding::Version(), "3.4.7");
  control->skin.SetSkinEngine(engine);
  EXPECT_TRUE(control->skin.SkinAvailable());
  EXPECT_EQ(log, std::vector<std::string>{"Panel copy control bound"});
  log.clear();
  TCanvas& canvas = *control->Canvas();
  EXPECT_TRUE(control->skin.DrawObject("frame", 5, {1, 2, 30, 40}, canvas));
  EXPECT_FALSE(control->skin.DrawObject("Gripper", 0, {0, 0, 1, 1}, canvas));  // skipped
  EXPECT_EQ(log, (std::vector<std::string>{"Frame copy state 5", "Frame copy bounds 1,2,30,40", "Frame copy draw"}));

  struct Case {
    const char* what;
    std::function<void()> change;
    bool available;
    std::pair<bool, bool> bind;  // what AfterBind heard: usable, copied
  };
  const Case cases[] = {
      {"a name the skin lacks leaves the control unbound", [&] { control->skin.SetSkinObject("Gauge"); control->skin.SetSkinEngine(engine); }, false, {true, false}},
      {"the corrected name waits for the next binding", [&] { control->skin.SetSkinObject("BUTTON"); }, false, {true, false}},
      {"... and binds then", [&] { control->skin.SetSkinEngine(engine); }, true, {true, true}},
      {"a busy skin is not used", [&] { engine->source.busy = true; control->skin.SetSkinEngine(engine); }, false, {false, false}},
      {"an engine without a skin neither", [&] { engine->source.busy = false; engine->loaded = false; control->skin.SetSkinEngine(engine); }, false, {false, false}},
      {"nor no engine", [&] { engine->loaded = true; control->skin.SetSkinEngine(nullptr); }, false, {false, false}},
  };
  for (const Case& k : cases) {
    k.change();
    EXPECT_EQ(control->skin.SkinAvailable(), k.available) << k.what;
    ASSERT_FALSE(control->binds.empty());
    EXPECT_EQ(control->binds.back(), k.bind) << k.what;
  }
}

TEST_F(SkinBindingTest, FollowsItsEnginesNotificationsOnly) {
  control->skin.SetSkinEngine(engine);
  auto* other = new TEngineDouble(form);
  BroadcastSkinChange(*form, scChanging, *other);
  EXPECT_TRUE(control->skin.SkinAvailable());  // another engine's change
  BroadcastSkinChange(*form, scChanging, *engine);
  EXPECT_FALSE(control->skin.SkinAvailable());
  EXPECT_EQ(control->skin.Bound(), nullptr);
  const size_t binds = control->binds.size();
  BroadcastSkinChange(*form, scChanged, *engine);
  EXPECT_TRUE(control->skin.SkinAvailable());
  EXPECT_EQ(control->binds.size(), binds + 1);

  // A skin object's change repaints the control.
  Pump();
  NotifyObjectChanged(control->Handle(), nullptr);
  TRect update;
  EXPECT_TRUE(GetUpdateRect(control->Handle(), &update, false));
}

TEST_F(SkinBindingTest, AFreedEngineLeavesItsControlsUnbound) {
  auto* second = new TBoundControl(form);
  second->SetParent(form);
  control->skin.SetSkinEngine(engine);
  second->skin.SetSkinEngine(engine);
  delete engine;
  for (TBoundControl* c : {control, second}) {
    EXPECT_EQ(c->skin.SkinEngine(), nullptr);
    EXPECT_FALSE(c->skin.SkinAvailable());
    EXPECT_EQ(c->skin.Bound(), nullptr);
  }
  // A control freed before its engine leaves nothing behind in the engine.
  auto* engine2 = new TEngineDouble(form);
  control->skin.SetSkinEngine(engine2);
  delete control;
  delete engine2;
}

// The broadcast reaches nested controls and survives a handler that frees a sibling.
TEST_F(SkinBindingTest, BroadcastSkipsControlsFreedOnTheWay) {
  auto* panel = new TSeCustomControl(form);
  panel->SetParent(form);
  auto* nested = new TBoundControl(form);
  nested->SetParent(panel);
  nested->skin.SetSkinEngine(engine);
  auto* victim = new TBoundControl(form);
  victim->SetParent(form);
  control->skin.SetSkinEngine(engine);
  control->skin.AfterBind = [&](bool, bool) {
    delete victim;
    victim = nullptr;
  };
  BroadcastSkinChange(*form, scChanging, *engine);
  BroadcastSkinChange(*form, scChanged, *engine);
  EXPECT_EQ(victim, nullptr);
  EXPECT_TRUE(nested->skin.SkinAvailable());
}

// A skin object finds its window's skinned-window component through the form query.
class TQueriedForm : public TForm {
 public:
  using TForm::TForm;
  TSkinnedWindowStandIn* skinned = nullptr;
  void Dispatch(TMessage& m) override {
    if (skinned && AnswerFormQuery(m, *skinned)) return;
    TForm::Dispatch(m);
  }
};

TEST_F(SkinBindingTest, TheFormQueryFindsTheSkinnedWindow) {
  auto* queried = m_app->CreateForm<TQueriedForm>();
  EXPECT_EQ(QueryOwnerForm(queried->Handle()), nullptr);  // no skinned window answers
  queried->skinned = new TSkinnedWindowStandIn(queried);
  ISeSkinnedWindow* found = QueryOwnerForm(queried->Handle());
  ASSERT_EQ(found, queried->skinned);
  found->Maximize();
  EXPECT_EQ(queried->skinned->actions, std::vector<std::string>{"maximize"});
  EXPECT_EQ(QueryOwnerForm(nullptr), nullptr);
  EXPECT_EQ(ActiveSkinnedWindow(*queried), queried->skinned);
}

}  // namespace
}  // namespace vandrel::test
