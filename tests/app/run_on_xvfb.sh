#!/usr/bin/env bash
# Runs a program on an X display of its own, whatever DISPLAY says, and
# exits with its status; exits 77 (skipped) when Xvfb is missing.
# usage: run_on_xvfb.sh PROGRAM [ARGS...]
set -euo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb is not installed (tools/install-deps.sh installs it)" >&2; exit 77; }

work=$(mktemp -d)
xvfb=
cleanup() {
  if [[ -n $xvfb ]]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and reports it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for ((i = 0; i < 200; i++)); do
  [[ -s $work/display ]] && break
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
[[ -s $work/display ]] || { echo "Xvfb reported no display" >&2; exit 1; }

status=0
DISPLAY=":$(tr -d '[:space:]' <"$work/display")" QT_QPA_PLATFORM=xcb "$@" || status=$?
exit "$status"
