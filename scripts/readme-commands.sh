#!/usr/bin/env bash
# Runs the commands README.md and docs/ show that need no person, as a newcomer would type them
# from the repository root, and checks that each does what the text says. It uses the build
# run-sample.sh makes (build/, programs only). The sample's remembered settings are kept apart
# (LEDVIA_HOME in a temporary folder), so the byte counts are those of a fresh start.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LEDVIA_HOME=$work/home
unset WINPORT_UI WINPORT_UI_RECORD LEDVIA_USER LEDVIA_DATA DISPLAY WAYLAND_DISPLAY
failures=0

# check NAME STATUS PATTERN COMMAND [UNWANTED]: runs COMMAND (bash, standard input empty unless
# it pipes) and wants its exit status, a line of its output and errors matching PATTERN and
# none matching UNWANTED (grep -E).
check() {
  local name=$1 status=$2 pattern=$3 command=$4 unwanted=${5:-} got
  bash -c "$command" </dev/null >"$work/out" 2>&1
  got=$?
  if [[ $got != "$status" ]] || ! grep -Eq -- "$pattern" "$work/out" ||
    { [[ -n $unwanted ]] && grep -Eq -- "$unwanted" "$work/out"; }; then
    echo "FAILED: $name: status $got (wanted $status), wanted a line matching $pattern${unwanted:+ and none matching $unwanted}"
    sed 's/^/    /' "$work/out" | tail -20
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
}

# The size README.md gives for the sample's file.
bytes=$(sed -n 's/.*tessaly-user1\.xml (\([0-9]*\) bytes).*/\1/p' README.md | head -1)

check "build.sh --help" 0 '^usage: scripts/build.sh DIR' './scripts/build.sh --help && test ! -e ./--help'
check "build.sh without a folder" 2 '^usage:' './scripts/build.sh'
check "run-sample.sh --help" 0 '^usage: scripts/run-sample.sh' './scripts/run-sample.sh --help'
check "fuzz-campaign.sh --help" 0 '^fuzz-campaign.sh \[--to N\] TARGET' './scripts/fuzz-campaign.sh --help'
check "run-sample.sh with nothing piped" 0 \
  "^summary: wrote .*/build/output/tessaly-user1.xml \($bytes bytes\); result 0: file written$" \
  './scripts/run-sample.sh'
check "the file read as text" 0 '^<\?xml .*encoding' 'iconv -f CP932 -t UTF-8 build/output/tessaly-user1.xml'
check "a piped Esc cancels" 1 '^summary: no file written; result 1: stopped by the user' \
  "echo 'key Esc' | ./scripts/run-sample.sh"
check "an absolute Linux output path" 0 "^summary: wrote $work/out.xml \(" \
  "./scripts/run-sample.sh --output $work/out.xml"
check "a message box before the dialog" 1 \
  '^run-sample.sh: no dialog script: the box gets its cautious answer$' \
  'LEDVIA_USER=user4 ./scripts/run-sample.sh' 'execute.txt|^standard input:'
check "the scripted example" 0 '^summary: wrote .*tessaly-user2.xml .*result 0' \
  'LEDVIA_USER=user2 WINPORT_UI=script:scripts/examples/april-to-september.txt ./scripts/run-sample.sh'
check "ledvia-host without the script" 0 '^posted message=.* lparam=0$' \
  "echo 'key F12' | LEDVIA_USER=user3 build/bin/ledvia-host --output 'Z:\\tmp\\user3.xml' -- build/bin/moravel"
check "ledvia-db list" 0 $'^1\t.*\tuser1$' 'build/bin/ledvia-db list build/bin/sample/ledvia-sample.db'
check "an edition started by hand" 0 'through ledvia-host' 'build/bin/tessaly'
check "dialog_demo --help" 0 '^usage: dialog_demo' 'build/bin/dialog_demo --help'
check "ledvia-host --help" 0 '^usage: ledvia-host' 'build/bin/ledvia-host --help'
check "ledvia-db --help" 0 '^usage: ledvia-db' 'build/bin/ledvia-db --help'
check "ledvia-db import of the examples" 0 '^imported 1 company data and 7 journal entries into' \
  "build/bin/ledvia-db import ledvia/examples $work/example.db"

# The Install section: the package is built as README says, then unpacked into a folder of
# this run instead of installed (no sudo), and the commands run with its programs on the PATH.
deb=$(sed -n 's#^ *sudo apt install \./\(.*\.deb\)$#\1#p' README.md)
check "package.sh" 0 "/$deb\$" './scripts/package.sh'
check "the package's dependencies" 0 'libsqlite3' "dpkg-deb -f $deb Depends"
if dpkg-deb -x "$deb" "$work/root" 2>"$work/out"; then
  installed="PATH=$work/root/usr/bin:\$PATH"
  check "the installed export" 0 '^posted message=.* lparam=0$' \
    "cd / && echo 'key F12' | $installed ledvia-host --output 'Z:\\tmp\\user1.xml' -- moravel"
  check "the installed viewer" 0 '^/tmp/user1.xml（確認済み' "$installed linkage-viewer /tmp/user1.xml"
  check "the installed manual page" 0 '^MORAVEL\(1\)' \
    "MANPAGER=cat man -l $work/root/usr/share/man/man1/moravel.1.gz"
else
  echo "FAILED: $deb could not be unpacked: $(cat "$work/out")"
  failures=$((failures + 1))
fi

echo "readme commands: $failures failed"
((failures == 0))
