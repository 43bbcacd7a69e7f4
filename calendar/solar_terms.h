#pragma once
// The 24 solar terms (节气), two in every Gregorian month, looked up per day
// for the years 1901..2050.

#include <cstdint>

#include "gbk_text.h"
#include "tdatetime.h"

namespace taliven {

// The number (1..24) of the term falling on that day, 0 for none; 0 as well
// for a year outside 1901..2050 or a month outside 1..12.
std::uint16_t SolarTermDay(std::uint16_t year, std::uint16_t month, std::uint16_t day);

// The day of the month on which term `number` (1..24: 小寒 .. 冬至, the odd
// ones early in month (number + 1) / 2, the even ones late in it) falls in
// `year`; 0 for a year outside 1901..2050 or a number outside 1..24.
int SolarTermDayOfMonth(int year, int number);

// The name of the term falling on the date, or the empty text.
GbkText GetSolarTerm(TDateTime date);

}  // namespace taliven
