#!/usr/bin/env bash
# The UI thread's stall at the first clipboard copy of a window against later copies, on a
# private X server, while another program's window has the focus (see clipboard_stall.py).
#
# Usage: bench/bench-clipboard-stall.sh PATH_TO_quorvane
#   (a build that carries the clipboard stall probe, src/app/ClipboardStallProbe.cpp)
# Environment: WINDOWS (default 10), COPIES per window (default 5). Needs xclip, xdotool, xev.
set -euo pipefail
[[ $# -eq 1 ]] || { echo "usage: $0 PATH_TO_quorvane" >&2; exit 2; }
here=$(dirname "$(realpath -- "$0")")
quorvane=$(realpath -- "$1")
source "$here/../scripts/private-xvfb.sh"
# No settings file: the defaults, the clipboard watched. Each window is ended before the
# next starts. No exec: the trap that ends the X server must run.
/usr/bin/python3 "$here/clipboard_stall.py" "$quorvane" "${WINDOWS:-10}" "${COPIES:-5}"
