#!/usr/bin/env bash
# fuzz.sh TARGET SECONDS [libFuzzer options...]: builds the libFuzzer harness fuzz_TARGET
# (fuzz/TARGET_fuzz.cpp; clang with AddressSanitizer and UndefinedBehaviorSanitizer) and runs
# it for SECONDS on build-fuzz/corpus/TARGET, seeded from fuzz/corpus/TARGET. Inputs that
# crash or break a check are saved in build-fuzz/findings/TARGET/; the run then fails.
#
# clang encodes string literals in UTF-8 only, so the harnesses are built from a copy of the
# sources whose literals carry their code page 932 bytes as escapes (fuzz/cp932_source.cpp),
# the same bytes the regular build's -fexec-charset=CP932 gives.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() {
  echo "usage: $0 TARGET SECONDS [libFuzzer options...]"
  echo "targets: $(cd "$root/fuzz" && ls ./*_fuzz.cpp | sed 's#./##; s#_fuzz.cpp##' | tr '\n' ' ')"
}
if [[ ${1:-} == -h || ${1:-} == --help ]]; then
  usage
  exit 0
fi
if (($# < 2)); then
  usage >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
[[ -f $root/fuzz/${target}_fuzz.cpp ]] || { echo "no harness fuzz/${target}_fuzz.cpp" >&2; exit 2; }
out=$root/build-fuzz
mkdir -p "$out"

# The code page 932 copy of the tracked sources; only changed files are rewritten.
if [[ ! -x $out/cp932_source || $root/fuzz/cp932_source.cpp -nt $out/cp932_source ]]; then
  clang++ -std=c++20 -O1 "$root/fuzz/cp932_source.cpp" -o "$out/cp932_source"
fi
# The desktop front end is written in UTF-8 for Qt and is not part of the harnesses.
mapfile -t files < <(cd "$root" && git ls-files -co --exclude-standard |
  grep -v '^build' | grep -v 'desktop' | while read -r f; do [[ -f $f ]] && echo "$f"; done | sort)
"$out/cp932_source" "$root" "$out/source" "${files[@]}"
# Files no longer in the tree leave the copy too.
if [[ -d $out/source ]]; then
  (cd "$out/source" && find . -type f | sed 's#^\./##' | sort) |
    comm -23 - <(printf '%s\n' "${files[@]}") |
    while read -r stale; do rm -f "$out/source/$stale"; done
fi

# Configured every time, so that a build folder made before an option was added follows.
cmake -S "$out/source" -B "$out/obj" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DQL_FUZZ=ON -DQL_CP932_SOURCE=ON -DQL_TESTS=OFF -DQL_DESKTOP=OFF >/dev/null
cmake --build "$out/obj" --target "fuzz_$target" -j"$(nproc)" >/dev/null

corpus=$out/corpus/$target
findings=$out/findings/$target
mkdir -p "$corpus" "$findings"
# Harnesses write their files below TMPDIR; memory is faster than a disk.
if [[ -d /dev/shm && -w /dev/shm ]]; then export TMPDIR=/dev/shm; fi
echo "fuzz_$target: ${seconds}s"
"$out/obj/bin/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$findings/" "$@" "$corpus" "$root/fuzz/corpus/$target"
