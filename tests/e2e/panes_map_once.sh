#!/usr/bin/env bash
# The real program with both content panes on, served by the demo vendor
# server, on a virtual X display: the main window must be mapped exactly once
# in its first 10 seconds (no blink when the web engine shows its first page),
# and both panes must rotate through their pages. Counts MapNotify events of
# the screen's top-level windows (xev on the root window) and leaves a
# screenshot of the window in SHOT_DIR. Exits 77 (skipped) when the tools it
# needs are missing.
#
# Usage: panes_map_once.sh --binary PATH (--resolver LIB | --demo-build) [SHOT_DIR]
#   --binary      the taliven program
#   --resolver    the test resolver library (tests/support/test_resolver.cpp):
#                 the program's look-ups of its vendor server are answered with
#                 the demo server's address, on a free port
#   --demo-build  the program was built with the demo preset instead, for the
#                 demo server on 127.0.0.1:8765
#   SHOT_DIR      where the screenshot goes (default: /tmp/taliven-panes)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/virtual_display.sh
source "$here/virtual_display.sh"
server_script=$here/../../tools/demo_vendor_server.py
binary=
resolver=
demo_build=false
shot_dir=/tmp/taliven-panes

while (($#)); do
  case $1 in
    --binary) binary=$2; shift 2 ;;
    --resolver) resolver=$2; shift 2 ;;
    --demo-build) demo_build=true; shift ;;
    -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
    -*) echo "panes_map_once.sh: unknown option $1" >&2; exit 2 ;;
    *) shot_dir=$1; shift ;;
  esac
done

skip() { echo "panes: SKIPPED: $*" >&2; exit 77; }
fail() {
  echo "panes: FAIL: $*" >&2
  if [[ -s ${work:-}/app.log ]]; then
    # A sanitizer's finding first: its stack alone would fill the tail.
    grep -m 3 'runtime error\|ERROR: AddressSanitizer' "$work/app.log" >&2 || true
    grep -v '^\[\|^  \*\|^$' "$work/app.log" | tail -n 20 >&2
  fi
  exit 1
}
for tool in Xvfb xev xdotool import convert python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done
[[ -x $binary ]] || fail "no program at $binary (build it first)"
$demo_build || [[ -f $resolver ]] || fail "no test resolver at $resolver (build taliven_test_resolver)"

mkdir -p "$shot_dir"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_virtual_display "$work"
pids+=("$xvfb_pid")

port=0
$demo_build && port=8765
python3 "$server_script" --port "$port" >"$work/server.log" 2>&1 &
pids+=($!)
for ((i = 0; i < 100; i++)); do [[ -s $work/server.log ]] && break; sleep 0.05; done
port=$(sed -n '1s/.*://p' "$work/server.log")
[[ $port =~ ^[0-9]+$ ]] || fail "the demo server did not start: $(cat "$work/server.log")"

# A user of our own, so that nothing of the real one is touched.
mkdir -p "$work/home"
chmod 700 "$work/home"
export HOME=$work/home XDG_RUNTIME_DIR=$work/home
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME

# Every top-level window's map, from before the program starts.
xev -root -event substructure >"$work/xev.log" 2>&1 &
pids+=($!)
sleep 0.3

# (Looked up each time: a window made anew has a new id.)
shown_window() { xdotool search --onlyvisible --name '^Taliven$' 2>/dev/null | tail -n 1; }

start=$(date +%s%N)
if $demo_build; then
  "$binary" >"$work/app.log" 2>&1 &
else
  # (A program built with AddressSanitizer wants its runtime first.)
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 LD_PRELOAD=$resolver \
    TALIVEN_TEST_RESOLVER=127.0.0.1:$port "$binary" >"$work/app.log" 2>&1 &
fi
app=$!
pids+=("$app")
until [[ -n $(shown_window) ]]; do
  kill -0 "$app" 2>/dev/null || fail "the program ended before its window showed"
  (($(date +%s%N) - start < 10000000000)) || fail "no window within 10 s"
  sleep 0.01
done
echo "panes: the main window mapped after $((($(date +%s%N) - start) / 1000000)) ms"

# A pane's region of the window (WxH+X+Y): the banner strip and the centre.
banner=800x84+0+0
centre=612x422+178+122
digest() {
  local window pixels
  kill -0 "$app" 2>/dev/null || fail "the program ended after its window showed"
  window=$(shown_window)
  [[ -n $window ]] || fail "the main window is no longer shown"
  pixels=$(timeout 10 import -window "$window" -crop "$1" +repage rgb:- 2>/dev/null | md5sum) ||
    fail "the window's pixels could not be read"
  echo "${pixels%% *}"
}
wait_until() { while (($(date +%s%N) - start < $1 * 1000000)); do sleep 0.05; done; }

# From the first ticks at about 1 s, the demo schedule shows the banner's
# pages for 6 s and 4 s, and the centre's for 8 s, 6 s and 7 s: at 4 s both
# panes show their first page, at 9 s the banner its second, at 11.5 s the
# centre its second.
wait_until 4000
first_banner=$(digest "$banner")
first_centre=$(digest "$centre")
wait_until 9000
second_banner=$(digest "$banner")
wait_until 10000
maps=$(grep -c '^MapNotify' "$work/xev.log" || true)
wait_until 11500
second_centre=$(digest "$centre")
timeout 10 import -window "$(shown_window)" "$shot_dir/panes.png" || fail "no screenshot"
echo "panes: MapNotify events of top-level windows in the first 10 s: $maps"
((maps == 1)) || fail "the main window was mapped $maps times; once is right"
for pane in banner centre; do
  pages=$(grep -o "GET /pages/$pane-[a-z]*.html" "$work/server.log" | sort -u | grep -c . || true)
  ((pages >= 2)) || fail "the $pane pane asked for $pages page(s), not two"
done
[[ $second_banner != "$first_banner" ]] || fail "the banner pane showed the same at 4 s and 9 s"
[[ $second_centre != "$first_centre" ]] || fail "the centre pane showed the same at 4 s and 11.5 s"
echo "panes: PASS; both panes rotate; screenshot in $shot_dir/panes.png"
