#!/usr/bin/env bash
# Runs the real program under a window manager whose frame is not the
# standard one the layouts were drawn for (openbox, in a theme of thicker
# borders, a taller caption and a handle below), and checks that the windows
# are centred by the frame they really get: the main window and a dialog
# opened from it. Then the main window is moved, covered, uncovered,
# minimised and restored: it stays where it was moved to.
# Fails with a message naming the step that did not show what it should;
# exits 77 (skipped) when the tools it needs are missing.
#
# Usage: wm_frames.sh [--binary PATH]
#   --binary  the taliven program (default: build/app/taliven)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/virtual_display.sh
source "$here/virtual_display.sh"
binary=$here/../../build/app/taliven
screen=1024x768

while (($#)); do
  case $1 in
    --binary) binary=$2; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) echo "wm_frames.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

skip() { echo "wm_frames: SKIPPED: $*" >&2; exit 77; }
fail() {
  echo "wm_frames: FAIL: $*" >&2
  [[ -s ${work:-}/app.log ]] && tail -n 20 "$work/app.log" >&2
  exit 1
}
step() { echo "wm_frames: $*"; }

for tool in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done
[[ -x $binary ]] || fail "no program at $binary (build it first)"

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_virtual_display "$work" "$screen"
pids=("$xvfb_pid" "${pids[@]}")

# Another frame than the standard one on every side.
theme=$work/wm/themes/Other/openbox-3
mkdir -p "$theme"
cat >"$theme/themerc" <<'THEME'
border.width: 3
padding.width: 5
padding.height: 6
window.client.padding.width: 3
window.client.padding.height: 3
window.handle.width: 7
border.color: #203040
window.active.title.bg: Flat Solid
window.active.title.bg.color: #336699
window.inactive.title.bg: Flat Solid
window.inactive.title.bg.color: #889999
window.*.label.bg: Parentrelative
window.active.label.text.color: #FFFFFF
window.inactive.label.text.color: #EEEEEE
window.*.button.*.bg: Parentrelative
window.active.button.*.image.color: #FFFFFF
window.inactive.button.*.image.color: #EEEEEE
window.*.handle.bg: Flat Solid
window.*.handle.bg.color: #336699
window.*.grip.bg: Flat Solid
window.*.grip.bg.color: #203040
THEME
cat >"$work/wm/rc.xml" <<'CONFIG'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme>
    <name>Other</name>
    <titleLayout>LC</titleLayout>
    <font place="ActiveWindow"><name>Noto Sans CJK SC</name><size>14</size></font>
    <font place="InactiveWindow"><name>Noto Sans CJK SC</name><size>14</size></font>
  </theme>
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
</openbox_config>
CONFIG
XDG_DATA_HOME=$work/wm openbox --sm-disable --config-file "$work/wm/rc.xml" >"$work/wm.log" 2>&1 &
pids=($! "${pids[@]}")
deadline=$((SECONDS + 20))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  ((SECONDS < deadline)) || fail "openbox did not take the display within 20s: $(cat "$work/wm.log")"
  sleep 0.1
done

# A user of our own, whose browser only records.
mkdir -p "$work/home" "$work/runtime" "$work/bin"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export XDG_RUNTIME_DIR=$work/runtime PATH=$work/bin:$PATH
printf '#!/bin/sh\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

# --- helpers -------------------------------------------------------------------

# Prints the id of the one visible window with this title, waiting for it.
wait_window() {
  local ids deadline=$((SECONDS + 20))
  while ((SECONDS < deadline)); do
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended while waiting for the window \"$1\""
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true)
    if [[ -n $ids ]]; then
      (($(grep -c . <<<"$ids") == 1)) || fail "more than one window \"$1\" is shown"
      printf '%s' "$ids"
      return
    fi
    sleep 0.1
  done
  fail "the window \"$1\" did not appear within 20s"
}

# "left right top bottom", as the window manager reports the frame.
frame_extents() {
  xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)$/\1 \2 \3 \4/p'
}

# "x y" of the client area's top-left corner on the screen.
client_position() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}'
}

# Waits until the window's outer frame, by the frame it really has, is
# centred on the screen to a pixel or two (a window moves there once the
# window manager has framed it).
expect_centred_in_its_frame() {
  local what=$1 win=$2 left right top bottom x y w h want_x want_y deadline=$((SECONDS + 5))
  read -r left right top bottom <<<"$(frame_extents "$win")"
  [[ -n $left ]] || fail "$what has no frame"
  [[ "$left $right $top $bottom" != "4 4 30 4" ]] || fail "the theme gave $what the standard frame: nothing is checked"
  read -r w h <<<"$(xwininfo -id "$win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')"
  want_x=$(((${screen%x*} - w - left - right) / 2)) want_y=$(((${screen#*x} - h - top - bottom) / 2))
  while :; do
    read -r x y <<<"$(client_position "$win")"
    x=$((x - left)) y=$((y - top))
    ((x >= want_x - 2 && x <= want_x + 2 && y >= want_y - 2 && y <= want_y + 2)) && break
    ((SECONDS < deadline)) ||
      fail "$what (frame $left $right $top $bottom) has its outer frame at $x,$y, not centred at $want_x,$want_y"
    sleep 0.1
  done
  step "$what is centred in its own frame ($left $right $top $bottom) at $x,$y"
}

# --- the session -----------------------------------------------------------------

"$binary" >"$work/app.log" 2>&1 &
app_pid=$!
pids=("$app_pid" "${pids[@]}")

main=$(wait_window "Taliven")
expect_centred_in_its_frame "the main window" "$main"

about_button_x=577 bar_y=102
xdotool mousemove --window "$main" "$about_button_x" "$bar_y" click 1
about=$(wait_window "关于系统")
expect_centred_in_its_frame "the about window" "$about"

# The main window, moved by the user, with the about window still over it.
xdotool windowmove "$main" 40 50
sleep 0.5
moved=$(client_position "$main")
python3 "$here/wm_close.py" "$about" || fail "could not close the about window"
sleep 0.5  # the main window is exposed again where the about window was
xdotool windowminimize --sync "$main"
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowmap --sync "$main"
sleep 1
[[ $(client_position "$main") == "$moved" ]] ||
  fail "the moved main window went from $moved to $(client_position "$main") when it was exposed again"
step "the moved main window stays at $moved when it is uncovered, minimised and restored"
echo "wm_frames: PASS"
