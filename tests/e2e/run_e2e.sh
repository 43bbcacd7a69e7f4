#!/usr/bin/env bash
# Runs the real program on a virtual X display and drives it as a user would:
# every window is opened from its button, both readings are done (with the
# empty-box prompt and the report of a pasted number that is none), the
# calendar is walked through a year, and the program is left through the exit
# question (No twice, then Yes). A screenshot of each window goes to SHOT_DIR.
# Fails with a message naming the step that did not show what it should;
# exits 77 (skipped) when the tools it needs are missing.
#
# With --window-manager the display also runs openbox, in a theme whose frame
# is the standard one the layouts were drawn for (4 pixels a side, a 26-pixel
# caption): every window must open in a frame, with the outer size of its
# layout as the window manager reports it, and the calendar must close when
# another program's window takes the focus. The screenshots then show the
# frames.
#
# Usage: run_e2e.sh [--binary PATH] [--endpoints PATH] [--launcher PATH]
#                   [--slowdown N] [--window-manager] [--screen WxH] [SHOT_DIR]
#   --binary     the taliven program (default: build/app/taliven)
#   --endpoints  the endpoints.h generated next to it, for the expected URLs
#   --launcher   a program that runs the program given as its arguments
#                (leak_check.sh runs it under valgrind this way)
#   --slowdown   multiplies every wait, for a launcher that slows it down
#   --window-manager  runs the session under openbox
#   --screen     the virtual screen's size (default: 1024x768)
#   SHOT_DIR     where the screenshots go (default: /tmp/taliven-e2e)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/virtual_display.sh
source "$here/virtual_display.sh"
binary=$here/../../build/app/taliven
endpoints=
launcher=
slowdown=1
window_manager=
screen=1024x768
shot_dir=/tmp/taliven-e2e

while (($#)); do
  case $1 in
    --binary) binary=$2; shift 2 ;;
    --endpoints) endpoints=$2; shift 2 ;;
    --launcher) launcher=$2; shift 2 ;;
    --slowdown) slowdown=$2; shift 2 ;;
    --window-manager) window_manager=openbox; shift ;;
    --screen) screen=$2; shift 2 ;;
    -h|--help) sed -n '2,25p' "$0"; exit 0 ;;
    -*) echo "run_e2e.sh: unknown option $1" >&2; exit 2 ;;
    *) shot_dir=$1; shift ;;
  esac
