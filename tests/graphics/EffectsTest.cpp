// Transition effects: the settings record, the registry and its names, the stopwatch on the
// manual clock, the frame loop, the grid, rotations and tiles, the value rules, and the last
// frame of every registered effect.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "framework/ClassRegistry.h"
#include "graphics/Animate.h"
#include "graphics/EffectMask.h"
#include "graphics/EffectTimer.h"
#include "graphics/Transition.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Paint.h"
#include "platform/win/TickClock.h"

namespace vandrel::test {
namespace {

// Opaque pictures whose pixels tell where they came from; `key` adds a block and a column of
// key pixels (keyed as a window's animation image is, so HasKey is set). No pattern colour lies
// within the keying tolerance of the key.
void Paint(TseBitmap& b, int w, int h, TseColor tag, bool key = false) {
  b.SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, 0xFF000000u | tag | TseColor((x * 7 + y * 3) & 0x3F) << 8);
  if (!key) return;
  for (int y = h / 4; y < h / 2; ++y)
    for (int x = w / 3; x < w / 2; ++x) b.SetPixel(x, y, 0xFF7F007Fu);
  for (int y = 0; y < h; ++y) b.SetPixel(w - 2, y, 0xFF7F007Fu);
  b.KeyColor(kTransparentKey);
}

// An old and a new picture of one size.
struct TPictures {
  TPictures(int w, int h, bool key = false) {
    Paint(Old, w, h, 0x100000);
    Paint(New, w, h, 0x200000, key);
  }
  TseBitmap Old, New;
};

TseEffectProc ProcOf(const char* name) {
  const TseProcItem* item = FindEffect(name);
  EXPECT_NE(item, nullptr) << name;
  return item ? item->Proc() : TseEffectProc{};
}

// The mask a fade-kind procedure draws on a cleared grid.
std::vector<std::uint8_t> MaskOf(const char* name, int columns, int rows, int progress) {
  std::vector<std::uint8_t> mask(std::size_t(columns * rows), 0);
  std::get<TseFadeProc>(ProcOf(name))(mask.data(), columns, rows, progress);
  return mask;
}

// '#' for 255, '.' for 0, '+' for anything between; rows end with a line break except the last.
std::string Picture(const std::vector<std::uint8_t>& mask, int columns) {
  std::string s;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    if (i && i % std::size_t(columns) == 0) s += '\n';
    s += mask[i] == 255 ? '#' : mask[i] == 0 ? '.' : '+';
  }
  return s;
}

TEST(AnimationRecTest, LimitsApplyToNewValuesAndAssignCopiesAll) {
  struct {
    void (TseAnimationRec::*set)(int);
    int (TseAnimationRec::*get)() const;
    int value, expected;
  } cases[] = {
      {&TseAnimationRec::SetTime, &TseAnimationRec::Time, 20, 50},
      {&TseAnimationRec::SetTime, &TseAnimationRec::Time, 9001, 9000},
      {&TseAnimationRec::SetTime, &TseAnimationRec::Time, 51, 51},
      {&TseAnimationRec::SetTileCount, &TseAnimationRec::TileCount, 0, 1},
      {&TseAnimationRec::SetTileCount, &TseAnimationRec::TileCount, 21, 20},
      {&TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, 11, 10},
      {&TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, -3, 1},
  };
  for (const auto& k : cases) {
    TseAnimationRec rec;
    (rec.*k.set)(k.value);
    EXPECT_EQ((rec.*k.get)(), k.expected) << k.value;
  }

  TseAnimationRec a;
  EXPECT_EQ(a.Effect(), "[ RANDOM ] - Random selection");
  EXPECT_EQ(a.Time(), 400);
  EXPECT_FALSE(a.Enabled());
  a.SetEffect("[ FADE ] - FadeIn");
  a.SetEnabled(true);
  a.SetResolution(3);
  a.SetRotation(krRotate180);
  a.SetTileCount(4);
  a.SetTime(700);
  TBitmap picture(2, 1);
  picture.ScanLine(0)[1] = 0xFF123456u;
  a.SetBitmap(picture);
  picture.ScanLine(0)[1] = 0;  // the record holds a copy
  TseAnimationRec b;
  b.Assign(a);
  EXPECT_EQ(b.Effect(), "[ FADE ] - FadeIn");
  EXPECT_TRUE(b.Enabled());
  EXPECT_EQ(b.Resolution(), 3);
  EXPECT_EQ(b.Rotation(), krRotate180);
  EXPECT_EQ(b.TileCount(), 4);
  EXPECT_EQ(b.Time(), 700);
  ASSERT_EQ(b.Bitmap()->Width(), 2);
  EXPECT_EQ(b.Bitmap()->ScanLine(0)[1], 0xFF123456u);

  EffectNames();  // the registry's start-up registers the record's class for stored forms
  ASSERT_NE(GetClass("TseAnimationRec"), nullptr);
  for (const char* name : {"Bitmap", "Effect", "Enabled", "Resolution", "Rotation", "TileCount", "Time"})
    EXPECT_NE(TseAnimationRec::StaticClassInfo().FindProperty(name), nullptr) << name;
}

