#include "holidays.h"

#include <iconv.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

#include "holiday_table.h"

namespace taliven {
namespace {

// A file bigger than this is no list of holidays; it is not read.
constexpr off_t kMaxFileBytes = 1 << 20;

// The messages go to a terminal in UTF-8, while this file's narrow literals are GBK.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

int DateKey(const CivilDate& date) { return date.year * 10000 + date.month * 100 + date.day; }

CivilDate DateOfKey(int key) { return {key / 10000, key / 100 % 100, key % 100}; }

HolidayDay FromBuiltIn(const BuiltInHolidayDay& day) {
  return {DateOfKey(day.date), day.work ? DayOff::kWork : DayOff::kOff, BuiltInHolidayName(day.name)};
}

std::span<const BuiltInHolidayDay> BuiltInDaysOf(int year) {
  const auto days = BuiltInHolidayDays();
  const auto first = std::ranges::lower_bound(days, year * 10000, {}, &BuiltInHolidayDay::date);
  const auto end = std::ranges::lower_bound(days, (year + 1) * 10000, {}, &BuiltInHolidayDay::date);
  return {first, end};
}

// UTF-8 to GBK through the C library; empty when the text is no UTF-8 or
// holds a character GBK lacks.
class Utf8ToGbk {
 public:
  Utf8ToGbk() : cd_(iconv_open("GBK", "UTF-8")) {}
  ~Utf8ToGbk() {
    if (cd_ != kFailed) iconv_close(cd_);
  }
  Utf8ToGbk(const Utf8ToGbk&) = delete;
  Utf8ToGbk& operator=(const Utf8ToGbk&) = delete;

