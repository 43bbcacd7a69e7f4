// Arbitrary TDateTime values (NaN, infinities, huge, negative, fractions) and
// arbitrary day, month and year numbers through every operation of the
// calendar engine. Beyond the sanitizers' checks, the answers must keep to
// their documented ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "almanac.h"
#include "day_cell.h"
#include "day_hint.h"
#include "festivals.h"
#include "lunar.h"
#include "solar_terms.h"

namespace {

using namespace taliven;

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  const std::size_t n = size < sizeof value ? size : sizeof value;
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto date = Take<double>(data, size);
  const auto day = Take<std::int32_t>(data, size);
  const auto year = Take<std::uint16_t>(data, size);
  const auto month = Take<std::uint16_t>(data, size);
  const auto termDay = Take<std::uint16_t>(data, size);

  const LunarCode code = GetLunarCode(date);
  Require(code == 0 || (std::abs(code) / 100 >= 1 && std::abs(code) / 100 <= 12 && std::abs(code) % 100 >= 1 &&
                        std::abs(code) % 100 <= 30));
  const int dayOfYear = GetDayOfYear(date);
  Require(dayOfYear >= 0 && dayOfYear <= 366);
  if (const auto civil = DecodeDate(date)) {
    const auto encoded = EncodeDate(civil->year, civil->month, civil->day);
    Require(encoded && *encoded <= date && date < *encoded + 1);
  }

  GetLunarMonthText(date);
  GetLunarDayText(date);
  GetLunarFestival(date);
  GetZodiacText(date);
  GetSolarTerm(date);
  GetSolarFestival(day, date);
  GetConstellation(day, date);

  const Almanac almanac = GetAlmanac(date);
  Require(almanac.dayGanZhi.empty() == (code == 0) && (almanac.huangDao ? code != 0 : true));
  AlmanacLines(almanac);
  DayHintLines(day, month, year, {});

  Require(SolarTermDay(year, month, termDay) <= 24);
  Require(SolarTermDayOfMonth(year, termDay) <= 31);
  GetDayCell(year, month, day);
  GetDayCell(day, static_cast<std::int16_t>(month), static_cast<std::int16_t>(year));
  Require(DaysInMonth(day, month) <= 31);
  Require(DayOfWeek(day, static_cast<std::int16_t>(month), year) <= 7);
  Require(DayOfYear(year, month, day) <= 366);
  IsLeapYear(year);
  return 0;
}