TEST(EffectRegistryTest, NamesComeInRegistrationOrderBehindRandomAndBitmap) {
  const char* fade[] = {
      "SmoothDiagonal", "SmoothDiagonalIn", "SmoothDiagonalOut", "SmoothDown", "SmoothIn",
      "SmoothOut", "SmoothCrossOut", "SmoothCrossIn", "SmoothRectIn", "SmoothRectOut",
      "SlideDiagonal", "SlideDiagonalIn", "SlideDiagonalOut", "SlideDown", "SlideIn", "SlideOut",
      "SlideCrossOut", "SlideCrossIn", "SlideRectOut", "SlideRectIn", "Fade", "FadeDiagonal",
      "FadeDiagonalIn", "FadeDiagonalOut", "FadeDown", "FadeIn", "FadeOut", "FadeCrossOut",
      "FadeCrossIn", "FadeRectOut", "FadeRectIn", "Pixel", "Pixel fade", "Pixel line",
      "CircleSlideOut", "CircleFadeOut", "CircleSmoothOut", "CircleSlideIn", "CircleFadeIn",
      "CircleSmoothIn", "CircleSlide", "CircleFade", "CircleSmooth", "DiamondSlideIn",
      "DiamondFadeIn", "DiamondSmoothIn", "DiamondSlideOut", "DiamondFadeOut", "DiamondSmoothOut",
      "RotateSlide", "RotateFade", "RotateSmooth", "Stream", "Plasma"};
  std::vector<std::string> expected = {"[ RANDOM ] - Random selection", "[ BITMAP ] - Bitmap Animation"};
  for (const char* name : fade) expected.push_back(std::string("[ FADE ] - ") + name);
  expected.insert(expected.end(), {"[ SLIDE ] - Interlace", "[ SLIDE ] - Corner",
                                   "[ MANUAL ] - Slide", "[ MANUAL ] - Push"});
  ASSERT_EQ(expected.size(), 60u);
  const std::vector<std::string>& names = EffectNames();
  ASSERT_GE(names.size(), 60u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 60), expected);
  for (int i = 0; i < 58; ++i) EXPECT_EQ(EffectList().Items(i)->DisplayName(), expected[std::size_t(i) + 2]);
}

TEST(EffectRegistryTest, FindEffectByDisplayNameOrBareNameIgnoringCase) {
  struct {
    const char* text;
    const char* found;  // bare name, or null
  } cases[] = {
      {"[ fade ] - fadein", "FadeIn"},
      {"FadeIn", "FadeIn"},
      {"fadein", "FadeIn"},
      {"[ SLIDE ] - Corner", "Corner"},
      {"push", "Push"},
      {"pixel FADE", "Pixel fade"},
      {"[ FADE ] - Corner", nullptr},  // Corner is of the slide kind
      {"[ BITMAP ] - Bitmap Animation", nullptr},
      {"", nullptr},
  };
  for (const auto& k : cases) {
    const TseProcItem* item = FindEffect(k.text);
    if (k.found) {
      ASSERT_NE(item, nullptr) << k.text;
      EXPECT_EQ(item->Name(), k.found);
    } else {
      EXPECT_EQ(item, nullptr) << k.text;
    }
  }
}

