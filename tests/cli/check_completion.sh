#!/usr/bin/env bash
# Drives the bash completion of taliven-cli as bash does on Tab and checks
# what it offers.
# usage: check_completion.sh COMPLETION_SCRIPT
set -uo pipefail
source "$1"
failures=0

expect() {
  local wanted=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _taliven_cli
  if [[ "${COMPREPLY[*]}" != "$wanted" ]]; then
    echo "taliven-cli ${*:2} <Tab>: offered '${COMPREPLY[*]}', expected '$wanted'"
    failures=$((failures + 1))
  fi
}

expect "from-lunar" taliven-cli fr
expect "day days" taliven-cli da
expect "--help --version" taliven-cli --
expect "--leap" taliven-cli from-lunar 2024 8 15 --l
expect "--json --help" taliven-cli netname 张三 ""
expect "--only --anniversary --help" taliven-cli ics 2024-01-01 2024-12-31 --
expect "lunar terms solar holidays" taliven-cli ics 2024-01-01 2024-12-31 --only ""
expect "lunar,holidays" taliven-cli ics 2024-01-01 2024-12-31 --only lunar,h
expect "holidays" taliven-cli ho
expect "lunar,terms" taliven-cli ics 2024-01-01 2024-12-31 --only lunar,t
expect "0 1 2 3 4 5 6 7" taliven-cli pinyin --flags ""
expect "" taliven-cli ics 2024-01-01 2024-12-31 --anniversary ""
expect "" taliven-cli nosuchcommand --
exit $((failures > 0))
