// A form with status bars in their various states, painted headless through the real paint path:
// aligned texts, a hidden panel, a stretched panel, owner-drawn and image panels, hosted controls,
// bevels, and the size grip in the form's corner. With VANDREL_SNAPSHOT_DIR set, the screen is
// also written there as statusbar.png for looking at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Button.h"
#include "framework/ImageList.h"
#include "graphics/PaintHelpers.h"
#include "platform/gdi/PngWriter.h"
#include "skincontrols/CustomPanel.h"
#include "skincontrols/StatusBar.h"

namespace vandrel::test {
namespace {

// A 16 x 16 picture: a blue square with a white ring, or an orange disc.
std::vector<std::uint32_t> Picture(bool disc) {
  std::vector<std::uint32_t> p(16 * 16, 0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int dx = 2 * x - 15, dy = 2 * y - 15;
      if (disc) {
        if (dx * dx + dy * dy <= 225) p[size_t(y * 16 + x)] = 0xFFF08000;
      } else {
        const bool ring = x == 2 || y == 2 || x == 13 || y == 13;
        if (x >= 2 && y >= 2 && x <= 13 && y <= 13) p[size_t(y * 16 + x)] = ring ? 0xFFFFFFFF : 0xFF2050C0;
      }
    }
  return p;
}

TEST_F(SkinControlsTest, StatusBarSnapshotOfItsStates) {
  TForm* form = NewForm(clBtnFace);
  form->SetBounds(20, 20, 420, 250);
  auto* images = new TImageList(form);
  images->SetWidth(16);
  images->SetHeight(16);
  for (bool disc : {false, true}) images->AddPixels(Picture(disc).data());

  // Top-aligned controls stack in the order of their tops.
  int nextTop = 0;
  auto newBar = [&](TAlign align) {
    auto* bar = new TSeCustomStatusBar(form);
    bar->SetParent(form);
    bar->SetTop(nextTop += 40);
    bar->SetAlign(align);
    bar->SetImages(images);
    return bar;
  };
  auto add = [](TSeCustomStatusBar* bar, int width, const std::string& text) {
    TSeStatusPanel* p = bar->Panels()->Add();
    p->SetWidth(width);
    p->SetText(text);
    return p;
  };
  // A spacer between two bars shows the form.
  auto spacer = [&] {
    auto* s = new TSeCustomPanel(form);
    s->SetShowCaption(false);
    s->SetShowBevel(false);
    s->SetColor(clBtnFace);
    s->SetParent(form);
    s->SetTop(nextTop += 40);
    s->SetAlign(alTop);
    s->SetHeight(6);
  };

  // 1. Texts aligned left, centred, right; the long one is shortened with "...".
  TSeCustomStatusBar* texts = newBar(alTop);
  add(texts, 110, "Left aligned");
  add(texts, 110, "Centred")->SetAlignment(taCenter);
  add(texts, 90, "Right")->SetAlignment(taRightJustify);
  add(texts, 100, "A text far too long for its panel");
  spacer();

  // 2. Not enough room: the panel of lower view priority is hidden, its slot stays empty.
  TSeCustomStatusBar* hiding = newBar(alTop);
  add(hiding, 150, "view 50 (hidden)")->SetViewPriority(50);
  add(hiding, 150, "view 100");
  add(hiding, 150, "view 90");
  spacer();

  // 3. Spare room: the stretching panel takes it and reaches the right edge; one is not framed.
  TSeCustomStatusBar* stretching = newBar(alTop);
  add(stretching, 80, "fixed");
  add(stretching, 80, "stretch 50")->SetStretchPriority(50);
  add(stretching, 60, "unframed")->SetFramed(false);
  spacer();

  // 4. Owner-drawn and image panels, the image on either side.
  TSeCustomStatusBar* drawn = newBar(alTop);
  add(drawn, 100, "")->SetStyle(psOwnerDraw);
  TSeStatusPanel* left = add(drawn, 110, "glyph left");
  left->SetImageIndex(0);
  TSeStatusPanel* right = add(drawn, 110, "glyph right");
  right->SetImageIndex(1);
  right->SetLayout(sglGlyphRight);
  TSeStatusPanel* centred = add(drawn, 90, "centre");
  centred->SetImageIndex(1);
  centred->SetAlignment(taCenter);
  drawn->OnDrawPanel = [](TSeCustomStatusBar* bar, TSeStatusPanel*, const TRect& r) {
    FillGradient(*bar->Canvas(), InflateRect(r, -2, -2), TColor(RGB(40, 90, 200)), false, TColor(RGB(240, 240, 255)));
  };
  spacer();

  // 5. The main window's strip: a date text and three hosted controls, with a raised bevel.
  TSeCustomStatusBar* hosting = newBar(alTop);
  hosting->SetBevelWidth(1);
  add(hosting, 200, "2024-5-12  农历  四月初五  星期日");
  for (const char* caption : {"Check", "Cal", "Go"}) {
    auto* b = new TButton(form);
    b->SetCaption(caption);
    TSeStatusPanel* p = add(hosting, caption[0] == 'C' && caption[1] == 'h' ? 80 : 50, "");
    p->SetControl(b);
    b->SetParent(hosting);
  }
  spacer();

  // 6. At the bottom of the form: the size grip in the corner, lowered bevel all round.
  TSeCustomStatusBar* bottom = newBar(alBottom);
  bottom->SetBevelWidth(1);
  bottom->SetBevelOuter(kbvLowered);
  bottom->SetBevelInner(kbvNone);
  add(bottom, 120, "size grip at the right");

  form->Show();
  Pump();

  EXPECT_FALSE(hiding->Panels()->Items(0)->Shown());
  EXPECT_EQ(stretching->GetPanelRect(1).Right, stretching->GetPanelRect(2).Left);
  EXPECT_EQ(stretching->GetPanelRect(2).Right, stretching->ClientRect().Right);
  EXPECT_TRUE(bottom->SizeGripShown());
  for (TSeCustomStatusBar* b : {texts, hiding, stretching, drawn, hosting}) EXPECT_FALSE(b->SizeGripShown());

  // What the screen shows at telling points of each bar.
  auto shot = m_screen->Capture();
  auto at = [&](TSeCustomStatusBar* bar, TPoint p) {
    const TPoint s = bar->ClientToScreen(p);
    return ColorFromPixel(shot->Pixel(s.X, s.Y));
  };
  const COLORREF face = ColorToRGB(clBtnFace), shadow = ColorToRGB(clBtnShadow);
  auto panel = [](TSeCustomStatusBar* bar, int i) { return bar->GetPanelRect(i); };
  auto imageAt = [&](TSeCustomStatusBar* bar, int i, int x, int y) {
    const TRect r = panel(bar, i), image = bar->GetImageRect(*bar->Panels()->Items(i));
    return at(bar, {r.Left + image.Left + x, r.Top + image.Top + y});
  };
  const TRect hiddenSlot{hiding->ClientRect().Left, panel(hiding, 1).Top, panel(hiding, 1).Left, panel(hiding, 1).Bottom};
  struct Point { const char* what; COLORREF seen, expected; };
  const Point points[] = {
      {"a framed panel's top-left corner", at(texts, panel(texts, 0).TopLeft()), shadow},
      {"an unframed panel's top-left corner", at(stretching, panel(stretching, 2).TopLeft()), face},
      {"the hidden panel's empty slot, its frame's place", at(hiding, {hiddenSlot.Left + 1, hiddenSlot.Top}), face},
      {"the hidden panel's empty slot, inside", at(hiding, CenterPoint(hiddenSlot)), face},
      {"the owner-drawn gradient's first column", at(drawn, {panel(drawn, 0).Left + 2, panel(drawn, 0).Top + 5}), RGB(40, 90, 200)},
      {"the square picture's ring", imageAt(drawn, 1, 2, 2), RGB(255, 255, 255)},
      {"the square picture's inside", imageAt(drawn, 1, 8, 8), RGB(0x20, 0x50, 0xC0)},
      {"the disc picture's centre, glyph right", imageAt(drawn, 2, 8, 8), RGB(0xF0, 0x80, 0x00)},
      {"the disc picture's corner is the panel", imageAt(drawn, 2, 1, 1), face},
  };
  for (const Point& p : points) EXPECT_EQ(p.seen, p.expected) << p.what;
  // The grip draws its ridges; the same place of a bar without a grip is plain panel.
  const TRect grip = bottom->GetSizeGripRect();
  int ridges = 0;
  for (int y = grip.Top; y < grip.Bottom; ++y)
    for (int x = grip.Left; x < grip.Right; ++x) ridges += at(bottom, {x, y}) == shadow;
  EXPECT_GT(ridges, 5);

  if (const char* dir = std::getenv("VANDREL_SNAPSHOT_DIR")) {
    TSurface crop(form->Width(), form->Height());
    for (int y = 0; y < form->Height(); ++y)
      for (int x = 0; x < form->Width(); ++x) crop.SetPixel(x, y, shot->Pixel(form->Left() + x, form->Top() + y));
    WritePng(crop, std::string(dir) + "/statusbar.png");
  }
}

}  // namespace
}  // namespace vandrel::test
