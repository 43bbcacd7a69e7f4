// Initials conversion of a large GB2312 text against a plain copy of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "pinyin.h"

namespace {

// About 8 MB of GB2312 ideographs with an ASCII word now and then, the same
// bytes on every run (a fixed linear congruential sequence).
const std::string& Gb2312Text() {
  static const std::string text = [] {
    constexpr std::size_t kSize = 8 << 20;
    std::string bytes;
    bytes.reserve(kSize + 8);
    std::uint32_t state = 20240601;
    while (bytes.size() < kSize) {
      state = state * 1664525u + 1013904223u;
      if ((state >> 24) < 8) {
        bytes += "QQ2008 ";
        continue;
      }
      const unsigned lead = 0xB0 + (state >> 8) % (0xF7 - 0xB0 + 1);
      const unsigned trail = 0xA1 + (state >> 16) % (0xFE - 0xA1 + 1);
      bytes += static_cast<char>(lead);
      bytes += static_cast<char>(trail);
    }
    return bytes;
  }();
  return text;
}

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
