// Drawing of skin objects in exact pixels: fill and text, the separator, the picture kinds (whole,
// nine parts, per-part keying), every state rule of the picture and colour kinds, and drawing
// that must stay inside its images when a skin is incomplete or bounds are odd.
#include <gtest/gtest.h>

#include <climits>

#include "graphics/SeColor.h"
#include "graphics/TextHelpers.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObject.h"
#include "skin/ActiveObject.h"
#include "skin/BitmapObject.h"
#include "skin/SystemButton.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {

constexpr TseColor kKey = 0x007F007F;
constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kMagenta = 0x7F007F;

std::uint32_t Rgb(TColor color) { return SeColorFromColor(color) & 0xFFFFFF; }

// A picture strip of eight two-pixel frames stacked from the top, frame k in FrameColour(k).
constexpr std::uint32_t FrameColour(int k) { return 0x111111u * std::uint32_t(k + 1); }

std::unique_ptr<TseBitmap> Strip() {
  auto strip = std::make_unique<TseBitmap>();
  strip->SetName("CLOSEBUTTON.BMP");
  strip->SetSize(2, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 2; ++x) strip->SetPixel(x, y, 0xFF000000 | FrameColour(y / 2));
  return strip;
}

void SetLink(TseBitmapLink& link, const std::string& name, int frame) {
  link.SetName(name);
  link.SetRect({0, frame * 2, 2, frame * 2 + 2});
}

// A close button 4 x 2 at the origin whose glyph child covers its right half, both from the
// strip: the button's pictures are frames 4 (inactive), 0 (active), 1 (hot), 2 (pressed); the
// glyph's 5 (normal), 6 (hot), 7 (pressed), 3 (disabled).
struct CloseButton {
  TseBitmapList images;
  TSeSystemButton button{nullptr};
  TSeButtonObject* glyph = new TSeButtonObject(&button);

  CloseButton() {
    images.Add(Strip());
    button.SetName("Close");
    button.SetAction(sbaClose);
    SetLink(*button.Bitmap(), "CLOSEBUTTON.BMP", 4);
    SetLink(*button.ActiveBitmap(), "closebutton.bmp", 0);
    SetLink(*button.BitmapHot(), "CLOSEBUTTON.BMP", 1);
    SetLink(*button.BitmapPressed(), "CLOSEBUTTON.BMP", 2);
    glyph->SetName("Glyph");
    glyph->SetKind(skTranparent);
    SetLink(*glyph->Bitmap(), "CLOSEBUTTON.BMP", 5);
    SetLink(*glyph->BitmapHot(), "CLOSEBUTTON.BMP", 6);
    SetLink(*glyph->BitmapPressed(), "CLOSEBUTTON.BMP", 7);
    SetLink(*glyph->BitmapDisabled(), "CLOSEBUTTON.BMP", 3);
    button.SetImages(&images);
    button.AfterLoad();
    button.SetBounds({0, 0, 4, 2});
    glyph->SetBounds({2, 0, 4, 2});
  }
};

