// The skin compiler on small skins written by the program itself: exact unpack/pack round trips for
// every file type, the 5-6-5 BMP records, what info lists, and one clear line with nothing
// written for damaged, foreign or inconsistent input.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "graphics/Bitmap.h"
#include "skin/BmpDecoder.h"
#include "skin/BmpEncoder.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"
#include "tools/vandrel-skin/PngFile.h"
#include "tools/vandrel-skin/SkinCompiler.h"
#include "tools/vandrel-skin/SkinPackage.h"

namespace vandrel::test {
namespace {

using namespace skinpack;
namespace fs = std::filesystem;

struct TRun {
  int code;
  std::string out;
  std::string err;
};

TRun Compile(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int code = RunSkinCompiler(args, out, err);
  return {code, out.str(), err.str()};
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void WriteString(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::unique_ptr<TseBitmap> Image(const std::string& name, int width, int height, std::vector<TseColor> pixels) {
  auto image = std::make_unique<TseBitmap>();
  image->SetName(name);
  image->SetSize(width, height);
  for (size_t i = 0; i < pixels.size(); ++i) image->SetPixel(int(i) % width, int(i) / width, pixels[i]);
  return image;
}

// Two images, one of them keyed, and a Form tree of three levels beside a leaf Button.
void FillSkin(TSeSkinSource& source) {
  source.SetSkinName("Small");
  source.SetSkinVersion("1.0");
  source.Images().Add(Image("FRAME.BMP", 3, 2, {0xFF102030, 0x007F007F, 0xFFFFFFFF, 0xFF000000, 0xFF405060, 0xFF708090}));
  source.Images().Add(Image("glyph.bmp", 1, 1, {0xFF00FF00}));
  auto form = std::make_unique<TSeSkinObject>(nullptr);
  form->SetName("Form");
  form->SetKind(skForm);
  form->SetWidth(375);
  form->SetHeight(247);
  auto* caption = new TSeSkinObject(form.get());
  caption->SetName("Caption");
  caption->SetAlign(saTop);
  caption->SetWidth(375);
  caption->SetHeight(29);
  auto* client = new TSeSkinObject(caption);
  client->SetName("Client");
  client->SetKind(skClient);
  client->SetAlign(saClient);
  client->SetLeft(5);
  client->SetTop(29);
  source.AddObject(std::move(form));
  auto button = std::make_unique<TSeSkinObject>(nullptr);
  button->SetName("Button");
  button->Font()->SetName("MS Sans Serif");
  source.AddObject(std::move(button));
}

class SkinCompilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("vandrel-skin-test-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  // Only the named entries are in the folder: no temporary file is left behind.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir;
};

TEST_F(SkinCompilerTest, UnpackThenPackGivesBackTheSameBytesForEveryType) {
  for (const char* name : {"skin.uskn", "skin.kskn", "skin.xskn", "skin.mskn"}) {
    SCOPED_TRACE(name);
    TSeSkinSource source;
    FillSkin(source);
    source.SaveToFile(Path(name));
    ASSERT_EQ(Compile({"unpack", Path(name), Path("unpacked")}).code, 0);
    const TRun packed = Compile({"pack", Path("unpacked"), Path(std::string("again-") + name)});
    ASSERT_EQ(packed.code, 0) << packed.err;
    EXPECT_EQ(FileBytes(Path(std::string("again-") + name)), FileBytes(Path(name)));
    fs::remove_all(Path("unpacked"));
  }
}

TEST_F(SkinCompilerTest, BmpRecordsHold565PicturesThatRoundTripAndLoad) {
  TSeSkinSource source;
  FillSkin(source);
  source.SaveToFile(Path("raw.kskn"));
  ASSERT_EQ(Compile({"convert", Path("raw.kskn"), Path("bmp.mskn"), "--bmp"}).code, 0);

  const TSkinPackage package = ReadSkinPackage(Path("bmp.mskn"));
  EXPECT_EQ(package.ImageRecords, TImageRecords::Bmp);
  // Stored as 5-6-5: a colour comes back widened, the key as (123, 0, 123).
  EXPECT_EQ(package.Images[0].Pixels[0], From565(To565(0xFF102030)));
  EXPECT_EQ(package.Images[0].Pixels[1], 0xFF7B007Bu);

  ASSERT_EQ(Compile({"unpack", Path("bmp.mskn"), Path("unpacked")}).code, 0);
  ASSERT_EQ(Compile({"pack", Path("unpacked"), Path("again.mskn")}).code, 0);
  EXPECT_EQ(FileBytes(Path("again.mskn")), FileBytes(Path("bmp.mskn")));

  // The program's loader keys the widened key and finds the objects.
  TSeSkinSource loaded;
  loaded.LoadFromFile(Path("bmp.mskn"));
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.Images().Items(0)->Pixel(1, 0), kTransparentKey);
  EXPECT_NE(loaded.FindObject("Form")->FindObject("Client"), nullptr);
}

TEST_F(SkinCompilerTest, TheEncoderInvertsTheDecodersWidening) {
  for (std::uint32_t v = 0; v <= 0xFFFF; ++v) ASSERT_EQ(To565(From565(std::uint16_t(v))), v);
  // Three pixels a row: every row padded to four bytes, stored bottom to top.
  const std::vector<std::uint32_t> pixels = {From565(0xF800), From565(0x07E0), From565(0x001F),
                                             From565(0x1234), From565(0xFFFF), From565(0x0000)};
  const std::vector<std::uint8_t> file = EncodeBmp565(3, 2, pixels);
  EXPECT_EQ(file.size(), 66u + 2 * 8);
  const auto decoded = DecodeBmp(file);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(decoded->Pixel(i % 3, i / 3), pixels[size_t(i)]) << i;
}

TEST_F(SkinCompilerTest, UnpackExportsThePixelsAsStoredBeforeKeying) {
  TSkinPackage package;
  package.Header = {"Keyed", "1", "", "", ""};
  // Near the key: a load would make it see-through; the unpacked picture keeps it.
  package.Images.push_back({"NEAR.BMP", 2, 1, {0xFF7D027F, 0x80112233}});
  WriteBytes(Path("near.xskn"), WriteSkinPackage(package, TSkinFileType::UltraCompressed));
  ASSERT_EQ(Compile({"unpack", Path("near.xskn"), Path("unpacked")}).code, 0);
  EXPECT_EQ(LoadPng(Path("unpacked/images/00-NEAR.BMP.png")).Pixels, package.Images[0].Pixels);
}

TEST_F(SkinCompilerTest, InfoListsHeaderImagesAndTheTrees) {
  TSeSkinSource source;
  FillSkin(source);
  source.SaveToFile(Path("skin.kskn"));
  const TRun info = Compile({"info", Path("skin.kskn")});
  ASSERT_EQ(info.code, 0) << info.err;
  EXPECT_EQ(info.out,
            "SkinName: Small\nSkinVersion: 1.0\n"
            "Author: " + source.Author() + "\nAuthorEMail: " + source.AuthorEMail() + "\nAuthorURL: " +
                source.AuthorURL() + "\n"
            "Images: 2 (raw records)\n"
            "  0 FRAME.BMP 3x2\n"
            "  1 glyph.bmp 1x1\n"
            "Objects: 2\n"
            "  Form (TSeSkinObject): skForm, saNone, 0, 0, 375, 247\n"
            "    Caption (TSeSkinObject): skNone, saTop, 0, 0, 375, 29\n"
            "      Client (TSeSkinObject): skClient, saClient, 5, 29, 0, 0\n"
            "  Button (TSeSkinObject): skNone, saNone, 0, 0, 0, 0\n");
}

TEST_F(SkinCompilerTest, BadInputGivesOneLineAndWritesNothing) {
  TSeSkinSource source;
  FillSkin(source);
  source.SaveToFile(Path("good.kskn"));
  ASSERT_EQ(Compile({"unpack", Path("good.kskn"), Path("folder")}).code, 0);
  std::vector<std::uint8_t> truncated = FileBytes(Path("good.kskn"));
  truncated.resize(truncated.size() / 2);
  WriteBytes(Path("truncated.kskn"), truncated);
  WriteString(Path("foreign.mskn"), "GIF89a not a skin at all");
  WriteString(Path("target.mskn"), "keep me");

  struct TCase {
    const char* what;
    std::function<void()> prepare;
    std::vector<std::string> args;
    std::string says;
  };
  const std::vector<TCase> cases = {
      {"a truncated file", [] {}, {"info", Path("truncated.kskn")}, "truncated.kskn: "},
      {"a foreign file", [] {}, {"convert", Path("foreign.mskn"), Path("target.mskn")}, "No QDLZ container"},
      {"a missing file", [] {}, {"info", Path("none.kskn")}, "none.kskn"},
      {"an unknown extension", [] {}, {"convert", Path("good.kskn"), Path("target.zip")}, "not a skin file name"},
      {"a picture of the wrong size",
       [this] { SavePng({2, 2, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}}, Path("folder/images/01-glyph.bmp.png")); },
       {"pack", Path("folder"), Path("target.mskn")}, "image glyph.bmp is 2x2 in images/01-glyph.bmp.png, its record says 1x1"},
      {"a class the program does not know",
       [this] {
         fs::remove(Path("folder/images/01-glyph.bmp.png"));
         Compile({"unpack", Path("good.kskn"), Path("folder")});
         std::ifstream in(Path("folder/objects.txt"));
         std::string text((std::istreambuf_iterator<char>(in)), {});
         text.replace(text.find("Button: TSeSkinObject"), 21, "Button: TSeGauge");
         WriteString(Path("folder/objects.txt"), text);
       },
       {"pack", Path("folder"), Path("target.mskn")}, "TSeGauge"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    c.prepare();
    const TRun run = Compile(c.args);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("vandrel-skin: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(FileBytes(Path("target.mskn")), std::vector<std::uint8_t>({'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
  }
  EXPECT_EQ(Entries(), std::vector<std::string>({"folder", "foreign.mskn", "good.kskn", "target.mskn", "truncated.kskn"}));
  EXPECT_EQ(Compile({"pack", Path("folder")}).code, 2);
}

}  // namespace
}  // namespace vandrel::test
