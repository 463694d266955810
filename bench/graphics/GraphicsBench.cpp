// The bitmap library's row work against references measured in the same run: the blend against
// pixman's OVER, the keyed and the unscaled copy against memcpy of the same bytes, the nearest
// stretch against pixman's nearest SRC. Each benchmark runs its side and the reference in
// alternation and reports the median time of each (thread CPU time: the machine is shared) and
// `x_ref`, the reference's median divided by ours (above 1: ours is faster).
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/RowKernels.h"

using namespace vandrel;

namespace {

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Times ours and the reference in turns, each call `repeat` times per turn.
void Compare(benchmark::State& state, double pixels, const std::function<void()>& ours,
             const std::function<void()>& reference) {
  const int repeat = pixels > 1e6 ? 4 : 30;
  std::vector<double> mine, theirs;
  ours();
  reference();
  for (auto _ : state) {
    double t0 = CpuSeconds();
    for (int i = 0; i < repeat; ++i) ours();
    benchmark::ClobberMemory();
    double t1 = CpuSeconds();
    for (int i = 0; i < repeat; ++i) reference();
    benchmark::ClobberMemory();
    double t2 = CpuSeconds();
    mine.push_back((t1 - t0) / repeat);
    theirs.push_back((t2 - t1) / repeat);
  }
  const double m = Median(mine), r = Median(theirs);
  state.counters["ours_Mpx/s"] = pixels / m / 1e6;
  state.counters["ref_Mpx/s"] = pixels / r / 1e6;
  state.counters["x_ref"] = r / m;
}

// Random colours; alpha 1..254 (no opaque or clear shortcut) or, keyed, a quarter key pixels.
void FillRandom(TseBitmap& b, bool keyed, unsigned seed) {
  std::mt19937 rng(seed);
  const std::ptrdiff_t n = std::ptrdiff_t(b.Width()) * b.Height();
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    TseColor c = TseColor(rng()) & 0x00FFFFFF;
    if (keyed) b.Bits()[i] = rng() % 4 == 0 ? kTransparentKey : c | 0xFF000000u;
    else b.Bits()[i] = c | TseColor(1 + rng() % 254) << 24;
  }
  b.CheckAlpha();
  b.KeyColor(kTransparentKey);
  b.SetHasKey(keyed);
}

// pixman's view of the same pixels: premultiplied where alpha is partial.
struct TPixmanImage {
  TPixmanImage(const TseBitmap& b, pixman_format_code_t format, bool premultiply)
      : pixels(b.Bits(), b.Bits() + std::ptrdiff_t(b.Width()) * b.Height()) {
    if (premultiply)
      for (auto& p : pixels) {
        const unsigned a = p >> 24;
        auto mul = [a](unsigned c) { return (c * a + 127) / 255; };
        p = (a << 24) | mul((p >> 16) & 0xFF) << 16 | mul((p >> 8) & 0xFF) << 8 | mul(p & 0xFF);
      }
    image = pixman_image_create_bits(format, b.Width(), b.Height(), pixels.data(), b.Width() * 4);
  }
  TPixmanImage(int w, int h, pixman_format_code_t format) : pixels(size_t(w) * size_t(h), 0xFF404040) {
    image = pixman_image_create_bits(format, w, h, pixels.data(), w * 4);
  }
  ~TPixmanImage() { pixman_image_unref(image); }
  std::vector<std::uint32_t> pixels;
  pixman_image_t* image;
};

// A source of random pixels in a mode and a target of the source's size (or another).
struct TPair {
  enum TKind { kBlend, kKeyed, kCopy };
  TPair(TKind kind, int w, int h, int tw = 0, int th = 0) {
    src.SetSize(w, h);
    dst.SetSize(tw ? tw : w, th ? th : h);
    FillRandom(src, kind == kKeyed, unsigned(kind) + 1);
    if (kind == kCopy) src.SetHasAlpha(false);
    dst.Fill(0xFF404040);
  }
  void Draw() { src.Draw(dst, 0, 0); }
  TseBitmap src, dst;
};

void AgainstOver(benchmark::State& state, TPair::TKind kind) {
  const int w = int(state.range(0)), h = int(state.range(1));
  TPair pair(kind, w, h);
  TPixmanImage psrc(pair.src, PIXMAN_a8r8g8b8, true), pdst(w, h, PIXMAN_x8r8g8b8);
  Compare(state, double(w) * h, [&] { pair.Draw(); },
          [&] { pixman_image_composite32(PIXMAN_OP_OVER, psrc.image, nullptr, pdst.image, 0, 0, 0, 0, 0, 0, w, h); });
  state.SetLabel(std::string(RowKernels().name));
}

void AgainstMemcpy(benchmark::State& state, TPair::TKind kind) {
  const int w = int(state.range(0)), h = int(state.range(1));
  TPair pair(kind, w, h);
  std::vector<TseColor> a(pair.src.Bits(), pair.src.Bits() + std::ptrdiff_t(w) * h), b(a.size());
  Compare(state, double(w) * h, [&] { pair.Draw(); }, [&] { std::memcpy(b.data(), a.data(), a.size() * 4); });
}

void BM_Blend_vs_PixmanOver(benchmark::State& state) { AgainstOver(state, TPair::kBlend); }
void BM_Keyed_vs_PixmanOver(benchmark::State& state) { AgainstOver(state, TPair::kKeyed); }
void BM_Keyed_vs_Memcpy(benchmark::State& state) { AgainstMemcpy(state, TPair::kKeyed); }
void BM_Copy_vs_Memcpy(benchmark::State& state) { AgainstMemcpy(state, TPair::kCopy); }

// Copy mode, the whole source to the whole target, against pixman's nearest SRC of the same.
void BM_Stretch_vs_PixmanNearest(benchmark::State& state) {
  const int sw = int(state.range(0)), sh = int(state.range(1));
  const int dw = int(state.range(2)), dh = int(state.range(3));
  TPair pair(TPair::kCopy, sw, sh, dw, dh);
  TPixmanImage psrc(pair.src, PIXMAN_x8r8g8b8, false), pdst(dw, dh, PIXMAN_x8r8g8b8);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / dw), pixman_double_to_fixed(double(sh) / dh));
  pixman_image_set_transform(psrc.image, &t);
  pixman_image_set_filter(psrc.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
  Compare(state, double(dw) * dh, [&] { pair.src.Draw(pair.dst, TRect(0, 0, dw, dh), TRect(0, 0, sw, sh)); },
          [&] { pixman_image_composite32(PIXMAN_OP_SRC, psrc.image, nullptr, pdst.image, 0, 0, 0, 0, 0, 0, dw, dh); });
}

void Sizes(benchmark::internal::Benchmark* b) { b->Args({1920, 1080})->Args({392, 570}); }

BENCHMARK(BM_Blend_vs_PixmanOver)->Apply(Sizes)->Iterations(31);
BENCHMARK(BM_Keyed_vs_PixmanOver)->Apply(Sizes)->Iterations(31);
BENCHMARK(BM_Keyed_vs_Memcpy)->Apply(Sizes)->Iterations(31);
BENCHMARK(BM_Copy_vs_Memcpy)->Apply(Sizes)->Iterations(31);
BENCHMARK(BM_Stretch_vs_PixmanNearest)->Args({392, 570, 1920, 1080})->Args({1920, 1080, 392, 570})->Iterations(31);

}  // namespace
