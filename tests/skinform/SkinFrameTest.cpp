// The skinned frame: geometry, hit areas, shape and painting taken from the skin's form object.
#include "framework/SizeConstraints.h"
#include "framework/Timer.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/RegionApi.h"
#include "platform/gdi/Surface.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "skin/SkinEngine.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"
#include "tests/skinform/SkinFormTestSupport.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

TSeSkinObject* Add(TSeSkinObject& parent, const char* name, TSeKind kind, TSeAlign align, TRect bounds) {
  auto* object = new TSeSkinObject(nullptr);
  object->SetName(name);
  object->SetKind(kind);
  object->SetAlign(align);
  object->SetBounds(bounds);
  parent.InsertComponent(object);
  return object;
}

// A form object with a caption `caption` pixels high whose end pieces are 10 pixels wide, borders
// `border` pixels wide, a client object filling the rest and a 20 x 20 system button at (8, 8)
// placed after the caption.
TSeSkinEngine* NewFrameEngine(TComponent* owner, int caption = 29, int border = 5) {
  auto* engine = new TSeSkinEngine(owner);
  auto form = std::make_unique<TSeSkinObject>(nullptr);
  form->SetName("Form");
  form->SetKind(skForm);
  form->SetBounds({0, 0, 300, 200});
  TSeSkinObject* top = Add(*form, "Caption", skCaption, saTop, {0, 0, 300, caption});
  Add(*top, "CaptionLeft", skTopLeft, saLeft, {0, 0, 10, caption});
  Add(*top, "CaptionRight", skTopRight, saRight, {290, 0, 300, caption});
  TSeSkinObject* title = Add(*top, "Title", skTitle, saClient, {10, 0, 290, caption});
  Add(*title, "TitleTop", skTop, saTop, {10, 0, 290, border});
  TSeSkinObject* bottom = Add(*form, "Bottom", skBottom, saBottom, {0, 200 - border, 300, 200});
  Add(*bottom, "BottomLeft", skBottomLeft, saLeft, {0, 200 - border, border, 200});
  Add(*bottom, "BottomRight", skBottomRight, saRight, {300 - border, 200 - border, 300, 200});
  Add(*form, "Left", skLeft, saLeft, {0, caption, border, 200 - border});
  Add(*form, "Right", skRight, saRight, {300 - border, caption, 300, 200 - border});
  Add(*form, "Client", skClient, saClient, {border, caption, 300 - border, 200 - border});
  Add(*form, "SysMenu", skSysButton, saNone, {8, 8, 28, 28});
  engine->SkinSource().AddObject(std::move(form));
  return engine;
}

class SkinFrameTest : public SkinFormTest {};

TEST_F(SkinFrameTest, TheFormObjectGivesTheClientAreaAndEveryHitArea) {
  TForm* form = NewForm();
  TSeSkinForm* skin = ShownSkinForm(form, NewFrameEngine(form));
  ASSERT_TRUE(skin->Skinned());
  for (TSize size : {TSize{300, 200}, TSize{420, 260}}) {
    form->SetBounds(form->Left(), form->Top(), size.cx, size.cy);
    Pump();
    const int w = size.cx, h = size.cy;
    SCOPED_TRACE(w);
    EXPECT_EQ(skin->GetClientArea(), (TRect{5, 29, w - 5, h - 5}));
    EXPECT_EQ(form->ClientWidth(), w - 10);
    EXPECT_EQ(form->ClientHeight(), h - 34);
    const struct {
      TPoint p;
      TSeFrameHitArea area;
    } cases[] = {
        {{3, 15}, haTopLeft},  {{100, 2}, haTop},       {{100, 15}, haCaption}, {{15, 15}, haSkinButton},
        {{w - 2, 100}, haRight}, {{2, h - 2}, haBottomLeft}, {{100, h - 2}, haBottom}, {{100, 100}, haNone},
        {{w - 3, 15}, haTopRight}, {{w - 2, h - 2}, haBottomRight}, {{2, 100}, haLeft},
    };
    for (const auto& c : cases) EXPECT_EQ(skin->HitTest(c.p.X, c.p.Y), c.area) << c.p.X << "," << c.p.Y;
    EXPECT_TRUE(skin->GetButtonRect(kbiClose).IsEmpty());
  }
}

TEST_F(SkinFrameTest, ACaptionDragAndASkinnedBorderMoveAndSizeTheWindow) {
  TForm* form = NewForm();
  ShownSkinForm(form, NewFrameEngine(form));
  HWND h = form->Handle();
  auto drag = [&](TPoint from, TPoint by) {
    const TRect r = WindowRect(h);
    SendMessage(h, WM_NCLBUTTONDOWN, HTCAPTION, PointToLParam({r.Left + from.X, r.Top + from.Y}));
    SendMessage(h, WM_NCMOUSEMOVE, 0, PointToLParam({r.Left + from.X + by.X, r.Top + from.Y + by.Y}));
    SendMessage(h, WM_NCLBUTTONUP, 0, PointToLParam({r.Left + from.X + by.X, r.Top + from.Y + by.Y}));
  };
  const TRect start = WindowRect(h);
  drag({100, 15}, {60, 40});
  TRect expected = start;
  expected = {start.Left + 60, start.Top + 40, start.Right + 60, start.Bottom + 40};
  EXPECT_EQ(WindowRect(h), expected);
  drag({start.Width() - 2, 100}, {50, 0});
  expected.Right += 50;
  EXPECT_EQ(WindowRect(h), expected);
}

