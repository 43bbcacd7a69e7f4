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

if [[ "$piped" == *$'\e'* ]]; then
  echo "month into a pipe: colour escapes written"
  failures=$((failures + 1))
fi
exit $((failures > 0))
