// day, days and month: the calendar engine's answers for single days, date
// ranges as JSON Lines, and a month laid out like the calendar window's grid.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <limits>

#include "almanac.h"
#include "cli_support.h"
#include "commands.h"
#include "day_cell.h"
#include "festivals.h"
#include "lunar.h"
#include "solar_terms.h"

namespace taliven::cli {
namespace {

struct DayFacts {
  CivilDate date;
  LunarCode lunarCode;
  int lunarYear;
  GbkText lunarMonthText;
  GbkText lunarDayText;
  GbkText lunarFestival;
  GbkText solarTerm;
  GbkText solarFestival;
  GbkText zodiac;
  GbkText constellation;
  DayCell cell;
  HolidayMark holiday;
  Almanac almanac;
};

DayFacts FactsOf(const CivilDate& civil) {
  const TDateTime date = *EncodeDate(civil.year, civil.month, civil.day);
  return {civil,
          GetLunarCode(date),
          GetLunarYear(date),
          GetLunarMonthText(date),
          GetLunarDayText(date),
          GetLunarFestival(date),
          GetSolarTerm(date),
          GetSolarFestival(civil.day, date),
          GetZodiacText(date),
          GetConstellation(civil.day, date),
          GetDayCell(civil.year, civil.month, civil.day),
          KnownHolidays().Find(civil.year, civil.month, civil.day),
          GetAlmanac(date)};
}

void AppendColor(std::string& out, std::uint32_t color) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '#';
  for (int shift = 20; shift >= 0; shift -= 4) out += kHex[(color >> shift) & 0xF];
}

void AppendJson(std::string& out, const DayFacts& facts, Utf8Texts& utf8) {
  const auto text = [&](const char* key, const GbkText& value) {
    out += ",\"";
    out += key;
    out += "\":";
    AppendJsonString(out, utf8(value));
  };
  out += "{\"date\":\"";
  AppendDate(out, facts.date);
  out += "\",\"lunarCode\":";
  AppendNumber(out, facts.lunarCode);
  out += ",\"lunarYear\":";
  AppendNumber(out, facts.lunarYear);
  text("lunarMonthText", facts.lunarMonthText);
  text("lunarDayText", facts.lunarDayText);
  text("lunarFestival", facts.lunarFestival);
  text("solarTerm", facts.solarTerm);
  text("solarFestival", facts.solarFestival);
  text("zodiac", facts.zodiac);
  text("constellation", facts.constellation);
  text("cellText", facts.cell.text);
  out += ",\"cellColor\":\"";
  AppendColor(out, facts.cell.color);
  out += '"';
  text("holiday", facts.holiday.holiday);
  text("dayOff", DayOffText(facts.holiday.dayOff));
  const Almanac& almanac = facts.almanac;
  text("yearGanZhi", almanac.yearGanZhi);
  text("monthGanZhi", almanac.monthGanZhi);
  text("dayGanZhi", almanac.dayGanZhi);
  text("naYin", almanac.naYin);
  text("chong", almanac.chong);
  text("sha", almanac.sha);
  text("zhiXing", almanac.zhiXing);
  text("tianShen", almanac.tianShen);
  out += almanac.huangDao ? ",\"huangDao\":true" : ",\"huangDao\":false";
  text("xiu", almanac.xiu);
  text("xiuLuck", almanac.xiuLuck);
  text("pengZu", almanac.pengZu);
  text("sanFu", almanac.sanFu);
  text("shuJiu", almanac.shuJiu);
  out += "}\n";
}

void AppendReadable(std::string& out, const DayFacts& facts, Utf8Texts& utf8) {
  const auto line = [&](const char* label, const std::string& value) {
    out += label;
    out += value;
    out += '\n';
  };
  out += "date:           ";
  AppendDate(out, facts.date);
  out += "\nlunar code:     ";
  AppendNumber(out, facts.lunarCode);
  out += "\nlunar year:     ";
  AppendNumber(out, facts.lunarYear);
  out += '\n';
  line("lunar month:    ", utf8(facts.lunarMonthText));
  line("lunar day:      ", utf8(facts.lunarDayText));
  line("lunar festival: ", utf8(facts.lunarFestival));
  line("solar term:     ", utf8(facts.solarTerm));
  line("solar festival: ", utf8(facts.solarFestival));
  line("zodiac:         ", utf8(facts.zodiac));
  line("constellation:  ", utf8(facts.constellation));
  out += "cell:           " + utf8(facts.cell.text) + " ";
  AppendColor(out, facts.cell.color);
  out += '\n';
  line("holiday:        ", utf8(facts.holiday.holiday));
  line("day off:        ", utf8(DayOffText(facts.holiday.dayOff)));
  const char* label = "almanac:        ";
  for (const GbkText& almanacLine : AlmanacLines(facts.almanac)) {
    line(label, utf8(almanacLine));
    label = "                ";
  }
}

CivilDate Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) {
    throw EngineError("cannot read the system date");
  }
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// ANSI colour escapes, written only when `enabled`.
struct Painter {
  bool enabled;

  void Paint(std::string& out, std::uint32_t color, const std::string& text) const {
    if (!enabled) {
      out += text;
      return;
    }
    out += "\x1b[38;2;" + std::to_string(color >> 16) + ";" + std::to_string((color >> 8) & 0xFF) + ";" +
           std::to_string(color & 0xFF) + "m" + text + "\x1b[0m";
  }
};

constexpr int kColumnWidth = 8;
constexpr std::uint32_t kWeekendColor = 0xFF0000;

