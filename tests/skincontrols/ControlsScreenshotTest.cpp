// Sheets of the skinned controls' own looks: one form holding each control once per state
// (normal, hot, pressed, focused, disabled, checked/grayed), every state reached through the real
// input path and painted into one picture. The test checks that the states look different; with
// VANDREL_CONTROLS_SHEET set to a file name it also writes the sheet there as PNG.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Canvas.h"
#include "platform/gdi/PngWriter.h"
#include "skincontrols/Button.h"
#include "skincontrols/ButtonGlyphs.h"
#include "skincontrols/CheckBox.h"
#include "skincontrols/CustomPanel.h"
#include "skincontrols/StatusBar.h"

namespace vandrel::test {
namespace {

enum TLook { lkNormal, lkHot, lkPressed, lkFocused, lkDisabled, lkChecked, lkGrayed };
constexpr const char* kLookNames[] = {"normal", "hot", "pressed", "focused", "disabled", "checked", "grayed"};

constexpr int kColumnWidth = 130;
constexpr int kRowHeight = 74;
constexpr int kLeftMargin = 110;
constexpr int kTopMargin = 24;

struct TRow {
  const char* name;
  std::function<TWinControl*(TForm*)> make;
  // Where the mouse goes for the hot and pressed looks, in the control's client coordinates.
  std::function<TPoint(TWinControl*)> target;
  // Puts the control into the checked or grayed look; false when it has none.
  std::function<bool(TWinControl*, TLook)> mark;
};

class ControlsSheet : public SkinControlsTest {
 protected:
  // Paints every row in every look into the sheet; a look a control lacks stays empty.
  void PaintSheet(const std::vector<TRow>& rows) {
    TForm* form = NewForm(clBtnFace);
    form->SetBounds(0, 0, 100, 40);
    auto* focusHolder = new TSeCustomCheckBox(form);  // keeps the focus off the other looks
    focusHolder->SetParent(form);
    focusHolder->SetBounds(0, 0, 10, 10);
    form->SetBounds(0, 0, kLeftMargin + 7 * kColumnWidth, kTopMargin + int(rows.size()) * kRowHeight);
    m_sheet.SetSize(form->Width(), form->Height());
    m_sheet.Fill(PixelFromRGB(GetRValue(ColorToRGB(clBtnFace)), GetGValue(ColorToRGB(clBtnFace)),
                              GetBValue(ColorToRGB(clBtnFace)), 255));
    TCanvas labels;
    labels.SetHandle(m_sheet.DC());
    labels.Brush()->SetStyle(bsClear);
    for (int c = 0; c < 7; ++c) labels.TextOut(kLeftMargin + c * kColumnWidth + 4, 4, kLookNames[c]);
    std::vector<std::vector<TWinControl*>> cells;
    for (size_t r = 0; r < rows.size(); ++r) {
      labels.TextOut(6, kTopMargin + int(r) * kRowHeight + 4, rows[r].name);
      cells.emplace_back();
      for (int c = 0; c < 7; ++c) {
        TWinControl* control = rows[r].make(form);
        control->SetParent(form);
        control->SetLeft(kLeftMargin + c * kColumnWidth);
        control->SetTop(kTopMargin + int(r) * kRowHeight);
        cells.back().push_back(control);
      }
    }
    labels.SetHandle(HDC());
    form->Show();
    Pump();
    const TPoint away = form->ClientToScreen({form->Width() - 2, 2});
    for (size_t r = 0; r < rows.size(); ++r) {
      for (int c = 0; c < 7; ++c) {
        TWinControl* control = cells[r][size_t(c)];
        const TPoint inside = control->ClientToScreen(rows[r].target(control));
        focusHolder->SetFocus();
        m_screen->MouseMove(away);
        Pump();
        bool shown = true;
        switch (TLook(c)) {
          case lkNormal: break;
          case lkHot: m_screen->MouseMove(inside); break;
          case lkPressed:
            m_screen->MouseMove(inside);
            m_screen->MouseDown(inside);
            break;
          case lkFocused:
            if (control->CanFocus()) control->SetFocus();
            else shown = false;
            break;
          case lkDisabled: control->SetEnabled(false); break;
          case lkChecked:
          case lkGrayed: shown = rows[r].mark(control, TLook(c)); break;
        }
        Pump();
        if (shown) {
          auto picture = Painted(*control);
          BitBlt(m_sheet.DC(), control->Left(), control->Top(), picture->Width(), picture->Height(), picture->DC(), 0,
                 0, SRCCOPY);
          m_pictures[{r, c}] = std::move(picture);
        }
        if (TLook(c) == lkPressed) {
          m_screen->MouseMove(away);
          m_screen->MouseUp(away);
          Pump();
        }
      }
    }
  }

