#include "holidays.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace taliven {
namespace {

// The files are UTF-8, while this file's narrow literals are GBK.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct DayCase {
  int year, month, day;
  DayOff dayOff;
  const char* holiday;
};

// Days as the notices write them.
TEST(Holidays, DaysOfTheArrangementsAsTheNoticesWriteThem) {
  const HolidayArrangements built;
  // clang-format off
  const DayCase cases[] = {
      // 2025 春节：1月28日至2月4日放假调休，共8天。1月26日（周日）、2月8日（周六）上班。
      {2025, 1, 26, DayOff::kWork, "春节"}, {2025, 1, 27, DayOff::kNone, ""},
      {2025, 1, 28, DayOff::kOff, "春节"},  {2025, 2, 1, DayOff::kOff, "春节"},
      {2025, 2, 4, DayOff::kOff, "春节"},   {2025, 2, 5, DayOff::kNone, ""},
      {2025, 2, 8, DayOff::kWork, "春节"},
      // 2024 元旦：1月1日放假，与周末连休 - the period begins in 2023.
      {2023, 12, 29, DayOff::kNone, ""},    {2023, 12, 30, DayOff::kOff, "元旦"},
      {2023, 12, 31, DayOff::kOff, "元旦"}, {2024, 1, 1, DayOff::kOff, "元旦"},
      {2024, 1, 2, DayOff::kNone, ""},
      // The anniversary of 2015, a day of its own notice: 9月3日至5日, 9月6日（星期日）上班.
      {2015, 9, 3, DayOff::kOff, "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日"},
      {2015, 9, 5, DayOff::kOff, "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日"},
      {2015, 9, 6, DayOff::kWork, "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日"},
      // 2023 中秋节、国庆节：9月29日至10月6日; 10月7日、8日上班.
      {2023, 9, 29, DayOff::kOff, "中秋节、国庆节"}, {2023, 10, 8, DayOff::kWork, "中秋节、国庆节"},
      // 2026 国庆节：10月1日至7日放假调休; 9月20日（周日）、10月10日（周六）上班.
      {2026, 9, 20, DayOff::kWork, "国庆节"}, {2026, 10, 1, DayOff::kOff, "国庆节"},
      {2026, 10, 7, DayOff::kOff, "国庆节"},  {2026, 10, 10, DayOff::kWork, "国庆节"},
      // Before the first known arrangement, and after the last.
      {2003, 10, 1, DayOff::kNone, ""}, {2030, 10, 1, DayOff::kNone, ""},
  };
  // clang-format on
  for (const DayCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
    const HolidayMark mark = built.Find(c.year, c.month, c.day);
    EXPECT_EQ(mark.dayOff, c.dayOff);
    EXPECT_EQ(mark.holiday, c.holiday);
  }
  // 2025: 元旦 1, 春节 8 + 2 worked, 清明节 3, 劳动节 5 + 1, 端午节 3, 国庆节、中秋节 8 + 2.
  EXPECT_EQ(built.DaysOf(2025).size(), 33u);
  EXPECT_TRUE(built.DaysOf(2030).empty());
  EXPECT_EQ(DayOffText(DayOff::kOff) + DayOffText(DayOff::kWork) + DayOffText(DayOff::kNone), "休班");
}

// What holds of every arrangement: one entry a day in date order, every day
// worked a Saturday or Sunday, and every year from 2004 to 2026 known.
TEST(Holidays, EveryBuiltInYearIsOrderedAndWorksOnlyWeekends) {
  const HolidayArrangements built;
  for (int year = 2004; year <= 2026; ++year) {
    const std::vector<HolidayDay> days = built.DaysOf(year);
    ASSERT_FALSE(days.empty()) << year;
    for (std::size_t i = 0; i < days.size(); ++i) {
      const CivilDate& d = days[i].date;
      EXPECT_EQ(d.year, year);
      if (i > 0) {
        const CivilDate& before = days[i - 1].date;
        EXPECT_LT(*EncodeDate(before.year, before.month, before.day), *EncodeDate(d.year, d.month, d.day));
      }
      const int weekday = DayOfWeek(d.year, d.month, d.day);
      if (days[i].dayOff == DayOff::kWork) {
        EXPECT_TRUE(weekday == 1 || weekday == 7) << d.month << "-" << d.day;
      }
      EXPECT_EQ(built.Find(d.year, d.month, d.day).holiday, days[i].holiday);
    }
  }
}

