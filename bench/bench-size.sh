#!/usr/bin/env bash
# Whole-process time of `quorvane-size URL` against `curl -sI URL`, same run,
# same local server, same file. Prints both means and, last, "ratio: X.XX"
# (quorvane-size / curl).
#
# Usage: bench/bench-size.sh PATH_TO_quorvane-size
# Environment: RUNS (default 30, at least 30), WARMUP (default 3), SIZE (default 1048576).
set -euo pipefail

if [[ $# -ne 1 ]]; then
  echo "usage: $0 PATH_TO_quorvane-size" >&2
  exit 2
fi
tool=$(realpath -- "$1")
if [[ ! -x $tool ]]; then
  echo "$0: not an executable: $1" >&2
  exit 2
fi
command -v curl >/dev/null || { echo "$0: curl is needed as the baseline" >&2; exit 2; }

repo=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd)
runs=${RUNS:-30}
(( runs >= 30 )) || runs=30
warmup=${WARMUP:-3}
size=${SIZE:-1048576}

workdir=$(mktemp -d)
server_pid=
cleanup() {
  # Closing the server's stdin is enough to end it; the kill covers a server
  # that is stuck before it watches stdin.
  if [[ -n $server_pid ]]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf -- "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The server lives while its stdin stays open, so it gets a pipe we hold.
coproc SERVER { exec /usr/bin/python3 "$repo/tests/support/http_server.py" --lifetime 3600; }
server_pid=$SERVER_PID
port=
if read -r -t 10 word value <&"${SERVER[0]}" && [[ $word == PORT ]]; then
  port=$value
fi
if [[ -z $port ]]; then
  echo "$0: the test server did not report its port" >&2
  exit 1
fi
url="http://127.0.0.1:$port/file/$size"

# A benchmark of a failing command measures nothing: check both once first.
if ! answer=$("$tool" --no-group "$url" 2>/dev/null) || [[ $answer != *"$size"* ]]; then
  echo "$0: $tool did not report $size bytes for $url (got: ${answer:-nothing})" >&2
  exit 1
fi
curl -sI --fail "$url" >/dev/null || { echo "$0: curl -sI failed on $url" >&2; exit 1; }

echo "URL: $url, $warmup warm-up runs, $runs runs each"

if command -v hyperfine >/dev/null; then
  json=$workdir/hyperfine.json
  # No shell in between: a shell's start-up would dwarf a few milliseconds of work.
  hyperfine --shell=none --warmup "$warmup" --runs "$runs" --export-json "$json" \
    --command-name quorvane-size "$tool $url" \
    --command-name curl "curl -sI $url" >&2
  mapfile -t means < <(python3 - "$json" <<'PY'
import json, sys
results = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
print(results["quorvane-size"])
print(results["curl"])
PY
)
  tool_mean=${means[0]}
  curl_mean=${means[1]}
else
  echo "hyperfine not found: timing with a plain loop" >&2
  # Mean wall time in seconds of `runs` runs after `warmup` unmeasured ones.
  mean_time() {
    local i start end total=0
    for ((i = 0; i < warmup; i++)); do "$@" >/dev/null 2>&1 || true; done
    for ((i = 0; i < runs; i++)); do
      start=$(date +%s%N)
      "$@" >/dev/null 2>&1 || true
      end=$(date +%s%N)
      total=$((total + end - start))
    done
    awk -v t="$total" -v n="$runs" 'BEGIN { printf "%.9f\n", t / n / 1e9 }'
  }
  tool_mean=$(mean_time "$tool" "$url")
  curl_mean=$(mean_time curl -sI "$url")
fi

awk -v q="$tool_mean" -v c="$curl_mean" 'BEGIN {
  printf "quorvane-size mean: %.2f ms\n", q * 1000
  printf "curl -sI mean:      %.2f ms\n", c * 1000
  printf "ratio: %.2f\n", q / c
}'
