// The skin engine on the headless screen: which notifications reach which controls of two forms,
// in what order with the events, for file loads, hue changes and list entries; the stored skin
// forms of the engine and the list; handlers that free what the engine is using.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/win/Window.h"
#include "skin/SkinEngine.h"
#include "skin/SkinList.h"
#include "skin/SkinMessages.h"
#include "skin/SkinObject.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {

using Log = std::vector<std::string>;

// Logs the skin notifications naming its engine, and what the engine's source looked like then.
class TRecorder : public TCustomControl {
 public:
  TRecorder(TComponent* owner, Log& log) : TCustomControl(owner), m_log(log) {}
  void Dispatch(TMessage& m) override {
    if (TSeSkinEngine* engine = SkinChangeEngine(m, scChanging))
      m_log.push_back(Name() + " changing" + (engine->Source()->Ready() ? " (skin visible)" : ""));
    if (TSeSkinEngine* engine = SkinChangeEngine(m, scChanged))
      m_log.push_back(Name() + " changed" + (engine->Source()->Ready() ? "" : " (no skin)"));
    TCustomControl::Dispatch(m);
  }

 private:
  Log& m_log;
};

void SaveSkin(const std::string& path, const std::string& name) {
  TSeSkinSource source;
  FillSampleSkin(source);
  source.SetSkinName(name);
  source.SaveToFile(path);
}

class SkinEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_screen = THeadlessScreen::Create({800, 600});
    m_app = std::make_unique<TApplication>();
    main = m_app->CreateForm<TForm>();
    engine = new TSeSkinEngine(main);
    engine->OnBeforeChange = [this](TPersistent*) { log.push_back("before"); };
    engine->OnAfterChange = [this](TPersistent*) { log.push_back("after"); };
    AddRecorder("onMain", main, main);
    auto* panel = AddRecorder("panel", main, main);
    AddRecorder("inPanel", panel, main);
    second = m_app->CreateForm<TForm>();
    AddRecorder("onSecond", second, second);
    SaveSkin(skin, "First");
  }

  void TearDown() override {
    m_app.reset();
    while (HWND top = GetTopWindow(nullptr)) DestroyWindow(top);
    m_screen.reset();
  }

  TRecorder* AddRecorder(const std::string& name, TWinControl* parent, TForm* form) {
    auto* recorder = new TRecorder(form, log);
    recorder->SetName(name);
    recorder->SetParent(parent);
    return recorder;
  }

  std::unique_ptr<THeadlessScreen> m_screen;
  std::unique_ptr<TApplication> m_app;
  TempDir dir;
  const std::string skin = dir.File("steel.kskn");
  TForm* main = nullptr;
  TForm* second = nullptr;
  TSeSkinEngine* engine = nullptr;
  Log log;
};

const Log kChanging = {"before", "onMain changing", "panel changing", "inPanel changing", "onSecond changing"};
const Log kChanged = {"onMain changed", "panel changed", "inPanel changed", "onSecond changed", "after"};

Log Join(const Log& a, const Log& b) {
  Log all = a;
  all.insert(all.end(), b.begin(), b.end());
  return all;
}

TEST_F(SkinEngineTest, FirstLoadAnnouncesOnlyTheNewSkinAndEveryReloadAnnouncesBoth) {
  engine->SetSkinFile(skin);
  EXPECT_EQ(log, kChanged);
  EXPECT_EQ(engine->SkinSource().SkinName(), "First");

  // The same name again reloads: the file's new content shows, and clients saw no skin meanwhile.
  SaveSkin(skin, "Second");
  log.clear();
  engine->SetSkinFile(skin);
  EXPECT_EQ(log, Join(kChanging, kChanged));
  EXPECT_EQ(engine->SkinSource().SkinName(), "Second");
  EXPECT_FALSE(engine->SkinSource().Busy());

  // A name that loads nothing still runs both steps and leaves no skin.
  log.clear();
  engine->SetSkinFile(dir.File("missing.kskn"));
  const Log kChangedEmpty = {"onMain changed (no skin)", "panel changed (no skin)", "inPanel changed (no skin)",
                             "onSecond changed (no skin)", "after"};
  EXPECT_EQ(log, Join(kChanging, kChangedEmpty));
  EXPECT_EQ(engine->SkinSource().Count(), 0);
}

