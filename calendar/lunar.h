#pragma once
// Gregorian dates to lunar dates (农历), 1901-01-01 .. 2050-12-31, from one
// four-byte record per Gregorian year.

#include <cstdint>

#include "tdatetime.h"

namespace taliven {

inline constexpr int kFirstLunarYear = 1901;
inline constexpr int kLastLunarYear = 2050;
inline constexpr int kCalendarYears = kLastLunarYear - kFirstLunarYear + 1;

// A packed lunar date: month * 100 + day, negated for a leap month; 0 for a
// date outside 1901-01-01 .. 2050-12-31. Read the month as code / 100
// (negative for a leap month) and the day as |code| % 100.
using LunarCode = std::int32_t;

// 1..366, 1 January = 1; 0 for a value DecodeDate cannot place.
int GetDayOfYear(TDateTime date);

LunarCode GetLunarCode(TDateTime date);

}  // namespace taliven