TEST(HolidayFile, LinesBecomeDaysAndEveryMalformedLineIsNamed) {
  const HolidayFile file = ParseHolidayFile(Utf8(u8"\uFEFF# 2027: the notice of November 2026\n"
                                                 u8"\n"
                                                 u8"2027-02-06\t休\t春节\r\n"
                                                 u8"  2027-02-07 班 春节  \n"
                                                 u8"2027-02-30 休 春节\n"          // 5: no such day
                                                 u8"2027-02-08 放 春节\n"          // 6: neither 休 nor 班
                                                 u8"2027-02-09 休\n"               // 7: no name
                                                 u8"27-2-10 休 春节\n"             // 8: no YYYY-MM-DD
                                                 u8"2027-02-12 休 春节😀\n"         // 9: a character GBK lacks
                                                 u8"2027-02-06 休 春节\n"          // 10: the same day again
                                                 u8"2028-01-01 休 元旦 新年\n") +  // a name may hold blanks
                                            "2027-02-11 \xFF\xFE\n");              // 12: no UTF-8
  ASSERT_EQ(file.years.size(), 2u);
  const std::vector<HolidayDay>& days = file.years.at(2027);
  ASSERT_EQ(days.size(), 2u);
  EXPECT_EQ(days[0].dayOff, DayOff::kOff);
  EXPECT_EQ(days[0].holiday, "春节");
  EXPECT_EQ(days[1].date.day, 7);
  EXPECT_EQ(days[1].dayOff, DayOff::kWork);
  EXPECT_EQ(file.years.at(2028).front().holiday, "元旦 新年");
  std::vector<int> lines;
  for (const HolidayFileProblem& problem : file.problems) lines.push_back(problem.line);
  EXPECT_EQ(lines, (std::vector<int>{5, 6, 7, 8, 9, 10, 12}));
}

// A scratch folder standing for the XDG data folders.
class HolidayFilesTest : public ::testing::Test {
 protected:
  HolidayFilesTest() {
    char pattern[] = "/tmp/taliven-holidays-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~HolidayFilesTest() override {
    for (const std::string& path : made_) std::remove(path.c_str());  // files first, then their folders
    std::remove(root_.c_str());
  }

  // DIR with DIR/taliven/holidays.txt holding `holidays`.
  std::string Dir(const std::string& name, const std::string& holidays) {
    const std::string dir = root_ + "/" + name;
    mkdir(dir.c_str(), 0700);
    mkdir((dir + "/taliven").c_str(), 0700);
    std::ofstream(dir + "/taliven/holidays.txt") << holidays;
    made_.insert(made_.begin(), {dir + "/taliven/holidays.txt", dir + "/taliven", dir});
    return dir;
  }

  std::string root_;
  std::vector<std::string> made_;
};

TEST_F(HolidayFilesTest, TheFirstFileWithLinesForAYearDecidesThatWholeYear) {
  const std::string user = Dir("user", Utf8(u8"2025-10-01 休 国庆节\n2027-01-01 休 元旦\nnonsense\n"));
  const std::string shared = Dir("shared", Utf8(u8"2025-10-02 休 国庆节\n2028-01-01 休 元旦\n"));
  const std::string none = root_ + "/nowhere";
  std::ostringstream problems;
  const HolidayArrangements known = LoadHolidayArrangements({none, user, shared}, problems);

  EXPECT_EQ(known.DaysOf(2025).size(), 1u) << "the user's file replaces the whole built-in year";
  EXPECT_EQ(known.Find(2025, 1, 28).dayOff, DayOff::kNone);
  EXPECT_EQ(known.Find(2025, 10, 2).dayOff, DayOff::kNone) << "a later file does not add to a decided year";
  EXPECT_EQ(known.Find(2027, 1, 1).holiday, "元旦");
  EXPECT_EQ(known.Find(2028, 1, 1).holiday, "元旦") << "a later file decides the years before it undecided";
  EXPECT_EQ(known.Find(2024, 2, 10).holiday, "春节") << "built-in years no file names stay";
  EXPECT_EQ(problems.str(), user +
                                "/taliven/holidays.txt:3: the line does not begin with a date of the form "
                                "YYYY-MM-DD; the line is skipped\n");
}

TEST_F(HolidayFilesTest, DataFoldersFollowTheXdgRules) {
  const auto set = [](const char* name, const char* value) {
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  };
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  set("HOME", "/home/u");
  set("XDG_DATA_HOME", nullptr);
  set("XDG_DATA_DIRS", nullptr);
  EXPECT_EQ(HolidayDataDirs(), (std::vector<std::string>{"/home/u/.local/share", "/usr/local/share", "/usr/share"}));
  set("XDG_DATA_HOME", "/data");
  set("XDG_DATA_DIRS", "relative:/opt/share::/srv");
  EXPECT_EQ(HolidayDataDirs(), (std::vector<std::string>{"/data", "/opt/share", "/srv"}));
  set("XDG_DATA_HOME", nullptr);
  set("XDG_DATA_DIRS", nullptr);
  set("HOME", savedHome.empty() ? nullptr : savedHome.c_str());
}

}  // namespace
}  // namespace taliven
