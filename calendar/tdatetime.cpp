#include "tdatetime.h"

#include <chrono>

#include "calendar_day.h"

namespace taliven {
namespace {

using namespace std::chrono;

std::optional<year_month_day> MakeDate(int y, int m, int d) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!date.ok()) return std::nullopt;
  return date;
}

}  // namespace

std::optional<CivilDate> DecodeDate(TDateTime date) {
  const auto day = CalendarDay(date);
  if (!day) return std::nullopt;
  const year_month_day civil{*day};
  return CivilDate{static_cast<int>(civil.year()), static_cast<int>(unsigned{civil.month()}),
                   static_cast<int>(unsigned{civil.day()})};
}

std::optional<TDateTime> EncodeDate(int year, int month, int day) {
  const auto date = MakeDate(year, month, day);
  if (!date) return std::nullopt;
  return (sys_days{*date} - kTDateTimeEpoch).count();
}

bool IsLeapYear(int y) { return year{y}.is_leap(); }

int DaysInMonth(int y, int m) {
  if (y < 1 || y > 9999 || m < 1 || m > 12) return 0;
  return static_cast<int>(unsigned{(year{y} / month{static_cast<unsigned>(m)} / last).day()});
}

int DayOfYear(int y, int m, int d) {
  const auto date = MakeDate(y, m, d);
  if (!date) return 0;
  return (sys_days{*date} - sys_days{date->year() / January / 1}).count() + 1;
}

int DayOfWeek(int y, int m, int d) {
  const auto date = MakeDate(y, m, d);
  if (!date) return 0;
  return static_cast<int>(weekday{sys_days{*date}}.c_encoding()) + 1;
}

}  // namespace taliven
