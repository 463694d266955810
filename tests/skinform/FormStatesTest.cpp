// The skinned window's own window states: the bounds each operation gives the owner form and the
// bounds it comes back to.
#include <gtest/gtest.h>

#include "SkinFormTestSupport.h"

namespace vandrel::test {
namespace {

class FormStatesTest : public SkinFormTest {
 protected:
  static TRect WindowRect(HWND h) {
    TRect r;
    GetWindowRect(h, r);
    return r;
  }
};

TEST_F(FormStatesTest, RollingUpKeepsOnlyTheFrameAndUnrollsWhereTheWindowWasDragged) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  HWND h = form->Handle();
  const TRect client = skin->GetClientArea();
  const int rolled = client.Top + skin->FrameSize().cy - client.Bottom;
  ASSERT_GT(rolled, 0);
  ASSERT_LT(rolled, 200);

  skin->Rollup();
  EXPECT_EQ(skin->WindowState(), kwsRollup);
  EXPECT_EQ(WindowRect(h), (TRect{100, 100, 400, 100 + rolled}));

  form->SetBounds(150, 40, 300, rolled);  // dragged by its caption
  skin->Rollup();                         // a second roll-up unrolls
  EXPECT_EQ(skin->WindowState(), kwsNormal);
  EXPECT_EQ(WindowRect(h), (TRect{150, 40, 450, 240}));
}

TEST_F(FormStatesTest, AWindowRolledUpFromMaximizedComesBackMaximizedAndThenToItsNormalBounds) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  HWND h = form->Handle();
  skin->Maximize();
  ASSERT_EQ(WindowRect(h), (TRect{0, 0, 800, 600}));
  skin->Rollup();
  EXPECT_EQ(skin->WindowState(), kwsRollup);
  EXPECT_EQ(WindowRect(h).Width(), 800);
  EXPECT_LT(WindowRect(h).Height(), 600);
  skin->Restore();
  EXPECT_EQ(skin->WindowState(), kwsMaximized);
  EXPECT_EQ(WindowRect(h), (TRect{0, 0, 800, 600}));
  skin->Restore();
  EXPECT_EQ(skin->WindowState(), kwsNormal);
  EXPECT_EQ(WindowRect(h), (TRect{100, 100, 400, 300}));
}

TEST_F(FormStatesTest, OnRollupCancelsTheRollUp) {
  TForm* form = NewForm();
  TSeSkinForm* skin = NewSkinForm(form);
  skin->OnRollup = [](TPersistent*, bool& callDefault) { callDefault = false; };
  skin->Rollup();
  EXPECT_EQ(skin->WindowState(), kwsNormal);
  EXPECT_EQ(WindowRect(form->Handle()), (TRect{100, 100, 400, 300}));
}

}  // namespace
}  // namespace vandrel::test
