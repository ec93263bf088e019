#!/usr/bin/env bash
# Qt's own options on the command line choose the display and win over the
# environment: the program opens what they name, and its lines about a display
# that cannot be opened or that went away name that one.
set -euo pipefail

program=${1:?usage: display-options.sh path/to/bin/orbivane}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# A scratch folder with a home and a runtime folder of its own, ended with the test.
# shellcheck source=bench/session.sh
. "$here/../../bench/session.sh"
# shellcheck source=tests/e2e/steps.sh
. "$here/steps.sh"

unset XDG_SESSION_TYPE
start_display
live=$DISPLAY

none=200
while [ -e "/tmp/.X11-unix/X$none" ] || [ -e "/tmp/.X$none-lock" ]; do none=$((none + 1)); done

# Runs the program to its end; sets status and out (what it wrote).
run() {
  status=0
  "$@" >"$work/out" 2>&1 || status=$?
  out=$(cat "$work/out")
}

step "-display names a server that does not exist: one line naming it, status 2"
run env DISPLAY="$live" "$program" -display ":$none"
[ "$status" -eq 2 ] || fail "status $status: $out"
[ "$out" = "orbivane: cannot open the X display \":$none\"" ] || fail "said: $out"

step "-platform offscreen runs without any display in the environment"
env -u DISPLAY "$program" -platform offscreen >"$work/offscreen.log" 2>&1 &
offscreen_pid=$!
pids+=("$offscreen_pid")
# Not ending shows only over time; a program that cannot start ends within
# milliseconds.
sleep 2
kill -0 "$offscreen_pid" 2>/dev/null || fail "it ended: $(cat "$work/offscreen.log")"
kill "$offscreen_pid"

step "--display wins over DISPLAY; the lost display's line names it"
DISPLAY=":$none" "$program" --display "$live" -reverse >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
DISPLAY="$live" timeout 10 xdotool search --sync --onlyvisible --name '^Orbivane 1\.0$' >/dev/null ||
  fail "no window on $live: $(cat "$work/program.log")"
kill "$xvfb_pid"
ended() { ! kill -0 "$program_pid" 2>/dev/null; }
wait_for ended || fail "the program is still running"
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 1 ] || fail "status $status: $(cat "$work/program.log")"
[ "$(cat "$work/program.log")" = "orbivane: the connection to the display $live was lost" ] ||
  fail "said: $(cat "$work/program.log")"
echo "PASS"
