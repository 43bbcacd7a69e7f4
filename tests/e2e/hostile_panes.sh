#!/usr/bin/env bash
# The real program with both content panes on, the centre one showing a page
# as heavy to draw as an ad can make it (pages/heavy.html), on a virtual X
# display: a drag in a pane must leave the next click on a program button
# alone, 关闭系统 → 是 must end the program within a few seconds, and the
# browser it then starts must get the environment the program was started
# with, and nothing the program or its web engine set for themselves. The
# session bus is not running, as on a bare display. Prints the main process's
# CPU while the heavy page shows. The program's engine processes must end with
# it, and it must leave nothing in its temporary folder. Exits 77 (skipped)
# when the tools it needs are missing.
#
# Usage: hostile_panes.sh --binary PATH --resolver LIB
#   --binary    the taliven program
#   --resolver  the test resolver library (tests/support/test_resolver.cpp):
#               the program's look-ups of its vendor server are answered with
#               a local server of this script's own
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/virtual_display.sh
source "$here/virtual_display.sh"
binary=
resolver=
while (($#)); do
  case $1 in
    --binary) binary=$2; shift 2 ;;
    --resolver) resolver=$2; shift 2 ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    *) echo "hostile_panes.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

skip() { echo "hostile panes: SKIPPED: $*" >&2; exit 77; }
fail() {
  echo "hostile panes: FAIL: $*" >&2
  [[ -s ${work:-}/app.log ]] && tail -n 20 "$work/app.log" >&2
  exit 1
}
step() { echo "hostile panes: $*"; }
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done
[[ -x $binary ]] || fail "no program at $binary (build it first)"
[[ -f $resolver ]] || fail "no test resolver at $resolver (build taliven_test_resolver)"

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

# The vendor server: the banner shows a plain page that is one link, the
# centre the heavy one, each for a minute.
cat >"$work/server.py" <<'PY'
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

heavy = open(sys.argv[1], "rb").read()

class Handler(BaseHTTPRequestHandler):
    def do_GET(self):
        base = "http://127.0.0.1:%d" % self.server.server_address[1]
        bodies = {
            "/Chinese/CPC/loginfo.html": ("1>60>%s/plain\r\n0>60>%s/heavy\r\n" % (base, base)).encode(),
            "/Chinese/SysInfo/logFlagfee.htm": b"11",
            "/plain": b"<!DOCTYPE html><title>plain</title><body style='margin:0'>"
                      b"<a href='/plain' style='display:block;height:100vh'>plain</a>",
            "/heavy": heavy,
        }
        body = bodies.get(self.path, b"not found")
        self.send_response(200 if self.path in bodies else 404)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print("port", server.server_address[1], flush=True)
server.serve_forever()
PY
python3 "$work/server.py" "$here/pages/heavy.html" >"$work/server.log" 2>&1 &
pids+=($!)
for ((i = 0; i < 100; i++)); do [[ -s $work/server.log ]] && break; sleep 0.05; done
port=$(sed -n '1s/^port //p' "$work/server.log")
[[ $port =~ ^[0-9]+$ ]] || fail "the vendor server did not start: $(cat "$work/server.log")"

# A user of our own, with no session bus, and a browser that records the
# environment it is started in.
mkdir -p "$work/home" "$work/runtime" "$work/bin" "$work/tmp"
chmod 700 "$work/home" "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime PATH=$work/bin:$PATH TMPDIR=$work/tmp
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME DBUS_SESSION_BUS_ADDRESS BROWSER DEFAULT_BROWSER
unset MESA_SHADER_CACHE_DISABLE MESA_GLSL_CACHE_DISABLE force_s3tc_enable QTWEBENGINE_DISABLE_SANDBOX
cat >"$work/bin/xdg-open" <<SH
#!/bin/sh
env >"$work/browser.env.part" && mv "$work/browser.env.part" "$work/browser.env"
SH
chmod +x "$work/bin/xdg-open"

# (A program built with AddressSanitizer wants its runtime first.)
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
export LD_PRELOAD=$resolver TALIVEN_TEST_RESOLVER=127.0.0.1:$port
env >"$work/start.env"
"$binary" >"$work/app.log" 2>&1 &
app=$!
pids+=("$app")

