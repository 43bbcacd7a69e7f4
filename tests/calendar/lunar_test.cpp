#include "lunar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_dates.h"

namespace taliven {
namespace {

using testing::Date;

struct CodeCase {
  int year, month, day;
  LunarCode code;
};

void ExpectCodes(std::initializer_list<CodeCase> cases) {
  for (const CodeCase& c : cases) {
    EXPECT_EQ(GetLunarCode(Date(c.year, c.month, c.day)), c.code) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(LunarCode, FirstYearStartsFromItsOwnRecord) {
  ExpectCodes({{1901, 1, 1, 1111}, {1901, 1, 20, 1201}, {1901, 2, 18, 1230}, {1901, 2, 19, 101}});
}

TEST(LunarCode, YearBoundariesAreSeamless) {
  ExpectCodes(
      {{1901, 12, 31, 1121}, {1902, 1, 1, 1122}, {2000, 12, 31, 1206}, {2004, 12, 31, 1120}, {2050, 12, 31, 1118}});
}

TEST(LunarCode, LunarNewYear) {
  ExpectCodes({{2000, 2, 4, 1229}, {2000, 2, 5, 101}, {2050, 1, 22, 1229}, {2050, 1, 23, 101}});
}

TEST(LunarCode, LeapMonthIsNegative) {
  ExpectCodes({{2020, 5, 22, 430}, {2020, 5, 23, -401}, {2020, 6, 20, -429}, {2020, 6, 21, 501}});
}

TEST(LunarCode, LeapMonthRunsOnAcrossNewYear) {
  ExpectCodes({{2033, 12, 21, 1130},
               {2033, 12, 22, -1101},
               {2033, 12, 31, -1110},
               {2034, 1, 1, -1111},
               {2034, 1, 19, -1129},
               {2034, 1, 20, 1201}});
}

TEST(LunarCode, CorrectedMonthLengths) {
  ExpectCodes({{1989, 7, 3, 601},
               {1989, 8, 1, 630},
               {1989, 8, 2, 701},
               {1989, 8, 30, 729},
               {1989, 8, 31, 801},
               {2013, 5, 10, 401},
               {2013, 6, 7, 429},
               {2013, 6, 8, 501},
               {2013, 6, 12, 505},
               {2013, 7, 7, 530},
               {2013, 7, 8, 601}});
}

TEST(LunarCode, OutsideTheTableIsZero) {
  ExpectCodes({{1900, 12, 31, 0}, {2051, 1, 1, 0}, {1, 1, 1, 0}, {9999, 12, 31, 0}});
  constexpr double kInf = std::numeric_limits<double>::infinity();
  for (const double value : {std::nan(""), kInf, -kInf, 1e300, -1e300}) {
    EXPECT_EQ(GetLunarCode(value), 0) << value;
  }
}

TEST(LunarCode, TimeOfDayIsIgnored) {
  EXPECT_EQ(GetLunarCode(Date(2034, 1, 1) + 0.9993), -1111);
  EXPECT_EQ(GetLunarCode(Date(2000, 2, 4) + 0.9993), 1229);
}

TEST(LunarYear, ChangesOnTheFirstDayOfTheFirstMonth) {
  const struct {
    int year, month, day;
    int lunarYear;
  } cases[] = {
      {1901, 1, 1, 1900},  {1901, 2, 18, 1900},  {1901, 2, 19, 1901}, {2000, 2, 4, 1999},
      {2000, 2, 5, 2000},  {2033, 12, 31, 2033}, {2034, 1, 1, 2033},  {2034, 2, 18, 2033},
      {2034, 2, 19, 2034}, {2050, 12, 31, 2050}, {1900, 12, 31, 0},   {2051, 1, 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetLunarYear(Date(c.year, c.month, c.day)), c.lunarYear) << c.year << "-" << c.month << "-" << c.day;
  }
  EXPECT_EQ(GetLunarYear(std::nan("")), 0);
}

using Outcome = LunarDayLookup::Outcome;

TEST(FindLunarDay, NamesTheGregorianDateOrSaysWhyThereIsNone) {
  const struct {
    LunarDay lunar;
    Outcome outcome;
    CivilDate date;
    int monthLength;
  } cases[] = {
      {{2000, 1, false, 1}, Outcome::kFound, {2000, 2, 5}, 30},
      {{2024, 8, false, 15}, Outcome::kFound, {2024, 9, 17}, 30},
      {{2020, 4, true, 1}, Outcome::kFound, {2020, 5, 23}, 29},
      {{2033, 11, true, 11}, Outcome::kFound, {2034, 1, 1}, 29},  // a leap month across 1 January
      {{1900, 11, false, 11}, Outcome::kFound, {1901, 1, 1}, 29},
      {{2050, 11, false, 18}, Outcome::kFound, {2050, 12, 31}, 30},
      {{2027, 4, true, 10}, Outcome::kNoSuchLeapMonth, {}, 0},
      {{1900, 11, true, 1}, Outcome::kNoSuchLeapMonth, {}, 0},
      {{2027, 9, false, 30}, Outcome::kMonthTooShort, {}, 29},
      {{1900, 11, false, 10}, Outcome::kBeforeRange, {}, 29},
      {{1900, 8, false, 15}, Outcome::kBeforeRange, {}, 0},
      {{1899, 1, false, 1}, Outcome::kBeforeRange, {}, 0},
      {{2050, 11, false, 19}, Outcome::kAfterRange, {}, 30},
      {{2050, 12, false, 1}, Outcome::kAfterRange, {}, 29},
      {{2051, 1, false, 1}, Outcome::kAfterRange, {}, 0},
      {{2000, 0, false, 1}, Outcome::kNotALunarDay, {}, 0},
      {{2000, 13, false, 1}, Outcome::kNotALunarDay, {}, 0},
      {{2000, 1, false, 0}, Outcome::kNotALunarDay, {}, 0},
      {{2000, 1, false, 31}, Outcome::kNotALunarDay, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.lunar.year << (c.lunar.leap ? " leap " : " ") << c.lunar.month << "-"
                                      << c.lunar.day);
    const LunarDayLookup found = FindLunarDay(c.lunar);
    EXPECT_EQ(found.outcome, c.outcome);
    EXPECT_EQ(found.monthLength, c.monthLength);
    if (c.outcome == Outcome::kFound) {
      EXPECT_EQ(found.date.year, c.date.year);
      EXPECT_EQ(found.date.month, c.date.month);
      EXPECT_EQ(found.date.day, c.date.day);
    }
  }
}

TEST(FindLunarAnniversary, FollowsTheCustomaryRules) {
  const struct {
    LunarDay anniversary;
    std::optional<CivilDate> date;
  } cases[] = {
      {{2020, 4, true, 10}, CivilDate{2020, 6, 1}},
      {{2027, 4, true, 10}, CivilDate{2027, 5, 15}},    // no leap 4th month: the ordinary one
      {{2027, 9, false, 30}, CivilDate{2027, 10, 28}},  // 29 days: day 29
      {{2020, 4, true, 30}, CivilDate{2020, 6, 20}},    // both rules at once: leap month of 29 days
      {{2027, 4, true, 30}, CivilDate{2027, 6, 4}},     // ordinary month of 30 days
      {{1900, 11, false, 1}, std::nullopt},
      {{2050, 12, false, 1}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.anniversary.year << (c.anniversary.leap ? " leap " : " ")
                                      << c.anniversary.month << "-" << c.anniversary.day);
    const auto date = FindLunarAnniversary(c.anniversary);
    ASSERT_EQ(date.has_value(), c.date.has_value());
    if (date) {
      EXPECT_EQ(date->year, c.date->year);
      EXPECT_EQ(date->month, c.date->month);
      EXPECT_EQ(date->day, c.date->day);
    }
  }
}

TEST(DayOfYear, CountsFromFirstJanuary) {
  EXPECT_EQ(GetDayOfYear(Date(1901, 1, 1)), 1);
  EXPECT_EQ(GetDayOfYear(Date(2004, 2, 29)), 60);
  EXPECT_EQ(GetDayOfYear(Date(2000, 12, 31) + 0.5), 366);
  EXPECT_EQ(GetDayOfYear(Date(1901, 12, 31)), 365);
  EXPECT_EQ(GetDayOfYear(std::nan("")), 0);
}

}  // namespace
}  // namespace taliven
