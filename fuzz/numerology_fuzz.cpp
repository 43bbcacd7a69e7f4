// Feeds arbitrary bytes to the QQ number reading as a pasted number: it must
// accept exactly the signed 64-bit decimal integers and pick the entry of the
// number's truncated remainder modulo 81.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "numerology.h"

namespace {

using namespace taliven;

void Check(bool condition) {
  if (!condition) std::abort();
}

// An independent reading of the accepted form: sign, digits, int64 range.
std::optional<__int128> ExpectedValue(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  __int128 magnitude = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > (__int128{1} << 63)) return std::nullopt;
  }
  const __int128 value = negative ? -magnitude : magnitude;
  if (value > INT64_MAX) return std::nullopt;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<__int128> expected = ExpectedValue(text);
  try {
    const GbkText entry = GetNumberReading(text);
    Check(expected.has_value());
    const auto remainder = static_cast<int>(*expected % 81);
    Check(entry ==
          (remainder < 0 ? GbkText(NumberReadingDefault) : NumberReadings[static_cast<std::size_t>(remainder)]));
    const NumberReadingLines lines = SplitNumberReading(text, entry);
    Check(lines.number == text);
    Check(remainder < 0 ? lines.details == entry : entry == lines.verdict + "|" + lines.luck + "|" + lines.details);
  } catch (const IntegerConversionError& e) {
    Check(!expected.has_value());
    Check(e.text() == text);
  }
  return 0;
}
