// Arbitrary bytes as a holidays.txt: whatever the file holds, every day kept
// is a real date of the year it is filed under, each year's days are in date
// order, and every problem names a line of the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "holidays.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace taliven;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const HolidayFile file = ParseHolidayFile(text);
  const auto require = [](bool condition) {
    if (!condition) std::abort();
  };
  std::size_t lines = 0;
  for (const char c : text) lines += c == '\n';
  for (const HolidayFileProblem& problem : file.problems) {
    require(problem.line >= 1 && static_cast<std::size_t>(problem.line) <= lines + 1);
  }
  HolidayArrangements arrangements;
  for (const auto& [year, days] : file.years) {
    double previous = -1e300;
    for (const HolidayDay& day : days) {
      const auto date = EncodeDate(day.date.year, day.date.month, day.date.day);
      require(date && day.date.year == year && *date > previous && day.dayOff != DayOff::kNone);
      require(!day.holiday.empty());
      previous = *date;
    }
    arrangements.Replace(year, days);
    for (const HolidayDay& day : days) {
      require(arrangements.Find(day.date.year, day.date.month, day.date.day).dayOff == day.dayOff);
    }
  }
  return 0;
}
