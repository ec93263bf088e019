#!/usr/bin/env bash
# Builds the design list fuzzer with clang under ASan and UBSan and runs it for a
# while (default 300 s), seeded with the program's own lists.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBIVANE_FUZZ=ON -DORBIVANE_SANITIZE=ON -DORBIVANE_TESTS=OFF >/dev/null
cmake --build build-fuzz --target design_list_fuzzer design_list_seeds
corpus=build-fuzz/corpus
mkdir -p "$corpus"
build-fuzz/tests/fuzz/design_list_seeds "$corpus"
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
LSAN_OPTIONS="suppressions=$PWD/tests/fuzz/lsan-suppressions.txt" \
  build-fuzz/tests/fuzz/design_list_fuzzer -max_total_time="$seconds" -print_final_stats=1 \
  -max_len=4096 -artifact_prefix=build-fuzz/ "$corpus"
