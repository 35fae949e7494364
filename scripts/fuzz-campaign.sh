#!/usr/bin/env bash
# fuzz-campaign.sh [--to N] TARGET... [-- libFuzzer options...]: runs each TARGET in turn
# (scripts/fuzz.sh, niced) until the executions recorded for it reach N (default ten million),
# and records every run in fuzz/executions.tsv (target, executions, result, end in UTC), a file
# kept in the repository, so that a campaign spread over several sessions and checkouts adds up
# when its rows are committed, instead of being summed by hand.
# A run that finds something stops its target there; the input is in build-fuzz/findings/.
# Start one per core; stopping a run with Ctrl-C still records what it executed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
to=10000000
targets=()
options=()
while (($#)); do
  case $1 in
    -h | --help)
      sed -n '2,/^set /p' "$0" | sed '$d; s/^# \{0,1\}//'
      exit 0
      ;;
    --to)
      to=${2:?--to needs a number}
      shift 2
      ;;
    --)
      shift
      options=("$@")
      break
      ;;
    *)
      targets+=("$1")
      shift
      ;;
  esac
done
((${#targets[@]})) || { echo "usage: $0 [--to N] TARGET... [-- libFuzzer options...]" >&2; exit 2; }
[[ $to =~ ^[0-9]+$ ]] || { echo "--to needs a number, not '$to'" >&2; exit 2; }

# Ctrl-C reaches the fuzzer, which prints what it executed and ends; this script stays to
# record it (a trap, unlike an ignored signal, is not passed on to the fuzzer).
trap ':' INT
record=$root/fuzz/executions.tsv
executed() {
  [[ -f $record ]] || { echo 0; return; }
  awk -F'\t' -v t="$1" '$1 == t { sum += $2 } END { print sum + 0 }' "$record"
}

for target in "${targets[@]}"; do
  left=$((to - $(executed "$target")))
  if ((left <= 0)); then
    echo "$target: $(executed "$target") executions recorded, nothing left to run"
    continue
  fi
  log=$(mktemp)
  echo "$target: $left executions to run; log $log"
  status=0
  # A day at most per run; -runs ends it sooner.
  nice -n 19 "$root/scripts/fuzz.sh" "$target" 86400 -runs="$left" "${options[@]}" >"$log" 2>&1 ||
    status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  case $status in
    0) result=ok ;;
    72) result=stopped ;; # libFuzzer's exit after Ctrl-C
    *) result="exit $status" ;;
  esac
  printf '%s\t%s\t%s\t%s\n' "$target" "${runs:-0}" "$result" "$(date -u +%FT%T)" >>"$record"
  echo "$target: ${runs:-0} executions ($result), $(executed "$target") recorded in all"
  case $status in
    0) ;;
    72) exit 0 ;;
    *) exit "$status" ;;
  esac
done
