#!/usr/bin/env python3
"""Writes calendar/holiday_table.cpp: every day that the yearly arrangements
of public holidays for mainland China (国务院办公厅关于某年部分节假日安排的
通知) name from 2004 to 2026, as a day off (休) or a day worked (班), with the
holiday's name.

Two independent packages of the npm registry carry the arrangements, each with
a few slips. The table is made from chinese-days and compared day by day with
the holiday data of lunar-javascript; every disagreement is settled below by
the notice's own text, and one left unsettled stops the generator. Neither
package is needed to build or run the program.

    mkdir -p /tmp/holiday-src && cd /tmp/holiday-src
    npm install chinese-days@1.5.7 lunar-javascript@1.7.7
    tools/gen_holidays.py /tmp/holiday-src/node_modules > calendar/holiday_table.cpp
"""

import datetime
import json
import os
import subprocess
import sys

FIRST_YEAR, LAST_YEAR = 2004, 2026
OFF, WORK = "休", "班"

# The names as the notices write them. The notices of 2004 to 2008 say "五一"
# and "十一" for 劳动节 and 国庆节, which later notices and the law name so;
# the later names are used for every year.
NEW_YEAR, SPRING, QINGMING, LABOUR, DRAGON_BOAT, MID_AUTUMN, NATIONAL = (
    "元旦", "春节", "清明节", "劳动节", "端午节", "中秋节", "国庆节")
VICTORY_70 = "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日"

CHINESE_DAYS_NAMES = {
    "元旦": NEW_YEAR, "春节": SPRING, "清明": QINGMING, "劳动节": LABOUR, "端午": DRAGON_BOAT,
    "中秋": MID_AUTUMN, "国庆节": NATIONAL, VICTORY_70: VICTORY_70,
}
LUNAR_JAVASCRIPT_NAMES = {
    "元旦节": NEW_YEAR, "春节": SPRING, "清明节": QINGMING, "劳动节": LABOUR, "端午节": DRAGON_BOAT,
    "中秋节": MID_AUTUMN, "国庆节": NATIONAL, "国庆中秋": NATIONAL, "抗战胜利日": VICTORY_70,
}

# Years whose notice arranges 中秋节 and 国庆节 as one period under one
# heading: every day of that period, off or worked, carries the heading.
# (The packages give each day one of the two names, each in its own way.)
JOINT_HEADINGS = {
    2009: "国庆节、中秋节",  # 国庆节、中秋节10月1日至8日放假，共8天
    2012: "中秋节、国庆节",  # 中秋节、国庆节：9月30日至10月7日放假调休
    2017: "中秋节、国庆节",  # 中秋节、国庆节：10月1日至8日放假调休
    2020: "国庆节、中秋节",  # 国庆节、中秋节：10月1日至8日放假调休
    2023: "中秋节、国庆节",  # 中秋节、国庆节：9月29日至10月6日放假调休
    2025: "国庆节、中秋节",  # 国庆节、中秋节：10月1日至8日放假调休
}

