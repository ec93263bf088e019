#!/usr/bin/env bash
# One shake of the built program, timed from outside, several times over: the CPU
# the program spends on it, the rhythm of its 11 moves, and how long after the
# click the window first moves and the sound starts.
#
#   bench/shake.sh [BUILD_DIR [SHAKES]]     (defaults: ./build next to bench/, 5)
#
# The program runs on an Xvfb of its own with no window manager (each move of the
# window reaches an observer as one ConfigureNotify) and plays into a PulseAudio
# null sink of its own. bench/shakewatch.cpp does the watching, clicking (XTEST) and
# recording; how it times each figure is described at its top. The first shake
# also pays for loading the sound and speech code, which the program does on first
# use; the median is over all shakes.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
shakes=${2:-5}

program=$build/bundle/bin/orbivane
watcher=$build/bench/orbivane_shakewatch
for file in "$program" "$watcher"; do
  [ -x "$file" ] || { echo "shake.sh: $file missing; build first (ninja -C $build)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

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
pactl info >/dev/null 2>&1 || { echo "shake.sh: PulseAudio did not start" >&2; cat "$work/pulse.log" >&2; exit 1; }

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "shake.sh: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

"$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Orbivane 1.0$' | head -n 1 || true)
[ -n "$window" ] || { echo "shake.sh: no main window; the program said:" >&2; cat "$work/program.log" >&2; exit 1; }

# The ball, in the 400 px high content area under the menu bar.
read -r x y h < <(xwininfo -id "$window" |
  awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Height:/ {h=$2} END {print x, y, h}')
click_x=$((x + 316))
click_y=$((y + h - 400 + 166))

echo "Shake, $shakes times (Xvfb, no window manager; load average $(cut -d' ' -f1-3 /proc/loadavg))"
"$watcher" "$window" "$program_pid" "$click_x" "$click_y" "$shakes" "$sink.monitor"
cat <<'EOF'

1st tick  click to the window's first move (the timer's period is 100 ms)
sound     click to the first recorded sample above 1% of full scale; includes the
          recording latency (20 ms asked) and the file's own quiet start (about
          24 ms to that level when sox decodes it)
int       the 10 intervals between the 11 moves; outside: how many are not 100 +- 10 ms
CPU       utime+stime of the program from the click to the last move, over that wall time
EOF
