#!/usr/bin/env bash
# package.sh: builds the Debian package of the programs: a Release build without tests or
# sanitizers in build-package/, then CPack; prints the path of the .deb on its last line.
set -euo pipefail
case ${1:-} in
  -h | --help)
    sed -n '2,3p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
  "") ;;
  *)
    echo "package.sh: no options but --help" >&2
    exit 2
    ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
dir=$root/build-package
# Optimized as Debian builds its packages (-O2; -O3 also brings false warnings of GCC 12).
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_INSTALL_PREFIX=/usr -DQL_TESTS=OFF -DQL_SANITIZE=OFF -DQL_TSAN=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" >/dev/null
if ! (cd "$dir" && cpack -G DEB >cpack.log 2>&1); then
  cat "$dir/cpack.log" >&2
  exit 1
fi
# The package CPack names as made, not an older one left in the folder.
sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$dir/cpack.log"
