#include "festivals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "test_dates.h"

namespace taliven {
namespace {

using testing::Date;

struct LunarTextCase {
  int year, month, day;
  const char* monthText;
  const char* dayText;
  const char* festival;
};

TEST(LunarTexts, MonthDayAndFestival) {
  for (const LunarTextCase& c : std::initializer_list<LunarTextCase>{
           {2000, 2, 5, "正月", "初一", "春节"},    {2000, 2, 4, "腊月", "廿九", "除夕"},
           {1901, 2, 18, "腊月", "三十", "除夕"},   {1972, 2, 14, "腊月", "三十", "除夕"},
           {1972, 2, 15, "正月", "初一", "春节"},   {2000, 1, 14, "腊月", "初八", "腊八节"},
           {2000, 2, 19, "正月", "十五", "元宵节"}, {2000, 6, 6, "五月", "初五", "端午节"},
           {2000, 8, 6, "七月", "初七", "七夕节"},  {2000, 10, 6, "九月", "初九", "重阳节"},
           {2017, 10, 4, "八月", "十五", "中秋节"}, {2013, 6, 12, "五月", "初五", "端午节"},
           {1989, 8, 1, "六月", "三十", ""},        {2020, 5, 23, "闰四", "初一", ""},
           {2006, 8, 30, "闰七", "初七", ""},       {2006, 7, 31, "七月", "初七", "七夕节"},
           {2034, 1, 1, "闰冬", "十一", ""},        {2034, 1, 20, "腊月", "初一", ""},
           {2000, 10, 1, "九月", "初四", ""},       {2050, 12, 31, "冬月", "十八", ""},
       }) {
    const TDateTime date = Date(c.year, c.month, c.day);
    const std::string where = std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day);
    EXPECT_EQ(GetLunarMonthText(date), c.monthText) << where;
    EXPECT_EQ(GetLunarDayText(date), c.dayText) << where;
    EXPECT_EQ(GetLunarFestival(date), c.festival) << where;
  }
}

TEST(LunarTexts, EmptyOutsideTheLunarRange) {
  for (const TDateTime date : {Date(1900, 12, 31), Date(2051, 1, 1), Date(1, 1, 1), Date(9999, 12, 31), std::nan(""),
                               HUGE_VAL, -HUGE_VAL, 1e300}) {
    EXPECT_EQ(GetLunarMonthText(date), "") << date;
    EXPECT_EQ(GetLunarDayText(date), "") << date;
    EXPECT_EQ(GetLunarFestival(date), "") << date;
  }
}

TEST(Zodiac, ChangesOnLunarNewYear) {
  struct Case {
    int year, month, day;
    const char* animal;
  };
  for (const Case& c : std::initializer_list<Case>{{2000, 2, 5, "辰龙"},
                                                   {2000, 2, 4, "卯兔"},
                                                   {2034, 1, 1, "丑牛"},
                                                   {2034, 1, 20, "丑牛"},
                                                   {1971, 6, 1, "亥猪"},
                                                   {1972, 1, 1, "亥猪"},
                                                   {1972, 2, 15, "子鼠"},
                                                   {1901, 1, 1, "子鼠"},
                                                   {1901, 2, 19, "丑牛"},
                                                   // Outside the lunar range: the Gregorian year's.
                                                   {1900, 1, 1, "子鼠"},
                                                   {2051, 1, 1, "未羊"},
                                                   {1, 1, 1, "酉鸡"}}) {
    EXPECT_EQ(GetZodiacText(Date(c.year, c.month, c.day)), c.animal) << c.year << "-" << c.month << "-" << c.day;
  }
  EXPECT_EQ(GetZodiacText(std::nan("")), "");
}

struct DayRuleCase {
  int year, month, day;
  const char* text;
};

TEST(SolarFestival, FixedDaysAndNthWeekdays) {
  for (const DayRuleCase& c : std::initializer_list<DayRuleCase>{
           {2000, 1, 1, "元旦节"},
           {2000, 10, 6, "老人节"},
           {2000, 10, 31, "万圣节"},
           {2000, 12, 25, "圣诞节"},
           {2000, 5, 14, "母亲节"},
           {2005, 5, 1, "劳动节"},
           {2005, 5, 8, "母亲节"},
           {2000, 6, 18, "父亲节"},
           {2000, 11, 23, "感恩节"},
           {2000, 5, 7, ""},  // a Sunday, but the first
           {2001, 5, 13, "母亲节"},
           {2001, 6, 17, "父亲节"},
           {2015, 6, 7, ""},
           {2002, 11, 21, ""},  // a Thursday, but the third
           {2002, 11, 28, "感恩节"},
           {2001, 11, 29, ""},  // a Thursday, but the fifth
           {2000, 2, 15, ""},
           {2000, 11, 8, "记者日"},
       }) {
    EXPECT_EQ(GetSolarFestival(c.day, Date(c.year, c.month, 1)), c.text) << c.year << "-" << c.month << "-" << c.day;
  }
}

// Every festival of the year on its day, and no festival on any other day:
// the eighteen rows are the festival list as the calendar's users know it.
TEST(SolarFestival, EveryFestivalOfAYearOnItsDayAndNoOtherDay) {
  const std::map<std::pair<int, int>, std::string> festivals2024{
      {{1, 1}, "元旦节"},  {{2, 14}, "情人节"},  {{3, 8}, "妇女节"},   {{4, 1}, "愚人节"},  {{5, 1}, "劳动节"},
      {{5, 4}, "青年节"},  {{5, 12}, "母亲节"},  {{6, 1}, "儿童节"},   {{6, 16}, "父亲节"}, {{7, 1}, "建党节"},
      {{8, 1}, "建军节"},  {{9, 10}, "教师节"},  {{10, 1}, "国庆节"},  {{10, 6}, "老人节"}, {{10, 31}, "万圣节"},
      {{11, 8}, "记者日"}, {{11, 28}, "感恩节"}, {{12, 25}, "圣诞节"},
  };
  ASSERT_EQ(festivals2024.size(), 18u);
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth(2024, month); ++day) {
      const auto festival = festivals2024.find({month, day});
      EXPECT_EQ(GetSolarFestival(day, Date(2024, month, 1)), festival == festivals2024.end() ? "" : festival->second)
          << "2024-" << month << "-" << day;
    }
  }
}

