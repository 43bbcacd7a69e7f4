#include "almanac.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "day_hint.h"
#include "lunar.h"
#include "solar_terms.h"
#include "test_dates.h"

namespace taliven {
namespace {

using testing::Date;

const TDateTime kFirst = Date(1901, 1, 1);
const TDateTime kLast = Date(2050, 12, 31);

constexpr std::string_view kStemChars = "甲乙丙丁戊己庚辛壬癸";
constexpr std::string_view kBranchChars = "子丑寅卯辰巳午未申酉戌亥";

// The place of a character (the first of `text`) in a list of characters, or
// -1; compared character by character, since a GBK byte pair may straddle two.
int CharIndex(std::string_view list, std::string_view text) {
  for (std::size_t at = 0; at + 2 <= list.size(); at += 2) {
    if (list.substr(at, 2) == text.substr(0, 2)) return static_cast<int>(at / 2);
  }
  return -1;
}

// The place of a pillar ("甲子" .. "癸亥") in the sixty-step cycle.
int CycleIndex(const GbkText& ganZhi) {
  const int stem = CharIndex(kStemChars, ganZhi);
  const int branch = CharIndex(kBranchChars, ganZhi.substr(2));
  for (int index = 0; index < 60; ++index) {
    if (index % 10 == stem && index % 12 == branch) return index;
  }
  ADD_FAILURE() << "no pillar: " << ganZhi;
  return -1;
}

GbkText BranchOf(const GbkText& ganZhi) { return ganZhi.substr(2, 2); }

std::string Where(TDateTime date) {
  const CivilDate civil = *DecodeDate(date);
  return std::to_string(civil.year) + "-" + std::to_string(civil.month) + "-" + std::to_string(civil.day);
}

// Days as printed almanacs give them.
TEST(Almanac, DaysAsTheAlmanacsPrintThem) {
  struct Case {
    int year, month, day;
    Almanac expected;
  };
  // clang-format off
  const Case cases[] = {
      {2026, 12, 10, {"丙午", "庚子", "戊午", "天上火", "鼠", "北", "破", "司命", true, "角", "吉",
                      "戊不受田田主不祥 午不苫盖屋主更张", "", ""}},
      // The first day of the range still belongs to the lunar year 1900, and to
      // the nines of the 冬至 of 1900.
      {1901, 1, 1, {"庚子", "戊子", "己卯", "城头土", "鸡", "西", "平", "玉堂", true, "尾", "吉",
                    "己不破券二比并亡 卯不穿井水泉不香", "", "二九第2天"}},
      // 立春 opens the 寅 month on its day; the year pillar waits for 正月初一.
      {2024, 2, 3, {"癸卯", "乙丑", "丁酉", "山下火", "兔", "东", "成", "勾陈", false, "柳", "凶",
                    "丁不剃头头必生疮 酉不会客醉坐颠狂", "", "五九第8天"}},
      {2024, 2, 4, {"癸卯", "丙寅", "戊戌", "平地木", "龙", "北", "成", "司命", true, "星", "凶",
                    "戊不受田田主不祥 戌不吃犬作怪上床", "", "五九第9天"}},
      {2024, 2, 10, {"甲辰", "丙寅", "甲辰", "覆灯火", "狗", "南", "满", "金匮", true, "氐", "凶",
                     "甲不开仓财物耗散 辰不哭泣必主重丧", "", "六九第6天"}},
      // 夏至 2023 fell on a 庚 day, which counts as the first.
      {2023, 7, 11, {"癸卯", "己未", "庚午", "路旁土", "鼠", "北", "闭", "天牢", false, "室", "吉",
                     "庚不经络织机虚张 午不苫盖屋主更张", "初伏第1天", ""}},
      {2023, 7, 21, {"癸卯", "己未", "庚辰", "白蜡金", "狗", "南", "收", "白虎", false, "鬼", "凶",
                     "庚不经络织机虚张 辰不哭泣必主重丧", "中伏第1天", ""}},
      {2023, 8, 10, {"癸卯", "庚申", "庚子", "壁上土", "马", "南", "定", "青龙", true, "奎", "凶",
                     "庚不经络织机虚张 子不问卜自惹祸殃", "末伏第1天", ""}},
      // 夏至 2025 did not.
      {2025, 7, 20, {"乙巳", "癸未", "庚寅", "松柏木", "猴", "北", "危", "金匮", true, "星", "凶",
                     "庚不经络织机虚张 寅不祭祀神鬼不尝", "初伏第1天", ""}},
      {2025, 8, 8, {"乙巳", "甲申", "己酉", "大驿土", "兔", "东", "除", "玄武", false, "娄", "吉",
                    "己不破券二比并亡 酉不会客醉坐颠狂", "中伏第10天", ""}},
      {2025, 8, 9, {"乙巳", "甲申", "庚戌", "钗钏金", "龙", "北", "满", "司命", true, "胃", "吉",
                    "庚不经络织机虚张 戌不吃犬作怪上床", "末伏第1天", ""}},
      {2024, 12, 21, {"甲辰", "丙子", "己未", "天上火", "牛", "西", "危", "勾陈", false, "女", "凶",
                      "己不破券二比并亡 未不服药毒气入肠", "", "一九第1天"}},
      {2025, 3, 11, {"乙巳", "己卯", "己卯", "城头土", "鸡", "西", "建", "明堂", true, "尾", "吉",
                     "己不破券二比并亡 卯不穿井水泉不香", "", "九九第9天"}},
      {2050, 12, 31, {"庚午", "戊子", "乙酉", "泉中水", "兔", "东", "收", "明堂", true, "柳", "凶",
                      "乙不栽植千株不长 酉不会客醉坐颠狂", "", "二九第1天"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
    const Almanac a = GetAlmanac(Date(c.year, c.month, c.day));
    const Almanac& e = c.expected;
    EXPECT_EQ(a.yearGanZhi + a.monthGanZhi + a.dayGanZhi, e.yearGanZhi + e.monthGanZhi + e.dayGanZhi);
    EXPECT_EQ(a.naYin, e.naYin);
    EXPECT_EQ(a.chong + a.sha, e.chong + e.sha);
    EXPECT_EQ(a.zhiXing, e.zhiXing);
    EXPECT_EQ(a.tianShen, e.tianShen);
    EXPECT_EQ(a.huangDao, e.huangDao);
    EXPECT_EQ(a.xiu + a.xiuLuck, e.xiu + e.xiuLuck);
    EXPECT_EQ(a.pengZu, e.pengZu);
    EXPECT_EQ(a.sanFu, e.sanFu);
    EXPECT_EQ(a.shuJiu, e.shuJiu);
  }
}

TEST(Almanac, LinesOfADayAndNoneOutsideTheRange) {
  EXPECT_EQ(AlmanacLines(GetAlmanac(Date(2026, 12, 10))),
            (std::vector<GbkText>{"丙午年 庚子月 戊午日", "纳音 天上火", "冲鼠 煞北", "破日 司命(黄道)", "角宿(吉)",
                                  "彭祖百忌 戊不受田田主不祥 午不苫盖屋主更张"}));
  EXPECT_EQ(AlmanacLines(GetAlmanac(Date(2023, 8, 10))).back(), "末伏第1天");
  EXPECT_EQ(AlmanacLines(GetAlmanac(Date(2024, 2, 3)))[3], "成日 勾陈(黑道)");

  for (const TDateTime date : {Date(1900, 12, 31), Date(2051, 1, 1), Date(1, 1, 1), std::nan("")}) {
    const Almanac a = GetAlmanac(date);
    EXPECT_EQ(a.dayGanZhi + a.monthGanZhi + a.yearGanZhi + a.xiu + a.pengZu + a.shuJiu, "") << date;
    EXPECT_FALSE(a.huangDao) << date;
    EXPECT_TRUE(AlmanacLines(a).empty()) << date;
  }
}

TEST(DayHint, TheDayInFullThenItsAlmanac) {
  const std::vector<GbkText> leapDay = DayHintLines(2020, 5, 23, {});
  ASSERT_GE(leapDay.size(), 3u);
  EXPECT_EQ(leapDay[0], "2020年5月23日 星期六");
  EXPECT_EQ(leapDay[1], "农历闰四月初一");
  EXPECT_EQ(leapDay[2], "庚子年 辛巳月 丙寅日");
  // Every occasion of the day, though the grid shows only the first.
  EXPECT_EQ(DayHintLines(2000, 10, 6, {})[2], "重阳节 老人节");
  // Outside the lunar range only the date is known.
  EXPECT_EQ(DayHintLines(2051, 1, 2, {}), std::vector<GbkText>{"2051年1月2日 星期一"});
  EXPECT_TRUE(DayHintLines(2001, 2, 29, {}).empty());
  // What the arrangement of public holidays makes of the day, after its occasions.
  EXPECT_EQ(DayHintLines(2026, 10, 1, {DayOff::kOff, "国庆节"})[3], "国庆节 休");
  EXPECT_EQ(DayHintLines(2026, 10, 10, {DayOff::kWork, "国庆节"})[2], "国庆节 调休上班");
}

// Over the whole range: the day pillar steps on every day, the month pillar
// exactly on the 12 节 days and the year pillar exactly on 正月初一, each by
// one step; 建 falls on the day that shares the month's branch.
TEST(AlmanacWalk, PillarsStepOnTheirDaysAndJianSharesTheMonthsBranch) {
  Almanac previous = GetAlmanac(kFirst);
  for (TDateTime date = kFirst + 1; date <= kLast; date += 1) {
    const Almanac a = GetAlmanac(date);
    const CivilDate civil = *DecodeDate(date);
    const int term = SolarTermDay(static_cast<std::uint16_t>(civil.year), static_cast<std::uint16_t>(civil.month),
                                  static_cast<std::uint16_t>(civil.day));
    const bool jieDay = term % 2 == 1;
    const bool newYear = GetLunarCode(date) == 101;
    ASSERT_EQ(CycleIndex(a.dayGanZhi), (CycleIndex(previous.dayGanZhi) + 1) % 60) << Where(date);
    ASSERT_EQ(CycleIndex(a.monthGanZhi), (CycleIndex(previous.monthGanZhi) + (jieDay ? 1 : 0)) % 60) << Where(date);
    ASSERT_EQ(CycleIndex(a.yearGanZhi), (CycleIndex(previous.yearGanZhi) + (newYear ? 1 : 0)) % 60) << Where(date);
    ASSERT_EQ(a.zhiXing == "建", BranchOf(a.dayGanZhi) == BranchOf(a.monthGanZhi)) << Where(date);
    previous = a;
  }
}

// The almanac's tables, typed once from the traditional lists rather than
// from the code (a GBK character is two bytes).

// The sixty 纳音 as almanacs print them, each after its two pillars.
constexpr const char* kNaYinVerses[30] = {
    "甲子乙丑海中金", "丙寅丁卯炉中火", "戊辰己巳大林木", "庚午辛未路旁土", "壬申癸酉剑锋金", "甲戌乙亥山头火",
    "丙子丁丑涧下水", "戊寅己卯城头土", "庚辰辛巳白蜡金", "壬午癸未杨柳木", "甲申乙酉泉中水", "丙戌丁亥屋上土",
    "戊子己丑霹雳火", "庚寅辛卯松柏木", "壬辰癸巳长流水", "甲午乙未沙中金", "丙申丁酉山下火", "戊戌己亥平地木",
    "庚子辛丑壁上土", "壬寅癸卯金箔金", "甲辰乙巳覆灯火", "丙午丁未天河水", "戊申己酉大驿土", "庚戌辛亥钗钏金",
    "壬子癸丑桑柘木", "甲寅乙卯大溪水", "丙辰丁巳沙中土", "戊午己未天上火", "庚申辛酉石榴木", "壬戌癸亥大海水"};

// 六冲: each branch clashes with the one opposite, named by its animal.
constexpr const char* kClashes[12] = {"子马", "丑羊", "寅猴", "卯鸡", "辰狗", "巳猪",
                                      "午鼠", "未牛", "申虎", "酉兔", "戌龙", "亥蛇"};

// 申子辰煞南, 亥卯未煞西, 寅午戌煞北, 巳酉丑煞东.
constexpr const char* kShaRhymes[4] = {"申子辰煞南", "亥卯未煞西", "寅午戌煞北", "巳酉丑煞东"};

// 建除十二值星, 建 on the day of the month's own branch.
constexpr std::string_view kOfficerChars = "建除满平定执破危成收开闭";

// The twelve spirits in their turn, the six of the 黄道 among them, and the
// branch 青龙 begins on in each month: 子午月起申, 丑未月起戌, 寅申月起子,
// 卯酉月起寅, 辰戌月起辰, 巳亥月起午.
constexpr const char* kSpiritsInTurn[12] = {"青龙", "明堂", "天刑", "朱雀", "金匮", "天德",
                                            "白虎", "玉堂", "天牢", "玄武", "司命", "勾陈"};
const std::set<GbkText> kHuangDaoSpirits{"青龙", "明堂", "金匮", "天德", "玉堂", "司命"};
constexpr const char* kQingLongStarts[6] = {"子午申", "丑未戌", "寅申子", "卯酉寅", "辰戌辰", "巳亥午"};

// The twenty-eight mansions from 角, with their luck as the common
// 二十八宿值日吉凶 list gives it.
constexpr const char* kMansionsWithLuck[28] = {
    "角吉", "亢凶", "氐凶", "房吉", "心凶", "尾吉", "箕吉", "斗吉", "牛凶", "女凶", "虚凶", "危凶", "室吉", "壁吉",
    "奎凶", "娄吉", "胃吉", "昴凶", "毕吉", "觜凶", "参吉", "井吉", "鬼凶", "柳凶", "星凶", "张吉", "翼凶", "轸吉"};

// 彭祖百忌, the sayings of the ten stems and of the twelve branches.
constexpr const char* kPengZuOfStems[10] = {
    "甲不开仓财物耗散", "乙不栽植千株不长", "丙不修灶必见灾殃", "丁不剃头头必生疮", "戊不受田田主不祥",
    "己不破券二比并亡", "庚不经络织机虚张", "辛不合酱主人不尝", "壬不泱水更难提防", "癸不词讼理弱敌强"};
constexpr const char* kPengZuOfBranches[12] = {"子不问卜自惹祸殃", "丑不冠带主不还乡", "寅不祭祀神鬼不尝",
                                               "卯不穿井水泉不香", "辰不哭泣必主重丧", "巳不远行财物伏藏",
                                               "午不苫盖屋主更张", "未不服药毒气入肠", "申不安床鬼祟入房",
                                               "酉不会客醉坐颠狂", "戌不吃犬作怪上床", "亥不嫁娶不利新郎"};

// 2026-12-10 as the almanacs print it: a 戊午 day of 角.
const TDateTime kAnchorDay = Date(2026, 12, 10);
constexpr int kAnchorPillar = 54;  // 戊午

int Mod(int value, int divisor) { return (value % divisor + divisor) % divisor; }
int DaysFromAnchor(TDateTime date) { return static_cast<int>(std::lround(date - kAnchorDay)); }
GbkText Char(std::string_view list, int index) { return GbkText(list.substr(2 * index, 2)); }
GbkText Pillar(int cycle) { return Char(kStemChars, cycle % 10) + Char(kBranchChars, cycle % 12); }

// What the typed lists say of a day, given its place in the sixty-day cycle,
// in the twenty-eight-day one, and its month's branch.
Almanac TypedAlmanac(int pillar, int mansion, int monthBranch) {
  const int branch = pillar % 12;
  const GbkText branchChar = Char(kBranchChars, branch);
  Almanac expected;
  expected.dayGanZhi = Pillar(pillar);
  const std::string_view verse = kNaYinVerses[pillar / 2];
  EXPECT_EQ(verse.substr(pillar % 2 * 4, 4), expected.dayGanZhi) << "the typed 纳音 are out of order";
  expected.naYin = verse.substr(8);
  for (const std::string_view clash : kClashes) {
    if (clash.starts_with(branchChar)) expected.chong = clash.substr(2);
  }
  for (const std::string_view rhyme : kShaRhymes) {
    if (CharIndex(rhyme.substr(0, 6), branchChar) >= 0) expected.sha = rhyme.substr(8);
  }
  expected.zhiXing = Char(kOfficerChars, Mod(branch - monthBranch, 12));
  const GbkText monthChar = Char(kBranchChars, monthBranch);
  for (const std::string_view start : kQingLongStarts) {
    if (CharIndex(start.substr(0, 4), monthChar) >= 0) {
      expected.tianShen = kSpiritsInTurn[Mod(branch - CharIndex(kBranchChars, start.substr(4)), 12)];
    }
  }
  expected.huangDao = kHuangDaoSpirits.contains(expected.tianShen);
  const std::string_view mansionWithLuck = kMansionsWithLuck[mansion];
  expected.xiu = mansionWithLuck.substr(0, 2);
  expected.xiuLuck = mansionWithLuck.substr(2);
  expected.pengZu = GbkText(kPengZuOfStems[pillar % 10]) + " " + kPengZuOfBranches[branch];
  return expected;
}

// Every day of the range against the typed lists, so that any entry of any
// table out of its place shows on the days it comes round. The month's branch
// is the engine's own month pillar, which the printed days and the walk above
// hold.
TEST(AlmanacWalk, EveryTableEntryIsTheTraditionalOne) {
  for (TDateTime date = kFirst; date <= kLast; date += 1) {
    const Almanac a = GetAlmanac(date);
    const int days = DaysFromAnchor(date);
    const Almanac e =
        TypedAlmanac(Mod(kAnchorPillar + days, 60), Mod(days, 28), CharIndex(kBranchChars, BranchOf(a.monthGanZhi)));
    const auto all = [](const Almanac& x) {
      return x.dayGanZhi + "|" + x.naYin + "|" + x.chong + "|" + x.sha + "|" + x.zhiXing + "|" + x.tianShen +
             (x.huangDao ? "|黄道|" : "|黑道|") + x.xiu + x.xiuLuck + "|" + x.pengZu;
    };
    ASSERT_EQ(all(a), all(e)) << Where(date);
  }
}

// 黄道 days are exactly those of the six lucky spirits, and every one of the
// twelve spirits comes round.
TEST(AlmanacWalk, HuangDaoDaysAreThoseOfTheSixLuckySpirits) {
  const std::set<GbkText> lucky{"青龙", "明堂", "金匮", "天德", "玉堂", "司命"};
  std::set<GbkText> spirits;
  for (TDateTime date = kFirst; date <= kLast; date += 1) {
    const Almanac a = GetAlmanac(date);
    ASSERT_EQ(a.huangDao, lucky.contains(a.tianShen)) << Where(date);
    spirits.insert(a.tianShen);
  }
  EXPECT_EQ(spirits.size(), 12u);
}

// Each summer: 初伏 and 末伏 of 10 days and 中伏 of 10 or 20 between them,
// one run, every period opening on a 庚 day. Each winter: 81 days from 冬至.
TEST(AlmanacWalk, TheFuAndTheNinesRunTheirLengths) {
  for (int year = 1901; year <= 2050; ++year) {
    SCOPED_TRACE(year);
    std::string fu;  // one letter a day of the summer: 1, 2 or 3 for the period, '-' for none
    for (TDateTime date = Date(year, 6, 1); date <= Date(year, 9, 30); date += 1) {
      const GbkText sanFu = GetAlmanac(date).sanFu;
      const char period = sanFu.empty()                ? '-'
                          : sanFu.substr(0, 2) == "初" ? '1'
                          : sanFu.substr(0, 2) == "中" ? '2'
                                                       : '3';
      if (period != '-' && sanFu.substr(sanFu.size() - 6) == "第1天") {
        EXPECT_EQ(GetAlmanac(date).dayGanZhi.substr(0, 2), "庚") << Where(date);
      }
      fu += period;
    }
    const auto first = fu.find_first_not_of('-');
    const std::string run = fu.substr(first, fu.find_last_not_of('-') - first + 1);
    const std::string ten(10, '1'), middle10(10, '2'), last10(10, '3');
    EXPECT_TRUE(run == ten + middle10 + last10 || run == ten + middle10 + middle10 + last10) << run;

    const TDateTime solstice = Date(year, 12, SolarTermDayOfMonth(year, 24));
    if (year < 2050) {
      EXPECT_EQ(GetAlmanac(solstice - 1).shuJiu, "");
      EXPECT_EQ(GetAlmanac(solstice).shuJiu, "一九第1天");
      EXPECT_EQ(GetAlmanac(solstice + 80).shuJiu, "九九第9天");
      EXPECT_EQ(GetAlmanac(solstice + 81).shuJiu, "");
    }
  }
}

}  // namespace
}  // namespace taliven
