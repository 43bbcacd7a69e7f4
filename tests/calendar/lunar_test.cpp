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

TEST(DayOfYear, CountsFromFirstJanuary) {
  EXPECT_EQ(GetDayOfYear(Date(1901, 1, 1)), 1);
  EXPECT_EQ(GetDayOfYear(Date(2004, 2, 29)), 60);
  EXPECT_EQ(GetDayOfYear(Date(2000, 12, 31) + 0.5), 366);
  EXPECT_EQ(GetDayOfYear(Date(1901, 12, 31)), 365);
  EXPECT_EQ(GetDayOfYear(std::nan("")), 0);
}

}  // namespace
}  // namespace taliven
