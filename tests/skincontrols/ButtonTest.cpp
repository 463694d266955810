// The button's own look and behaviour: content layout with and without glyphs, the pressed
// shift, kind presets with their pictures, glyph cells, grey and faded glyphs, and the dialog
// button roles (mouse, space bar, Enter, Escape, accelerators, focus) through the real input path.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Actions.h"
#include "framework/Button.h"
#include "framework/ImageList.h"
#include "framework/ObjectText.h"
#include "framework/PropertyInfo.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/win/VirtualKeys.h"
#include "skincontrols/Button.h"
#include "skincontrols/ButtonGlyphs.h"
#include "skincontrols/CheckBox.h"

namespace vandrel::test {
namespace {

// A picture of w x h of one colour, with a transparent bottom-left pixel in olive.
std::unique_ptr<TBitmap> Picture(int w, int h, COLORREF colour) {
  auto b = std::make_unique<TBitmap>(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->ScanLine(y)[x] = PixelFromRGB(GetRValue(colour), GetGValue(colour), GetBValue(colour));
  b->ScanLine(h - 1)[0] = PixelFromRGB(128, 128, 0);
  return b;
}

TEST_F(SkinControlsTest, ButtonCentresItsCaptionAndShiftsItWhenPressed) {
  TSeCustomButton button(nullptr);
  EXPECT_EQ(button.BoundsRect(), Bounds(0, 0, 75, 25));
  EXPECT_TRUE(button.TabStop());
  EXPECT_FALSE(button.Transparent());
  EXPECT_EQ(button.Color(), clBtnFace);

  // The main window's buttons: 46 x 16, no glyph.
  button.SetBounds(0, 0, 46, 16);
  button.SetCaption("刷新");
  const TRect normal = button.CaptionRect();
  EXPECT_EQ(normal.Left, (46 - normal.Width()) / 2);
  EXPECT_EQ(normal.Top, (16 - normal.Height()) / 2);
  button.SetState(kbsPressed);
  EXPECT_EQ(button.CaptionRect(), OffsetRect(normal, 1, 1));

  // The platform's text becomes the caption.
  static_cast<TControl&>(button).SetCaption("万年历");
  EXPECT_EQ(button.Caption(), "万年历");
}

TEST_F(SkinControlsTest, ButtonLaysOutGlyphAndCaptionOnEachSide) {
  TSeCustomButton button(nullptr);
  button.SetBounds(0, 0, 100, 60);
  button.SetCaption("");
  button.SetSpacing(4);
  button.SetGlyph(*Picture(32, 16, RGB(255, 0, 0)));  // two cells of 16 x 16
  ASSERT_EQ(button.NumGlyphs(), 2);
  const TRect content = button.ContentBounds();
  // An empty caption is 0 wide: the content is the glyph plus the spacing.
  EXPECT_EQ(content.Width(), 16 + 4);
  EXPECT_EQ(content.Left, (100 - 20) / 2);

  struct Case {
    TButtonLayout layout;
    TRect glyph;  // relative to the content bounds
  };
  button.SetCaption("Go");
  for (const Case& c : {Case{blGlyphLeft, {0, 0, 20, 0}}, Case{blGlyphRight, {-20, 0, 0, 0}},
                        Case{blGlyphTop, {0, 0, 0, 20}}, Case{blGlyphBottom, {0, -20, 0, 0}}}) {
    SCOPED_TRACE(int(c.layout));
    button.SetLayout(c.layout);
    const TRect b = button.ContentBounds();
    const TRect g = button.GlyphRect();
    const TRect t = button.TextRect();
    switch (c.layout) {
      case blGlyphLeft: EXPECT_EQ(g, Rect(b.Left, b.Top, b.Left + 20, b.Bottom)); EXPECT_EQ(t.Left, b.Left + 20); break;
      case blGlyphRight: EXPECT_EQ(g, Rect(b.Right - 20, b.Top, b.Right, b.Bottom)); EXPECT_EQ(t.Right, b.Right - 20); break;
      case blGlyphTop: EXPECT_EQ(g, Rect(b.Left, b.Top, b.Right, b.Top + 20)); EXPECT_EQ(t.Top, b.Top + 20); break;
      case blGlyphBottom: EXPECT_EQ(g, Rect(b.Left, b.Bottom - 20, b.Right, b.Bottom)); EXPECT_EQ(t.Bottom, b.Bottom - 20); break;
    }
    EXPECT_EQ(b.Left, (100 - b.Right + b.Left) / 2);
  }

  // Word wrap: the content takes the button less spacing, glyph and 10 each way, centred.
  button.SetLayout(blGlyphLeft);
  button.SetWordWrap(true);
  const TRect wrapped = button.ContentBounds();
  EXPECT_EQ(wrapped.Width(), (100 - 4 - 16 - 10) + 16 + 4);
  EXPECT_EQ(wrapped.Height(), 60 - 4 - 16 - 10);
  EXPECT_EQ(wrapped.Left, (100 - wrapped.Width()) / 2);
  EXPECT_EQ(wrapped.Top, (60 - wrapped.Height()) / 2);
}

TEST_F(SkinControlsTest, ButtonCountsGlyphCells) {
  struct Case {
    int w, h, cells;
  };
  for (const Case& c : {Case{48, 16, 3}, Case{80, 16, 1}, Case{64, 16, 4}, Case{40, 16, 1}, Case{16, 16, 1},
                        Case{8, 16, 1}}) {
    SCOPED_TRACE(c.w);
    TSeCustomButton button(nullptr);
    button.SetGlyph(*Picture(c.w, c.h, RGB(0, 0, 255)));
    EXPECT_EQ(button.NumGlyphs(), c.cells);
  }
  TSeCustomButton button(nullptr);
  EXPECT_THROW(button.SetNumGlyphs(0), EInvalidArgument);
  EXPECT_THROW(button.SetNumGlyphs(5), EInvalidArgument);
  EXPECT_EQ(button.NumGlyphs(), 1);
}

TEST_F(SkinControlsTest, ButtonKindPresetsSetCaptionResultDefaultAndPicture) {
  struct Case {
    TBitBtnKind kind;
    const char* caption;
    int modalResult;
    bool isDefault;
  };
  const Case cases[] = {
      {bkOK, "OK", 1, true},           {bkCancel, "Cancel", 2, false}, {bkHelp, "&Help", 0, false},
      {bkYes, "&Yes", 6, true},        {bkNo, "&No", 7, false},        {bkClose, "&Close", 0, false},
      {bkAbort, "Abort", 3, false},    {bkRetry, "&Retry", 4, false},  {bkIgnore, "&Ignore", 5, false},
      {bkAll, "&All", 8, false},
  };
  std::set<std::vector<std::uint32_t>> pictures;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    TSeCustomButton button(nullptr);
    button.SetCaption("Go");
    button.SetKind(c.kind);
    EXPECT_EQ(button.Caption(), c.caption);
    EXPECT_EQ(button.ModalResult(), c.modalResult);
    EXPECT_EQ(button.Default(), c.isDefault);
    EXPECT_EQ(button.NumGlyphs(), 2);
    ASSERT_EQ(button.Glyph()->Width(), 32);
    ASSERT_EQ(button.Glyph()->Height(), 16);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x) pixels.push_back(button.Glyph()->ScanLine(y)[x] & 0xFFFFFF);
    EXPECT_EQ(pixels[15 * 32], 0x808000u);  // the background in the bottom-left corner
    pictures.insert(pixels);
  }
  EXPECT_EQ(pictures.size(), 10u);  // ten different pictures
  // Each picture is made once and kept.
  EXPECT_EQ(&KindGlyph("SE_BTN_OK"), &KindGlyph("se_btn_ok"));
  EXPECT_THROW(KindGlyph("SE_BTN_MAYBE"), EInvalidArgument);