void UnusedFade(std::uint8_t*, int, int, int) {}

TEST(EffectRegistryTest, SecondRegistrationOfANameOrAProcedureRaises) {
  try {
    RegisterEffect("fade", ekFade, &UnusedFade);
    FAIL() << "no error";
  } catch (const EProcItemError& e) {
    EXPECT_STREQ(e.what(), "Effect procedute fade already exists in list");
  }
  EXPECT_THROW(RegisterEffect("Another plasma", ekFade, ProcOf("Plasma")), EProcItemError);
  EXPECT_EQ(FindEffect("Another plasma"), nullptr);
  EXPECT_EQ(FindEffect("fade")->Proc(), ProcOf("Fade"));  // the first one stays
}

TEST(EffectRegistryTest, RandomSelectionPicksRegisteredEffectsOnlyNeverTheBitmap) {
  TseAnimationRec rec;  // the random entry by default
  std::set<const TseProcItem*> seen;
  for (int i = 0; i < 3000; ++i) {
    TseEffectChoice choice = ChooseEffect(rec);
    ASSERT_FALSE(choice.Bitmap);
    ASSERT_NE(choice.Item, nullptr);
    seen.insert(choice.Item);
  }
  EXPECT_EQ(int(seen.size()), EffectList().Count());  // every one can come up
  rec.SetEffect("[ bitmap ] - bitmap animation");
  EXPECT_TRUE(ChooseEffect(rec).Bitmap);
  EXPECT_TRUE(ChooseEffect(rec).Playable());
  rec.SetEffect("No such effect");
  EXPECT_FALSE(ChooseEffect(rec).Playable());
}

TEST(EffectRandomTest, PlatformLinearCongruentialGenerator) {
  TLinearRandom r(1);
  EXPECT_EQ(r.Next(100), 3u);
  EXPECT_EQ(r.Seed(), 134775814u);
  EXPECT_EQ(r.Next(100), 86u);
  EXPECT_EQ(r.Next(1000), 202u);
  EXPECT_EQ(r.Seed(), 870078620u);
}

TEST(EffectTimerTest, MeasuresTheManualCounter) {
  ScopedManualTicks ticks;
  TseTimer timer;
  EXPECT_EQ(timer.Overhead(), 0);
  timer.Start();
  TTickClock::Advance(7);
  timer.Stop();
  EXPECT_FLOAT_EQ(timer.ElapsedSeconds(), 0.007f);
}

TEST(TransitionTest, GridHasOneCellMoreThanFitsEachWay) {
  struct {
    int width, height, resolution, tiles, columns, rows;
  } cases[] = {
      {100, 50, 2, 1, 51, 26},
      {392, 570, 1, 1, 393, 571},
      {100, 50, 4, 3, 9, 5},
      {3, 3, 10, 20, 1, 1},
  };
  for (const auto& k : cases) {
    TPictures p(k.width, k.height);
    TseAnimationRec rec;
    rec.SetResolution(k.resolution);
    rec.SetTileCount(k.tiles);
    TseTransition t(FindEffect("Fade"), rec, p.New, p.Old);
    EXPECT_EQ(t.Columns(), k.columns);
    EXPECT_EQ(t.Rows(), k.rows);
    EXPECT_EQ(t.Mask().size(), std::size_t(k.columns * k.rows));
  }
}

