#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures and builds into DIR (relative to the repo).
set -euo pipefail
usage() {
  cat <<'USAGE'
usage: scripts/build.sh DIR [cmake options...]
Configures (RelWithDebInfo) and builds everything into DIR, relative to the repository:
  scripts/build.sh build                  the programs and the tests, in build/
  scripts/build.sh build -DQL_TESTS=OFF   the programs only
Programs land in DIR/bin. scripts/setup.sh installs what the build needs.
USAGE
}
# An option where DIR should be is a mistake, never a folder to fill.
if (($# == 0)) || [[ $1 == -* ]]; then
  case ${1:-} in
    -h | --help)
      usage
      exit 0
      ;;
    *)
      usage >&2
      exit 2
      ;;
  esac
fi
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
cmake -S "$root" -B "$root/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$root/$dir" -j"$(nproc)"
