#include "ics.h"

#include <algorithm>
#include <charconv>
#include <chrono>

#include "cli_support.h"
#include "festivals.h"
#include "lunar.h"
#include "solar_terms.h"

namespace taliven::cli {
namespace {

constexpr std::size_t kMaxLineOctets = 75;

struct Kind {
  std::string_view word;
  EventKinds kind;
};
constexpr Kind kKinds[] = {
    {"lunar", kLunarFestivals}, {"terms", kSolarTerms}, {"solar", kSolarFestivals}, {"holidays", kHolidays}};

struct Event {
  TDateTime date;
  std::string summary;  // UTF-8, not yet escaped
  std::string_view category;
  std::string uid;
};

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::optional<int> SmallNumber(std::string_view digits) {
  int value = 0;
  const char* end = digits.data() + digits.size();
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

void AppendIcsDate(std::string& out, TDateTime date) {
  const CivilDate civil = *DecodeDate(date);
  AppendNumber(out, civil.year, 4);
  AppendNumber(out, civil.month, 2);
  AppendNumber(out, civil.day, 2);
}

std::string IcsTimestamp(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds time{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  std::string out;
  AppendNumber(out, static_cast<int>(date.year()), 4);
  AppendNumber(out, static_cast<int>(unsigned{date.month()}), 2);
  AppendNumber(out, static_cast<int>(unsigned{date.day()}), 2);
  out += 'T';
  AppendNumber(out, static_cast<int>(clock.hours().count()), 2);
  AppendNumber(out, static_cast<int>(clock.minutes().count()), 2);
  AppendNumber(out, static_cast<int>(clock.seconds().count()), 2);
  out += 'Z';
  return out;
}

std::string Hex(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    out += kHex[static_cast<unsigned char>(c) >> 4];
    out += kHex[static_cast<unsigned char>(c) & 0xF];
  }
  return out;
}

std::string DayUid(TDateTime date, std::string_view kind) {
  std::string uid;
  AppendIcsDate(uid, date);
  return uid + "-" + std::string(kind) + "@taliven";
}

// Named by the lunar year, the day as written and the name, so that each
// year's event of one anniversary keeps its UID from run to run.
std::string AnniversaryUid(int lunarYear, const Anniversary& a) {
  std::string uid;
  AppendNumber(uid, lunarYear);
  uid += a.leap ? "-anniversary-L" : "-anniversary-";
  AppendNumber(uid, a.month);
  uid += '-';
  AppendNumber(uid, a.day);
  return uid + "-" + Hex(a.name) + "@taliven";
}

void AddDayEvents(const IcsRequest& request, std::vector<Event>& events) {
  const TDateTime first = std::max(*EncodeDate(request.from.year, request.from.month, request.from.day),
                                   *EncodeDate(kFirstLunarYear, 1, 1));
  const TDateTime last =
      std::min(*EncodeDate(request.to.year, request.to.month, request.to.day), *EncodeDate(kLastLunarYear, 12, 31));
  Utf8Texts utf8;
  const auto add = [&](TDateTime date, EventKinds kind, const GbkText& text, std::string_view category,
                       std::string_view uidKind) {
    if ((request.kinds & kind) != 0 && !text.empty())
      events.push_back({date, utf8(text), category, DayUid(date, uidKind)});
  };
  const HolidayArrangements& holidays = KnownHolidays();
  for (TDateTime date = first; date <= last; date += 1) {
    const CivilDate civil = *DecodeDate(date);
    add(date, kLunarFestivals, GetLunarFestival(date), "农历节日", "lunar-festival");
    add(date, kSolarTerms, GetSolarTerm(date), "节气", "solar-term");
    add(date, kSolarFestivals, GetSolarFestival(civil.day, date), "公历节日", "solar-festival");
    if (const HolidayMark mark = holidays.Find(civil.year, civil.month, civil.day); mark.dayOff != DayOff::kNone) {
      const bool off = mark.dayOff == DayOff::kOff;
      add(date, kHolidays, mark.holiday + " " + DayOffText(mark.dayOff), off ? "放假" : "调休上班", "holiday");
    }
  }
}

void AddAnniversaries(const IcsRequest& request, std::vector<Event>& events) {
  const TDateTime first = *EncodeDate(request.from.year, request.from.month, request.from.day);
  const TDateTime last = *EncodeDate(request.to.year, request.to.month, request.to.day);
  std::vector<const Anniversary*> seen;
  for (const Anniversary& a : request.anniversaries) {
    const auto same = [&](const Anniversary* b) {
      return b->name == a.name && b->month == a.month && b->leap == a.leap && b->day == a.day;
    };
    if (std::any_of(seen.begin(), seen.end(), same)) continue;  // given twice: one event a year
    seen.push_back(&a);
    // A day of Gregorian year Y lies in the lunar year Y or Y - 1.
    const int firstYear = std::max(request.from.year - 1, kFirstLunarYear - 1);
    const int lastYear = std::min(request.to.year, kLastLunarYear);
    for (int lunarYear = firstYear; lunarYear <= lastYear; ++lunarYear) {
      const auto civil = FindLunarAnniversary({lunarYear, a.month, a.leap, a.day});
      if (!civil) continue;
      const TDateTime date = *EncodeDate(civil->year, civil->month, civil->day);
      if (date >= first && date <= last) events.push_back({date, a.name, "纪念日", AnniversaryUid(lunarYear, a)});
    }
  }
}

void AppendEvent(std::string& out, const Event& event, std::string_view stamp) {
  std::string line;
  const auto content = [&](std::string_view text) { AppendContentLine(out, text); };
  content("BEGIN:VEVENT");
  content("UID:" + EscapeIcsText(event.uid));
  content("DTSTAMP:" + std::string(stamp));
  line = "DTSTART;VALUE=DATE:";
  AppendIcsDate(line, event.date);
  content(line);
  line = "DTEND;VALUE=DATE:";
  AppendIcsDate(line, event.date + 1);
  content(line);
  content("SUMMARY:" + EscapeIcsText(event.summary));
  content("CATEGORIES:" + EscapeIcsText(event.category));
  content("TRANSP:TRANSPARENT");
  content("END:VEVENT");
}

}  // namespace

unsigned ParseEventKinds(std::string_view list) {
  unsigned kinds = 0;
  while (true) {
    const auto comma = list.find(',');
    const std::string_view word = list.substr(0, comma);
    const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const Kind& k) { return k.word == word; });
    if (kind == std::end(kKinds)) {
      throw UsageError("unknown kind '" + std::string(word) + "' for --only, expected lunar, terms or solar");
    }
    kinds |= kind->kind;
    if (comma == std::string_view::npos) return kinds;
    list.remove_prefix(comma + 1);
  }
}

