#!/usr/bin/env bash
# Imports taliven-cli's iCalendar file into a scratch khal calendar, twice,
# and lists what khal then holds: the events are there once each.
# usage: check_ics_khal.sh TALIVEN_CLI KHAL
set -euo pipefail
cli=$1 khal=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/calendar"
cat >"$work/config" <<CONFIG
[calendars]
[[taliven]]
path = $work/calendar
type = calendar
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
CONFIG
export XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache

"$cli" ics 2024-09-01 2024-10-31 --anniversary 奶奶生日=8-15 >"$work/lunar.ics"
"$khal" -c "$work/config" import --batch -a taliven "$work/lunar.ics"
"$khal" -c "$work/config" import --batch -a taliven "$work/lunar.ics"
listed=$("$khal" -c "$work/config" list 2024-09-01 2024-10-31)
echo "$listed"

events=$(grep -c '^BEGIN:VEVENT' "$work/lunar.ics")
stored=$(ls "$work/calendar" | wc -l)
[[ $stored == "$events" ]] || { echo "khal holds $stored events, the file has $events"; exit 1; }
grep -Pzq 'Tuesday, 2024-09-17\n 中秋节\n 中秋节 休\n 奶奶生日\n' <<<"$listed" || { echo "2024-09-17 is not listed as expected"; exit 1; }
grep -Pzq 'Saturday, 2024-09-14\n 中秋节 班\n' <<<"$listed" || { echo "2024-09-14 is not listed as a day worked"; exit 1; }
echo "khal holds the $events events once each"
