#!/usr/bin/env bash
# Starts Velmora, leaves it idle for a few seconds and prints the CPU time
# it used meanwhile.  An idle program sleeps in its message loop: the figure
# should stay near zero.
#
#   bench/idle_cpu.sh [seconds]     (default 5; build first with ./run.sh or ./test.sh)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=${VELMORA_BUILD_DIR:-$here/build}/app/velmora
seconds=${1:-5}
[[ -x "$program" ]] || { echo "idle_cpu: $program is not built" >&2; exit 1; }

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
"$program" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
sleep 1 # let it start and open its window
start=$(ticks)
sleep "$seconds"
end=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((end - start)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "velmora idle for %d s: %.3f s of CPU time (%.2f%%)\n", s, t / hz, 100 * t / hz / s }'
