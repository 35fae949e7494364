#!/usr/bin/env bash
# The main job on the bundled sample data: builds the programs, lets ledvia-host start an edition
# program the way the accounting product does, with the sample company data of LEDVIA_USER open,
# and prints one summary line when the run has ended. Usage below (run-sample.sh --help).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() {
  cat <<'USAGE'
usage: scripts/run-sample.sh [moravel|tessaly|brenwick] [ledvia-host options...]
Builds the programs (build/) and starts the edition program (default tessaly) through
ledvia-host with the sample company of LEDVIA_USER (default user1) open.
  --output PATH        where the linkage file goes: a Windows path ('Z:\tmp\x.xml') or an
                       absolute Linux one (/tmp/x.xml); default build/output/EDITION-USER.xml
  --function-id N      and the other ledvia-host options (build/bin/ledvia-host --help)
Input: a person at a terminal answers the dialogs; piped lines answer them as a script
(docs/winport.md); with nothing piped, the run presses Execute (F12) and message boxes get
their cautious answers.
Exit status: the result the program posted (0 file written, 1 stopped, 2 failed), 99 none.
USAGE
}
case ${1:-} in
  -h | --help)
    usage
    exit 0
    ;;
esac
edition=tessaly
if [[ $# -gt 0 && $1 != -* ]]; then
  edition=$1
  shift
fi
case $edition in
  moravel | tessaly | brenwick) ;;
  *)
    usage >&2
    exit 64
    ;;
esac
"$root/scripts/setup.sh"
# The programs only; the tests have their own build (scripts/test.sh).
"$root/scripts/build.sh" build -DQL_TESTS=OFF >/dev/null
bin="$root/build/bin"
user=${LEDVIA_USER:-user1}

# The output path as the program sees it: a Linux path becomes its Windows form.
args=("$@")
output=
for ((i = 0; i < ${#args[@]}; i++)); do
  if [[ ${args[i]} == --output && $((i + 1)) -lt ${#args[@]} ]]; then
    if [[ ${args[i + 1]} == /* ]]; then
      args[i + 1]=$("$bin/winport-path" windows "${args[i + 1]}") || exit 64
    fi
    output=${args[i + 1]}
  fi
done
if [[ -z $output ]]; then
  mkdir -p "$root/build/output"
  output=$("$bin/winport-path" windows "$root/build/output/$edition-$user.xml")
  args=(--output "$output" "${args[@]}")
fi
linux_output=$("$bin/winport-path" linux "$output" 2>/dev/null) || linux_output=

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Piped lines answer as a script on the program's standard input; with none, Execute.
own_script=
if [[ -z ${WINPORT_UI:-} && ! -t 0 ]]; then
  cat >"$work/input.txt"
  if ! grep -q '[^[:space:]]' "$work/input.txt"; then
    printf 'key F12\n' >"$work/input.txt"
    own_script=1
  fi
  exec <"$work/input.txt"
fi

touch "$work/started"
set +e
if [[ -n $own_script ]]; then
  # A message box before the dialog meets the F12 meant for the dialog: say so in the words
  # of this run, not as a line of a script the person never wrote.
  exec 3>&1
  "$bin/ledvia-host" "${args[@]}" -- "$bin/$edition" 2>&1 1>&3 3>&- | sed -u \
    's/^standard input:1: a message box waits .*/run-sample.sh: no dialog script: the box gets its cautious answer/' >&2
  result=${PIPESTATUS[0]}
  exec 3>&-
else
  "$bin/ledvia-host" "${args[@]}" -- "$bin/$edition"
  result=$?
fi
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
  file="output $output is on no drive, not checked"
else
  file="no file written"
fi
echo "summary: $file; result $result: $meaning"
exit "$result"
