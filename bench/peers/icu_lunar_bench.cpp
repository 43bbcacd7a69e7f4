// Peer figures: ICU's Chinese calendar on the work calendar_bench gives our
// lunar conversion: one date at a time, and every date 1901-01-01 .. 2050-12-31.
// Measured only; the program never links ICU.
#include <benchmark/benchmark.h>
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/uvernum.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "lunar.h"

namespace {

using namespace taliven;

const TDateTime kFirst = *EncodeDate(1901, 1, 1);
const int kDays = static_cast<int>(*EncodeDate(2050, 12, 31) - kFirst) + 1;
constexpr double kUnixEpochDay = 25569;  // 1970-01-01 as a TDateTime
constexpr double kMillisPerDay = 86400000;

// The same stride as calendar_bench, so both meet the same dates.
TDateTime NthDate(int n) { return kFirst + (n * 7919) % kDays; }

std::unique_ptr<icu::Calendar> CreateChineseCalendar() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Calendar> calendar(
      icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), icu::Locale("zh_CN@calendar=chinese"), status));
  if (U_FAILURE(status) || !calendar) {
    std::fprintf(stderr, "ICU: no Chinese calendar (%s)\n", u_errorName(status));
    std::exit(1);
  }
  return calendar;
}

// The lunar date of `date` packed as a LunarCode, 0 when ICU fails.
LunarCode IcuLunarCode(icu::Calendar& calendar, TDateTime date) {
  UErrorCode status = U_ZERO_ERROR;
  // Noon UTC, so the day is never taken from a neighbouring midnight.
  calendar.setTime((date - kUnixEpochDay + 0.5) * kMillisPerDay, status);
  const int month = calendar.get(UCAL_MONTH, status) + 1;
  const int day = calendar.get(UCAL_DATE, status);
  const bool leap = calendar.get(UCAL_IS_LEAP_MONTH, status) != 0;
  if (U_FAILURE(status)) return 0;
  const LunarCode code = month * 100 + day;
  return leap ? -code : code;
}

void BM_IcuLunarCode(benchmark::State& state) {
  auto calendar = CreateChineseCalendar();
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(IcuLunarCode(*calendar, NthDate(n++)));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IcuLunarCode);

void BM_IcuLunarCodeOfTheWholeRange(benchmark::State& state) {
  auto calendar = CreateChineseCalendar();
  for (auto _ : state) {
    for (int day = 0; day < kDays; ++day) benchmark::DoNotOptimize(IcuLunarCode(*calendar, kFirst + day));
  }
  state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(BM_IcuLunarCodeOfTheWholeRange)->Unit(benchmark::kMillisecond);

// The figures compare like with like only if both answer the same question:
// the days on which ICU and GetLunarCode agree, and the months where they don't.
struct Agreement {
  int days = 0;
  std::string other_months;  // "YYYY-MM YYYY-MM ..."
};

Agreement CompareWithGetLunarCode() {
  auto calendar = CreateChineseCalendar();
  Agreement agreement;
  std::string last_month;
  for (int day = 0; day < kDays; ++day) {
    const TDateTime date = kFirst + day;
    if (IcuLunarCode(*calendar, date) == GetLunarCode(date)) {
      ++agreement.days;
      continue;
    }
    const CivilDate civil = *DecodeDate(date);
    char month[16];
    std::snprintf(month, sizeof month, "%04d-%02d", civil.year, civil.month);
    if (month == last_month) continue;
    last_month = month;
    if (!agreement.other_months.empty()) agreement.other_months += ' ';
    agreement.other_months += month;
  }
  return agreement;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::AddCustomContext("icu_version", U_ICU_VERSION);
  const Agreement agreement = CompareWithGetLunarCode();
  benchmark::AddCustomContext("agreeing_days", std::to_string(agreement.days));
  benchmark::AddCustomContext("disagreeing_months", agreement.other_months);
  benchmark::AddCustomContext("days", std::to_string(kDays));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
