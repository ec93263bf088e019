#!/usr/bin/env bash
# Builds the design list fuzzer with clang under ASan and UBSan and runs it for a
# while (default 300 s), or for a number of inputs when one is given, seeded with
# the program's own lists.
#   fuzz-design-lists.sh [SECONDS [INPUTS]]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
inputs=${2:--1}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBIVANE_FUZZ=ON -DORBIVANE_SANITIZE=ON -DORBIVANE_TESTS=OFF >/dev/null
cmake --build build-fuzz --target design_list_fuzzer design_list_seeds
corpus=build-fuzz/corpus
mkdir -p "$corpus"
build-fuzz/tests/fuzz/design_list_seeds "$corpus"
# ASan holds freed memory back to catch late uses of it; its default 256 MB of
# that would be most of the fuzzer's footprint.
ASAN_OPTIONS=quarantine_size_mb=64 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
LSAN_OPTIONS="suppressions=$PWD/tests/fuzz/lsan-suppressions.txt:print_suppressions=0" \
  build-fuzz/tests/fuzz/design_list_fuzzer -max_total_time="$seconds" -runs="$inputs" \
  -print_final_stats=1 -max_len=4096 -artifact_prefix=build-fuzz/ "$corpus"
