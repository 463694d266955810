// Every row kernel set the processor can run gives the bytes of the plain loops, over all
// alignments of source and target, widths 1..67 and random pixels whose alphas favour 0 and 255
// (the shortcuts) as much as the values between.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/RowKernels.h"

namespace vandrel::test {
namespace {

TseColor RandomPixel(std::mt19937& rng) {
  TseColor p = TseColor(rng());
  switch (rng() % 6) {
    case 0: return p & 0x00FFFFFFu;                   // clear
    case 1: return p | 0xFF000000u;                   // opaque
    case 2: return (p & 0xFF000000u) | kTransparentKey;  // the key's colour, any alpha
    default: return p;
  }
}

using TKernelOf = TRowKernel TRowKernels::*;

void ExpectLikePlain(const TRowKernels& set, TKernelOf kernel, const char* what) {
  const TRowKernels& plain = AvailableRowKernels().front();
  std::mt19937 rng(20);
  constexpr int kMax = 67, kSlack = 8;
  std::vector<TseColor> src(kMax + kSlack), dst(kMax + kSlack), expected(kMax + kSlack);
  for (int sa = 0; sa < kSlack; ++sa)
    for (int ta = 0; ta < kSlack; ++ta)
      for (int n = 1; n <= kMax; ++n) {
        for (auto& p : src) p = RandomPixel(rng);
        for (auto& p : dst) p = RandomPixel(rng);
        expected = dst;
        (plain.*kernel)(src.data() + sa, expected.data() + ta, n);
        (set.*kernel)(src.data() + sa, dst.data() + ta, n);
        ASSERT_EQ(dst, expected) << set.name << " " << what << ": width " << n << ", source at "
                                 << sa << ", target at " << ta;
      }
}

TEST(RowKernelsTest, EverySetGivesThePlainBytes) {
  ASSERT_EQ(AvailableRowKernels().front().name, "plain");
#if defined(__x86_64__)
  // SSE2 is part of the architecture; AVX2 is there when the processor says so.
  ASSERT_GE(AvailableRowKernels().size(), 2u);
  EXPECT_EQ(AvailableRowKernels()[1].name, "sse2");
  EXPECT_EQ(&RowKernels(), &AvailableRowKernels().back());
  if (__builtin_cpu_supports("avx2")) {
    EXPECT_EQ(RowKernels().name, "avx2");
  }
#endif
  for (const TRowKernels& set : AvailableRowKernels()) {
    ExpectLikePlain(set, &TRowKernels::laneBlend, "blend");
    ExpectLikePlain(set, &TRowKernels::keyed, "keyed");
    ExpectLikePlain(set, &TRowKernels::copy, "copy");
  }
}

TEST(RowKernelsTest, GatherTakesTheListedColumns) {
  std::mt19937 rng(7);
  std::vector<TseColor> src(100);
  for (auto& p : src) p = TseColor(rng());
  for (const TRowKernels& set : AvailableRowKernels())
    for (int n = 1; n <= 67; ++n) {
      std::vector<int> columns(static_cast<size_t>(n));
      for (auto& c : columns) c = int(rng() % src.size());
      std::vector<TseColor> out(size_t(n) + 1, 0xDEADBEEF);
      set.gather(src.data(), columns.data(), out.data(), n);
      for (int i = 0; i < n; ++i) ASSERT_EQ(out[size_t(i)], src[size_t(columns[size_t(i)])]) << set.name;
      EXPECT_EQ(out[size_t(n)], 0xDEADBEEFu) << set.name;
    }
}

// The formulas themselves, on pixels worked out by hand.
TEST(RowKernelsTest, PlainLoopsFollowTheFormulas) {
  const TRowKernels& plain = AvailableRowKernels().front();
  struct Case { TseColor s, t, blend, keyed; };
  const Case cases[] = {
      // Each byte (t * 256 + a * (s - t)) div 256, alpha too: 0xFF + 0x80 * (0x80 - 0xFF) / 256.
      {0x80FF0000, 0xFF0000FF, 0xBF7F007F, 0xFFFF0000},
      {0xFF102030, 0x40F0E0D0, 0xFF102030, 0xFF102030},  // 255 takes s
      {0x00102030, 0x40F0E0D0, 0x40F0E0D0, 0xFF102030},  // 0 keeps t; keyed makes s opaque
      {0x807F007F, 0x11223344, 0x48501961, 0x11223344},  // keyed skips the key's colour
      {0x01FFFFFF, 0x00000000, 0x00000000, 0xFFFFFFFF},  // 1 * 255 / 256 rounds down
  };
  for (const Case& c : cases) {
    TseColor t = c.t;
    plain.laneBlend(&c.s, &t, 1);
    EXPECT_EQ(t, c.blend) << std::hex << c.s << " over " << c.t;
    t = c.t;
    plain.keyed(&c.s, &t, 1);
    EXPECT_EQ(t, c.keyed) << std::hex << c.s << " keyed over " << c.t;
  }
}

}  // namespace
}  // namespace vandrel::test
