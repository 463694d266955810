// The status bar under real input, headless: clicks and double clicks per panel (only a release
// on the pressed panel clicks), owner-drawn and image panels on screen, a look change marking its
// panel for the next paint, the size grip's cursor and the press (and the mouse) it hands to a
// skinned window; then copying panels with Assign.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/Button.h"
#include "framework/ImageList.h"
#include "platform/core/Exception.h"
#include "platform/win/Paint.h"
#include "skincontrols/CustomPanel.h"
#include "skincontrols/StatusBar.h"

namespace vandrel::test {
namespace {

constexpr COLORREF kOwnerRed = RGB(255, 0, 0);
constexpr std::uint32_t kOwnerRedPixel = 0xFF0000;  // as the screen reports it
constexpr std::uint32_t kImageGreen = 0xFF00C000;

// Takes the non-client press a size grip hands over, instead of starting a sizing loop, and
// notes who held the mouse when it came.
class TSizingWindow : public TForm {
 public:
  using TForm::TForm;
  std::vector<LPARAM> presses;
  std::vector<HWND> captureAtPress;
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_NCLBUTTONDOWN) {
      EXPECT_EQ(m.WParam, 0u);  // the hit-test code is left to the skinned window
      presses.push_back(m.LParam);
      captureAtPress.push_back(GetCapture());
      return;
    }
    TForm::Dispatch(m);
  }
};

class StatusBarInteractionTest : public SkinControlsTest {
 protected:
  void SetUp() override {
    SkinControlsTest::SetUp();
    form = NewForm();
    form->SetBounds(100, 100, 320, 100);
    images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    std::vector<std::uint32_t> pixels(16 * 16, kImageGreen);
    images->AddPixels(pixels.data());
    bar = new TSeCustomStatusBar(form);
    bar->SetParent(form);
    bar->SetAlign(alBottom);
    bar->SetImages(images);
    auto add = [&](int width, const char* text) {
      TSeStatusPanel* p = bar->Panels()->Add();
      p->SetWidth(width);
      p->SetText(text);
      return p;
    };
    add(80, "Text");
    add(60, "")->SetStyle(psOwnerDraw);
    add(60, "Image")->SetImageIndex(0);
    TSeStatusPanel* hosting = add(50, "");
    button = new TButton(form);
    hosting->SetControl(button);
    button->SetParent(bar);
    bar->OnPanelClick = [&](TSeCustomStatusBar*, TSeStatusPanel* p) { log += "click " + std::to_string(p->Index()) + ";"; };
    bar->OnPanelDblClick = [&](TSeCustomStatusBar*, TSeStatusPanel* p) { log += "dbl " + std::to_string(p->Index()) + ";"; };
    bar->OnDrawPanel = [&](TSeCustomStatusBar* b, TSeStatusPanel* p, const TRect& r) {
      draws.push_back(p->Index());
      FillColorRect(*b->Canvas(), r, TColor(kOwnerRed));
    };
    form->Show();
    Pump();
    log.clear();
  }

  // The middle of a panel on the screen.
  TPoint PanelPoint(int index) const { return bar->ClientToScreen(CenterPoint(bar->GetPanelRect(index))); }

  TForm* form = nullptr;
  TImageList* images = nullptr;
  TSeCustomStatusBar* bar = nullptr;
  TButton* button = nullptr;
  std::string log;  // clicks and double clicks
  std::vector<int> draws;
};

