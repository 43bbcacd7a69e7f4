#!/usr/bin/python3
"""Reads taliven-cli's iCalendar output with a real parser (Debian's python3-icalendar) and
checks every event against what `days` says about the same dates, and a few events against
facts from outside the program.

usage: check_ics.py TALIVEN_CLI
"""

import datetime
import json
import os
import subprocess
import sys

import icalendar

CLI = sys.argv[1]
FROM, TO = "2019-01-01", "2034-12-31"  # leap months in 2020, 2023, 2025, 2028 and 2033 (across 1 January)
ANNIVERSARIES = {
    "奶奶生日": (8, False, 15),
    "L4-30 生日": (4, True, 30),  # a leap month most years lack, and a day most of its months lack
    "A, B; C\\D\nE": (12, False, 30),
    "全家团聚：奶奶的八十大寿，记得早早订好饭店和生日蛋糕": (1, False, 1),  # folded lines
}
KINDS = {"lunarFestival": "农历节日", "solarTerm": "节气", "solarFestival": "公历节日"}
DAY_OFF_CATEGORIES = {"休": "放假", "班": "调休上班"}
# Known without asking the program: the calendar of 2024 and the notice of 2025's public holidays.
OUTSIDE_FACTS = {
    (datetime.date(2024, 9, 17), "中秋节", "农历节日"),
    (datetime.date(2024, 3, 20), "春分", "节气"),
    (datetime.date(2025, 1, 28), "春节 休", "放假"),
    (datetime.date(2025, 2, 8), "春节 班", "调休上班"),
} | {(datetime.date(year, 8, 1), "建军节", "公历节日") for year in range(2019, 2035)}
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*args, epoch="1700000000"):
    env = dict(os.environ, SOURCE_DATE_EPOCH=epoch)
    return subprocess.run([CLI, *args], env=env, check=True, capture_output=True).stdout


def ics(*extra, epoch="1700000000"):
    spec = [f"{name}={'L' if leap else ''}{month}-{day}" for name, (month, leap, day) in ANNIVERSARIES.items()]
    return run("ics", FROM, TO, *extra, *[a for s in spec for a in ("--anniversary", s)], epoch=epoch)


def check_lines(raw):
    check(raw.endswith(b"\r\n"), "the file does not end in CR LF")
    for number, line in enumerate(raw.split(b"\r\n")[:-1], 1):
        check(b"\n" not in line and b"\r" not in line, f"line {number}: a bare line break")
        check(len(line) <= 75, f"line {number}: {len(line)} octets")
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            failures.append(f"line {number}: folded inside a UTF-8 sequence")


def events_of(raw):
    calendar = icalendar.Calendar.from_ical(raw)
    check(str(calendar["VERSION"]) == "2.0", "VERSION")
    check(str(calendar["CALSCALE"]) == "GREGORIAN", "CALSCALE")
    check(str(calendar["X-WR-CALNAME"]) == "Taliven 农历", "X-WR-CALNAME")
    check(str(calendar["PRODID"]).startswith("-//Taliven//"), "PRODID")
    return list(calendar.walk("VEVENT"))


def summary(event):
    return (event.decoded("DTSTART"), str(event["SUMMARY"]), str(event["CATEGORIES"].cats[0]))


def check_event_properties(events):
    stamp = datetime.datetime(2023, 11, 14, 22, 13, 20, tzinfo=datetime.timezone.utc)
    for event in events:
        start, end = event.decoded("DTSTART"), event.decoded("DTEND")
        check(type(start) is datetime.date and type(end) is datetime.date, f"{event['UID']}: not all-day")
        check(end - start == datetime.timedelta(days=1), f"{event['UID']}: DTEND is not the next day")
        check(event.decoded("DTSTAMP") == stamp, f"{event['UID']}: DTSTAMP is not SOURCE_DATE_EPOCH")
        check(str(event["TRANSP"]) == "TRANSPARENT", f"{event['UID']}: TRANSP")
    uids = [str(e["UID"]) for e in events]
    check(len(set(uids)) == len(uids), "UIDs repeat within the file")


def expected_anniversaries(days):
    """The dates each anniversary falls on, by the customary rules, read off `days` alone."""
    by_lunar_year = {}
    for day in days:
        if day["lunarYear"]:
            by_lunar_year.setdefault(day["lunarYear"], []).append(day)
    expected = set()
    for name, (month, leap, day_number) in ANNIVERSARIES.items():
        for lunar_year, year_days in by_lunar_year.items():
            codes = {d["lunarCode"] for d in year_days}
            if len(year_days) < 354 and not {month * 100 + 1, -(month * 100 + 1)} & codes:
                continue  # the month lies outside the range
            wanted_month = -month if leap and -(month * 100 + 1) in codes else month
            length = max(abs(c) % 100 for c in codes if int(c / 100) == wanted_month)
            code = (abs(wanted_month) * 100 + min(day_number, length)) * (1 if wanted_month > 0 else -1)
            matches = [d for d in year_days if d["lunarCode"] == code]
            if matches:
                expected.add((datetime.date.fromisoformat(matches[0]["date"]), name, "纪念日"))
    return expected


def main():
    days = [json.loads(line) for line in run("days", FROM, TO, "--json").splitlines()]
    expected = {(datetime.date.fromisoformat(d["date"]), d[key], category)
                for d in days for key, category in KINDS.items() if d[key]}
    expected |= {(datetime.date.fromisoformat(d["date"]), f"{d['holiday']} {d['dayOff']}",
                  DAY_OFF_CATEGORIES[d["dayOff"]]) for d in days if d["dayOff"]}
    expected |= expected_anniversaries(days)
    check(OUTSIDE_FACTS <= expected, f"days misses {sorted(OUTSIDE_FACTS - expected)}")

    raw = ics()
    check_lines(raw)
    events = events_of(raw)
    check_event_properties(events)
    found = [summary(e) for e in events]
    check(len(found) == len(set(found)), "an event is there twice")
    check(set(found) == expected, f"events differ from days: missing {sorted(expected - set(found))[:5]}, "
                                  f"extra {sorted(set(found) - expected)[:5]}")
    print(f"{len(events)} events from {FROM} to {TO} agree with days")

    again = events_of(ics(epoch="0"))
    check([str(e["UID"]) for e in again] == [str(e["UID"]) for e in events], "UIDs change from run to run")

    for only, categories in (("terms", {"节气"}), ("lunar,terms", {"农历节日", "节气"}),
                             ("holidays", {"放假", "调休上班"})):
        kept = {summary(e) for e in events_of(ics("--only", only))}
        check(kept == {e for e in expected if e[2] in categories | {"纪念日"}}, f"--only {only}")

    on_from = {summary(e) for e in events_of(run("ics", "2024-09-17", "2024-09-17", "--anniversary", "奶奶生日=8-15"))}
    check((datetime.date(2024, 9, 17), "奶奶生日", "纪念日") in on_from, "an anniversary on FROM itself is left out")

    edge = events_of(run("ics", "2050-12-01", "2051-01-31"))
    check(edge and all(e.decoded("DTSTART") <= datetime.date(2050, 12, 31) for e in edge),
          "events after 2050-12-31")

    for failure in failures[:20]:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
