#include "solar_terms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <string>

#include "test_dates.h"

namespace taliven {
namespace {

using testing::Date;

struct TermCase {
  int year, month, day;
  int number;
  const char* name;
};

void ExpectTerms(std::initializer_list<TermCase> cases) {
  for (const TermCase& c : cases) {
    const auto y = static_cast<std::uint16_t>(c.year);
    const auto m = static_cast<std::uint16_t>(c.month);
    const auto d = static_cast<std::uint16_t>(c.day);
    EXPECT_EQ(SolarTermDay(y, m, d), c.number) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(GetSolarTerm(Date(c.year, c.month, c.day)), c.name) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(SolarTerm, TermDaysAndTheDaysBetween) {
  ExpectTerms({{1901, 1, 6, 1, "小寒"},
               {1901, 1, 7, 0, ""},
               {1901, 1, 21, 2, "大寒"},
               {2000, 2, 4, 3, "立春"},
               {2000, 12, 21, 24, "冬至"},
               {2050, 12, 22, 24, "冬至"},
               {2050, 12, 21, 0, ""},
               {1901, 2, 4, 3, "立春"},
               {2050, 2, 3, 3, "立春"},
               {1901, 6, 22, 12, "夏至"},
               {2000, 6, 21, 12, "夏至"},
               {2000, 6, 15, 0, ""},
               {2000, 1, 15, 0, ""}});
}

// Each pair: the day the term truly falls on, then the day the table used to give.
TEST(SolarTerm, CorrectedTermDays) {
  ExpectTerms({{1904, 10, 9, 19, "寒露"},  {1904, 10, 8, 0, ""},  {1929, 10, 9, 19, "寒露"}, {1929, 10, 8, 0, ""},
               {1929, 11, 23, 22, "小雪"}, {1929, 11, 22, 0, ""}, {1949, 8, 23, 16, "处暑"}, {1949, 8, 24, 0, ""},
               {1954, 10, 24, 20, "霜降"}, {1954, 10, 23, 0, ""}, {1962, 1, 20, 2, "大寒"},  {1962, 1, 21, 0, ""},
               {1973, 2, 19, 4, "雨水"},   {1973, 2, 20, 0, ""},  {1976, 8, 23, 16, "处暑"}, {1976, 8, 24, 0, ""},
               {1977, 5, 5, 9, "立夏"},    {1977, 5, 6, 0, ""},   {1981, 11, 7, 21, "立冬"}, {1981, 11, 8, 0, ""},
               {1991, 5, 6, 9, "立夏"},    {1991, 5, 7, 0, ""},   {1995, 8, 23, 16, "处暑"}, {1995, 8, 21, 0, ""},
               {2033, 7, 22, 14, "大暑"},  {2033, 7, 23, 0, ""},  {2034, 8, 7, 15, "立秋"},  {2034, 8, 8, 0, ""},
               {2049, 4, 4, 7, "清明"},    {2049, 4, 5, 0, ""},   {2049, 4, 19, 8, "谷雨"},  {2049, 4, 20, 0, ""},
               {2050, 9, 7, 17, "白露"},   {2050, 9, 8, 0, ""}});
}

// Where each term falls in the years 1901-2050 (Beijing time), from almanacs
// and astronomical tables: every term on exactly one day of its window in
// every year, and no term on any day outside its window.
TEST(SolarTerm, EveryTermFallsInItsWindowOfDatesEveryYear) {
  struct Window {
    const char* name;
    int month, firstDay, lastDay;
  };
  // clang-format off
  constexpr Window kWindows[] = {
      {"小寒", 1, 5, 7},   {"大寒", 1, 19, 21},  {"立春", 2, 3, 5},   {"雨水", 2, 18, 20},
      {"惊蛰", 3, 5, 7},   {"春分", 3, 20, 22},  {"清明", 4, 4, 6},   {"谷雨", 4, 19, 21},
      {"立夏", 5, 5, 7},   {"小满", 5, 20, 22},  {"芒种", 6, 5, 7},   {"夏至", 6, 20, 22},
      {"小暑", 7, 6, 8},   {"大暑", 7, 22, 24},  {"立秋", 8, 7, 9},   {"处暑", 8, 22, 24},
      {"白露", 9, 7, 9},   {"秋分", 9, 22, 24},  {"寒露", 10, 7, 9},  {"霜降", 10, 23, 24},
      {"立冬", 11, 7, 8},  {"小雪", 11, 21, 23}, {"大雪", 12, 6, 8},  {"冬至", 12, 21, 23},
  };
  // clang-format on
  for (int year = 1901; year <= 2050; ++year) {
    std::map<std::string, int> daysNamed;
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const std::string term = GetSolarTerm(Date(year, month, day));
        if (term.empty()) continue;
        ++daysNamed[term];
        const auto window =
            std::find_if(std::begin(kWindows), std::end(kWindows), [&](const Window& w) { return term == w.name; });
        ASSERT_NE(window, std::end(kWindows)) << "no such term on " << year << "-" << month << "-" << day;
        EXPECT_TRUE(month == window->month && day >= window->firstDay && day <= window->lastDay)
            << window->name << " on " << year << "-" << month << "-" << day;
      }
    }
    EXPECT_EQ(daysNamed.size(), std::size(kWindows)) << year;
    for (const auto& [term, days] : daysNamed) EXPECT_EQ(days, 1) << term << " in " << year;
  }
}

TEST(SolarTerm, NoTermOutsideTheTableOrForBadArguments) {
  ExpectTerms({{1900, 12, 22, 0, ""}, {2051, 1, 5, 0, ""}, {1, 1, 6, 0, ""}, {9999, 12, 22, 0, ""}});
  EXPECT_EQ(SolarTermDay(2000, 0, 6), 0);
  EXPECT_EQ(SolarTermDay(2000, 13, 6), 0);
  EXPECT_EQ(SolarTermDay(65535, 65535, 65535), 0);
  EXPECT_EQ(GetSolarTerm(std::nan("")), "");
}

}  // namespace
}  // namespace taliven
