#include "framework/SizeConstraints.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/Paint.h"
#include "tests/skinform/SkinFormTestSupport.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

class FrameTest : public SkinFormTest {
 protected:
  void Press(HWND h, UINT msg, TPoint window) {
    const TRect r = WindowRect(h);
    SendMessage(h, msg, 0, PointToLParam({r.Left + window.X, r.Top + window.Y}));
  }
};

TEST_F(FrameTest, EveryPerformanceModeShowsTheSameFrameAndLeavesTheClientAreaAlone) {
  TForm* form = NewForm();
  TSeSkinForm* skin = ShownSkinForm(form);
  PixelsInEveryPerformanceMode(*skin, form->Handle());
}

TEST_F(FrameTest, TheLeftEdgeStopsAtTheMinimumWidth) {
  struct Case {
    int minWidth, expectedWidth;
  } cases[] = {{0, 150}, {200, 200}};
  for (const Case& c : cases) {
    TForm* form = NewForm();
    TSeSkinForm* skin = ShownSkinForm(form);
    skin->Constraints()->SetMinWidth(c.minWidth);
    HWND h = form->Handle();
    Press(h, WM_NCLBUTTONDOWN, {1, 100});
    Press(h, WM_NCMOUSEMOVE, {1 + 250, 100});
    Press(h, WM_NCLBUTTONUP, {1 + 250, 100});
    const TRect r = WindowRect(h);
    EXPECT_EQ(r.Right, 400) << c.minWidth;
    EXPECT_EQ(r.Width(), c.expectedWidth) << c.minWidth;
    delete form;
  }
}

TEST_F(FrameTest, TheCaptionMovesTheWindowAndTheBordersSizeItUnlessSwitchedOff) {
  TForm* form = NewForm();
  TSeSkinForm* skin = ShownSkinForm(form);
  HWND h = form->Handle();
  const int captionY = GetSystemMetrics(SM_CXFRAME) + 5;
  Press(h, WM_NCLBUTTONDOWN, {150, captionY});
  Press(h, WM_NCMOUSEMOVE, {150 + 60, captionY + 40});
  Press(h, WM_NCLBUTTONUP, {150, captionY});
  EXPECT_EQ(WindowRect(h), (TRect{160, 140, 460, 340}));

  Press(h, WM_NCLBUTTONDOWN, {298, 100});
  Press(h, WM_NCMOUSEMOVE, {298 + 50, 100});
  Press(h, WM_NCLBUTTONUP, {298 + 50, 100});
  EXPECT_EQ(WindowRect(h), (TRect{160, 140, 510, 340}));

  skin->Dragging()->SetSizeable(false);
  skin->Dragging()->SetMoveable(false);
  Press(h, WM_NCLBUTTONDOWN, {348, 100});
  Press(h, WM_NCMOUSEMOVE, {348 + 50, 100});
  Press(h, WM_NCLBUTTONUP, {348 + 50, 100});
  Press(h, WM_NCLBUTTONDOWN, {150, captionY});
  Press(h, WM_NCMOUSEMOVE, {150 + 60, captionY + 40});
  Press(h, WM_NCLBUTTONUP, {150, captionY});
  EXPECT_EQ(WindowRect(h), (TRect{160, 140, 510, 340}));
}

TEST_F(FrameTest, DoubleClickingTheCaptionMaximizesAndRestores) {
  TForm* form = NewForm();
  TSeSkinForm* skin = ShownSkinForm(form);
  HWND h = form->Handle();
  const int captionY = GetSystemMetrics(SM_CXFRAME) + 5;
  Press(h, WM_NCLBUTTONDBLCLK, {150, captionY});
  EXPECT_EQ(skin->WindowState(), kwsMaximized);
  EXPECT_EQ(WindowRect(h), (TRect{0, 0, 800, 600}));
  Press(h, WM_NCLBUTTONDBLCLK, {150, captionY});
  EXPECT_EQ(skin->WindowState(), kwsNormal);
  EXPECT_EQ(WindowRect(h), (TRect{100, 100, 400, 300}));
  skin->SetBorderIcons({kbiClose, kbiSystemMenu});
  Press(h, WM_NCLBUTTONDBLCLK, {150, captionY});
  EXPECT_EQ(skin->WindowState(), kwsNormal);
}

}  // namespace
