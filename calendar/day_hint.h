#pragma once
// What the calendar window says of a day when the pointer rests on it: the
// day in full, its lunar date, festivals and term, and its almanac.

#include <vector>

#include "gbk_text.h"

namespace taliven {

// One line a fact, for example "2026年12月10日 星期四", "农历冬月初二", the
// festivals and term of the day where it has any, then the almanac's lines.
// Empty for a day that does not exist.
std::vector<GbkText> DayHintLines(int year, int month, int day);

}  // namespace taliven
