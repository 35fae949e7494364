#!/usr/bin/env bash
# installed_sample.sh BUILD_DIR GOLDEN [CMAKE]: installs the build into a temporary prefix
# and, from a folder outside both, exports the sample company of user1 through the installed
# ledvia-host and moravel found on the PATH, with no LEDVIA_DATA: the file must equal GOLDEN,
# and the installed sample must be the one read (without it the run names it as missing).
# Every installed program must have its manual page, made from its --help. Exits 1 at the
# first fault.
set -euo pipefail
build=${1:?usage: installed_sample.sh BUILD_DIR GOLDEN [CMAKE]}
golden=${2:?usage: installed_sample.sh BUILD_DIR GOLDEN [CMAKE]}
cmake=${3:-cmake}
# Without links in its name: the programs name their files as the system resolves them.
work=$(cd "$(mktemp -d)" && pwd -P)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "installed_sample: $*" >&2
  exit 1
}

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || fail "$(cat "$work/install.log")"
programs=$(cd "$prefix/bin" && ls)
[[ -n $programs ]] || fail "nothing installed in $prefix/bin"
for program in $programs; do
  page=$prefix/share/man/man1/$program.1.gz
  [[ -f $page ]] || fail "$program has no manual page"
  usage=$(PATH=$prefix/bin:$PATH "$program" --help | head -1)
  zcat "$page" | grep -qF -- "${usage//-/\\-}" || fail "the page of $program lacks its usage: $usage"
done

mkdir "$work/elsewhere"
cd "$work/elsewhere"
unset LEDVIA_DATA WINPORT_DRIVES WINPORT_SHARES WINPORT_UI_RECORD LEDVIA_FAIL WINPORT_FAIL
export PATH=$prefix/bin:$PATH LEDVIA_HOME=$work/home LEDVIA_USER=user1 WINPORT_UI=script:-
output=$work/user1.xml
echo 'key F12' | ledvia-host --output "Z:${output//\//\\}" -- moravel >"$work/run.log" 2>&1 ||
  fail "the installed export failed: $(cat "$work/run.log")"
cmp "$output" "$golden" || fail "the installed export differs from $golden"

rm "$prefix/share/quillon-link/sample/ledvia-sample.db"
echo 'key F12' | ledvia-host -- moravel >"$work/missing.log" 2>&1 || true
grep -qF "$prefix/lib/quillon-link/sample/ledvia-sample.db: no such file" "$work/missing.log" ||
  fail "the installed moravel read another sample: $(cat "$work/missing.log")"
echo "installed_sample: ok ($(wc -w <<<"$programs") programs)"
