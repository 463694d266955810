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
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/core/Exception.h"
#include "platform/core/Stream.h"
#include "platform/win/VirtualKeys.h"
#include "skincontrols/Button.h"
#include "skincontrols/ButtonGlyphs.h"

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

}  // namespace
}  // namespace vandrel::test
