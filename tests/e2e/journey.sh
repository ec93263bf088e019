#!/usr/bin/env bash
# Drives the built program from outside, as a user would: on its own X server
# with a window manager, by mouse and keyboard, watching windows through the X
# server, the addresses a stand-in browser is given and the exit status.
set -euo pipefail

program=${1:?usage: journey.sh path/to/bin/orbivane}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

# A display of our own, and a window manager so that windows have frames and
# Alt+F4 closes them.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=":$(cat "$work/display")"
export DISPLAY
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 0.5

# The stand-in browser writes down each address it is asked to open.
cat >"$work/browser" <<SH
#!/bin/sh
printf '%s\n' "\$@" >>"$work/urls"
SH
chmod +x "$work/browser"
export BROWSER="$work/browser"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_CURRENT_DESKTOP
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

start_program() {
  "$program" >"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# Waits for the program to end and checks its status.
expect_exit() {
  local status=0
  for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$program_pid" 2>/dev/null && fail "the program is still running"
  wait "$program_pid" || status=$?
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

window_named() {
  timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# The client area's place and size, as the X server has it.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# Clicks at a point of a window's content area, which lies under its menu bar.
click_in() {
  local window=$1 cx=$2 cy=$3 content_height=$4
  read -r x y _ h < <(geometry "$window")
  local menubar=$((h - content_height))
  xdotool mousemove --sync $((x + cx)) $((y + menubar + cy)) click 1
}

url_count() { [ -f "$work/urls" ] && wc -l <"$work/urls" || echo 0; }
expect_url() {
  for _ in $(seq 50); do [ "$(url_count)" -ge "$1" ] && break; sleep 0.1; done
  local got
  got=$(sed -n "${1}p" "$work/urls" 2>/dev/null || true)
  [ "$got" = "$2" ] || fail "browser got '$got', expected '$2'"
}

step "no display: one line and a failure status, not a crash"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$work/nodisplay.log" 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "started without a display"
[ "$status" -lt 128 ] || fail "died of a signal ($status)"
grep -q "no display available" "$work/nodisplay.log" || fail "no message: $(cat "$work/nodisplay.log")"

step "start: the main window opens, centred, titled Orbivane 1.0"
start_program
main=$(window_named "Orbivane 1.0")
[ -n "$main" ] || fail "no main window"
sleep 0.5
read -r x0 y0 w0 h0 < <(geometry "$main")
[ "$w0" -eq 600 ] || fail "width $w0"
# The frame (title bar and borders) is centred on the 1280 x 1024 screen.
read -r border title < <(xwininfo -id "$main" | awk '/Relative upper-left X/ {x=$4}
  /Relative upper-left Y/ {y=$4} END {print x, y}')
centre_x=$((x0 + w0 / 2))
centre_y=$((y0 - title + (h0 + title + border) / 2))
if [ "$centre_x" -lt 639 ] || [ "$centre_x" -gt 641 ]; then fail "not centred across: $centre_x"; fi
if [ "$centre_y" -lt 511 ] || [ "$centre_y" -gt 513 ]; then fail "not centred down: $centre_y"; fi

# The window's moves as the X server reports them to it (the window manager's
# ConfigureNotify events carry its place on the screen), every one of them.
watch_moves() {
  xev -id "$1" -event structure >"$work/moves" 2>&1 &
  watcher=$!
  pids+=("$watcher")
  sleep 0.3
}
moves_seen() {
  sleep 0.5
  kill "$watcher" 2>/dev/null || true
  awk '/^ConfigureNotify/ { synthetic = /synthetic YES/; next }
       synthetic && match($0, /\(-?[0-9]+,/) {
         printf "%s%s", sep, substr($0, RSTART + 1, RLENGTH - 2); sep = " "; synthetic = 0 }' \
    "$work/moves"
}
expected_moves() {
  local start=$1 out=() i
  for i in 10 9 8 7 6 5 4 3 2 1 0; do
    if [ $((i % 2)) -eq 0 ]; then out+=($((start - i))); else out+=($((start + i))); fi
  done
  echo "${out[*]}"
}

step "a click on the ball shakes the window and brings it back"
xdotool windowactivate --sync "$main"
watch_moves "$main"
click_in "$main" 316 166 400
sleep 1.5
seen=$(moves_seen)
[ "$seen" = "$(expected_moves "$x0")" ] || fail "moves '$seen', expected '$(expected_moves "$x0")'"
read -r x _ < <(geometry "$main")
[ "$x" -eq "$x0" ] || fail "came to rest at $x, not $x0"

step "a shake at a negative Left shakes around it"
xdotool windowmove --sync "$main" -30 200 || true
sleep 0.3
read -r xn _ < <(geometry "$main")
[ "$xn" -lt 0 ] || fail "the window did not go to a negative Left ($xn)"
watch_moves "$main"
click_in "$main" 316 166 400
sleep 1.5
seen=$(moves_seen)
[ "$seen" = "$(expected_moves "$xn")" ] || fail "moves '$seen', expected '$(expected_moves "$xn")'"

step "Help > Visit Our Website opens the web site"
xdotool windowactivate --sync "$main"
sleep 0.3
xdotool key alt+e
sleep 0.5
xdotool key Right
sleep 0.5
xdotool key Down
sleep 0.3
xdotool key Return
expect_url 1 "https://www.tarnwick.example/freeforfun"

step "the Quit button hides the main window and shows the credits"
click_in "$main" 389 379 400
credits=$(window_named "Credits")
[ -n "$credits" ] || fail "no credits window"
sleep 0.3
xwininfo -id "$main" | grep -q "IsUnMapped" || fail "the main window is still shown"
read -r cx _ cw _ < <(geometry "$credits")
[ "$cw" -eq 830 ] || fail "credits width $cw"

step "Contact Us Now opens the contact page"
click_in "$credits" 488 522 618
expect_url 2 "https://www.tarnwick.example/write-us-now"

step "Exit ends the program with status 0"
click_in "$credits" 415 575 618
expect_exit 0

step "closing both windows with Alt+F4 ends the program with status 0"
start_program
main=$(window_named "Orbivane 1.0")
xdotool windowactivate --sync "$main"
sleep 0.3
xdotool key alt+F4
credits=$(window_named "Credits")
[ -n "$credits" ] || fail "no credits window after closing the main window"
kill -0 "$program_pid" || fail "the program ended when the main window closed"
xdotool windowactivate --sync "$credits"
sleep 0.3
xdotool key alt+F4
expect_exit 0

step "File > Quit (Ctrl+Q) ends the program with status 0"
start_program
main=$(window_named "Orbivane 1.0")
xdotool windowactivate --sync "$main"
sleep 0.3
xdotool key ctrl+q
expect_exit 0

echo "PASS"
