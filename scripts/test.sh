#!/usr/bin/env bash
# Installs what is missing, checks the C++ files against .clang-format, builds
# everything and runs every test: the whole suite (the end-to-end journeys under
# Xvfb included), then the unit and integration tests again under AddressSanitizer
# and UBSan, then the audio side's tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --with-tests
./scripts/check-format.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBIVANE_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORBIVANE_SANITIZE=ON \
  -DORBIVANE_WERROR=ON >/dev/null
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -LE e2e

# The audio side alone, without Qt: its threads and the sound server client's. Each
# test runs three times, so that an unlucky interleaving gets more than one chance.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORBIVANE_TSAN=ON \
  -DORBIVANE_WERROR=ON >/dev/null
cmake --build build-tsan -j "$jobs"
ctest --test-dir build-tsan --output-on-failure -j "$jobs" --repeat until-fail:3