Anniversary ParseAnniversary(std::string_view value) {
  const auto malformed = [&](std::string_view why) {
    return UsageError("--anniversary '" + std::string(value) + "': " + std::string(why));
  };
  const auto equals = value.rfind('=');
  if (equals == std::string_view::npos) throw malformed("expected NAME=MONTH-DAY");
  const std::string_view name = value.substr(0, equals);
  std::string_view day = value.substr(equals + 1);
  if (name.empty()) throw malformed("the name is empty");
  if (!IsUtf8(name)) throw malformed("the name is not UTF-8");
  if (std::any_of(name.begin(), name.end(),
                  [](char c) { return (c >= 0 && c < 0x20 && c != '\n' && c != '\t') || c == 0x7F; })) {
    throw malformed("the name holds a control character");
  }
  const bool leap = day.starts_with('L');
  if (leap) day.remove_prefix(1);
  const auto dash = day.find('-');
  const auto month = SmallNumber(day.substr(0, dash));
  const auto dayNumber = dash == std::string_view::npos ? std::nullopt : SmallNumber(day.substr(dash + 1));
  if (!month || !dayNumber) throw malformed("expected MONTH-DAY, L before a leap month: 8-15, L4-10");
  if (*month < 1 || *month > 12) throw malformed("the month must be 1..12");
  if (*dayNumber < 1 || *dayNumber > 30) throw malformed("the day must be 1..30");
  return {std::string(name), *month, leap, *dayNumber};
}

std::int64_t ParseSourceDateEpoch(std::string_view value) {
  constexpr std::int64_t kEndOf9999 = 253402300799;  // 9999-12-31T23:59:59Z
  std::int64_t seconds = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, seconds);
  if (value.empty() || value.front() == '-' || ec != std::errc() || ptr != end || seconds > kEndOf9999) {
    throw UsageError("SOURCE_DATE_EPOCH must be a count of seconds since 1970-01-01 UTC, not '" + std::string(value) +
                     "'");
  }
  return seconds;
}

std::string WriteIcs(const IcsRequest& request) {
  std::vector<Event> events;
  AddDayEvents(request, events);
  AddAnniversaries(request, events);
  // The day's own texts come first on a day, then the anniversaries as given.
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.date < b.date; });

  const std::string stamp = IcsTimestamp(request.stamp);
  std::string out;
  out.reserve(events.size() * 260 + 200);
  AppendContentLine(out, "BEGIN:VCALENDAR");
  AppendContentLine(out, "VERSION:2.0");
  AppendContentLine(out, "PRODID:-//Taliven//taliven-cli//ZH");
  AppendContentLine(out, "CALSCALE:GREGORIAN");
  AppendContentLine(out, "X-WR-CALNAME:Taliven 农历");
  for (const Event& event : events) AppendEvent(out, event, stamp);
  AppendContentLine(out, "END:VCALENDAR");
  return out;
}

std::string EscapeIcsText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case ';': out += "\\;"; break;
      case ',': out += "\\,"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

void AppendContentLine(std::string& out, std::string_view line) {
  std::size_t room = kMaxLineOctets;
  while (line.size() > room) {
    std::size_t cut = room;
    // A UTF-8 sequence moves to the next line whole; it is at most 4 octets long.
    while (cut > room - 3 && IsUtf8Continuation(line[cut])) --cut;
    out.append(line.substr(0, cut));
    out += "\r\n ";
    line.remove_prefix(cut);
    room = kMaxLineOctets - 1;  // the leading blank counts
  }
  out.append(line);
  out += "\r\n";
}

}  // namespace taliven::cli
