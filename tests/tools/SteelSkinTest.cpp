// The Steel skin's artwork against what its object trees need: the image table, the key pixels
// that make the window corners, panels and buttons see-through (and nothing else), and a visible
// difference between the pictures of an object's states. Every check looks at the pictures as the
// skin file keeps them, quantised to 5-6-5.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/steel-skin/SteelSkin.h"

namespace vandrel::steelskin {
namespace {

struct TRectangle {
  int Left, Top, Right, Bottom;
};

class SteelSkinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_images = new std::vector<TSkinImage>(DrawSteelImages());
    for (TSkinImage& image : *s_images)
      for (std::uint32_t& p : image.Pixels) p = Quantise565(p);
  }
  static void TearDownTestSuite() {
    delete s_images;
    s_images = nullptr;
  }

  // The first image of the name, as the skin resolves names.
  static const TSkinImage& Image(const std::string& name) {
    for (const TSkinImage& image : *s_images)
      if (image.Name == name) return image;
    ADD_FAILURE() << "no image " << name;
    return s_images->front();
  }

  // Which parts of a rectangle hold see-through pixels: centre, edges, corners for the margins
  // (left, top, right, bottom); without margins only the first flag counts, for the whole rectangle.
  struct TMaskFlags {
    bool Masked = false, MaskedBorder = false, MaskedAngles = false;
  };
  static TMaskFlags CheckMasked(const std::string& name, TRectangle r, int m1 = 0, int m2 = 0, int m3 = 0,
                                int m4 = 0) {
    const TSkinImage& image = Image(name);
    TMaskFlags flags;
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (!MatchesKey(image.At(r.Left + x, r.Top + y))) continue;
        const bool inX = x >= m1 && x < w - m3, inY = y >= m2 && y < h - m4;
        if (inX && inY) flags.Masked = true;
        else if (inX || inY) flags.MaskedBorder = true;
        else flags.MaskedAngles = true;
      }
    return flags;
  }

  static bool SamePixels(const std::string& name, TRectangle a, TRectangle b) {
    const TSkinImage& image = Image(name);
    const int w = std::min(a.Right - a.Left, b.Right - b.Left), h = std::min(a.Bottom - a.Top, b.Bottom - b.Top);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (image.At(a.Left + x, a.Top + y) != image.At(b.Left + x, b.Top + y)) return false;
    return true;
  }

  static std::vector<TSkinImage>* s_images;
};

std::vector<TSkinImage>* SteelSkinTest::s_images = nullptr;

TEST_F(SteelSkinTest, ImagesFollowTheSkinsTableInOrderNameAndSize) {
  struct TRow {
    const char* Name;
    int Width, Height;
  };
  const TRow table[] = {
      {"FRAMEBOTTOM.BMP", 49, 10},         {"FRAMECAPTION.BMP", 66, 58},
      {"FRAMELEFT.BMP", 5, 62},            {"FRAMERIGHT.BMP", 5, 62},
      {"CAPTIONBUTTON.bmp", 21, 168},      {"CLOSEBUTTON.bmp", 21, 168},
      {"CLOSEGLYPH.BMP", 13, 104},         {"MAXIMIZEGLYPH.BMP", 13, 104},
      {"RESTOREGLYPH.BMP", 13, 104},       {"MINIMIZEGLYPH.BMP", 13, 104},
      {"FIELDOUTLINEBLUE.BMP", 14, 7},     {"MDICAPTIONBUTTON.BMP", 13, 52},
      {"CHECKBOX13.bmp", 13, 156},         {"SCROLLSHAFTHORIZONTAL.BMP", 17, 68},
      {"SCROLLARROWS.BMP", 17, 272},       {"SCROLLARROWGLYPHS.BMP", 9, 144},
      {"SCROLLTHUMBGRIPPERHORIZONTAL.BMP", 8, 32}, {"SCROLLTHUMBHORIZONTAL.BMP", 22, 60},
      {"SCROLLTHUMBVERTICAL.BMP", 15, 88}, {"SCROLLSHAFTVERTICAL.BMP", 17, 68},
      {"SCROLLTHUMBGRIPPERVERTICAL.BMP", 8, 32}, {"BUTTON.bmp", 20, 115},
      {"TOOLBARBUTTONS.BMP", 20, 138},     {"HELPGLYPH.BMP", 13, 104},
      {"GROUPBOX.BMP", 22, 20},            {"PROGRESSTRACKVERT.BMP", 19, 9},
      {"PROGRESSCHUNK.BMP", 10, 12},       {"PROGRESSCHUNKVERT.BMP", 12, 10},
      {"SLIDERTRACK.BMP", 5, 5},           {"TRACKBARHORIZONTAL.BMP", 11, 105},
      {"COMBOBUTTON.BMP", 15, 64},         {"COMBOBUTTONGLYPH.BMP", 10, 28},
      {"NORMALGROUPBACKGROUND.BMP", 111, 10}, {"NORMALGROUPHEAD.BMP", 111, 21},
      {"NORMALGROUPCOLLAPSE.BMP", 19, 57}, {"NORMALGROUPEXPAND.BMP", 19, 57},
      {"TABPANEEDGE.BMP", 48, 48},         {"TABITEM.BMP", 18, 90},
      {"ROLlDOWNPGLYPH.bmp", 13, 104},     {"ROLLUPGLYPH.bmp", 13, 104},
      {"TRAYGLYPH.bmp", 13, 104},          {"MDIGLYPHCLOSE.BMP", 10, 40},
      {"MDIGLYPHMINIMIZE.BMP", 10, 40},    {"MDIGLYPHRESTORE.BMP", 10, 40},
      {"TRACKBARUP13.BMP", 11, 105},       {"TRACKBARDOWN13.BMP", 11, 105},
      {"TOOLBARBACKGROUND.BMP", 320, 13},  {"TOOLBARGRIPPERVERT.BMP", 10, 6},
      {"LISTVIEWHEADER.BMP", 18, 90},      {"TRACKBARVERTICAL.BMP", 21, 55},
      {"TRACKBARLEFT13.BMP", 21, 55},      {"TRACKBARRIGHT13.BMP", 21, 55},
      {"RADIOBUTTON13.bmp", 13, 104},      {"LISTVIEWHEADER.BMP", 18, 90},
      {"STATUSBACKGROUND.BMP", 68, 15},    {"STATUSPANE.BMP", 3, 15},
      {"RESIZEGRIP2.BMP", 32, 17},
  };
  ASSERT_EQ(s_images->size(), std::size(table));
  for (std::size_t i = 0; i < std::size(table); ++i) {
    const TSkinImage& image = (*s_images)[i];
    EXPECT_EQ(image.Name, table[i].Name) << "image " << i;
    EXPECT_EQ(image.Width, table[i].Width) << image.Name;
    EXPECT_EQ(image.Height, table[i].Height) << image.Name;
    EXPECT_EQ(image.Pixels.size(), std::size_t(image.Width) * image.Height) << image.Name;
  }
}