TEST_F(SkinFrameTest, AThickerSkinGrowsTheWindowAndKeepsTheClientSize) {
  TForm* form = NewForm();
  TSeSkinForm* skin = ShownSkinForm(form, NewFrameEngine(form));
  const int clientWidth = form->ClientWidth(), clientHeight = form->ClientHeight();
  const TRect before = WindowRect(form->Handle());
  skin->SetSkinEngine(NewFrameEngine(form, 35, 8));
  Pump();
  EXPECT_EQ(skin->GetClientArea().TopLeft(), (TPoint{8, 35}));
  EXPECT_EQ(form->ClientWidth(), clientWidth);
  EXPECT_EQ(form->ClientHeight(), clientHeight);
  const TRect after = WindowRect(form->Handle());
  EXPECT_EQ(after.Width(), before.Width() + 6);
  EXPECT_EQ(after.Height(), before.Height() + 9);
}

TEST_F(SkinFrameTest, AFormObjectOfNoSizeLeavesTheUnskinnedFrame) {
  TForm* form = NewForm();
  auto* engine = new TSeSkinEngine(form);
  auto object = std::make_unique<TSeSkinObject>(nullptr);
  object->SetName("Form");
  object->SetKind(skForm);
  engine->SkinSource().AddObject(std::move(object));
  TSeSkinForm* skin = ShownSkinForm(form, engine);
  EXPECT_FALSE(skin->Skinned());
  EXPECT_EQ(WindowRect(form->Handle()).Width(), 300);
  EXPECT_FALSE(skin->GetButtonRect(kbiClose).IsEmpty());
}

class SteelFrameTest : public SkinFrameTest {
 protected:
  void SetUp() override {
    SkinFrameTest::SetUp();
    m_form = NewForm();
    auto* engine = new TSeSkinEngine(m_form);
    engine->SetSkinFile(VANDREL_STEEL_SKIN);
    m_skin = ShownSkinForm(m_form, engine);
    ASSERT_TRUE(m_skin->Skinned());
    // The main window's size.
    m_form->SetBounds(100, 100, 392, 570);
    Pump();
  }
  TForm* m_form = nullptr;
  TSeSkinForm* m_skin = nullptr;
};

TEST_F(SteelFrameTest, EveryPerformanceModeShowsTheSameSkinnedFrameAndLeavesTheClientAreaAlone) {
  HWND h = m_form->Handle();
  const TRect client = m_skin->GetClientArea();
  EXPECT_EQ(client, (TRect{5, 29, 387, 565}));
  const std::vector<std::uint32_t> first = PixelsInEveryPerformanceMode(*m_skin, h);
  // The caption band is the skin's, never the fill that stands behind it.
  for (int x = 10; x < 380; x += 37) EXPECT_NE(first[size_t(14 * 392 + x)], 0xFF0000u) << x;
}

TEST_F(SteelFrameTest, TheRoundedCornersAreOutsideTheWindowsShape) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(m_form->Handle(), region), RGN_ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 391, 0));
  EXPECT_TRUE(PtInRegion(region, 20, 1));
  EXPECT_TRUE(PtInRegion(region, 0, 569));
  EXPECT_TRUE(PtInRegion(region, 200, 300));
  DeleteObject(region);
}

TEST_F(SteelFrameTest, TheSkinsCaptionButtonsShowHotAndPressedAndAct) {
  HWND h = m_form->Handle();
  SetActiveWindow(h);
  Pump();
  // The close button of the Steel frame sits at the caption's right end.
  TPoint close{-1, -1};
  for (int x = 391; x > 300 && close.X < 0; --x)
    if (m_skin->HitTest(x, 14) == haSkinButton) close = {x - 8, 14};
  ASSERT_GE(close.X, 0);
  const TRect r = WindowRect(h);
  const auto before = ShownPixels(h);
  InjectMouseMove({r.Left + close.X, r.Top + close.Y});
  Pump();
  m_skin->HoverTimer()->OnTimer(m_skin->HoverTimer());
  Pump();
  const auto hot = ShownPixels(h);
  EXPECT_NE(hot, before);
  bool closing = false;
  m_skin->OnClose = [&](TPersistent*, bool& callDefault) {
    closing = true;
    callDefault = false;
  };
  const LPARAM at = PointToLParam({r.Left + close.X, r.Top + close.Y});
  SendMessage(h, WM_NCLBUTTONDOWN, HTBORDER, at);
  Pump();
  EXPECT_NE(ShownPixels(h), hot);
  EXPECT_FALSE(closing);
  SendMessage(h, WM_NCLBUTTONUP, HTBORDER, at);
  Pump();
  EXPECT_TRUE(closing);
}

TEST_F(SteelFrameTest, ARightClickOnTheCaptionAsksForTheSystemMenuThere) {
  struct TMenuForm : TSeSkinForm {
    using TSeSkinForm::TSeSkinForm;
    using TSeSkinForm::ShowSystemMenu;
    void ShowSystemMenu(const TPoint& at) override { asked = at; }
    TPoint asked{-1, -1};
  };
  TForm* form = NewForm();
  TLoadingScope loading(form);
  auto* skin = loading.Create<TMenuForm>();
  auto* engine = new TSeSkinEngine(form);
  engine->SetSkinFile(VANDREL_STEEL_SKIN);
  skin->SetSkinEngine(engine);
  loading.End();
  ShowWindow(form->Handle(), SW_SHOW);
  Pump();
  const TRect r = WindowRect(form->Handle());
  const LPARAM at = PointToLParam({r.Left + 120, r.Top + 14});
  SendMessage(form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, at);
  SendMessage(form->Handle(), WM_NCRBUTTONUP, HTCAPTION, at);
  EXPECT_EQ(skin->asked, (TPoint{r.Left + 120, r.Top + 14}));
}

}  // namespace
