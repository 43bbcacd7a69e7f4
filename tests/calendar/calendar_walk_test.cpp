// Walks over every day of 1901-01-01 .. 2050-12-31 checking what must hold
// for the whole calendar, whatever a single table value says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "festivals.h"
#include "lunar.h"
#include "solar_terms.h"
#include "test_dates.h"

namespace taliven {
namespace {

using testing::Date;

const TDateTime kFirst = Date(1901, 1, 1);
const TDateTime kLast = Date(2050, 12, 31);

int MonthOf(LunarCode code) { return code / 100; }
int DayOf(LunarCode code) { return std::abs(code) % 100; }

TEST(CalendarWalk, LunarDatesAreContinuous) {
  LunarCode previous = GetLunarCode(kFirst);
  for (TDateTime date = kFirst + 1; date <= kLast; date += 1) {
    const LunarCode code = GetLunarCode(date);
    ASSERT_NE(code, 0) << date;
    const int month = MonthOf(code);
    const int prevMonth = MonthOf(previous);
    if (DayOf(code) != 1) {
      ASSERT_EQ(code, previous + (previous > 0 ? 1 : -1)) << date;
    } else {
      ASSERT_TRUE(DayOf(previous) == 29 || DayOf(previous) == 30) << date;
      const bool nextMonth = month == std::abs(prevMonth) % 12 + 1;
      const bool leapOfSameNumber = prevMonth > 0 && month == -prevMonth;
      ASSERT_TRUE(nextMonth || leapOfSameNumber) << date << ": " << previous << " -> " << code;
    }
    previous = code;
  }
}

// The reverse look-up finds every day again from its lunar year, month,
// leap flag and day, and the lunar year turns with the animal.
TEST(CalendarWalk, EveryDayIsFoundAgainFromItsLunarName) {
  int roundTrips = 0;
  for (TDateTime date = kFirst; date <= kLast; date += 1) {
    const LunarCode code = GetLunarCode(date);
    const LunarDay lunar{GetLunarYear(date), std::abs(MonthOf(code)), code < 0, DayOf(code)};
    const LunarDayLookup found = FindLunarDay(lunar);
    ASSERT_EQ(found.outcome, LunarDayLookup::Outcome::kFound) << date;
    ASSERT_EQ(EncodeDate(found.date.year, found.date.month, found.date.day), date) << date;
    ASSERT_EQ(GetZodiacText(date), GetZodiacText(*EncodeDate(lunar.year, 6, 1))) << date;
    ++roundTrips;
  }
  EXPECT_EQ(roundTrips, 54787);
}

TEST(CalendarWalk, AtMostOneLeapMonthPerLunarYear) {
  std::set<int> leapMonths;
  for (TDateTime date = kFirst; date <= kLast; date += 1) {
    const LunarCode code = GetLunarCode(date);
    if (code == 101) leapMonths.clear();
    if (code < 0) leapMonths.insert(MonthOf(code));
    ASSERT_LE(leapMonths.size(), 1u) << date;
  }
}

TEST(CalendarWalk, TwentyFourTermsAYearTwoAMonth) {
  for (int year = kFirstLunarYear; year <= kLastLunarYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      std::map<int, int> termDays;  // term number -> day
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        const int term = SolarTermDay(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
                                      static_cast<std::uint16_t>(day));
        if (term != 0) termDays[term] = day;
      }
      ASSERT_EQ(termDays.size(), 2u) << year << "-" << month;
      const int firstDay = termDays[2 * month - 1];
      const int secondDay = termDays[2 * month];
      EXPECT_TRUE(firstDay >= 3 && firstDay <= 9) << year << "-" << month;
      EXPECT_TRUE(secondDay >= 18 && secondDay <= 24) << year << "-" << month;
    }
  }
}

// The lunar new year falls between 21 January and 20 February, so every
// Gregorian year of the range holds exactly one 春节 with its 除夕 the day before.
TEST(CalendarWalk, OneSpringFestivalAndOneNewYearsEveAYear) {
  std::map<int, std::vector<TDateTime>> springFestivals;
  std::map<int, std::vector<TDateTime>> newYearsEves;
  for (TDateTime date = kFirst; date <= kLast; date += 1) {
    const GbkText festival = GetLunarFestival(date);
    const int year = DecodeDate(date)->year;
    if (festival == "春节") springFestivals[year].push_back(date);
    if (festival == "除夕") newYearsEves[year].push_back(date);
  }
  for (int year = kFirstLunarYear; year <= kLastLunarYear; ++year) {
    ASSERT_EQ(springFestivals[year].size(), 1u) << year;
    ASSERT_EQ(newYearsEves[year].size(), 1u) << year;
    EXPECT_EQ(newYearsEves[year][0] + 1, springFestivals[year][0]) << year;
  }
}

TEST(CalendarWalk, AnimalChangesExactlyOnTheFirstDayOfTheFirstMonth) {
  GbkText previous = GetZodiacText(kFirst);
  for (TDateTime date = kFirst + 1; date <= kLast; date += 1) {
    const GbkText animal = GetZodiacText(date);
    ASSERT_EQ(animal != previous, GetLunarCode(date) == 101) << date;
    previous = animal;
  }
}

TEST(CalendarWalk, EveryDayHasItsLunarTexts) {
  for (TDateTime date = kFirst; date <= kLast; date += 1) {
    ASSERT_FALSE(GetLunarMonthText(date).empty()) << date;
    ASSERT_FALSE(GetLunarDayText(date).empty()) << date;
  }
}

}  // namespace
}  // namespace taliven
