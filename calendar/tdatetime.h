#pragma once
// Dates as the calendar sees them: a TDateTime counts days since 1899-12-30,
// its fraction being the time of day. The arithmetic behind these helpers is
// std::chrono's civil calendar. This header stays free of <chrono>: the GBK
// translation units that include it cannot compile <chrono>, whose units
// table holds a character GBK lacks (see calendar_day.h).

#include <optional>

namespace taliven {

using TDateTime = double;

struct CivilDate {
  int year;   // 1..9999
  int month;  // 1..12
  int day;    // 1..31
};

// The calendar day of `date`, the time of day dropped (the day after is always
// date + 1, also before 1899-12-30). Empty for a value that is not finite or
// whose day lies outside the years 1..9999.
std::optional<CivilDate> DecodeDate(TDateTime date);

// Midnight of year-month-day; empty when that day does not exist or lies
// outside the years 1..9999.
std::optional<TDateTime> EncodeDate(int year, int month, int day);

// For years 1..9999.
bool IsLeapYear(int year);

// 28..31; 0 for a year outside 1..9999 or a month outside 1..12.
int DaysInMonth(int year, int month);

// 1..366, 1 January = 1; 0 when the date does not exist.
int DayOfYear(int year, int month, int day);

// 1 = Sunday, 2 = Monday .. 7 = Saturday; 0 when the date does not exist.
int DayOfWeek(int year, int month, int day);

}  // namespace taliven
