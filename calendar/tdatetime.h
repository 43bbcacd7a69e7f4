#pragma once
// Dates as the calendar sees them: a TDateTime counts days since 1899-12-30,
// its fraction being the time of day. Everything here goes through
// std::chrono's civil calendar; nothing counts days by hand.

#include <chrono>
#include <optional>

namespace taliven {

using TDateTime = double;

// The calendar day of `date`, the time of day dropped (the day after is always
// date + 1, also before 1899-12-30). Empty for a value that is not finite or
// whose day lies outside the years 1..9999.
std::optional<std::chrono::year_month_day> DecodeDate(TDateTime date);

// Midnight of year-month-day; empty when that day does not exist or lies
// outside the years 1..9999.
std::optional<TDateTime> EncodeDate(int year, int month, int day);

// Midnight of a valid date of the years 1..9999.
TDateTime EncodeDate(std::chrono::year_month_day date);

bool IsLeapYear(int year);

// 28..31; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// 1 = Sunday, 2 = Monday .. 7 = Saturday; 0 when the date does not exist.
int DayOfWeek(int year, int month, int day);

}  // namespace taliven
