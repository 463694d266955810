#include <fstream>
#include <iterator>

#include "framework/ClassRegistry.h"
#include "framework/Loading.h"
#include "framework/ObjectText.h"
#include "framework/Reader.h"
#include "framework/SizeConstraints.h"
#include "framework/Writer.h"
#include "platform/core/Stream.h"
#include "skinform/SkinForm.h"
#include "tests/skinform/SkinFormTestSupport.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

std::vector<std::uint8_t> ReadStreamFile(const std::string& name) {
  std::ifstream in(std::string(VANDREL_TEST_DATA) + "/streams/" + name, std::ios::binary);
  if (!in) throw std::runtime_error("missing test data file " + name);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FormOptionsTest, OutOfRangeValuesAreLimitedSilently) {
  struct Case {
    const char* what;
    std::function<int()> apply;
    int expected;
  };
  TSeBlending blending;
  TSeShadow shadow;
  TSeGravitation gravitation;
  TSeAnimation animation;
  const Case cases[] = {
      {"Blending.Value 300", [&] { blending.SetValue(300); return blending.Value(); }, 255},
      {"Blending.Value -5", [&] { blending.SetValue(-5); return blending.Value(); }, 0},
      {"Shadow.Size 25", [&] { shadow.SetSize(25); return shadow.Size(); }, 20},
      {"Gravitation.Size 0", [&] { gravitation.SetSize(0); return gravitation.Size(); }, 1},
      {"Gravitation.Size 80", [&] { gravitation.SetSize(80); return gravitation.Size(); }, 50},
      {"Animation.Time 10", [&] { animation.SetTime(10); return animation.Time(); }, 50},
      {"Animation.Time 10000", [&] { animation.SetTime(10000); return animation.Time(); }, 9000},
      {"Animation.Resolution 11", [&] { animation.SetResolution(11); return animation.Resolution(); }, 10},
      {"Animation.TileCount 0", [&] { animation.SetTileCount(0); return animation.TileCount(); }, 1},
      {"Animation.Direction kdNoRotate", [&] { animation.SetDirection(kdNoRotate); return int(animation.Direction()); }, kdNone},
      {"Animation.Direction kdRotate270", [&] { animation.SetDirection(kdRotate270); return int(animation.Direction()); }, kdRotate270},
  };
  for (const Case& c : cases) EXPECT_EQ(c.apply(), c.expected) << c.what;
}

TEST(FormOptionsTest, ANonPositiveShadowSizeSwitchesTheShadowOffAndIsKept) {
  int changes = 0;
  TSeShadow shadow([&] { ++changes; });
  shadow.SetEnabled(true);
  shadow.SetSize(0);
  EXPECT_FALSE(shadow.Enabled());
  EXPECT_EQ(shadow.Size(), 0);
  shadow.SetSize(-3);
  EXPECT_EQ(shadow.Size(), -3);
  EXPECT_EQ(changes, 3);
  shadow.SetSize(-3);
  EXPECT_EQ(changes, 3);
}

TEST(FormOptionsTest, MenuOptionsAssignIntoTheirObjectsAndTellTheOwnerOnce) {
  int changes = 0;
  TSePopupMenuOptions options([&] { ++changes; });
  TSeBlending* blending = options.Blending();
  TSeBlending value;
  value.SetEnabled(true);
  value.SetValue(99);
  options.SetBlending(value);
  EXPECT_EQ(options.Blending(), blending);
  EXPECT_EQ(blending->Value(), 99);
  EXPECT_EQ(changes, 1);

  TSePopupMenuOptions source;
  source.Shadow()->SetSize(9);
  source.Animation()->SetEffectKind("Fade");
  options.Assign(source);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(options.Shadow()->Size(), 9);
  EXPECT_EQ(options.Animation()->EffectKind(), "Fade");
  EXPECT_FALSE(options.Blending()->Enabled());
  EXPECT_THROW(options.Assign(value), EConvertError);
}

