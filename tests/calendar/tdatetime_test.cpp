#include "tdatetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace taliven {
namespace {

TEST(TDateTime, EncodesDaysSinceTheEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
}

TEST(TDateTime, RejectsDaysThatDoNotExist) {
  for (const auto& [y, m, d] : {std::tuple{2001, 2, 29},
                                {1900, 2, 29},
                                {2000, 4, 31},
                                {2000, 13, 1},
                                {2000, 0, 1},
                                {2000, 1, 0},
                                {0, 12, 31},
                                {10000, 1, 1}}) {
    EXPECT_FALSE(EncodeDate(y, m, d)) << y << "-" << m << "-" << d;
  }
  EXPECT_TRUE(EncodeDate(2000, 2, 29));
}

TEST(TDateTime, DecodeDropsTheTimeOfDayAlsoBeforeTheEpoch) {
  struct Case {
    TDateTime value;
    int year, month, day;
  };
  for (const Case& c :
       {Case{0.0, 1899, 12, 30}, Case{0.999, 1899, 12, 30}, Case{-0.25, 1899, 12, 29}, Case{-1.0, 1899, 12, 29},
        Case{36526.75, 2000, 1, 1}, Case{-693593.0, 1, 1, 1}, Case{2958465.99, 9999, 12, 31}}) {
    const auto civil = DecodeDate(c.value);
    ASSERT_TRUE(civil) << c.value;
    EXPECT_EQ(civil->year, c.year) << c.value;
    EXPECT_EQ(civil->month, c.month) << c.value;
    EXPECT_EQ(civil->day, c.day) << c.value;
  }
}

TEST(TDateTime, DecodeRefusesValuesOutsideTheYearsOneToNineThousand) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  for (const double value :
       {std::nan(""), kInf, -kInf, -693593.5, 2958466.0, 1e300, -1e300, std::numeric_limits<double>::max()}) {
    EXPECT_FALSE(DecodeDate(value)) << value;
  }
}

TEST(TDateTime, RoundTripsEveryDayOfTheCalendarRange) {
  for (double serial = -693593; serial <= 2958465; serial += 997) {
    const auto civil = DecodeDate(serial + 0.5);
    ASSERT_TRUE(civil);
    EXPECT_EQ(EncodeDate(civil->year, civil->month, civil->day), serial);
  }
}

TEST(TDateTime, LeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2004));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2100));
  EXPECT_FALSE(IsLeapYear(2001));

  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2001, 4), 30);
  EXPECT_EQ(DaysInMonth(2001, 12), 31);
  EXPECT_EQ(DaysInMonth(2001, 0), 0);
  EXPECT_EQ(DaysInMonth(2001, 13), 0);
  EXPECT_EQ(DaysInMonth(0, 1), 0);
}

TEST(TDateTime, DayOfYearAndWeekdayCountingSundayAsOne) {
  EXPECT_EQ(DayOfYear(1901, 1, 1), 1);
  EXPECT_EQ(DayOfYear(2004, 2, 29), 60);
  EXPECT_EQ(DayOfYear(2000, 12, 31), 366);
  EXPECT_EQ(DayOfYear(1901, 12, 31), 365);
  EXPECT_EQ(DayOfYear(2001, 2, 29), 0);

  EXPECT_EQ(DayOfWeek(2005, 5, 1), 1);    // Sunday
  EXPECT_EQ(DayOfWeek(2000, 5, 1), 2);    // Monday
  EXPECT_EQ(DayOfWeek(2011, 1, 1), 7);    // Saturday
  EXPECT_EQ(DayOfWeek(2000, 11, 23), 5);  // Thursday
  EXPECT_EQ(DayOfWeek(2001, 2, 29), 0);
}

}  // namespace
}  // namespace taliven
