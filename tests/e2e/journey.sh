#!/usr/bin/env bash
# Drives the built program from outside, as a user would: on X servers of its own,
# by mouse and keyboard, watching windows through the X server, the addresses a
# stand-in browser is given and the exit status. It waits on what it can observe
# (a window's title, events in the X server's log, the exit), never on the clock
# for something to be over.
set -euo pipefail

program=${1:?usage: journey.sh path/to/bin/orbivane}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# A scratch folder with a home and a runtime folder of its own, ended with the test.
# shellcheck source=bench/session.sh
. "$here/../../bench/session.sh"
# shellcheck source=tests/e2e/steps.sh
. "$here/steps.sh"

# The stand-in browser writes down each address it is asked to open.
cat >"$work/browser" <<SH
#!/bin/sh
printf '%s\n' "\$@" >>"$work/urls"
SH
chmod +x "$work/browser"
export BROWSER="$work/browser"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM XDG_CURRENT_DESKTOP XDG_SESSION_TYPE
# A home and a runtime folder of its own: the user running this may have neither.

launch_program() {
  "$program" >"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

running() { kill -0 "$program_pid" 2>/dev/null; }
ended() { ! running; }

# Waits for the program to end; sets status to its exit status.
wait_exit() {
  wait_for ended || fail "the program is still running"
  status=0
  wait "$program_pid" || status=$?
}

expect_exit() {
  wait_exit
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1: $(cat "$work/program.log")"
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
  local to_x=$((x + cx)) to_y=$((y + menubar + cy)) X Y
  # A move to where the pointer already is would wait for a motion that never comes.
  eval "$(xdotool getmouselocation --shell)"
  if [ "$X" -ne "$to_x" ] || [ "$Y" -ne "$to_y" ]; then xdotool mousemove --sync "$to_x" "$to_y"; fi
  xdotool click 1
}

# X events of a window (or of the root window's children) logged by xev; returns
# once xev is seen to report them, by a property change it is sent.
watch_events() {
  local target=$1 log=$2 mask=$3
  if [ "$target" = root ]; then
    xev -root -event "$mask" -event property >"$log" 2>&1 &
  else
    xev -id "$target" -event "$mask" -event property >"$log" 2>&1 &
  fi
  watcher=$!
  pids+=("$watcher")
  local where=(-id "$target")
  [ "$target" = root ] && where=(-root)
  probe() {
    xprop "${where[@]}" -f _ORBIVANE_PROBE 8s -set _ORBIVANE_PROBE ready &&
      grep -q _ORBIVANE_PROBE "$log"
  }
  wait_for probe || fail "the X event watcher did not start"
}

# The x of each move of the window in the log, in order. A window manager reports
# the place on the screen in a synthetic ConfigureNotify; without one, the X server
# reports it in a real one.
moves_in() {
  awk -v want="$2" '/^ConfigureNotify/ { synthetic = /synthetic YES/; next }
       synthetic == want && match($0, /\(-?[0-9]+,/) {
         x = substr($0, RSTART + 1, RLENGTH - 2)
         if (x != last) { printf "%s%s", sep, x; sep = " " }
         last = x; synthetic = -1 }' "$1"
}
move_count() { local moves; moves=$(moves_in "$1" "$2"); echo "$moves" | wc -w; }
has_moves() { [ "$(move_count "$1" "$2")" -ge "$3" ]; }

expected_moves() {
  local start=$1 out=() i
  for i in 10 9 8 7 6 5 4 3 2 1 0; do
    if [ $((i % 2)) -eq 0 ]; then out+=($((start - i))); else out+=($((start + i))); fi
  done
  echo "${out[*]}"
}

url_count() { [ -f "$work/urls" ] && wc -l <"$work/urls" || echo 0; }
expect_url() {
  has_urls() { [ "$(url_count)" -ge "$1" ]; }
  wait_for has_urls "$1" || true
  local got
  got=$(sed -n "${1}p" "$work/urls" 2>/dev/null || true)
  [ "$got" = "$2" ] || fail "browser got '$got', expected '$2'"
}

# The drop-down menu of the program that is open, if one is.
open_menu() {
  local w
  for w in $(xdotool search --onlyvisible --classname '^orbivane$' 2>/dev/null); do
    if xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q DROPDOWN_MENU; then
      echo "$w"
      return
    fi
  done
}
# Waits until a drop-down menu other than the one given is open; prints it.
wait_menu() {
  local previous=${1:-} menu=""
  other_menu() { menu=$(open_menu); [ -n "$menu" ] && [ "$menu" != "$previous" ]; }
  wait_for other_menu || fail "no menu opened"
  echo "$menu"
}

step "no display: one line and a failure status, not a crash"
status=0
env -u DISPLAY "$program" >"$work/nodisplay.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "status $status without a display"
[ "$(wc -l <"$work/nodisplay.log")" -eq 1 ] || fail "not one line: $(cat "$work/nodisplay.log")"
grep -q "no display available" "$work/nodisplay.log" || fail "$(cat "$work/nodisplay.log")"

step "a display that cannot be opened is named in one line"
n=4242
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
status=0
DISPLAY=":$n" "$program" >"$work/noserver.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "status $status with an unreachable display"
[ "$(wc -l <"$work/noserver.log")" -eq 1 ] || fail "not one line: $(cat "$work/noserver.log")"
grep -q "cannot open the X display \":$n\"" "$work/noserver.log" ||
  fail "$(cat "$work/noserver.log")"

step "an unknown platform is said to be not available, in one line"
status=0
DISPLAY=":$n" QT_QPA_PLATFORM=nosuch "$program" >"$work/noplatform.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "status $status with an unknown platform"
[ "$(wc -l <"$work/noplatform.log")" -eq 1 ] || fail "not one line: $(cat "$work/noplatform.log")"
grep -q 'platform "nosuch" is not available' "$work/noplatform.log" ||
  fail "$(cat "$work/noplatform.log")"

# Kills the X server under the running program, once it is idle or in the middle
# of a shake: it ends by itself, not by a signal, in one line.
lose_display() {
  start_display
  launch_program
  local main
  main=$(window_named "Orbivane 1.0")
  [ -n "$main" ] || fail "no main window"
  if [ "$1" = shake ]; then
    watch_events "$main" "$work/lost-moves" structure
    click_in "$main" 316 166 400
    wait_for has_moves "$work/lost-moves" 0 2 || fail "no shake"
  fi
  kill "$xvfb_pid"
  wait_exit
  [ "$status" -ne 0 ] || fail "status 0 after the display went away"
  [ "$status" -lt 128 ] || fail "died of a signal ($status): $(cat "$work/program.log")"
  local lost
  lost=$(grep -c "the connection to the display $DISPLAY was lost" "$work/program.log" || true)
  [ "$lost" -eq 1 ] || fail "no one line about the lost display: $(cat "$work/program.log")"
  ! grep -qE "X11|XIO|xcb" "$work/program.log" || fail "more said: $(cat "$work/program.log")"
}

step "the display goes away while the program is idle: it ends in one line"
lose_display idle
step "the display goes away in the middle of a shake: the same"
lose_display shake

step "start without a window manager: exactly one window is mapped"
start_display
watch_events root "$work/maps" substructure
launch_program
main=$(window_named "Orbivane 1.0")
[ -n "$main" ] || fail "no main window"
xdotool windowfocus --sync "$main"
xdotool key ctrl+q
expect_exit 0
maps=$(grep -c "^MapNotify" "$work/maps" || true)
[ "$maps" -eq 1 ] || fail "$maps windows mapped: $(grep -A1 "^CreateNotify" "$work/maps")"

# From here on a window manager frames the windows, and Alt+F4 closes them.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
wait_for wm_running || fail "openbox did not start"

# Whether a window's frame (title bar and borders) is centred on the 1280 x 1024
# screen: the program centres it again once the window manager has framed it.
centred() {
  local x y w h border
  read -r x y w h < <(geometry "$1")
  read -r border title < <(xwininfo -id "$1" | awk '/Relative upper-left X/ {x=$4}
    /Relative upper-left Y/ {y=$4} END {print x, y}')
  centre_x=$((x + w / 2))
  centre_y=$((y - title + (h + title + border) / 2))
  [ "$title" -gt 0 ] && [ "$centre_x" -ge 639 ] && [ "$centre_x" -le 641 ] &&
    [ "$centre_y" -ge 511 ] && [ "$centre_y" -le 513 ]
}

step "start: the main window opens, centred, titled Orbivane 1.0"
launch_program
main=$(window_named "Orbivane 1.0")
[ -n "$main" ] || fail "no main window"
wait_for centred "$main" || fail "not centred: $centre_x, $centre_y (title bar $title)"
read -r x0 _ w0 h0 < <(geometry "$main")
[ "$w0" -eq 600 ] || fail "width $w0"
main_menubar=$((h0 - 400))
[ "$main_menubar" -gt 0 ] || fail "the main window has no menu bar"

# Clicks the ball and waits for the window's 11 moves, each of which the window
# manager reports; checks them and where the window comes to rest.
shake_from() {
  local start=$1 log
  log="$work/moves.$RANDOM"
  watch_events "$main" "$log" structure
  click_in "$main" 316 166 400
  wait_for has_moves "$log" 1 11 || fail "moves '$(moves_in "$log" 1)' of a shake"
  local seen
  seen=$(moves_in "$log" 1)
  [ "$seen" = "$(expected_moves "$start")" ] ||
    fail "moves '$seen', expected '$(expected_moves "$start")'"
  kill "$watcher"
  read -r x _ < <(geometry "$main")
  [ "$x" -eq "$start" ] || fail "came to rest at $x, not $start"
}

step "a click on the ball shakes the window and brings it back"
xdotool windowactivate --sync "$main"
shake_from "$x0"

step "a shake at a negative Left shakes around it"
xdotool windowmove --sync "$main" -30 200 || true
at_negative_left() { read -r xn _ < <(geometry "$main"); [ "$xn" -lt 0 ]; }
wait_for at_negative_left || fail "the window did not go to a negative Left ($xn)"
shake_from "$xn"

step "Help > Visit Our Website opens the web site"
xdotool windowactivate --sync "$main"
xdotool key alt+e
edit=$(wait_menu)
xdotool key Right
wait_menu "$edit" >/dev/null
xdotool key Down Return
expect_url 1 "https://www.tarnwick.example/freeforfun"

# Shows the credits with the Quit button; checks that the main window is gone and
# that the credits window has the same menu bar above its 830 x 618 content.
leave_main_window() {
  click_in "$main" 389 379 400
  credits=$(window_named "Credits")
  [ -n "$credits" ] || fail "no credits window"
  main_unmapped() { xwininfo -id "$main" | grep -q "IsUnMapped"; }
  wait_for main_unmapped || fail "the main window is still shown"
  wait_for centred "$credits" || fail "credits not centred: $centre_x, $centre_y"
  read -r _ _ cw ch < <(geometry "$credits")
  [ "$cw" -eq 830 ] || fail "credits width $cw"
  [ $((ch - 618)) -eq "$main_menubar" ] ||
    fail "credits height $ch: not 618 under a menu bar of $main_menubar"
  xdotool windowactivate --sync "$credits"
}

step "the Quit button shows the credits, under the application's menu bar"
leave_main_window

step "Contact Us Now opens the contact page"
click_in "$credits" 488 522 618
expect_url 2 "https://www.tarnwick.example/write-us-now"

step "Exit ends the program with status 0"
click_in "$credits" 415 575 618
expect_exit 0

step "closing both windows with Alt+F4 ends the program with status 0"
launch_program
main=$(window_named "Orbivane 1.0")
xdotool windowactivate --sync "$main"
xdotool key alt+F4
credits=$(window_named "Credits")
[ -n "$credits" ] || fail "no credits window after closing the main window"
running || fail "the program ended when the main window closed"
xdotool windowactivate --sync "$credits"
xdotool key alt+F4
expect_exit 0

step "File > Quit (Ctrl+Q) ends the program with status 0"
launch_program
main=$(window_named "Orbivane 1.0")
xdotool windowactivate --sync "$main"
xdotool key ctrl+q
expect_exit 0

step "in the credits window Ctrl+Q ends the program with status 0"
launch_program
main=$(window_named "Orbivane 1.0")
leave_main_window
xdotool key ctrl+q
expect_exit 0

step "in the credits window Alt+F then Q ends the program with status 0"
launch_program
main=$(window_named "Orbivane 1.0")
leave_main_window
xdotool key alt+f
wait_menu >/dev/null
xdotool key q
expect_exit 0

echo "PASS"
