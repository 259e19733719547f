#!/usr/bin/env bash
# Start-up of Quorvane's window against a minimal Qt dialog with the same controls, on a
# private X server: time from the spawn until the first window has been painted (each
# program writes a byte to the descriptor in QUORVANE_FIRST_PAINT_FD at its first paint),
# and peak memory (VmHWM) 0.3 s later. The programs alternate run after run; medians,
# min–max and the ratios of the medians to the minimal dialog are printed.
#
# Usage: bench/bench-startup.sh PATH_TO_quorvane PATH_TO_bench_minimal_dialog [OTHER_quorvane ...]
#   (another quorvane, for example an older build, is timed in the same run)
# Environment: RUNS (default 20).
set -euo pipefail
[[ $# -ge 2 ]] || { echo "usage: $0 PATH_TO_quorvane PATH_TO_bench_minimal_dialog [OTHER_quorvane ...]" >&2; exit 2; }
here=$(dirname "$(realpath -- "$0")")
quorvane=$(realpath -- "$1")
minimal=$(realpath -- "$2")
shift 2
source "$here/../scripts/private-xvfb.sh"
# No settings file: the defaults, as on a first start. Each run is ended before the next
# begins, so every start looks for a running copy, finds none and runs its own window.

programs=("minimal dialog=$minimal" "quorvane=$quorvane")
for other in "$@"; do programs+=("$other=$(realpath -- "$other")"); done
/usr/bin/python3 "$here/launch_timer.py" paint "${RUNS:-20}" "${programs[@]}"
