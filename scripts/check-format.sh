#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from .clang-format; lists those files.
# In a git checkout it checks the tracked files; elsewhere (an unpacked archive of
# the tree) every *.cpp and *.h under src, tests and bench.
set -euo pipefail
cd "$(dirname "$0")/.."
files=()
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$(pwd -P)" ]; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests bench -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
fi
# With no file named, clang-format would read standard input and check nothing.
if [ ${#files[@]} -eq 0 ]; then
  echo "check-format.sh: no C++ files found in $(pwd -P)" >&2
  exit 1
fi
clang-format --dry-run --Werror "${files[@]}"
echo "check-format.sh: ${#files[@]} files match .clang-format"
