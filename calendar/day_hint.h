#pragma once
// What the calendar window says of a day when the pointer rests on it: the
// day in full, its lunar date, festivals and term, and its almanac.

#include <vector>

#include "gbk_text.h"
#include "holidays.h"

namespace taliven {

// One line a fact, for example "2026年12月10日 星期四", "农历冬月初二", the
// festivals and term of the day where it has any, what the arrangement of
// public holidays makes of it ("国庆节 休", "国庆节 调休上班") where it names
// the day, then the almanac's lines. Empty for a day that does not exist.
std::vector<GbkText> DayHintLines(int year, int month, int day, const HolidayMark& holiday);

}  // namespace taliven
