// The skin source: the four file types written and read back, the container's bytes, the file
// entry points' rules (empty and missing names, the retry beside the executable, unknown
// extensions), both content forms with their image and object records, keying, lookups and the
// object class registry.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "framework/ComponentErrors.h"
#include "framework/ObjectText.h"
#include "framework/Writer.h"
#include "graphics/SeColor.h"
#include "platform/os/Executable.h"
#include "skin/SkinFilter.h"
#include "skin/SkinObjectRegistry.h"
#include "skin/SkinSource.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {


std::int32_t IntAt(const Bytes& b, size_t at) {
  return std::int32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24);
}

// The offset of the image field in content written by FillSampleSkin's source.
size_t ImageFieldOffset(const TSeSkinSource& s) {
  return 20 + s.SkinName().size() + s.SkinVersion().size() + s.Author().size() + s.AuthorEMail().size() +
         s.AuthorURL().size();
}

TEST(SkinSourceTest, StartsWithItsDefaults) {
  TSeSkinSource source;
  EXPECT_EQ(source.SkinName(), "SkinEngine Skin");
  EXPECT_EQ(source.SkinVersion(), "3.4.7");
  EXPECT_FALSE(source.Author().empty());
  EXPECT_EQ(source.Count(), 0);
  EXPECT_EQ(source.AppliedHue(), 0);
  EXPECT_EQ(source.FormObject(), nullptr);
}

TEST(SkinSourceTest, EveryFileTypeWritesItsBytesAndReadsBack) {
  TSeSkinSource original;
  FillSampleSkin(original);
  const std::string expected = Describe(original);
  struct Case {
    const char* file;
    bool container;
    std::uint8_t levelByte;
    bool marked;  // the mskn form's image field
  } cases[] = {
      {"skin.uskn", false, 0, false},
      {"skin.kskn", true, 0x01, false},
      {"skin.xskn", true, 0xDA, false},
      {"skin.MSKN", true, 0xDA, true},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    original.SaveToFile(dir.File(c.file));
    const Bytes file = ReadFile(dir.File(c.file));
    Bytes content = file;
    if (c.container) {
      ASSERT_GT(file.size(), 6u);
      EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "QDLZ");
      EXPECT_EQ(file[4], 0x78);
      EXPECT_EQ(file[5], c.levelByte);
      content = Inflate(file, 4);
    }
    // The content starts with the skin name as a counted string.
    EXPECT_EQ(IntAt(content, 0), 5);
    EXPECT_EQ(std::string(content.begin() + 4, content.begin() + 9), "Steel");
    EXPECT_EQ(IntAt(content, ImageFieldOffset(original)), c.marked ? 0xF0002 : 2);

    TSeSkinSource loaded;
    loaded.LoadFromFile(dir.File(c.file));
    // The client object of the form tree is unmasked after any load.
    ASSERT_NE(loaded.FindObject("Form"), nullptr);
    EXPECT_FALSE(loaded.FindObject("Form")->FindObject("client")->Masked());
    loaded.FindObject("Form")->FindObject("client")->SetMasked(true);
    EXPECT_EQ(Describe(loaded), expected);
    EXPECT_EQ(loaded.FindObject("Form")->Images(), &loaded.Images());
    EXPECT_EQ(loaded.FindObject("Form")->Objects(0)->Objects(0)->Images(), &loaded.Images());
  }
}

TEST(SkinSourceTest, StreamsAreAlwaysTheKsknContainer) {
  TSeSkinSource original;
  FillSampleSkin(original);
  TempDir dir;
  original.SaveToFile(dir.File("a.mskn"));
  TSeSkinSource fromMskn;
  fromMskn.LoadFromFile(dir.File("a.mskn"));
  TMemoryStream stream;
  fromMskn.SaveToStream(stream);
  const Bytes& bytes = stream.Bytes();
  ASSERT_GT(bytes.size(), 6u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "QDLZ");
  EXPECT_EQ(bytes[5], 0x01);
  EXPECT_EQ(IntAt(Inflate(bytes, 4), ImageFieldOffset(original)), 2);  // the general form
  stream.SetPosition(0);
  TSeSkinSource again;
  again.LoadFromStream(stream);
  EXPECT_EQ(Describe(again), Describe(fromMskn));
  EXPECT_FALSE(again.FindObject("Form")->FindObject("Client")->Masked());
}

