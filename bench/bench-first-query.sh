#!/usr/bin/env bash
# The first query of a window started with an address: time from the spawn until its
# request reaches a listener on 127.0.0.1, on a private X server, for each quorvane given
# (for example an older build first, then the current one), alternating in the same run.
#
# Usage: bench/bench-first-query.sh QUORVANE [QUORVANE ...]
# Environment: RUNS (default 20).
set -euo pipefail
[[ $# -ge 1 ]] || { echo "usage: $0 QUORVANE [QUORVANE ...]" >&2; exit 2; }
here=$(dirname "$(realpath -- "$0")")
source "$here/../scripts/private-xvfb.sh"
printf '[Settings]\nSingleInstance=0\nLanguageFile=<main>\n' >"$XDG_CONFIG_HOME/Marrowby/Quorvane.conf"
programs=()
for program in "$@"; do programs+=("$program=$(realpath -- "$program")"); done
export http_proxy= HTTP_PROXY= all_proxy= ALL_PROXY= no_proxy='*'
/usr/bin/python3 "$here/first_query.py" "${RUNS:-20}" "${programs[@]}"
