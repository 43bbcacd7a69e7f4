#include "commands.h"

namespace taliven::cli {

const ProgramHelp& Program() {
  static const ProgramHelp program{
      "The answers of Taliven's windows in a terminal and to scripts.",

      "taliven-cli gives the QQ number and net-name readings, the hanzi-to-pinyin\n"
      "conversion and the perpetual Chinese calendar of 1901 to 2050, with the\n"
      "reverse look-up from a lunar date and an iCalendar file for calendar\n"
      "programs. It runs the same code as the windows, so what it prints is what\n"
      "they show.\n"
      "\n"
      "Text arguments and everything printed are UTF-8. Dates are YYYY-MM-DD:\n"
      "any day of the years 1 to 9999 is accepted, and outside 1901-01-01 ..\n"
      "2050-12-31 the calendar's out-of-range answers are printed (lunar code 0,\n"
      "empty texts).",

      {
          {"--help", "show this help; taliven-cli COMMAND --help shows the command's"},
          {"--version", "show the version"},
      },
      {
          {"0", "success"},
          {"1",
           "the input was understood but rejected, for example a QQ number that is no\n"
           "integer or a lunar day that does not exist; the reason is on standard\n"
           "error and nothing on standard output"},
          {"2",
           "a usage error: an unknown command or option, a malformed or missing\n"
           "argument; a one-line usage hint is on standard error and nothing on\n"
           "standard output"},
      },
      {
          {"SOURCE_DATE_EPOCH",
           "seconds since 1970-01-01 UTC; when set, ics stamps its events with this\n"
           "time rather than the time of the run, so that the same command always\n"
           "writes the same file"},
      },
  };
  return program;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands{
      {"qq",
       "qq NUMBER [--json]",
       "The QQ number reading of NUMBER, as the reading window shows it.",
       "NUMBER is taken as the window's edit box holds it once pasted: cut to 18\n"
       "characters, letters in capitals, then trimmed of blanks and control\n"
       "characters at both ends. The whole number, reduced modulo 81, picks one of\n"
       "81 entries: a verdict (状态), a luck class (吉凶) and a personality type\n"
       "(具体表现). A negative number that is no multiple of 81 gets the table's\n"
       "default text. An empty NUMBER prints the window's prompt and a text that is\n"
       "no integer the conversion error, both with exit status 1.",
       {
           {"NUMBER", "the QQ number, decimal digits; a leading minus sign is accepted"},
           {"--json", "print one JSON object with the keys number, verdict, luck and details"},
       },
       {
           {"taliven-cli qq 10000",
            "qq号码是：10000\n"
            "状态：名虽可得，利则难获，艺界发展，可望成功\n"
            "吉凶：凶带吉\n"
            "具体表现：主人性格类型：[独断独行/吸引人型]，其具体表现为：为人独断独行，事事自行作主解决，鲜有求助他人。"
            "而这份独立个性，正正就是吸引异性的特质。但其实心底里，却是渴望有人可让他/她依赖。"},
       },
       &RunQq},

      {"netname",
       "netname NAME [--json]",
       "The net-name reading of NAME, as the reading window shows it.",
       "NAME is taken as the window's edit box holds it once pasted: cut to 18\n"
       "characters (counted in UTF-16 units, as the box counts them), small ASCII\n"
       "letters in capitals, then trimmed. Its pinyin initials, with the digits\n"
       "turned into letters (1 to 9 become A to I, 0 becomes J), end in the letter\n"
       "that picks one of 26 traits; a name that ends in a character without a\n"
       "reading gets none. A character that GBK cannot hold counts as one without\n"
       "a reading. An empty NAME prints the window's prompt, exit status 1.",
       {
           {"NAME", "the net name: Chinese characters, Latin letters or digits"},
           {"--json",
            "print one JSON object with the keys name (as the window shows it),\n"
            "letters (the initials, digits as letters), trait, line1 and line2 (the\n"
            "window's two lines)"},
       },
       {
           {"taliven-cli netname 张三", "你的网名：张三\n你的性格：心胸宽大，有深藏不露的自恋"},
           {"taliven-cli netname tom --json",
            "{\"name\":\"TOM\",\"letters\":\"TOM\",\"trait\":\"反复无常，喜欢模仿神秘人物举动的小孩子性格，但是常常被宠爱\","
            "\"line1\":\"你的网名：TOM\",\"line2\":\"你的性格：反复无常，喜欢模仿神秘人物举动的小孩子性格，但是常常被宠爱\"}"},
       },
       &RunNetname},

      {"pinyin",
       "pinyin [--flags N] [--max-length M] [TEXT]",
       "TEXT, or the GBK bytes of standard input, in pinyin.",
       "Each Chinese character gives the capital initial of its toneless reading,\n"
       "or with pyFullSyllable the whole syllable; ASCII letters come out in\n"
       "capitals and digits as they are. Roman and enclosed numbers, full-width\n"
       "letters and digits and Greek letters have readings of their own. The\n"
       "net-name reading converts with flags 2 and a maximum length of 255.\n"
       "\n"
       "With TEXT, the text is converted from UTF-8 to GBK and the result printed\n"
       "with a newline. Without TEXT, the bytes of standard input are taken as GBK\n"
       "and the result bytes written as they are, with no newline, so that any\n"
       "byte sequence can be tried.",
       {
           {"TEXT", "the text to convert; leave it out to read raw GBK bytes from standard input"},
           {"--flags N",
            "the sum of the flag bits wanted (default 0); other bits are ignored and a\n"
            "negative N gives an empty result:\n"
            "  1  pyFullSyllable  whole syllables: ZHONGGUO, not ZG\n"
            "  2  pyMarkUnknown   \"?\" for a character without a reading\n"
            "  4  pyKeepAllBytes  also keep punctuation and symbols",
            "0 1 2 3 4 5 6 7"},
           {"--max-length M",
            "cut the result to its first M bytes, counted in the GBK result, not in\n"
            "characters (default 255; 0 or less gives an empty result)"},
       },
       {
           {"taliven-cli pinyin 中国", "ZG"},
           {"taliven-cli pinyin --flags 1 中国", "ZHONGGUO"},
           {"taliven-cli pinyin --flags 3 --max-length 6 中国人", "ZHONGG"},
           {"taliven-cli pinyin --flags 6 '张三，Tom!'", "ZS,TOM!"},
       },
       &RunPinyin},

      {"day",
       "day DATE [--json]",
       "One day as the calendar engine sees it.",
       "The lunar date, the festivals, the solar term, the year's branch and\n"
       "animal, the star sign, and what the calendar window writes under the day\n"
       "in its grid and in which colour; whether the arrangement of public holidays\n"
       "for mainland China makes it a day off (休) or a day worked (班), and for\n"
       "which holiday (see holidays). Then the day's almanac (黄历): the\n"
       "stem-branch pillars of year, month and day, the 纳音, the animal it clashes\n"
       "with and the direction of its 煞, its officer (建除十二值星) and spirit\n"
       "(黄道 or 黑道), its lunar mansion, the 彭祖百忌 sayings, and the 三伏 or 数九\n"
       "count where one runs. The year pillar changes on 正月初一, the month pillar\n"
       "on the day of each of the 12 节 terms (立春, 惊蛰 .. 大雪, 小寒).",
       {
           {"DATE", "the day, YYYY-MM-DD"},
           {"--json",
            "print one JSON object with the keys date, lunarCode (month × 100 + day,\n"
            "negative in a leap month, 0 outside 1901..2050), lunarYear (the Gregorian\n"
            "year whose 正月初一 began the day's lunar year, 0 outside 1901..2050),\n"
            "lunarMonthText, lunarDayText, lunarFestival, solarTerm, solarFestival,\n"
            "zodiac, constellation, cellText and cellColor (#RRGGBB), holiday and dayOff\n"
            "(休, 班 or empty), then the almanac:\n"
            "yearGanZhi, monthGanZhi, dayGanZhi, naYin, chong, sha, zhiXing, tianShen,\n"
            "huangDao (true or false), xiu, xiuLuck (吉 or 凶), pengZu, sanFu and shuJiu\n"
            "(empty, and huangDao false, outside 1901..2050)"},
       },
       {
           {"taliven-cli day 2024-09-17",
            "date:           2024-09-17\n"
            "lunar code:     815\n"
            "lunar year:     2024\n"
            "lunar month:    八月\n"
            "lunar day:      十五\n"
            "lunar festival: 中秋节\n"
            "solar term:     \n"
            "solar festival: \n"
            "zodiac:         辰龙\n"
            "constellation:  处女座\n"
            "cell:           中秋节 #FF8000\n"
            "holiday:        中秋节\n"
            "day off:        休\n"
            "almanac:        甲辰年 癸酉月 甲申日\n"
            "                纳音 泉中水\n"
            "                冲虎 煞南\n"
            "                闭日 白虎(黑道)\n"
            "                翼宿(凶)\n"
            "                彭祖百忌 甲不开仓财物耗散 申不安床鬼祟入房"},
           {"taliven-cli day 1901-01-01 --json",
            "{\"date\":\"1901-01-01\",\"lunarCode\":1111,\"lunarYear\":1900,\"lunarMonthText\":\"冬月\","
            "\"lunarDayText\":\"十一\",\"lunarFestival\":\"\",\"solarTerm\":\"\",\"solarFestival\":\"元旦节\","
            "\"zodiac\":\"子鼠\",\"constellation\":\"摩羯座\",\"cellText\":\"元旦节\",\"cellColor\":\"#FF8000\","
            "\"holiday\":\"\",\"dayOff\":\"\",\"yearGanZhi\":\"庚子\",\"monthGanZhi\":\"戊子\",\"dayGanZhi\":\"己卯\",\"naYin\":\"城头土\",\"chong\":\"鸡\","
            "\"sha\":\"西\",\"zhiXing\":\"平\",\"tianShen\":\"玉堂\",\"huangDao\":true,\"xiu\":\"尾\",\"xiuLuck\":\"吉\","
            "\"pengZu\":\"己不破券二比并亡 卯不穿井水泉不香\",\"sanFu\":\"\",\"shuJiu\":\"二九第2天\"}"},
       },
       &RunDay},

      {"days",
       "days FROM TO --json",
       "Every day from FROM to TO, one JSON object per line.",
       "JSON Lines with the keys of day --json, one line a day from FROM to TO\n"
       "inclusive. The whole range 1901-01-01 .. 2050-12-31 takes a fraction of a\n"
       "second.",
       {
           {"FROM", "the first day, YYYY-MM-DD"},
           {"TO", "the last day, YYYY-MM-DD, not before FROM"},
           {"--json", "JSON Lines, the only form of output; it may be left out"},
       },
       {
           {"taliven-cli days 1901-01-01 2050-12-31 --json | wc -l", "54787"},
       },
       &RunDays},

      {"holidays",
       "holidays YEAR [--json]",
       "The days off and the days worked that YEAR's arrangement of public holidays names.",
       "Every day that the arrangement of public holidays for mainland China\n"
       "(国务院办公厅关于部分节假日安排的通知) names for YEAR, in date order: a day\n"
       "off (休), weekends inside a holiday included, or a day worked (班) in\n"
       "exchange, with the holiday's name. A year whose arrangement is not known\n"
       "exits with status 1.\n"
       "\n"
       "The arrangements known when the program was built are part of it. A year\n"
       "is added or replaced by a UTF-8 file taliven/holidays.txt under\n"
       "$XDG_DATA_HOME (~/.local/share) or a folder of $XDG_DATA_DIRS\n"
       "(/usr/local/share:/usr/share), one day a line: YYYY-MM-DD 休 NAME or\n"
       "YYYY-MM-DD 班 NAME; # starts a comment line. The first file in that order\n"
       "with lines for a year decides that whole year. A malformed line is named\n"
       "on standard error with its file and line number and skipped. The calendar\n"
       "window and every command read the same days.",
       {
           {"YEAR", "the year, 1..9999"},
           {"--json", "print JSON Lines with the keys date, dayOff and holiday"},
       },
       {
           {"taliven-cli holidays 2025 --json | head -n 3",
            "{\"date\":\"2025-01-01\",\"dayOff\":\"休\",\"holiday\":\"元旦\"}\n"
            "{\"date\":\"2025-01-26\",\"dayOff\":\"班\",\"holiday\":\"春节\"}\n"
            "{\"date\":\"2025-01-28\",\"dayOff\":\"休\",\"holiday\":\"春节\"}"},
       },
       &RunHolidays},

      {"month",
       "month [YEAR MONTH] [--day D]",
       "A month as the calendar window lays it out.",
       "A header with the year, the month, the year's branch and animal and the\n"
       "star sign of the selected day, then the weeks from Sunday to Saturday, each\n"
       "day with the text the window writes under it. A day off by the arrangement\n"
       "of public holidays has 休 after its number, a weekend day worked 班.\n"
       "Colours only when standard output is a terminal.",
       {
           {"YEAR", "the year, 1..9999 (the calendar's texts cover 1901..2050)"},
           {"MONTH", "the month, 1..12; give YEAR and MONTH together, or neither for today's month"},
           {"--day D",
            "select day D (default: today's day number); a D past the month's end\n"
            "selects its last day, as the window does"},
       },
       {
           {"taliven-cli month 2033 12 --day 22",
            "2033年12月  丑牛  摩羯座\n"
            "星期日  星期一  星期二  星期三  星期四  星期五  星期六\n"
            "                                 1       2       3\n"
            "                                初十    十一    十二\n"
            " 4       5       6       7       8       9       10\n"
            "十三    十四    十五    大雪    十七    十八    十九\n"
            " 11      12      13      14      15      16      17\n"
            "二十    廿一    廿二    廿三    廿四    廿五    廿六\n"
            " 18      19      20      21     [22]     23      24\n"
            "廿七    廿八    廿九    冬至    闰冬    初二    初三\n"
            " 25      26      27      28      29      30      31\n"
            "圣诞节  初五    初六    初七    初八    初九    初十"},
       },
       &RunMonth},

      {"from-lunar",
       "from-lunar LUNAR_YEAR LUNAR_MONTH LUNAR_DAY [--leap] [--json]",
       "The Gregorian date of a lunar day.",
       "The reverse look-up, over the same table as the forward conversion: for\n"
       "every day of 1901-01-01 .. 2050-12-31, from-lunar of its lunarYear, its\n"
       "lunar month (--leap in a leap month) and its lunar day gives that day.\n"
       "\n"
       "A lunar day that does not exist or lies outside the calendar exits with\n"
       "status 1 and says why: the year has no such leap month, the month has only\n"
       "29 days, or the day lies before 1901-01-01 or after 2050-12-31.",
       {
           {"LUNAR_YEAR",
            "the lunar year, named by the Gregorian year in which its 正月初一 falls\n"
            "(the lunarYear of day); 1900 for the days before 1901-02-19"},
           {"LUNAR_MONTH", "the lunar month, 1..12 (11 is 冬月, 12 is 腊月)"},
           {"LUNAR_DAY", "the lunar day, 1..30"},
           {"--leap", "the leap month (闰月) of that number"},
           {"--json", "print one JSON object with the keys lunarYear, lunarMonth, leap, lunarDay and date"},
       },
       {
           {"taliven-cli from-lunar 2024 8 15", "2024-09-17"},
           {"taliven-cli from-lunar 2020 4 1 --leap --json",
            "{\"lunarYear\":2020,\"lunarMonth\":4,\"leap\":true,\"lunarDay\":1,\"date\":\"2020-05-23\"}"},
           {"taliven-cli from-lunar 1900 11 11", "1901-01-01"},
       },
       &RunFromLunar},

      {"ics",
       "ics FROM TO [--only KINDS] [--anniversary NAME=MONTH-DAY]...",
       "The calendar as an iCalendar file, for calendar programs.",
       "An iCalendar file (RFC 5545) on standard output: one all-day event for\n"
       "every lunar festival (category 农历节日), solar term (节气) and Gregorian\n"
       "festival (公历节日) from FROM to TO, titled with the texts of day; for\n"
       "every day that holidays lists, a day off (放假) or a day worked (调休上班),\n"
       "titled with the holiday and 休 or 班 (\"国庆节 休\"); and the yearly lunar\n"
       "anniversaries asked for (纪念日). Days outside 1901-01-01 .. 2050-12-31\n"
       "have no events.\n"
       "\n"
       "Each event keeps its UID from run to run, so importing a newer file\n"
       "updates the events imported before instead of doubling them. Events are\n"
       "stamped with the time of the run, or with SOURCE_DATE_EPOCH when it is\n"
       "set. Lines end in CR LF and are folded at 75 bytes.",
       {
           {"FROM", "the first day, YYYY-MM-DD"},
           {"TO", "the last day, YYYY-MM-DD, not before FROM"},
           {"--only KINDS",
            "keep only the kinds named, a comma-separated list of lunar (农历节日),\n"
            "terms (节气), solar (公历节日) and holidays (放假 and 调休上班); given\n"
            "more than once, the kinds add up. Anniversaries are always kept.",
            "lunar terms solar holidays", true},
           {"--anniversary NAME=MONTH-DAY",
            "add an event titled NAME on lunar day DAY (1..30) of month MONTH (1..12)\n"
            "in every lunar year; an L before the month names the leap month: L4-10\n"
            "is day 10 of the leap 4th month. Day 30 of a 29-day month falls on its\n"
            "day 29; in a year without that leap month the ordinary month of the same\n"
            "number takes its place. May be given more than once."},
       },
       {
           {"taliven-cli ics 2025-01-01 2027-12-31 --anniversary 奶奶生日=8-15 > lunar.ics"},
           {"taliven-cli ics 1901-01-01 2050-12-31 --only terms > terms.ics"},
       },
       &RunIcs},
  };
  return commands;
}

}  // namespace taliven::cli
