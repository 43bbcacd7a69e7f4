// The calendar window redrawing its grid: every month 1901-01 .. 2050-12
// through ShowMonth, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "calendar_window.h"
#include "fonts.h"

namespace {

using namespace taliven;

constexpr int kMonths = (2050 - 1901 + 1) * 12;

void BM_ShowEveryMonth(benchmark::State& state) {
  TFRM_Date window;
  window.show();
  for (auto _ : state) {
    for (int year = 1901; year <= 2050; ++year) {
      for (int month = 1; month <= 12; ++month) window.ShowMonth(ClampedDate(year, month, 15));
    }
  }
  state.counters["per_month"] = benchmark::Counter(static_cast<double>(state.iterations()) * kMonths,
                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ShowEveryMonth)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
