#include "day_cell.h"

#include <gtest/gtest.h>

namespace taliven {
namespace {

struct CellCase {
  int year, month, day;
  const char* text;
  std::uint32_t color;
};

TEST(DayCell, StrongestTextWinsInItsColour) {
  for (const CellCase& c : std::initializer_list<CellCase>{
           {2000, 2, 4, "除夕", 0xFF8000},   // lunar festival over 立春
           {2000, 2, 5, "春节", 0xFF8000},   // lunar festival on 正月初一
           {1901, 11, 8, "立冬", 0x5353FF},  // solar term over 记者日
           {2000, 12, 21, "冬至", 0x5353FF},
           {2000, 10, 1, "国庆节", 0xFF8000},  // Gregorian festival over 初四
           {2020, 5, 23, "闰四", 0xFF0000},    // first day of a month shows its name
           {2034, 1, 20, "大寒", 0x5353FF},    // solar term over 腊月 on its first day
           {1989, 8, 2, "七月", 0xFF0000},
           {1995, 1, 1, "元旦节", 0xFF8000},  // Gregorian festival over 腊月 on its first day
           {2000, 10, 2, "初五", 0x004000},
           {2050, 12, 31, "十八", 0x004000},
           {2051, 1, 1, "元旦节", 0xFF8000},  // Gregorian rules hold beyond the lunar range
           {2051, 1, 2, "", 0x004000},
           {2001, 2, 29, "", 0x004000},  // no such day
           {2001, 13, 1, "", 0x004000},
       }) {
    const DayCell cell = GetDayCell(c.year, c.month, c.day);
    EXPECT_EQ(cell.text, c.text) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(cell.color, c.color) << c.year << "-" << c.month << "-" << c.day;
  }
}

}  // namespace
}  // namespace taliven
