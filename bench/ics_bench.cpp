// taliven-cli's iCalendar file and its day lines over the whole calendar,
// 1901-01-01 .. 2050-12-31, as the commands build them before writing.
#include <benchmark/benchmark.h>

#include "ics.h"

namespace {

using namespace taliven::cli;

IcsRequest WholeRange() {
  IcsRequest request;
  request.from = {1901, 1, 1};
  request.to = {2050, 12, 31};
  return request;
}

void BM_IcsWholeRange(benchmark::State& state) {
  const IcsRequest request = WholeRange();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string file = WriteIcs(request);
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_IcsWholeRange)->Unit(benchmark::kMillisecond);

// Three yearly anniversaries on top: one plain, one in a leap month most
// years lack, one on day 30.
void BM_IcsWholeRangeWithAnniversaries(benchmark::State& state) {
  IcsRequest request = WholeRange();
  request.anniversaries = {ParseAnniversary("奶奶生日=8-15"), ParseAnniversary("爷爷生日=L4-10"),
                           ParseAnniversary("纪念日=12-30")};
  for (auto _ : state) benchmark::DoNotOptimize(WriteIcs(request).data());
}
BENCHMARK(BM_IcsWholeRangeWithAnniversaries)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