  // Back to custom keeps everything but the kind; the same kind again does nothing.
  TSeCustomButton button(nullptr);
  button.SetKind(bkOK);
  button.SetCaption("Fine");
  button.SetKind(bkOK);
  EXPECT_EQ(button.Caption(), "Fine");
  button.SetKind(bkCustom);
  EXPECT_EQ(button.Caption(), "Fine");
  EXPECT_EQ(button.ModalResult(), 1);
}

TEST_F(SkinControlsTest, ButtonKeepsItsStoredCaptionOverTheKindsWhileLoading) {
  TSeCustomButton source(nullptr);
  source.SetName("SeSkinButton1");
  source.SetKind(bkOK);
  source.SetCaption("Go");
  TMemoryStream stream;
  WriteComponentToStream(stream, source);
  stream.SetPosition(0);
  TSeCustomButton copy(nullptr);
  int clicks = 0;
  copy.OnClick = [&](TPersistent*) { ++clicks; };
  ReadComponentFromStream(stream, &copy);
  EXPECT_EQ(copy.Kind(), bkOK);
  EXPECT_EQ(copy.Caption(), "Go");
  EXPECT_EQ(copy.ModalResult(), 1);
  EXPECT_TRUE(copy.Default());
  EXPECT_EQ(clicks, 0);
}

// Each row is one user action through the real input path and which buttons clicked.
TEST_F(SkinControlsTest, ButtonActsAsADialogButton) {
  TForm* form = NewForm();
  auto* plain = new TSeCustomCheckBox(form);  // a focusable control that is not a button
  plain->SetParent(form);
  plain->SetBounds(0, 90, 60, 20);
  auto add = [&](const char* caption, int left) {
    auto* b = new TSeCustomButton(form);
    b->SetParent(form);
    b->SetBounds(left, 10, 46, 16);
    b->SetCaption(caption);
    return b;
  };
  TSeCustomButton* ok = add("OK", 0);
  TSeCustomButton* cancel = add("Cancel", 50);
  TSeCustomButton* go = add("&Go", 100);
  TSeCustomButton* off = add("&Off", 150);
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  off->SetEnabled(false);
  std::string clicks;
  for (auto* b : {ok, cancel, go, off})
    b->OnClick = [&clicks, b](TPersistent*) { clicks += b->Caption() + ";"; };
  form->Show();
  Pump();
  plain->SetFocus();
  Pump();

  enum Action { Press, Move, Release, Key, KeyDownOnly, KeyUpOnly, Char, Focus };
  struct Step {
    const char* name;
    Action action;
    TSeCustomButton* target;  // Press/Move/Release: the button; Focus: what gets the focus
    TPoint p;
    int key;
    std::string clicks;
    TSeButtonState goState;
  };
  const std::vector<Step> steps = {
      {"press", Press, go, {5, 5}, 0, "", kbsPressed},
      {"off the button shows it up", Move, go, {5, 40}, 0, "", kbsNormal},
      {"back over it shows it pressed", Move, go, {5, 5}, 0, "", kbsPressed},
      {"off again", Move, go, {60, 40}, 0, "", kbsNormal},
      {"release outside clicks nothing", Release, go, {60, 40}, 0, "", kbsNormal},
      {"press and release inside", Press, go, {45, 15}, 0, "", kbsPressed},
      {"", Release, go, {45, 15}, 0, "&Go;", kbsNormal},
      {"space bar down shows it pressed", KeyDownOnly, nullptr, {}, VK_SPACE, "&Go;", kbsPressed},
      {"space bar up clicks", KeyUpOnly, nullptr, {}, VK_SPACE, "&Go;&Go;", kbsNormal},
      {"Enter clicks the focused button", Key, nullptr, {}, VK_RETURN, "&Go;&Go;&Go;", kbsNormal},
      {"Escape clicks the cancel button", Key, nullptr, {}, VK_ESCAPE, "&Go;&Go;&Go;Cancel;", kbsNormal},
      {"focus on a non-button", Focus, nullptr, {}, 0, "&Go;&Go;&Go;Cancel;", kbsNormal},
      {"Enter clicks the default button", Key, nullptr, {}, VK_RETURN, "&Go;&Go;&Go;Cancel;OK;", kbsNormal},
      {"accelerator clicks and focuses", Char, go, {}, 'g', "&Go;&Go;&Go;Cancel;OK;&Go;", kbsNormal},
      {"no accelerator of a disabled button", Char, nullptr, {}, 'o', "&Go;&Go;&Go;Cancel;OK;&Go;", kbsNormal},
      {"no click of a disabled button", Press, off, {5, 5}, 0, "&Go;&Go;&Go;Cancel;OK;&Go;", kbsNormal},
      {"", Release, off, {5, 5}, 0, "&Go;&Go;&Go;Cancel;OK;&Go;", kbsNormal},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    switch (s.action) {
      case Press: m_screen->MouseDown(s.target->ClientToScreen(s.p)); break;
      case Move: m_screen->MouseMove(s.target->ClientToScreen(s.p)); break;
      case Release: m_screen->MouseUp(s.target->ClientToScreen(s.p)); break;
      case Key: m_screen->KeyPress(s.key); break;
      case KeyDownOnly: m_screen->KeyDown(s.key); break;
      case KeyUpOnly: m_screen->KeyUp(s.key); break;
      case Char: {
        plain->SetFocus();
        Pump();
        m_screen->KeyPress(s.key - 32, char32_t(s.key));
        break;
      }
      case Focus: plain->SetFocus(); break;
    }
    Pump();
    EXPECT_EQ(clicks, s.clicks);
    EXPECT_EQ(go->State(), s.goState);
    if (s.action == Char && s.target) {
      EXPECT_TRUE(s.target->Focused());
    }
  }
  // The button clicked last gives the form its modal result, 0 included.
  EXPECT_EQ(form->ModalResult(), mrNone);
  m_screen->KeyPress(VK_ESCAPE);
  Pump();
  EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(SkinControlsTest, ButtonActiveDefaultFollowsTheFocus) {
  TForm* form = NewForm();
  auto* plain = new TSeCustomCheckBox(form);
  plain->SetParent(form);
  auto* platformButton = new TButton(form);
  platformButton->SetParent(form);
  platformButton->SetTop(40);
  auto* skinned = new TSeCustomButton(form);
  skinned->SetParent(form);
  skinned->SetTop(70);
  auto* def = new TSeCustomButton(form);
  def->SetParent(form);
  def->SetLeft(100);
  form->Show();
  Pump();
  plain->SetFocus();
  EXPECT_FALSE(def->ActiveDefault());
  def->SetDefault(true);  // tells the form's buttons at once
  EXPECT_TRUE(def->ActiveDefault());
  for (TWinControl* focus : std::vector<TWinControl*>{platformButton, skinned, def}) {
    focus->SetFocus();
    EXPECT_FALSE(def->ActiveDefault());
  }
  plain->SetFocus();
  EXPECT_TRUE(def->ActiveDefault());
  def->SetDefault(false);
  EXPECT_FALSE(def->ActiveDefault());
}

// Cells side by side, 16 x 16 each, in the given colours; olive in each cell's bottom-left pixel.
std::unique_ptr<TBitmap> Cells(std::vector<COLORREF> colours) {
  auto b = std::make_unique<TBitmap>(int(colours.size()) * 16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < b->Width(); ++x) {
      const COLORREF c = colours[size_t(x / 16)];
      b->ScanLine(y)[x] = PixelFromRGB(GetRValue(c), GetGValue(c), GetBValue(c));
    }
  for (size_t i = 0; i < colours.size(); ++i) b->ScanLine(15)[i * 16] = PixelFromRGB(128, 128, 0);
  return b;
}

TEST_F(SkinControlsTest, ButtonDrawsTheGlyphCellOfItsState) {
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 160, 0), blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0);
  struct Case {
    const char* name;
    std::vector<COLORREF> cells;
    bool enabled, pressed, blackAndWhite;
    COLORREF expected;
  };
  // Grey of the lightness: red (255 + 0) / 2 -> 128 (rounded up); faded: 160 + 50 * L.
  const Case cases[] = {
      {"normal", {red, green, blue, yellow}, true, false, false, red},
      {"disabled: the second cell", {red, green}, false, false, false, green},
      {"pressed: the third cell", {red, green, blue}, true, true, false, blue},
      {"pressed with four cells", {red, green, blue, yellow}, true, true, false, blue},
      {"pressed and disabled: the fourth cell", {red, green, blue, yellow}, false, true, false, yellow},
      {"pressed and disabled with three cells: the last", {red, green, blue}, false, true, false, blue},
      {"pressed with two cells: the first", {red, green}, true, true, false, red},
      {"black and white away from the mouse", {red}, true, false, true, RGB(128, 128, 128)},
      {"disabled single cell: faded", {red}, false, false, false, RGB(185, 185, 185)},
      {"disabled single cell of black", {RGB(0, 0, 0)}, false, false, false, RGB(160, 160, 160)},
      {"disabled single cell of white", {RGB(255, 255, 255)}, false, false, false, RGB(210, 210, 210)},
      {"black and white and disabled", {yellow}, false, false, true, RGB(185, 185, 185)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSeCustomButton button(nullptr);
    button.SetBounds(0, 0, 40, 30);
    button.SetCaption("");
    button.SetGlyph(*Cells(c.cells));
    button.SetEnabled(c.enabled);
    button.SetBlackAndWhiteGlyph(c.blackAndWhite);
    if (c.pressed) button.SetState(kbsPressed);
    const TRect g = button.GlyphRect();
    auto b = Painted(button);
    const int left = g.Left + (g.Width() - 16) / 2, top = g.Top + (g.Height() - 16) / 2;
    EXPECT_EQ(At(*b, left + 8, top + 8), c.expected);
    EXPECT_EQ(At(*b, left, top + 15), ColorToRGB(clBtnFace));  // the transparent corner
  }
}

TEST_F(SkinControlsTest, ButtonGlyphTurnsToColourUnderTheMouse) {
  TForm* form = NewForm();
  auto* button = new TSeCustomButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 40, 30);
  button->SetCaption("");
  button->SetGlyph(*Cells({RGB(0, 0, 255)}));
  button->SetBlackAndWhiteGlyph(true);
  form->Show();
  Pump();
  const TRect g = button->GlyphRect();
  const TPoint centre{g.Left + g.Width() / 2, g.Top + g.Height() / 2};
  EXPECT_EQ(At(*Painted(*button), centre.X, centre.Y), RGB(128, 128, 128));
  m_screen->MouseMove(button->ClientToScreen({2, 2}));
  Pump();
  ASSERT_TRUE(button->IsHot());
  EXPECT_EQ(At(*Painted(*button), centre.X, centre.Y), RGB(0, 0, 255));
  m_screen->MouseMove(button->ClientToScreen({100, 100}));
  Pump();
  EXPECT_EQ(At(*Painted(*button), centre.X, centre.Y), RGB(128, 128, 128));
}

