#include "holidays.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "holiday_notices.h"
#include "test_dates.h"

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

// The table's GBK names in the notices' UTF-8.
std::string Utf8OfGbk(const GbkText& gbk) {
  const iconv_t cd = iconv_open("UTF-8", "GBK");
  std::string out(gbk.size() * 2, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t inLeft = gbk.size();
  char* to = out.data();
  std::size_t outLeft = out.size();
  const bool converted = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!converted) ADD_FAILURE() << "no GBK: " << gbk;
  out.resize(out.size() - outLeft);
  return out;
}

// Every day of every built-in year, both ways: each day a notice names is in
// the table with its mark and holiday, and the table holds no other day.
TEST(Holidays, EveryBuiltInYearIsItsNoticeDayByDay) {
  const testing::NoticeYears notices = testing::ReadHolidayNotices(TALIVEN_HOLIDAY_NOTICES);
  const HolidayArrangements built;
  for (int year = 2003; year <= 2027; ++year) {
    std::string table;
    for (const HolidayDay& day : built.DaysOf(year)) {
      const std::string line = testing::NoticeLine(day.date, Utf8OfGbk(DayOffText(day.dayOff)), Utf8OfGbk(day.holiday));
      table += line + "\n";
      const HolidayMark mark = built.Find(day.date.year, day.date.month, day.date.day);
      EXPECT_EQ(mark.dayOff, day.dayOff) << line;
      EXPECT_EQ(mark.holiday, day.holiday) << line;
    }
    EXPECT_EQ(table, testing::NoticeLinesOf(notices, year)) << year;
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

// Every day of five years, each a line: every month, every digit in every
// place of a date, 29 February of a leap year.
TEST(HolidayFile, EveryDayOfSeveralYearsIsALine) {
  std::string text;
  int lines = 0;
  for (TDateTime day = testing::Date(2027, 1, 1); day <= testing::Date(2031, 12, 31); day += 1) {
    const CivilDate date = *DecodeDate(day);
    text += testing::NoticeLine(date, date.day % 2 == 0 ? testing::kOffMark : testing::kWorkMark, "x") + "\n";
    ++lines;
  }
  const HolidayFile file = ParseHolidayFile(text);
  EXPECT_TRUE(file.problems.empty()) << file.problems.front().line << ": " << file.problems.front().reason;
  std::size_t days = 0;
  for (const auto& [year, yearDays] : file.years) {
    for (const HolidayDay& day : yearDays) {
      EXPECT_EQ(day.date.year, year);
      EXPECT_EQ(day.dayOff, day.date.day % 2 == 0 ? DayOff::kOff : DayOff::kWork);
    }
    days += yearDays.size();
  }
  EXPECT_EQ(days, static_cast<std::size_t>(lines));
  EXPECT_EQ(file.years.at(2028).at(59).date.day, 29);
}

// Blanks and tabs, in any number, around the fields and between them; those
// inside a name stay.
TEST(HolidayFile, BlanksAndTabsInAnyNumberSeparateTheFields) {
  struct Case {
    const char8_t* line;
    DayOff dayOff;
    const char* name;
  };
  // clang-format off
  const Case cases[] = {
      {u8"2029-09-29 休 国庆节",                 DayOff::kOff,  "国庆节"},
      {u8"2029-09-29  休  国庆节",               DayOff::kOff,  "国庆节"},
      {u8"2029-09-29     休     国庆节",         DayOff::kOff,  "国庆节"},
      {u8"2029-09-29\t班\t国庆节",              DayOff::kWork, "国庆节"},
      {u8"2029-09-29\t\t班\t\t\t国庆节",        DayOff::kWork, "国庆节"},
      {u8"2029-09-29 \t 休\t \t国庆节",         DayOff::kOff,  "国庆节"},
      {u8"   2029-09-29 休 国庆节",              DayOff::kOff,  "国庆节"},
      {u8"\t\t2029-09-29 休 国庆节 \t ",          DayOff::kOff,  "国庆节"},
      {u8"2029-09-29 休 中秋节、国庆节\r",       DayOff::kOff,  "中秋节、国庆节"},
      {u8"2029-09-29  休  中秋 国庆\t假期  ",    DayOff::kOff,  "中秋 国庆\t假期"},
  };
  // clang-format on
  for (const Case& c : cases) {
    const std::string line = Utf8(c.line);
    SCOPED_TRACE(line);
    const HolidayFile file = ParseHolidayFile(line + "\n");
    EXPECT_TRUE(file.problems.empty());
    ASSERT_EQ(file.years.count(2029), 1u);
    const HolidayDay& day = file.years.at(2029).front();
    EXPECT_EQ(day.date.month * 100 + day.date.day, 929);
    EXPECT_EQ(day.dayOff, c.dayOff);
    EXPECT_EQ(day.holiday, c.name);
  }
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

// A file as a user keeps it: several years, each under a title, laid out
// with blanks and tabs, several KiB long. Its days are those of the notices
// of 2021..2026 moved on ten years, so that none is a built-in year's.
TEST_F(HolidayFilesTest, AFileOfSeveralYearsAddsThemAll) {
  constexpr int kLater = 10;
  const testing::NoticeYears notices = testing::ReadHolidayNotices(TALIVEN_HOLIDAY_NOTICES);
  std::string text;
  std::map<int, std::string> expected;
  for (int year = 2021 + kLater; year <= 2026 + kLater; ++year) {
    text += Utf8(u8"\n# 国务院办公厅关于") + std::to_string(year) + Utf8(u8"年部分节假日安排的通知\n");
    std::istringstream lines(testing::NoticeLinesOf(notices, year - kLater));
    int number = 0;
    for (std::string line; std::getline(lines, line); ++number) {
      line.replace(0, 4, std::to_string(year));
      expected[year] += line + "\n";
      // date, mark and name apart by one blank, as `holidays` prints them, by a tab or by several blanks
      const std::string gaps[] = {" ", "\t", "   "};
      const std::string& gap = gaps[number % 3];
      text += line.substr(0, 10) + gap + line.substr(11, 3) + gap + line.substr(15) + "\n";
    }
  }
  ASSERT_GT(text.size(), 4096u);
  std::ostringstream problems;
  const HolidayArrangements known = LoadHolidayArrangements({Dir("user", text)}, problems);
  EXPECT_EQ(problems.str(), "");
  for (const auto& [year, lines] : expected) {
    std::string loaded;
    for (const HolidayDay& day : known.DaysOf(year)) {
      loaded += testing::NoticeLine(day.date, Utf8OfGbk(DayOffText(day.dayOff)), Utf8OfGbk(day.holiday)) + "\n";
    }
    EXPECT_EQ(loaded, lines) << year;
  }
}

// `bytes` of comment lines, a blank line where one byte is left.
std::string CommentLines(std::size_t bytes) {
  std::string lines;
  while (lines.size() < bytes) {
    const std::size_t length = std::min<std::size_t>(bytes - lines.size(), 80);
    lines += std::string(length - 1, '#') + "\n";
  }
  return lines;
}

// A file is read up to 1 MiB, whole; one byte more and it is named and passed over.
TEST_F(HolidayFilesTest, AFileIsReadUpTo1MiB) {
  constexpr std::size_t kMiB = 1 << 20;
  const std::string first = Utf8(u8"2027-01-01 休 元旦\n");
  const std::string last = Utf8(u8"2027-12-31 班 元旦\n");
  for (const std::size_t size : {kMiB - 1, kMiB, kMiB + 1}) {
    SCOPED_TRACE(size);
    const std::string text = first + CommentLines(size - first.size() - last.size()) + last;
    ASSERT_EQ(text.size(), size);
    std::ostringstream problems;
    const std::string dir = Dir("size" + std::to_string(size), text);
    const HolidayArrangements known = LoadHolidayArrangements({dir}, problems);
    if (size <= kMiB) {
      EXPECT_EQ(problems.str(), "");
      EXPECT_EQ(known.Find(2027, 1, 1).dayOff, DayOff::kOff);
      EXPECT_EQ(known.Find(2027, 12, 31).dayOff, DayOff::kWork);
    } else {
      EXPECT_EQ(problems.str(), dir + "/taliven/holidays.txt: is larger than 1 MiB, so it is not read\n");
      EXPECT_TRUE(known.DaysOf(2027).empty());
    }
  }
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