TEST(Constellation, SignBoundaries) {
  // Both sides of every month's change of sign; August 23 goes to the later sign.
  for (const DayRuleCase& c : std::initializer_list<DayRuleCase>{
           {2000, 1, 19, "摩羯座"},  {2000, 1, 20, "水瓶座"},  {2000, 2, 18, "水瓶座"},  {2000, 2, 19, "双鱼座"},
           {2000, 3, 20, "双鱼座"},  {2000, 3, 21, "白羊座"},  {2000, 4, 19, "白羊座"},  {2000, 4, 20, "金牛座"},
           {2000, 5, 20, "金牛座"},  {2000, 5, 21, "双子座"},  {2000, 6, 21, "双子座"},  {2000, 6, 22, "巨蟹座"},
           {2000, 7, 22, "巨蟹座"},  {2000, 7, 23, "狮子座"},  {2000, 8, 22, "狮子座"},  {2000, 8, 23, "处女座"},
           {2000, 8, 24, "处女座"},  {2000, 9, 22, "处女座"},  {2000, 9, 23, "天秤座"},  {2000, 10, 23, "天秤座"},
           {2000, 10, 24, "天蝎座"}, {2000, 11, 21, "天蝎座"}, {2000, 11, 22, "射手座"}, {2000, 12, 21, "射手座"},
           {2000, 12, 22, "摩羯座"}, {2000, 2, 29, "双鱼座"},  {1, 1, 1, "摩羯座"},      {9999, 12, 31, "摩羯座"},
       }) {
    EXPECT_EQ(GetConstellation(c.day, Date(c.year, c.month, 1)), c.text) << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(DayRules, DayNumbersOutsideTheMonthGiveNothing) {
  for (const int day : {0, -1, 30, 31, 32, 1000, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
    EXPECT_EQ(GetSolarFestival(day, Date(2001, 2, 1)), "") << day;
    EXPECT_EQ(GetConstellation(day, Date(2001, 2, 1)), "") << day;
  }
  EXPECT_EQ(GetConstellation(29, Date(2000, 2, 1)), "双鱼座");
  EXPECT_EQ(GetSolarFestival(1, std::nan("")), "");
  EXPECT_EQ(GetConstellation(1, std::nan("")), "");
}

}  // namespace
}  // namespace taliven
