#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/gdi/RegionApi.h"

namespace vandrel {
namespace {

std::vector<TRect> R(std::initializer_list<TRect> rects) { return rects; }

TEST(Region, CombinationsOfTwoOverlappingSquaresInBandForm) {
  TRegion a(TRect{0, 0, 4, 4}), b(TRect{2, 2, 6, 6});
  EXPECT_EQ(a.Union(b).Rects(), R({{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}));
  EXPECT_EQ(a.Intersect(b).Rects(), R({{2, 2, 4, 4}}));
  EXPECT_EQ(a.Subtract(b).Rects(), R({{0, 0, 4, 2}, {0, 2, 2, 4}}));
  EXPECT_EQ(a.Xor(b).Rects(), R({{0, 0, 4, 2}, {0, 2, 2, 4}, {4, 2, 6, 4}, {2, 4, 6, 6}}));
  EXPECT_EQ(a.Union(b).Bounds(), (TRect{0, 0, 6, 6}));
}

TEST(Region, AdjacentPiecesMergeSoEqualAreasCompareEqual) {
  TRegion halves = TRegion(TRect{0, 0, 4, 2}).Union(TRegion(TRect{0, 2, 4, 4}));
  EXPECT_EQ(halves, TRegion(TRect{0, 0, 4, 4}));
  EXPECT_EQ(halves.Complexity(), SIMPLEREGION);
  TRegion sides = TRegion(TRect{0, 0, 2, 4}).Union(TRegion(TRect{2, 0, 4, 4}));
  EXPECT_EQ(sides, TRegion(TRect{0, 0, 4, 4}));
  EXPECT_EQ(TRegion(TRect{0, 0, 4, 4}).Subtract(TRegion(TRect{0, 0, 4, 4})).Complexity(), NULLREGION);
}

TEST(Region, RowsOfRunsAndUnorderedRectanglesGiveTheSameRegion) {
  // A mask scan: rows of runs, as the bitmap library builds window shapes.
  std::vector<TRect> runs = {{1, 0, 3, 1}, {0, 1, 4, 2}, {0, 2, 4, 3}, {0, 3, 1, 4}, {3, 3, 4, 4}};
  TRegion ordered = TRegion::FromRects(runs);
  EXPECT_EQ(ordered.Rects(), R({{1, 0, 3, 1}, {0, 1, 4, 3}, {0, 3, 1, 4}, {3, 3, 4, 4}}));
  std::vector<TRect> shuffled = {{3, 3, 4, 4}, {0, 2, 4, 3}, {1, 0, 3, 1}, {0, 3, 1, 4}, {0, 1, 4, 2}};
  EXPECT_EQ(TRegion::FromRects(shuffled), ordered);
  EXPECT_EQ(ordered.Bounds(), (TRect{0, 0, 4, 4}));
}

// Every operation against a pixel-by-pixel model on random rectangle sets, near the origin and
// moved to the ends of the coordinate range, where Offset saturates edges at INT32_MIN/INT32_MAX.
TEST(Region, RandomCombinationsMatchPixelModel) {
  std::mt19937 rng(7);
  constexpr int kHigh = INT32_MAX - 16;
  for (TPoint base : {TPoint{0, 0}, TPoint{kHigh, kHigh}, TPoint{INT32_MIN, INT32_MIN}, TPoint{kHigh, INT32_MIN}}) {
    const TRect window{base.X, base.Y, base.X + 16, base.Y + 16};
    auto randomRegion = [&](std::vector<bool>& pixels) {
      std::uniform_int_distribution<int> coord(-2, 18), count(0, 6);
      std::vector<TRect> rects;
      int n = count(rng);
      for (int i = 0; i < n; ++i) {
        int x0 = coord(rng), x1 = coord(rng), y0 = coord(rng), y1 = coord(rng);
        TRect r = NormalizeRect({x0, y0, x1, y1});
        rects.push_back(r);
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, 16); ++y)
          for (int x = std::max(r.Left, 0); x < std::min(r.Right, 16); ++x) pixels[size_t(y * 16 + x)] = true;
      }
      TRegion region = TRegion::FromRects(rects);
      region.Offset(base.X, base.Y);
      return region.Intersect(window);
    };
    for (int round = 0; round < 300; ++round) {
      std::vector<bool> pa(256), pb(256);
      TRegion a = randomRegion(pa), b = randomRegion(pb);
      struct {
        TRegion region;
        bool (*op)(bool, bool);
      } cases[] = {{a.Union(b), [](bool x, bool y) { return x || y; }},
                   {a.Intersect(b), [](bool x, bool y) { return x && y; }},
                   {a.Subtract(b), [](bool x, bool y) { return x && !y; }},
                   {a.Xor(b), [](bool x, bool y) { return x != y; }}};
      for (auto& c : cases) {
        std::vector<TRect> pixelRects;
        for (int y = 0; y < 16; ++y)
          for (int x = 0; x < 16; ++x) {
            bool want = c.op(pa[size_t(y * 16 + x)], pb[size_t(y * 16 + x)]);
            TPoint at{base.X + x, base.Y + y};
            ASSERT_EQ(c.region.Contains(at), want) << "base " << base.X << "," << base.Y << " round " << round
                                                   << " at " << x << "," << y;
            if (want) pixelRects.push_back({at.X, at.Y, at.X + 1, at.Y + 1});
          }
        // The normal form is unique: the same pixels built another way compare equal.
        ASSERT_EQ(TRegion::FromRects(pixelRects), c.region) << "base " << base.X << " round " << round;
      }
    }
  }
}

TEST(RegionApi, HandlesCombineInPlaceAndFailQuietlyWhenDeleted) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 5, 20, 20);
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
  TRect box;
  EXPECT_EQ(GetRgnBox(a, &box), COMPLEXREGION);
  EXPECT_EQ(box, (TRect{0, 0, 20, 20}));
  EXPECT_TRUE(PtInRegion(a, 19, 19));
  EXPECT_FALSE(PtInRegion(a, 19, 2));
  EXPECT_TRUE(RectInRegion(a, {12, 0, 30, 6}));
  EXPECT_FALSE(RectInRegion(a, {12, 0, 30, 5}));
  EXPECT_EQ(OffsetRgn(b, -5, -5), SIMPLEREGION);
  HRGN c = CreateRectRgn(0, 0, 15, 15);
  EXPECT_TRUE(EqualRgn(b, c));
  // Inverted coordinates are normalised, as the platform does.
  HRGN d = CreateRectRgn(15, 15, 0, 0);
  EXPECT_TRUE(EqualRgn(c, d));
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_EQ(CombineRgn(a, a, b, RGN_AND), RGN_ERROR);
  EXPECT_EQ(OffsetRgn(b, 1, 1), RGN_ERROR);
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_EQ(CombineRgn(a, c, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(a, c));
  EXPECT_EQ(CombineRgn(a, c, c, 99), RGN_ERROR);
  for (HRGN h : {a, c, d}) DeleteObject(h);
}

}  // namespace
}  // namespace vandrel