TEST(SkinObjectDrawTest, CloseButtonShowsItsPictureAndItsGlyphsByWindowAndButtonState) {
  struct Case {
    const char* name;
    bool active;
    void (*mouse)(TSeSystemButton&);
    int buttonFrame, glyphFrame;
  } cases[] = {
      {"inactive", false, [](TSeSystemButton&) {}, 4, 3},
      {"active", true, [](TSeSystemButton&) {}, 0, 5},
      {"hot", true, [](TSeSystemButton& b) { b.MouseEnter(); }, 1, 6},
      {"pressed", true, [](TSeSystemButton& b) { b.MouseDown(mbLeft, {1, 1}); }, 2, 7},
      {"inactive under the mouse", false, [](TSeSystemButton& b) { b.MouseEnter(); }, 4, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CloseButton close;
    close.button.SetActive(c.active);
    c.mouse(close.button);
    TTestCanvas out(4, 2);
    close.button.Draw(out.canvas);
    EXPECT_EQ(out.At(0, 0), FrameColour(c.buttonFrame));
    EXPECT_EQ(out.At(1, 1), FrameColour(c.buttonFrame));
    EXPECT_EQ(out.At(2, 0), FrameColour(c.glyphFrame));
    EXPECT_EQ(out.At(3, 1), FrameColour(c.glyphFrame));
    // The glyph is back to normal and Active to its value afterwards.
    EXPECT_EQ(close.glyph->State(), kStateNormal);
    EXPECT_EQ(close.glyph->Active(), c.active);
    EXPECT_EQ(close.button.Active(), c.active);
  }
}

TEST(SkinObjectDrawTest, StateWithoutAValidPictureFallsBackToTheNormalOne) {
  TseBitmapList images;
  images.Add(Strip());
  TSeButtonObject button(nullptr);
  SetLink(*button.Bitmap(), "CLOSEBUTTON.BMP", 0);
  SetLink(*button.BitmapHot(), "MISSING.BMP", 1);     // names no image
  SetLink(*button.BitmapPressed(), "CLOSEBUTTON.BMP", 2);
  button.BitmapFocused()->SetName("CLOSEBUTTON.BMP");  // empty rectangle
  button.SetImages(&images);
  button.AfterLoad();
  button.SetBounds({0, 0, 2, 2});
  const std::pair<int, int> cases[] = {
      {kStateNormal, 0}, {kStateHot, 0}, {kStatePressed, 2}, {kStateFocused, 0}, {kStateDisabled, 0}, {kStateMaximized, 0}};
  for (auto [state, frame] : cases) {
    SCOPED_TRACE(state);
    button.SetState(state);
    TTestCanvas out(2, 2);
    button.Draw(out.canvas);
    EXPECT_EQ(out.At(1, 1), FrameColour(frame));
  }
}

TEST(SkinObjectDrawTest, SeparatorIsOneLineInTheFontColourInsetByThree) {
  TSeSkinObject item(nullptr);
  item.SetColor(clNone);
  item.Font()->SetColor(clRed);
  item.SetText("-");
  item.SetBounds({0, 40, 20, 60});
  TTestCanvas out(20, 64);
  item.Draw(out.canvas);
  const auto row = [&](int y) { return out.Row(y, 0, 20, {kWhite, kRed}, ".R"); };
  EXPECT_EQ(row(49), "...RRRRRRRRRRRRRR...");
  for (int y : {0, 40, 48, 50, 59}) EXPECT_EQ(row(y), "....................") << y;
}

enum class Ink { Any, Red, Blue, Dark, Grey };

bool IsInk(std::uint32_t c, Ink ink) {
  const int r = int(c >> 16), g = int(c >> 8 & 0xFF), b = int(c & 0xFF);
  switch (ink) {
    case Ink::Any: return c != kWhite;
    case Ink::Red: return r > 0xC0 && g < 0x40 && b < 0x40;
    case Ink::Blue: return b > 0xC0 && g < 0x40 && r < 0x40;
    case Ink::Dark: return r < 0x40 && g < 0x40 && b < 0x40;
    case Ink::Grey: return r == g && g == b && r > 0x60 && r < 0xA0;
  }
  return false;
}

// Bounds of the pixels of that ink (text is smoothed, so colours are classed), or an empty
// rectangle.
TRect Painted(const TTestCanvas& out, Ink ink = Ink::Any) {
  TRect r{1 << 20, 1 << 20, -1, -1};
  for (int y = 0; y < out.bitmap.Height(); ++y)
    for (int x = 0; x < out.bitmap.Width(); ++x) {
      if (!IsInk(out.At(x, y), ink)) continue;
      r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1), std::max(r.Bottom, y + 1)};
    }
  return r.Right < 0 ? TRect{} : r;
}