# Days on which the packages disagree, settled by the notice: the day's kind
# (None where the notice names no such day) and name. "与周末连休" joins the
# weekend to the holiday; a weekend day between two days off is inside the
# period; a weekend day before or after the days the notice names is not.
RESOLUTIONS = {
    # 2006: 元旦：1月1日—3日放假……12月31日（星期六）上班。
    "2005-12-31": (WORK, NEW_YEAR),
    # 2011: 端午节：6月4日至6日放假公休，共3天。
    "2011-06-05": (OFF, DRAGON_BOAT),
    # 2012: 劳动节：4月29日至5月1日放假调休，共3天。4月28日（星期六）上班。
    "2012-05-02": (None, None),
    # 2012: 端午节：6月22日至24日放假公休，共3天。
    "2012-06-23": (OFF, DRAGON_BOAT),
    # 2012: 中秋节、国庆节：9月30日至10月7日放假调休，共8天。9月29日（星期六）上班。
    "2012-10-08": (None, None),
    # 2013: 清明节：4月4日至6日放假调休，共3天。4月7日（星期日）上班。
    "2013-04-07": (WORK, QINGMING),
    # 2013: 国庆节：10月1日至7日放假调休，共7天。9月29日（星期日）、10月12日（星期六）上班。
    "2013-10-12": (WORK, NATIONAL),
    # 2014: 端午节：6月2日放假，与周末连休。
    "2014-05-31": (OFF, DRAGON_BOAT),
    "2014-06-01": (OFF, DRAGON_BOAT),
    # 2014: 中秋节：9月8日放假，与周末连休。
    "2014-09-06": (OFF, MID_AUTUMN),
    "2014-09-07": (OFF, MID_AUTUMN),
    # 2015: 清明节：4月5日放假，4月6日（星期一）补休。
    "2015-04-04": (None, None),
    # 2015: 劳动节：5月1日放假，与周末连休。
    "2015-05-02": (OFF, LABOUR),
    "2015-05-03": (OFF, LABOUR),
    # 2015: 端午节：6月20日放假，6月22日（星期一）补休。
    "2015-06-21": (OFF, DRAGON_BOAT),
    # 2015, the notice of the anniversary: 9月3日至5日调休放假，共3天……9月6日（星期日）上班。
    "2015-09-05": (OFF, VICTORY_70),
    # 2015: 中秋节：9月27日放假。
    "2015-09-26": (None, None),
    # 2016: 元旦：1月1日放假，与周末连休。
    "2016-01-02": (OFF, NEW_YEAR),
    "2016-01-03": (OFF, NEW_YEAR),
    # 2016: 清明节：4月4日放假，与周末连休。
    "2016-04-02": (OFF, QINGMING),
    "2016-04-03": (OFF, QINGMING),
    # 2016: 劳动节：5月1日放假，5月2日（星期一）补休。
    "2016-04-30": (None, None),
    # 2017: 元旦：1月1日放假，1月2日（星期一）补休。
    "2016-12-31": (None, None),
    # 2017: 劳动节：5月1日放假，与周末连休。
    "2017-04-29": (OFF, LABOUR),
    "2017-04-30": (OFF, LABOUR),
    # 2018: 元旦：1月1日放假，与周末连休。
    "2017-12-30": (OFF, NEW_YEAR),
    "2017-12-31": (OFF, NEW_YEAR),
    # 2018: 端午节：6月18日放假，与周末连休。
    "2018-06-16": (OFF, DRAGON_BOAT),
    "2018-06-17": (OFF, DRAGON_BOAT),
    # 2018: 中秋节：9月24日放假，与周末连休。
    "2018-09-22": (OFF, MID_AUTUMN),
    "2018-09-23": (OFF, MID_AUTUMN),
    # 2024: 元旦：1月1日放假，与周末连休。
    "2023-12-30": (OFF, NEW_YEAR),
    "2023-12-31": (OFF, NEW_YEAR),
    # 2024: 端午节：6月10日放假，与周末连休。
    "2024-06-08": (OFF, DRAGON_BOAT),
    "2024-06-09": (OFF, DRAGON_BOAT),
}


def in_range(date):
    return FIRST_YEAR <= int(date[:4]) <= LAST_YEAR


def named(days, names, source):
    table = {}
    for date, (kind, name) in days.items():
        if not in_range(date):
            continue
        if name not in names:
            sys.exit(f"gen_holidays: {source} names {date} '{name}', which this script does not know")
        holiday = names[name]
        heading = JOINT_HEADINGS.get(int(date[:4]))
        if heading and holiday in (MID_AUTUMN, NATIONAL) and date[5:7] in ("09", "10"):
            holiday = heading
        table[date] = (kind, holiday)
    return table


def chinese_days(modules):
    path = os.path.join(modules, "chinese-days", "dist", "chinese-days.json")
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    days = {}
    for key, kind in (("holidays", OFF), ("workdays", WORK)):
        for date, value in data[key].items():
            days[date] = (kind, value.split(",")[1])
    return named(days, CHINESE_DAYS_NAMES, "chinese-days")


