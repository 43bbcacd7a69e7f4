#!/usr/bin/env bash
# The manual pages render without a single warning of groff's (-ww) and
# carry a NAME line that whatis can index.
# usage: check_man_pages.sh PAGE...
set -uo pipefail
failures=0
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -E UTF-8 -l "$page" 2>&1 >/dev/null)
  warnings+=$(groff -ww -k -man -Tutf8 -z "$page" 2>&1)
  if [[ -n $warnings ]]; then
    echo "$page: $warnings"
    failures=$((failures + 1))
  fi
  lexgrog "$page" || failures=$((failures + 1))
done
exit $((failures > 0))
