#!/usr/bin/env bash
# Runs every benchmark, the start-up measurement and the public peers, and
# writes bench/REPORT.md.
# usage: bench/run_all.sh [BUILD_DIR]   (default: build; configured with the
#        default preset when it does not exist yet)
# Takes about four minutes on two cores once built. The only network it uses is the npm
# registry, once, to install the JavaScript peers into bench/peers/node/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
repetitions=3      # Google Benchmark repetitions; the report takes their median
node_runs=5        # timed runs of each JavaScript peer after one warm-up
startup_runs=9

fail() { echo "run_all.sh: $*" >&2; exit 1; }
step() { echo "== $*" >&2; }

work=$(mktemp -d)
xvfb=  # the virtual display's server while start-up is measured
trap 'if [[ -n $xvfb ]]; then kill "$xvfb" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
: >"$work/notes"
note() { echo "$*" >>"$work/notes"; }

# --- build -------------------------------------------------------------------
if [[ ! -f $build/CMakeCache.txt ]]; then
  step "configuring $build"
  if [[ $build == "$root/build" ]]; then
    (cd "$root" && cmake --preset default >/dev/null) || fail "cmake --preset default failed"
  else
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ||
      fail "configuring $build failed"
  fi
fi
grep -q '^TALIVEN_BUILD_BENCH:BOOL=ON' "$build/CMakeCache.txt" ||
  fail "$build was configured with TALIVEN_BUILD_BENCH=OFF; pass a build dir with benchmarks"

targets=(calendar_bench pinyin_bench calendar_window_bench ics_bench plain_window plain_fetch_window write_gb2312_text taliven
  hostile_pages)
known_targets=$(cmake --build "$build" --target help) || fail "cmake could not list the targets of $build"
# The test resolver lets startup.sh point the real program at local servers.
if grep -qw taliven_test_resolver <<<"$known_targets"; then
  targets+=(taliven_test_resolver)
else
  note "Start-up against other vendor servers skipped: $build has no tests (TALIVEN_BUILD_TESTS=OFF)."
fi
with_icu=false
if grep -qw icu_lunar_bench <<<"$known_targets"; then
  with_icu=true
  targets+=(icu_lunar_bench)
else
  note "ICU peer skipped: CMake found no ICU (install libicu-dev)."
fi
step "building ${targets[*]}"
cmake --build "$build" -j2 --target "${targets[@]}" >"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log" >&2; fail "building the benchmarks failed"; }

# --- Google Benchmark programs ------------------------------------------------
# Runs bench/$1 into $work/$1.json; medians of CPU time over the repetitions.
run_bench() {
  local name=$1
  step "$name"
  timeout 180 "$build/bench/$name" --benchmark_format=json \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    >"$work/$name.json" 2>"$work/$name.log" ||
    { tail -n 20 "$work/$name.log" >&2; fail "$name failed"; }
}
run_bench calendar_bench
run_bench pinyin_bench
run_bench calendar_window_bench
run_bench ics_bench
if $with_icu; then run_bench icu_lunar_bench; fi

# --- start-up under Xvfb -------------------------------------------------------
# startup.sh runs on a display of our own that Xvfb numbers itself (-displayfd)
# and never resets (-noreset): a server resetting after its last client left
# refuses the next program's connection now and then.
step "startup.sh ($startup_runs runs each)"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for ((i = 0; i < 100; i++)); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
DISPLAY=":$(tr -d '[:space:]' <"$work/display")" INNER=1 \
  timeout 300 bash "$root/bench/startup.sh" "$build" "$startup_runs" >"$work/startup.md" ||
  fail "bench/startup.sh failed"
step "hostile_pages"
DISPLAY=":$(tr -d '[:space:]' <"$work/display")" timeout 300 "$build/bench/hostile_pages" 5 \
  >"$work/hostile_pages.json" 2>"$work/hostile_pages.log" ||
  { tail -n 20 "$work/hostile_pages.log" >&2; fail "hostile_pages failed"; }
kill "$xvfb"
xvfb=

# --- JavaScript peers ------------------------------------------------------------
peers=$root/bench/peers/node
# Installs the peers from the lock file; says why not on the notes instead of failing.
install_node_peers() {
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    note "JavaScript peers skipped: node or npm is not installed."
    return 1
  fi
  [[ -f $peers/node_modules/.package-lock.json &&
    ! $peers/package-lock.json -nt $peers/node_modules/.package-lock.json ]] && return 0
  step "npm ci in bench/peers/node"
  if ! (cd "$peers" && timeout 180 npm ci --no-audit --no-fund --loglevel=error) >"$work/npm.log" 2>&1; then
    note "JavaScript peers skipped: npm ci failed ($(grep -m1 -i 'err' "$work/npm.log" || tail -n 1 "$work/npm.log"))."
    return 1
  fi
}
if install_node_peers; then
  step "lunar-javascript"
  timeout 120 node "$peers/lunar.js" "$node_runs" >"$work/node_lunar.json" ||
    { note "lunar-javascript peer failed."; rm -f "$work/node_lunar.json"; }
  step "pinyin-pro"
  "$build/bench/write_gb2312_text" "$work/gb2312.txt" || fail "write_gb2312_text failed"
  timeout 180 node "$peers/pinyin.js" "$work/gb2312.txt" 3 >"$work/node_pinyin.json" ||
    { note "pinyin-pro peer failed."; rm -f "$work/node_pinyin.json"; }
fi

# --- report ------------------------------------------------------------------------
python3 "$root/bench/report.py" "$work" >"$work/REPORT.md" || fail "bench/report.py failed"
mv "$work/REPORT.md" "$root/bench/REPORT.md"
step "wrote bench/REPORT.md"
