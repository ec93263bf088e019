#!/usr/bin/env bash
# One shake of the built program, timed from outside, several times over: the CPU
# the program spends on it, the rhythm of its 11 moves, and how long after the
# click the window first moves and the sound starts.
#
#   bench/shake.sh [BUILD_DIR [SHAKES]]     (defaults: ./build next to bench/, 5)
#
# It builds BUILD_DIR with the benchmark helpers first (bench/build.sh).
#
# ORBIVANE_RECORD_LATENCY_MS sets the latency the recording asks for (5 ms by default).
# The null sink runs at the smallest latency asked for, so it is also the latency the
# sound is heard with here; keep it below the program's own (30 ms). The recording's
# actual latency is measured in each run.
#
# The program runs on an Xvfb of its own with no window manager (each move of the
# window reaches an observer as one ConfigureNotify) and plays into a PulseAudio
# null sink of its own. bench/shakewatch.cpp does the watching, clicking (XTEST) and
# recording; how it times each figure is described at its top. The first shake
# also pays for loading the sound and speech code, which the program does on first
# use; the median is over all shakes.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$("$here/build.sh" "${1:-$here/../build}")
shakes=${2:-5}

program=$build/bundle/bin/orbivane
watcher=$build/bench/orbivane_shakewatch
# Built only where Xlib's headers are (libx11-dev).
[ -x "$watcher" ] || { echo "shake.sh: $watcher missing" >&2; exit 1; }

# shellcheck source=bench/session.sh
. "$here/session.sh"
start_sound_server
start_display
start_program "$program"
ball_on_screen

echo "Shake, $shakes times (Xvfb, no window manager; load average $(cut -d' ' -f1-3 /proc/loadavg))"
"$watcher" "$window" "$program_pid" "$click_x" "$click_y" "$shakes" "$sink.monitor"
cat <<EOF

1st tick  click to the window's first move (the timer's period is 100 ms)
stream    click to the sound server's "new" sink-input event (pactl subscribe): the
          server has made the shake sound's playback stream
sound     click to the sink playing the first recorded sample above 1% of full scale:
          its place in the recording plus the recording's latency, measured with
          markers before the first click (the line after the table, beside the
          sink's own configured latency)
lost      how much of the sound's stream the recording missed just before that sample
          (the sink took it back to start the new stream): a sound loud from the
          start of its stream began up to that much before "sound"
int       the 10 intervals between the 11 moves; outside: how many are not 100 +- 10 ms
CPU       the program's CPU-time clock (every thread, ended ones included) from the
          click to the last move, over that wall time
cycle     the same from the click until the answer has been spoken (the recording
          quiet again for 0.8 s)
ended     the part of "cycle" spent by threads that ended within it: what summing
          /proc/PID/task/*/schedstat over the live threads would have missed
EOF