// The form of the reference stream written by Free Pascal (tests/skinform/pascal/FormOracle.pas).
std::unique_ptr<TSeSkinForm> MakeReference() {
  auto form = std::make_unique<TSeSkinForm>(nullptr);
  TLoadingScope loading(form.get());
  TSeSkinForm& f = *form;
  f.SetName("SeSkinForm1");
  f.SetActive(false);
  f.Animation()->SetDirection(kdRotate180);
  f.Animation()->SetEffectKind("Fade");
  f.Animation()->SetEnabled(true);
  f.Animation()->SetResolution(3);
  f.Animation()->SetTileCount(5);
  f.Animation()->SetTime(700);
  f.Blending()->SetEnabled(true);
  f.Blending()->SetValue(200);
  f.SetBorderIcons({kbiClose, kbiRollup, kbiTray});
  f.SetBorderStyle(kbsToolWindow);
  f.SetCaption("\xE5\x88\xB7\xE6\x96\xB0");
  f.Dragging()->SetDragMode(kfdmBorder);
  f.Dragging()->SetMoveable(false);
  f.Dragging()->SetSizeable(false);
  f.Gravitation()->SetEnabled(false);
  f.Gravitation()->SetSize(9);
  f.Constraints()->SetMinWidth(160);
  f.Constraints()->SetMinHeight(90);
  f.SystemMenuOptions()->Animation()->SetEffectKind("Wipe");
  f.SystemMenuOptions()->Blending()->SetValue(10);
  f.SystemMenuOptions()->Shadow()->SetEnabled(true);
  f.TrayMenuOptions()->Shadow()->SetSize(7);
  f.SetMinimizeApplication(false);
  f.SetPerformance(ksfpPersistentBuffer);
  f.Shadow()->SetEnabled(true);
  f.Shadow()->SetSize(20);
  f.SetStayOnTop(true);
  f.SetStretchBackground(true);
  f.SetWindowState(kwsRollup);
  f.SetSkinObject("ToolWindow");
  loading.End();
  return form;
}

std::vector<std::uint8_t> Write(TComponent& root) {
  TMemoryStream s;
  WriteComponentToStream(s, root);
  return s.Bytes();
}

std::unique_ptr<TComponent> Read(const std::vector<std::uint8_t>& bytes) {
  RegisterClass<TSeSkinForm>();
  TReadOnlyMemoryStream s(bytes.data(), std::int64_t(bytes.size()));
  return std::unique_ptr<TComponent>(ReadComponentFromStream(s));
}

class FormStreamTest : public SkinFormTest {};

TEST_F(FormStreamTest, AFormWithEveryOptionStreamsAsFreePascalWritesIt) {
  auto form = MakeReference();
  const auto referenceText = ReadStreamFile("skinform.txt");
  EXPECT_EQ(ComponentToText(*form), std::string(referenceText.begin(), referenceText.end()));
  // The other implementation stores the wide caption under its own string kind (21, here 18);
  // after a trip through its text form it writes what we do.
  EXPECT_EQ(Write(*form), ReadStreamFile("skinform.t2b.bin"));
  auto direct = Read(ReadStreamFile("skinform.bin"));
  EXPECT_EQ(Write(*direct), ReadStreamFile("skinform.t2b.bin"));
}

TEST_F(FormStreamTest, AFormWithEveryOptionComesBackIdentically) {
  auto form = MakeReference();
  const auto bytes = Write(*form);
  auto back = Read(bytes);
  auto* read = dynamic_cast<TSeSkinForm*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(Write(*read), bytes);
  EXPECT_EQ(read->WindowState(), kwsRollup);
  EXPECT_EQ(read->Shadow()->Size(), 20);
  EXPECT_EQ(read->SystemMenuOptions()->Blending()->Value(), 10);
  EXPECT_EQ(read->Caption(), "\xE5\x88\xB7\xE6\x96\xB0");

  const std::string text = ComponentToText(*form);
  std::unique_ptr<TComponent> fromText(ComponentFromText(text));
  EXPECT_EQ(ComponentToText(*fromText), text);
  EXPECT_EQ(Write(*fromText), bytes);
}

TEST_F(FormStreamTest, AFreshFormWritesOnlyWhatHasNoStoredDefault) {
  TSeSkinForm form(nullptr);
  form.SetName("Plain");
  const std::string text = ComponentToText(form);
  EXPECT_EQ(text.find("Active"), std::string::npos);
  EXPECT_EQ(text.find("MinimizeApplication"), std::string::npos);
  EXPECT_EQ(text.find("Version"), std::string::npos);
  for (const char* always : {"BorderIcons", "BorderStyle", "Performance", "StayOnTop", "WindowState"})
    EXPECT_NE(text.find(always), std::string::npos) << always;
}

}  // namespace
