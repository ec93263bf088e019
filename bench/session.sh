# shellcheck shell=bash
# Sourced by the benchmark scripts and end-to-end tests: a scratch folder with a
# home and a runtime folder in it, a PulseAudio server with a null sink and an Xvfb
# display of their own, all ended when the script ends.
# Sets: work, HOME, sink, DISPLAY, XDG_RUNTIME_DIR, PULSE_SERVER; pids to kill at the end.
# Also shares the scripts' field and median.

work=$(mktemp -d)
pids=()
cleanup() {
  # Last started first, so that nothing outlives what it talks to.
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The user running this may have no home or runtime folder, and the sound client
# library writes its cookie in the home and complains on stderr where it cannot.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/xdg-runtime"
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME
mkdir -m 700 "$HOME" "$XDG_RUNTIME_DIR"

start_sound_server() {
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  sink=orbivane_bench
  # Started before DISPLAY is set, so that it looks for no session bus through X;
  # its HOME is the scratch folder so that it leaves no cookie behind.
  env -u DISPLAY HOME="$work" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=$sink" \
    --load="module-native-protocol-unix auth-anonymous=1" >"$work/pulse.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start" >&2; cat "$work/pulse.log" >&2; exit 1; }
}

# Starts an X server without a window manager, one more each call: sets xvfb_pid
# and DISPLAY.
start_display() {
  local file
  file=$(mktemp "$work/display.XXXXXX")
  exec 3>"$file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >>"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  pids+=("$xvfb_pid")
  exec 3>&-
  for _ in $(seq 50); do [ -s "$file" ] && break; sleep 0.1; done
  [ -s "$file" ] || { echo "Xvfb did not start" >&2; exit 1; }
  DISPLAY=":$(cat "$file")"
  export DISPLAY
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# Starts the program and waits for its main window: sets program_pid and window.
start_program() {
  "$1" >"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
  window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Orbivane 1.0$' | head -n 1 || true)
  [ -n "$window" ] || { echo "no main window; the program said:" >&2; cat "$work/program.log" >&2; exit 1; }
}

# The ball's middle on the screen, in the 400 px high content area under the menu bar:
# sets click_x and click_y for the script that sourced this.
# shellcheck disable=SC2034
ball_on_screen() {
  read -r x y h < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Height:/ {h=$2} END {print x, y, h}')
  click_x=$((x + 316))
  click_y=$((y + h - 400 + 166))
}

# A value written as name=value in a line of results.
field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }

# The median of the numbers given.
median() {
  printf '%s\n' "$@" | sort -g |
    awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