TEST_F(SkinEngineTest, ClientsGetPrivateCopiesOfTheLoadedObjects) {
  const ISeSkinSource& source = *engine->Source();
  EXPECT_FALSE(source.Ready());
  engine->SetSkinFile(skin);
  ASSERT_TRUE(source.Ready());
  EXPECT_TRUE(source.HasObject("form"));
  EXPECT_FALSE(source.HasObject("Caption")) << "only top-level objects are offered";
  EXPECT_EQ(source.CloneObject("Gauge"), nullptr);

  std::unique_ptr<ISeSkinObject> copy = source.CloneObject("Form");
  ISeSkinObject* client = copy->FindObject("CLIENT");
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(copy->FindObject("Client"), client);
  EXPECT_EQ(copy->FindObject("Form"), copy->FindObject("form"));
  copy->SetBounds({0, 0, 500, 400});
  const TSeSkinObject& original = *engine->SkinSource().FindObject("Form");
  EXPECT_EQ(original.Width(), 375) << "the copy is laid out, the skin's own tree is not";
  // A copy outlives a reload of the skin it came from.
  engine->SetSkinFile(skin);
  copy->SetState(5);
  copy.reset();
}

TEST_F(SkinEngineTest, DeltaHueIsStoredWhileEmptyAndAppliedOnceWithASkin) {
  engine->SetDeltaHue(40);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(engine->DeltaHue(), 40);

  engine->SetSkinFile(skin);
  EXPECT_EQ(engine->SkinSource().AppliedHue(), 40);

  log.clear();
  engine->SetDeltaHue(40);
  EXPECT_TRUE(log.empty()) << "an unchanged hue does nothing";

  // A hue set from inside the change is stored but announces nothing of its own.
  engine->OnBeforeChange = [this](TPersistent*) {
    log.push_back("before");
    engine->SetDeltaHue(90);
  };
  engine->SetDeltaHue(100);
  // A recolour keeps the objects: clients may still read them while they are told.
  const Log kRecolouring = {"before", "onMain changing (skin visible)", "panel changing (skin visible)",
                            "inPanel changing (skin visible)", "onSecond changing (skin visible)"};
  EXPECT_EQ(log, Join(kRecolouring, kChanged));
  EXPECT_EQ(engine->SkinSource().AppliedHue(), 100);
  EXPECT_EQ(engine->DeltaHue(), 90);
}

TEST_F(SkinEngineTest, SkinIndexPicksAListEntryClampedToTheLast) {
  auto* list = new TSeSkinList(main);
  for (const char* name : {"Zero", "One", "Two"}) {
    TSeSkinStream* item = list->Skins()->Add();
    FillSampleSkin(item->SkinSource());
    item->SkinSource().SetSkinName(name);
  }
  list->Skins()->Add();  // an empty entry is skipped, not loaded
  EXPECT_EQ(list->Skins()->Items(3)->DisplayName(), "(empty)");
  EXPECT_EQ(list->Skins()->Items(1)->DisplayName(), "One");

  engine->SetSkinList(list);
  engine->SetSkinIndex(5);
  EXPECT_EQ(engine->SkinIndex(), 3);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(engine->SkinSource().Count(), 0);

  list->Skins()->Delete(3);
  engine->SetSkinIndex(5);
  EXPECT_EQ(engine->SkinIndex(), 2);
  EXPECT_EQ(engine->SkinSource().SkinName(), "Two");
  EXPECT_EQ(log, Join(kChanging, kChanged));

  log.clear();
  engine->SetSkinIndex(-1);
  EXPECT_TRUE(log.empty()) << "a negative index loads nothing";
  EXPECT_EQ(engine->SkinSource().SkinName(), "Two");

  // A freed list is forgotten, not used afterwards.
  engine->SetSkinIndex(0);
  delete list;
  EXPECT_EQ(engine->SkinList(), nullptr);
  EXPECT_EQ(engine->SkinIndex(), -1);
}

// The bytes of the binary property `name` in a component stream.
Bytes StoredBinary(const Bytes& stream, const std::string& name) {
  const std::string key = char(name.size()) + name + char(10);
  const auto at = std::search(stream.begin(), stream.end(), key.begin(), key.end());
  if (at == stream.end()) return {};
  const auto size = at + std::ptrdiff_t(key.size());
  const std::int32_t count = std::int32_t(size[0] | size[1] << 8 | size[2] << 16 | size[3] << 24);
  return Bytes(size + 4, size + 4 + count);
}

