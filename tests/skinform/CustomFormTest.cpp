#include "framework/PropertyInfo.h"
#include "framework/Timer.h"
#include "graphics/Bitmap.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/Paint.h"
#include "skin/SkinEngine.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"
#include "skin/SkinMessages.h"
#include "tests/skinform/SkinFormTestSupport.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

// An engine whose skin holds the named top-level objects (the first of kind skForm).
TSeSkinEngine* NewEngine(TComponent* owner, std::initializer_list<const char*> names = {"Form", "ToolWindow"}) {
  auto* engine = new TSeSkinEngine(owner);
  bool first = true;
  for (const char* name : names) {
    auto object = std::make_unique<TSeSkinObject>(nullptr);
    object->SetName(name);
    object->SetKind(first ? skForm : skNone);
    object->SetBounds({0, 0, 300, 200});
    auto client = std::make_unique<TSeSkinObject>(nullptr);
    client->SetName("Client");
    client->SetKind(skClient);
    object->InsertComponent(client.release());
    first = false;
    engine->SkinSource().AddObject(std::move(object));
  }
  return engine;
}

class CustomFormTest : public SkinFormTest {
 protected:
  static int F() { return GetSystemMetrics(SM_CXFRAME); }
  static int Caption() { return GetSystemMetrics(SM_CYCAPTION); }
  LRESULT HitAt(HWND h, int x, int y) {
    const TRect r = WindowRect(h);
    return SendMessage(h, WM_NCHITTEST, 0, PointToLParam({r.Left + x, r.Top + y}));
  }
};

TEST_F(CustomFormTest, TheFormTakesItsLookFromTheOwnerAndGivesUpItsOwnFrame) {
  struct Case {
    TFormBorderStyle border;
    TBorderIcons icons;
    TSeBorderStyle style;
    TSeBorderIcons expected;
  } cases[] = {
      {bsSizeable, {biSystemMenu, biMinimize, biMaximize}, kbsStandard, {kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize}},
      {bsNone, {biSystemMenu}, kbsNone, {kbiClose, kbiSystemMenu}},
      {bsToolWindow, {biMinimize, biHelp}, kbsToolWindow, {kbiClose, kbiMinimize, kbiHelp}},
      {bsDialog, {}, kbsStandard, {kbiClose}},
  };
  for (const Case& c : cases) {
    TForm* form = NewForm(c.border);
    form->SetBorderIcons(c.icons);
    TSeSkinForm* skin = NewSkinForm(form);
    EXPECT_EQ(skin->BorderStyle(), c.style);
    EXPECT_EQ(skin->BorderIcons(), c.expected);
    EXPECT_EQ(form->BorderStyle(), bsSizeable);
    EXPECT_EQ(skin->Caption(), "Form");
    delete form;
  }
}

TEST_F(CustomFormTest, TheClientAreaLiesInsideTheUnskinnedFrame) {
  TForm* form = NewForm();
  NewSkinForm(form);
  const TRect client = form->ClientRect();
  EXPECT_EQ(client.Width(), 300 - 2 * F());
  EXPECT_EQ(client.Height(), 200 - 2 * F() - Caption());
  TPoint origin{0, 0};
  ClientToScreen(form->Handle(), origin);
  EXPECT_EQ(origin, (TPoint{100 + F(), 100 + F() + Caption()}));
}

