#!/usr/bin/env bash
# kill_at_any_moment.sh BIN_DIR [SEED] [RUNS]: an export of a large generated company, and
# ledvia-db writing one, are killed (SIGKILL) at random moments drawn from SEED; after each
# kill the remembered settings are whole, and the next export works and writes the same file
# as an export nobody disturbed; ledvia-db's target (generated or imported) is either what it
# was or a whole company database. Exits 1 at the first breach, saying which run and when the
# kill came.
set -euo pipefail
bin=${1:?usage: kill_at_any_moment.sh BIN_DIR [SEED] [RUNS]}
RANDOM=${2:-2026}
runs=${3:-24}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export LEDVIA_HOME=$work/home LEDVIA_DATA=$work/company.db LEDVIA_USER=user1
"$bin/ledvia-db" generate --entries 60000 "$LEDVIA_DATA" >/dev/null
settings=$LEDVIA_HOME/Settings/Tessaly.env
output=$work/out.xml
windows_output="Z:${output//\//\\}"

export_once() { # prints the host's exit status; the program's input presses Execute
  local status=0
  echo 'key F12' | WINPORT_UI=script:- timeout 300 "$bin/ledvia-host" --output "$windows_output" \
    -- "$bin/tessaly" >"$work/host.log" 2>&1 || status=$?
  echo "$status"
}
now_ms() { date +%s%3N; }
fail() {
  echo "kill_at_any_moment: $*" >&2
  exit 1
}

start=$(now_ms)
[[ $(export_once) == 0 ]] || fail "the undisturbed export failed: $(cat "$work/host.log")"
span=$(($(now_ms) - start + 1))
cp "$output" "$work/reference.xml"

# A record is "user/first/second:method/start/end/path"; a half-written file would break one.
settings_whole() {
  [[ ! -e $settings ]] || ! grep -qvE '^[^/]+/-?[0-9]+/-?[0-9]+:[0-9]+/[0-9]+/[0-9]+/' "$settings"
}

for ((run = 1; run <= runs; ++run)); do
  delay=$((RANDOM % span))
  echo 'key F12' | WINPORT_UI=script:- "$bin/ledvia-host" --output "$windows_output" \
    -- "$bin/tessaly" >/dev/null 2>&1 &
  host=$!
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  # By name: a sanitizer's leak check clones a helper of the host as it exits, and killing
  # that helper instead of the program would leave the host waiting for it forever.
  program=$(pgrep -x -P "$host" tessaly || true)
  [[ -n $program ]] && kill -KILL "$program" 2>/dev/null || true
  wait "$host" || true
  settings_whole || fail "run $run (kill after ${delay} ms): settings damaged: $(cat "$settings")"
  [[ $(export_once) == 0 ]] || fail "run $run (kill after ${delay} ms): next export: $(cat "$work/host.log")"
  cmp -s "$output" "$work/reference.xml" || fail "run $run (kill after ${delay} ms): next file differs"
done

# ledvia-db replacing a company database, by generating one or importing one from CSV files:
# killed at any moment, the target stays whole.
target=$work/target.db
cp "$LEDVIA_DATA" "$target"
"$bin/ledvia-db" export "$LEDVIA_DATA" "$work/csv" >/dev/null
writers=("generate --entries 60000" "import $work/csv")
start=$(now_ms)
"$bin/ledvia-db" generate --entries 60000 "$target" >/dev/null
span=$(($(now_ms) - start + 1))
for ((run = 1; run <= runs / 3; ++run)); do
  delay=$((RANDOM % span))
  # shellcheck disable=SC2086 # the writer's words are its arguments
  "$bin/ledvia-db" ${writers[run % 2]} "$target" >/dev/null 2>&1 &
  tool=$!
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  kill -KILL "$tool" 2>/dev/null || true
  wait "$tool" || true
  "$bin/ledvia-db" list "$target" >/dev/null 2>&1 ||
    fail "ledvia-db run $run (${writers[run % 2]%% *}, kill after ${delay} ms): the target is not a whole company database"
done
echo "kill_at_any_moment: $runs exports and $((runs / 3)) ledvia-db runs killed; all whole"
