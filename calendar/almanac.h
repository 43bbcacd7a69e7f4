#pragma once
// The old almanac (黄历) of a day: its stem-branch pillars, what it clashes
// with, its officer, spirit and lunar mansion, the 彭祖 sayings, and the 三伏
// and 数九 counts. All of it follows by rule from the day count, the lunar
// year and the engine's own solar-term days; nothing is stored per day.

#include <vector>

#include "gbk_text.h"
#include "tdatetime.h"

namespace taliven {

struct Almanac {
  GbkText yearGanZhi;     // of the lunar year, changing on 正月初一
  GbkText monthGanZhi;    // of the month counted from the 12 节 terms
  GbkText dayGanZhi;      // of the day in the sixty-day cycle
  GbkText naYin;          // 纳音 of the day's pillar
  GbkText chong;          // the animal the day clashes with ("鼠")
  GbkText sha;            // direction of the day's 煞: 东, 南, 西 or 北
  GbkText zhiXing;        // officer of 建除十二值星 ("建" .. "闭")
  GbkText tianShen;       // one of the twelve spirits ("青龙" .. "勾陈")
  bool huangDao = false;  // the spirit is one of the six of the 黄道
  GbkText xiu;            // lunar mansion ("角" .. "轸")
  GbkText xiuLuck;        // "吉" or "凶"
  GbkText pengZu;         // the sayings of the day's stem and branch, one space between
  GbkText sanFu;          // "初伏第N天", "中伏第N天", "末伏第N天" or empty
  GbkText shuJiu;         // "一九第N天" .. "九九第N天" or empty
};

// The almanac of the date; every text empty and huangDao false outside
// 1901-01-01 .. 2050-12-31.
Almanac GetAlmanac(TDateTime date);

// The almanac as a reader sees it, a few short lines: the pillars, the 纳音,
// the clash and 煞, officer and spirit, mansion, the 彭祖 sayings, and the
// 三伏 or 数九 count where there is one. None outside the range.
std::vector<GbkText> AlmanacLines(const Almanac& almanac);

}  // namespace taliven
