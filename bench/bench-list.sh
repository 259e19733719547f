#!/usr/bin/env bash
# A list of addresses: quorvane-size --input against curl --parallel (and a shell loop of
# single queries), on a slow test server and on nginx, in the same run.
#
# Usage: bench/bench-list.sh QUORVANE_SIZE
# Environment: RUNS (default 5), COUNT (100), DELAY (0.2 s), PARALLEL (16).
set -euo pipefail
missing=()
command -v curl >/dev/null || missing+=(curl)
command -v nginx >/dev/null || [ -x /usr/sbin/nginx ] || missing+=(nginx)
if [ ${#missing[@]} -gt 0 ]; then
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi
exec /usr/bin/python3 "$(dirname "$0")/list_bench.py" "$@"
