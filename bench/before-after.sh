#!/usr/bin/env bash
# What sound and speech cost, in two builds side by side: one run, one Xvfb and one
# PulseAudio null sink, the builds taking turns (the order alternates per round) so
# that the machine's load falls on both.
#
#   bench/before-after.sh BEFORE_BUILD [AFTER_BUILD [ROUNDS]]   (defaults: ./build, 3)
#
# It builds AFTER_BUILD with the benchmark helpers first (bench/build.sh); the
# BEFORE_BUILD only needs its program built.
#
# Each round starts each build's program twice. The first time, with the sink's
# monitor recorded (bench/shakewatch.cpp of AFTER_BUILD describes both figures):
#   stream/sound  click to the sound server's new playback stream, and to the sound
#                 being heard, for the first shake and as the median of the next three
# The second time nothing records: a recording at 5 ms makes the null sink, and so
# the program's stream, run at 5 ms, which costs CPU that a real device would not.
#   RSS before    VmRSS once the window is up and the program has been still for 1 s
#   RSS after     VmRSS after the first shake's whole cycle
#   libraries     distinct shared objects (*.so*) in /proc/PID/maps before the first
#                 shake, and how many the first cycle added
#   CPU a cycle   utime+stime over a cycle: from just before the click to 5.5 s after
#                 it (the shake is 1.1 s, the longest answer about 3.5 s), for the
#                 first shake and as the mean of the next three (10 ms units)
#   exit          Ctrl+Q, after the fourth cycle, to the end of the process as the
#                 shell's `wait` sees it; the exit status is checked
# Each figure is the median over the rounds; a ratio is the median of the
# per-round ratios of AFTER to BEFORE.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
before=$(cd "${1:?usage: before-after.sh BEFORE_BUILD [AFTER_BUILD [ROUNDS]]}" && pwd)
after=$("$here/build.sh" "${2:-$here/../build}")
rounds=${3:-3}
watcher=$after/bench/orbivane_shakewatch
for file in "$before/bundle/bin/orbivane" "$watcher"; do
  [ -x "$file" ] || { echo "before-after.sh: $file missing" >&2; exit 1; }
done

# shellcheck source=bench/session.sh
. "$here/session.sh"
start_sound_server
start_display

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$program_pid/status"; }
libraries() { awk '$6 ~ /\.so/ {print $6}' "/proc/$program_pid/maps" | sort -u | wc -l; }
field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }
median() {
  printf '%s\n' "$@" | sort -g |
    awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

declare -A seen
note() { seen[$1:$2]+="$3 "; }

cpu_ms() { awk '{print ($14 + $15) * 1000 / '"$(getconf CLK_TCK)"'}' "/proc/$program_pid/stat"; }

# CPU of one cycle: a click on the ball, then 5.5 s.
cycle_cpu() {
  local start
  start=$(cpu_ms)
  xdotool click 1
  sleep 5.5
  echo $(($(cpu_ms) - start))
}

measure() {
  local variant=$1 build=$2 lines later_streams=() later_sounds=() later_cpu=0
  start_program "$build/bundle/bin/orbivane"
  ball_on_screen
  sleep 1
  lines=$("$watcher" "$window" "$program_pid" "$click_x" "$click_y" 4 "$sink.monitor")
  local first
  first=$(grep '^shake=1 ' <<<"$lines")
  note "$variant" stream1 "$(field stream_ms "$first")"
  note "$variant" sound1 "$(field sound_ms "$first")"
  while read -r line; do
    later_streams+=("$(field stream_ms "$line")")
    later_sounds+=("$(field sound_ms "$line")")
  done < <(grep -E '^shake=[234] ' <<<"$lines")
  note "$variant" stream2 "$(median "${later_streams[@]}")"
  note "$variant" sound2 "$(median "${later_sounds[@]}")"
  kill "$program_pid"
  wait "$program_pid" || true

  start_program "$build/bundle/bin/orbivane"
  ball_on_screen
  xdotool mousemove --sync "$click_x" "$click_y"
  sleep 1
  local libs0
  libs0=$(libraries)
  note "$variant" rss0 "$(rss_kb)"
  note "$variant" libs0 "$libs0"
  note "$variant" cpu1 "$(cycle_cpu)"
  note "$variant" rss1 "$(rss_kb)"
  note "$variant" added "$(($(libraries) - libs0))"
  for _ in 1 2 3; do later_cpu=$((later_cpu + $(cycle_cpu))); done
  note "$variant" cpu2 "$(awk -v c="$later_cpu" 'BEGIN {printf "%.1f", c / 3}')"

  xdotool windowfocus --sync "$window"
  local start status=0
  start=$(now_ms)
  xdotool key ctrl+q
  wait "$program_pid" || status=$?
  note "$variant" exit "$(($(now_ms) - start))"
  [ "$status" -eq 0 ] || echo "before-after.sh: $variant exited with status $status" >&2
}

echo "Sound and speech before and after, $rounds rounds (load average $(cut -d' ' -f1-3 /proc/loadavg))"
for ((round = 0; round < rounds; round++)); do
  if ((round % 2 == 0)); then
    measure before "$before"
    measure after "$after"
  else
    measure after "$after"
    measure before "$before"
  fi
done

ratio() {
  local -a b a
  read -r -a b <<<"${seen[before:$1]}"
  read -r -a a <<<"${seen[after:$1]}"
  local i out=()
  for i in "${!b[@]}"; do out+=("$(awk -v x="${a[$i]}" -v y="${b[$i]}" 'BEGIN {print (y == 0) ? "nan" : x / y}')"); done
  median "${out[@]}"
}
row() {
  local name=$1 key=$2 scale=$3
  # shellcheck disable=SC2086
  printf '%-38s %10.1f %10.1f %8.2f\n' "$name" \
    "$(median ${seen[before:$key]} | awk -v s="$scale" '{print $1 / s}')" \
    "$(median ${seen[after:$key]} | awk -v s="$scale" '{print $1 / s}')" "$(ratio "$key")"
}
printf '%-38s %10s %10s %8s\n' "" before after ratio
row "RSS before the first shake (MB)" rss0 1024
row "RSS after the first shake (MB)" rss1 1024
row "shared libraries before" libs0 1
row "shared libraries the first shake adds" added 1
row "click to stream, first shake (ms)" stream1 1
row "click to stream, later shakes (ms)" stream2 1
row "click to sound, first shake (ms)" sound1 1
row "click to sound, later shakes (ms)" sound2 1
row "CPU, first shake's cycle (ms)" cpu1 1
row "CPU, a later shake's cycle (ms)" cpu2 1
row "Ctrl+Q to the end of the process (ms)" exit 1
for variant in before after; do
  read -r -a r0 <<<"${seen[$variant:rss0]}"
  read -r -a r1 <<<"${seen[$variant:rss1]}"
  growth=()
  for i in "${!r0[@]}"; do growth+=("$(awk -v x="${r1[$i]}" -v y="${r0[$i]}" 'BEGIN {print x / y}')"); done
  printf '%-6s RSS after / before the first shake: %.2f (goal <= 1.3)\n' "$variant" "$(median "${growth[@]}")"
done
echo
for key in rss0 rss1 libs0 added stream1 stream2 sound1 sound2 cpu1 cpu2 exit; do
  printf '%-8s before: %-40s after: %s\n' "$key" "${seen[before:$key]}" "${seen[after:$key]}"
done