TEST(EffectValueTest, FadeAndSmoothRules) {
  struct {
    int step, steps, progress, expected;
  } smooth[] = {
      {0, 10, 50, 255},  // 100 percent at the start of the ramp
      {5, 10, 50, 128},  // 50 percent, MulDiv rounding half away from zero
      {10, 10, 50, 0},   // the end of the ramp
      {12, 10, 50, 0},   // past it
      {0, 10, 75, 255},  // 150 percent is held at 255
      {9, 10, 99, 51},   // round(198 - 178.2) = 20 percent
      {10, 10, 100, 255},
      {0, 10, 0, 0},
  };
  for (const auto& k : smooth)
    EXPECT_EQ(SmoothValue(k.step, k.steps, k.progress), k.expected) << k.step << " " << k.progress;
  EXPECT_EQ(FadeValue(50), 128);
  EXPECT_EQ(FadeValue(0), 0);
  EXPECT_EQ(FadeValue(100), 255);
  EXPECT_EQ(MaskOf("Fade", 2, 1, 50), (std::vector<std::uint8_t>{128, 128}));  // round(127.5)
  EXPECT_EQ(MaskOf("Fade", 2, 1, 30), (std::vector<std::uint8_t>{76, 76}));
  EXPECT_EQ(MaskOf("Fade", 2, 1, 0), (std::vector<std::uint8_t>{0, 0}));
}

TEST(EffectMaskTest, LinesAndMidpointCircles) {
  struct {
    int x0, y0, x1, y1;
    const char* picture;
  } lines[] = {
      {0, 0, 5, 2, "##....\n..##..\n....##"},
      {5, 2, 0, 0, "##....\n..##..\n....##"},
      {-2, 1, 8, 1, "......\n######\n......"},  // clipped at both ends
      {2, -3, 2, 5, "..#...\n..#...\n..#..."},
      {3, 1, 3, 1, "......\n...#..\n......"},  // one cell: both end points included
      {-1, -1, -4, -1, "......\n......\n......"},
  };
  for (const auto& k : lines) {
    std::vector<std::uint8_t> cells(18, 0);
    DrawMaskLine({cells.data(), 6, 3}, k.x0, k.y0, k.x1, k.y1, 255);
    EXPECT_EQ(Picture(cells, 6), k.picture) << k.x0 << "," << k.y0 << " " << k.x1 << "," << k.y1;
  }
  std::vector<std::uint8_t> outline(49, 0), disc(49, 0);
  DrawMaskCircle({outline.data(), 7, 7}, 3, 3, 3, 255);
  FillMaskDisc({disc.data(), 7, 7}, 3, 3, 3, 255);
  EXPECT_EQ(Picture(outline, 7),
            "..###..\n"
            ".#...#.\n"
            "#.....#\n"
            "#.....#\n"
            "#.....#\n"
            ".#...#.\n"
            "..###..");
  EXPECT_EQ(Picture(disc, 7),
            "..###..\n"
            ".#####.\n"
            "#######\n"
            "#######\n"
            "#######\n"
            ".#####.\n"
            "..###..");
}

TEST(EffectPatternTest, PixelRevealsExactlyItsShareAndOnlyEverMore) {
  auto set = [](const std::vector<std::uint8_t>& mask) {
    std::set<std::size_t> cells;
    for (std::size_t i = 0; i < mask.size(); ++i) {
      EXPECT_TRUE(mask[i] == 0 || mask[i] == 255);
      if (mask[i]) cells.insert(i);
    }
    return cells;
  };
  std::set<std::size_t> half = set(MaskOf("Pixel", 10, 10, 50));
  std::set<std::size_t> more = set(MaskOf("Pixel", 10, 10, 60));
  EXPECT_EQ(half.size(), 50u);
  EXPECT_EQ(more.size(), 60u);
  EXPECT_TRUE(std::includes(more.begin(), more.end(), half.begin(), half.end()));
  EXPECT_EQ(set(MaskOf("Pixel", 10, 10, 50)), half);  // the same cells every frame
  EXPECT_EQ(set(MaskOf("Pixel", 7, 3, 100)).size(), 21u);
  EXPECT_TRUE(set(MaskOf("Pixel", 7, 3, 0)).empty());
  // Pixel fade and Pixel line draw the same cells, with their own values.
  std::vector<std::uint8_t> fade = MaskOf("Pixel fade", 10, 10, 50);
  std::vector<std::uint8_t> line = MaskOf("Pixel line", 10, 10, 50);
  for (std::size_t i = 0; i < 100; ++i) {
    EXPECT_EQ(fade[i], half.count(i) ? 128 : 0) << i;
    EXPECT_EQ(line[i] != 0, half.count(i) == 1) << i;
  }
}

