#!/usr/bin/env bash
# Installs what is missing, builds Quorvane and opens its window on ADDRESS (optional).
#   bash scripts/run.sh [ADDRESS]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_TESTS=OFF >/dev/null
cmake --build build/release --target quorvane quorvane-size >/dev/null
exec build/release/src/quorvane "$@"