TEST(SkinSourceTest, AnyMagicLoadsAndUsknHasNone) {
  const Bytes content = ContentBuilder().Header("Magic").Int(0).Int(0).Data();
  for (const char* magic : {"QDLZ", "\0\0\0\0", "ZZZZ"}) {
    TSeSkinSource source;
    LoadWith<TSeSkinFilterCompressed>(source, Container(content, std::string_view(magic, 4)));
    EXPECT_EQ(source.SkinName(), "Magic");
  }
  TSeSkinSource plain;
  LoadWith<TSeSkinFilterUncompressed>(plain, content);
  EXPECT_EQ(plain.SkinName(), "Magic");
  EXPECT_EQ(SaveWith<TSeSkinFilterUncompressed>(plain), content);
}

TEST(SkinSourceTest, EmptyMissingAndUnknownNamesKeepTheLoadedSkin) {
  TSeSkinSource source;
  FillSampleSkin(source);
  const std::string before = Describe(source);
  TempDir dir;
  source.SaveToFile(dir.File("a.skin"));
  // Saved under an unknown extension: the kskn container.
  const Bytes file = ReadFile(dir.File("a.skin"));
  ASSERT_GT(file.size(), 6u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "QDLZ");
  EXPECT_EQ(file[5], 0x01);
  for (const std::string& name : {std::string(), dir.File("missing.kskn"), dir.File("a.skin"),
                                  std::string("no-such-folder/x.kskn"), dir.Path()}) {
    source.LoadFromFile(name);
    EXPECT_EQ(Describe(source), before) << name;
  }
  source.SaveToFile("");  // nothing to do
}

// Changes the working directory for the test's duration.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::string& path) : m_saved(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~WorkingDirectory() { std::filesystem::current_path(m_saved); }

 private:
  std::filesystem::path m_saved;
};

TEST(SkinSourceTest, RelativeNamesAreRetriedBesideTheExecutableAbsoluteOnesNever) {
  TSeSkinSource original;
  FillSampleSkin(original);
  const std::string folder = "skin-retry-" + std::to_string(::getpid());
  const std::string beside = ExeDirectory() + folder;
  std::filesystem::create_directories(beside);
  original.SaveToFile(beside + "/x.kskn");
  TempDir elsewhere;
  {
    WorkingDirectory cwd(elsewhere.Path());
    TSeSkinSource source;
    source.LoadFromFile(folder + "/x.kskn");
    EXPECT_EQ(source.SkinName(), "Steel");
    // "/<folder>/x.kskn" names a file beside the executable only if it were retried there.
    TSeSkinSource absolute;
    absolute.LoadFromFile("/" + folder + "/x.kskn");
    EXPECT_EQ(absolute.SkinName(), "SkinEngine Skin");
  }
  std::filesystem::remove_all(beside);
}

TEST(SkinSourceTest, EmptySkinLoadsWithItsHeader) {
  const Bytes content = ContentBuilder().Str("Empty").Str("0").Str("").Str("").Str("").Int(0).Int(0).Data();
  TSeSkinSource source;
  FillSampleSkin(source);
  LoadWith<TSeSkinFilterUncompressed>(source, content);
  EXPECT_EQ(source.SkinName(), "Empty");
  EXPECT_EQ(source.SkinVersion(), "0");
  EXPECT_EQ(source.Author(), "");
  EXPECT_EQ(source.Count(), 0);
  EXPECT_EQ(source.Images().Count(), 0);
  EXPECT_EQ(source.FormObject(), nullptr);
}

// A raw image record: name, width, height, pixels as blue, green, red, alpha.
Bytes RawImage(std::string_view name, std::int32_t width, std::int32_t height, std::initializer_list<TseColor> pixels) {
  ContentBuilder b;
  b.Str(name).Int(width).Int(height);
  for (TseColor p : pixels) b.Int(std::int32_t(p));
  return b.Data();
}

std::vector<TseColor> PixelsOf(const TseBitmap& b) {
  std::vector<TseColor> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.Pixel(x, y));
  return out;
}

TEST(SkinSourceTest, RawImageRecordsKeyMagentaAndTheKeyColourWithinFive) {
  constexpr TseColor key = 0x007F007F;
  const Bytes content = ContentBuilder()
                            .Header()
                            .Int(3)
                            .Raw(RawImage("KEYS", 3, 2, {0xFFFF00FF, 0xFFFA05FA, 0xFFF900FF, 0xFF7F007F, 0xFF84007F, 0xFF86007F}))
                            // Height -2: rows stored bottom to top.
                            .Raw(RawImage("FLIP", 1, -2, {0xFF000001, 0xFF000002}))
                            .Raw(RawImage("EMPTY", 0, 7, {}))
                            .Int(0)
                            .Data();
  TSeSkinSource source;
  LoadWith<TSeSkinFilterUncompressed>(source, content);
  ASSERT_EQ(source.Images().Count(), 3);
  const TseBitmap& keys = *source.Images().Items(0);
  EXPECT_EQ(PixelsOf(keys), (std::vector<TseColor>{key, key, 0xFFF900FF, key, key, 0xFF86007F}));
  EXPECT_TRUE(keys.HasKey());
  EXPECT_FALSE(keys.HasAlpha());
  EXPECT_EQ(PixelsOf(*source.Images().Items(1)), (std::vector<TseColor>{0xFF000002, 0xFF000001}));
  EXPECT_TRUE(source.Images().Items(2)->IsEmpty());
  EXPECT_EQ(source.Images().Items(2)->Name(), "EMPTY");
}