TEST(SkinObjectDrawTest, TextIsPlacedByAlignmentInsideItsMargins) {
  struct Case {
    TSeTextAlign align;
    TBiDiMode mode;
    bool left, right, top, bottom;  // which edge of the text rectangle the text touches
  } cases[] = {
      {taTopLeft, bdLeftToRight, true, false, true, false},
      {taTopRight, bdLeftToRight, false, true, true, false},
      {taBottomLeft, bdLeftToRight, true, false, false, true},
      {taRight, bdLeftToRight, false, true, false, false},
      {taCenter, bdLeftToRight, false, false, false, false},
      {taLeft, bdRightToLeft, false, true, false, false},       // left and right swap
      {taTopRight, bdRightToLeftNoAlign, true, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.align) * 10 + int(c.mode));
    TSeSkinObject label(nullptr);
    label.SetColor(clNone);
    label.Font()->SetColor(clRed);
    label.Font()->SetHeight(-12);
    label.SetText("Wg");
    label.SetTextAlign(c.align);
    label.SetBiDiMode(c.mode);
    label.SetTextMarginLeft(6);
    label.SetTextMarginRight(4);
    label.SetTextMarginTop(5);
    label.SetBounds({10, 10, 110, 70});
    TTestCanvas out(120, 80);
    label.Draw(out.canvas);
    const TRect ink = Painted(out);
    ASSERT_FALSE(ink.Right <= ink.Left);
    // The text rectangle is (16, 15, 106, 70); ink lies inside it, near the named edges.
    EXPECT_GE(ink.Left, 16);
    EXPECT_LE(ink.Right, 106);
    EXPECT_GE(ink.Top, 15);
    EXPECT_LE(ink.Bottom, 70);
    EXPECT_EQ(ink.Left < 22, c.left);
    EXPECT_EQ(ink.Right > 100, c.right);
    EXPECT_EQ(ink.Top < 20, c.top);
    EXPECT_EQ(ink.Bottom > 64, c.bottom);
  }
}

TEST(SkinObjectDrawTest, ShadowGoesBlackOnePixelDownRightAndDisabledTextIsGrey) {
  auto draw = [](bool enabled, TSeTextEffect effect) {
    auto out = std::make_unique<TTestCanvas>(60, 30);
    TSeSkinObject label(nullptr);
    label.SetColor(clNone);
    label.Font()->SetColor(clRed);
    label.SetText("H");
    label.SetTextEffect(effect);
    label.SetEnabled(enabled);
    label.SetBounds({0, 0, 60, 30});
    label.Draw(out->canvas);
    return out;
  };
  auto plain = draw(true, teNone);
  const TRect red = Painted(*plain, Ink::Red);
  ASSERT_GT(red.Right, 0);
  EXPECT_EQ(Painted(*plain, Ink::Dark).Right, 0);
  auto shadowed = draw(true, teShadow);
  EXPECT_EQ(Painted(*shadowed, Ink::Red), red);
  // Black shows where the shadow's offset leaves the red glyph: its bottom-right edge.
  const TRect black = Painted(*shadowed, Ink::Dark);
  EXPECT_EQ(black.Right, red.Right + 1);
  EXPECT_EQ(black.Bottom, red.Bottom + 1);
  auto disabled = draw(false, teNone);
  const TRect grey = Painted(*disabled, Ink::Grey);
  EXPECT_GT(grey.Right, 0);
  EXPECT_LE(grey.Right, red.Right);
  EXPECT_EQ(Painted(*disabled, Ink::Red).Right, 0);
}