TEST_F(CustomFormTest, CornersReachTwentyPixelsAlongEachEdge) {
  TForm* form = NewForm();
  form->SetBounds(100, 100, 300, 200);
  TSeSkinForm* skin = NewSkinForm(form);
  HWND h = form->Handle();
  struct Case {
    int x, y;
    LRESULT expected;
  } cases[] = {
      {19, 1, HTTOPLEFT}, {20, 1, HTTOP}, {280, 1, HTTOP}, {281, 1, HTTOPRIGHT},
      {1, 19, HTTOPLEFT}, {1, 20, HTLEFT}, {1, 180, HTLEFT}, {1, 181, HTBOTTOMLEFT},
      {298, 100, HTRIGHT}, {150, 198, HTBOTTOM}, {298, 198, HTBOTTOMRIGHT},
      {150, F() + 5, HTCAPTION}, {150, 100, HTCLIENT},
  };
  for (const Case& c : cases) EXPECT_EQ(HitAt(h, c.x, c.y), c.expected) << c.x << "," << c.y;

  skin->Dragging()->SetSizeable(false);
  EXPECT_EQ(HitAt(h, 1, 100), HTCLIENT);
  EXPECT_EQ(HitAt(h, 150, F() + 5), HTCAPTION);
  skin->Dragging()->SetMoveable(false);
  EXPECT_EQ(HitAt(h, 150, F() + 5), HTCLIENT);
}

TEST_F(CustomFormTest, ALoadedMaximizedFormWaitsBelowTheScreenUntilTheStateIsApplied) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form, [](TSeSkinForm& s) { s.SetWindowState(kwsMaximized); });
  HWND h = form->Handle();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(WindowRect(h), (TRect{0, 600, 300, 800}));
  EXPECT_EQ(skin->WindowState(), kwsNormal);
  Pump();
  EXPECT_EQ(skin->WindowState(), kwsMaximized);
  EXPECT_EQ(WindowRect(h), (TRect{0, 0, 800, 600}));
  // A maximized window cannot be sized by its borders.
  EXPECT_EQ(HitAt(h, 1, 100), HTCLIENT);
  skin->Restore();
  EXPECT_EQ(WindowRect(h), (TRect{100, 100, 400, 300}));
}

TEST_F(CustomFormTest, ACaptionSetOnTheFormIsNoticedWhenTheTextIsRead) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  HWND h = form->Handle();
  form->SetCaption("New caption");
  EXPECT_EQ(GetWindowText(h), "New caption");
  EXPECT_EQ(skin->Caption(), "New caption");

  // Text changed beneath the form: the changed text stays in the buffer, the reader is told
  // nothing was copied, and the caption is taken off until the refresh puts it back.
  const std::string text = "Beneath";
  CallWindowProc(DefWindowProcObject(), h, WM_SETTEXT, 0, LPARAM(text.c_str()));
  char buffer[64] = {};
  EXPECT_EQ(SendMessage(h, WM_GETTEXT, sizeof buffer, LPARAM(buffer)), 0);
  EXPECT_STREQ(buffer, "Beneath");
  EXPECT_EQ(skin->Caption(), "Beneath");
  EXPECT_EQ(GetWindowLong(h, GWL_STYLE) & WS_CAPTION, 0);
  Pump();
  EXPECT_EQ(GetWindowLong(h, GWL_STYLE) & WS_CAPTION, LONG(WS_CAPTION));
  // An unchanged text keeps the form's answer.
  EXPECT_EQ(SendMessage(h, WM_GETTEXT, sizeof buffer, LPARAM(buffer)), LRESULT(text.size()));

  skin->SetCaption("From the component");
  EXPECT_EQ(form->Caption(), "From the component");
  EXPECT_EQ(GetWindowText(h), "From the component");
}

TEST_F(CustomFormTest, TheSkinObjectFallsBackToTheFormObject) {
  struct Case {
    const char* skinObject;
    const char* copied;
  } cases[] = {{"Form", "Form"}, {"ToolWindow", "ToolWindow"}, {"NoSuchObject", "Form"}};
  for (const Case& c : cases) {
    TForm* form = NewForm();
    TSeSkinEngine* engine = NewEngine(form);
    TSeSkinForm* skin = NewSkinForm(form, [&](TSeSkinForm& s) {
      s.SetSkinObject(c.skinObject);
      s.SetSkinEngine(engine);
    });
    ASSERT_TRUE(skin->Skinned());
    ASSERT_NE(skin->FormSkin(), nullptr);
    EXPECT_EQ(skin->FormSkin()->Name(), c.copied) << c.skinObject;
    ASSERT_NE(skin->ClientObject(), nullptr);
    EXPECT_EQ(skin->ClientObject()->Name(), "Client");
    delete form;
  }
}

