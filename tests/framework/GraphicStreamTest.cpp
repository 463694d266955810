// Graphics kept as published properties: their pixels travel as the binary property "Data" through
// the binary stream and the text form, and damaged Data blocks are refused without touching what
// the graphic held.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/Bitmap.h"
#include "framework/Icon.h"
#include "framework/Image.h"
#include "framework/JpegImage.h"
#include "framework/ObjectText.h"
#include "framework/Picture.h"
#include "framework/PropertyInfo.h"
#include "framework/Reader.h"
#include "framework/Writer.h"

using namespace vandrel;

namespace {

// A component with a bare bitmap property, as a control publishes its glyph.
class TBitmapHolder : public TComponent {
  VANDREL_CLASS_INFO
 public:
  using TComponent::TComponent;
  TBitmap* Bitmap() const { return m_bitmap.get(); }

 private:
  std::unique_ptr<TBitmap> m_bitmap = std::make_unique<TBitmap>();
};

std::vector<std::uint8_t> SourceFile(const std::string& path) {
  std::ifstream in(std::string(VANDREL_SOURCE_DIR) + "/" + path, std::ios::binary);
  if (!in) throw std::runtime_error("missing file " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char(v >> (8 * i));
}

// A bottom-up 24-bit BMP of 5 x 3 (rows padded to 16 bytes), every pixel a different colour.
std::string Bmp24() {
  std::string s = "BM";
  Put32(s, 14 + 40 + 16 * 3);
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, 5);
  Put32(s, 3);
  s += std::string("\x01\x00\x18\x00", 4);
  for (int i = 0; i < 6; ++i) Put32(s, 0);
  for (int row = 0; row < 3; ++row) {
    for (int x = 0; x < 5; ++x) s += {char(10 * x), char(40 * row), char(200 - x - row)};
    s += '\0';
  }
  return s;
}

std::unique_ptr<TBitmap> FromBmp(const std::string& bmp) {
  auto b = std::make_unique<TBitmap>();
  TReadOnlyMemoryStream s(bmp.data(), std::int64_t(bmp.size()));
  b->LoadFromStream(s);
  return b;
}

// 4 x 3 with straight alpha from fully transparent to opaque.
std::unique_ptr<TBitmap> WithAlpha() {
  auto b = std::make_unique<TBitmap>(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) b->ScanLine(y)[x] = (std::uint32_t(x * 0x55) << 24) | std::uint32_t(0x102030 * (y + 1) + x);
  return b;
}

std::vector<std::uint32_t> Pixels(const TBitmap& b) {
  std::vector<std::uint32_t> px;
  for (int y = 0; y < b.Height(); ++y) px.insert(px.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
  return px;
}

// What the picture shows, drawn on white: the same for two equal pictures of any kind.
std::vector<std::uint32_t> Rendered(const TPicture& p) {
  TBitmap target(p.Width(), p.Height());
  target.Canvas()->StretchDraw(Rect(0, 0, p.Width(), p.Height()), *p.Graphic());
  return Pixels(target);
}

std::string Binary(TComponent& c) {
  TMemoryStream s;
  WriteComponentToStream(s, c);
  return {s.Bytes().begin(), s.Bytes().end()};
}

void ReadInto(const std::string& binary, TComponent& root) {
  TReadOnlyMemoryStream s(binary.data(), std::int64_t(binary.size()));
  ReadComponentFromStream(s, &root);
}

// The bytes stored under "<name>.Data" in a binary stream (the block after the kind and count).
std::string DataBlock(const std::string& binary, const std::string& name) {
  std::string key = char(name.size() + 5) + name + ".Data" + char(vaBinary);
  size_t at = binary.find(key);
  if (at == std::string::npos) return {};
  at += key.size();
  std::uint32_t count = 0;
  std::memcpy(&count, binary.data() + at, 4);
  return binary.substr(at + 4, count);
}

// A stream that reads the given Data block into the root's property name.
std::string WithData(const std::string& rootClass, const std::string& name, const std::string& block) {
  std::string s = "TPF0" + std::string(1, char(rootClass.size())) + rootClass + "\x04Root";
  s += char(name.size() + 5) + name + ".Data" + char(vaBinary);
  Put32(s, std::uint32_t(block.size()));
  return s + block + std::string("\0\0", 2);
}

std::string Sized(const std::string& bytes) {
  std::string s;
  Put32(s, std::uint32_t(bytes.size()));
  return s + bytes;
}

}  // namespace

const TClassInfo& TBitmapHolder::StaticClassInfo() {
  using T = TBitmapHolder;
  static const TClassInfo info("TBitmapHolder", &TComponent::StaticClassInfo(), ComponentFactory<T>(), {
      prop::Object("Bitmap", &T::Bitmap),
  });
  return info;
}

TEST(GraphicStream, BitmapsKeepEveryPixelThroughBinaryAndText) {
  struct Case {
    const char* name;
    std::unique_ptr<TBitmap> bitmap;
  };
  Case cases[] = {{"24-bit file, padded rows", FromBmp(Bmp24())}, {"32-bit with alpha", WithAlpha()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmapHolder source(nullptr);
    source.SetName("Holder");
    source.Bitmap()->Assign(*c.bitmap);
    const std::string binary = Binary(source);

    // A byte count, then a whole 32-bit BMP file that this count covers exactly.
    const std::string block = DataBlock(binary, "Bitmap");
    ASSERT_GT(block.size(), 4u + 54u);
    std::uint32_t count = 0;
    std::memcpy(&count, block.data(), 4);
    EXPECT_EQ(count, block.size() - 4);
    EXPECT_EQ(block.substr(4, 2), "BM");
    EXPECT_EQ(block[4 + 28], 32);

    TBitmapHolder fromBinary(nullptr);
    ReadInto(binary, fromBinary);
    EXPECT_EQ(fromBinary.Bitmap()->Width(), c.bitmap->Width());
    EXPECT_EQ(Pixels(*fromBinary.Bitmap()), Pixels(*c.bitmap));

    const std::string text = ComponentToText(source);
    EXPECT_NE(text.find("Bitmap.Data = {"), std::string::npos) << text;
    TBitmapHolder fromText(nullptr);
    ComponentFromText(text, &fromText);
    EXPECT_EQ(Pixels(*fromText.Bitmap()), Pixels(*c.bitmap));
    EXPECT_EQ(Binary(fromText), binary);
  }
}

TEST(GraphicStream, AnEmptyBitmapOrPictureStoresNoData) {
  TBitmapHolder holder(nullptr);
  EXPECT_EQ(Binary(holder).find("Data"), std::string::npos);
  TImage image(nullptr);
  EXPECT_EQ(Binary(image).find("Data"), std::string::npos);
  // Emptying a bitmap through a stored empty one (a zero count) is accepted.
  holder.Bitmap()->Assign(*WithAlpha());
  ReadInto(WithData("TBitmapHolder", "Bitmap", Sized("")), holder);
  EXPECT_TRUE(holder.Bitmap()->Empty());
}

TEST(GraphicStream, PicturesKeepTheirKindAndImage) {
  const auto jpeg = SourceFile("resources/artwork/Banner.jpg");
  const auto ico = SourceFile("resources/artwork/Vandrel.ico");
  TIcon drawnIcon;
  std::vector<std::uint32_t> argb(16 * 16);
  for (size_t i = 0; i < argb.size(); ++i) argb[i] = i % 3 ? 0xFF000000u | std::uint32_t(i * 997) : 0u;
  drawnIcon.SetPixels(16, 16, argb.data());

  struct Case {
    const char* name;
    std::function<void(TPicture&)> fill;
    std::string className;
    bool sized;        // the graphic's bytes carry their own count
    std::string file;  // the file it was loaded from, kept byte for byte at the block's end
  };
  const Case cases[] = {
      {"bitmap", [](TPicture& p) { p.Assign(*WithAlpha()); }, "TBitmap", true, ""},
      {"JPEG", [&](TPicture& p) { TReadOnlyMemoryStream s(jpeg.data(), std::int64_t(jpeg.size())); p.LoadFromStream(s); },
       "TJPEGImage", true, std::string(jpeg.begin(), jpeg.end())},
      {"icon file", [&](TPicture& p) { TReadOnlyMemoryStream s(ico.data(), std::int64_t(ico.size())); p.LoadFromStream(s); },
       "TIcon", false, std::string(ico.begin(), ico.end())},
      {"icon made from pixels", [&](TPicture& p) { p.Assign(drawnIcon); }, "TIcon", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TImage source(nullptr);
    source.SetName("Image1");
    c.fill(*source.Picture());
    ASSERT_NE(source.Picture()->Graphic(), nullptr);
    const std::string binary = Binary(source);

    const std::string block = DataBlock(binary, "Picture");
    ASSERT_EQ(block.substr(0, 1 + c.className.size()), char(c.className.size()) + c.className);
    if (c.sized) {
      std::uint32_t count = 0;
      std::memcpy(&count, block.data() + 1 + c.className.size(), 4);
      EXPECT_EQ(count, block.size() - 5 - c.className.size());
    }
    EXPECT_EQ(block.substr(block.size() - c.file.size()), c.file);

    TImage fromBinary(nullptr), fromText(nullptr);
    ReadInto(binary, fromBinary);
    ComponentFromText(ComponentToText(source), &fromText);
    for (TImage* copy : {&fromBinary, &fromText}) {
      ASSERT_NE(copy->Picture()->Graphic(), nullptr);
      EXPECT_EQ(copy->Picture()->Graphic()->ClassName(), c.className);
      EXPECT_EQ(copy->Picture()->Width(), source.Picture()->Width());
      EXPECT_EQ(Rendered(*copy->Picture()), Rendered(*source.Picture()));
      EXPECT_EQ(Binary(*copy), binary);
    }
  }
}

TEST(GraphicStream, DamagedDataIsRefusedAndNothingIsHalfLoaded) {
  const std::string bmp = [] {
    TMemoryStream s;
    WithAlpha()->SaveToStream(s);
    return std::string(s.Bytes().begin(), s.Bytes().end());
  }();
  // Headers promising 4000 x 4000 and 30000 x 30000 pixels over a few bytes.
  auto promising = [&](const char* size) {
    std::string bytes = bmp.substr(0, 54) + "abcd";
    return bytes.replace(18, 8, std::string(size, 8));
  };
  const std::string pictureBitmap = std::string("\x07TBitmap") + Sized(bmp);

  struct Case {
    const char* name;
    std::string rootClass, property, block, message;
  };
  const Case cases[] = {
      {"bitmap count missing", "TBitmapHolder", "Bitmap", std::string("\x10\0", 2), "byte count is missing"},
      {"bitmap count past the block", "TBitmapHolder", "Bitmap", Sized(bmp).substr(0, 60), "announces"},
      {"bitmap count short of the block", "TBitmapHolder", "Bitmap", Sized(bmp) + "xx", "announces"},
      {"BMP cut in its pixels", "TBitmapHolder", "Bitmap", Sized(bmp.substr(0, bmp.size() - 5)), "truncated"},
      {"BMP header promising more than it holds", "TBitmapHolder", "Bitmap", Sized(promising("\xA0\x0F\0\0\xA0\x0F\0\0")),
       "Bitmap image is truncated"},
      {"BMP header of a giant", "TBitmapHolder", "Bitmap", Sized(promising("\x30\x75\0\0\x30\x75\0\0")),
       "Bitmap image is too large"},
      {"not a BMP", "TBitmapHolder", "Bitmap", Sized("GIF89a and so on"), "not valid"},
      {"picture block empty", "TImage", "Picture", "", "empty"},
      {"class name past the block", "TImage", "Picture", "\x0ATBitmap", "class name"},
      {"unknown class", "TImage", "Picture", std::string("\x09TMetafile") + Sized(bmp), "unknown graphic class 'TMetafile'"},
      {"picture bitmap cut", "TImage", "Picture", pictureBitmap.substr(0, pictureBitmap.size() - 1), "announces"},
      {"JPEG that is none", "TImage", "Picture", std::string("\x0ATJPEGImage") + Sized("\xFF\xD8\xFF but then nothing"), "JPEG"},
      {"JPEG count past the block", "TImage", "Picture", std::string("\x0ATJPEGImage\xFF\xFF\0\0\xFF\xD8\xFF", 18), "announces"},
      {"icon that is none", "TImage", "Picture", std::string("\x05TIcon\0\0\x01\0\x01\0", 12), "Icon image is not valid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Each root holds a picture already; it must come through unchanged.
    std::unique_ptr<TComponent> root;
    TBitmap* held = nullptr;
    if (c.rootClass == "TImage") {
      auto image = std::make_unique<TImage>(nullptr);
      image->Picture()->Assign(*FromBmp(Bmp24()));
      held = image->Picture()->Bitmap();
      root = std::move(image);
    } else {
      auto holder = std::make_unique<TBitmapHolder>(nullptr);
      holder->Bitmap()->Assign(*FromBmp(Bmp24()));
      held = holder->Bitmap();
      root = std::move(holder);
    }
    const auto before = Pixels(*held);
    try {
      ReadInto(WithData(c.rootClass, c.property, c.block), *root);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.property + ".Data"), std::string::npos) << e.what();
    }
    if (c.rootClass == "TImage") {
      auto* image = static_cast<TImage*>(root.get());
      ASSERT_NE(image->Picture()->Graphic(), nullptr);
      EXPECT_EQ(image->Picture()->Graphic(), held);
    }
    EXPECT_EQ(Pixels(*held), before);
  }
}