def lunar_javascript(modules):
    script = (
        "const {HolidayUtil} = require('lunar-javascript');"
        f"for (let y = {FIRST_YEAR - 1}; y <= {LAST_YEAR + 1}; y++)"
        "  for (const h of HolidayUtil.getHolidays(y))"
        "    console.log([h.getDay(), h.isWork() ? 'W' : 'O', h.getName()].join(' '));")
    out = subprocess.run(["node", "-e", script], cwd=os.path.dirname(os.path.abspath(modules)),
                         env=dict(os.environ, NODE_PATH=modules), check=True, capture_output=True,
                         text=True).stdout
    days = {}
    for line in out.splitlines():
        date, kind, name = line.split(" ", 2)
        days[date] = (WORK if kind == "W" else OFF, name)
    return named(days, LUNAR_JAVASCRIPT_NAMES, "lunar-javascript")


def version(modules, package):
    with open(os.path.join(modules, package, "package.json"), encoding="utf-8") as f:
        return json.load(f)["version"]


def settle(primary, other):
    table = dict(primary)
    for date, (kind, name) in RESOLUTIONS.items():
        if primary.get(date) == other.get(date):
            sys.exit(f"gen_holidays: the sources agree on {date}; its resolution is no longer needed")
        if kind is None:
            table.pop(date, None)
        else:
            table[date] = (kind, name)
    unsettled = sorted(d for d in set(primary) | set(other)
                       if primary.get(d) != other.get(d) and d not in RESOLUTIONS)
    if unsettled:
        rows = "\n".join(f"  {d}: chinese-days {primary.get(d)}, lunar-javascript {other.get(d)}" for d in unsettled)
        sys.exit(f"gen_holidays: settle these by the notices' text:\n{rows}")
    for date, (kind, _) in table.items():
        if kind == WORK and datetime.date.fromisoformat(date).weekday() < 5:
            sys.exit(f"gen_holidays: {date} is a weekday, yet worked by the arrangement")
    return table


def write_table(table, versions):
    names = []
    for _, name in table.values():
        if name not in names:
            names.append(name)
    out = sys.stdout
    out.write(
        "// The days named by the yearly arrangements of public holidays for mainland\n"
        f"// China, {FIRST_YEAR}..{LAST_YEAR}. Generated by tools/gen_holidays.py from chinese-days\n"
        f"// {versions['chinese-days']} and lunar-javascript {versions['lunar-javascript']} (npm), their "
        "disagreements settled\n"
        "// by the notices' own text; do not edit. To regenerate, in a scratch folder:\n"
        f"//   npm install chinese-days@{versions['chinese-days']} lunar-javascript@{versions['lunar-javascript']}\n"
        "//   tools/gen_holidays.py SCRATCH/node_modules > calendar/holiday_table.cpp\n"
        "#include \"holiday_table.h\"\n"
        "\n"
        "namespace taliven {\n"
        "namespace {\n"
        "\n"
        "// clang-format off\n"
        "constexpr const char* kNames[] = {\n")
    for name in names:
        out.write(f"    \"{name}\",\n")
    out.write("};\n\nconstexpr BuiltInHolidayDay kDays[] = {\n")
    row = []
    for date in sorted(table):
        kind, name = table[date]
        row.append(f"{{{date.replace('-', '')}, {names.index(name)}, {'true' if kind == WORK else 'false'}}},")
        if len(row) == 4:
            out.write("    " + " ".join(row) + "\n")
            row = []
    if row:
        out.write("    " + " ".join(row) + "\n")
    out.write(
        "};\n"
        "// clang-format on\n"
        "\n"
        "}  // namespace\n"
        "\n"
        "std::span<const BuiltInHolidayDay> BuiltInHolidayDays() { return kDays; }\n"
        "\n"
        "const char* BuiltInHolidayName(int index) { return kNames[index]; }\n"
        "\n"
        "}  // namespace taliven\n")


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    modules = sys.argv[1]
    table = settle(chinese_days(modules), lunar_javascript(modules))
    write_table(table, {package: version(modules, package) for package in ("chinese-days", "lunar-javascript")})


if __name__ == "__main__":
    main()
