#!/usr/bin/env bash
# A small range of the calendar as iCalendar, byte for byte: two events on one
# day, an anniversary in a leap month, one of day 30 in a 29-day month, a
# title with every character RFC 5545 escapes and a title folded across lines.
# usage: check_ics_golden.sh TALIVEN_CLI GOLDEN_FILE [--update]
set -euo pipefail
cli=$1 golden=$2
write() {
  SOURCE_DATE_EPOCH=1700000000 "$cli" ics 2020-05-20 2020-06-25 \
    --anniversary '奶奶生日=L4-10' \
    --anniversary $'A, B; C\\D\nE=4-30' \
    --anniversary '全家团聚：奶奶的八十大寿，记得早早订好饭店和生日蛋糕=L4-30'
}
if [[ ${3:-} == --update ]]; then
  write >"$golden"
else
  write | cmp - "$golden"
fi
