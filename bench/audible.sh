#!/usr/bin/env bash
# Whether every shake is heard: the built program is clicked on its ball again and
# again while the sound server's output is recorded, and each click's window of the
# recording is checked for the shake sound (the first second) and for the spoken
# answer (after the shake, once the window is still).
#
#   bench/audible.sh [BUILD_DIR [CLICKS]]     (defaults: ./build next to bench/, 20)
#
# It builds BUILD_DIR with the benchmark helpers first (bench/build.sh).
#
# The program runs on an Xvfb of its own and plays into a PulseAudio null sink of
# its own, whose monitor parec records. A window counts as heard when its RMS
# amplitude is at least ten times that of the recording before the first click.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$("$here/build.sh" "${1:-$here/../build}")
clicks=${2:-20}
program=$build/bundle/bin/orbivane

# shellcheck source=bench/session.sh
. "$here/session.sh"
start_sound_server
start_display
start_program "$program"
ball_on_screen

rate=44100
recording="$work/recording.raw"
parec --raw --latency-msec=20 --format=s16le --rate=$rate --channels=1 \
  -d "$sink.monitor" >"$recording" &
pids+=($!)
# The monitor delivers nothing for its first seconds; start once it does.
for _ in $(seq 100); do [ "$(stat -c %s "$recording")" -gt $((rate * 2)) ] && break; sleep 0.1; done
sleep 1

seconds_at() { echo "scale=3; $(stat -c %s "$recording") / ($rate * 2)" | bc; }
rms() {
  sox -t raw -r $rate -e signed -b 16 -c 1 "$recording" -n trim "$1" "$2" stat 2>&1 |
    awk '/RMS +amplitude/ {print $3}'
}

quiet=$(rms 0.2 0.5)
xdotool mousemove --sync "$click_x" "$click_y"
offsets=()
for _ in $(seq "$clicks"); do
  offsets+=("$(seconds_at)")
  xdotool click 1
  sleep 5
done

heard_sound=0
heard_speech=0
floor=$(echo "$quiet * 10 + 0.0005" | bc -l)
echo "click  at (s)   sound RMS  speech RMS"
for i in "${!offsets[@]}"; do
  at=${offsets[$i]}
  sound=$(rms "$at" 1.0)
  speech=$(rms "$(echo "$at + 1.2" | bc)" 3.5)
  printf '%5d  %6.2f   %9.5f  %10.5f\n' $((i + 1)) "$at" "$sound" "$speech"
  [ "$(echo "$sound > $floor" | bc -l)" -eq 1 ] && heard_sound=$((heard_sound + 1))
  [ "$(echo "$speech > $floor" | bc -l)" -eq 1 ] && heard_speech=$((heard_speech + 1))
done
printf 'quiet before the first click: RMS %.5f; counted as heard above %.5f\n' "$quiet" "$floor"
echo "shake sound heard: $heard_sound of $clicks; answer heard: $heard_speech of $clicks"
