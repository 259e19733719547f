#!/usr/bin/env bash
# Escape-to-exit of Quorvane's window while a query waits for a server that never
# answers: for each executable given, in the same run, alternating, on one private
# Xvfb against one silent server on 127.0.0.1. The time runs from just before
# `xdotool key Escape` starts until the process has ended (so it includes starting
# xdotool, a few milliseconds). Prints each executable's mean, median, min and max.
#
# Usage: bench/bench-cancel.sh PATH_TO_quorvane [PATH_TO_ANOTHER_quorvane ...]
#   e.g. bench/bench-cancel.sh /tmp/old-build/src/quorvane build/release/src/quorvane
# Environment: RUNS (default 10 per executable).
set -euo pipefail
[[ $# -ge 1 ]] || { echo "usage: $0 PATH_TO_quorvane [PATH_TO_ANOTHER_quorvane ...]" >&2; exit 2; }
programs=()
for program in "$@"; do
  programs+=("$(realpath -- "$program")")
  [[ -x ${programs[-1]} ]] || { echo "$0: not an executable: $program" >&2; exit 2; }
done
runs=${RUNS:-10}
repo=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd)

work=$(mktemp -d)
server_pid=
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp -noreset 2>/dev/null)
xvfb_pid=$!
cleanup() {
  [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
read -r display <&3
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
export http_proxy= HTTP_PROXY= no_proxy='*'

# The silent server lives while its stdin (a pipe we hold) stays open.
coproc SERVER { exec /usr/bin/python3 "$repo/tests/support/http_server.py" --mode silent --lifetime 3600; }
server_pid=$SERVER_PID
port=
if read -r -t 10 word value <&"${SERVER[0]}" && [[ $word == PORT ]]; then port=$value; fi
[[ -n $port ]] || { echo "$0: the silent server did not report its port" >&2; exit 1; }
url="http://127.0.0.1:$port/never"

# One close: prints the milliseconds from Escape to the end of the process.
measure() {
  local program=$1 home window="" start end pid i
  home=$(mktemp -d -p "$work")
  mkdir -p "$home/config"
  # A private settings and runtime folder: no hand-off to another copy, default settings.
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home" "$program" "$url" >/dev/null 2>>"$work/stderr" &
  pid=$!
  for ((i = 0; i < 200; i++)); do
    window=$(xdotool search --onlyvisible --name '^Quorvane 2\.0$' 2>/dev/null | head -n 1) || true
    [[ -z $window ]] || break
    sleep 0.05
  done
  [[ -n $window ]] || { echo "$0: no window from $program" >&2; kill "$pid"; exit 1; }
  sleep 0.3  # the query now waits for the silent server
  xdotool windowfocus --sync "$window"
  start=$(date +%s%N)
  xdotool key --clearmodifiers Escape
  wait "$pid" || true
  end=$(date +%s%N)
  awk -v t="$((end - start))" 'BEGIN { printf "%.1f\n", t / 1e6 }'
}

for ((p = 0; p < ${#programs[@]}; p++)); do : >"$work/times.$p"; done
for ((i = 0; i < runs; i++)); do
  for ((p = 0; p < ${#programs[@]}; p++)); do measure "${programs[$p]}" >>"$work/times.$p"; done
done

echo "silent server: $url, $runs closes per executable"
for ((p = 0; p < ${#programs[@]}; p++)); do
  sort -n "$work/times.$p" | awk -v name="${programs[$p]}" '
    { t[NR] = $1; s += $1 }
    END {
      median = NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
      printf "%s: mean %.1f ms, median %.1f ms, min %.1f ms, max %.1f ms\n", name, s / NR, median, t[1], t[NR]
    }'
done