// Pads to the column width; a GBK text's byte count is its width in a
// terminal, one column per ASCII byte, two per double-byte character.
void AppendCell(std::string& out, const Painter& painter, std::uint32_t color, const GbkText& gbk, Utf8Texts& utf8) {
  painter.Paint(out, color, utf8(gbk));
  out.append(gbk.size() < kColumnWidth ? kColumnWidth - gbk.size() : 1, ' ');
}

void AppendLine(std::string& out, std::string_view line) {
  const auto end = line.find_last_not_of(' ');
  out += line.substr(0, end == std::string_view::npos ? 0 : end + 1);
  out += '\n';
}

std::string MonthGrid(int year, int month, int selectedDay, const Painter& painter) {
  Utf8Texts utf8;
  const TDateTime shown = *EncodeDate(year, month, selectedDay);
  std::string out;
  AppendNumber(out, year);
  out += "年";
  AppendNumber(out, month);
  out += "月  " + utf8(GetZodiacText(shown)) + "  " + utf8(GetConstellation(selectedDay, shown)) + "\n";

  static constexpr const char* kWeekdays[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
  std::string header;
  for (int column = 0; column < 7; ++column) {
    if (column == 0 || column == 6) {
      painter.Paint(header, kWeekendColor, kWeekdays[column]);
    } else {
      header += kWeekdays[column];
    }
    header += "  ";
  }
  AppendLine(out, header);

  const int firstColumn = DayOfWeek(year, month, 1) - 1;
  const int days = DaysInMonth(year, month);
  std::string numbers(static_cast<size_t>(firstColumn * kColumnWidth), ' ');
  std::string texts = numbers;
  for (int day = 1; day <= days; ++day) {
    const std::string number = day == selectedDay ? "[" + std::to_string(day) + "]" : " " + std::to_string(day);
    numbers += number;
    std::size_t width = number.size();
    if (const DayOff dayOff = KnownHolidays().Find(year, month, day).dayOff; dayOff != DayOff::kNone) {
      painter.Paint(numbers, dayOff == DayOff::kOff ? kDayOffMarkColor : kWorkdayMarkColor, utf8(DayOffText(dayOff)));
      width += 2;  // one double-width character
    }
    numbers.append(kColumnWidth - width, ' ');
    const DayCell cell = GetDayCell(year, month, day);
    AppendCell(texts, painter, cell.color, cell.text, utf8);
    if ((firstColumn + day) % 7 == 0 || day == days) {
      AppendLine(out, numbers);
      AppendLine(out, texts);
      numbers.clear();
      texts.clear();
    }
  }
  return out;
}

}  // namespace

int RunDay(const Args& args) {
  if (args.positionals().size() != 1) throw UsageError("expected one DATE");
  const DayFacts facts = FactsOf(ParseDateArgument(args.positionals()[0]));
  Utf8Texts utf8;
  std::string out;
  if (args.has("--json")) {
    AppendJson(out, facts, utf8);
  } else {
    AppendReadable(out, facts, utf8);
  }
  WriteOut(out);
  return 0;
}

int RunDays(const Args& args) {
  // JSON Lines is the only form, so --json is accepted and changes nothing.
  if (args.positionals().size() != 2) throw UsageError("expected FROM and TO");
  const CivilDate from = ParseDateArgument(args.positionals()[0]);
  const CivilDate to = ParseDateArgument(args.positionals()[1]);
  const TDateTime first = *EncodeDate(from.year, from.month, from.day);
  const TDateTime last = *EncodeDate(to.year, to.month, to.day);
  if (first > last) throw UsageError("FROM lies after TO");

  Utf8Texts utf8;
  std::string out;
  out.reserve(static_cast<size_t>(last - first + 1) * 320);
  for (TDateTime date = first; date <= last; date += 1) AppendJson(out, FactsOf(*DecodeDate(date)), utf8);
  WriteOut(out);
  return 0;
}

int RunHolidays(const Args& args) {
  if (args.positionals().size() != 1) throw UsageError("expected one YEAR");
  const int year = ParseIntInRange(args.positionals()[0], "YEAR", 1, 9999);
  const std::vector<HolidayDay> days = KnownHolidays().DaysOf(year);
  if (days.empty()) throw EngineError("no arrangement of public holidays is known for " + std::to_string(year));
  const bool json = args.has("--json");
  Utf8Texts utf8;
  std::string out;
  for (const HolidayDay& day : days) {
    if (json) {
      out += "{\"date\":\"";
      AppendDate(out, day.date);
      out += '"';
      AppendJsonField(out, "dayOff", DayOffText(day.dayOff));
      AppendJsonField(out, "holiday", day.holiday);
      out += "}\n";
    } else {
      AppendDate(out, day.date);
      out += " " + utf8(DayOffText(day.dayOff)) + " " + utf8(day.holiday) + "\n";
    }
  }
  WriteOut(out);
  return 0;
}

int RunMonth(const Args& args) {
  const auto& positionals = args.positionals();
  if (positionals.size() != 0 && positionals.size() != 2) throw UsageError("expected YEAR and MONTH, or neither");
  const CivilDate today = Today();
  const int year = positionals.empty() ? today.year : ParseIntInRange(positionals[0], "YEAR", 1, 9999);
  const int month = positionals.empty() ? today.month : ParseIntInRange(positionals[1], "MONTH", 1, 12);
  const auto day = args.value("--day");
  const int selected = day ? ParseIntInRange(*day, "--day", 1, std::numeric_limits<int>::max()) : today.day;

  const Painter painter{isatty(fileno(stdout)) == 1};
  WriteOut(MonthGrid(year, month, std::min(selected, DaysInMonth(year, month)), painter));
  return 0;
}

}  // namespace taliven::cli
