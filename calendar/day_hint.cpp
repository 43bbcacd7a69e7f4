#include "day_hint.h"

#include <string>

#include "almanac.h"
#include "festivals.h"
#include "solar_terms.h"
#include "tdatetime.h"

namespace taliven {
namespace {

constexpr const char* kWeekdayNames[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};

GbkText FullDate(int year, int month, int day) {
  return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日 " +
         kWeekdayNames[DayOfWeek(year, month, day) - 1];
}

// "农历冬月初二"; a leap month's text lacks the "月" of an ordinary one ("闰四").
GbkText LunarDate(TDateTime date) {
  GbkText month = GetLunarMonthText(date);
  if (month.empty()) return {};
  if (month.compare(month.size() - 2, 2, "月") != 0) month += "月";
  return "农历" + month + GetLunarDayText(date);
}

// The day's lunar festival, solar term and Gregorian festival: the grid
// shows only the first of them.
GbkText Occasions(int day, TDateTime date) {
  GbkText line;
  for (const GbkText& occasion : {GetLunarFestival(date), GetSolarTerm(date), GetSolarFestival(day, date)}) {
    if (occasion.empty()) continue;
    if (!line.empty()) line += " ";
    line += occasion;
  }
  return line;
}

GbkText DayOffLine(const HolidayMark& holiday) {
  switch (holiday.dayOff) {
    case DayOff::kOff: return holiday.holiday + " 休";
    case DayOff::kWork: return holiday.holiday + " 调休上班";
    case DayOff::kNone: break;
  }
  return {};
}

}  // namespace

std::vector<GbkText> DayHintLines(int year, int month, int day, const HolidayMark& holiday) {
  const auto date = EncodeDate(year, month, day);
  if (!date) return {};
  std::vector<GbkText> lines{FullDate(year, month, day)};
  for (GbkText line : {LunarDate(*date), Occasions(day, *date), DayOffLine(holiday)}) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  for (GbkText& line : AlmanacLines(GetAlmanac(*date))) lines.push_back(std::move(line));
  return lines;
}

}  // namespace taliven
