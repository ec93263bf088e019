#!/usr/bin/env bash
# The program with a sound server that accepts connections and never answers:
# a click on the ball still moves the window at once, the silence is said once on
# stderr, and Ctrl+Q still ends the program at once with status 0.
set -euo pipefail

program=${1:?usage: hung-sound-server.sh path/to/bin/orbivane path/to/orbivane_silent_sound_server}
server=${2:?usage: hung-sound-server.sh path/to/bin/orbivane path/to/orbivane_silent_sound_server}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# A scratch folder with a home and a runtime folder, an Xvfb without a window
# manager (the window's place as the X server has it is where the program put it),
# and the program under it: the same session the benchmarks run in, without their
# sound server.
# shellcheck source=bench/session.sh
. "$here/../../bench/session.sh"

# shellcheck source=tests/e2e/steps.sh
. "$here/steps.sh"
program_log="$work/program.log"

start_display
unset XDG_CURRENT_DESKTOP

"$server" "$work/pulse.sock" >"$work/server.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -S "$work/pulse.sock" ] && break; sleep 0.1; done
[ -S "$work/pulse.sock" ] || fail "the silent sound server did not start"
export PULSE_SERVER="unix:$work/pulse.sock"

start_program "$program"
ball_on_screen
left() { xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}'; }
x0=$(left)
connections() { grep -c '^accepted' "$work/server.log" || true; }
silence_said() { grep -c 'sound server does not answer' "$work/program.log" || true; }

# The pointer rests on the ball; the window moves under it and comes back.
xdotool mousemove --sync "$click_x" "$click_y"

# Clicks the ball and prints how many ms after the click the window was first seen
# away from where it was.
shake_and_time() {
  local start moved=""
  start=$(now_ms)
  xdotool click 1
  while [ $(($(now_ms) - start)) -lt 3000 ]; do
    if [ "$(left)" != "$x0" ]; then moved=$(($(now_ms) - start)); break; fi
  done
  [ -n "$moved" ] || fail "the window did not move within 3 s of the click"
  # The shake ends back where it started.
  for _ in $(seq 40); do [ "$(left)" = "$x0" ] && break; sleep 0.1; done
  [ "$(left)" = "$x0" ] || fail "the window did not come back to $x0"
  echo "$moved"
}

# The freeze this guards against held a click for a minute; the bound leaves a busy
# machine room and still tells a click that waits on the server from one that does not.
limit=1500
step "a click on the ball moves the window within $limit ms"
first=$(shake_and_time)
echo "   first move ${first} ms after the click"
[ "$first" -le "$limit" ] || fail "first move ${first} ms after the click"
[ "$(connections)" -ge 1 ] || fail "the program never tried the sound server"

step "the silence is said once, and later clicks still shake at once"
for _ in $(seq 40); do [ "$(silence_said)" -ge 1 ] && break; sleep 0.1; done
[ "$(silence_said)" -eq 1 ] || fail "'sound server does not answer' said $(silence_said) times"
second=$(shake_and_time)
echo "   first move ${second} ms after the second click"
[ "$second" -le "$limit" ] || fail "first move ${second} ms after the second click"
# Past the pause after a failure, a click tries the server again.
sleep 3
third=$(shake_and_time)
echo "   first move ${third} ms after the third click"
[ "$third" -le "$limit" ] || fail "first move ${third} ms after the third click"
[ "$(connections)" -ge 2 ] || fail "the server was not tried again"
[ "$(silence_said)" -eq 1 ] || fail "'sound server does not answer' said $(silence_said) times"

step "Ctrl+Q ends the program within 2 s with status 0, a connection still pending"
xdotool windowfocus --sync "$window"
start=$(now_ms)
xdotool key ctrl+q
while kill -0 "$program_pid" 2>/dev/null && [ $(($(now_ms) - start)) -lt 5000 ]; do sleep 0.02; done
took=$(($(now_ms) - start))
kill -0 "$program_pid" 2>/dev/null && fail "still running 5 s after Ctrl+Q"
status=0
wait "$program_pid" || status=$?
echo "   ended ${took} ms after Ctrl+Q, status $status"
[ "$took" -le 2000 ] || fail "ended ${took} ms after Ctrl+Q"
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(grep -c . "$work/program.log" || true)" -eq 1 ] || fail "stderr is not one line"
echo "   stderr: $(cat "$work/program.log")"
echo "PASS"
