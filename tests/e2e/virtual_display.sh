# Sourced by the end-to-end scripts: a virtual X display of the script's own.
#
# start_virtual_display WORK_DIR [SCREEN]
#   Starts Xvfb with one screen of SCREEN pixels (default 1024x768) at depth
#   24, waits until it accepts clients, and exports DISPLAY. Its process id is
#   left in xvfb_pid for the script to end. Calls the script's own fail()
#   when Xvfb does not start within 20 s.
#
# Whatever DISPLAY says, the display is new: a run must not touch the user's
# desktop. Xvfb picks a free display number itself and reports it once it
# accepts clients, so runs side by side cannot take the same one (xvfb-run -a
# can race there).
start_virtual_display() {
  local work=$1 screen=${2:-1024x768} deadline=$((SECONDS + 20))
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  until [[ -s $work/display ]]; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    ((SECONDS < deadline)) || fail "Xvfb did not report a display within 20s: $(cat "$work/xvfb.log")"
    sleep 0.05
  done
  DISPLAY=:$(tr -d '[:space:]' <"$work/display")
  export DISPLAY
}
