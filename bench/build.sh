#!/usr/bin/env bash
# Configures BUILD_DIR with the benchmark helpers switched on, builds them with the
# program and prints BUILD_DIR's absolute path. The benchmark scripts call it; a
# plain build leaves bench/ out.
#
#   bench/build.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:?usage: build.sh BUILD_DIR}
cmake -S "$here/.." -B "$build" -G Ninja -DORBIVANE_BENCH=ON >/dev/null
output=$(cmake --build "$build" 2>&1) || { echo "$output" >&2; exit 1; }
cd "$build" && pwd