TEST_F(SkinControlsTest, ButtonFaceShowsFocusDefaultAndPress) {
  TForm* form = NewForm();
  auto* plain = new TSeCustomCheckBox(form);  // holds the focus
  plain->SetParent(form);
  plain->SetTop(50);
  auto* button = new TSeCustomButton(form);
  button->SetParent(form);
  button->SetBounds(0, 0, 46, 16);
  button->SetCaption("");
  form->Show();
  Pump();
  plain->SetFocus();
  const COLORREF black = RGB(0, 0, 0), face = ColorToRGB(clBtnFace), white = ColorToRGB(clBtnHighlight),
                 shadow = ColorToRGB(clBtnShadow);
  auto b = Painted(*button);
  EXPECT_EQ(At(*b, 0, 0), white);     // raised
  EXPECT_EQ(At(*b, 45, 15), black);
  EXPECT_EQ(At(*b, 44, 14), shadow);
  EXPECT_EQ(At(*b, 20, 8), face);
  button->SetState(kbsPressed);
  b = Painted(*button);
  EXPECT_EQ(At(*b, 0, 0), shadow);    // flat, in the shadow colour
  EXPECT_EQ(At(*b, 45, 15), shadow);
  EXPECT_EQ(At(*b, 1, 1), face);
  button->SetState(kbsNormal);
  button->SetDefault(true);
  b = Painted(*button);
  EXPECT_EQ(At(*b, 0, 0), black);     // the default button's black ring
  EXPECT_EQ(At(*b, 1, 1), white);
  EXPECT_EQ(At(*b, 4, 4), face);
  button->SetFocus();                 // focused: the ring and a focus frame 4 pixels in
  b = Painted(*button);
  EXPECT_EQ(At(*b, 0, 0), black);
  std::set<COLORREF> frame;  // dotted: every other pixel inverted
  for (int x = 4; x < 42; ++x) frame.insert(At(*b, x, 4));
  EXPECT_EQ(frame, (std::set<COLORREF>{face, ColorToRGB(clBtnFace) ^ 0xFFFFFF}));
}