TEST(SkinObjectDrawTest, TitleTextIsShortenedToTheWidthBetweenItsTextMargins) {
  TSeSkinObject title(nullptr);
  title.SetKind(skTitle);
  title.SetColor(clNone);
  title.Font()->SetColor(clRed);
  title.SetText("A caption much too long for its place");
  title.SetTextMarginLeft(5);
  title.SetTextMarginRight(7);
  title.SetBounds({0, 0, 80, 20});
  TTestCanvas out(80, 20);
  title.Draw(out.canvas);
  TTestCanvas expected(80, 20);
  expected.canvas.SetFont(*title.Font());
  expected.canvas.TextExtent("");
  const std::string shortened = EllipsisText(expected.canvas.Handle(), title.Text(), 68);
  ASSERT_NE(shortened, title.Text());
  TRect r{5, 0, 73, 20};
  DrawWideText(expected.canvas, shortened, r, DT_SINGLELINE | DT_VCENTER);
  for (int y = 0; y < 20; ++y) EXPECT_EQ(out.Row(y, 0, 80, {kWhite}, "."), expected.Row(y, 0, 80, {kWhite}, ".")) << y;
  // Any other kind is only cut off by its rectangle.
  TTestCanvas cut(80, 20);
  title.SetKind(skCaption);
  title.Draw(cut.canvas);
  bool same = true;
  for (int y = 0; y < 20; ++y) same = same && cut.Row(y, 0, 80, {kWhite}, ".") == out.Row(y, 0, 80, {kWhite}, ".");
  EXPECT_FALSE(same);
}

TEST(SkinObjectDrawTest, FillAndTextOnlyForLeavesOrWithDrawIfOwner) {
  TSeSkinObject parent(nullptr);
  parent.SetColor(clRed);
  auto* child = new TSeSkinObject(&parent);
  child->SetColor(clBlue);
  child->SetBounds({2, 0, 4, 1});
  parent.SetBounds({0, 0, 6, 1});
  const std::uint32_t blue = Rgb(clBlue);
  TTestCanvas out(6, 1);
  parent.Draw(out.canvas);
  EXPECT_EQ(out.Row(0, 0, 6, {kWhite, kRed, blue}, ".RB"), "..BB..");
  parent.SetDrawIfOwner(true);
  parent.Draw(out.canvas);
  EXPECT_EQ(out.Row(0, 0, 6, {kWhite, kRed, blue}, ".RB"), "RRBBRR");
  // Hidden children and children without area are skipped; so is a hidden object.
  TTestCanvas second(6, 1);
  child->SetVisible(false);
  parent.Draw(second.canvas);
  EXPECT_EQ(second.Row(0, 0, 6, {kWhite, kRed, blue}, ".RB"), "RRRRRR");
  TTestCanvas third(6, 1);
  parent.SetVisible(false);
  parent.Draw(third.canvas);
  EXPECT_EQ(third.Row(0, 0, 6, {kWhite, kRed, blue}, ".RB"), "......");
}

TEST(SkinObjectDrawTest, GridCellFillsByStateAndKeepsItsColourAndFont) {
  TSeColorButtonObject cell(nullptr);
  cell.SetColor(clWhite);
  cell.SetHotColor(14150122);
  cell.SetPressedColor(clBlack);
  cell.SetFocusedColor(12937521);
  cell.SetDisabledColor(clSilver);
  cell.HotFont()->SetName("Hot Font");
  cell.SetText("x");
  cell.SetBounds({0, 0, 30, 12});
  const std::pair<int, TColor> cases[] = {{kStateNormal, clWhite}, {kStateHot, 14150122}, {kStatePressed, clBlack},
                                          {kStateFocused, 12937521}, {kStateDisabled, clSilver}, {kStateMinimized, clWhite}};
  for (auto [state, fill] : cases) {
    SCOPED_TRACE(state);
    cell.SetState(state);
    TTestCanvas out(30, 12);
    out.bitmap.Fill(0xFF00FF00);
    cell.Draw(out.canvas);
    EXPECT_EQ(out.At(29, 0), Rgb(fill));
    EXPECT_EQ(out.At(0, 11), Rgb(fill));
    EXPECT_EQ(cell.Color(), clWhite);
    EXPECT_EQ(cell.Font()->Name(), "Arial");
  }
}