TEST(SkinSourceTest, PartialAlphaIsDetectedAfterKeying) {
  const Bytes content =
      ContentBuilder().Header().Int(1).Raw(RawImage("SHADOW", 2, 1, {0x80000000, 0xFFFF00FF})).Int(0).Data();
  TSeSkinSource source;
  LoadWith<TSeSkinFilterUncompressed>(source, content);
  const TseBitmap& b = *source.Images().Items(0);
  EXPECT_EQ(PixelsOf(b), (std::vector<TseColor>{0x80000000, 0x007F007F}));
  EXPECT_TRUE(b.HasAlpha());
  EXPECT_TRUE(b.HasKey());
}

// A 2 x 1 16-bit 5-6-5 BMP file (the shipped skin's kind): (15, 0, 15) in 5 bits and magenta.
Bytes Bmp565() {
  ContentBuilder b;
  b.Raw("BM").Int(14 + 40 + 12 + 4).Int(0).Int(14 + 40 + 12);
  b.Int(40).Int(2).Int(1).Raw(std::string_view("\x01\x00\x10\x00", 4)).Int(3).Int(4).Int(0).Int(0).Int(0).Int(0);
  b.Int(0xF800).Int(0x07E0).Int(0x001F);
  b.Raw(std::string_view("\x0F\x78\x1F\xF8", 4));
  return b.Data();
}

TEST(SkinSourceTest, MsknWithoutTheMarkerReadsBmpRecordsKeyingOnlyTheKeyColour) {
  const Bytes bmp = Bmp565();
  const Bytes content = ContentBuilder()
                            .Header("Legacy")
                            .Int(2)
                            .Str("LISTVIEWHEADER.BMP")
                            .Int(std::int32_t(bmp.size()))
                            .Raw(bmp)
                            .Str("LISTVIEWHEADER.BMP")
                            .Int(std::int32_t(bmp.size()))
                            .Raw(bmp)
                            .Int(0)
                            .Data();
  TSeSkinSource source;
  LoadWith<TSeSkinFilterMaxCompression>(source, Container(content, "QDLZ", 9));
  ASSERT_EQ(source.Images().Count(), 2);
  const TseBitmap& b = *source.Images().Items(0);
  // 5-bit 15 widens to 123, within 5 of 127: keyed. Magenta is not keyed in BMP records.
  EXPECT_EQ(PixelsOf(b), (std::vector<TseColor>{0x007F007F, 0xFFFF00FF}));
  EXPECT_TRUE(b.HasKey());
  EXPECT_EQ(b.Name(), "LISTVIEWHEADER.BMP");
  // Both stay; a lookup by name, in any case, finds the first.
  EXPECT_EQ(source.Images().GetLink("listviewheader.bmp", {0, 0, 1, 1})->Image(), source.Images().Items(0));
  // Saved again, both are kept, now as marked raw records (where magenta is keyed).
  const Bytes saved = SaveWith<TSeSkinFilterMaxCompression>(source);
  EXPECT_EQ(IntAt(Inflate(saved, 4), ImageFieldOffset(source)), 0xF0002);
  TSeSkinSource again;
  LoadWith<TSeSkinFilterMaxCompression>(again, saved);
  ASSERT_EQ(again.Images().Count(), 2);
  EXPECT_EQ(again.Images().Items(1)->Name(), "LISTVIEWHEADER.BMP");
  EXPECT_EQ(PixelsOf(*again.Images().Items(1)), (std::vector<TseColor>{0x007F007F, 0x007F007F}));
}

