#!/usr/bin/env bash
# Payload bytes from server to client per size query (tcpdump on the loopback interface)
# and the query time, for curl -sI and each quorvane-size given, in the same run.
#
# Usage: bench/bench-bytes.sh QUORVANE_SIZE [QUORVANE_SIZE ...]
#   for example an old build first, then the current one.
# Environment: RUNS (default 15), SIZES (default "1048576 5000000000"), SERVER (test, the
# default, or nginx: bench-floor.sh installs it). Needs tcpdump
# and the right to capture on lo (root, or CAP_NET_RAW).
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/bytes_bench.py" "$@"