TEST(SkinObjectDrawTest, ActiveKindsSwapColourAndFontOnlyInTheirStates) {
  struct Case {
    int state;
    bool active;
    bool firstFamilyActive, secondFamilyActive;
  } cases[] = {
      {kStateNormal, false, false, false}, {kStateNormal, true, true, false}, {kStateHot, false, true, true},
      {kStatePressed, false, true, false}, {kStateFocused, false, true, true}, {kStateDisabled, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state * 10 + c.active);
    TSeActiveObject first(nullptr);
    TSeActiveSkinObject second(nullptr);
    for (TSeSkinObject* o : {static_cast<TSeSkinObject*>(&first), static_cast<TSeSkinObject*>(&second)}) {
      o->SetColor(clRed);
      o->SetBounds({0, 0, 2, 2});
      o->SetState(c.state);
      o->SetActive(c.active);
    }
    first.SetActiveColor(clBlue);
    second.SetActiveColor(clBlue);
    TTestCanvas a(2, 2), b(2, 2);
    first.Draw(a.canvas);
    second.Draw(b.canvas);
    EXPECT_EQ(a.At(0, 0), c.firstFamilyActive ? Rgb(clBlue) : kRed);
    EXPECT_EQ(b.At(0, 0), c.secondFamilyActive ? Rgb(clBlue) : kRed);
    EXPECT_EQ(first.Color(), clRed);
    EXPECT_EQ(first.GetFont() == first.ActiveFont(), c.state == kStateHot || c.state == kStatePressed || c.state == kStateFocused);
  }
}

TEST(SkinObjectDrawTest, TextObjectWritesInTheFontOfItsState) {
  TSeTextObject text(nullptr);
  text.SetColor(clNone);
  text.Font()->SetColor(clRed);
  text.SetText("H");
  text.SetBounds({0, 0, 30, 20});
  text.FontHot()->SetColor(clBlack);
  text.FontDisabled()->SetColor(clBlue);
  const std::pair<int, Ink> cases[] = {{kStateNormal, Ink::Red}, {kStateHot, Ink::Dark}, {kStateDisabled, Ink::Blue}};
  for (auto [state, ink] : cases) {
    text.SetState(state);
    TTestCanvas out(30, 20);
    text.Draw(out.canvas);
    for (Ink other : {Ink::Red, Ink::Dark, Ink::Blue}) EXPECT_EQ(Painted(out, other).Right > 0, other == ink) << state;
    EXPECT_EQ(text.Font()->Color(), clRed);
  }
}

// A 3 x 3 picture: key at the four corners and the centre, red edges.
std::unique_ptr<TseBitmap> KeyedBox() {
  constexpr TseColor R = 0xFFFF0000;
  return MakeImage("BOX.BMP", 3, 3, {kKey, R, kKey, R, kKey, R, kKey, R, kKey});
}

TEST(SkinObjectDrawTest, NinePartsKeyEachPartByItsOwnFlagInTheFirstFamilyAndByOneInTheSecond) {
  // Flags found on an image keyed only at its corners, then the link pointed at one keyed at the
  // centre too: MaskedAngles set, Masked (the centre) clear.
  auto cornersOnly = MakeImage("BOX.BMP", 3, 3, {kKey, 0xFFFF0000, kKey, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, kKey, 0xFFFF0000, kKey});
  auto box = KeyedBox();
  TseBitmapLink link;
  link.SetImage(cornersOnly.get());
  link.SetRect({0, 0, 3, 3});
  link.CheckMasked(1, 1, 1, 1);
  ASSERT_TRUE(link.MaskedAngles());
  ASSERT_FALSE(link.Masked());
  link.SetImage(box.get());

  TSeBitmapObject first(nullptr);
  TSeBitmapBoxObject second(nullptr);
  for (TSeSkinObject* o : {static_cast<TSeSkinObject*>(&first), static_cast<TSeSkinObject*>(&second)}) {
    o->SetMarginLeft(1);
    o->SetMarginTop(1);
    o->SetMarginRight(1);
    o->SetMarginBottom(1);
    o->SetBounds({0, 0, 4, 3});
  }
  first.Bitmap()->Assign(link);
  second.Bitmap()->Assign(link);
  const bool keyBefore = box->HasKey();
  const auto rows = [](TTestCanvas& out) {
    return out.Row(0, 0, 4, {kWhite, kRed, kMagenta}, ".RK") + "|" + out.Row(1, 0, 4, {kWhite, kRed, kMagenta}, ".RK") +
           "|" + out.Row(2, 0, 4, {kWhite, kRed, kMagenta}, ".RK");
  };
  TTestCanvas a(4, 3), b(4, 3);
  first.Draw(a.canvas);
  second.Draw(b.canvas);
  // The centre (stretched over two columns... tiled: one column repeated) is copied key colour in
  // the first family; corners are keyed there. The second family keys nothing: Masked is clear.
  EXPECT_EQ(rows(a), ".RR.|RKKR|.RR.");
  EXPECT_EQ(rows(b), "KRRK|RKKR|KRRK");
  EXPECT_EQ(box->HasKey(), keyBefore);

  // With the flag found on the link's own image, the second family keys every part.
  second.Bitmap()->CheckMasked();
  TTestCanvas c(4, 3);
  second.Draw(c.canvas);
  EXPECT_EQ(rows(c), ".RR.|R..R|.RR.");
}

