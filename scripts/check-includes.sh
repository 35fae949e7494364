#!/usr/bin/env bash
# check-includes.sh: every project include points down the layers. Each folder may include
# only the folders its line below names (itself always); a folder's tests/ may also include
# the stand-in of the accounting product and the shared test support. Prints each include
# that breaks the rule and exits 1; exits 0 when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# folder: the folders it may include
declare -A allowed=(
  [winport]=""
  [accounting]="winport"
  [ledvia]="accounting winport"
  [resources]="winport"
  [aggregate]="accounting winport"
  [report]="aggregate accounting winport"
  [ui]="aggregate accounting resources winport"
  [app]="ui report aggregate accounting resources winport"
  [editions]="app winport"
  [bench]="app ui report aggregate ledvia accounting resources winport tests"
  [tools]="app ui report aggregate ledvia accounting resources winport"
  [fuzz]="tools app ui report aggregate ledvia accounting resources winport tests"
  [tests]="app ui report aggregate ledvia accounting resources winport"
)

case "${1:-}" in
  -h | --help)
    sed -n '2,5p' "$0" | sed 's/^# //'
    exit 0
    ;;
esac

broken=0
while IFS= read -r line; do
  file=${line%%:*}
  rest=${line#*:}
  rest=${rest#*:}
  target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$rest")
  [[ $target == */* ]] || continue # a file of the same folder, by its bare name
  to=${target%%/*}
  [[ -d $to ]] || continue # not a project folder (a system or generated header)
  from=${file%%/*}
  [[ $from == "$to" ]] && continue
  rule=${allowed[$from]-}
  # A folder's tests stand above it: they may also use the test support and, above the
  # accounting product's declarations, its stand-in.
  if [[ $file == */tests/* && $from != tests ]]; then
    rule="$rule tests"
    [[ " $rule " == *" accounting "* ]] && rule="$rule ledvia"
  fi
  if [[ " $rule " != *" $to "* ]]; then
    echo "$file: includes $target ($from may include: ${rule:-nothing outside it})"
    broken=1
  fi
done < <(git ls-files '*.h' '*.cpp' '*.cc' | xargs grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' || true)
exit $broken
