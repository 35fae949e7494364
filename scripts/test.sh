#!/usr/bin/env bash
# The test command: installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and warnings as errors, and runs every test.
#   --tsan  instead: the ThreadSanitizer build (build-tsan/, without the desktop front end,
#           whose Qt libraries are not instrumented), every test, any data race a failure.
# CTest's own options: cd build-asan && ctest ...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
case "${1:-}" in
  "") dir=build-asan options=(-DQL_SANITIZE=ON -DQL_WERROR=ON) ;;
  --tsan) dir=build-tsan options=(-DQL_TSAN=ON -DQL_WERROR=ON -DQL_DESKTOP=OFF) ;;
  -h | --help)
    sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
  *)
    echo "test.sh: unknown option '$1' (see --help)" >&2
    exit 2
    ;;
esac
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$dir" "${options[@]}"
cd "$root/$dir"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
  ctest --output-on-failure -j"$(nproc)"