TEST(SkinObjectDrawTest, WholePictureByTileStyleAndNoPictureWithoutAColour) {
  constexpr TseColor R = 0xFFFF0000, B = 0xFF0000FF;
  TseBitmapList images;
  images.Add(MakeImage("PIC.BMP", 2, 1, {R, B}));
  struct Case {
    TscTileStyle style;
    TColor color;
    const char* row;
  } cases[] = {
      {tsTile, clWhite, "RBRBR"},
      {tsStretch, clWhite, "RRRBB"},
      {tsCenter, clWhite, ".RB.."},
      {tsTile, clNone, "....."},  // clNone: the object draws as a plain one, and has nothing to fill
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    TSeBitmapObject first(nullptr);
    TSeBitmapSkinObject second(nullptr);
    first.SetTileStyle(c.style);
    second.SetTileStyle(c.style);
    for (TSeSkinObject* o : {static_cast<TSeSkinObject*>(&first), static_cast<TSeSkinObject*>(&second)}) {
      o->SetColor(c.color);
      o->SetImages(&images);
      o->SetBounds({0, 0, 5, 1});
    }
    first.Bitmap()->SetName("pic.bmp");
    first.Bitmap()->SetRect({0, 0, 2, 1});
    second.Bitmap()->Assign(*first.Bitmap());
    first.AfterLoad();
    second.AfterLoad();
    TTestCanvas a(5, 1);
    first.Draw(a.canvas);
    EXPECT_EQ(a.Row(0, 0, 5, {kWhite, kRed, 0x0000FF}, ".RB"), c.row);
    if (c.color != clNone) {
      TTestCanvas b(5, 1);
      second.Draw(b.canvas);
      EXPECT_EQ(b.Row(0, 0, 5, {kWhite, kRed, 0x0000FF}, ".RB"), c.row);
    }
  }
}

TEST(SkinObjectDrawTest, SecondFamilyPictureObjectsDrawNoChildren) {
  TseBitmapList images;
  images.Add(MakeImage("PIC.BMP", 1, 1, {0xFFFF0000}));
  TSeBitmapSkinObject parent(nullptr);
  parent.Bitmap()->SetName("PIC.BMP");
  parent.Bitmap()->SetRect({0, 0, 1, 1});
  auto* child = new TSeSkinObject(&parent);
  child->SetColor(clBlue);
  child->SetBounds({1, 0, 2, 1});
  parent.SetImages(&images);
  parent.AfterLoad();
  parent.SetBounds({0, 0, 3, 1});
  TTestCanvas out(3, 1);
  parent.Draw(out.canvas);
  EXPECT_EQ(out.Row(0, 0, 3, {kWhite, kRed, Rgb(clBlue)}, ".RB"), "RRR");
  // The first family draws them, over its picture.
  TSeBitmapObject first(nullptr);
  first.Bitmap()->Assign(*parent.Bitmap());
  TSeSkinObject::CloneObject(*child, &first);
  first.SetBounds({0, 0, 3, 1});
  TTestCanvas second(3, 1);
  first.Draw(second.canvas);
  EXPECT_EQ(second.Row(0, 0, 3, {kWhite, kRed, Rgb(clBlue)}, ".RB"), "RBR");
}

