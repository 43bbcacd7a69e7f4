#pragma once
// What the calendar grid writes under a day number, and in which colour. The
// calendar window and the terminal companion both take it from here.

#include <cstdint>

#include "gbk_text.h"

namespace taliven {

// Colours as 0xRRGGBB.
inline constexpr std::uint32_t kLunarDayColor = 0x004000;
inline constexpr std::uint32_t kLunarMonthColor = 0xFF0000;
inline constexpr std::uint32_t kSolarFestivalColor = 0xFF8000;
inline constexpr std::uint32_t kSolarTermColor = 0x5353FF;
inline constexpr std::uint32_t kLunarFestivalColor = 0xFF8000;

struct DayCell {
  GbkText text;
  std::uint32_t color = kLunarDayColor;
};

// The strongest text of the day: lunar festival, then solar term, then
// Gregorian festival, then the lunar month's name on its first day (never
// "初一"), then the lunar day's name. Empty text for a day that does not
// exist or lies outside the lunar range with nothing else to show.
DayCell GetDayCell(int year, int month, int day);

}  // namespace taliven
