#pragma once
// The calendar day of a TDateTime as std::chrono's day count. Only for the
// sources built without GBK literals: <chrono> cannot be compiled with them.

#include <chrono>
#include <optional>

#include "tdatetime.h"

namespace taliven {

inline constexpr std::chrono::sys_days kTDateTimeEpoch{std::chrono::year{1899} / std::chrono::December / 30};

// Empty for a value that is not finite or whose day lies outside the years
// 1..9999. The time of day is dropped by rounding down, so that the day
// after is date + 1 on both sides of the epoch.
inline std::optional<std::chrono::sys_days> CalendarDay(TDateTime date) {
  using namespace std::chrono;
  constexpr double kFirst = (sys_days{year{1} / January / 1} - kTDateTimeEpoch).count();
  constexpr double kEnd = (sys_days{year{9999} / December / 31} - kTDateTimeEpoch).count() + 1;
  // Tested on the double, so that huge values and NaN never reach an integer conversion.
  if (!(date >= kFirst && date < kEnd)) return std::nullopt;
  int serial = static_cast<int>(date);  // toward zero
  if (serial > date) --serial;
  return kTDateTimeEpoch + days{serial};
}

}  // namespace taliven