TEST_F(StatusBarInteractionTest, PanelsAnswerTheRealInput) {
  auto* sizing = m_app->CreateForm<TSizingWindow>();
  sizing->SetBorderStyle(bsNone);
  auto* skinned = new TSkinnedWindowStandIn(form);
  skinned->handle = sizing->Handle();
  const TRect grip = bar->GetSizeGripRect();
  const TPoint gripPoint = bar->ClientToScreen({grip.Left + 3, grip.Top + 3});
  struct Step {
    const char* what;
    std::function<void()> act;
    std::string log;
    std::function<void()> check;
  };
  const std::vector<Step> steps = {
      {"a click on a text panel", [&] { m_screen->Click(PanelPoint(0)); }, "click 0;", nullptr},
      {"a click on the owner-drawn panel", [&] { m_screen->Click(PanelPoint(1)); }, "click 1;", nullptr},
      {"pressed on one panel, released on another: no click",
       [&] {
         m_screen->MouseDown(PanelPoint(0));
         Pump();
         m_screen->MouseMove(PanelPoint(2));
         Pump();
         m_screen->MouseUp(PanelPoint(2));
       },
       "", [&] { EXPECT_EQ(bar->PressedPanel(), bar->Panels()->Items(0)); }},
      {"a double click on the image panel", [&] {
         m_screen->Click(PanelPoint(2));
         m_screen->Click(PanelPoint(2));
       },
       "click 2;dbl 2;click 2;", nullptr},
      {"a click past the last panel hits none", [&] { m_screen->Click(bar->ClientToScreen({300, 10})); }, "", nullptr},
      {"the owner-drawn panel and the image are on screen", [] {}, "",
       [&] {
         const TPoint owner = PanelPoint(1);
         EXPECT_EQ(m_screen->ScreenPixel(owner.X, owner.Y), kOwnerRedPixel);
         const TRect r = bar->GetPanelRect(2), i = bar->GetImageRect(*bar->Panels()->Items(2));
         const TPoint image = bar->ClientToScreen({r.Left + i.Left + 8, r.Top + i.Top + 8});
         EXPECT_EQ(m_screen->ScreenPixel(image.X, image.Y), kImageGreen & 0xFFFFFF);
       }},
      {"a look change marks its panel for the next paint and draws nothing at once",
       [&] {
         draws.clear();
         bar->Panels()->Items(0)->SetStyle(psOwnerDraw);
         EXPECT_TRUE(draws.empty());
         TRect update;
         ASSERT_TRUE(GetUpdateRect(bar->Handle(), &update, false));
         EXPECT_EQ(update, bar->GetPanelRect(0));
       },
       "", [&] {
         const TPoint p = PanelPoint(0);
         EXPECT_EQ(m_screen->ScreenPixel(p.X, p.Y), kOwnerRedPixel);
       }},
      {"the grip's cursor", [&] { m_screen->MouseMove(gripPoint); }, "",
       [&] { EXPECT_EQ(bar->Cursor(), crSizeNWSE); }},
      {"the default cursor away from the grip", [&] { m_screen->MouseMove(PanelPoint(2)); }, "",
       [&] { EXPECT_EQ(bar->Cursor(), crDefault); }},
      {"a press on the grip goes to the skinned window with the pointer's screen position, "
       "the mouse already handed over for its sizing loop",
       [&] { m_screen->Click(gripPoint); }, "",
       [&] {
         ASSERT_EQ(sizing->presses.size(), 1u);
         EXPECT_EQ(sizing->presses[0], MAKELPARAM(gripPoint.X, gripPoint.Y));
         EXPECT_EQ(sizing->captureAtPress[0], nullptr);
       }},
      {"a skinned window that does not size: no grip, no press", [&] {
         skinned->allowsSizing = false;
         m_screen->Click(gripPoint);
       },
       "", [&] {
         EXPECT_FALSE(bar->SizeGripShown());
         EXPECT_EQ(sizing->presses.size(), 1u);
       }},
  };
  for (const Step& s : steps) {
    log.clear();
    s.act();
    Pump();
    EXPECT_EQ(log, s.log) << s.what;
    if (s.check) s.check();
    if (HasFailure()) {
      ADD_FAILURE() << "stopped after: " << s.what;
      break;
    }
  }
}

