// The skinned-control bases: option rules, the content rectangle, the frame in every buffering
// mode, see-through painting down a chain of controls and through a skinned window, translucency
// over the parent and its windowless children, hot and focused tracking through real input, and
// the size painting uses during a resize.
#include <gtest/gtest.h>

#include <vector>

#include "SkinControlsTestSupport.h"
#include "framework/PropertyInfo.h"
#include "graphics/BackgroundRequest.h"
#include "graphics/SharedPaintBuffer.h"
#include "skincontrols/CustomControl.h"
#include "skincontrols/GraphicControl.h"
#include "platform/core/Exception.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowStyles.h"

namespace vandrel::test {
namespace {

constexpr TColor kRed = TColor(RGB(255, 0, 0));
constexpr TColor kGreen = TColor(RGB(0, 255, 0));
constexpr COLORREF kBlueRGB = RGB(0, 0, 255);

class TCountingControl : public TSeCustomControl {
 public:
  using TSeCustomControl::TSeCustomControl;
  int borderChanges = 0;
  using TSeCustomControl::CreateParams;

 protected:
  void BorderChanged() override { ++borderChanges; }
};

TEST_F(SkinControlsTest, ConstructionDefaultsAndPublishedOptions) {
  TSeCustomControl c(nullptr);
  EXPECT_EQ(c.BoundsRect(), Bounds(0, 0, 100, 30));
  EXPECT_EQ(c.Color(), clBtnFace);
  EXPECT_TRUE(c.ControlStyle().Contains(csOpaque));
  EXPECT_EQ(c.Performance(), kspNoBuffer);
  EXPECT_FALSE(c.Transparent());
  EXPECT_EQ(c.BevelInner(), kbvLowered);
  EXPECT_EQ(c.BevelOuter(), kbvLowered);
  EXPECT_EQ(c.BevelSides(), kAllBevelSides);
  EXPECT_EQ(c.BevelKind(), kbkNone);
  EXPECT_EQ(c.BevelWidth(), 0);
  EXPECT_EQ(c.BorderWidth(), 0);
  EXPECT_FALSE(c.Blending()->Enabled());
  EXPECT_EQ(c.Blending()->Value(), 150);
  EXPECT_EQ(c.ClientRect(), Rect(0, 0, 100, 30));

  TCreateParams params;
  params.Style = WS_CHILD | WS_HSCROLL | WS_VSCROLL;
  TCountingControl counting(nullptr);
  counting.CreateParams(params);
  EXPECT_EQ(params.Style & (WS_HSCROLL | WS_VSCROLL), 0u);

  // Performance and Transparent have no default, so they are always stored.
  const TClassInfo& info = TSeCustomControl::StaticClassInfo();
  for (const char* name : {"Performance", "Transparent"}) {
    const TPropertyInfo* p = info.FindProperty(name);
    ASSERT_NE(p, nullptr) << name;
    EXPECT_FALSE(p->defaultValue.has_value()) << name;
  }
  ASSERT_NE(info.FindProperty("Blending"), nullptr);
  ASSERT_NE(TSeGraphicControl::StaticClassInfo().FindProperty("Performance"), nullptr);
}

TEST_F(SkinControlsTest, BlendingOptionLimitsAndReportsOnlyRealChanges) {
  int changes = 0;
  TSeBlending b([&] { ++changes; });
  b.SetValue(-5);
  EXPECT_EQ(b.Value(), 0);
  b.SetValue(300);
  EXPECT_EQ(b.Value(), 255);
  b.SetValue(255);
  b.SetEnabled(false);
  EXPECT_EQ(changes, 2);
  TSeBlending other;
  other.SetEnabled(true);
  other.SetValue(7);
  b.Assign(other);
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(b.Value(), 7);
  TFont font;
  EXPECT_THROW(b.Assign(font), Exception);
}

TEST_F(SkinControlsTest, BlendingNeedsABuffer) {
  for (bool graphic : {false, true}) {
    SCOPED_TRACE(graphic ? "graphic" : "windowed");
    TSeCustomControl wc(nullptr);
    TSeGraphicControl gc(nullptr);
    auto perf = [&] { return graphic ? gc.Performance() : wc.Performance(); };
    auto setPerf = [&](TSePerformance p) { graphic ? gc.SetPerformance(p) : wc.SetPerformance(p); };
    TSeBlending* own = graphic ? gc.Blending() : wc.Blending();

    own->SetEnabled(true);  // the owned option reports its own change
    EXPECT_EQ(perf(), kspDoubleBuffer);
    setPerf(kspNoBuffer);
    EXPECT_EQ(perf(), kspDoubleBuffer);  // refused
    setPerf(kspSharedBuffer);
    EXPECT_EQ(perf(), kspSharedBuffer);
    own->SetEnabled(false);
    setPerf(kspNoBuffer);
    EXPECT_EQ(perf(), kspNoBuffer);

    TSeBlending on;
    on.SetEnabled(true);
    on.SetValue(90);
    graphic ? gc.SetBlending(on) : wc.SetBlending(on);
    EXPECT_EQ(perf(), kspDoubleBuffer);
    EXPECT_EQ(own->Value(), 90);
  }
}

TEST_F(SkinControlsTest, BevelKindPresetsAndCutsTurnTheKindOff) {
  TCountingControl c(nullptr);
  c.SetBevelKind(kbkFlat);
  EXPECT_EQ(c.BevelInner(), kbvFlatBorder);
  EXPECT_EQ(c.BevelOuter(), kbvFlatBorder);
  c.SetBevelOuter(kbvRaised);
  EXPECT_EQ(c.BevelKind(), kbkNone);
  EXPECT_EQ(c.BevelInner(), kbvFlatBorder);
  EXPECT_EQ(c.BevelOuter(), kbvRaised);
  c.SetBevelKind(kbkBorder);
  EXPECT_EQ(c.BevelInner(), kbvBorder);
  c.SetBevelKind(kbkSoft);
  EXPECT_EQ(c.BevelOuter(), kbvLowered);
  c.SetBevelKind(kbkNone);  // leaves the cuts
  EXPECT_EQ(c.BevelOuter(), kbvLowered);
  int before = c.borderChanges;
  c.SetBevelWidth(0);  // unchanged: nothing
  c.SetBorderWidth(0);
  c.SetBevelSides(kAllBevelSides);
  EXPECT_EQ(c.borderChanges, before);
  c.SetBorderWidth(1);
  c.SetBevelSides({kbsTop});
  c.SetBevelWidth(2);
  EXPECT_EQ(c.borderChanges, before + 3);
}

TEST_F(SkinControlsTest, ContentRectangleLeavesRoomForBordersAndBevels) {
  struct Case {
    int border, bevel;
    TSeBevelCut inner, outer;
    TSeBevelSides sides;
    TRect content;
  };
  const Case cases[] = {
      {2, 1, kbvLowered, kbvRaised, {kbsLeft, kbsTop}, {4, 4, 98, 28}},
      {0, 0, kbvLowered, kbvLowered, kAllBevelSides, {0, 0, 100, 30}},
      {0, 3, kbvNone, kbvRaised, kAllBevelSides, {3, 3, 97, 27}},
      {0, 3, kbvNone, kbvNone, kAllBevelSides, {0, 0, 100, 30}},
      {1, 2, kbvSpace, kbvBorder, {kbsRight, kbsBottom}, {1, 1, 95, 25}},
  };
  for (const Case& k : cases) {
    TSeCustomControl c(nullptr);
    c.SetBorderWidth(k.border);
    c.SetBevelWidth(k.bevel);
    c.SetBevelInner(k.inner);
    c.SetBevelOuter(k.outer);
    c.SetBevelSides(k.sides);
    EXPECT_EQ(c.ClientRect(), k.content);
  }
}

// A 10 x 6 control: a raised one-pixel bevel, one border ring and the client, all red inside.
TEST_F(SkinControlsTest, FrameIsTheSameInEveryBufferingMode) {
  const COLORREF hi = ColorToRGB(clBtnHighlight), dk = ColorToRGB(cl3DDkShadow);
  for (TSePerformance mode : {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}) {
    SCOPED_TRACE(int(mode));
    TSeCustomControl c(nullptr);
    c.SetBounds(0, 0, 10, 6);
    c.SetColor(kRed);
    c.SetBevelWidth(1);
    c.SetBevelOuter(kbvRaised);
    c.SetBevelInner(kbvNone);
    c.SetBorderWidth(1);
    c.SetPerformance(mode);
    auto b = Painted(c);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(At(*b, x, 0), hi) << x;
    EXPECT_EQ(At(*b, 9, 0), dk);  // the right edge is drawn last
    for (int x = 0; x < 10; ++x) EXPECT_EQ(At(*b, x, 5), dk) << x;
    for (int y = 1; y < 5; ++y) {
      EXPECT_EQ(At(*b, 0, y), hi);
      EXPECT_EQ(At(*b, 9, y), dk);
      for (int x = 1; x < 9; ++x) EXPECT_EQ(At(*b, x, y), RGB(255, 0, 0)) << x << "," << y;
    }
  }
  EXPECT_TRUE(SharedPaintBufferAllocated());
  EXPECT_EQ(SharedPaintBuffer().Width(), 800 + 500);
  EXPECT_EQ(SharedPaintBuffer().Height(), 600 + 500);
}

TEST_F(SkinControlsTest, NothingIsPaintedWithoutSizeAndAFailedBufferRaises) {
  TSeCustomControl c(nullptr);
  c.SetBounds(0, 0, 0, 6);
  c.SetColor(kRed);
  c.SetPerformance(kspDoubleBuffer);
  TseBitmap b;
  b.SetSize(4, 4);
  b.Fill(0xFF00FF00);
  c.PaintTo(b.DC(), 0, 0);
  EXPECT_EQ(b.Pixel(0, 0), 0xFF00FF00u);

  c.SetBounds(0, 0, 100000, 100000);
  EXPECT_THROW(c.PaintTo(b.DC(), 0, 0), Exception);
  c.SetBounds(0, 0, 4, 4);  // the control paints again afterwards
  c.PaintTo(b.DC(), 0, 0);
  EXPECT_EQ(ColorFromPixel(b.Pixel(1, 1)), RGB(255, 0, 0));
}

// A see-through control inside a see-through control: both show what the form paints, and a
// see-through control over an opaque one shows that one's frame.
TEST_F(SkinControlsTest, SeeThroughChainShowsTheFormAndTheParentsLook) {
  for (TSePerformance mode : {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}) {
    SCOPED_TRACE(int(mode));
    TForm* form = NewForm();
    auto* outer = new TSeCustomControl(form);
    outer->SetParent(form);
    outer->SetBounds(10, 10, 60, 40);
    outer->SetTransparent(true);
    outer->SetPerformance(mode);
    auto* inner = new TSeCustomControl(form);
    inner->SetParent(outer);
    inner->SetBounds(5, 5, 20, 10);
    inner->SetTransparent(true);
    inner->SetPerformance(mode);
    auto b = Painted(*inner);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_EQ(At(*b, x, y), kBlueRGB) << x << "," << y;

    outer->SetTransparent(false);
    outer->SetColor(kGreen);
    outer->SetBevelWidth(1);
    outer->SetBevelOuter(kbvRaised);
    outer->SetBevelInner(kbvNone);
    inner->SetBounds(0, 0, 20, 10);
    b = Painted(*inner);
    EXPECT_EQ(At(*b, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(*b, 5, 5), RGB(0, 255, 0));
    delete form;
  }
}

TEST_F(SkinControlsTest, UnbufferedSeeThroughAsksTheFormsSkinnedWindowClippedToTheControl) {
  TForm* form = NewForm();
  auto* c = new TSeCustomControl(form);
  c->SetParent(form);
  c->SetBounds(30, 20, 16, 8);
  c->SetTransparent(true);
  std::vector<TRect> asked;
  auto* skinned = new TSkinnedWindowStandIn(form);
  skinned->background = [&](TMessage& m) {
    const TSeBackgroundRequest* r = BackgroundRequestOf(m);
    EXPECT_TRUE(r && r->Whole);
    asked.push_back(r ? r->Bounds : TRect{});
    HDC dc = HdcFromWParam(m.WParam);
    HBRUSH brush = CreateSolidBrush(RGB(9, 8, 7));
    FillRect(dc, {0, 0, 200, 120}, brush);  // the whole client: the clip keeps it to the control
    DeleteObject(brush);
    return true;
  };
  auto b = Painted(*c);
  skinned->active = false;
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], Bounds(30, 20, 16, 8));
  EXPECT_EQ(At(*b, 0, 0), RGB(9, 8, 7));
  EXPECT_EQ(At(*b, 15, 7), RGB(9, 8, 7));
  // Without an active skinned window the form's own background comes through its window.
  b = Painted(*c);
  EXPECT_EQ(At(*b, 3, 3), kBlueRGB);
}

// A red control at opacity 64 over the blue form and over a green windowless sibling beneath it;
// when both paint through the shared buffer, the sibling's paint runs inside the control's.
TEST_F(SkinControlsTest, BlendedControlShowsItsBackgroundAndWindowlessSiblings) {
  struct Case { bool lanes; TSePerformance mode, siblingMode; COLORREF overBlue, overGreen; };
  // lanes: t + 64 (s - t) / 256 per byte; scalar: (s 64 + t 191) div 256.
  const Case cases[] = {{true, kspDoubleBuffer, kspNoBuffer, RGB(63, 0, 191), RGB(63, 191, 0)},
                        {false, kspDoubleBuffer, kspNoBuffer, RGB(63, 0, 190), RGB(63, 190, 0)},
                        {true, kspSharedBuffer, kspSharedBuffer, RGB(63, 0, 191), RGB(63, 191, 0)}};
  for (const Case& k : cases) {
    SCOPED_TRACE(int(k.mode));
    TBlendKernelScope kernel(k.lanes);
    TForm* form = NewForm();
    auto* sibling = new TSeGraphicControl(form);
    sibling->SetParent(form);
    sibling->SetBounds(10, 10, 5, 10);
    sibling->SetColor(kGreen);
    sibling->SetPerformance(k.siblingMode);
    auto* c = new TSeCustomControl(form);
    c->SetParent(form);
    c->SetBounds(10, 10, 10, 10);
    c->SetColor(kRed);
    c->SetPerformance(k.mode);
    c->Blending()->SetValue(64);
    c->Blending()->SetEnabled(true);
    auto b = Painted(*c);
    EXPECT_EQ(At(*b, 2, 2), k.overGreen);
    EXPECT_EQ(At(*b, 7, 2), k.overBlue);
    delete form;
  }
}

TEST_F(SkinControlsTest, WindowlessControlPaintsSeeThroughAndBlended) {
  TForm* form = NewForm();
  auto* g = new TSeGraphicControl(form);
  g->SetParent(form);
  g->SetBounds(20, 20, 8, 8);
  g->SetColor(kRed);
  form->Show();
  Pump();
  auto shot = m_screen->Capture();
  EXPECT_EQ(ColorFromPixel(shot->Pixel(124, 124)), RGB(255, 0, 0));
  g->SetTransparent(true);
  for (TSePerformance mode : {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}) {
    g->SetPerformance(mode);
    form->Repaint();
    Pump();
    shot = m_screen->Capture();
    EXPECT_EQ(ColorFromPixel(shot->Pixel(124, 124)), kBlueRGB) << int(mode);
  }
}

TEST_F(SkinControlsTest, HotAndFocusedFollowTheRealInput) {
  TForm* form = NewForm();
  auto* a = new TSeCustomControl(form);
  a->SetParent(form);
  a->SetBounds(10, 10, 50, 20);
  a->SetTabStop(true);
  auto* b = new TSeCustomControl(form);
  b->SetParent(form);
  b->SetBounds(10, 50, 50, 20);
  b->SetTabStop(true);
  std::vector<std::string> log;
  a->OnMouseEnter = [&](TPersistent*) { log.push_back(a->IsHot() ? "enter hot" : "enter cold"); };
  a->OnMouseLeave = [&](TPersistent*) { log.push_back(a->IsHot() ? "leave hot" : "leave cold"); };
  form->Show();
  Pump();
  m_screen->MouseMove(a->ClientToScreen({5, 5}));
  Pump();
  EXPECT_TRUE(a->IsHot());
  m_screen->MouseMove(b->ClientToScreen({5, 5}));
  Pump();
  EXPECT_FALSE(a->IsHot());
  EXPECT_TRUE(b->IsHot());
  EXPECT_EQ(log, (std::vector<std::string>{"enter hot", "leave cold"}));

  a->SetFocus();
  Pump();
  EXPECT_TRUE(a->IsFocused());
  b->SetFocus();
  Pump();
  EXPECT_FALSE(a->IsFocused());
  EXPECT_TRUE(b->IsFocused());
}

TEST_F(SkinControlsTest, PaintUsesTheNewSizeWhileTheWindowIsResized) {
  TForm* form = NewForm();
  auto* c = new TSeCustomControl(form);
  c->SetParent(form);
  c->SetBounds(10, 10, 50, 20);
  form->Show();
  Pump();
  SetWindowPos(c->Handle(), nullptr, 0, 0, 70, 25, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(c->CachedWidth(), 70);
  EXPECT_EQ(c->CachedHeight(), 25);
  EXPECT_EQ(c->ClientRect(), Rect(0, 0, 70, 25));
}

}  // namespace
}  // namespace vandrel::test
