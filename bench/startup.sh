#!/usr/bin/env bash
# Start-up to first map and peak memory of Taliven with its vendor server
# unreachable, against a plain 800 x 600 Qt window on the same virtual display,
# and against that window with what any program like Taliven pays for: one
# line of text, or the start-up fetches through the HTTP client.
# The programs take turns, so a machine that slows down mid-run slows all alike.
# usage: bench/startup.sh [BUILD_DIR] [RUNS]   (prints a markdown table)
set -euo pipefail
build=${1:-build}
runs=${2:-9}
[[ -n "${INNER:-}" ]] || exec env INNER=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"

# Runs a command until its window named $1 is mapped; prints
# "milliseconds-to-map peak-kB web-engine-processes".
measure() {
  local title=$1 log
  shift
  log=$(mktemp)
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$log" "$@" >/dev/null 2>&1 &
  local launcher=$!
  local deadline=$((SECONDS + 30))
  until xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || { echo "$1: no window within 30 s" >&2; return 1; }
    sleep 0.002
  done
  end=$(date +%s%N)
  sleep 0.5  # let it settle, so the peak includes the first paints
  local engines
  engines=$(pgrep -c -f QtWebEngineProcess || true)
  pkill -TERM -P "$launcher" || true
  wait "$launcher" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) $(tail -n 1 "$log") $engines"
  rm -f "$log"
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }

names=(plain plain_text plain_fetch taliven)
command_of() {
  case $1 in
    plain) echo "Plain $build/bench/plain_window" ;;
    plain_text) echo "Plain $build/bench/plain_window --text" ;;
    plain_fetch) echo "Plain $build/bench/plain_fetch_window" ;;
    taliven) echo "Taliven $build/app/taliven" ;;
  esac
}

declare -A samples
for ((i = 0; i < runs; i++)); do
  for name in "${names[@]}"; do
    # shellcheck disable=SC2046 # the command is words without spaces
    samples[$name]+="$(measure $(command_of "$name"))"$'\n'
  done
done

echo "| program | start to first map (ms, median of $runs) | peak memory (MB, median) | web-engine processes |"
echo "|---|---|---|---|"
declare -A ms kb
for name in "${names[@]}"; do
  ms[$name]=$(cut -d' ' -f1 <<<"${samples[$name]%$'\n'}" | median)
  kb[$name]=$(cut -d' ' -f2 <<<"${samples[$name]%$'\n'}" | median)
  engines=$(cut -d' ' -f3 <<<"${samples[$name]%$'\n'}" | sort -n | tail -n 1)
  printf '| %s | %s | %.1f | %s |\n' "$name" "${ms[$name]}" "$(echo "${kb[$name]} / 1024" | bc -l)" "$engines"
done
for floor in plain plain_text plain_fetch; do
  echo "| taliven / $floor | $(ratio "${ms[taliven]}" "${ms[$floor]}") | $(ratio "${kb[taliven]}" "${kb[$floor]}") | |"
done
