#include "day_cell.h"

#include <utility>

#include "festivals.h"
#include "solar_terms.h"
#include "tdatetime.h"

namespace taliven {

DayCell GetDayCell(int year, int month, int day) {
  const auto date = EncodeDate(year, month, day);
  if (!date) return {};
  if (GbkText festival = GetLunarFestival(*date); !festival.empty()) {
    return {std::move(festival), kLunarFestivalColor};
  }
  if (GbkText term = GetSolarTerm(*date); !term.empty()) return {std::move(term), kSolarTermColor};
  if (GbkText festival = GetSolarFestival(day, *date); !festival.empty()) {
    return {std::move(festival), kSolarFestivalColor};
  }
  GbkText lunarDay = GetLunarDayText(*date);
  if (lunarDay == "初一") return {GetLunarMonthText(*date), kLunarMonthColor};
  return {std::move(lunarDay), kLunarDayColor};
}

}  // namespace taliven
