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

// The name of the term falling on the date, or the empty text.
GbkText GetSolarTerm(TDateTime date);

}  // namespace taliven
