#include "skinform/FormEffects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Canvas.h"
#include "graphics/EffectRegistry.h"
#include "platform/core/Color.h"
#include "platform/gdi/RegionApi.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/Window.h"
#include "tests/skinform/SkinFormTestSupport.h"

using namespace vandrel;
using namespace vandrel::test;

namespace {

TEST(GravitationTest, EdgesWithinTheSnappingDistanceMoveFlush) {
  const TRect area{0, 0, 800, 600};
  struct Case {
    const char* what;
    TRect area, moved;
    int shadow;
    TRect expected;
  } cases[] = {
      {"19 from the left snaps", area, {19, 100, 319, 300}, 0, {0, 100, 300, 300}},
      {"20 from the left stays", area, {20, 100, 320, 300}, 0, {20, 100, 320, 300}},
      {"19 past the left snaps back", area, {-19, 100, 281, 300}, 0, {0, 100, 300, 300}},
      {"19 from the right snaps", area, {481, 100, 781, 300}, 0, {500, 100, 800, 300}},
      {"19 from the top and bottom: top wins", {0, 0, 800, 230}, {50, 19, 350, 219}, 0, {50, 0, 350, 200}},
      {"19 from the bottom snaps", area, {50, 381, 350, 581}, 0, {50, 400, 350, 600}},
      {"narrow area: left wins", {0, 0, 320, 600}, {10, 100, 310, 300}, 0, {0, 100, 300, 300}},
      {"the shadow band overhangs the right edge", area, {485, 100, 789, 300}, 4, {500, 100, 804, 300}},
      {"an area not at the origin", {100, 50, 700, 550}, {110, 200, 410, 400}, 0, {100, 200, 400, 400}},
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyGravitation(c.moved, c.area, 20, c.shadow), c.expected) << c.what;
}

// Alphas of a surface as letters: '.' 0, 'a' 8, 'b' 58, 'c' 108, 'd' 128, '?' anything else.
std::vector<std::string> Alphas(const TseBitmap& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      switch (AlphaOf(b.Pixel(x, y))) {
        case 0: row += '.'; break;
        case 8: row += 'a'; break;
        case 58: row += 'b'; break;
        case 108: row += 'c'; break;
        case 128: row += 'd'; break;
        default: row += '?';
      }
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(ShadowTest, TheRingsFadeTowardsTheirCornerWithRoundedSteps) {
  struct Case {
    TShadowFade fade;
    std::vector<std::string> expected;
  } cases[] = {
      {TShadowFade::TopRight, {"aaaaaa", "bbbbaa", "cccbba", "dddcba", "dddcba", "dddcba"}},
      {TShadowFade::BottomLeft, {"abcddd", "abcddd", "abcddd", "abbccc", "aabbbb", "aaaaaa"}},
      {TShadowFade::BottomRight, {"dddcba", "dddcba", "dddcba", "cccbba", "bbbbaa", "aaaaaa"}},
  };
  for (const Case& c : cases) {
    TseBitmap b;
    b.SetSize(8, 8);
    b.Fill(0xFF123456);
    FillShadowRings(b, {1, 1, 7, 7}, c.fade);
    std::vector<std::string> inner;
    for (const std::string& row : Alphas(b)) inner.push_back(row.substr(1, 6));
    EXPECT_EQ(std::vector<std::string>(inner.begin() + 1, inner.end() - 1), c.expected) << int(c.fade);
    EXPECT_EQ(b.Pixel(0, 0), 0xFF123456u) << "outside the rectangle";
    EXPECT_EQ(b.Pixel(3, 6) & 0xFFFFFF, kShadowColor & 0xFFFFFF);
  }
}

TEST(ShadowTest, TheBandRightOfAndBelowTheFrameShowsTheCaptureThroughTheShadow) {
  // A 40 x 30 window whose 36 x 26 frame has the client area (4, 10, 32, 22), shadow 4.
  TseBitmap surface, capture;
  surface.SetSize(40, 30);
  surface.Fill(0xFFFFFFFF);
  capture.SetSize(40, 30);
  capture.Fill(0xFF000000);
  const TRect client{4, 10, 32, 22};
  DrawShadowBand(surface, client, {36, 26}, 4, &capture);
  // The key above the right band and left of the bottom band shows the capture unchanged.
  for (TPoint p : {TPoint{32, 0}, TPoint{39, 3}, TPoint{0, 22}, TPoint{3, 29}})
    EXPECT_EQ(surface.Pixel(p.X, p.Y), 0xFF000000u) << p.X << "," << p.Y;
  // The shadow's outer ring over black: 63 * 8 / 256 (scalar) or the lane form's 1.
  EXPECT_LE(surface.Pixel(39, 15) & 0xFF, 2u);
  // Deep inside the band the shadow is at full strength over black: about half of 63.
  const std::uint32_t inner = surface.Pixel(33, 15) & 0xFF;
  EXPECT_GE(inner, 30u);
  EXPECT_LE(inner, 32u);
  // The frame's own pixels are left for the frame painted afterwards.
  EXPECT_EQ(surface.Pixel(10, 5), 0xFFFFFFFFu);
}

// A screen of a fixed pattern that counts what is read from it.
struct FakeScreen {
  bool works = true;
  std::int64_t pixelsRead = 0;
  std::vector<TRect> reads;
  static TseColor At(int x, int y) { return 0xFF000000u | TseColor(x & 0xFF) << 8 | TseColor(y & 0xFF); }
  TScreenReader Reader() {
    return [this](const TRect& s, TseBitmap& target, int x, int y) {
      if (!works) return false;
      reads.push_back(s);
      pixelsRead += std::int64_t(s.Width()) * s.Height();
      for (int sy = s.Top; sy < s.Bottom; ++sy)
        for (int sx = s.Left; sx < s.Right; ++sx) target.SetPixel(x + sx - s.Left, y + sy - s.Top, At(sx, sy));
      return true;
    };
  }
};

void ExpectPictureOf(const TBackgroundCapture& capture, const TRect& r) {
  const TseBitmap& p = capture.Picture();
  ASSERT_EQ(p.Width(), r.Width());
  ASSERT_EQ(p.Height(), r.Height());
  int wrong = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) wrong += p.Pixel(x, y) != FakeScreen::At(r.Left + x, r.Top + y);
  EXPECT_EQ(wrong, 0);
}

TEST(BackgroundCaptureTest, AMoveReadsOnlyTheUncoveredStripsAndKeepsTheRest) {
  FakeScreen screen;
  TBackgroundCapture capture(screen.Reader());
  const TRect first{100, 100, 400, 300};
  capture.Capture(first);
  EXPECT_EQ(screen.pixelsRead, 300 * 200);
  ExpectPictureOf(capture, first);

  struct Case {
    int dx, dy;
  } moves[] = {{30, 0}, {-30, 20}, {7, -45}, {0, 0}, {500, 0}};
  TRect r = first;
  for (const Case& m : moves) {
    const TRect next = OffsetRect(r, m.dx, m.dy);
    TRect overlap;
    const std::int64_t kept = IntersectRect(overlap, next, r) ? std::int64_t(overlap.Width()) * overlap.Height() : 0;
    screen.pixelsRead = 0;
    screen.reads.clear();
    capture.Capture(next);
    EXPECT_EQ(screen.pixelsRead, std::int64_t(300) * 200 - kept) << m.dx << "," << m.dy;
    for (const TRect& s : screen.reads) EXPECT_FALSE(IntersectRect(overlap, s, r)) << "read under the window";
    ExpectPictureOf(capture, next);
    EXPECT_EQ(capture.LastRect(), next);
    r = next;
  }
}

TEST(BackgroundCaptureTest, AFailedReadKeepsThePreviousPictureAndRecordsTheRectangle) {
  FakeScreen screen;
  TBackgroundCapture capture(screen.Reader());
  const TRect first{0, 0, 50, 40};
  capture.Capture(first);
  screen.works = false;
  capture.Capture({30, 0, 80, 40});
  EXPECT_EQ(capture.LastRect(), (TRect{30, 0, 80, 40}));
  ExpectPictureOf(capture, first);
  // Once the screen reads again, forgetting the rectangle reads it whole.
  screen.works = true;
  capture.Forget();
  screen.pixelsRead = 0;
  capture.Capture({30, 0, 80, 40});
  EXPECT_EQ(screen.pixelsRead, 50 * 40);
  ExpectPictureOf(capture, {30, 0, 80, 40});
}

class FormGravitationTest : public SkinFormTest {};

TEST_F(FormGravitationTest, DraggingTheCaptionSnapsToTheWorkAreaUnlessSwitchedOff) {
  m_screen->SetWorkArea({0, 0, 800, 560});
  struct Case {
    bool enabled;
    int dx, dy;
    TRect expected;
  } cases[] = {
      {true, -81, 0, {0, 100, 300, 300}},      // 19 from the left
      {true, -80, 0, {20, 100, 320, 300}},     // 20 from the left
      {true, 0, 241, {100, 360, 400, 560}},    // 19 above the work area's bottom
      {false, -81, 0, {19, 100, 319, 300}},
  };
  for (const Case& c : cases) {
    TForm* form = NewForm();
    TSeSkinForm* skin = NewSkinForm(form);
    ShowWindow(form->Handle(), SW_SHOW);
    Pump();
    skin->Gravitation()->SetEnabled(c.enabled);
    HWND h = form->Handle();
    const int captionY = GetSystemMetrics(SM_CXFRAME) + 5;
    auto send = [&](UINT msg, int x, int y) {
      const TRect r = WindowRect(h);
      SendMessage(h, msg, 0, PointToLParam({r.Left + x, r.Top + y}));
    };
    send(WM_NCLBUTTONDOWN, 150, captionY);
    send(WM_NCMOUSEMOVE, 150 + c.dx, captionY + c.dy);
    send(WM_NCLBUTTONUP, 150 + c.dx, captionY + c.dy);
    EXPECT_EQ(WindowRect(h), c.expected) << c.enabled << " " << c.dx << "," << c.dy;
    delete form;
  }
}

class FormEffectsTest : public SkinFormTest {
 protected:
  // A red window under everything, so what shows through is known.
  void Backdrop() {
    TForm* back = NewForm(bsNone);
    back->SetBounds(0, 0, 800, 600);
    back->SetColor(clRed);
    ShowWindow(back->Handle(), SW_SHOW);
    Pump();
  }
  TSeSkinForm* Translucent(TForm* form, int blending, int shadow) {
    TSeSkinForm* skin = NewSkinForm(form, [&](TSeSkinForm& s) {
      s.Blending()->SetValue(blending);
      s.Blending()->SetEnabled(blending > 0);
      s.Shadow()->SetSize(shadow);
      s.Shadow()->SetEnabled(shadow > 0);
    });
    ShowWindow(form->Handle(), SW_SHOW);
    Pump();
    return skin;
  }
  std::uint32_t ScreenPixel(int x, int y) { return m_screen->Capture()->Pixel(x, y) & 0xFFFFFF; }
  // Each channel of `over` put over `under` at `alpha`, within the one step the two blend forms
  // differ by.
  static void ExpectBlend(std::uint32_t shown, std::uint32_t over, std::uint32_t under, int alpha, const char* what) {
    for (int shift : {0, 8, 16}) {
      const int s = int(over >> shift & 0xFF), t = int(under >> shift & 0xFF);
      const int expected = (s * alpha + t * (255 - alpha)) / 256;
      EXPECT_NEAR(int(shown >> shift & 0xFF), expected, 1) << what << " channel " << shift;
    }
  }
};

TEST_F(FormEffectsTest, ABlendedFormShowsTheScreenBehindItsFrameAndClientArea) {
  Backdrop();
  TForm* form = NewForm();
  form->SetColor(clWhite);
  TSeSkinForm* skin = Translucent(form, 128, 0);
  const TRect r = WindowRect(form->Handle());
  const TRect c = skin->GetClientArea();
  const std::uint32_t red = 0xFF0000;
  const std::uint32_t face = std::uint32_t(ColorToRGB(clBtnFace));
  const std::uint32_t faceRGB = (face & 0xFF) << 16 | (face & 0xFF00) | (face >> 16 & 0xFF);
  ExpectBlend(ScreenPixel(r.Left + c.Left + 10, r.Top + c.Top + 10), 0xFFFFFF, red, 128, "client");
  ExpectBlend(ScreenPixel(r.Left + c.Left / 2, r.Top + c.Bottom - 5), faceRGB, red, 128, "left border");
}

TEST_F(FormEffectsTest, TheShadowBandFadesOverTheScreenAndItsKeyShowsTheScreen) {
  Backdrop();
  TForm* form = NewForm();
  TSeSkinForm* skin = Translucent(form, 0, 4);
  const TRect r = WindowRect(form->Handle());
  // The window grows by the band, so the client area keeps its size.
  ASSERT_EQ(skin->WindowSize(), (TSize{304, 204}));
  ASSERT_EQ(skin->FrameSize(), (TSize{300, 200}));
  // Above the band and left of the bottom band the window is cut away.
  EXPECT_EQ(ScreenPixel(r.Right - 2, r.Top + 1), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(r.Left + 1, r.Bottom - 2), 0xFF0000u);
  // The outermost ring lets nearly all of the red through, the innermost half of it.
  ExpectBlend(ScreenPixel(r.Right - 1, r.Top + 100), 0x3F3F3F, 0xFF0000, 8, "outer ring");
  ExpectBlend(ScreenPixel(r.Right - 4, r.Top + 100), 0x3F3F3F, 0xFF0000, 128, "inner ring");
}

TEST_F(FormEffectsTest, AMovedBlendedFormLooksLikeOneFreshlyShownThere) {
  Backdrop();
  // A pattern the form moves over, so stale pixels would show.
  TForm* stripes = NewForm(bsNone);
  stripes->SetBounds(380, 0, 40, 600);
  stripes->SetColor(clBlue);
  ShowWindow(stripes->Handle(), SW_SHOW);
  Pump();
  TForm* form = NewForm();
  Translucent(form, 128, 4);
  HWND h = form->Handle();
  const TRect before = WindowRect(h);
  for (int step = 0; step < 3; ++step) {
    SetWindowPos(h, nullptr, before.Left + 10 * (step + 1), before.Top + 10 * (step + 1), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
  }
  const auto moved = m_screen->Capture();
  const TRect area = WindowRect(h);
  delete form;
  Pump();
  TForm* fresh = NewForm();
  fresh->SetBounds(area.Left, area.Top, 300, 200);
  Translucent(fresh, 128, 4);
  ASSERT_EQ(WindowRect(fresh->Handle()), area);
  const auto shown = m_screen->Capture();
  int differ = 0;
  TRect box{800, 600, 0, 0};
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      if ((moved->Pixel(x, y) & 0xFFFFFF) != (shown->Pixel(x, y) & 0xFFFFFF)) {
        ++differ;
        box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
      }
  EXPECT_EQ(differ, 0) << "in " << box.Left << "," << box.Top << " - " << box.Right << "," << box.Bottom << " of "
                       << area.Left << "," << area.Top << " - " << area.Right << "," << area.Bottom << " e.g. "
                       << std::hex << moved->Pixel(box.Left, box.Top) << " vs " << shown->Pixel(box.Left, box.Top);
}

TEST_F(FormEffectsTest, AScreenOfAnotherDepthLeavesBlendingAndTheShadowOff) {
  m_screen->SetScreenDepth(16);
  Backdrop();
  TForm* form = NewForm();
  form->SetColor(clWhite);
  TSeSkinForm* skin = Translucent(form, 128, 4);
  EXPECT_EQ(skin->FrameSize(), skin->WindowSize());
  const TRect r = WindowRect(form->Handle());
  const TRect c = skin->GetClientArea();
  EXPECT_EQ(ScreenPixel(r.Left + c.Left + 10, r.Top + c.Top + 10), 0xFFFFFFu);
}

// The first frame of a 40 x 30 window with a 36 x 26 frame and a shadow of 4; the shape leaves a
// hole in the middle that only a test of every pixel would find.
TEST(ShowAnimationTest, TheLastFrameIsTheWindowWithItsMarginsOutsideTheShapeShowingTheScreen) {
  const TSize frame{36, 26};
  const int margin = 4;
  TseBitmap image, capture, screen;
  image.SetSize(40, 30);
  capture.SetSize(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      image.SetPixel(x, y, 0xFF004000u | TseColor(x * 6) << 16 | TseColor(y * 8));
      capture.SetPixel(x, y, 0xFF00A000u | TseColor(y));
    }
  image.SetPixel(20, 12, 0xFF7F007F);  // the skin's key colour inside the frame
  screen.SetSize(60, 50);
  screen.Fill(0xFF101010);
  capture.Draw(screen, 10, 10);
  HRGN shape = CreateRectRgn(0, 0, frame.cx, frame.cy);
  HRGN moved = CreateRectRgn(margin, margin, frame.cx + margin, frame.cy + margin);
  HRGN hole = CreateRectRgn(15, 10, 18, 14);
  CombineRgn(shape, shape, moved, RGN_OR);
  CombineRgn(shape, shape, hole, RGN_DIFF);
  TseBitmap original;
  original.Assign(image);
  PrepareShowImage(image, shape, margin, frame);
  TseAnimationRec rec;
  rec.SetEffect(EffectNames()[2]);
  rec.SetEnabled(true);
  rec.SetTime(50);
  TCanvas canvas;
  canvas.SetHandle(screen.DC());
  PlayShowTransition(rec, {10, 10}, image, capture, &canvas);
  canvas.SetHandle(nullptr);
  int wrong = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool margins = x <= margin || x >= frame.cx || y <= margin || y >= frame.cy;
      const bool keyed = (margins && !PtInRegion(shape, x, y)) || (x == 20 && y == 12);
      const TseColor expected = keyed ? capture.Pixel(x, y) : original.Pixel(x, y);
      if ((screen.Pixel(10 + x, 10 + y) & 0xFFFFFF) != (expected & 0xFFFFFF)) {
        ADD_FAILURE() << "pixel " << x << "," << y;
        if (++wrong > 5) return;
      }
    }
  for (HRGN r : {shape, moved, hole}) DeleteObject(r);
}

int g_showFrames = 0;
void CountingShow(TseBitmap&, TseBitmap&, const TseAnimationRec&, int) { ++g_showFrames; }

TEST_F(FormEffectsTest, TheShowAnimationPlaysOnlyWhenEnabled) {
  static const bool registered = (RegisterEffect("Counting show", ekManual, &CountingShow), true);
  (void)registered;
  for (bool enabled : {false, true}) {
    g_showFrames = 0;
    TForm* form = NewForm();
    NewSkinForm(form, [&](TSeSkinForm& s) {
      s.Animation()->SetEffectKind(FindEffect("Counting show")->DisplayName());
      s.Animation()->SetEnabled(enabled);
    });
    ShowWindow(form->Handle(), SW_SHOW);
    Pump();
    EXPECT_EQ(g_showFrames > 0, enabled) << enabled;
    delete form;
  }
}

}  // namespace
