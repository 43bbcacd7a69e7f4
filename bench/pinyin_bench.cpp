// Initials conversion of a large GB2312 text against a plain copy of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "gb2312_text.h"
#include "pinyin.h"

namespace {

using taliven::bench::Gb2312Text;

void BM_PinyinInitials(benchmark::State& state) {
  const std::string& text = Gb2312Text();
  for (auto _ : state) {
    taliven::GbkText result = taliven::ConvertToPinyin(text, taliven::pyMarkUnknown, INT32_MAX);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PinyinInitials)->Unit(benchmark::kMillisecond);

void BM_PinyinFullSyllables(benchmark::State& state) {
  const std::string& text = Gb2312Text();
  for (auto _ : state) {
    taliven::GbkText result = taliven::ConvertToPinyin(text, taliven::pyFullSyllable, INT32_MAX);
    benchmark::DoNotOptimize(result.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PinyinFullSyllables)->Unit(benchmark::kMillisecond);

// The floor: copying the same buffer into a fresh string.
void BM_Memcpy(benchmark::State& state) {
  const std::string& text = Gb2312Text();
  for (auto _ : state) {
    std::string copy(text.size(), '\0');
    std::memcpy(copy.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