TEST(EffectPatternTest, InVariantsRevealWhatTheirOutPatternLeavesAtTheOtherEnd) {
  const char* pairs[][2] = {
      {"SlideCrossIn", "SlideCrossOut"}, {"SlideRectIn", "SlideRectOut"},
      {"CircleSlideIn", "CircleSlideOut"}, {"DiamondSlideIn", "DiamondSlideOut"},
  };
  for (const auto& pair : pairs) {
    for (int p : {0, 30, 65, 100}) {
      std::vector<std::uint8_t> in = MaskOf(pair[0], 13, 9, p), out = MaskOf(pair[1], 13, 9, 100 - p);
      for (std::size_t i = 0; i < in.size(); ++i)
        ASSERT_EQ(in[i], out[i] ? 0 : 255) << pair[0] << " at " << p << " cell " << i;
    }
  }
  // The fade variant shows its fade value where the slide variant shows 255.
  std::vector<std::uint8_t> fade = MaskOf("FadeCrossIn", 13, 9, 40), slide = MaskOf("SlideCrossIn", 13, 9, 40);
  for (std::size_t i = 0; i < fade.size(); ++i) EXPECT_EQ(fade[i], slide[i] ? 102 : 0);
  // A smooth In pattern is the inverse of the smooth Out pattern.
  std::vector<std::uint8_t> in = MaskOf("SmoothRectIn", 13, 9, 35), out = MaskOf("SmoothRectOut", 13, 9, 65);
  for (std::size_t i = 0; i < in.size(); ++i) EXPECT_EQ(in[i], 255 - out[i]);
}

TEST(TransitionTest, RotationsTurnTheComputedMask) {
  // SlideDown at 50 reveals the top rows of the grid it is computed on; the rotations turn that
  // grid (columns and rows swapped for the quarter turns) onto the picture's 7 x 5 cells.
  struct {
    TseRotation rotation;
    const char* picture;
  } cases[] = {
      {krNone, "#######\n#######\n#######\n.......\n......."},
      {krRotate90, "####...\n####...\n####...\n####...\n####..."},
      {krRotate180, ".......\n.......\n#######\n#######\n#######"},
      {krRotate270, "...####\n...####\n...####\n...####\n...####"},
  };
  for (const auto& k : cases) {
    TPictures p(6, 4);
    TseAnimationRec rec;
    rec.SetRotation(k.rotation);
    TseTransition t(FindEffect("SlideDown"), rec, p.New, p.Old);
    t.Pattern(50);
    EXPECT_EQ(Picture(t.Mask(), t.Columns()), k.picture) << k.rotation;
  }
}

TEST(TransitionTest, MaskStretchesOverEveryTileAndKeyPixelsTurnClear) {
  // 8 x 8 pixels, two tiles each way: a 5 x 5 grid per tile of 5 x 5 pixels; the second tiles
  // are clipped to 3 pixels. SlideDown at 0 reveals the first row of each tile.
  TPictures p(8, 8);
  p.New.SetPixel(1, 5, kTransparentKey | 0xFF000000u);
  TseAnimationRec rec;
  rec.SetTileCount(2);
  TseTransition t(FindEffect("SlideDown"), rec, p.New, p.Old);
  t.Frame(0);
  EXPECT_TRUE(p.New.HasAlpha());  // it draws blended from now on, also on the screen at the end
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool revealed = (y == 0 || y == 5) && !(x == 1 && y == 5);
      EXPECT_EQ(AlphaOf(p.New.Pixel(x, y)), revealed ? 255 : 0) << x << "," << y;
      EXPECT_EQ(t.Work().Pixel(x, y), revealed ? p.New.Pixel(x, y) : p.Old.Pixel(x, y));
    }
}

