#pragma once
// The arrangements typed from the notices (holiday_notices.txt), read into
// the lines `taliven-cli holidays YEAR` prints: "YYYY-MM-DD 休 NAME" in UTF-8,
// by year of the date. Shared by the calendar's tests and the command's, so
// both hold the program to one list typed outside it.

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tdatetime.h"

namespace taliven::testing {

// The marks as the file writes them, UTF-8 whatever the test's own literals are.
inline const std::string kOffMark = reinterpret_cast<const char*>(u8"休");
inline const std::string kWorkMark = reinterpret_cast<const char*>(u8"班");

// "MM-DD" in `year`, or "YYYY-MM-DD".
inline CivilDate NoticeDate(const std::string& text, int year) {
  CivilDate date{year, 0, 0};
  char dash = 0;
  std::istringstream in(text.size() == 5 ? std::to_string(year) + "-" + text : text);
  in >> date.year >> dash >> date.month >> dash >> date.day;
  if (!in || !in.eof() || !EncodeDate(date.year, date.month, date.day)) {
    throw std::invalid_argument("no date in the notices' file: " + text);
  }
  return date;
}

inline std::string NoticeLine(const CivilDate& date, const std::string& mark, const std::string& name) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return std::string(text) + " " + mark + " " + name;
}

// Each year's lines in date order, keyed by date so that a day typed twice is caught.
using NoticeYears = std::map<int, std::map<std::string, std::string>>;

// One "A" or "A..B" of a row: every day of it.
inline void AddNoticeDays(NoticeYears& years, const std::string& days, int year, const std::string& mark,
                          const std::string& name) {
  const auto dots = days.find("..");
  const CivilDate first = NoticeDate(days.substr(0, dots), year);
  const CivilDate last = dots == std::string::npos ? first : NoticeDate(days.substr(dots + 2), year);
  const TDateTime end = *EncodeDate(last.year, last.month, last.day);
  for (TDateTime day = *EncodeDate(first.year, first.month, first.day); day <= end; day += 1) {
    const CivilDate date = *DecodeDate(day);
    const std::string line = NoticeLine(date, mark, name);
    if (!years[date.year].emplace(line.substr(0, 10), line).second) {
      throw std::invalid_argument("a day typed twice in the notices' file: " + line);
    }
  }
}

inline NoticeYears ReadHolidayNotices(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path);
  NoticeYears years;
  for (std::string row; std::getline(file, row);) {
    if (row.empty() || row.front() == '#') continue;
    std::istringstream fields(row);
    int year = 0;
    std::string name, mark;
    fields >> year >> name;
    for (std::string field; fields >> field;) {
      if (field == kOffMark || field == kWorkMark) {
        mark = field;
      } else if (mark.empty()) {
        throw std::invalid_argument("a row without 休 before its days: " + row);
      } else {
        AddNoticeDays(years, field, year, mark, name);
      }
    }
  }
  return years;
}

// The year's lines, one a line, as `holidays YEAR` prints them.
inline std::string NoticeLinesOf(const NoticeYears& years, int year) {
  std::string text;
  if (const auto found = years.find(year); found != years.end()) {
    for (const auto& [date, line] : found->second) text += line + "\n";
  }
  return text;
}

}  // namespace taliven::testing