TEST_F(SkinControlsTest, ButtonTakesGlyphCaptionAndHandlerFromItsAction) {
  TForm* form = NewForm();
  auto* images = new TImageList(form);
  std::vector<std::uint32_t> pixels(16 * 16, 0xFF00FF00);
  pixels[0] = 0;  // transparent top-left
  images->AddPixels(pixels.data());
  auto* action = new TBasicAction(form);
  action->SetCaption("Refresh");
  action->SetImages(images);
  action->SetImageIndex(0);
  int executed = 0;
  action->OnExecute = [&](TPersistent*) { ++executed; };
  auto* button = new TSeCustomButton(form);
  button->SetParent(form);
  button->SetAction(action);
  EXPECT_EQ(button->Caption(), "Refresh");
  ASSERT_EQ(button->Glyph()->Width(), 16);
  EXPECT_EQ(button->Glyph()->ScanLine(5)[5] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(ColorFromPixel(button->Glyph()->ScanLine(0)[0]), ColorToRGB(clFuchsia));
  button->Click();
  EXPECT_EQ(executed, 1);
  // The glyph came from the image list, so it is not stored with the button.
  const TPropertyInfo* glyph = TSeCustomButton::StaticClassInfo().FindProperty("Glyph");
  ASSERT_NE(glyph, nullptr);
  EXPECT_FALSE(glyph->IsStored(*button));
  delete action;
  button->Click();  // the handler outlives the action
  EXPECT_EQ(executed, 2);
}

// A custom glyph travels with the button through the binary stream and the text form, cell count
// and all: the stored NumGlyphs stands even where the picture would suggest another count.
TEST_F(SkinControlsTest, ButtonKeepsItsCustomGlyphThroughTheStream) {
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 160, 0), blue = RGB(0, 0, 255), yellow = RGB(255, 255, 0);
  struct Case {
    const char* name;
    std::vector<COLORREF> cells;
    int numGlyphs;
  };
  const Case cases[] = {
      {"two cells as counted", {red, green}, 2},
      {"four pictures shown as two cells", {red, green, blue, yellow}, 2},
      {"two pictures shown as one cell", {red, blue}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSeCustomButton source(nullptr);
    source.SetName("SeSkinButton1");
    source.SetBounds(0, 0, 90, 30);
    source.SetCaption("Go");
    source.SetGlyph(*Cells(c.cells));
    source.Glyph()->ScanLine(3)[5] = 0x80123456;  // alpha is kept as well
    source.SetNumGlyphs(c.numGlyphs);
    TMemoryStream binary;
    WriteComponentToStream(binary, source);
    binary.SetPosition(0);

    TSeCustomButton fromBinary(nullptr), fromText(nullptr);
    ReadComponentFromStream(binary, &fromBinary);
    ComponentFromText(ComponentToText(source), &fromText);
    for (TSeCustomButton* copy : {&fromBinary, &fromText}) {
      ASSERT_EQ(copy->Glyph()->Width(), source.Glyph()->Width());
      ASSERT_EQ(copy->Glyph()->Height(), 16);
      for (int y = 0; y < 16; ++y)
        EXPECT_EQ(std::vector<std::uint32_t>(copy->Glyph()->ScanLine(y), copy->Glyph()->ScanLine(y) + copy->Glyph()->Width()),
                  std::vector<std::uint32_t>(source.Glyph()->ScanLine(y), source.Glyph()->ScanLine(y) + source.Glyph()->Width()))
            << "row " << y;
      EXPECT_EQ(copy->NumGlyphs(), c.numGlyphs);
      EXPECT_EQ(copy->GlyphRect(), source.GlyphRect());
      const auto expected = Painted(source), painted = Painted(*copy);
      int differing = 0;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 90; ++x) differing += At(*painted, x, y) != At(*expected, x, y);
      EXPECT_EQ(differing, 0);
    }
  }
}

}  // namespace
}  // namespace vandrel::test
