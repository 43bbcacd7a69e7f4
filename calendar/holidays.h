#pragma once
// Official days off (休) and makeup working days (班) from the yearly
// arrangements of public holidays for mainland China: the arrangements known
// when the program was built, and years added or replaced by a text file
// taliven/holidays.txt under the XDG data folders. The calendar window, every
// command of the companion and the iCalendar export ask here what a day is.

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "gbk_text.h"
#include "tdatetime.h"

namespace taliven {

enum class DayOff { kNone, kOff, kWork };

// The marks' colours as 0xRRGGBB, as Chinese calendars draw them: 休 red on
// a light red ground, 班 a dark slate blue on a light blue-grey one. Each
// text colour stands at least 4.5:1 against its ground (5.1 and 5.9).
inline constexpr std::uint32_t kDayOffMarkColor = 0xB51F18;
inline constexpr std::uint32_t kDayOffMarkGround = 0xFFDAD6;
inline constexpr std::uint32_t kWorkdayMarkColor = 0x3E5573;
inline constexpr std::uint32_t kWorkdayMarkGround = 0xDCE3EE;

// "休", "班", or the empty text for kNone.
GbkText DayOffText(DayOff dayOff);

struct HolidayMark {
  DayOff dayOff = DayOff::kNone;
  GbkText holiday;  // the holiday whose arrangement names the day ("国庆节"), or empty
};

struct HolidayDay {
  CivilDate date;
  DayOff dayOff;  // kOff or kWork
  GbkText holiday;
};

// The lines of one holidays.txt, by year. A line is "YYYY-MM-DD 休 NAME" or
// "YYYY-MM-DD 班 NAME" in UTF-8; blank lines and lines starting with '#' say
// nothing. Each line that is neither is a problem, and is left out.
struct HolidayFileProblem {
  int line;  // from 1
  std::string reason;
};
struct HolidayFile {
  std::map<int, std::vector<HolidayDay>> years;  // each year's days in date order
  std::vector<HolidayFileProblem> problems;
};
HolidayFile ParseHolidayFile(std::string_view utf8);

class HolidayArrangements {
 public:
  // The arrangements built into the program.
  HolidayArrangements() = default;

  // The whole of `year` is now what `days` says (in date order).
  void Replace(int year, std::vector<HolidayDay> days);

  // What the arrangement of the day's year says of it; nothing for a day it
  // does not name or a year without a known arrangement.
  HolidayMark Find(int year, int month, int day) const;

  // Every day the arrangement names, in date order; empty for a year without one.
  std::vector<HolidayDay> DaysOf(int year) const;

 private:
  std::map<int, std::vector<HolidayDay>> replaced_;
};

// The folders holidays.txt is looked for in, first first: $XDG_DATA_HOME
// (default ~/.local/share), then those of $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share); relative ones are ignored, as the XDG base
// directory rules say.
std::vector<std::string> HolidayDataDirs();

// The built-in arrangements with every year that a DIR/taliven/holidays.txt
// supplies: the first file, in the order of `dataDirs`, that has lines for a
// year decides that whole year. Each problem of a file is written to
// `problems` as "FILE:LINE: reason", one a line.
HolidayArrangements LoadHolidayArrangements(const std::vector<std::string>& dataDirs, std::ostream& problems);

}  // namespace taliven
