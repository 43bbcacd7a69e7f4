// The calendar engine: one lunar conversion, every text of one day, and every
// text of every day 1901-01-01 .. 2050-12-31; the same for the day's almanac.
#include <benchmark/benchmark.h>

#include "almanac.h"
#include "day_cell.h"
#include "festivals.h"
#include "lunar.h"
#include "solar_terms.h"

namespace {

using namespace taliven;

const TDateTime kFirst = *EncodeDate(1901, 1, 1);
const int kDays = static_cast<int>(*EncodeDate(2050, 12, 31) - kFirst) + 1;

// Every text the calendar shows for a day, as the window and taliven-cli ask for them.
void AllTextsOf(TDateTime date) {
  const CivilDate civil = *DecodeDate(date);
  benchmark::DoNotOptimize(GetLunarCode(date));
  benchmark::DoNotOptimize(GetLunarMonthText(date));
  benchmark::DoNotOptimize(GetLunarDayText(date));
  benchmark::DoNotOptimize(GetLunarFestival(date));
  benchmark::DoNotOptimize(GetSolarTerm(date));
  benchmark::DoNotOptimize(GetSolarFestival(civil.day, date));
  benchmark::DoNotOptimize(GetZodiacText(date));
  benchmark::DoNotOptimize(GetConstellation(civil.day, date));
  benchmark::DoNotOptimize(GetDayCell(civil.year, civil.month, civil.day));
}

// Strides through the range so that every month position and year is met.
TDateTime NthDate(int n) { return kFirst + (n * 7919) % kDays; }

void BM_GetLunarCode(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(GetLunarCode(NthDate(n++)));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetLunarCode);

void BM_GetLunarCodeOfTheWholeRange(benchmark::State& state) {
  for (auto _ : state) {
    for (int day = 0; day < kDays; ++day) benchmark::DoNotOptimize(GetLunarCode(kFirst + day));
  }
  state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(BM_GetLunarCodeOfTheWholeRange)->Unit(benchmark::kMillisecond);

void BM_AllTextsOfADay(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) AllTextsOf(NthDate(n++));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AllTextsOfADay);

void BM_AllTextsOfTheWholeRange(benchmark::State& state) {
  for (auto _ : state) {
    for (int day = 0; day < kDays; ++day) AllTextsOf(kFirst + day);
  }
  state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(BM_AllTextsOfTheWholeRange)->Unit(benchmark::kMillisecond);

void BM_AlmanacOfADay(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(GetAlmanac(NthDate(n++)));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AlmanacOfADay);

void BM_AlmanacOfTheWholeRange(benchmark::State& state) {
  for (auto _ : state) {
    for (int day = 0; day < kDays; ++day) benchmark::DoNotOptimize(GetAlmanac(kFirst + day));
  }
  state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(BM_AlmanacOfTheWholeRange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