TEST(SkinObjectDrawTest, FormPictureAndFocusedBoxFollowActiveAndState) {
  TseBitmapList images;
  images.Add(Strip());
  TSeFormBitmapSkinObject form(nullptr);
  SetLink(*form.Bitmap(), "CLOSEBUTTON.BMP", 0);
  SetLink(*form.InactiveBitmap(), "CLOSEBUTTON.BMP", 1);
  TSeActiveBitmapBoxObject box(nullptr);
  SetLink(*box.Bitmap(), "CLOSEBUTTON.BMP", 2);
  SetLink(*box.FocusedBitmap(), "CLOSEBUTTON.BMP", 3);
  TSeButtonBitmapBoxObject button(nullptr);
  SetLink(*button.Bitmap(), "CLOSEBUTTON.BMP", 4);
  SetLink(*button.PressedBitmap(), "CLOSEBUTTON.BMP", 5);
  for (TSeSkinObject* o : {static_cast<TSeSkinObject*>(&form), static_cast<TSeSkinObject*>(&box), static_cast<TSeSkinObject*>(&button)}) {
    o->SetImages(&images);
    o->AfterLoad();
    o->SetBounds({0, 0, 2, 2});
  }
  auto frameOf = [](TSeSkinObject& o) {
    TTestCanvas out(2, 2);
    o.Draw(out.canvas);
    return out.At(1, 1);
  };
  EXPECT_EQ(frameOf(form), FrameColour(1));
  form.SetActive(true);
  EXPECT_EQ(frameOf(form), FrameColour(0));
  EXPECT_EQ(frameOf(box), FrameColour(2));
  box.SetState(kStateHot);
  EXPECT_EQ(frameOf(box), FrameColour(3));
  box.SetState(kStatePressed);
  EXPECT_EQ(frameOf(box), FrameColour(2));
  button.SetState(kStatePressed);
  EXPECT_EQ(frameOf(button), FrameColour(5));
  button.SetState(kStateHot);  // no hot picture
  EXPECT_EQ(frameOf(button), FrameColour(4));
}

TEST(SkinObjectDrawTest, LinkObjectDrawsOnlyInStateOne) {
  TSeLinkSkinObject link(nullptr);
  link.SetLinkControl("TreeView1");
  auto* child = new TSeSkinObject(&link);
  child->SetColor(clRed);
  child->SetBounds({0, 0, 40, 20});
  link.SetBounds({0, 0, 40, 20});
  TTestCanvas out(40, 20);
  link.Draw(out.canvas);
  EXPECT_EQ(Painted(out).Right, 0);
  link.SetState(1);
  link.Draw(out.canvas);
  EXPECT_EQ(out.At(0, 0), 0x000000u);  // the black frame
  EXPECT_EQ(out.At(39, 19), 0x000000u);
  EXPECT_EQ(out.At(1, 1), kWhite);
  bool text = false;  // and the name inside it
  for (int y = 2; y < 18; ++y)
    for (int x = 2; x < 38; ++x) text = text || IsInk(out.At(x, y), Ink::Dark);
  EXPECT_TRUE(text);
}

