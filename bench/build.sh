#!/usr/bin/env bash
# Configures BUILD_DIR with the benchmark helpers switched on and builds them with
# the program. The benchmark scripts call it; a plain build leaves bench/ out.
#
#   bench/build.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:?usage: build.sh BUILD_DIR}
cmake -S "$here/.." -B "$build" -G Ninja -DORBIVANE_BENCH=ON >/dev/null
cmake --build "$build" >/dev/null