TEST(TransitionTest, BitmapEffectShowsBrightAreasFirst) {
  // A 2 x 1 picture, bright (blue 255) on the left, dark on the right, stretched to the 5 x 3
  // grid of a 4 x 2 picture.
  TBitmap mask(2, 1);
  mask.ScanLine(0)[0] = 0xFF0000FFu;
  mask.ScanLine(0)[1] = 0xFF000000u;
  struct {
    TseRotation rotation;
    int progress;
    int left, right;  // the values of the leftmost and rightmost cells
  } cases[] = {
      {krNone, 0, 0, 0},
      {krNone, 50, 255, 0},
      {krNone, 75, 255, 127},  // 510 x 0.75 = 382.5 rounds to even
      {krNone, 100, 255, 255},
      {krRotate180, 50, 0, 255},
  };
  for (const auto& k : cases) {
    TPictures p(4, 2);
    TseAnimationRec rec;
    rec.SetEffect("[ BITMAP ] - Bitmap Animation");
    rec.SetBitmap(mask);
    rec.SetRotation(k.rotation);
    TseTransition t(nullptr, rec, p.New, p.Old);
    t.Frame(k.progress);
    EXPECT_EQ(t.Mask()[0], k.left) << k.progress;
    EXPECT_EQ(t.Mask()[4], k.right) << k.progress;
    EXPECT_EQ(AlphaOf(p.New.Pixel(0, 0)), k.left);
    EXPECT_EQ(AlphaOf(p.New.Pixel(3, 1)), k.right);
  }
}

TEST(TransitionTest, SlideAndPushMoveWholePicturesInTheirDirection) {
  // 8 x 4 pixels at 25: the new picture stands 6 or 3 pixels short of its place, the old one
  // (Push) that far beyond it.
  struct {
    const char* effect;
    TseRotation rotation;
    TPoint newAt;
    TPoint oldAt;
  } cases[] = {
      {"Push", krNone, {-6, 0}, {2, 0}},
      {"Push", krRotate90, {0, 3}, {0, -1}},
      {"Push", krRotate180, {6, 0}, {-2, 0}},
      {"Push", krRotate270, {0, -3}, {0, 1}},  // the old picture moves down intact
      {"Slide", krNone, {-6, 0}, {0, 0}},
      {"Slide", krRotate270, {0, -3}, {0, 0}},
  };
  for (const auto& k : cases) {
    TPictures p(8, 4);
    TseAnimationRec rec;
    rec.SetRotation(k.rotation);
    TseTransition t(FindEffect(k.effect), rec, p.New, p.Old);
    t.Frame(25);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x) {
        TseColor fromNew = p.New.Pixel(x - k.newAt.X, y - k.newAt.Y);
        TseColor expected = fromNew ? fromNew : p.Old.Pixel(x - k.oldAt.X, y - k.oldAt.Y);
        ASSERT_EQ(t.Work().Pixel(x, y), expected) << k.effect << " " << k.rotation << " " << x << "," << y;
      }
  }
}

TEST(TransitionTest, CellMapTurnsWithItsSourceCells) {
  // Corner brings the picture in from a corner; turned, the picture must still arrive upright.
  for (TseRotation rotation : {krNone, krRotate90, krRotate180, krRotate270}) {
    TPictures p(6, 4);
    TseAnimationRec rec;
    rec.SetRotation(rotation);
    rec.SetResolution(2);
    TseTransition t(FindEffect("Corner"), rec, p.New, p.Old);
    t.Frame(100);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) ASSERT_EQ(t.Work().Pixel(x, y), p.New.Pixel(x, y)) << rotation;
    // Halfway the picture comes in from its corner, moved as a whole (two pixels, one cell, off
    // its place in each direction), not mirrored.
    t.Frame(50);
    const TPoint shift[] = {{2, 2}, {2, -2}, {-2, -2}, {-2, 2}};
    const TPoint d = shift[rotation];
    int moved = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x)
        if (t.Work().Pixel(x, y) != p.Old.Pixel(x, y)) {
          ++moved;
          ASSERT_EQ(t.Work().Pixel(x, y), p.New.Pixel(x + d.X, y + d.Y)) << rotation << " " << x << "," << y;
        }
    EXPECT_GE(moved, 4) << rotation;
  }
}

