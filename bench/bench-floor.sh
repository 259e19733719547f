#!/usr/bin/env bash
# Every figure of "how close to the floor" in one run, each against its reference, the
# two alternating run after run (medians, min–max, ratios of the medians):
#   1. quorvane-size, one HTTP query (1 MiB and 5 GB file, nginx)  vs curl -sI
#      with the payload bytes server→client per query (tcpdump on lo)
#   2. the same over FTP (vsftpd)                                  vs curl -sI
#   3. a second start that hands over and exits                    vs the exchange alone
#   4. window start → first paint (and peak memory)                vs bench_minimal_dialog
#   5. the UI thread's stall at a window's first clipboard copy    vs its later copies
# An older build given as well is measured beside the new one in rows 1–4 (row 5 needs the
# clipboard stall probe, so an older build is measured there only when it carries it).
#
# Usage: bench/bench-floor.sh BUILD_DIR [OLD_BUILD_DIR]
#   BUILD_DIR as configured with -DCMAKE_BUILD_TYPE=RelWithDebInfo; its bench/ programs are
#   the references. Environment: RUNS (per-row defaults of the scripts used), WINDOWS and
#   COPIES for row 5. Installs nginx, vsftpd, tcpdump, xclip, xdotool, xev, Xvfb when missing;
#   captures on lo (root or CAP_NET_RAW).
set -euo pipefail
[[ $# -ge 1 && $# -le 2 ]] || { echo "usage: $0 BUILD_DIR [OLD_BUILD_DIR]" >&2; exit 2; }
here=$(dirname "$(realpath -- "$0")")
build=$(realpath -- "$1")
old=${2:+$(realpath -- "$2")}

install_missing() {
  local missing=() tool package
  for tool in curl:curl nginx:nginx vsftpd:vsftpd tcpdump:tcpdump xclip:xclip xdotool:xdotool xev:x11-utils Xvfb:xvfb; do
    package=${tool#*:}
    tool=${tool%%:*}
    command -v "$tool" >/dev/null || [[ -x /usr/sbin/$tool ]] || missing+=("$package")
  done
  [[ ${#missing[@]} -gt 0 ]] || return 0
  local as_root=()
  [[ $(id -u) -eq 0 ]] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# A build's program, and the older build's when it has one.
programs_of() {
  echo "$build/src/$1"
  [[ -z $old ]] || echo "$old/src/$1"
}

row() {
  echo
  echo "######## $1   (load average:$(uptime | sed 's/.*load average://'))"
}

install_missing
export XDG_CONFIG_HOME=$(mktemp -d)  # quorvane-size reads no settings of the user's
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
mapfile -t size_tools < <(programs_of quorvane-size)
mapfile -t windows < <(programs_of quorvane)
floors=("$build/bench/bench_floor_c" "$build/bench/bench_floor_cxx" "$build/bench/bench_floor_cxx_static_runtime")

row "1+5. HTTP query on nginx: time and bytes server->client, against curl -sI"
SERVER=nginx "$here/bench-bytes.sh" "${floors[@]}" "${size_tools[@]}"
row "2. FTP query on vsftpd, against curl -sI"
"$here/bench-ftp.sh" "${floors[@]}" "${size_tools[@]}"
row "3. second start that hands over and exits, against the exchange alone"
"$here/bench-handoff.sh" "${windows[0]}" "$build/bench/bench_handoff_exchange" "${windows[@]:1}"
row "4. window start to first paint, against the minimal dialog"
"$here/bench-startup.sh" "${windows[0]}" "$build/bench/bench_minimal_dialog" "${windows[@]:1}"
row "6. UI thread stall at the first clipboard copy, against later copies"
for window in "${windows[@]}"; do
  # The probe is in the program, or in the window module beside it.
  if grep -qs QUORVANE_CLIPBOARD_STALL_FD "$window" "$(dirname "$window")/libquorvane_window.so"; then
    echo "== $window"
    "$here/bench-clipboard-stall.sh" "$window"
  else
    echo "== $window: carries no clipboard stall probe, not measured"
  fi
done
row "end"
