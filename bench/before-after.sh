#!/usr/bin/env bash
# What sound and speech cost, in two builds side by side: one run, one Xvfb and one
# PulseAudio null sink, the builds taking turns (the order alternates per round) so
# that the machine's load falls on both.
#
#   bench/before-after.sh BEFORE_BUILD [AFTER_BUILD [ROUNDS]]   (defaults: ./build, 9)
#
# It builds AFTER_BUILD with the benchmark helpers first (bench/build.sh); the
# BEFORE_BUILD only needs its program built. Nine rounds take about seven minutes.
#
# Each round starts each build's program twice, and bench/shakewatch.cpp of AFTER_BUILD
# clicks, watches and times (its top says how). The first time, with the sink's monitor
# recorded:
#   stream        click to the sound server's new playback stream
#   sound         click to the sink playing the first sample above 1% of full scale,
#                 the recording's latency measured in the same launch with markers
#   lost          how much of the sound's stream the recording missed just before that
#                 sample (the sink took it back to start the stream): a sound loud from
#                 its stream's start began up to that much before "sound"
# each for the first shake and for the second. The second time nothing records: a
# 5 ms recording makes the null sink, and so the program's stream, run at 5 ms, which
# costs CPU that a real device would not.
#   RSS before    VmRSS once the window is up and the program has been still for 1 s
#   RSS after     VmRSS after the first shake's whole cycle
#   libraries     distinct shared objects (*.so*) in /proc/PID/maps before the first
#                 shake, and how many the first cycle added
#   CPU a cycle   the process's CPU-time clock (every thread, those that ended
#                 included) from just before the click to 5.5 s after it (the shake is
#                 1.1 s, the longest answer about 3.5 s), for the first shake and the
#                 second; "ended" is the part of it spent by threads that ended within
#                 the cycle, which summing schedstat over the live threads would miss
#   exit          Ctrl+Q, sent through XTEST after the second cycle, to the end of the
#                 process as a pidfd shows it; beside it, as a check, to the return of
#                 the shell's `wait` for the program (the shell's own delay included);
#                 the exit status is checked
# Each figure is the median over the rounds, with the lowest and highest; a ratio is
# the median of the per-round ratios of AFTER to BEFORE, with their range.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
before=$(cd "${1:?usage: before-after.sh BEFORE_BUILD [AFTER_BUILD [ROUNDS]]}" && pwd)
after=$("$here/build.sh" "${2:-$here/../build}")
rounds=${3:-9}
watcher=$after/bench/orbivane_shakewatch
for file in "$before/bundle/bin/orbivane" "$watcher"; do
  [ -x "$file" ] || { echo "before-after.sh: $file missing" >&2; exit 1; }
done

# shellcheck source=bench/session.sh
. "$here/session.sh"
start_sound_server
start_display

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$program_pid/status"; }
libraries() { awk '$6 ~ /\.so/ {print $6}' "/proc/$program_pid/maps" | sort -u | wc -l; }
lowest() { printf '%s\n' "$@" | sort -g | head -n 1; }
highest() { printf '%s\n' "$@" | sort -g | tail -n 1; }

declare -A seen
note() { seen[$1:$2]+="$3 "; }

measure() {
  local variant=$1 build=$2 lines shake
  start_program "$build/bundle/bin/orbivane"
  ball_on_screen
  lines=$("$watcher" "$window" "$program_pid" "$click_x" "$click_y" 2 "$sink.monitor")
  for shake in 1 2; do
    local line
    line=$(grep "^shake=$shake " <<<"$lines")
    note "$variant" "stream$shake" "$(field stream_ms "$line")"
    note "$variant" "sound$shake" "$(field sound_ms "$line")"
    note "$variant" "lost$shake" "$(field lost_ms "$line")"
  done
  note "$variant" latency "$(field recording_latency_ms "$lines")"
  kill "$program_pid"
  wait "$program_pid" || true

  start_program "$build/bundle/bin/orbivane"
  ball_on_screen
  xdotool mousemove "$click_x" "$click_y"
  sleep 1
  local libs0
  libs0=$(libraries)
  note "$variant" rss0 "$(rss_kb)"
  note "$variant" libs0 "$libs0"
  lines=$("$watcher" --cycle-ms=5500 "$window" "$program_pid" "$click_x" "$click_y" 1)
  note "$variant" cpu1 "$(field cycle_cpu_ms "$lines")"
  note "$variant" ended1 "$(field ended_cpu_ms "$lines")"
  note "$variant" rss1 "$(rss_kb)"
  note "$variant" added "$(($(libraries) - libs0))"

  # The shell waits for the program while the watcher quits it: the watcher ends only
  # after the program has, unless it fails.
  "$watcher" --cycle-ms=5500 --quit "$window" "$program_pid" "$click_x" "$click_y" 1 \
    >"$work/quit.txt" &
  local watch_pid=$! ended status=0
  wait -n -p ended "$program_pid" "$watch_pid" || status=$?
  local waited_us=${EPOCHREALTIME/./}
  if [ "$ended" = "$watch_pid" ]; then
    [ "$status" -eq 0 ] || { echo "before-after.sh: the watcher failed" >&2; exit 1; }
    status=0
    wait "$program_pid" || status=$?
  else
    wait "$watch_pid" || { echo "before-after.sh: the watcher failed" >&2; exit 1; }
  fi
  [ "$status" -eq 0 ] || echo "before-after.sh: $variant exited with status $status" >&2
  lines=$(cat "$work/quit.txt")
  note "$variant" cpu2 "$(field cycle_cpu_ms "$lines")"
  note "$variant" ended2 "$(field ended_cpu_ms "$lines")"
  note "$variant" exit "$(field exit_ms "$lines")"
  note "$variant" waited "$(awk -v w="$waited_us" -v k="$(field key_realtime_us "$lines")" \
    'BEGIN {printf "%.1f", (w - k) / 1000}')"
}