TEST(TransitionTest, EveryEffectIsDeterministicForAGivenProgress) {
  for (int i = 0; i < 58; ++i) {
    const TseProcItem* item = EffectList().Items(i);
    for (TseRotation rotation : {krNone, krRotate90}) {
      TseAnimationRec rec;
      rec.SetRotation(rotation);
      rec.SetResolution(3);
      rec.SetTileCount(2);
      TPictures first(37, 23, true), second(37, 23, true);
      TseTransition a(item, rec, first.New, first.Old), b(item, rec, second.New, second.Old);
      b.Frame(90);  // what came before does not matter
      for (int p : {0, 33, 71}) {
        a.Frame(p);
        b.Frame(p);
        for (int y = 0; y < 23; ++y)
          for (int x = 0; x < 37; ++x)
            ASSERT_EQ(a.Work().Pixel(x, y), b.Work().Pixel(x, y)) << item->Name() << " at " << p;
      }
    }
  }
}

// A manual effect for the frame loop's tests: it records each progress and advances the manual
// clock inside the measured time, as a frame that takes that long would.
std::vector<int> g_progress;
int g_frameMilliseconds = 0;
void ClockStep(TseBitmap&, TseBitmap&, const TseAnimationRec&, int progress) {
  g_progress.push_back(progress);
  TTickClock::Advance(DWORD(g_frameMilliseconds));
}
void Failing(TseBitmap&, TseBitmap&, const TseAnimationRec&, int) { throw Exception("broken effect"); }

void RegisterTestEffects() {
  static bool done = (RegisterEffect("Clock step", ekManual, &ClockStep),
                      RegisterEffect("Failing", ekManual, &Failing),
                      RegisterEffect("No procedure", ekFade, TseFadeProc(nullptr)), true);
  (void)done;
}

TEST(AnimateTest, FramesArePacedByTheCounter) {
  RegisterTestEffects();
  EXPECT_EQ(EffectNames().back(), "[ FADE ] - No procedure");
  struct {
    int time, frameMilliseconds;
    std::vector<int> progress;
  } cases[] = {
      {400, 100, {0, 25, 50, 75, 100}},
      {50, 30, {0, 60, 100}},
      {400, 0, {0, 100}},  // a counter that stands still: one frame, then the last
      {1000, 333, {0, 33, 67, 100, 100}},  // 99.9 percent of the time rounds to 100
  };
  for (const auto& k : cases) {
    ScopedManualTicks ticks;
    TPictures p(6, 4);
    TseBitmap screen;
    screen.SetSize(10, 10);
    TCanvas canvas;
    canvas.SetHandle(screen.DC());
    TseAnimationRec rec;
    rec.SetEffect("[ MANUAL ] - Clock step");
    rec.SetTime(k.time);
    g_progress.clear();
    g_frameMilliseconds = k.frameMilliseconds;
    Animate(canvas, 3, 2, rec, p.New, p.Old);
    EXPECT_EQ(g_progress, k.progress) << k.time << " " << k.frameMilliseconds;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool inside = x >= 3 && x < 9 && y >= 2 && y < 6;
        ASSERT_EQ(screen.Pixel(x, y), inside ? p.New.Pixel(x - 3, y - 2) : 0u);
      }
    canvas.SetHandle(HDC());
  }
}

TEST(AnimateTest, UnknownEffectsMissingPicturesAndErrorsPlayNoTransition) {
  RegisterTestEffects();
  ScopedManualTicks ticks;
  TPictures p(6, 4);
  TseBitmap empty, screen;
  screen.SetSize(6, 4);
  TCanvas canvas;
  canvas.SetHandle(screen.DC());
  TseAnimationRec rec;
  for (const char* effect : {"Nothing like it", "[ FADE ] - No procedure"}) {
    rec.SetEffect(effect);
    Animate(canvas, 0, 0, rec, p.New, p.Old);
    EXPECT_EQ(screen.Pixel(0, 0), 0u) << effect;
  }
  rec.SetEffect("Fade");
  Animate(canvas, 0, 0, rec, empty, p.Old);
  Animate(canvas, 0, 0, rec, p.New, empty);
  EXPECT_EQ(screen.Pixel(0, 0), 0u);
  // An error inside a frame ends the transition and reaches the caller; the buffers go with it.
  rec.SetEffect("Failing");
  EXPECT_THROW(Animate(canvas, 0, 0, rec, p.New, p.Old), Exception);
  // Pictures of different sizes have no common grid: the new one is shown at once.
  TseBitmap smaller;
  Paint(smaller, 5, 4, 0x100000);
  rec.SetEffect("Fade");
  Animate(canvas, 0, 0, rec, p.New, smaller);
  EXPECT_EQ(screen.Pixel(5, 3), p.New.Pixel(5, 3));
  canvas.SetHandle(HDC());
}

