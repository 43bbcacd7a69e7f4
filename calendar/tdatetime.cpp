#include "tdatetime.h"

#include <cmath>

namespace taliven {
namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = 1899y / December / 30;
constexpr sys_days kFirstDay = year{1} / January / 1;
constexpr sys_days kLastDay = year{9999} / December / 31;

std::optional<year_month_day> MakeDate(int y, int m, int d) {
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
  if (!date.ok()) return std::nullopt;
  return date;
}

}  // namespace

std::optional<year_month_day> DecodeDate(TDateTime date) {
  // The range test runs on the double so that huge values and NaN never
  // reach an integer conversion.
  const double serial = std::floor(date);
  if (!(serial >= (kFirstDay - kEpoch).count() && serial <= (kLastDay - kEpoch).count())) {
    return std::nullopt;
  }
  return year_month_day{kEpoch + days{static_cast<int>(serial)}};
}

std::optional<TDateTime> EncodeDate(int year, int month, int day) {
  const auto date = MakeDate(year, month, day);
  if (!date) return std::nullopt;
  return EncodeDate(*date);
}

TDateTime EncodeDate(year_month_day date) { return (sys_days{date} - kEpoch).count(); }

bool IsLeapYear(int y) { return year{y}.is_leap(); }

int DaysInMonth(int y, int m) {
  if (m < 1 || m > 12) return 0;
  return static_cast<int>(unsigned{(year{y} / month{static_cast<unsigned>(m)} / last).day()});
}

int DayOfWeek(int year, int month, int day) {
  const auto date = MakeDate(year, month, day);
  if (!date) return 0;
  return static_cast<int>(weekday{sys_days{*date}}.c_encoding()) + 1;
}

}  // namespace taliven