// The key must come back as the key from a 5-6-5 picture, and no drawn colour may turn into it.
TEST_F(SteelSkinTest, OnlyKeyPixelsReadAsTheKeyAfterQuantisation) {
  EXPECT_TRUE(MatchesKey(Quantise565(kKey)));
  const std::vector<TSkinImage> drawn = DrawSteelImages();
  for (const TSkinImage& image : drawn)
    for (std::uint32_t p : image.Pixels)
      ASSERT_EQ(MatchesKey(Quantise565(p)), p == kKey) << image.Name << " pixel " << std::hex << p;
}

TEST_F(SteelSkinTest, WindowCornersAreSeeThroughAndTheRestOfTheFrameIsOpaque) {
  for (int half : {0, 29}) {
    SCOPED_TRACE(half ? "inactive" : "active");
    const TSkinImage& caption = Image("FRAMECAPTION.BMP");
    // The outermost corner pixels are keyed, the curve ends within the radius of 5.
    EXPECT_TRUE(MatchesKey(caption.At(0, half)));
    EXPECT_TRUE(MatchesKey(caption.At(65, half)));
    EXPECT_TRUE(CheckMasked("FRAMECAPTION.BMP", {0, half, 10, half + 29}).Masked);
    EXPECT_TRUE(CheckMasked("FRAMECAPTION.BMP", {56, half, 66, half + 29}).Masked);
    EXPECT_FALSE(CheckMasked("FRAMECAPTION.BMP", {0, half + 5, 10, half + 29}).Masked);
    EXPECT_FALSE(CheckMasked("FRAMECAPTION.BMP", {5, half, 61, half + 29}).Masked);
    EXPECT_FALSE(CheckMasked("FRAMECAPTION.BMP", {10, half, 57, half + 29}).Masked);  // the title
  }
  for (TRectangle r : {TRectangle{0, 0, 5, 30}, TRectangle{0, 31, 5, 61}}) {
    EXPECT_FALSE(CheckMasked("FRAMELEFT.BMP", r).Masked);
    EXPECT_FALSE(CheckMasked("FRAMERIGHT.BMP", r).Masked);
  }
  for (TRectangle r : {TRectangle{0, 0, 49, 5}, TRectangle{0, 5, 49, 10}})
    EXPECT_FALSE(CheckMasked("FRAMEBOTTOM.BMP", r).Masked);
  // The caption-button container tiles a picture that must leave the caption visible.
  const TSkinImage& tool = Image("TOOLBARBUTTONS.BMP");
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_TRUE(MatchesKey(tool.At(x, y))) << x << "," << y;
}

