#!/usr/bin/env bash
# Start-up to first map and peak memory of Taliven with its vendor server
# unreachable, against a plain 800 x 600 Qt window, on one virtual display.
# usage: bench/startup.sh [BUILD_DIR] [RUNS]   (prints a markdown table)
set -euo pipefail
build=${1:-build}
runs=${2:-5}
[[ -n "${INNER:-}" ]] || exec env INNER=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"

# Runs one program until its window named $2 is mapped; prints
# "milliseconds-to-map peak-kB web-engine-processes".
measure() {
  local program=$1 title=$2 log
  log=$(mktemp)
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o "$log" "$program" >/dev/null 2>&1 &
  local launcher=$!
  local deadline=$((SECONDS + 30))
  until xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || { echo "$program: no window within 30 s" >&2; return 1; }
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

declare -A ms kb engines
for name in plain taliven; do
  if [[ $name == plain ]]; then program=$build/bench/plain_window; title=Plain
  else program=$build/app/taliven; title=Taliven; fi
  samples=()
  for ((i = 0; i < runs; i++)); do samples+=("$(measure "$program" "$title")"); done
  ms[$name]=$(printf '%s\n' "${samples[@]}" | cut -d' ' -f1 | median)
  kb[$name]=$(printf '%s\n' "${samples[@]}" | cut -d' ' -f2 | median)
  engines[$name]=$(printf '%s\n' "${samples[@]}" | cut -d' ' -f3 | sort -n | tail -n 1)
done

echo "| program | start to first map (ms, median of $runs) | peak memory (MB) | web-engine processes |"
echo "|---|---|---|---|"
for name in plain taliven; do
  printf '| %s | %s | %.1f | %s |\n' "$name" "${ms[$name]}" "$(echo "${kb[$name]} / 1024" | bc -l)" "${engines[$name]}"
done
printf '| ratio | %.2f | %.2f | |\n' "$(echo "${ms[taliven]} / ${ms[plain]}" | bc -l)" \
  "$(echo "${kb[taliven]} / ${kb[plain]}" | bc -l)"
