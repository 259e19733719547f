#!/usr/bin/env bash
# Installs what is missing, builds Quorvane and runs the whole test suite:
# a plain build, then AddressSanitizer+UBSan, ThreadSanitizer, and a short fuzz run.
#   bash scripts/test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

fuzz_seconds=${QUORVANE_FUZZ_SECONDS:-10}
jobs=$(nproc)

configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

run_suite() {
  local dir=$1
  shift
  echo "== tests: $dir"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@"
}

configure_and_build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_suite build/release
bash scripts/check-package.sh build/release

configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_ASAN_UBSAN=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build/asan

configure_and_build build/tsan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_TSAN=ON
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp" run_suite build/tsan

echo "== fuzzing, ${fuzz_seconds}s per parser"
CC=clang CXX=clang++ configure_and_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_FUZZ=ON
for target in fuzz_language_file fuzz_address fuzz_ftp_list_line fuzz_settings_file; do
  corpus=$(mktemp -d)
  log=$(mktemp)
  cp tests/fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
  status=0
  build/fuzz/tests/fuzz/"$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" \
    >"$log" 2>&1 || status=$?
  grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/$target /" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "fuzzer $target failed" >&2
    exit 1
  fi
  rm -rf "$corpus" "$log"
done
echo "== all suites passed"
