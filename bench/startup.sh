#!/usr/bin/env bash
# Start-up of the program beside a floor, on an Xvfb of its own with no window
# manager (the window is mapped as soon as it is shown, so no manager's timing
# gets into the figures).
#
#   bench/startup.sh [BUILD_DIR [RUNS]]     (defaults: ./build next to bench/, 7)
#
# It builds BUILD_DIR with the benchmark helpers first (bench/build.sh).
#
# How the first paint is seen: bench/FirstPaintProbe.cpp is linked into
#   program     orbivane_startup_probe: main() calls RunProgram(), the program's
#               whole start-up, from the same library the program is built from;
#   floor       a bare QMainWindow, 600x400, two labels, Qt Widgets only;
#   floor+libs  the same window with libpulse, libsndfile and espeak-ng linked
#               in but unused, to tell what linking them costs from what the
#               program does.
# The probe installs an event filter on the QApplication as soon as it exists,
# stamps the first Paint event, and once that paint pass has been flushed to the X
# server reads VmHWM (peak RSS) and VmRSS from /proc/self/status, looks through
# /proc/self/maps for sound and speech code, prints one line and exits. Times run
# from a CLOCK_REALTIME stamp this script takes in the child just before exec (it
# includes the exec of `timeout`, the same for every variant).
# The variants take turns within each run, in a rotating order, after one launch
# of each that is not counted; each figure is the median over the runs, and each
# ratio is the median of the per-run ratios, so that load on the machine falls on
# both sides.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$("$here/build.sh" "${1:-$here/../build}")
runs=${2:-7}

program=$build/bundle/bin/orbivane
declare -A binary=(
  [program]=$build/bench/bundle/bin/orbivane_startup_probe
  [floor]=$build/bench/orbivane_floor
  [floor+libs]=$build/bench/orbivane_floor_linked
)
variants=(program floor floor+libs)

# shellcheck source=bench/session.sh
. "$here/session.sh"
start_display
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Prints the probe's line for one launch.
launch() {
  (
    export ORBIVANE_BENCH_LAUNCH_US=${EPOCHREALTIME/./}
    exec timeout 10 "$1"
  ) 2>>"$work/stderr.log" | grep '^paint_ms=' || {
    echo "startup.sh: no first paint from $1; its stderr:" >&2
    cat "$work/stderr.log" >&2
    exit 1
  }
}

declare -A paint frame hwm
for variant in "${variants[@]}"; do launch "${binary[$variant]}" >/dev/null; done
for ((run = 0; run < runs; run++)); do
  for ((k = 0; k < ${#variants[@]}; k++)); do
    variant=${variants[$(((run + k) % ${#variants[@]}))]}
    line=$(launch "${binary[$variant]}")
    paint[$variant]+="$(field paint_ms "$line") "
    frame[$variant]+="$(field frame_ms "$line") "
    hwm[$variant]+="$(field hwm_kb "$line") "
    [ "$variant" = program ] && program_line=$line
  done
done

# Per-run ratios of a variant to the floor.
ratios() {
  local -n values=$1
  paste -d' ' <(tr ' ' '\n' <<<"${values[$2]}") <(tr ' ' '\n' <<<"${values[floor]}") |
    awk 'NF == 2 {printf "%.3f ", $1 / $2}'
}

row() {
  local name=$1 scale=$2 goal=$3
  local -n values=$4
  printf '%-26s' "$name"
  for variant in "${variants[@]}"; do
    # shellcheck disable=SC2086
    printf '%12.1f' "$(median ${values[$variant]} | awk -v s="$scale" '{print $1 / s}')"
  done
  # shellcheck disable=SC2046
  printf '%15.2f%12.2f %8s\n' "$(median $(ratios "$4" program))" \
    "$(median $(ratios "$4" floor+libs))" "$goal"
}

echo "Start-up, median of $runs runs (Xvfb, no window manager; load average $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-26s%12s%12s%12s%15s%12s %8s\n' "" program floor floor+libs program/floor libs/floor goal
row "first Paint event (ms)" 1 "" paint
row "first frame flushed (ms)" 1 "<=1.15" frame
row "peak RSS, VmHWM (MB)" 1024 "<=1.2" hwm
echo
for variant in "${variants[@]}"; do
  printf '%-11s frame ms: %s   VmHWM kB: %s\n' "$variant" "${frame[$variant]}" "${hwm[$variant]}"
done

echo
echo "Mapped into the program at its first frame (1 = yes):"
echo "  $(cut -d' ' -f5- <<<"$program_line")"

# The same look at the built program itself, once its window is on the screen.
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Orbivane 1.0$' | head -n 1 || true)
if [ -n "$window" ]; then
  maps=$(cat "/proc/$program_pid/maps")
  printf '%s' "  bin/orbivane with its window shown:"
  for name in libQt6Multimedia.so libespeak-ng.so libsndfile.so libgstreamer-1.0.so \
    libpulse.so; do
    if grep -q -F "$name" <<<"$maps"; then printf ' %s=1' "$name"; else printf ' %s=0' "$name"; fi
  done
  echo
else
  echo "  bin/orbivane showed no window within 10 s"
fi
