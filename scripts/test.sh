#!/usr/bin/env bash
# The test command: installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and warnings as errors, and runs every test.
set -euo pipefail
case ${1:-} in
  -h | --help)
    echo "usage: scripts/test.sh: installs what is missing, builds build-asan/ (sanitizers,"
    echo "warnings as errors) and runs every test; CTest's own options: cd build-asan && ctest"
    exit 0
    ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build-asan -DQL_SANITIZE=ON -DQL_WERROR=ON
cd "$root/build-asan"
ctest --output-on-failure -j"$(nproc)"
