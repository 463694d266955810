// Lunar conversion of every day 1901..2050, against plain date decoding of the same days as the
// reference measured in the same run.
#include <benchmark/benchmark.h>

#include "calendar/Lunar.h"

using namespace vandrel;

namespace {

const TDateTime kFirst = EncodeDate(1901, 1, 1);
const TDateTime kLast = EncodeDate(2050, 12, 31);

void BM_DecodeEveryDay(benchmark::State& state) {
  for (auto _ : state) {
    int sum = 0;
    for (TDateTime d = kFirst; d <= kLast; d += 1) {
      int y, m, day;
      DecodeDate(d, y, m, day);
      sum += day;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kLast - kFirst + 1));
}

void BM_LunarDateCodeEveryDay(benchmark::State& state) {
  for (auto _ : state) {
    int sum = 0;
    for (TDateTime d = kFirst; d <= kLast; d += 1) sum += LunarDateCode(d);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kLast - kFirst + 1));
}

void BM_LunarNamesEveryDay(benchmark::State& state) {
  for (auto _ : state) {
    size_t length = 0;
    for (TDateTime d = kFirst; d <= kLast; d += 1) length += (LunarMonthName(d) + LunarDayName(d)).size();
    benchmark::DoNotOptimize(length);
  }
  state.SetItemsProcessed(state.iterations() * int64_t(kLast - kFirst + 1));
}

}  // namespace

BENCHMARK(BM_DecodeEveryDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LunarDateCodeEveryDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LunarNamesEveryDay)->Unit(benchmark::kMillisecond);
