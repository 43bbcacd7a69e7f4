// from-lunar: the Gregorian date of a lunar day.
#include <string>

#include "cli_support.h"
#include "commands.h"
#include "lunar.h"

namespace taliven::cli {
namespace {

std::string Ordinal(int number) {
  static constexpr const char* kSuffixes[] = {"th", "st", "nd", "rd"};
  const int last = number % 10;
  return std::to_string(number) + (number / 10 == 1 || last > 3 ? "th" : kSuffixes[last]);
}

// Why a lunar day has no Gregorian date, in words.
std::string Refusal(const LunarDay& day, const LunarDayLookup& found) {
  using Outcome = LunarDayLookup::Outcome;
  const std::string month = (day.leap ? "leap " : "") + Ordinal(day.month) + " month";
  const std::string year = "the lunar year " + std::to_string(day.year);
  switch (found.outcome) {
    case Outcome::kNoSuchLeapMonth: return year + " has no " + month;
    case Outcome::kMonthTooShort:
      return "the " + month + " of " + year + " has " + std::to_string(found.monthLength) + " days";
    case Outcome::kBeforeRange: return "that day lies before 1901-01-01, where the calendar begins";
    case Outcome::kAfterRange: return "that day lies after 2050-12-31, where the calendar ends";
    case Outcome::kNotALunarDay:
    case Outcome::kFound: break;
  }
  return "no such lunar day";
}

}  // namespace

int RunFromLunar(const Args& args) {
  const auto& words = args.positionals();
  if (words.size() != 3) throw UsageError("expected LUNAR_YEAR, LUNAR_MONTH and LUNAR_DAY");
  const LunarDay day{ParseIntArgument(words[0], "LUNAR_YEAR"), ParseIntInRange(words[1], "LUNAR_MONTH", 1, 12),
                     args.has("--leap"), ParseIntInRange(words[2], "LUNAR_DAY", 1, 30)};
  const LunarDayLookup found = FindLunarDay(day);
  if (found.outcome != LunarDayLookup::Outcome::kFound) throw EngineError(Refusal(day, found));

  std::string out;
  if (args.has("--json")) {
    out = "{\"lunarYear\":";
    AppendNumber(out, day.year);
    out += ",\"lunarMonth\":";
    AppendNumber(out, day.month);
    out += day.leap ? ",\"leap\":true" : ",\"leap\":false";
    out += ",\"lunarDay\":";
    AppendNumber(out, day.day);
    out += ",\"date\":\"";
    AppendDate(out, found.date);
    out += "\"}";
  } else {
    AppendDate(out, found.date);
  }
  out += '\n';
  WriteOut(out);
  return 0;
}

}  // namespace taliven::cli