// Incomplete skins and odd bounds draw what they can and never read outside an image (the
// sanitizers watch the reads).
TEST(SkinObjectDrawTest, MissingImagesOddLinksAndOddBoundsDrawWhatTheyCan) {
  TseBitmapList images;
  images.Add(MakeImage("PIC.BMP", 2, 2, {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000}));
  struct Case {
    const char* name;
    const char* image;
    TRect link;
    TRect bounds;
    int margin;
  } cases[] = {
      {"missing image", "NOPE.BMP", {0, 0, 2, 2}, {0, 0, 8, 8}, 0},
      {"link beyond the image", "PIC.BMP", {1, 1, 40, 40}, {0, 0, 8, 8}, 1},
      {"link at negative offsets", "PIC.BMP", {-5, -5, 1, 1}, {0, 0, 8, 8}, 0},
      {"inverted link", "PIC.BMP", {2, 2, 0, 0}, {0, 0, 8, 8}, 0},
      {"margins wider than the picture", "PIC.BMP", {0, 0, 2, 2}, {0, 0, 8, 8}, 30},
      {"margins wider than the object", "PIC.BMP", {0, 0, 2, 2}, {0, 0, 3, 3}, 5},
      {"negative margins", "PIC.BMP", {0, 0, 2, 2}, {0, 0, 8, 8}, -3},
      {"empty bounds", "PIC.BMP", {0, 0, 2, 2}, {4, 4, 4, 4}, 0},
      {"negative bounds", "PIC.BMP", {0, 0, 2, 2}, {6, 6, 2, 2}, 1},
      {"far outside the canvas", "PIC.BMP", {0, 0, 2, 2}, {-500, -500, 30000, 20}, 1},
      {"extreme link", "PIC.BMP", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 8, 8}, 1},
      {"extreme margins", "PIC.BMP", {0, 0, 2, 2}, {0, 0, 8, 8}, INT_MAX},
      {"extreme negative margins", "PIC.BMP", {0, 0, 2, 2}, {0, 0, 8, 8}, INT_MIN},
      {"extreme bounds", "PIC.BMP", {0, 0, 2, 2}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0},
      {"extreme bounds with margins", "PIC.BMP", {0, 0, 1, 2}, {INT_MAX - 2, INT_MIN, INT_MAX, INT_MAX}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::unique_ptr<TSeSkinObject>> objects;
    objects.push_back(std::make_unique<TSeBitmapObject>(nullptr));
    objects.push_back(std::make_unique<TSeButtonObject>(nullptr));
    objects.push_back(std::make_unique<TSeSystemButton>(nullptr));
    objects.push_back(std::make_unique<TSeBitmapSkinObject>(nullptr));
    objects.push_back(std::make_unique<TSeBitmapBoxObject>(nullptr));
    objects.push_back(std::make_unique<TSeButtonBitmapBoxObject>(nullptr));
    for (auto& o : objects) {
      auto* link = dynamic_cast<TSeBitmapObject*>(o.get()) ? static_cast<TSeBitmapObject*>(o.get())->Bitmap()
                                                          : static_cast<TSeBitmapSkinObject*>(o.get())->Bitmap();
      link->SetName(c.image);
      link->SetRect(c.link);
      o->SetMarginLeft(c.margin);
      o->SetMarginTop(c.margin);
      o->SetMarginRight(c.margin);
      o->SetMarginBottom(c.margin);
      o->SetText("Text");
      o->SetTextMarginLeft(c.margin);
      o->SetTextMarginRight(c.margin);
      o->SetTextMarginTop(c.margin);
      o->SetImages(&images);
      o->AfterLoad();
      o->SetBounds(c.bounds);
      o->SetState(kStateHot);
      TTestCanvas out(10, 10);
      o->Draw(out.canvas);
      if (HRGN region = o->BuildRegion()) DeleteObject(region);
    }
  }
  // A rectangle reaching outside its image is not resolved at all.
  TSeBitmapObject beyond(nullptr);
  beyond.Bitmap()->SetName("PIC.BMP");
  beyond.Bitmap()->SetRect({0, 0, 2, 3});
  beyond.SetImages(&images);
  beyond.AfterLoad();
  EXPECT_EQ(beyond.Bitmap()->Image(), nullptr);
}

}  // namespace
}  // namespace vandrel::test