  // Whether two looks of a row differ anywhere.
  bool Differ(size_t row, int a, int b) const {
    const TseBitmap& x = *m_pictures.at({row, a});
    const TseBitmap& y = *m_pictures.at({row, b});
    for (int j = 0; j < x.Height(); ++j)
      for (int i = 0; i < x.Width(); ++i)
        if (At(x, i, j) != At(y, i, j)) return true;
    return false;
  }

  TseBitmap m_sheet;
  std::map<std::pair<size_t, int>, std::unique_ptr<TseBitmap>> m_pictures;
};

TEST_F(ControlsSheet, EveryControlInEveryState) {
  const std::vector<TRow> rows = {
      {"panel",
       [](TForm* f) {
         auto* p = new TSeCustomPanel(f);
         p->SetBounds(0, 0, 120, 64);
         p->SetCaption("Panel");
         return p;
       },
       [](TWinControl* c) { auto r = static_cast<TSeCustomPanel*>(c)->ButtonRect(); return TPoint{r.Left + 4, r.Top + 4}; },
       [](TWinControl* c, TLook look) {
         if (look != lkChecked) return false;
         static_cast<TSeCustomPanel*>(c)->SetRolled(true);  // the panel's "checked" look: rolled up
         return true;
       }},
      {"check box",
       [](TForm* f) {
         auto* b = new TSeCustomCheckBox(f);
         b->SetBounds(0, 0, 76, 16);
         b->SetCaption("自动启动");
         return b;
       },
       [](TWinControl*) { return TPoint{5, 8}; },
       [](TWinControl* c, TLook look) {
         static_cast<TSeCustomCheckBox*>(c)->SetState(look == lkChecked ? cbChecked : cbGrayed);
         return true;
       }},
      {"checked box",
       [](TForm* f) {
         auto* b = new TSeCustomCheckBox(f);
         b->SetBounds(0, 0, 120, 20);
         b->SetCaption("&Remind me");
         b->SetChecked(true);
         return b;
       },
       [](TWinControl*) { return TPoint{5, 10}; },
       [](TWinControl* c, TLook look) {
         static_cast<TSeCustomCheckBox*>(c)->SetState(look == lkChecked ? cbChecked : cbGrayed);
         c->SetEnabled(false);  // the disabled forms of checked and grayed
         return true;
       }},
      {"button",
       [](TForm* f) {
         auto* b = new TSeCustomButton(f);
         b->SetBounds(0, 0, 46, 16);
         b->SetCaption("万年历");
         return b;
       },
       [](TWinControl*) { return TPoint{20, 8}; },
       [](TWinControl* c, TLook look) {
         if (look != lkChecked) return false;
         static_cast<TSeCustomButton*>(c)->SetDefault(true);  // the button's "checked": default
         return true;
       }},
      {"kind OK",
       [](TForm* f) {
         auto* b = new TSeCustomButton(f);
         b->SetBounds(0, 0, 75, 25);
         b->SetKind(bkOK);
         b->SetDefault(false);
         return b;
       },
       [](TWinControl*) { return TPoint{30, 12}; },
       [](TWinControl* c, TLook look) {
         if (look != lkChecked) return false;
         static_cast<TSeCustomButton*>(c)->SetDefault(true);
         return true;
       }},
      {"grey glyph",
       [](TForm* f) {
         auto* b = new TSeCustomButton(f);
         b->SetBounds(0, 0, 90, 40);
         b->SetKind(bkRetry);
         b->SetLayout(blGlyphTop);
         b->SetBlackAndWhiteGlyph(true);
         return b;
       },
       [](TWinControl*) { return TPoint{45, 20}; },
       [](TWinControl*, TLook) { return false; }},
      {"one cell",
       [](TForm* f) {
         auto* b = new TSeCustomButton(f);
         b->SetBounds(0, 0, 90, 30);
         b->SetCaption("&Ignore");
         b->SetLayout(blGlyphRight);
         // The first cell of a kind picture alone: disabled, it fades to light greys.
         const TBitmap& kind = KindGlyph("SE_BTN_IGNORE");
         TBitmap cell(16, 16);
         for (int y = 0; y < 16; ++y)
           for (int x = 0; x < 16; ++x) cell.ScanLine(y)[x] = kind.ScanLine(y)[x];
         b->SetGlyph(cell);
         return b;
       },
       [](TWinControl*) { return TPoint{45, 15}; },
       [](TWinControl*, TLook) { return false; }},
  };
  PaintSheet(rows);

  // Rows: 0 panel, 1 check box, 2 checked box, 3 button, 4 kind OK, 5 grey glyph.
  EXPECT_TRUE(Differ(0, lkNormal, lkHot));       // the caption button's raised edge
  EXPECT_TRUE(Differ(0, lkNormal, lkPressed));
  EXPECT_TRUE(Differ(1, lkNormal, lkFocused));   // the focus frame
  EXPECT_TRUE(Differ(1, lkNormal, lkDisabled));
  EXPECT_TRUE(Differ(1, lkChecked, lkGrayed));
  EXPECT_TRUE(Differ(2, lkChecked, lkGrayed));
  EXPECT_TRUE(Differ(3, lkNormal, lkPressed));
  EXPECT_TRUE(Differ(3, lkNormal, lkFocused));
  EXPECT_TRUE(Differ(3, lkNormal, lkDisabled));
  EXPECT_TRUE(Differ(4, lkNormal, lkDisabled));  // the second, embossed cell
  EXPECT_TRUE(Differ(5, lkNormal, lkHot));       // colour under the mouse

  if (const char* path = std::getenv("VANDREL_CONTROLS_SHEET")) {
    m_sheet.SetAlpha(255);
    WritePng(m_sheet.DC(), path);
  }
}

// The ten kind presets on buttons, enabled and disabled, with their pictures four times enlarged.
TEST_F(ControlsSheet, KindPresets) {
  TForm* form = NewForm(clBtnFace);
  form->SetBounds(0, 0, 420, 10 * 70 + 10);
  TseBitmap sheet;
  sheet.SetSize(form->Width(), form->Height());
  sheet.Fill(PixelFromRGB(GetRValue(ColorToRGB(clBtnFace)), GetGValue(ColorToRGB(clBtnFace)),
                          GetBValue(ColorToRGB(clBtnFace)), 255));
  form->Show();
  Pump();
  std::set<std::vector<std::uint32_t>> glyphs;
  for (int k = int(bkOK); k <= int(bkAll); ++k) {
    SCOPED_TRACE(kBitBtnKindNames[size_t(k)]);
    const int top = 10 + (k - 1) * 70;
    auto* button = new TSeCustomButton(form);
    button->SetParent(form);
    button->SetBounds(10, top, 75, 25);
    button->SetKind(TBitBtnKind(k));
    ASSERT_EQ(button->Glyph()->Width(), 32);
    ASSERT_EQ(button->Glyph()->Height(), 16);
    EXPECT_EQ(button->NumGlyphs(), 2);
    std::vector<std::uint32_t> painted[2];
    for (bool enabled : {true, false}) {
      button->SetEnabled(enabled);
      auto picture = Painted(*button);
      for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 75; ++x) painted[enabled].push_back(picture->Pixel(x, y));
      BitBlt(sheet.DC(), enabled ? 10 : 95, top, 75, 25, picture->DC(), 0, 0, SRCCOPY);
    }
    // The disabled button shows the picture's second cell and an embossed caption.
    EXPECT_NE(painted[0], painted[1]);
    const TBitmap& glyph = *button->Glyph();
    std::vector<std::uint32_t> cell[2];
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x) cell[x / 16].push_back(glyph.ScanLine(y)[x] & 0xFFFFFF);
    EXPECT_NE(cell[0], cell[1]);  // a disabled cell of its own
    EXPECT_TRUE(glyphs.insert(cell[0]).second) << "the same picture as another kind";
    for (int y = 0; y < 16 * 4; ++y)
      for (int x = 0; x < 32 * 4; ++x) sheet.SetPixel(200 + x + x / 64 * 8, top + y, glyph.ScanLine(y / 4)[x / 4] | 0xFF000000);
  }
  if (const char* path = std::getenv("VANDREL_CONTROLS_SHEET")) {
    std::string kinds = path;
    kinds.insert(kinds.size() > 4 ? kinds.size() - 4 : kinds.size(), "-kinds");
    WritePng(sheet.DC(), kinds);
  }
}

