#!/usr/bin/python3
"""Times program starts, alternating the programs run after run in the same run.

  launch_timer.py paint|exit RUNS NAME=COMMAND [NAME=COMMAND ...]

The first program is the reference: each other one's median is divided by its median.
COMMAND is split at blanks (no shell). Each run is posix_spawn of the program and a wait,
with the clock read just before the spawn and just after the wait: no fork lies in the
timed path but the program's own exec.

  paint  the time until the program's first paint: a pipe's write end is passed as
         QUORVANE_FIRST_PAINT_FD and the program writes one byte to it once its first
         window is painted (at most 10 s). 0.3 s later its peak memory (VmHWM) is read
         and it is ended with SIGTERM.
  exit   the time until the program has ended; it must end with status 0 (at most 20 s).

One warm-up start of each program comes first and is not counted.
"""

import os
import select
import signal
import statistics
import sys
import time


def spawn(argv, pass_fd=None):
    env = dict(os.environ)
    if pass_fd is not None:
        env["QUORVANE_FIRST_PAINT_FD"] = str(pass_fd)
    devnull = os.open(os.devnull, os.O_RDWR)
    # Standard error too: quorvane-size writes its status lines there.
    actions = [(os.POSIX_SPAWN_DUP2, devnull, fd) for fd in (0, 1, 2)]
    try:
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, env, file_actions=actions)
    finally:
        os.close(devnull)
    return start, pid


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM")


def until_first_paint(argv):
    read_end, write_end = os.pipe()
    os.set_inheritable(write_end, True)
    start, pid = spawn(argv, write_end)
    os.close(write_end)
    try:
        ready, _, _ = select.select([read_end], [], [], 10)
        painted = time.perf_counter()
        if not ready or os.read(read_end, 1) != b"P":
            raise SystemExit(f"no first paint from {argv[0]} within 10 s")
        time.sleep(0.3)  # start-up's allocations settle before the peak is read
        peak = peak_kib(pid)
    finally:
        os.close(read_end)
        os.kill(pid, signal.SIGTERM)
        os.waitpid(pid, 0)
    return painted - start, peak


def until_exit(argv):
    start, pid = spawn(argv)
    # The process's descriptor becomes readable when it ends: a wait with a bound.
    process = os.pidfd_open(pid)
    try:
        ended_in_time = bool(select.select([process], [], [], 20)[0])
        ended = time.perf_counter()
    finally:
        os.close(process)
    if not ended_in_time:
        os.kill(pid, signal.SIGKILL)
    _, status = os.waitpid(pid, 0)
    if not ended_in_time:
        raise SystemExit(f"{argv[0]} did not end within 20 s")
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{argv[0]} ended with status {os.waitstatus_to_exitcode(status)}")
    return ended - start, None


def spread(values, scale, unit):
    values = sorted(v * scale for v in values)
    return f"median {statistics.median(values):.1f} {unit} (min {values[0]:.1f}, max {values[-1]:.1f})"


def main():
    if len(sys.argv) < 4 or sys.argv[1] not in ("paint", "exit"):
        raise SystemExit(__doc__.strip().split("\n\n")[0])
    measure = until_first_paint if sys.argv[1] == "paint" else until_exit
    runs = int(sys.argv[2])
    programs = []
    for spec in sys.argv[3:]:
        name, _, command = spec.partition("=")
        programs.append((name, command.split()))

    for _, argv in programs:
        measure(argv)
    times = {name: [] for name, _ in programs}
    peaks = {name: [] for name, _ in programs}
    for _ in range(runs):
        for name, argv in programs:
            took, peak = measure(argv)
            times[name].append(took)
            if peak is not None:
                peaks[name].append(peak)

    what = "start to first paint" if measure is until_first_paint else "start to exit"
    print(f"runs: {runs} of each, alternating")
    reference = programs[0][0]
    for name, _ in programs:
        print(f"{name}:")
        print(f"  {what}: {spread(times[name], 1000, 'ms')}")
        if peaks[name]:
            print(f"  peak memory (VmHWM): {spread(peaks[name], 1 / 1024, 'MiB')}")
    for name, _ in programs[1:]:
        ratio = statistics.median(times[name]) / statistics.median(times[reference])
        line = f"ratio {name} / {reference}: time {ratio:.2f}"
        if peaks[name]:
            line += f", memory {statistics.median(peaks[name]) / statistics.median(peaks[reference]):.2f}"
        print(line + " (medians)")


if __name__ == "__main__":
    main()
