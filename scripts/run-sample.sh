#!/usr/bin/env bash
# The main job on the bundled sample data: builds the programs, lets ledvia-host start an edition
# program (default tessaly) the way the accounting product does, with the sample company data of
# LEDVIA_USER (default user1) open, and prints one summary line when the run has ended.
#   scripts/run-sample.sh [moravel|tessaly|brenwick] [ledvia-host options...]
# On a terminal the dialogs are shown there (as desktop windows when a display is set). Otherwise, unless WINPORT_UI names a script, the
# run presses Execute (F12) and accepts what the dialog proposes; message boxes get their
# cautious answers. The file goes to build/output/<edition>-<user>.xml unless --output names
# another (a Windows path; Z: is the Linux root).
# Exit status: the result the program posted (0 file written, 1 stopped, 2 failed), 99 none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
edition=tessaly
if [[ $# -gt 0 && $1 != -* ]]; then
  edition=$1
  shift
fi
case $edition in
  moravel | tessaly | brenwick) ;;
  *)
    echo "usage: $0 [moravel|tessaly|brenwick] [ledvia-host options...]" >&2
    exit 64
    ;;
esac
"$root/scripts/setup.sh"
# The programs only; the tests have their own build (scripts/test.sh).
"$root/scripts/build.sh" build -DQL_TESTS=OFF >/dev/null
bin="$root/build/bin"
user=${LEDVIA_USER:-user1}

# The Windows form of a Linux path and back, through the default drive Z: (the Linux root).
to_windows() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
to_linux() {
  local p=$1
  [[ ${p:0:3} == [Zz]:\\ ]] || return 1
  p=${p:2}
  printf '%s' "${p//\\//}"
}

args=("$@")
output=
for ((i = 0; i < ${#args[@]}; i++)); do
  [[ ${args[i]} == --output ]] && output=${args[i + 1]:-}
done
if [[ -z $output ]]; then
  mkdir -p "$root/build/output"
  output=$(to_windows "$root/build/output/$edition-$user.xml")
  args=(--output "$output" "${args[@]}")
fi
linux_output=$(to_linux "$output") || linux_output=

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program makes its own folder the current directory, so a script must be named in full.
if [[ ${WINPORT_UI:-} == script:* && ${WINPORT_UI#script:} != - && ${WINPORT_UI#script:} != /* ]]; then
  export WINPORT_UI="script:$PWD/${WINPORT_UI#script:}"
fi
if [[ -z ${WINPORT_UI:-} && ! -t 0 ]]; then
  printf 'key F12\n' >"$work/execute.txt"
  export WINPORT_UI="script:$work/execute.txt"
fi

touch "$work/started"
set +e
"$bin/ledvia-host" "${args[@]}" -- "$bin/$edition"
result=$?
set -e

case $result in
  0) meaning="file written" ;;
  1) meaning="stopped by the user or by a refusal to resolve in the accounting product" ;;
  2) meaning="failed" ;;
  99) meaning="the program ended without posting a result" ;;
  *) meaning="ledvia-host could not run the program" ;;
esac
# Only a file changed by this run counts; an older file of the same name is not this run's.
if [[ -n $linux_output && -f $linux_output && -n $(find "$linux_output" -newer "$work/started") ]]; then
  size=$(stat -c %s "$linux_output")
  if [[ $result == 0 ]]; then
    file="wrote $linux_output ($size bytes)"
  else
    file="left an incomplete file $linux_output ($size bytes)"
  fi
elif [[ -z $linux_output ]]; then
  file="output $output is outside Z:, not checked"
else
  file="no file written"
fi
echo "summary: $file; result $result: $meaning"
exit "$result"
