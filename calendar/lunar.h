#pragma once
// Gregorian dates to lunar dates (农历) and back, 1901-01-01 .. 2050-12-31,
// from one four-byte record per Gregorian year.

#include <cstdint>
#include <optional>

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

// The Gregorian year in which the lunar year of `date` began on its 正月初一:
// 1900 for 1901-01-01 .. 1901-02-18, 1901 from 1901-02-19 on; 0 outside
// 1901-01-01 .. 2050-12-31.
int GetLunarYear(TDateTime date);

// A lunar day by its name: the lunar year as GetLunarYear counts it, the
// month 1..12 (its leap month when `leap`) and the day 1..30.
struct LunarDay {
  int year;
  int month;
  bool leap;
  int day;
};

// What the reverse look-up found for a lunar day.
struct LunarDayLookup {
  enum class Outcome {
    kFound,
    kNotALunarDay,     // the month is not 1..12 or the day not 1..30
    kNoSuchLeapMonth,  // the year has no leap month of that number
    kMonthTooShort,    // the month has only monthLength days
    kBeforeRange,      // the day lies before 1901-01-01
    kAfterRange,       // the day lies after 2050-12-31
  };
  Outcome outcome;
  CivilDate date{};     // when found
  int monthLength = 0;  // 29 or 30 when the month exists
};

// The Gregorian date of a lunar day, the reverse of GetLunarCode and
// GetLunarYear over the same table.
LunarDayLookup FindLunarDay(const LunarDay& day);

// Where a yearly lunar anniversary falls in lunar year `anniversary.year`,
// by the customary rules: day 30 of a month of 29 days falls on its day 29,
// and a leap month that the year lacks gives way to the ordinary month of
// that number. Empty when the date lies outside 1901-01-01 .. 2050-12-31.
std::optional<CivilDate> FindLunarAnniversary(const LunarDay& anniversary);

}  // namespace taliven
