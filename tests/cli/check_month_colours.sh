#!/usr/bin/env bash
# month paints its grid only on a terminal, each text in the colour the
# calendar window gives it: checked through a pseudo-terminal (script(1)).
# usage: check_month_colours.sh TALIVEN_CLI
set -uo pipefail
cli=$1
failures=0

on_terminal=$(script -qec "$cli month 2011 1" /dev/null)
piped=$("$cli" month 2011 1)

expect_painted() {
  local colour=$1 text=$2
  if [[ "$on_terminal" != *$'\e['"38;2;$colour"m"$text"$'\e[0m'* ]]; then
    echo "month on a terminal: '$text' is not painted 38;2;$colour"
    failures=$((failures + 1))
  fi
}
expect_painted "255;0;0" "星期日"      # the weekend's header, red
expect_painted "255;128;0" "元旦节"    # a Gregorian festival, #FF8000
expect_painted "83;83;255" "小寒"      # a solar term, #5353FF
expect_painted "0;64;0" "廿七"         # a lunar day, #004000
expect_painted "255;0;0" "腊月"        # the first day of a lunar month, #FF0000

# 休 and 班 each in its own colour, every one of them: kDayOffMarkColor
# (#B51F18) and kWorkdayMarkColor (#3E5573) of calendar/holidays.h. February
# 2024 has eight days off and two days worked.
marks_on_terminal=$(script -qec "$cli month 2024 2" /dev/null)
expect_marks() {
  local colour=$1 mark=$2 count=$3
  local painted=$'\e['"38;2;$colour"m"$mark"$'\e[0m'
  local found=$(grep -oF -- "$painted" <<<"$marks_on_terminal" | wc -l)
  local all=$(grep -oF -- "$mark" <<<"$marks_on_terminal" | wc -l)
  if ((found != count || all != count)); then
    echo "month on a terminal: $found of $all '$mark' painted 38;2;$colour, $count expected"
    failures=$((failures + 1))
  fi
}
expect_marks "181;31;24" "休" 8
expect_marks "62;85;115" "班" 2

if [[ "$piped" == *$'\e'* ]]; then
  echo "month into a pipe: colour escapes written"
  failures=$((failures + 1))
fi
exit $((failures > 0))