TEST(SkinSourceTest, LeafObjectsValueIsTheMarkedZeroCount) {
  TSeSkinObject leaf(nullptr);
  leaf.SetName("Leaf");
  TMemoryStream stream;
  WriteComponentToStream(stream, leaf);
  const std::string bytes(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
  // The value 00 00 0F 00, then the ends of the property and child lists.
  const std::string objects = std::string("\x07Objects\x0A\x04\x00\x00\x00\x00\x00\x0F\x00\x00\x00", 19);
  ASSERT_GE(bytes.size(), objects.size());
  EXPECT_EQ(bytes.substr(bytes.size() - objects.size()), objects);
}

TEST(SkinSourceTest, ChildListsWithoutTheMarkerHoldTextRecords) {
  const Bytes child = TextRecord("TSeSkinObject", ObjectStream("TSeSkinObject", "Child", "\x04Kind\x07\x08skClient"));
  Bytes objects = ContentBuilder().Int(1).Raw(child).Data();
  std::string props = "\x07Objects\x0A";
  for (int i = 0; i < 4; ++i) props += char(std::uint32_t(objects.size()) >> (8 * i));
  props.append(objects.begin(), objects.end());
  const Bytes content = ContentBuilder()
                            .Header()
                            .Int(0)
                            .Int(1)
                            .Raw(BinaryRecord("TSeSkinObject", ObjectStream("TSeSkinObject", "Parent", props)))
                            .Data();
  TSeSkinSource source;
  LoadWith<TSeSkinFilterMaxCompression>(source, Container(content));
  TSeSkinObject* parent = source.FindObject("parent");
  ASSERT_NE(parent, nullptr);
  ASSERT_EQ(parent->Count(), 1);
  EXPECT_EQ(parent->Objects(0)->Name(), "Child");
  EXPECT_EQ(parent->Objects(0)->Kind(), skClient);
  EXPECT_EQ(parent->Objects(1), nullptr);
}

TEST(SkinSourceTest, FontsComeBackWithTheDefaultCharset) {
  TSeSkinSource source;
  FillSampleSkin(source);
  source.FindObject("Form")->FindObject("Client")->Font()->SetCharset(GB2312_CHARSET);
  source.FindObject("Button")->Font()->SetCharset(SYMBOL_CHARSET);
  TSeSkinSource loaded;
  LoadWith<TSeSkinFilterCompressed>(loaded, SaveWith<TSeSkinFilterCompressed>(source));
  EXPECT_EQ(loaded.FindObject("Button")->Font()->Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(loaded.FindObject("Form")->FindObject("Client")->Font()->Charset(), DEFAULT_CHARSET);
  EXPECT_EQ(loaded.FindObject("Button")->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(loaded.FindObject("Form")->Font()->Name(), "Arial");
}

TEST(SkinSourceTest, LookupsIgnoreCaseAndSeeNothingWhileBusy) {
  TSeSkinSource source;
  FillSampleSkin(source);
  auto second = std::make_unique<TSeSkinObject>(nullptr);
  second->SetName("FORM");
  TSeSkinObject* duplicate = source.AddObject(std::move(second));
  TSeSkinObject* form = source.ObjectAt(0);
  EXPECT_EQ(source.FindObject("form"), form);  // the first of equal names
  EXPECT_EQ(source.FormObject(), form);
  EXPECT_EQ(source.FindObjectByKind(skForm), form);
  EXPECT_EQ(source.FindObject("Caption"), nullptr);  // top-level objects only
  EXPECT_EQ(form->FindObject("CLIENT"), form->Objects(0)->Objects(0));
  EXPECT_EQ(form->FindObjectByKind(skClient), form->Objects(0)->Objects(0));
  EXPECT_EQ(form->FindObject("Form"), form);
  EXPECT_EQ(source.Objects(2), duplicate);
  EXPECT_EQ(source.Objects(3), nullptr);
  EXPECT_EQ(source.Objects(-1), nullptr);

  source.SetBusy(true);
  EXPECT_EQ(source.Count(), 3);
  EXPECT_EQ(source.Objects(0), nullptr);
  EXPECT_EQ(source.FindObject("Form"), nullptr);
  EXPECT_EQ(source.FindObjectByKind(skForm), nullptr);
  EXPECT_EQ(source.FormObject(), nullptr);
  source.SetBusy(false);

  // Without an object named Form, the first of kind skForm.
  form->SetName("Frame");
  duplicate->SetName("Other");
  EXPECT_EQ(source.FormObject(), form);
}

TEST(SkinSourceTest, UnknownClassStopsTheLoadKeepingWhatCameBefore) {
  const Bytes content = ContentBuilder()
                            .Header()
                            .Int(0)
                            .Int(3)
                            .Raw(BinaryRecord("TSeSkinObject", ObjectStream("TSeSkinObject", "First")))
                            // Class names are compared exactly.
                            .Raw(BinaryRecord("TseSkinObject", ObjectStream("TSeSkinObject", "Second")))
                            .Raw(BinaryRecord("TSeSkinObject", ObjectStream("TSeSkinObject", "Third")))
                            .Data();
  TSeSkinSource source;
  try {
    LoadWith<TSeSkinFilterMaxCompression>(source, Container(content));
    ADD_FAILURE() << "no error";
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TseSkinObject not found");
  }
  ASSERT_EQ(source.Count(), 1);
  EXPECT_EQ(source.ObjectAt(0)->Name(), "First");
}

TEST(SkinObjectRegistryTest, StartsWithTheBaseClassAndTakesOnlySkinObjects) {
  ASSERT_FALSE(SkinObjectClasses().empty());
  EXPECT_EQ(SkinObjectClasses().front(), &TSeSkinObject::StaticClassInfo());
  EXPECT_EQ(FindSkinObjectClass("TSeSkinObject"), &TSeSkinObject::StaticClassInfo());
  EXPECT_EQ(FindSkinObjectClass("tseskinobject"), nullptr);
  EXPECT_THROW(RegisterSkinObjectClass(TComponent::StaticClassInfo()), EInvalidArgument);
}

TEST(SkinObjectTest, NewObjectHasItsInitialValues) {
  TSeSkinObject o(nullptr);
  EXPECT_EQ(o.Align(), saNone);
  EXPECT_EQ(o.Color(), clWhite);
  EXPECT_FALSE(o.DrawIfOwner());
  EXPECT_EQ(o.Font()->Name(), "Arial");
  EXPECT_EQ(o.Font()->Color(), clBlack);
  EXPECT_EQ(o.Kind(), skNone);
  EXPECT_TRUE(o.Masked());
  EXPECT_EQ(o.TextAlign(), taLeft);
  EXPECT_EQ(o.TextEffect(), teNone);
  EXPECT_EQ(o.Count(), 0);
  // Stored order of the published properties.
  std::vector<std::string_view> names;
  for (const TPropertyInfo& p : TSeSkinObject::StaticClassInfo().Properties()) names.push_back(p.name);
  const std::vector<std::string_view> expected = {
      "Name", "Tag", "Align", "Color", "DrawIfOwner", "Font", "Kind", "Masked", "Left", "Top", "Height",
      "Width", "MarginLeft", "MarginRight", "MarginTop", "MarginBottom", "TextAlign", "TextEffect",
      "TextMarginLeft", "TextMarginRight", "TextMarginTop"};
  EXPECT_EQ(names, expected);
}

TEST(SkinSourceTest, HueIsAppliedByDifferenceAndStartsAtZeroAfterALoad) {
  TSeSkinSource original;
  FillSampleSkin(original);
  original.FindObject("Form")->SetColor(0x3060C0);
  original.FindObject("Form")->FindObject("Client")->Font()->SetColor(0x205020);
  const Bytes file = SaveWith<TSeSkinFilterCompressed>(original);
  auto shifted = [](TColor c, int delta) { return ColorFromSeColor(ShiftHueColor(SeColorFromColor(c), delta)); };

  TSeSkinSource source;
  LoadWith<TSeSkinFilterCompressed>(source, file);
  source.ApplyHue(40);
  source.ApplyHue(40);  // no change: already applied
  source.ApplyHue(60);  // 20 more
  EXPECT_EQ(source.AppliedHue(), 60);
  const TseBitmap& frame = *source.Images().Items(0);
  EXPECT_EQ(frame.Pixel(0, 0), ShiftHueColor(ShiftHueColor(0xFF102030, 40), 20));
  EXPECT_EQ(frame.Pixel(1, 0), 0x007F007Fu);  // the key stays
  EXPECT_EQ(source.FindObject("Form")->Color(), shifted(shifted(0x3060C0, 40), 20));
  EXPECT_EQ(source.FindObject("Form")->FindObject("Client")->Font()->Color(), shifted(shifted(0x205020, 40), 20));
  EXPECT_EQ(source.FindObject("Form")->FindObject("Caption")->Color(), clNone);

  // A load starts from the stored colours with nothing applied, so the engine's hue lands once.
  LoadWith<TSeSkinFilterCompressed>(source, file);
  EXPECT_EQ(source.AppliedHue(), 0);
  source.ApplyHue(60);
  EXPECT_EQ(source.Images().Items(0)->Pixel(0, 0), ShiftHueColor(0xFF102030, 60));
  EXPECT_EQ(source.FindObject("Form")->Color(), shifted(0x3060C0, 60));
}

}  // namespace
}  // namespace vandrel::test
