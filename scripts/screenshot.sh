#!/usr/bin/env bash
# Makes docs/window.png, the README's picture of the window: the release build on a
# private Xvfb, in English, showing the size of a 5 GB file served on 127.0.0.1.
#   bash scripts/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target quorvane >/dev/null

source scripts/private-xvfb.sh  # Xvfb, private settings and runtime folders, $work; the cleanup
# The test server ends when its standard input closes: it is kept open here.
exec 4< <(exec sleep 600)
exec 5< <(exec python3 tests/support/http_server.py <&4)
BENCH_PIDS=$!
read -r _ port <&5

export no_proxy='*'
build/release/src/quorvane "http://127.0.0.1:$port/file/5000000000" >/dev/null 2>&1 &
BENCH_PIDS="$! $BENCH_PIDS"  # the window goes before its server and its X server
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvane 2')
sleep 1  # the answer from loopback, and the paint after it
import -window "$window" -strip "$work/window.png"
convert "$work/window.png" -strip -colors 64 PNG8:docs/window.png
echo "docs/window.png: $(stat -c %s docs/window.png) bytes"
