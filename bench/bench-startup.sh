#!/usr/bin/env bash
# Start-up of Quorvane's window against a minimal Qt dialog with the same controls,
# same run, same private X server: time from process start until the window is
# mapped on screen, and peak memory (VmHWM) once it shows. Prints means and ratios.
#
# Usage: bench/bench-startup.sh PATH_TO_quorvane PATH_TO_bench_minimal_dialog
# Environment: RUNS (default 20).
set -euo pipefail
[[ $# -eq 2 ]] || { echo "usage: $0 PATH_TO_quorvane PATH_TO_bench_minimal_dialog" >&2; exit 2; }
quorvane=$(realpath -- "$1")
minimal=$(realpath -- "$2")
runs=${RUNS:-20}

work=$(mktemp -d)
# -displayfd: Xvfb picks a free display and writes its number once it accepts clients.
# -noreset: it must not reset (and refuse connections) each time the last program ends.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp -noreset 2>/dev/null)
xvfb_pid=$!
cleanup() { [[ -s $work/stderr ]] && cat "$work/stderr" >&2; kill "${XEV_PID:-}" "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
read -r display <&3
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$work/run"

# Every top-level window mapped on the X server is reported by xev as a MapNotify
# line; waiting for that line times the start without polling the server.
coproc XEV { exec xev -root -event substructure; }
sleep 0.2  # xev selects its events before the first start

# One start: prints "<microseconds to window> <peak KiB>".
measure() {
  local start end pid hwm line
  while read -r -t 0.05 line <&"${XEV[0]}"; do :; done  # forget the last program's events
  start=$(date +%s%N)
  "$@" >/dev/null 2>>"$work/stderr" &
  pid=$!
  line=
  while read -r -t 10 line <&"${XEV[0]}"; do [[ $line == MapNotify* ]] && break; done
  end=$(date +%s%N)
  [[ $line == MapNotify* ]] || { echo "no window from $1 within 10 s" >&2; exit 1; }
  sleep 0.3  # let start-up finish its allocations before reading the peak
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$(((end - start) / 1000)) $hwm"
}

: >"$work/quorvane" >"$work/minimal"
measure "$quorvane" >/dev/null  # warm the caches once for both
measure "$minimal" >/dev/null
for ((i = 0; i < runs; i++)); do
  measure "$quorvane" >>"$work/quorvane"
  measure "$minimal" >>"$work/minimal"
done

mean() { awk -v c="$2" '{s += $c} END {printf "%.1f", s / NR}' "$1"; }
q_time=$(mean "$work/quorvane" 1) m_time=$(mean "$work/minimal" 1)
q_mem=$(mean "$work/quorvane" 2) m_mem=$(mean "$work/minimal" 2)
echo "runs: $runs each"
echo "time to window: quorvane $(awk -v t="$q_time" 'BEGIN {printf "%.1f", t / 1000}') ms, minimal dialog $(awk -v t="$m_time" 'BEGIN {printf "%.1f", t / 1000}') ms"
echo "peak memory:    quorvane $q_mem KiB, minimal dialog $m_mem KiB"
echo "ratio time: $(awk -v a="$q_time" -v b="$m_time" 'BEGIN {printf "%.2f", a / b}')"
echo "ratio memory: $(awk -v a="$q_mem" -v b="$m_mem" 'BEGIN {printf "%.2f", a / b}')"
