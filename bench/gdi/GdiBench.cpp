// Drawing throughput against memcpy of the same bytes, measured in the same run: each benchmark
// reports `x_memcpy`, its time per iteration divided by the time memcpy takes to copy the bytes
// the operation writes (1 = as fast as memcpy, 10 = ten times slower).
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/Gdi.h"

using namespace vandrel;

namespace {

struct TCanvas {
  TCanvas(int w, int h) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
    dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
  }
  ~TCanvas() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HBITMAP bitmap;
  HDC dc;
  void* bits = nullptr;
};

// Thread CPU time, so that other processes on the shared machine do not skew either side.
double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// CPU seconds memcpy needs for `bytes`, the median of several timed runs.
double MemcpySeconds(size_t bytes) {
  static std::vector<char> a, b;
  a.assign(bytes, 1);
  b.assign(bytes, 0);
  std::vector<double> runs;
  for (int r = 0; r < 15; ++r) {
    int reps = bytes > (1 << 20) ? 20 : 2000;
    double t0 = CpuSeconds();
    for (int i = 0; i < reps; ++i) {
      std::memcpy(b.data(), a.data(), bytes);
      benchmark::ClobberMemory();
    }
    runs.push_back((CpuSeconds() - t0) / reps);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

// Runs the measured loop and reports bytes per second and the ratio to memcpy, both in thread
// CPU time.
template <class F>
void Measure(benchmark::State& state, size_t bytes, F&& body) {
  double reference = MemcpySeconds(bytes);
  double t0 = CpuSeconds();
  for (auto _ : state) {
    body();
    benchmark::ClobberMemory();
  }
  double elapsed = CpuSeconds() - t0;
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
  state.counters["x_memcpy"] = elapsed / double(state.iterations()) / reference;
}

void BM_FillRect(benchmark::State& state) {
  int w = int(state.range(0)), h = int(state.range(1));
  TCanvas c(w, h);
  HBRUSH brush = CreateSolidBrush(RGB(212, 208, 200));
  size_t bytes = size_t(w) * size_t(h) * 4;
  Measure(state, bytes, [&] {
    FillRect(c.dc, {0, 0, w, h}, brush);
  });
  DeleteObject(brush);
}

void BM_BitBlt(benchmark::State& state) {
  int w = int(state.range(0)), h = int(state.range(1));
  TCanvas src(w, h), dst(w, h);
  size_t bytes = size_t(w) * size_t(h) * 4;
  Measure(state, bytes, [&] {
    BitBlt(dst.dc, 0, 0, w, h, src.dc, 0, 0, SRCCOPY);
  });
}

void BM_StretchBlt(benchmark::State& state) {
  TCanvas src(100, 100), dst(1024, 768);
  size_t bytes = size_t(1024) * 768 * 4;
  Measure(state, bytes, [&] {
    StretchBlt(dst.dc, 0, 0, 1024, 768, src.dc, 0, 0, 100, 100, SRCCOPY);
  });
}

// A 40-character Chinese line at 16 px (the tree's Song face), glyphs cached after the first run.
void BM_TextOutChinese16(benchmark::State& state) {
  TCanvas c(700, 24);
  HFONT font = CreateFont(-16, 0, 0, 0, FW_NORMAL, false, false, false, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
  SelectObject(c.dc, font);
  SetBkMode(c.dc, TRANSPARENT);
  const char* line = "信息提示本日提示事件提示明日提示后天提示昨天提示本月提示下月提示农历四月初五星期日";
  TSize size;
  GetTextExtentPoint32(c.dc, line, &size);
  size_t bytes = size_t(size.cx) * size_t(size.cy) * 4;
  Measure(state, bytes, [&] {
    TextOut(c.dc, 0, 0, line);
  });
  state.counters["width_px"] = size.cx;
  DeleteObject(font);
}

void BM_DrawTextStatusLine(benchmark::State& state) {
  TCanvas c(300, 20);
  HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, 0, 0, 0, 0,
                  "MS Sans Serif");
  SelectObject(c.dc, font);
  SetBkMode(c.dc, TRANSPARENT);
  TRect r{0, 0, 300, 20};
  const char* line = "2024-5-12  农历四月初五  星期日";
  TRect calc = r;
  DrawText(c.dc, line, &calc, DT_SINGLELINE | DT_CALCRECT);
  size_t bytes = size_t(calc.Width()) * size_t(calc.Height()) * 4;
  Measure(state, bytes, [&] {
    TRect rr = r;
    DrawText(c.dc, line, &rr, DT_SINGLELINE | DT_VCENTER);
  });
  DeleteObject(font);
}

}  // namespace

BENCHMARK(BM_FillRect)->Args({1024, 768})->Args({382, 600})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BitBlt)->Args({1024, 768})->Args({382, 600})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StretchBlt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextOutChinese16)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawTextStatusLine)->Unit(benchmark::kMicrosecond);
