#include "lunar.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <span>

#include "calendar_day.h"

namespace taliven {
namespace {

// Byte 0 (the high byte): bit 7 set when the window of 16 lunar months starts
// with the 12th month rather than the 11th, bits 0-6 the lunar day of 1 January.
// Bytes 1-2: one bit per window month, first month highest, set = 30 days.
// Byte 3: the month followed by its leap month, 0 for none.
using LunarYearRecord = std::uint32_t;

// clang-format off
constexpr std::array<LunarYearRecord, kCalendarYears> LunarYearTable{
    0x0B52BA00, 0x16A95D00, 0x83A93705, 0x0E749B00, 0x1AB65500, 0x87B55504,  // 1901-1906
    0x1155AA00, 0x1CA6B500, 0x8AA57502, 0x1452BA00, 0x81526E06, 0x0DE93700,  // 1907-1912
    0x18749700, 0x86EA9605, 0x106D5500, 0x1A35AA00, 0x884B6A02, 0x13A56D00,  // 1913-1918
    0x1ED26E07, 0x0BD25E00, 0x17E92E00, 0x84D92D05, 0x0FDA9500, 0x195B5200,  // 1919-1924
    0x8756D404, 0x114ADA00, 0x1CA55D00, 0x89A4BD02, 0x15D25D00, 0x82B25B06,  // 1925-1930
    0x0DB52B00, 0x18BA9500, 0x86B6A505, 0x1056B400, 0x1A4ADA00, 0x8749BA03,  // 1931-1936
    0x13A4BB00, 0x1EB25B07, 0x0B725700, 0x16752B00, 0x846D2A06, 0x0FAD5500,  // 1937-1942
    0x1955AA00, 0x86556C04, 0x12C97600, 0x1C64B700, 0x8AE4AE02, 0x15EA5600,  // 1943-1948
    0x83DA5507, 0x0D5B2A00, 0x18AD5500, 0x85AAD505, 0x10536A00, 0x1BA96D00,  // 1949-1954
    0x88A95D03, 0x13D4AE00, 0x81D4AB08, 0x0CBA5500, 0x165AAA00, 0x8356AA06,  // 1955-1960
    0x0FAAD500, 0x1952DA00, 0x8652BA04, 0x11A95D00, 0x1DD49B00, 0x8A749B03,  // 1961-1966
    0x15B65500, 0x82AD5507, 0x0D55AA00, 0x18A5B500, 0x85A57505, 0x0F52B600,  // 1967-1972
    0x1B693700, 0x89E93704, 0x13749700, 0x81EA9608, 0x0C6D5200, 0x162DAA00,  // 1973-1978
    0x834B6A06, 0x0EA56D00, 0x1AD26E00, 0x87D25E04, 0x12E92E00, 0x1DEC960A,  // 1979-1984
    0x0BDA9500, 0x155B5200, 0x8256D206, 0x0C2ADA00, 0x18A55D00, 0x85A4BD05,  // 1985-1990; 1989 corrected: 1989-08-01 is 六月三十, 08-02 七月初一
    0x10D25D00, 0x1BD92D00, 0x89B52B03, 0x14BA9500, 0x81B59508, 0x0B56B200,  // 1991-1996
    0x162ADA00, 0x8349B605, 0x0E64BB00, 0x19B25B00, 0x876A5704, 0x12752B00,  // 1997-2002
    0x1DB69500, 0x8AAD5502, 0x1555AA00, 0x82556C07, 0x0DC97600, 0x1764B700,  // 2003-2008
    0x86E4AE05, 0x11EA5600, 0x1B6D2A00, 0x885AAA04, 0x14AB5500, 0x81AAD509,  // 2009-2014; 2013 corrected: 2013-06-08 is 五月初一
    0x0B52EA00, 0x16A96D00, 0x84A95D06, 0x0FD4AE00, 0x1AEA4D00, 0x87BA5504,  // 2015-2020
    0x125AAA00, 0x1DAB5500, 0x8AA6D502, 0x1452DA00, 0x8252BA06, 0x0DA93B00,  // 2021-2026
    0x18B49B00, 0x85749B05, 0x11B54D00, 0x1CD6A900, 0x8835AA03, 0x13A5B500,  // 2027-2032
    0x81A5750B, 0x0B52B600, 0x16693700, 0x84E92F06, 0x10F49700, 0x1A754B00,  // 2033-2038
    0x876D5205, 0x112D6900, 0x1D95B500, 0x8AA56D02, 0x15D26E00, 0x82D25E07,  // 2039-2044
    0x0EE92E00, 0x19EA9600, 0x86DA9505, 0x105B4A00, 0x1CAB6900, 0x882AD803,  // 2045-2050
};
// clang-format on

// The 16 months of a record's window: their numbers (negative for the leap
// month) and lengths, derived once at compile time instead of on every call.
struct LunarWindow {
  int firstDay = 0;  // lunar day of 1 January
  std::array<int, 16> number{};
  std::array<int, 16> length{};
};

constexpr LunarWindow DeriveWindow(LunarYearRecord record) {
  const int leapMonth = static_cast<int>(record & 0xFF);
  const unsigned lengthBits = (record >> 8) & 0xFFFF;
  LunarWindow window;
  window.firstDay = static_cast<int>((record >> 24) & 0x7F);
  window.number[0] = (record & 0x80000000u) ? 12 : 11;
  for (int i = 0; i < 16; ++i) {
    window.length[i] = (lengthBits >> (15 - i)) & 1 ? 30 : 29;
    if (i == 15) break;
    const int current = window.number[i];
    window.number[i + 1] = current == leapMonth ? -leapMonth : (current < 0 ? -current : current) % 12 + 1;
  }
  return window;
}

constexpr std::array<LunarWindow, kCalendarYears> kWindows = [] {
  std::array<LunarWindow, kCalendarYears> windows;
  for (int i = 0; i < kCalendarYears; ++i) windows[i] = DeriveWindow(LunarYearTable[i]);
  return windows;
}();

// Every day of a year must fall inside its window, so the month search below
// never runs off the end of it.
constexpr bool WindowsCoverTheirYears() {
  for (int i = 0; i < kCalendarYears; ++i) {
    int days = 1 - kWindows[i].firstDay;
    for (int length : kWindows[i].length) days += length;
    if (days < 366) return false;
  }
  return true;
}
static_assert(WindowsCoverTheirYears());

// Every lunar month the table describes, in order: those of each year's
// window that begin in that Gregorian year, the first window's first month
// (begun in December 1900) before them and the last window's months of 2051
// after them, so that the lunar years 1900 .. 2050 are complete as far as
// the range reaches them.
struct LunarMonth {
  int lunarYear;  // the Gregorian year of its 正月初一
  int number;     // negative for a leap month
  int length;
  std::chrono::sys_days firstDay;
};

struct LunarMonthList {
  std::array<LunarMonth, kCalendarYears * 16> months{};
  int count = 0;
};

constexpr LunarMonthList kLunarMonths = [] {
  using namespace std::chrono;
  LunarMonthList list;
  for (int y = kFirstLunarYear; y <= kLastLunarYear; ++y) {
    const LunarWindow& window = kWindows[y - kFirstLunarYear];
    const sys_days newYear = year{y} / January / 1;
    const sys_days nextNewYear = year{y + 1} / January / 1;
    sys_days firstDay = newYear - days{window.firstDay - 1};
    int lunarYear = y - 1;  // the window opens in the 11th or 12th month of the year before
    for (int i = 0; i < 16; firstDay += days{window.length[i++]}) {
      if (window.number[i] == 1) ++lunarYear;
      const bool beginsThisYear = firstDay >= newYear && (firstDay < nextNewYear || y == kLastLunarYear);
      if (beginsThisYear || (y == kFirstLunarYear && i == 0)) {
        list.months[list.count++] = {lunarYear, window.number[i], window.length[i], firstDay};
      }
    }
  }
  return list;
}();

LunarCode Pack(int month, int day) { return month > 0 ? month * 100 + day : month * 100 - day; }

int DaysSinceNewYear(std::chrono::sys_days day, std::chrono::year year) {
  return (day - std::chrono::sys_days{year / std::chrono::January / 1}).count();
}

LunarCode LunarCodeOf(std::chrono::sys_days day) {
  const std::chrono::year_month_day date{day};
  const int year = static_cast<int>(date.year());
  if (year < kFirstLunarYear || year > kLastLunarYear) return 0;
  const LunarWindow& window = kWindows[year - kFirstLunarYear];
  const int daysSinceNewYear = DaysSinceNewYear(day, date.year());

  int passed = window.length[0] - window.firstDay;  // days of the first month in this year, less one
  if (daysSinceNewYear <= passed) {
    // The record does not mark a leap month that started last December and
    // runs on into January; only last year's window knows it.
    int month = window.number[0];
    const std::chrono::sys_days lastDecember31 = day - std::chrono::days{daysSinceNewYear + 1};
    if (year > kFirstLunarYear && LunarCodeOf(lastDecember31) < 0) {
      month = -month;
    }
    return Pack(month, window.firstDay + daysSinceNewYear);
  }
  int i = 1;
  while (daysSinceNewYear > passed + window.length[i]) passed += window.length[i++];
  return Pack(window.number[i], daysSinceNewYear - passed);
}

}  // namespace

int GetDayOfYear(TDateTime date) {
  const auto day = CalendarDay(date);
  return day ? DaysSinceNewYear(*day, std::chrono::year_month_day{*day}.year()) + 1 : 0;
}

LunarCode GetLunarCode(TDateTime date) {
  const auto day = CalendarDay(date);
  return day ? LunarCodeOf(*day) : 0;
}

int GetLunarYear(TDateTime date) {
  const auto day = CalendarDay(date);
  const LunarCode code = day ? LunarCodeOf(*day) : 0;
  if (code == 0) return 0;
  const std::chrono::year_month_day civil{*day};
  // Until 正月初一, late in January or in February, the 11th or 12th month
  // of the lunar year before is running.
  const bool beforeNewYear = civil.month() <= std::chrono::February && std::abs(code / 100) >= 11;
  return static_cast<int>(civil.year()) - (beforeNewYear ? 1 : 0);
}

LunarDayLookup FindLunarDay(const LunarDay& wanted) {
  using Outcome = LunarDayLookup::Outcome;
  using namespace std::chrono;
  if (wanted.month < 1 || wanted.month > 12 || wanted.day < 1 || wanted.day > 30) return {Outcome::kNotALunarDay};
  const std::span months(kLunarMonths.months.data(), static_cast<std::size_t>(kLunarMonths.count));
  if (wanted.year > kLastLunarYear) return {Outcome::kAfterRange};
  if (wanted.year < months.front().lunarYear) return {Outcome::kBeforeRange};

  auto month = std::lower_bound(months.begin(), months.end(), wanted.year,
                                [](const LunarMonth& m, int lunarYear) { return m.lunarYear < lunarYear; });
  const auto yearEnd =
      std::find_if(month, months.end(), [&](const LunarMonth& m) { return m.lunarYear != wanted.year; });
  const int number = wanted.leap ? -wanted.month : wanted.month;
  const auto found = std::find_if(month, yearEnd, [&](const LunarMonth& m) { return m.number == number; });
  if (found == yearEnd) {
    // Only the lunar year 1900 is not complete: it is seen from its 11th month on.
    const bool ordinarySeen =
        std::any_of(month, yearEnd, [&](const LunarMonth& m) { return m.number == wanted.month; });
    return {ordinarySeen ? Outcome::kNoSuchLeapMonth : Outcome::kBeforeRange};
  }
  if (wanted.day > found->length) return {Outcome::kMonthTooShort, {}, found->length};

  const sys_days day = found->firstDay + days{wanted.day - 1};
  if (day < sys_days{year{kFirstLunarYear} / January / 1}) return {Outcome::kBeforeRange, {}, found->length};
  if (day > sys_days{year{kLastLunarYear} / December / 31}) return {Outcome::kAfterRange, {}, found->length};
  const year_month_day civil{day};
  return {Outcome::kFound,
          {static_cast<int>(civil.year()), static_cast<int>(unsigned{civil.month()}),
           static_cast<int>(unsigned{civil.day()})},
          found->length};
}

std::optional<CivilDate> FindLunarAnniversary(const LunarDay& anniversary) {
  using Outcome = LunarDayLookup::Outcome;
  LunarDay day = anniversary;
  LunarDayLookup found = FindLunarDay(day);
  if (found.outcome == Outcome::kNoSuchLeapMonth) {
    day.leap = false;
    found = FindLunarDay(day);
  }
  if (found.outcome == Outcome::kMonthTooShort) {
    day.day = found.monthLength;
    found = FindLunarDay(day);
  }
  if (found.outcome != Outcome::kFound) return std::nullopt;
  return found.date;
}

}  // namespace taliven
