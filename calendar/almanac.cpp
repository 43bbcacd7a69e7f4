#include "almanac.h"

#include <cmath>
#include <string>

#include "lunar.h"
#include "solar_terms.h"

namespace taliven {
namespace {

// clang-format off
constexpr const char* kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr const char* kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
constexpr const char* kAnimals[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};

// The 纳音 of the sixty pillars, one for each pair: 甲子 and 乙丑 are 海中金.
constexpr const char* kNaYin[30] = {
    "海中金", "炉中火", "大林木", "路旁土", "剑锋金", "山头火", "涧下水", "城头土", "白蜡金", "杨柳木",
    "泉中水", "屋上土", "霹雳火", "松柏木", "长流水", "沙中金", "山下火", "平地木", "壁上土", "金箔金",
    "覆灯火", "天河水", "大驿土", "钗钏金", "桑柘木", "大溪水", "沙中土", "天上火", "石榴木", "大海水"};

// The 煞 lies opposite the element of the day's branch trine: 申子辰 (water)
// in the south, 巳酉丑 (metal) in the east, 寅午戌 (fire) in the north,
// 亥卯未 (wood) in the west. Indexed by branch % 4.
constexpr const char* kSha[4] = {"南", "东", "北", "西"};

constexpr const char* kOfficers[12] = {"建", "除", "满", "平", "定", "执", "破", "危", "成", "收", "开", "闭"};

constexpr const char* kSpirits[12] = {"青龙", "明堂", "天刑", "朱雀", "金匮", "天德",
                                      "白虎", "玉堂", "天牢", "玄武", "司命", "勾陈"};
constexpr bool kSpiritIsHuangDao[12] = {true, true, false, false, true, true, false, true, false, false, true, false};

constexpr const char* kMansions[28] = {"角", "亢", "氐", "房", "心", "尾", "箕", "斗", "牛", "女", "虚", "危", "室", "壁",
                                       "奎", "娄", "胃", "昴", "毕", "觜", "参", "井", "鬼", "柳", "星", "张", "翼", "轸"};
constexpr bool kMansionIsLucky[28] = {true,  false, false, true,  false, true,  true,  true,  false, false,
                                      false, false, true,  true,  false, true,  true,  false, true,  false,
                                      true,  true,  false, false, false, true,  false, true};

constexpr const char* kPengZuStems[10] = {"甲不开仓财物耗散", "乙不栽植千株不长", "丙不修灶必见灾殃", "丁不剃头头必生疮",
                                          "戊不受田田主不祥", "己不破券二比并亡", "庚不经络织机虚张", "辛不合酱主人不尝",
                                          "壬不泱水更难提防", "癸不词讼理弱敌强"};
constexpr const char* kPengZuBranches[12] = {"子不问卜自惹祸殃", "丑不冠带主不还乡", "寅不祭祀神鬼不尝", "卯不穿井水泉不香",
                                             "辰不哭泣必主重丧", "巳不远行财物伏藏", "午不苫盖屋主更张", "未不服药毒气入肠",
                                             "申不安床鬼祟入房", "酉不会客醉坐颠狂", "戌不吃犬作怪上床", "亥不嫁娶不利新郎"};

constexpr const char* kNines[9] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
// clang-format on

constexpr int kGeng = 6;  // the stem 庚, whose days count the 伏

// Term numbers as SolarTermDayOfMonth counts them.
constexpr int kSummerSolstice = 12;  // 夏至
constexpr int kStartOfAutumn = 15;   // 立秋
constexpr int kWinterSolstice = 24;  // 冬至

// 1949-10-01, day 18172 of the TDateTime count, was a 甲子 day.
constexpr int kDayCycleOffset = 8;
// 1984 was a 甲子 year, and its month of 立春 a 丙寅 month.
constexpr int kCycleYear = 1984;
constexpr int kFirstMonthOfCycleYear = 2;
// 2026-12-10, day 46366 and a Thursday, was a 角 day: the mansions follow
// the days, 角 always on a Thursday.
constexpr int kMansionDay = 46366;
// The nines of early 1901 count from the 冬至 of 1900, a year before the
// solar-term table.
constexpr CivilDate kWinterSolstice1900{1900, 12, 22};

int Mod(int value, int divisor) { return (value % divisor + divisor) % divisor; }

int Stem(int cycle) { return cycle % 10; }
int Branch(int cycle) { return cycle % 12; }
GbkText GanZhi(int cycle) { return GbkText(kStems[Stem(cycle)]) + kBranches[Branch(cycle)]; }

int DayNumber(const CivilDate& date) {
  return static_cast<int>(std::floor(*EncodeDate(date.year, date.month, date.day)));
}

int DayCycle(int day) { return Mod(day + kDayCycleOffset, 60); }

int YearCycle(int lunarYear) { return Mod(lunarYear - kCycleYear, 60); }

// Months run from 节 to 节, and the 节 of Gregorian month m opens the month
// counted y * 12 + m - 1; the pillars follow that count without a break.
int MonthCycle(const CivilDate& date) {
  const int jieDay = SolarTermDayOfMonth(date.year, 2 * date.month - 1);
  const int month = date.year * 12 + date.month - 1 - (date.day < jieDay ? 1 : 0);
  return Mod(month - (kCycleYear * 12 + 1) + kFirstMonthOfCycleYear, 60);
}

// 建 falls on the day whose branch is the month's; the officers follow in turn.
int Officer(int monthBranch, int dayBranch) { return Mod(dayBranch - monthBranch, 12); }

// 青龙 begins on 子 in the months 寅 and 申, and two branches later with each
// month after them.
int Spirit(int monthBranch, int dayBranch) { return Mod(dayBranch - Mod(2 * monthBranch - 4, 12), 12); }

int Mansion(int day) { return Mod(day - kMansionDay, 28); }

int FirstGengDayFrom(int day) { return day + Mod(kGeng - Stem(DayCycle(day)), 10); }

GbkText CountText(const GbkText& name, int dayInCount) { return name + "第" + std::to_string(dayInCount) + "天"; }

// 初伏 begins on the third 庚 day from 夏至, 中伏 on the fourth and lasts until
// 末伏, which begins on the first 庚 day from 立秋; 初伏 and 末伏 last 10 days.
GbkText SanFu(const CivilDate& date, int day) {
  if (date.month != 7 && date.month != 8) return {};
  const int chuFu = FirstGengDayFrom(DayNumber({date.year, 6, SolarTermDayOfMonth(date.year, kSummerSolstice)})) + 20;
  const int zhongFu = chuFu + 10;
  const int moFu = FirstGengDayFrom(DayNumber({date.year, 8, SolarTermDayOfMonth(date.year, kStartOfAutumn)}));
  if (day >= chuFu && day < zhongFu) return CountText("初伏", day - chuFu + 1);
  if (day >= zhongFu && day < moFu) return CountText("中伏", day - zhongFu + 1);
  if (day >= moFu && day < moFu + 10) return CountText("末伏", day - moFu + 1);
  return {};
}

CivilDate WinterSolstice(int year) {
  if (year == kWinterSolstice1900.year) return kWinterSolstice1900;
  return {year, 12, SolarTermDayOfMonth(year, kWinterSolstice)};
}

// Nine nines of nine days from 冬至, which is 一九第1天.
GbkText ShuJiu(const CivilDate& date, int day) {
  const CivilDate solstice = WinterSolstice(date.year);
  const int start =
      date.month == 12 && date.day >= solstice.day ? DayNumber(solstice) : DayNumber(WinterSolstice(date.year - 1));
  const int sinceSolstice = day - start;
  if (sinceSolstice < 0 || sinceSolstice >= 81) return {};
  return CountText(GbkText(kNines[sinceSolstice / 9]) + "九", sinceSolstice % 9 + 1);
}

}  // namespace

Almanac GetAlmanac(TDateTime date) {
  const int lunarYear = GetLunarYear(date);
  if (lunarYear == 0) return {};
  const CivilDate civil = *DecodeDate(date);
  const int day = DayNumber(civil);
  const int dayCycle = DayCycle(day);
  const int monthCycle = MonthCycle(civil);
  const int monthBranch = Branch(monthCycle);
  const int dayBranch = Branch(dayCycle);
  const int spirit = Spirit(monthBranch, dayBranch);
  const int mansion = Mansion(day);

  Almanac almanac;
  almanac.yearGanZhi = GanZhi(YearCycle(lunarYear));
  almanac.monthGanZhi = GanZhi(monthCycle);
  almanac.dayGanZhi = GanZhi(dayCycle);
  almanac.naYin = kNaYin[dayCycle / 2];
  almanac.chong = kAnimals[(dayBranch + 6) % 12];
  almanac.sha = kSha[dayBranch % 4];
  almanac.zhiXing = kOfficers[Officer(monthBranch, dayBranch)];
  almanac.tianShen = kSpirits[spirit];
  almanac.huangDao = kSpiritIsHuangDao[spirit];
  almanac.xiu = kMansions[mansion];
  almanac.xiuLuck = kMansionIsLucky[mansion] ? "吉" : "凶";
  almanac.pengZu = GbkText(kPengZuStems[Stem(dayCycle)]) + " " + kPengZuBranches[dayBranch];
  almanac.sanFu = SanFu(civil, day);
  almanac.shuJiu = ShuJiu(civil, day);
  return almanac;
}

std::vector<GbkText> AlmanacLines(const Almanac& almanac) {
  if (almanac.dayGanZhi.empty()) return {};
  std::vector<GbkText> lines{
      almanac.yearGanZhi + "年 " + almanac.monthGanZhi + "月 " + almanac.dayGanZhi + "日",
      "纳音 " + almanac.naYin,
      "冲" + almanac.chong + " 煞" + almanac.sha,
      almanac.zhiXing + "日 " + almanac.tianShen + (almanac.huangDao ? "(黄道)" : "(黑道)"),
      almanac.xiu + "宿(" + almanac.xiuLuck + ")",
      "彭祖百忌 " + almanac.pengZu,
  };
  for (const GbkText* count : {&almanac.sanFu, &almanac.shuJiu}) {
    if (!count->empty()) lines.push_back(*count);
  }
  return lines;
}

}  // namespace taliven
