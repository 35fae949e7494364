#!/usr/bin/env bash
# The main job on the bundled sample data: builds the programs, then lets ledvia-host start
# an edition program (default tessaly) the way the accounting product does, with the sample
# company database open. Answers for message boxes can be piped in (y / n / o per line).
#   scripts/run-sample.sh [moravel|tessaly|brenwick] [ledvia-host options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
edition=${1:-tessaly}
shift || true
"$root/scripts/setup.sh"
"$root/scripts/build.sh" build >/dev/null
bin="$root/build/bin"
exec "$bin/ledvia-host" "$@" -- "$bin/$edition"