TEST_F(CustomFormTest, ASkinChangeFreesTheCopyAndBindsAgain) {
  TForm* form = NewForm();
  TSeSkinEngine* engine = NewEngine(form);
  TSeSkinForm* skin = NewSkinForm(form, [&](TSeSkinForm& s) { s.SetSkinEngine(engine); });
  ASSERT_NE(skin->FormSkin(), nullptr);
  BroadcastSkinChange(*form, scChanging, *engine);
  EXPECT_EQ(skin->FormSkin(), nullptr);
  EXPECT_FALSE(skin->HoverTimer()->Enabled());
  BroadcastSkinChange(*form, scChanged, *engine);
  EXPECT_NE(skin->FormSkin(), nullptr);
  EXPECT_TRUE(skin->HoverTimer()->Enabled());
  // An engine busy replacing its skin leaves the form unskinned.
  engine->SkinSource().SetBusy(true);
  skin->SetSkinEngine(engine);
  EXPECT_FALSE(skin->Skinned());
  EXPECT_EQ(form->Color(), clBtnFace);
  engine->SkinSource().SetBusy(false);
  delete engine;
  EXPECT_EQ(skin->SkinEngine(), nullptr);
}

TEST_F(CustomFormTest, VersionIsFixedAndNeverStored) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  EXPECT_EQ(skin->Version(), "3.4.7");
  skin->SetVersion("9.9");
  EXPECT_EQ(skin->Version(), "3.4.7");
  const TPropertyInfo* version = skin->ClassInfo().FindProperty("Version");
  ASSERT_NE(version, nullptr);
  EXPECT_FALSE(version->IsStored(*skin));
}

TEST_F(CustomFormTest, TheFormAnswersTheQueriesOfItsControls) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  HWND h = form->Handle();
  EXPECT_EQ(QueryOwnerForm(h), static_cast<ISeSkinnedWindow*>(skin));
  EXPECT_EQ(ActiveSkinnedWindow(*form), static_cast<ISeSkinnedWindow*>(skin));
  // The paint-frame request paints into the given context and ignores a missing one.
  EXPECT_EQ(SendMessage(h, SE_PAINTFRAME, 0, 0), 0);
  TseBitmap picture;
  picture.SetSize(300, 200);
  picture.Fill(0xFF00FF00);
  EXPECT_EQ(SendMessage(h, SE_PAINTFRAME, 0, LPARAM(picture.DC().Value())), 1);
  EXPECT_NE(picture.Pixel(0, 0), 0xFF00FF00u);
  EXPECT_NE(picture.Pixel(150, 100), 0xFF00FF00u);
}

TEST_F(CustomFormTest, StayOnTopTakesEffectAtOnce) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  HWND h = form->Handle();
  skin->SetStayOnTop(true);
  EXPECT_NE(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  skin->SetStayOnTop(false);
  EXPECT_EQ(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(CustomFormTest, AFormFreedByItsCloseHandlerLeavesNothingBehind) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  HWND h = form->Handle();
  ShowWindow(h, SW_SHOW);
  skin->OnClose = [&](TPersistent*, bool&) { delete form; };
  const TRect close = skin->GetButtonRect(kbiClose);
  ASSERT_FALSE(close.IsEmpty());
  const TRect r = WindowRect(h);
  const LPARAM at = PointToLParam({r.Left + close.Left + 2, r.Top + close.Top + 2});
  SendMessage(h, WM_NCLBUTTONDOWN, HTCLOSE, at);
  SendMessage(h, WM_NCLBUTTONUP, HTCLOSE, at);
  EXPECT_FALSE(IsWindow(h));
  Pump();
}

}  // namespace
