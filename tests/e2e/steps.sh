# shellcheck shell=bash
# Sourced by the end-to-end tests, after bench/session.sh: how they say what they
# do, wait for what they watch, and fail. A test that sets program_log has the
# program's words shown when it fails.

step() { echo "-- $*"; }

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${program_log:-}" ]; then
    sed 's/^/  program said: /' "$program_log" >&2 2>/dev/null || true
  fi
  exit 1
}

now_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }

# Polls a condition (a command) every tenth of a second, for at most 10 s.
wait_for() {
  local _
  for _ in $(seq 100); do "$@" && return 0; sleep 0.1; done
  return 1
}
