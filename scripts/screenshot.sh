#!/usr/bin/env bash
# Makes docs/window.png, the README's picture of the window: the release build on a
# private Xvfb, in English, showing the size of a 5 GB file served on 127.0.0.1.
#   bash scripts/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target quorvane >/dev/null

work=$(mktemp -d)
pids=()
# The window goes before its X server, so it never sees the display die.
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null && wait "${pids[i]}" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# -displayfd: Xvfb picks a free display and writes its number once it accepts clients.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp 2>/dev/null)
pids+=($!)
read -r display <&3
# The test server ends when its standard input closes: it is kept open here.
exec 4< <(exec sleep 600)
exec 5< <(exec python3 tests/support/http_server.py <&4)
pids+=($!)
read -r _ port <&5

export DISPLAY=":$display" QT_QPA_PLATFORM=xcb HOME="$work" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work" no_proxy='*'
build/release/src/quorvane "http://127.0.0.1:$port/file/5000000000" &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvane 2')
sleep 1  # the answer from loopback, and the paint after it
import -window "$window" -strip "$work/window.png"
convert "$work/window.png" -strip -colors 64 PNG8:docs/window.png
echo "docs/window.png: $(stat -c %s docs/window.png) bytes"