done
endpoints=${endpoints:-$(dirname "$binary")/endpoints.h}
[[ $slowdown =~ ^[1-9][0-9]*$ ]] || { echo "run_e2e.sh: --slowdown takes a whole number" >&2; exit 2; }
[[ $screen =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || { echo "run_e2e.sh: --screen takes WIDTHxHEIGHT" >&2; exit 2; }

skip() { echo "e2e: SKIPPED: $*" >&2; exit 77; }
fail() {
  echo "e2e: FAIL: $*" >&2
  if [[ -n ${work:-} && -s $work/app.log ]]; then
    echo "e2e: the program's output:" >&2
    tail -n 20 "$work/app.log" >&2
  fi
  exit 1
}
step() { echo "e2e: $*"; }

for tool in Xvfb xdotool xwininfo xprop xclip import convert compare python3 $window_manager; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-deps.sh installs it)"
done
[[ -x $binary ]] || fail "no program at $binary (build it first)"
[[ -r $endpoints ]] || fail "no endpoints header at $endpoints"
[[ -z $launcher || -x $launcher ]] || fail "the launcher $launcher is not executable"

endpoint() {
  local value
  value=$(sed -n "s/.*$1\[\] = \"\(.*\)\";.*/\1/p" "$endpoints")
  [[ -n $value ]] || fail "$1 is not in $endpoints"
  printf '%s' "$value"
}
home_page=$(endpoint VendorHomePageUrl)
partner_page=$(endpoint PartnerStartPageUrl)

mkdir -p "$shot_dir"
rm -f "$shot_dir"/*.png
work=$(mktemp -d)
app_pid=
xvfb_pid=
wm_pid=
stop() {
  if [[ -n $1 ]] && kill -0 "$1" 2>/dev/null; then
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
  fi
}
cleanup() {
  stop "$app_pid"
  stop "$wm_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of our own; the screen size is part of what is checked.
start_virtual_display "$work" "$screen"

# The standard frame: a 2-pixel border and 2 pixels of padding make the
# 4-pixel sides, and the caption's font and padding make it 26 pixels high.
start_window_manager() {
  local theme=$work/wm/themes/TalivenStandard/openbox-3
  mkdir -p "$theme"
  cat >"$theme/themerc" <<'THEME'
border.width: 2
padding.width: 2
padding.height: 3
window.client.padding.width: 2
window.client.padding.height: 2
window.handle.width: 0
border.color: #404040
window.inactive.border.color: #808080
window.*.client.color: #D4D0C8
window.active.title.bg: Gradient Horizontal
window.active.title.bg.color: #0A246A
window.active.title.bg.colorTo: #A6CAF0
window.inactive.title.bg: Gradient Horizontal
window.inactive.title.bg.color: #808080
window.inactive.title.bg.colorTo: #C0C0C0
window.*.label.bg: Parentrelative
window.active.label.text.color: #FFFFFF
window.inactive.label.text.color: #D4D0C8
window.*.label.text.justify: left
window.*.button.*.bg: Parentrelative
window.active.button.*.image.color: #FFFFFF
window.inactive.button.*.image.color: #D4D0C8
THEME
  cat >"$work/wm/rc.xml" <<'CONFIG'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme>
    <name>TalivenStandard</name>
    <titleLayout>LC</titleLayout>
    <font place="ActiveWindow"><name>Noto Sans CJK SC</name><size>9</size><weight>Bold</weight></font>
    <font place="InactiveWindow"><name>Noto Sans CJK SC</name><size>9</size><weight>Bold</weight></font>
  </theme>
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
</openbox_config>
CONFIG
  XDG_DATA_HOME=$work/wm openbox --sm-disable --config-file "$work/wm/rc.xml" >"$work/wm.log" 2>&1 &
  wm_pid=$!
  local deadline=$((SECONDS + 20))
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    kill -0 "$wm_pid" 2>/dev/null || fail "openbox did not start: $(cat "$work/wm.log")"
    ((SECONDS < deadline)) || fail "openbox did not take the display within 20s"
    sleep 0.1
  done
}
if [[ -n $window_manager ]]; then
  start_window_manager
  step "openbox manages display $DISPLAY"
fi

# A user of our own: settings, caches and the browser are all in $work.
mkdir -p "$work/home/.config" "$work/home/.cache" "$work/runtime" "$work/bin"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export XDG_RUNTIME_DIR=$work/runtime
settings=$XDG_CONFIG_HOME/Taliven/Taliven.conf
browser_log=$work/browser.log
: >"$browser_log"
# Stands in for the desktop's browser launcher: records each page it is asked
# to open instead of starting a browser.
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$browser_log"
EOF
chmod +x "$work/bin/xdg-open"
export PATH=$work/bin:$PATH
unset BROWSER DEFAULT_BROWSER

# --- helpers -----------------------------------------------------------------

app_alive() { kill -0 "$app_pid" 2>/dev/null; }

# Every wait is bounded; the bounds grow with the slowdown.
seconds() { echo $(($1 * slowdown)); }
pause() { sleep "$(awk -v t="$1" -v k="$slowdown" 'BEGIN { print t * k }')"; }

visible_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }

count_windows() { visible_windows "$1" | grep -c . || true; }

# Prints the id of the one visible window with this title, waiting for it.
wait_window() {
  local title=$1 limit ids
  limit=$(seconds "${2:-20}")
  local deadline=$((SECONDS + limit))
  while ((SECONDS < deadline)); do
    app_alive || fail "the program ended while waiting for the window \"$title\""
    ids=$(visible_windows "$title")
    if [[ -n $ids ]]; then
      (($(grep -c . <<<"$ids") == 1)) || fail "more than one window \"$title\" is shown"
      pause 0.3  # let it paint before it is clicked or photographed
      printf '%s' "$ids"
      return
    fi
    sleep 0.1
  done
  fail "the window \"$title\" did not appear within ${limit}s"
}

wait_gone() {
  local title=$1 limit
  limit=$(seconds "${2:-10}")
  local deadline=$((SECONDS + limit))
  while ((SECONDS < deadline)); do
    [[ -z $(visible_windows "$title") ]] && return
    sleep 0.1
  done
  fail "the window \"$title\" is still shown after ${limit}s"
}

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Sends the close request that a window manager's close box sends.
close_window() { python3 "$here/wm_close.py" "$1" || fail "could not ask window $1 to close"; }

# The window's client area, which every check's coordinates are in.
shoot() { import -window "$1" "$2" || fail "no screenshot of window $1"; }

# The screenshot of a window for SHOT_DIR: with its frame, when it has one.
photograph() {
  import ${window_manager:+-frame} -window "$1" "$shot_dir/$2.png" || fail "no screenshot of window $1"
}

client_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# The frame the window manager reports around a window: "left right top bottom".
frame_extents() {
  xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)$/\1 \2 \3 \4/p'
}

# Under the window manager, a window must have a frame.
expect_frame() {
  [[ -n $window_manager ]] || return 0
  local extents
  extents=$(frame_extents "$2")
  [[ -n $extents && $extents != "0 0 0 0" ]] || fail "$1 opened without a frame"
}

# The client size of a window and, under the window manager, its outer size
# as the window manager reports it: the client area and the frame around it.
expect_size() {
  local what=$1 win=$2 client=$3 outer=$4 size left right top bottom
  size=$(client_size "$win")
  [[ $size == "$client" ]] || fail "$what is $size inside, not $client"
  [[ -n $window_manager ]] || return 0
  expect_frame "$what" "$win"
  read -r left right top bottom <<<"$(frame_extents "$win")"
  size=$((${size%x*} + left + right))x$((${size#*x} + top + bottom))
  [[ $size == "$outer" ]] || fail "$what is $size outside (frame $left $right $top $bottom), not $outer"
}

# A window's outer frame's top-left corner, "x y": where the window manager
# frames it, by the frame it reports; on a bare display, by the standard frame
# (4 pixels a side, 26 for the caption) that stands in for one.
frame_top_left() {
  local x y left=4 right=4 top=30 bottom=4
  read -r x y <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}')"
  [[ -n $window_manager ]] && read -r left right top bottom <<<"$(frame_extents "$1")"
  echo "$((x - left)) $((y - top))"
}

# A window's outer frame is centred on the screen, to a pixel or two.
expect_centred() {
  local what=$1 win=$2 outer=$3 x y want_x want_y
  read -r x y <<<"$(frame_top_left "$win")"
  want_x=$(((${screen%x*} - ${outer%x*}) / 2)) want_y=$(((${screen#*x} - ${outer#*x}) / 2))
  ((want_x < 0)) && want_x=0
  ((want_y < 0)) && want_y=0
  ((x >= want_x - 2 && x <= want_x + 2 && y >= want_y - 2 && y <= want_y + 2)) ||
    fail "$what has its outer frame at $x,$y on the ${screen} screen, not centred at $want_x,$want_y"
}

# Waits for a window with this title other than the one given, as the error
# report, which carries the program's title like the main window.
wait_other_window() {
  local title=$1 known=$2 limit ids
  limit=$(seconds 10)
  local deadline=$((SECONDS + limit))
  while ((SECONDS < deadline)); do
    app_alive || fail "the program ended while waiting for another window \"$title\""
    ids=$(visible_windows "$title" | grep -vx "$known" || true)
    if [[ -n $ids ]]; then
      (($(grep -c . <<<"$ids") == 1)) || fail "more than one further window \"$title\" is shown"
      pause 0.3
      printf '%s' "$ids"
      return
    fi
    sleep 0.1
  done
  fail "no further window \"$title\" appeared within ${limit}s"
}

wait_unmapped() {
  local deadline=$((SECONDS + $(seconds 10)))
  while ((SECONDS < deadline)); do
    xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
    sleep 0.1
  done
  fail "window $1 is still shown after $(seconds 10)s"
}

# Puts text on the clipboard, as copying it from another program does.
copy_text() { printf '%s' "$1" | xclip -selection clipboard -i 2>/dev/null || fail "could not put \"$1\" on the clipboard"; }

# The centre of a day's number in the calendar's grid, in the month whose
# first day is a weekday w (0 = Sunday): "x y".
day_cell() {
  local first=$1 day=$2 cell
  cell=$((first + day - 1))
  echo "$((14 + 42 * (cell % 7) + 18)) $((56 + 32 * (cell / 7) + 8))"
}

# Counts the pixels of one colour family inside a rectangle (WxH+X+Y).
count_pixels() {
  local file=$1 area=$2 family=$3
  convert "$file" -crop "$area" +repage -depth 8 txt:- | awk -v family="$family" '
    match($0, /\([0-9]+,[0-9]+,[0-9]+/) {
      split(substr($0, RSTART + 1, RLENGTH - 1), c, ",")
      r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
      if (family == "red" && r > 170 && g < 90 && b < 90) n++
      else if (family == "green" && g > 80 && r < 90 && b < 90 && g > r + 40) n++
      else if (family == "navy" && b > 80 && r < 90 && g < 90 && b > r + 40) n++
    }
    END { print n + 0 }'
}

# Shoots the window until the rectangle holds at least MIN pixels of the family.
wait_for_pixels() {
  local win=$1 file=$2 area=$3 family=$4 min=$5 what=$6 n=0
  local deadline=$((SECONDS + $(seconds 10)))
  while ((SECONDS < deadline)); do
    shoot "$win" "$file"
    n=$(count_pixels "$file" "$area" "$family")
    ((n >= min)) && return
    sleep 0.2
  done
  fail "$what: $n $family pixels at $area of $file, expected at least $min"
}

different_pixels() {
  local n
  convert "$1" -crop "$3" +repage "$work/a.png" || fail "could not crop $1"
  convert "$2" -crop "$3" +repage "$work/b.png" || fail "could not crop $2"
  # compare exits 1 when the pictures differ; the count is what matters.
  n=$(compare -metric AE "$work/a.png" "$work/b.png" null: 2>&1 >/dev/null || true)
  printf '%s' "${n%% *}"
}

# Clicks a spinner arrow and checks whether the area of the window changes:
# it must for a step ("changes"), and must not at the end of the range ("stays").
click_spinner() {
  local win=$1 x=$2 y=$3 area=$4 expect=$5 what=$6 before=$work/before.png after=$work/after.png n=0
  shoot "$win" "$before"
  click "$win" "$x" "$y"
  if [[ $expect == stays ]]; then
    pause 1
    shoot "$win" "$after"
    n=$(different_pixels "$before" "$after" "$area")
    [[ $n == 0 ]] || fail "$what changed the month on show ($n pixels) at the end of its range"
    return
  fi
  local deadline=$((SECONDS + $(seconds 5)))
  while ((SECONDS < deadline)); do
    shoot "$win" "$after"
    n=$(different_pixels "$before" "$after" "$area")
    [[ $n =~ ^[0-9]+$ ]] || fail "compare gave \"$n\" for $what"
    ((n > 0)) && return
    pause 0.2
  done
  fail "$what did not change the month on show"
}

# The exit question: exactly one window, photographed, answered by a click.
answer_exit_question() {
  local answer=$1 shot=${2:-} dialog
  dialog=$(wait_window "退出系统" 10)
  (($(count_windows "退出系统") == 1)) || fail "more than one exit question is shown"
  expect_size "the exit question" "$dialog" 236x101 244x135
  [[ $(frame_top_left "$dialog") == "500 303" ]] ||
    fail "the exit question has its outer frame at $(frame_top_left "$dialog"), not 500 303"
  if [[ -n $shot ]]; then photograph "$dialog" "$shot"; fi
  case $answer in
    yes) click "$dialog" 81 81 ;;   # Button1 "是(&Y)" at (40, 69), 82 x 25
    no) click "$dialog" 177 81 ;;   # Button2 "否(&N)" at (136, 69), 82 x 25
  esac
  wait_gone "退出系统"
}

expect_no_kept_running() {
  local how=$1
  pause 1  # long enough for a second question or an exit to show
  app_alive || fail "No after $how ended the program"
  (($(count_windows "退出系统") == 0)) || fail "No after $how asked the question again"
  [[ -n $(visible_windows "Taliven") ]] || fail "No after $how hid the main window"
  [[ ! -s $browser_log ]] || fail "No after $how opened a page: $(cat "$browser_log")"
}

# --- the session -------------------------------------------------------------

step "starting $binary on display $DISPLAY"
if [[ -n $launcher ]]; then
  "$launcher" "$binary" >"$work/app.log" 2>&1 &
else
  "$binary" >"$work/app.log" 2>&1 &
fi
app_pid=$!

main=$(wait_window "Taliven" 30)
expect_size "the main window" "$main" 792x566 800x600
expect_centred "the main window" "$main" 800x600
photograph "$main" main
step "main window mapped at 800x600 outside, 792x566 inside, centred on the ${screen} screen"

# The button bar lies at y = 84 + 8; each button is 80 x 20, so its centre is x + 40.
bar_y=102
qq_button=149 netname_button=235 calendar_button=406 service_button=491 about_button=577 quit_button=748

click "$main" "$qq_button" "$bar_y"
qq=$(wait_window "QQ号码测试")
expect_size "the QQ reading" "$qq" 388x270 396x304
expect_centred "the QQ reading" "$qq" 396x304
click "$qq" 276 22  # "测算" at (246, 11) with the box empty
prompt=$(wait_window "提示" 10)
expect_frame "the prompt" "$prompt"
photograph "$prompt" prompt
xdotool key Return  # its OK button has the focus
wait_gone "提示"
step "an empty QQ number is prompted for; Enter closes the prompt"

# A number that is none can only be pasted. It is reported every time, and
# the program goes on; the report carries the program's title.
copy_text "小一"
for attempt in 1 2; do
  click "$qq" 153 22  # the number box at (81, 12)
  xdotool key ctrl+a ctrl+v
  click "$qq" 276 22
  report=$(wait_other_window "Taliven" "$main")
  expect_frame "the error report" "$report"
  if ((attempt == 1)); then photograph "$report" report; fi
  xdotool key Return  # its OK button has the focus
  wait_unmapped "$report"
done
(($(grep -cF "无法测算“小一”：QQ号码必须是一个整数。" "$work/app.log") == 2)) ||
  fail "the two reports are not both on standard error"
step "a pasted number that is none is reported each time, in Chinese"

click "$qq" 153 22
xdotool key ctrl+a BackSpace
xdotool type --delay 30 12345
xdotool key Return
# The luck class is red, in RzLabel9 at (80, 69) of the result group at (4, 56).
wait_for_pixels "$qq" "$work/qq.png" 98x16+84+125 red 10 "the QQ reading shows no luck line"
photograph "$qq" qq
step "QQ reading shows a result"
click "$qq" 335 22  # "关闭" at (305, 11)
wait_gone "QQ号码测试"

click "$main" "$netname_button" "$bar_y"
netname=$(wait_window "网名与性格")
expect_size "the net-name reading" "$netname" 387x179 395x213
expect_centred "the net-name reading" "$netname" 395x213
click "$netname" 153 22
xdotool type --delay 30 tom
xdotool key Return
# The name line is green at (40, 20), the trait navy at (40, 40), in the group at (4, 47).
wait_for_pixels "$netname" "$work/netname.png" 321x16+44+67 green 10 "the net-name reading shows no name line"
wait_for_pixels "$netname" "$work/netname.png" 329x75+44+87 navy 40 "the net-name reading shows no trait"
photograph "$netname" netname
step "net-name reading shows a result"
click "$netname" 335 22
wait_gone "网名与性格"

click "$main" "$calendar_button" "$bar_y"
calendar=$(wait_window "Orlin日历")
expect_size "the calendar" "$calendar" 331x285 339x319
expect_centred "the calendar" "$calendar" 339x319
photograph "$calendar" calendar
grid=331x200+0+40
# Spinner arrows: UpDown1 (year) at (221, 10), UpDown2 (month) at (61, 10),
# each 16 x 24 with the up arrow in the upper half.
click "$calendar" 158 20  # the year (Label1 at 120, 0, 76 x 41) brings its spinner
click_spinner "$calendar" 229 16 "$grid" changes "the year spinner's up arrow"
click_spinner "$calendar" 229 28 "$grid" changes "the year spinner's down arrow"
# A whole year through the month spinner: down to January, up to December;
# the spinner neither wraps nor carries into the year at either end.
click "$calendar" 28 21  # the month (Label17 at 10, 3, 36 x 37) brings its spinner
# At either end a day is selected and another highlighted with the right
# button first: an arrow that redrew the month would move the highlight.
select_and_highlight() {
  local first
  first=$(date -d "$(date +%Y)-$1-01" +%w)
  # shellcheck disable=SC2046 # "x y"
  click "$calendar" $(day_cell "$first" 20)
  # shellcheck disable=SC2046
  xdotool mousemove --window "$calendar" $(day_cell "$first" 10) click 3
}
for ((month = $(date +%-m); month > 1; month--)); do
  click_spinner "$calendar" 69 28 "$grid" changes "the month spinner's down arrow"
done
select_and_highlight 01
click_spinner "$calendar" 69 28 "$grid" stays "the month spinner's down arrow at January"
for ((month = 1; month < 12; month++)); do
  click_spinner "$calendar" 69 16 "$grid" changes "the month spinner's up arrow"
done
select_and_highlight 12
click_spinner "$calendar" 69 16 "$grid" stays "the month spinner's up arrow at December"
photograph "$calendar" calendar-stepped
step "calendar steps by year, and by month through a whole year; at its ends an arrow changes nothing"
close_window "$calendar"
wait_gone "Orlin日历"

if [[ -n $window_manager ]]; then
  click "$main" "$calendar_button" "$bar_y"
  calendar=$(wait_window "Orlin日历")
  xmessage -title "another program" "another program" >/dev/null 2>&1 &
  other=$!
  xdotool windowactivate "$(wait_window "another program")" 2>/dev/null || true
  wait_gone "Orlin日历"
  stop "$other"
  step "the calendar closes when another program's window takes the focus"
fi

click "$main" "$service_button" "$bar_y"
service=$(wait_window "客户服务")
expect_size "the customer-service window" "$service" 420x273 428x307
expect_centred "the customer-service window" "$service" 428x307
photograph "$service" service
close_window "$service"
wait_gone "客户服务"

click "$main" "$about_button" "$bar_y"
about=$(wait_window "关于系统")
expect_size "the about window" "$about" 321x149 329x183
expect_centred "the about window" "$about" 329x183
photograph "$about" about
close_window "$about"
wait_gone "关于系统"
step "customer-service and about windows open and close"

# Minimised by the window manager's own action although it has no minimise
# box, a window comes back at once and the main window never waits behind a
# window nobody can see; the calendar, having lost activation, closes.
minimise() {
  # --sync could wait for good on a window that comes straight back.
  timeout 5 xdotool windowminimize --sync "$1" >/dev/null 2>&1 || true
}
expect_shown_again() {
  local title=$1 win
  win=$(wait_window "$title" 5)
  minimise "$win"
  wait_window "$title" 5 >/dev/null
  xwininfo -id "$win" | grep -q IsViewable || fail "\"$title\" stayed minimised"
  printf '%s' "$win"
}
if [[ -n $window_manager ]]; then
  for opened in "$qq_button QQ号码测试" "$netname_button 网名与性格" "$service_button 客户服务" "$about_button 关于系统"; do
    click "$main" "${opened%% *}" "$bar_y"
    win=$(expect_shown_again "${opened#* }")
    close_window "$win"
    wait_gone "${opened#* }"
  done
  click "$main" "$quit_button" "$bar_y"
  expect_shown_again "退出系统" >/dev/null
  answer_exit_question no
  click "$main" "$calendar_button" "$bar_y"
  minimise "$(wait_window "Orlin日历")"
  wait_gone "Orlin日历"
  click "$main" "$about_button" "$bar_y"
  close_window "$(wait_window "关于系统")"
  wait_gone "关于系统"
  step "minimised, each window without a minimise box comes back, the calendar closes, the main window answers"
fi

# Keyboard only, once the calendar is open: the arrow keys go to the first
# day of next month, whose hint stands beside it; Tab reaches 今天, and Enter
# comes back. Then Tab from the button bar reaches the first link, and Enter
# opens its page once.
click "$main" "$calendar_button" "$bar_y"
calendar=$(wait_window "Orlin日历")
xdotool mousemove 0 0  # the pointer's own hints stay away
shoot "$calendar" "$work/today.png"
last_day=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
for ((day = $(date +%-d); day <= last_day; day++)); do xdotool key Right; done
pause 0.5
# shellcheck disable=SC2046 # "x y"
read -r cell_x cell_y <<<"$(day_cell "$(date -d "$(date +%Y-%m-01) +1 month" +%w)" 1)"
read -r win_x win_y <<<"$(xwininfo -id "$calendar" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}')"
cell_top=$((win_y + cell_y - 8)) cell_bottom=$((win_y + cell_y - 8 + 30))
hint=
deadline=$((SECONDS + $(seconds 10)))
while [[ -z $hint ]] && ((SECONDS < deadline)); do
  for win in $(xdotool search --onlyvisible --classname "^taliven$" 2>/dev/null); do
    [[ $win == "$main" || $win == "$calendar" ]] || hint=$win
  done
  sleep 0.1
done
[[ -n $hint ]] || fail "the day selected by the arrow keys shows no hint"
read -r hint_y hint_h <<<"$(xwininfo -id "$hint" | awk '/Absolute upper-left Y:/ {y=$4} /Height:/ {h=$2} END {print y, h}')"
((hint_y > cell_bottom || hint_y + hint_h <= cell_top)) ||
  fail "the hint at y $hint_y (height $hint_h) meets its day at y $cell_top..$cell_bottom"
header=268x40+0+0  # the month and the year on show, and their spinners (今天 keeps the focus cue)
shoot "$calendar" "$work/next.png"
[[ $(different_pixels "$work/today.png" "$work/next.png" "$header") != 0 ]] || fail "the arrow keys did not reach next month"
for ((tab = 0; tab < 7; tab++)); do xdotool key Tab; done  # the month, its arrows, the year, its arrows, 今天
xdotool key Return
pause 0.5
shoot "$calendar" "$work/back.png"
[[ $(different_pixels "$work/today.png" "$work/back.png" "$header") == 0 ]] || fail "今天 by Enter did not come back to today"
# shellcheck disable=SC2046 # "x y"
read -r cell_x cell_y <<<"$(day_cell "$(date -d "$(date +%Y-%m-01)" +%w)" "$(date +%-d)")"
highlighted=$(convert "$work/back.png" -crop "30x22+$((cell_x - 15))+$((cell_y - 6))" +repage -depth 8 txt:- | grep -ci '#7EE281')
((highlighted > 100)) || fail "today is not highlighted after 今天 ($highlighted pixels of the highlight)"
close_window "$calendar"
wait_gone "Orlin日历"
# The calendar's button keeps the focus; five Tabs pass the rest of the bar.
# (With no window manager, nothing gives the main window the keyboard back.)
[[ -n $window_manager ]] || xdotool windowfocus --sync "$main"
for ((tab = 0; tab < 5; tab++)); do xdotool key Tab; done
xdotool key Return
deadline=$((SECONDS + 10))
while [[ ! -s $browser_log ]] && ((SECONDS < deadline)); do sleep 0.1; done
sleep 0.5
[[ $(cat "$browser_log") == "http://soft.download-site.example/soft/taliven-calendar.html" ]] ||
  fail "Enter on the first link should have opened its page once, opened: $(cat "$browser_log")"
: >"$browser_log"
step "by keyboard: the calendar into next month and back with 今天, and the first link opened with Enter"

click "$main" "$quit_button" "$bar_y"
answer_exit_question no
expect_no_kept_running "the close button"
step "the close button asks once; No keeps the program running"

close_window "$main"
answer_exit_question no exit
expect_no_kept_running "a close request"
step "a close request asks once; No keeps the program running"

close_window "$main"
answer_exit_question yes
deadline=$((SECONDS + $(seconds 20)))
while app_alive && ((SECONDS < deadline)); do sleep 0.1; done
app_alive && fail "Yes did not end the program within $(seconds 20)s"
status=0
wait "$app_pid" || status=$?
app_pid=
((status == 0)) || fail "Yes ended the program with status $status"
step "Yes ends the program with status 0"

grep -qxF "Start%20Page=$partner_page" "$settings" 2>/dev/null ||
  fail "the start page in $settings is not $partner_page: $(cat "$settings" 2>/dev/null)"
# The launcher is detached from the program and may still be writing.
deadline=$((SECONDS + 10))
while [[ ! -s $browser_log ]] && ((SECONDS < deadline)); do sleep 0.1; done
sleep 0.5
launches=$(cat "$browser_log")
[[ $launches == "$home_page" ]] ||
  fail "the browser should have been asked once for $home_page, was asked for: ${launches:-nothing}"
step "the start page is $partner_page and the browser opened $home_page once"

echo "e2e: PASS; screenshots in $shot_dir"
