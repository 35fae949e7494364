#!/usr/bin/env bash
# lint.sh [--tidy]: the habits the tools can keep. Checks that every include points down the
# layers (scripts/check-includes.sh) and that every C++ source is formatted as .clang-format
# says (clang-format --dry-run -Werror). With --tidy it also runs clang-tidy with .clang-tidy
# over the program's sources (about ten minutes on two cores, so CI leaves it out); it needs
# a configured build-asan/ (./scripts/test.sh makes one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tidy=0
for arg in "$@"; do
  case $arg in
    --tidy) tidy=1 ;;
    -h | --help)
      sed -n '2,6p' "$0" | sed 's/^# \{0,1\}//'
      exit 0
      ;;
    *)
      echo "lint.sh: unknown option '$arg' (see --help)" >&2
      exit 2
      ;;
  esac
done

status=0
./scripts/check-includes.sh || status=1
if ! git ls-files -z '*.h' '*.cpp' | xargs -0 clang-format --dry-run -Werror; then
  echo "lint: clang-format -i the files above" >&2
  status=1
fi
if ((tidy)); then
  git ls-files -z 'app/*.cpp' 'ui/*.cpp' 'aggregate/*.cpp' 'report/*.cpp' 'ledvia/*.cpp' \
    'winport/*.cpp' 'editions/*.cpp' ':!:*/tests/*' |
    xargs -0 -n 8 -P "$(nproc)" clang-tidy -p build-asan --quiet || status=1
fi
((status == 0)) && echo "lint: clean"
exit $status