// A skinned panel and button turn see-through when their face picture holds key pixels; their
// insides stay opaque, and pictures drawn as solid backgrounds hold no key at all.
TEST_F(SteelSkinTest, PanelAndButtonFacesKeyTheirCornersOnly) {
  const TMaskFlags panel = CheckMasked("NORMALGROUPBACKGROUND.BMP", {0, 0, 111, 10}, 2, 2, 2, 2);
  EXPECT_TRUE(panel.MaskedAngles);
  EXPECT_FALSE(panel.Masked);
  const TMaskFlags head = CheckMasked("NORMALGROUPHEAD.BMP", {0, 0, 111, 21}, 4, 0, 4, 0);
  EXPECT_FALSE(head.Masked);
  for (int top = 0; top < 115; top += 23) {
    const TMaskFlags face = CheckMasked("BUTTON.bmp", {0, top, 20, top + 23}, 5, 5, 5, 5);
    EXPECT_TRUE(face.MaskedAngles) << "button frame at " << top;
    EXPECT_FALSE(face.Masked || face.MaskedBorder) << "button frame at " << top;
  }
  EXPECT_FALSE(CheckMasked("FIELDOUTLINEBLUE.BMP", {0, 0, 7, 7}).Masked);
  EXPECT_FALSE(CheckMasked("STATUSBACKGROUND.BMP", {0, 0, 68, 15}).Masked);
}

TEST_F(SteelSkinTest, EveryNamedStatePictureDiffersFromTheObjectsOtherPictures) {
  struct TObject {
    const char* What;
    const char* Image;
    std::vector<TRectangle> States;  // the distinct rectangles the object's pictures name
  };
  auto column = [](int width, int height, std::initializer_list<int> tops) {
    std::vector<TRectangle> out;
    for (int t : tops) out.push_back({0, t, width, t + height});
    return out;
  };
  std::vector<TObject> objects = {
      {"caption left", "FRAMECAPTION.BMP", {{0, 29, 10, 58}, {0, 0, 10, 29}}},
      {"caption right", "FRAMECAPTION.BMP", {{56, 29, 66, 58}, {56, 0, 66, 29}}},
      {"title", "FRAMECAPTION.BMP", {{10, 29, 57, 58}, {10, 0, 57, 29}}},
      {"left border", "FRAMELEFT.BMP", {{0, 31, 5, 61}, {0, 0, 5, 30}}},
      {"right border", "FRAMERIGHT.BMP", {{0, 31, 5, 61}, {0, 0, 5, 30}}},
      {"bottom left", "FRAMEBOTTOM.BMP", {{0, 5, 5, 10}, {0, 0, 5, 5}}},
      {"bottom right", "FRAMEBOTTOM.BMP", {{44, 5, 49, 10}, {44, 0, 49, 5}}},
      {"bottom centre", "FRAMEBOTTOM.BMP", {{4, 5, 45, 10}, {4, 0, 45, 5}}},
      {"close button", "CLOSEBUTTON.bmp", column(21, 21, {84, 0, 21, 42})},
      {"caption button", "CAPTIONBUTTON.bmp", column(21, 21, {84, 0, 21, 42})},
      {"check box unchecked", "CHECKBOX13.bmp", column(13, 13, {0, 13, 26, 39})},
      {"check box checked", "CHECKBOX13.bmp", column(13, 13, {52, 65, 78, 91})},
      {"check box mixed", "CHECKBOX13.bmp", column(13, 13, {104, 117, 130, 143})},
      {"button face", "BUTTON.bmp", column(20, 23, {0, 23, 46, 92, 69})},
      {"panel roll up", "NORMALGROUPCOLLAPSE.BMP", column(18, 18, {0, 19, 38})},
      {"panel roll down", "NORMALGROUPEXPAND.BMP", column(18, 18, {0, 19, 38})},
      {"scroll left/right", "SCROLLARROWS.BMP", column(17, 17, {136, 153, 170, 187})},
      {"scroll top/bottom", "SCROLLARROWS.BMP", column(17, 17, {0, 17, 34, 51})},
      {"left glyph", "SCROLLARROWGLYPHS.BMP", column(9, 9, {72, 81, 90, 99})},
      {"right glyph", "SCROLLARROWGLYPHS.BMP", column(9, 9, {108, 117, 126, 135})},
      {"top glyph", "SCROLLARROWGLYPHS.BMP", column(9, 9, {0, 9, 18, 27})},
      {"bottom glyph", "SCROLLARROWGLYPHS.BMP", column(9, 9, {36, 54, 63})},
      {"horizontal thumb", "SCROLLTHUMBHORIZONTAL.BMP", {{0, 0, 22, 15}, {0, 15, 22, 30}, {0, 30, 22, 45}, {0, 46, 22, 60}}},
      {"vertical thumb", "SCROLLTHUMBVERTICAL.BMP", column(15, 22, {0, 22, 44, 66})},
  };
  for (const char* glyph : {"CLOSEGLYPH.BMP", "RESTOREGLYPH.BMP", "MAXIMIZEGLYPH.BMP", "MINIMIZEGLYPH.BMP",
                            "ROLlDOWNPGLYPH.bmp", "ROLLUPGLYPH.bmp", "TRAYGLYPH.bmp", "HELPGLYPH.BMP"})
    objects.push_back({"caption glyph", glyph, column(13, 13, {0, 26})});
  for (const TObject& o : objects)
    for (std::size_t i = 0; i < o.States.size(); ++i)
      for (std::size_t j = i + 1; j < o.States.size(); ++j)
        EXPECT_FALSE(SamePixels(o.Image, o.States[i], o.States[j]))
            << o.What << " (" << o.Image << "): rows " << o.States[i].Top << " and " << o.States[j].Top;
}

}  // namespace
}  // namespace vandrel::steelskin
