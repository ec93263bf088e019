#!/usr/bin/env bash
# An auto-clicker on the ball: a few thousand clicks a millisecond apart, each of
# which would start a shake inside the running one. The program lives through
# them, the window comes to rest, a later click shakes it as usual, and Ctrl+Q
# ends the program with status 0.
set -euo pipefail

program=${1:?usage: endless-clicks.sh path/to/bin/orbivane [clicks]}
clicks=${2:-3000}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# A scratch folder with a home and a runtime folder, a sound server with a null
# sink, an Xvfb without a window manager, and the program under them.
# shellcheck source=bench/session.sh
. "$here/../../bench/session.sh"

# shellcheck source=tests/e2e/steps.sh
. "$here/steps.sh"
program_log="$work/program.log"

start_sound_server
start_display
unset XDG_CURRENT_DESKTOP
start_program "$program"
ball_on_screen

# Fails at once when the program has ended, saying how.
alive() {
  kill -0 "$program_pid" 2>/dev/null && return 0
  local status=0
  wait "$program_pid" || status=$?
  [ "$status" -gt 128 ] && fail "the program died of signal $((status - 128))"
  fail "the program ended with status $status"
}
left() { xwininfo -id "$window" 2>/dev/null | awk '/Absolute upper-left X/ {print $4}'; }

# Waits until the window has stood still for 3 s (30 shake ticks), for at most
# 60 s in all; sets rest to where it stands.
rest=""
wait_for_rest() {
  local start last=x since
  start=$(now_ms)
  since=$start
  while [ $(($(now_ms) - start)) -lt 60000 ]; do
    alive
    local x
    x=$(left)
    [ -n "$x" ] || { alive; fail "the main window is gone"; }
    if [ "$x" != "$last" ]; then
      last=$x
      since=$(now_ms)
    elif [ $(($(now_ms) - since)) -ge 3000 ]; then
      rest=$x
      return
    fi
    sleep 0.05
  done
  fail "the window was still moving 60 s on"
}

# The pointer rests on the ball; the window moves under it and comes back. A move
# to where the pointer already is would wait for a motion that never comes.
eval "$(xdotool getmouselocation --shell)"
if [ "$X" -ne "$click_x" ] || [ "$Y" -ne "$click_y" ]; then
  xdotool mousemove --sync "$click_x" "$click_y"
fi
x0=$(left)

step "$clicks clicks on the ball, 1 ms apart"
start=$(now_ms)
xdotool click --repeat "$clicks" --delay 1 1
echo "   sent in $(($(now_ms) - start)) ms"
wait_for_rest
echo "   the window rests at $rest (it started at $x0), $(($(now_ms) - start)) ms after the first click"

step "a later click shakes the window and brings it back"
xdotool click 1
moved=""
start=$(now_ms)
while [ $(($(now_ms) - start)) -lt 10000 ]; do
  alive
  [ "$(left)" != "$rest" ] && { moved=1; break; }
  sleep 0.02
done
[ -n "$moved" ] || fail "the window did not move within 10 s of the click"
before=$rest
wait_for_rest
[ "$rest" = "$before" ] || fail "the shake ended at $rest, not at $before"

step "Ctrl+Q ends the program with status 0"
alive
xdotool windowfocus --sync "$window"
xdotool key ctrl+q
start=$(now_ms)
while kill -0 "$program_pid" 2>/dev/null && [ $(($(now_ms) - start)) -lt 10000 ]; do sleep 0.02; done
kill -0 "$program_pid" 2>/dev/null && fail "still running 10 s after Ctrl+Q"
status=0
wait "$program_pid" || status=$?
[ "$status" -le 128 ] || fail "died of signal $((status - 128))"
[ "$status" -eq 0 ] || fail "exit status $status"
[ ! -s "$work/program.log" ] || fail "the program wrote on stderr"
echo "PASS"
