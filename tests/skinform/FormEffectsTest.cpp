#include "skinform/FormEffects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
