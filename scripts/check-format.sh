#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from .clang-format; lists those files.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${files[@]}"