  std::optional<GbkText> operator()(std::string_view utf8) {
    if (cd_ == kFailed) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // a fresh start after an earlier failure
    // Every character is one to four bytes in UTF-8 and at most two in GBK.
    GbkText out(utf8.size(), '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd_, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  static inline const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);
  iconv_t cd_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text up to the next blank, and what follows it with its blanks dropped.
std::string_view NextField(std::string_view& rest) {
  const auto end = std::ranges::find_if(rest, IsBlank) - rest.begin();
  const std::string_view field = rest.substr(0, end);
  rest.remove_prefix(end);
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  return field;
}

std::optional<CivilDate> ParseDate(std::string_view text) {
  const auto digits = [&](std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const CivilDate date{digits(0, 4), digits(5, 2), digits(8, 2)};
  if (!EncodeDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

// One line of a holidays.txt, already in GBK: the day it names, or why not.
struct ParsedLine {
  std::optional<HolidayDay> day;
  std::string problem;
};

ParsedLine ParseLine(std::string_view line) {
  std::string_view rest = line;
  const std::string_view dateText = NextField(rest);
  const auto date = ParseDate(dateText);
  if (!date) return {std::nullopt, "the line does not begin with a date of the form YYYY-MM-DD"};
  const std::string_view kind = NextField(rest);
  DayOff dayOff = DayOff::kNone;
  if (kind == DayOffText(DayOff::kOff)) dayOff = DayOff::kOff;
  if (kind == DayOffText(DayOff::kWork)) dayOff = DayOff::kWork;
  if (dayOff == DayOff::kNone)
    return {std::nullopt, Utf8(u8"the date is to be followed by 休 (a day off) or 班 (a day worked)")};
  const GbkText name = Trim(rest);
  if (name.empty()) return {std::nullopt, "the holiday's name is missing"};
  return {HolidayDay{*date, dayOff, name}, {}};
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

// The text of a holidays.txt; nothing, and no problem, where there is no such file.
std::optional<std::string> ReadHolidayFile(const std::string& path, std::string& problem) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT && errno != ENOTDIR) problem = std::strerror(errno);
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    problem = "is no regular file, so it is not read";
    return std::nullopt;
  }
  if (info.st_size > kMaxFileBytes) {
    problem = "is larger than 1 MiB, so it is not read";
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  std::string text(static_cast<std::size_t>(info.st_size), '\0');
  if (!file.read(text.data(), info.st_size)) {
    problem = "cannot be read";
    return std::nullopt;
  }
  return text;
}

}  // namespace

GbkText DayOffText(DayOff dayOff) {
  switch (dayOff) {
    case DayOff::kOff: return "休";
    case DayOff::kWork: return "班";
    case DayOff::kNone: break;
  }
  return {};
}

HolidayFile ParseHolidayFile(std::string_view utf8) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (utf8.starts_with(kByteOrderMark)) utf8.remove_prefix(kByteOrderMark.size());
  HolidayFile file;
  std::map<int, std::map<int, HolidayDay>> days;  // by year, then by date
  Utf8ToGbk toGbk;
  int number = 0;
  for (const std::string_view rawLine : Lines(utf8)) {
    ++number;
    const auto line = toGbk(rawLine);
    if (!line) {
      file.problems.push_back({number, "the line is no UTF-8 text, or holds a character the calendar cannot show"});
      continue;
    }
    const GbkText text = Trim(*line);
    if (text.empty() || text.front() == '#') continue;
    ParsedLine parsed = ParseLine(text);
    if (!parsed.day) {
      file.problems.push_back({number, parsed.problem});
      continue;
    }
    const CivilDate date = parsed.day->date;
    if (!days[date.year].emplace(DateKey(date), std::move(*parsed.day)).second) {
      file.problems.push_back({number, "a second line for the same day"});
    }
  }
  for (auto& [year, byDate] : days) {
    std::vector<HolidayDay>& ordered = file.years[year];
    for (auto& [key, day] : byDate) ordered.push_back(std::move(day));
  }
  return file;
}

void HolidayArrangements::Replace(int year, std::vector<HolidayDay> days) { replaced_[year] = std::move(days); }

HolidayMark HolidayArrangements::Find(int year, int month, int day) const {
  const int key = DateKey({year, month, day});
  if (const auto replaced = replaced_.find(year); replaced != replaced_.end()) {
    const auto& days = replaced->second;
    const auto found = std::ranges::lower_bound(days, key, {}, [](const HolidayDay& d) { return DateKey(d.date); });
    if (found == days.end() || DateKey(found->date) != key) return {};
    return {found->dayOff, found->holiday};
  }
  const auto days = BuiltInHolidayDays();
  const auto found = std::ranges::lower_bound(days, key, {}, &BuiltInHolidayDay::date);
  if (found == days.end() || found->date != key) return {};
  return {found->work ? DayOff::kWork : DayOff::kOff, BuiltInHolidayName(found->name)};
}

std::vector<HolidayDay> HolidayArrangements::DaysOf(int year) const {
  if (const auto replaced = replaced_.find(year); replaced != replaced_.end()) return replaced->second;
  std::vector<HolidayDay> days;
  for (const BuiltInHolidayDay& day : BuiltInDaysOf(year)) days.push_back(FromBuiltIn(day));
  return days;
}

std::vector<std::string> HolidayDataDirs() {
  const auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value ? value : "");
  };
  std::vector<std::string> dirs;
  const std::string home = variable("XDG_DATA_HOME");
  if (!home.empty() && home.front() == '/') {
    dirs.push_back(home);
  } else if (const std::string user = variable("HOME"); !user.empty()) {
    dirs.push_back(user + "/.local/share");
  }
  std::string shared = variable("XDG_DATA_DIRS");
  if (shared.empty()) shared = "/usr/local/share:/usr/share";
  std::istringstream list(shared);
  for (std::string dir; std::getline(list, dir, ':');) {
    if (!dir.empty() && dir.front() == '/') dirs.push_back(dir);
  }
  return dirs;
}

HolidayArrangements LoadHolidayArrangements(const std::vector<std::string>& dataDirs, std::ostream& problems) {
  HolidayArrangements arrangements;
  std::set<int> decided;
  for (const std::string& dir : dataDirs) {
    const std::string path = dir + "/taliven/holidays.txt";
    std::string problem;
    const auto text = ReadHolidayFile(path, problem);
    if (!text) {
      if (!problem.empty()) problems << path << ": " << problem << "\n";
      continue;
    }
    HolidayFile file = ParseHolidayFile(*text);
    for (const HolidayFileProblem& p : file.problems) {
      problems << path << ":" << p.line << ": " << p.reason << "; the line is skipped\n";
    }
    for (auto& [year, days] : file.years) {
      if (decided.insert(year).second) arrangements.Replace(year, std::move(days));
    }
  }
  return arrangements;
}

}  // namespace taliven