TEST(AnimateTest, PlaysOnTheScreenOverWhatWasCapturedThere) {
  // As a window shows itself: the old picture is the screen under the window, the new one has
  // key pixels where the window's shape leaves the screen visible.
  auto screen = THeadlessScreen::Create({40, 30});
  ScopedManualTicks ticks;
  HDC dc = GetDC(nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
  FillRect(dc, {0, 0, 40, 30}, brush);
  DeleteObject(brush);
  ReleaseDC(nullptr, dc);
  TseBitmap oldPicture, newPicture;
  oldPicture.SetSize(12, 9);
  dc = GetDC(nullptr);
  BitBlt(oldPicture.DC(), 0, 0, 12, 9, dc, 5, 4, SRCCOPY);
  Paint(newPicture, 12, 9, 0x200000, true);
  TCanvas canvas;
  canvas.SetHandle(dc);
  TseAnimationRec rec;
  rec.SetEffect("[ FADE ] - CircleSmoothOut");
  Animate(canvas, 5, 4, rec, newPicture, oldPicture);
  canvas.SetHandle(HDC());
  ReleaseDC(nullptr, dc);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const TseColor n = newPicture.Pixel(x - 5, y - 4);
      const bool window = x >= 5 && x < 17 && y >= 4 && y < 13 && !SameRGB(n, kTransparentKey);
      ASSERT_EQ(screen->ScreenPixel(x, y), window ? (n & 0xFFFFFFu) : 0x0AC81Eu) << x << "," << y;
    }
}

TEST(AnimateTest, LastDrawingIsTheNewPictureOpaqueExceptAtItsKeyPixels) {
  ScopedManualTicks ticks;  // standing still: one frame at 0, then the last drawing
  struct {
    int width, height;
    bool key;
  } sizes[] = {{100, 50, false}, {100, 50, true}, {392, 570, false}, {392, 570, true}};
  for (const auto& s : sizes) {
    // What every effect must leave: the new picture, opaque, and where it has key pixels the old
    // picture that every frame showed there.
    TseBitmap oldPicture, expected;
    Paint(oldPicture, s.width, s.height, 0x100000);
    Paint(expected, s.width, s.height, 0x200000, s.key);
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) {
        const TseColor n = expected.Pixel(x, y);
        expected.SetPixel(x, y, SameRGB(n, kTransparentKey) ? oldPicture.Pixel(x, y) : WithAlpha(n, 255));
      }
    for (int i = 0; i < 58; ++i) {
      const TseProcItem* item = EffectList().Items(i);
      TseBitmap newPicture, screen;
      Paint(newPicture, s.width, s.height, 0x200000, s.key);
      screen.SetSize(s.width, s.height);
      screen.Fill(0x00ABCDEF);
      TCanvas canvas;
      canvas.SetHandle(screen.DC());
      TseAnimationRec rec;
      rec.SetEffect(item->DisplayName());
      Animate(canvas, 0, 0, rec, newPicture, oldPicture);
      canvas.SetHandle(HDC());
      for (int y = 0; y < s.height; ++y) {
        if (std::equal(screen.Row(y), screen.Row(y) + s.width, expected.Row(y))) continue;
        for (int x = 0; x < s.width; ++x)
          ASSERT_EQ(screen.Pixel(x, y), expected.Pixel(x, y))
              << item->Name() << " " << s.width << "x" << s.height << (s.key ? " keyed" : "")
              << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace vandrel::test
