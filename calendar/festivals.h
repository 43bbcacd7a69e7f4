#pragma once
// The short texts the calendar writes under its days and into its captions:
// lunar month and day names, lunar and Gregorian festivals, the year's branch
// and animal, and the star sign. Lunar texts are empty outside 1901..2050.

#include "gbk_text.h"
#include "tdatetime.h"

namespace taliven {

// "正月" .. "腊月"; a leap month as "闰" and its name without "月" ("闰四").
GbkText GetLunarMonthText(TDateTime date);

// "初一" .. "三十", the same for leap months.
GbkText GetLunarDayText(TDateTime date);

// "春节", "除夕", "中秋节" ...; never on a day of a leap month.
GbkText GetLunarFestival(TDateTime date);

// Branch and animal of the lunar year the date lies in ("辰龙"); outside the
// lunar range, of the Gregorian year. Empty for a value DecodeDate cannot place.
GbkText GetZodiacText(TDateTime date);

// The Gregorian festival of day `day` of the date's month; empty when there is
// none or the month has no such day.
GbkText GetSolarFestival(int day, TDateTime date);

// The star sign of day `day` of the date's month; empty when the month has no
// such day.
GbkText GetConstellation(int day, TDateTime date);

}  // namespace taliven