// The main window's status bar with its hosted check box and buttons, once per look: one bar per
// row, each look reached through real input.
TEST_F(ControlsSheet, MainWindowStatusBar) {
  struct TBar {
    TSeCustomStatusBar* bar;
    TSeCustomCheckBox* run;
    TSeCustomButton* calendar;
    TSeCustomButton* refresh;
  };
  TForm* form = NewForm(clBtnFace);
  form->SetBounds(0, 0, kLeftMargin + 374 + 10, 7 * 34 + 10);
  auto* focusHolder = new TSeCustomCheckBox(form);
  focusHolder->SetParent(form);
  focusHolder->SetBounds(0, 0, 10, 10);
  std::vector<TBar> bars;
  for (int row = 0; row < 7; ++row) {
    TBar b{};
    b.bar = new TSeCustomStatusBar(form);
    b.bar->SetParent(form);
    b.bar->SetBounds(kLeftMargin, 10 + row * 34, 374, 22);
    b.bar->SetBorderWidth(2);
    b.bar->SetBevelOuter(kbvRaised);
    b.bar->SetBevelInner(kbvSpace);
    b.bar->SetBevelWidth(0);
    b.bar->SetTransparent(true);
    for (int width : {200, 80, 50, 50}) b.bar->Panels()->Add()->SetWidth(width);
    b.bar->Panels()->Items(0)->SetText("2024-5-12  农历  四月初五  星期日");
    b.run = new TSeCustomCheckBox(form);
    b.run->SetCaption("自动启动");
    b.run->SetState(cbChecked);
    b.bar->Panels()->Items(1)->SetControl(b.run);
    b.run->SetParent(b.bar);
    b.calendar = new TSeCustomButton(form);
    b.calendar->SetCaption("万年历");
    b.bar->Panels()->Items(2)->SetControl(b.calendar);
    b.calendar->SetParent(b.bar);
    b.refresh = new TSeCustomButton(form);
    b.refresh->SetCaption("刷新");
    b.bar->Panels()->Items(3)->SetControl(b.refresh);
    b.refresh->SetParent(b.bar);
    bars.push_back(b);
  }
  form->Show();
  Pump();
  EXPECT_EQ(bars[0].run->BoundsRect(), Rect(203, 3, 279, 19));
  EXPECT_EQ(bars[0].calendar->BoundsRect(), Rect(283, 3, 329, 19));
  EXPECT_EQ(bars[0].refresh->BoundsRect(), Rect(333, 3, 379, 19));

  TseBitmap sheet;
  sheet.SetSize(form->Width(), form->Height());
  sheet.Fill(PixelFromRGB(GetRValue(ColorToRGB(clBtnFace)), GetGValue(ColorToRGB(clBtnFace)),
                          GetBValue(ColorToRGB(clBtnFace)), 255));
  TCanvas labels;
  labels.SetHandle(sheet.DC());
  labels.Brush()->SetStyle(bsClear);
  const char* names[] = {"normal", "hot 万年历", "pressed 万年历", "focused 自动启动", "disabled", "unchecked", "pressed box"};
  for (int row = 0; row < 7; ++row) labels.TextOut(6, 14 + row * 34, names[row]);
  labels.SetHandle(HDC());
  const TPoint away = form->ClientToScreen({form->Width() - 2, 2});
  for (int row = 0; row < 7; ++row) {
    const TBar& b = bars[size_t(row)];
    const TPoint onCalendar = b.calendar->ClientToScreen({20, 8});
    const TPoint onRun = b.run->ClientToScreen({5, 8});
    focusHolder->SetFocus();
    m_screen->MouseMove(away);
    Pump();
    switch (row) {
      case 1: m_screen->MouseMove(onCalendar); break;
      case 2: m_screen->MouseMove(onCalendar); m_screen->MouseDown(onCalendar); break;
      case 3: b.run->SetFocus(); break;
      case 4:
        for (TControl* c : std::vector<TControl*>{b.run, b.calendar, b.refresh}) c->SetEnabled(false);
        break;
      case 5: m_screen->Click(onRun); break;
      case 6: m_screen->MouseMove(onRun); m_screen->MouseDown(onRun); break;
      default: break;
    }
    Pump();
    auto picture = Painted(*b.bar);
    BitBlt(sheet.DC(), b.bar->Left(), b.bar->Top(), picture->Width(), picture->Height(), picture->DC(), 0, 0, SRCCOPY);
    EXPECT_EQ(b.calendar->State(), row == 2 ? kbsPressed : kbsNormal);
    EXPECT_EQ(b.run->State(), row == 5 ? cbUnchecked : cbChecked);
    EXPECT_EQ(b.run->Pressed(), row == 6);
    m_screen->MouseMove(away);
    m_screen->MouseUp(away);
    Pump();
  }
  if (const char* path = std::getenv("VANDREL_CONTROLS_SHEET")) {
    std::string name = path;
    name.insert(name.size() > 4 ? name.size() - 4 : name.size(), "-statusbar");
    sheet.SetAlpha(255);
    WritePng(sheet.DC(), name);
  }
}

}  // namespace
}  // namespace vandrel::test
