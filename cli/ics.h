#pragma once
// The calendar as an iCalendar file (RFC 5545): festivals, solar terms,
// official days off and worked weekend days, and yearly lunar anniversaries
// as all-day events, for import into calendar programs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tdatetime.h"

namespace taliven::cli {

// Which of the engine's day texts become events.
enum EventKinds : unsigned {
  kLunarFestivals = 1,  // 农历节日
  kSolarTerms = 2,      // 节气
  kSolarFestivals = 4,  // 公历节日
  kHolidays = 8,        // 放假 and 调休上班, from the arrangements of public holidays
  kAllKinds = 15,
};

// A yearly anniversary on a lunar day: its title (UTF-8), and the month,
// whether it is the leap month of that number, and the day.
struct Anniversary {
  std::string name;
  int month;
  bool leap;
  int day;
};

struct IcsRequest {
  CivilDate from{};
  CivilDate to{};
  unsigned kinds = kAllKinds;
  std::vector<Anniversary> anniversaries;
  std::int64_t stamp = 0;  // DTSTAMP, seconds since 1970-01-01 UTC
};

// "lunar,terms" and the like; throws UsageError for an unknown or empty kind.
unsigned ParseEventKinds(std::string_view list);

// NAME=MONTH-DAY; throws UsageError when malformed, when NAME is empty, not
// UTF-8 or holds a control character other than a newline or a tab.
Anniversary ParseAnniversary(std::string_view value);

// SOURCE_DATE_EPOCH's value; throws UsageError unless it is a count of
// seconds up to the end of the year 9999.
std::int64_t ParseSourceDateEpoch(std::string_view value);

// The whole file, lines ending in CR LF.
std::string WriteIcs(const IcsRequest& request);

// RFC 5545 text: backslashes, semicolons and commas escaped, newlines as \n.
std::string EscapeIcsText(std::string_view text);

// Appends one content line folded after at most 75 octets a line, never
// inside a UTF-8 sequence, each line ending in CR LF.
void AppendContentLine(std::string& out, std::string_view line);

}  // namespace taliven::cli
