#pragma once
// The large GB2312 text the pinyin figures are taken on. pinyin_bench converts
// it and write_gb2312_text hands the same bytes to the peers outside C++.

#include <cstddef>
#include <cstdint>
#include <string>

namespace taliven::bench {

// About 8 MB of GB2312 ideographs with an ASCII word now and then, the same
// bytes on every run (a fixed linear congruential sequence).
inline const std::string& Gb2312Text() {
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

}  // namespace taliven::bench
