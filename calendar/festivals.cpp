#include "festivals.h"

#include <array>
#include <cstdlib>

#include "lunar.h"

namespace taliven {
namespace {

// clang-format off
constexpr std::array<const char*, 12> kLunarMonthNames{"正", "二", "三", "四", "五", "六",
                                                       "七", "八", "九", "十", "冬", "腊"};

constexpr std::array<const char*, 30> kLunarDayNames{
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

// Index 0 is the year 1972.
constexpr std::array<const char*, 12> kYearAnimals{"子鼠", "丑牛", "寅虎", "卯兔", "辰龙", "巳蛇",
                                                   "午马", "未羊", "申猴", "酉鸡", "戌狗", "亥猪"};
// clang-format on

struct LunarFestival {
  LunarCode code;  // always an ordinary month: leap months carry no festival
  const char* name;
};

constexpr std::array<LunarFestival, 7> kLunarFestivals{{{101, "春节"},
                                                        {115, "元宵节"},
                                                        {505, "端午节"},
                                                        {707, "七夕节"},
                                                        {815, "中秋节"},
                                                        {909, "重阳节"},
                                                        {1208, "腊八节"}}};

constexpr int kSunday = 1;
constexpr int kThursday = 5;

// A fixed day of the month (`nth` 0), or the nth `weekday` of the month.
struct SolarFestivalRule {
  int month;
  int day;
  int nth;
  int weekday;
  const char* name;
};

constexpr std::array<SolarFestivalRule, 18> kSolarFestivals{{
    {1, 1, 0, 0, "元旦节"},
    {2, 14, 0, 0, "情人节"},
    {3, 8, 0, 0, "妇女节"},
    {4, 1, 0, 0, "愚人节"},
    {5, 1, 0, 0, "劳动节"},
    {5, 4, 0, 0, "青年节"},
    {5, 0, 2, kSunday, "母亲节"},
    {6, 1, 0, 0, "儿童节"},
    {6, 0, 3, kSunday, "父亲节"},
    {7, 1, 0, 0, "建党节"},
    {8, 1, 0, 0, "建军节"},
    {9, 10, 0, 0, "教师节"},
    {10, 1, 0, 0, "国庆节"},
    {10, 6, 0, 0, "老人节"},
    {10, 31, 0, 0, "万圣节"},
    {11, 8, 0, 0, "记者日"},
    {11, 0, 4, kThursday, "感恩节"},
    {12, 25, 0, 0, "圣诞节"},
}};

// Per month: the last day of the sign the month starts in, and the two signs.
// August 23 goes to "处女座", so every month changes sign between two days.
struct ConstellationSplit {
  int lastDayOfFirst;
  const char* first;
  const char* second;
};

constexpr std::array<ConstellationSplit, 12> kConstellations{{
    {19, "摩羯座", "水瓶座"},
    {18, "水瓶座", "双鱼座"},
    {20, "双鱼座", "白羊座"},
    {19, "白羊座", "金牛座"},
    {20, "金牛座", "双子座"},
    {21, "双子座", "巨蟹座"},
    {22, "巨蟹座", "狮子座"},
    {22, "狮子座", "处女座"},
    {22, "处女座", "天秤座"},
    {23, "天秤座", "天蝎座"},
    {21, "天蝎座", "射手座"},
    {21, "射手座", "摩羯座"},
}};

int MonthOf(LunarCode code) { return code / 100; }
int DayOf(LunarCode code) { return std::abs(code) % 100; }

GbkText MonthText(LunarCode code) {
  const int month = MonthOf(code);
  if (month > 0) return GbkText(kLunarMonthNames[month - 1]) + "月";
  if (month < 0) return GbkText("闰") + kLunarMonthNames[-month - 1];
  return {};
}

// Day `day` of the date's month, when that month has such a day.
std::optional<CivilDate> DayOfDatesMonth(int day, TDateTime date) {
  const auto civil = DecodeDate(date);
  if (!civil || day < 1 || day > DaysInMonth(civil->year, civil->month)) return std::nullopt;
  return CivilDate{civil->year, civil->month, day};
}

bool Matches(const SolarFestivalRule& rule, const CivilDate& date) {
  if (rule.nth == 0) return date.day == rule.day;
  return DayOfWeek(date.year, date.month, date.day) == rule.weekday && (date.day - 1) / 7 == rule.nth - 1;
}

}  // namespace

GbkText GetLunarMonthText(TDateTime date) { return MonthText(GetLunarCode(date)); }

GbkText GetLunarDayText(TDateTime date) {
  const int day = DayOf(GetLunarCode(date));
  return day == 0 ? GbkText() : GbkText(kLunarDayNames[day - 1]);
}

GbkText GetLunarFestival(TDateTime date) {
  const LunarCode code = GetLunarCode(date);
  if (code == 0) return {};
  for (const LunarFestival& festival : kLunarFestivals) {
    if (code == festival.code) return festival.name;
  }
  // New Year's Eve is the last day of the 12th month, 29 or 30 days long:
  // the day whose next day opens the 1st month.
  if (MonthOf(code) != 1 && MonthOf(GetLunarCode(date + 1)) == 1) return "除夕";
  return {};
}

GbkText GetZodiacText(TDateTime date) {
  const auto civil = DecodeDate(date);
  if (!civil) return {};
  int index = ((civil->year - 1972) % 12 + 12) % 12;
  // Until the lunar new year (never later than March) the date still belongs
  // to the previous lunar year, whose 11th or 12th month is running.
  if (civil->month <= 3) {
    const int lunarMonth = std::abs(MonthOf(GetLunarCode(date)));
    if (lunarMonth == 11 || lunarMonth == 12) index = (index + 11) % 12;
  }
  return kYearAnimals[index];
}

GbkText GetSolarFestival(int day, TDateTime date) {
  const auto civil = DayOfDatesMonth(day, date);
  if (!civil) return {};
  for (const SolarFestivalRule& rule : kSolarFestivals) {
    if (rule.month == civil->month && Matches(rule, *civil)) return rule.name;
  }
  return {};
}

GbkText GetConstellation(int day, TDateTime date) {
  const auto civil = DayOfDatesMonth(day, date);
  if (!civil) return {};
  const ConstellationSplit& split = kConstellations[civil->month - 1];
  return day <= split.lastDayOfFirst ? split.first : split.second;
}

}  // namespace taliven
