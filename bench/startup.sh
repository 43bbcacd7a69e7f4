#!/usr/bin/env bash
# Start-up to first map and peak memory of Taliven with its vendor server
# unreachable, against a plain 800 x 600 Qt window on the same virtual display,
# and against that window with what any program like Taliven pays for: one
# line of text, the start-up fetches through the HTTP client, or both (the
# fair floor). Then Taliven against a vendor server that answers well (both
# panes on), one that never answers, one that answers legally but slowly,
# and a name server that never answers: the real program, its look-ups
# taken over by the test resolver (tests/support/test_resolver.cpp) and
# sent to tools/demo_vendor_server.py on 127.0.0.1.
# The programs take turns, so a machine that slows down mid-run slows all alike.
# usage: bench/startup.sh [BUILD_DIR] [RUNS]   (prints a markdown table)
set -euo pipefail
build=${1:-build}
runs=${2:-9}
[[ -n "${INNER:-}" ]] || exec env INNER=1 xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$0" "$@"
root=$(cd "$(dirname "$0")/.." && pwd)
resolver=$build/tests/support/libtaliven_test_resolver.so
slow_seconds=9.5  # each answer of the slow server complete only after this

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
  engines=$(engine_processes "$launcher")
  pkill -TERM -P "$launcher" || true
  wait "$launcher" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) $(tail -n 1 "$log") $engines"
  rm -f "$log"
}

# The web-engine processes that descend from process $1 (and no other run's).
engine_processes() {
  ps -eo pid=,ppid=,args= | awk -v root="$1" '
    { parent[$1] = $2; engine[$1] = ($3 ~ /QtWebEngineProcess/) }
    END {
      n = 0
      for (p in parent) if (engine[p]) for (a = parent[p]; a > 1; a = parent[a]) if (a == root) { n++; break }
      print n
    }'
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }

servers=()
stop_servers() { for server in "${servers[@]}"; do kill "$server" 2>/dev/null || true; done; }
trap stop_servers EXIT
# Starts a demo vendor server with these options on a free port; sets `port`.
start_server() {
  local log
  log=$(mktemp)
  python3 "$root/tools/demo_vendor_server.py" --port 0 "$@" >"$log" 2>/dev/null &
  servers+=($!)
  for ((i = 0; i < 100; i++)); do [[ -s $log ]] && break; sleep 0.05; done
  port=$(sed -n '1s/.*://p' "$log")
  rm -f "$log"
  [[ -n $port ]] || { echo "startup.sh: the demo vendor server did not start" >&2; exit 1; }
}

names=(plain plain_text plain_fetch plain_text_fetch taliven)
if [[ -f $resolver ]]; then
  names+=(taliven_good_server taliven_silent_server taliven_slow_server taliven_dead_name_server)
  start_server && good_port=$port
  start_server --silent && silent_port=$port
  start_server --slow "$slow_seconds" && slow_port=$port
else
  echo "startup.sh: $resolver is missing (build taliven_test_resolver): no rows for other servers" >&2
fi
# Taliven with its look-ups answered by the test resolver.
resolved() { echo "env LD_PRELOAD=$resolver TALIVEN_TEST_RESOLVER=$1 $build/app/taliven"; }
command_of() {
  case $1 in
    plain) echo "Plain $build/bench/plain_window" ;;
    plain_text) echo "Plain $build/bench/plain_window --text" ;;
    plain_fetch) echo "Plain $build/bench/plain_fetch_window" ;;
    plain_text_fetch) echo "Plain $build/bench/plain_fetch_window --text" ;;
    taliven) echo "Taliven $build/app/taliven" ;;
    taliven_good_server) echo "Taliven $(resolved "127.0.0.1:$good_port")" ;;
    taliven_silent_server) echo "Taliven $(resolved "127.0.0.1:$silent_port")" ;;
    taliven_slow_server) echo "Taliven $(resolved "127.0.0.1:$slow_port")" ;;
    taliven_dead_name_server) echo "Taliven $(resolved dead)" ;;
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
for floor in plain plain_text plain_fetch plain_text_fetch; do
  echo "| taliven / $floor | $(ratio "${ms[taliven]}" "${ms[$floor]}") | $(ratio "${kb[taliven]}" "${kb[$floor]}") | |"
done