Bytes Stored(TComponent& component) {
  TMemoryStream stream;
  WriteComponentToStream(stream, component);
  return stream.Bytes();
}

void ReadStored(const Bytes& bytes, TComponent& component) {
  TReadOnlyMemoryStream stream(bytes.data(), std::int64_t(bytes.size()));
  ReadComponentFromStream(stream, &component);
}

TEST_F(SkinEngineTest, TheStoredSkinIsOneByteThenTheSkin) {
  TSeSkinEngine empty(nullptr);
  const Bytes none = Stored(empty);
  EXPECT_EQ(StoredBinary(none, "SkinStream"), Bytes{0});
  TSeSkinEngine fromNone(nullptr);
  ReadStored(none, fromNone);
  EXPECT_EQ(fromNone.SkinSource().Count(), 0);

  engine->SetSkinFile(skin);
  const Bytes some = Stored(*engine);
  const Bytes value = StoredBinary(some, "SkinStream");
  ASSERT_GT(value.size(), 5u);
  EXPECT_EQ(value[0], 2);
  EXPECT_EQ(std::string(value.begin() + 1, value.begin() + 5), "QDLZ");
  TSeSkinEngine copy(nullptr);
  ReadStored(some, copy);
  EXPECT_EQ(copy.SkinSource().SkinName(), "First");
  EXPECT_EQ(copy.SkinSource().Count(), engine->SkinSource().Count());
  EXPECT_EQ(copy.SkinFile(), "") << "a stored skin replaces the file name";

  // While an entry of a list is in use the engine stores no skin of its own.
  auto* list = new TSeSkinList(main);
  FillSampleSkin(list->Skins()->Add()->SkinSource());
  engine->SetSkinList(list);
  engine->SetSkinIndex(0);
  EXPECT_TRUE(StoredBinary(Stored(*engine), "SkinStream").empty());
}

TEST_F(SkinEngineTest, ListEntriesStoreTheirSkinAfterTheByteOne) {
  TSeSkinList list(nullptr);
  FillSampleSkin(list.Skins()->Add()->SkinSource());
  list.Skins()->Add();
  const Bytes stored = Stored(list);
  TSeSkinList copy(nullptr);
  ReadStored(stored, copy);
  ASSERT_EQ(copy.Skins()->Count(), 2);
  EXPECT_EQ(copy.Skins()->Items(0)->DisplayName(), "Steel");
  EXPECT_EQ(copy.Skins()->Items(1)->DisplayName(), "(empty)");
  EXPECT_EQ(copy.Skins()->Items(0)->SkinStore(), "(empty)") << "the name shows at design time only";
  const Bytes first = StoredBinary(stored, "SkinStream");
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first[0], 1);
}

TEST_F(SkinEngineTest, ADamagedFileLeavesNoSkinAndTheClientsToldSo) {
  engine->SetSkinFile(skin);
  WriteFile(skin, Container({1, 2, 3}));
  log.clear();
  EXPECT_THROW(engine->SetSkinFile(skin), Exception);
  EXPECT_EQ(engine->SkinSource().Count(), 0);
  EXPECT_FALSE(engine->SkinSource().Busy());
  EXPECT_EQ(log.back(), "after");
  EXPECT_EQ(engine->SkinFile(), skin);
}

TEST_F(SkinEngineTest, AHandlerMayFreeTheEngineOrAForm) {
  engine->SetSkinFile(skin);
  // The second form goes while the first is told; the broadcast then stops short of it.
  engine->OnBeforeChange = [this](TPersistent*) { delete second; };
  log.clear();
  engine->SetSkinFile(skin);
  EXPECT_EQ(log, Log({"onMain changing", "panel changing", "inPanel changing", "onMain changed", "panel changed",
                      "inPanel changed", "after"}));

  engine->OnBeforeChange = [this](TPersistent*) { delete engine; };
  engine->SetSkinFile(skin);  // must not touch the freed engine (ASan)
}

}  // namespace
}  // namespace vandrel::test