# The program's window titled $1 once it shows, within $2 tenths of a second;
# nothing when it does not, or when the program has ended.
shown_window() {
  local i window
  for ((i = 0; i < $2; i++)); do
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1) || true
    [[ -n $window ]] && echo "$window" && return
    kill -0 "$app" 2>/dev/null || return 0
    sleep 0.1
  done
}

main=$(shown_window Taliven 300)
kill -0 "$app" 2>/dev/null || fail "the program ended before its window showed"
[[ -n $main ]] || fail "no main window within 30 s"
for ((i = 0; i < 300; i++)); do
  grep -q 'GET /heavy' "$work/server.log" && break
  sleep 0.1
done
grep -q 'GET /heavy' "$work/server.log" || fail "the centre pane never asked for the heavy page"
sleep 3  # it draws now

ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
before=$(ticks)
sleep 5
step "the main process while the heavy page shows: $(((($(ticks) - before) * 100 / $(getconf CLK_TCK)) / 5))% of a core"

# A quick press, drag and release on the banner's link, then a click on 关于系统:
# the click opens its window.
for ((try = 1; try <= 3; try++)); do
  xdotool mousemove --window "$main" 300 40 mousedown 1 mousemove --window "$main" 340 60 mouseup 1
  sleep 1  # the engine has had its say about the drag
  xdotool mousemove --window "$main" 577 102 click 1  # 关于系统, on the button bar
  about=$(shown_window 关于系统 30)
  [[ -n $about ]] || fail "a drag in the banner swallowed the next click on 关于系统 (try $try)"
  python3 "$here/wm_close.py" "$about" || fail "could not close 关于系统"
  for ((i = 0; i < 30; i++)); do
    [[ -z $(xdotool search --onlyvisible --name '^关于系统$' 2>/dev/null) ]] && break
    sleep 0.1
  done
done
step "a drag in a pane leaves the next click on the program alone"

# The engine's processes: the program's children and theirs.
descendants() {
  local child
  for child in $(pgrep -P "$1"); do echo "$child" && descendants "$child"; done
}
engine=$(descendants "$app")
[[ -n $engine ]] || fail "the program started no engine process"
alive() {
  local process
  for process in $engine; do kill -0 "$process" 2>/dev/null && echo "$process"; done
  true
}

xdotool mousemove --window "$main" 748 102 click 1  # 关闭系统, on the button bar
dialog=$(shown_window 退出系统 100)
[[ -n $dialog ]] || fail "关闭系统 brought no exit question"
sleep 0.3
start=$(date +%s%N)
xdotool mousemove --window "$dialog" 81 81 click 1  # 是(&Y)
while kill -0 "$app" 2>/dev/null && (($(date +%s%N) - start < 30000000000)); do sleep 0.02; done
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
for ((i = 0; i < 100; i++)); do [[ -s $work/browser.env ]] && break; sleep 0.1; done
[[ -s $work/browser.env ]] || fail "no browser was started"
# What a shell adds of its own is left out.
variables() { grep -v '^\(_\|PWD\|OLDPWD\|SHLVL\)=' "$1" | sort; }
if ! differences=$(diff <(variables "$work/start.env") <(variables "$work/browser.env")); then
  fail "the browser's environment is not the one the program was started with (< start, > browser):
$differences"
fi
step "the browser got the environment the program was started with"
kill -0 "$app" 2>/dev/null && fail "是 did not end the program within 30 s"
step "是 ended the program in $elapsed_ms ms"
((elapsed_ms < 5000)) || fail "是 took $elapsed_ms ms to end the program; a second or two is right"
for ((i = 0; i < 50; i++)); do [[ -z $(alive) ]] && break; sleep 0.1; done
[[ -z $(alive) ]] || fail "the engine's processes outlived the program by 5 s: $(alive)"
leftovers=$(ls -A "$TMPDIR")
[[ -z $leftovers ]] || fail "the program left files in its temporary folder: $leftovers"

step "PASS"
