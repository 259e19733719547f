#!/usr/bin/env bash
# A second start that hands its address to the running copy and exits, against the
# exchange alone (bench_handoff_exchange: connect, the frames, the answer, nothing else),
# on a private X server with one running window. The programs alternate run after run;
# medians, min–max and the ratio of the medians to the exchange alone are printed.
#
# Usage: bench/bench-handoff.sh PATH_TO_quorvane PATH_TO_bench_handoff_exchange [OTHER_quorvane ...]
#   (another quorvane, for example an older build, hands over in the same run)
# Environment: RUNS (default 30).
set -euo pipefail
[[ $# -ge 2 ]] || { echo "usage: $0 PATH_TO_quorvane PATH_TO_bench_handoff_exchange [OTHER_quorvane ...]" >&2; exit 2; }
here=$(dirname "$(realpath -- "$0")")
quorvane=$(realpath -- "$1")
exchange=$(realpath -- "$2")
shift 2
source "$here/../scripts/private-xvfb.sh"
printf '[Settings]\nSingleInstance=1\nLanguageFile=<main>\n' >"$XDG_CONFIG_HOME/Marrowby/Quorvane.conf"

# The running copy; its channel is open before its window first paints.
mkfifo "$work/painted"
QUORVANE_FIRST_PAINT_FD=5 "$quorvane" 5>"$work/painted" >/dev/null 2>&1 &
BENCH_PIDS=$!
read -r -n 1 -t 10 _ <"$work/painted" || { echo "the running copy did not show its window" >&2; exit 1; }

# Every start hands over the same address: after the first, the window only comes forward.
address=http://127.0.0.1:9/handed-over
programs=("exchange alone=$exchange $XDG_RUNTIME_DIR/Quorvane/ExchangeBuffer $address" "quorvane=$quorvane $address")
for other in "$@"; do programs+=("$other=$(realpath -- "$other") $address"); done
/usr/bin/python3 "$here/launch_timer.py" exit "${RUNS:-30}" "${programs[@]}"