echo "Sound and speech before and after, $rounds rounds (load average $(cut -d' ' -f1-3 /proc/loadavg))"
started=$SECONDS
for ((round = 0; round < rounds; round++)); do
  if ((round % 2 == 0)); then
    measure before "$before"
    measure after "$after"
  else
    measure after "$after"
    measure before "$before"
  fi
done

ratios() {
  local -a b a
  read -r -a b <<<"${seen[before:$1]}"
  read -r -a a <<<"${seen[after:$1]}"
  local i
  for i in "${!b[@]}"; do
    awk -v x="${a[$i]}" -v y="${b[$i]}" 'BEGIN {print (y == 0) ? "nan" : x / y}'
  done
}
# The median of the values after SCALE, and their range, divided by SCALE.
spread() {
  local scale=$1
  shift
  printf '%8.1f [%.1f-%.1f]' "$(median "$@" | awk -v s="$scale" '{print $1 / s}')" \
    "$(lowest "$@" | awk -v s="$scale" '{print $1 / s}')" \
    "$(highest "$@" | awk -v s="$scale" '{print $1 / s}')"
}
row() {
  local name=$1 key=$2 scale=$3 r
  # shellcheck disable=SC2086
  printf '%-42s %-26s %-26s' "$name" "$(spread "$scale" ${seen[before:$key]})" \
    "$(spread "$scale" ${seen[after:$key]})"
  mapfile -t r < <(ratios "$key" | grep -v nan)
  if [ ${#r[@]} -gt 0 ]; then
    printf '%6.2f [%.2f-%.2f]\n' "$(median "${r[@]}")" "$(lowest "${r[@]}")" "$(highest "${r[@]}")"
  else
    printf '%6s\n' -
  fi
}
printf '%-42s %-26s %-26s %s\n' "" "before: median [range]" "after: median [range]" "ratio"
row "RSS before the first shake (MB)" rss0 1024
row "RSS after the first shake (MB)" rss1 1024
row "shared libraries before" libs0 1
row "shared libraries the first shake adds" added 1
row "click to stream, first shake (ms)" stream1 1
row "click to stream, second shake (ms)" stream2 1
row "click to sound, first shake (ms)" sound1 1
row "click to sound, second shake (ms)" sound2 1
row "  recording missed before it, first (ms)" lost1 1
row "  recording missed before it, second (ms)" lost2 1
row "CPU, first shake's cycle (ms)" cpu1 1
row "CPU, second shake's cycle (ms)" cpu2 1
row "  of which threads that ended, first (ms)" ended1 1
row "  of which threads that ended, second (ms)" ended2 1
row "Ctrl+Q to the end of the process (ms)" exit 1
row "  to the shell's wait returning (ms)" waited 1
row "recording latency, from markers (ms)" latency 1
for variant in before after; do
  read -r -a r0 <<<"${seen[$variant:rss0]}"
  read -r -a r1 <<<"${seen[$variant:rss1]}"
  growth=()
  for i in "${!r0[@]}"; do growth+=("$(awk -v x="${r1[$i]}" -v y="${r0[$i]}" 'BEGIN {print x / y}')"); done
  printf '%-6s RSS after / before the first shake: %.2f (goal <= 1.3)\n' "$variant" "$(median "${growth[@]}")"
done
echo "$rounds rounds in $((SECONDS - started)) s"
echo
for key in rss0 rss1 libs0 added stream1 stream2 sound1 sound2 lost1 lost2 cpu1 cpu2 ended1 \
  ended2 exit waited latency; do
  printf '%-8s before: %-60s after: %s\n' "$key" "${seen[before:$key]}" "${seen[after:$key]}"
done