TEST_F(StatusBarInteractionTest, AnOwnerDrawHandlerChangingItsPanelWaitsForTheNextPaint) {
  int calls = 0;
  bar->OnDrawPanel = [&](TSeCustomStatusBar*, TSeStatusPanel* p, const TRect&) {
    ++calls;
    p->SetText("drawn " + std::to_string(calls));  // a change every time
  };
  bar->Panels()->Items(1)->SetText("start");
  EXPECT_EQ(calls, 0);
  Pump();
  EXPECT_GE(calls, 1);
  EXPECT_LE(calls, 3);

  // A destroyed image list leaves the bar.
  delete images;
  EXPECT_EQ(bar->Images(), nullptr);
  EXPECT_FALSE(bar->PanelShowsImage(*bar->Panels()->Items(2)));
  bar->Repaint();
}

TEST_F(StatusBarInteractionTest, DeletingAPanelReleasesItsControlToTheFront) {
  auto* later = new TButton(form);
  later->SetParent(bar);  // a fifth panel, and the last child
  ASSERT_EQ(bar->Panels()->Count(), 5);
  ASSERT_EQ(bar->Controls(bar->ControlCount() - 1), later);
  bar->Panels()->Delete(3);
  EXPECT_EQ(bar->Panels()->Count(), 4);
  EXPECT_EQ(bar->Controls(bar->ControlCount() - 1), button);  // still a child, now in front
  EXPECT_EQ(bar->Panels()->Items(3)->Control(), later);
  EXPECT_EQ(later->BoundsRect(), bar->GetPanelInnerRect(*bar->Panels()->Items(3)));
  delete button;  // no longer hosted: nothing of the bar refers to it
  EXPECT_EQ(bar->Panels()->Count(), 4);
}

TEST_F(StatusBarInteractionTest, AssignCopiesAPanelAndFindsItsControlByName) {
  TForm* other = NewForm();
  auto* otherBar = new TSeCustomStatusBar(other);
  otherBar->SetParent(other);
  TSeStatusPanel* target = otherBar->Panels()->Add();
  auto* sameName = new TButton(other);
  button->SetName("sbRun");
  sameName->SetName("sbRun");
  TSeStatusPanel* source = bar->Panels()->Items(3);
  source->SetAlignment(taRightJustify);
  source->SetLayout(sglGlyphRight);
  source->SetMargin(5);
  source->SetSpacing(7);
  source->SetMaxWidth(70);
  source->SetFramed(false);
  source->SetViewPriority(60);
  source->SetStretchPriority(20);
  source->SetShowImage(false);
  source->SetText("copy me");
  target->Assign(*source);
  EXPECT_EQ(target->Alignment(), taRightJustify);
  EXPECT_EQ(target->Layout(), sglGlyphRight);
  EXPECT_EQ(target->Margin(), 5);
  EXPECT_EQ(target->Spacing(), 7);
  EXPECT_EQ(target->MaxWidth(), 70);
  EXPECT_EQ(target->Width(), 50);
  EXPECT_FALSE(target->Framed());
  EXPECT_EQ(target->ViewPriority(), 60);
  EXPECT_EQ(target->StretchPriority(), 20);
  EXPECT_FALSE(target->ShowImage());
  EXPECT_EQ(target->Text(), "copy me");
  EXPECT_EQ(target->Control(), sameName);  // the other form's control of that name
  EXPECT_EQ(source->Control(), button);

  // No component of that name: no control. A name that is a parent of the bar: refused whole.
  button->SetName("Lonely");
  target->Assign(*source);
  EXPECT_EQ(target->Control(), nullptr);
  auto* holder = new TSeCustomPanel(other);
  holder->SetParent(other);
  otherBar->SetParent(holder);
  holder->SetName("Lonely");
  source->SetText("changed");
  EXPECT_THROW(target->Assign(*source), EInvalidOperation);
  EXPECT_EQ(target->Text(), "copy me");

  // The whole collection copies too, each panel by the same rules.
  holder->SetName("Holder");
  otherBar->SetPanels(*bar->Panels());
  ASSERT_EQ(otherBar->Panels()->Count(), 4);
  EXPECT_EQ(otherBar->Panels()->Items(1)->Style(), psOwnerDraw);
  EXPECT_EQ(otherBar->Panels()->Items(2)->ImageIndex(), 0);
}

}  // namespace
}  // namespace vandrel::test
