# Sourced by the start-up benchmarks and the screenshot script: a private Xvfb and private settings, runtime and
# config folders in $work, all gone when the script ends. Sets DISPLAY.
# The runtime folder is in memory (tmpfs), as a session's XDG_RUNTIME_DIR is: the channel's
# lock file is written with fdatasync, which costs milliseconds on a disk.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
# -displayfd: Xvfb picks a free display and writes its number once it accepts clients.
# -noreset: it must not reset (and refuse connections) each time the last program ends.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp -noreset 2>/dev/null)
xvfb_pid=$!
cleanup() {
  local pid
  for pid in ${BENCH_PIDS:-} "$xvfb_pid"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
read -r display <&3
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$work/run"  # the runs are ended with SIGTERM, so each start takes over a stale lock
mkdir -p "$work/config/Marrowby"
