#!/usr/bin/env bash
# One FTP size query: quorvane-size against curl -sI on the same address, served by vsftpd
# on 127.0.0.1 (a 1 MiB and a 5 GB sparse file), timed from spawn to exit, alternating run
# after run; medians, min–max and the ratios of the medians to curl -sI.
#
# Usage: bench/bench-ftp.sh QUORVANE_SIZE [QUORVANE_SIZE ...]   (e.g. the new build, then an old one)
# Environment: RUNS (default 20), SIZES (default "1048576 5000000000"). Needs vsftpd
# (bench-floor.sh installs it).
set -euo pipefail
[[ $# -ge 1 ]] || { echo "usage: $0 QUORVANE_SIZE [QUORVANE_SIZE ...]" >&2; exit 2; }
here=$(dirname "$(realpath -- "$0")")
vsftpd=$(command -v vsftpd || echo /usr/sbin/vsftpd)
work=$(mktemp -d)
vsftpd_pid=
cleanup() {
  [[ -z $vsftpd_pid ]] || kill "$vsftpd_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config"  # quorvane-size reads no settings of the user's
mkdir -p "$work/files" "$XDG_CONFIG_HOME"
sizes=(${SIZES:-1048576 5000000000})
for size in "${sizes[@]}"; do truncate -s "$size" "$work/files/$size"; done

port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
# Run as the launching user, vsftpd cannot chroot (that needs root): its "/" is the
# machine's, and the addresses name the files by their absolute paths. anon_root=/ makes
# curl's CWDs from the login folder reach the same files. Read-only, loopback only.
cat >"$work/vsftpd.conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=127.0.0.1
listen_port=$port
background=NO
run_as_launching_user=YES
seccomp_sandbox=NO
anonymous_enable=YES
no_anon_password=YES
anon_root=/
anon_world_readable_only=NO
local_enable=NO
write_enable=NO
xferlog_enable=NO
vsftpd_log_file=$work/vsftpd.log
CONF
"$vsftpd" "$work/vsftpd.conf" </dev/null >"$work/vsftpd.out" 2>&1 &
vsftpd_pid=$!
# vsftpd tells no one when it listens: a bounded wait for its port to accept.
timeout 10 bash -c "until exec 3<>/dev/tcp/127.0.0.1/$port; do sleep 0.05; done" 2>/dev/null ||
  { echo "vsftpd did not start: $(cat "$work/vsftpd.out")" >&2; exit 1; }

for size in "${sizes[@]}"; do
  address=ftp://127.0.0.1:$port$work/files/$size
  programs=("curl -sI=$(command -v curl) -sI $address")
  for tool in "$@"; do programs+=("$tool=$(realpath -- "$tool") $address"); done
  echo "== FTP, file of $size bytes (vsftpd)"
  /usr/bin/python3 "$here/launch_timer.py" exit "${RUNS:-20}" "${programs[@]}"
done
