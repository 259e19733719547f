#!/usr/bin/python3
"""The UI thread's stall at a clipboard change: the first copy of a window against later ones.

  clipboard_stall.py QUORVANE WINDOWS COPIES

Runs on the X server in DISPLAY. WINDOWS times, one after another: quorvane starts (its
first paint is awaited through QUORVANE_FIRST_PAINT_FD), another program's window (xev)
takes the focus, as a browser would, and xclip copies COPIES addresses one after another,
each a different one that the window takes and asks (a port where nothing listens, so the
query ends at once). For each change the window writes to QUORVANE_CLIPBOARD_STALL_FD the
microseconds from the clipboard signal's delivery until its event loop was next about to
wait. The first copy of each window is set against the later copies of all windows:
medians, min–max and the ratio of the medians. Every wait has a bound.
"""

import os
import select
import signal
import statistics
import subprocess
import sys
import time

DEADLINE = 10  # seconds for any one awaited event


def read_within(fd, what):
    if not select.select([fd], [], [], DEADLINE)[0]:
        raise SystemExit(f"no {what} within {DEADLINE} s")
    return os.read(fd, 64)


def start_window(quorvane):
    paint_read, paint_write = os.pipe()
    stall_read, stall_write = os.pipe()
    for fd in (paint_write, stall_write):
        os.set_inheritable(fd, True)
    env = dict(os.environ, QUORVANE_FIRST_PAINT_FD=str(paint_write), QUORVANE_CLIPBOARD_STALL_FD=str(stall_write))
    window = subprocess.Popen([quorvane], env=env, pass_fds=(paint_write, stall_write),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(paint_write)
    os.close(stall_write)
    try:
        read_within(paint_read, "first paint")
    finally:
        os.close(paint_read)
    return window, stall_read


def focus_another_program():
    other = subprocess.Popen(["xev", "-name", "another-program"], stdout=subprocess.DEVNULL)
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^another-program$"],
                           capture_output=True, text=True, timeout=DEADLINE).stdout.split()
    subprocess.run(["xdotool", "windowfocus", "--sync", found[0]], check=True, timeout=DEADLINE)
    # Qt's xcb platform lets a window lose the focus only after a short delay.
    time.sleep(1)
    return other


def copy(text):
    # xclip forks a child that serves the selection until another owner takes it; the
    # parent returns once it owns the selection.
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=text.encode(), check=True,
                   timeout=DEADLINE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def stalls_of_one_window(quorvane, copies, window_number):
    window, stall_read = start_window(quorvane)
    other = focus_another_program()
    stalls = []
    try:
        for n in range(copies):
            copy(f"http://127.0.0.1:9/window-{window_number}/copy-{n}")
            stalls.append(int(read_within(stall_read, "clipboard stall figure").split()[0]) / 1000)
            time.sleep(0.3)  # the query (refused at once) ends before the next copy
    finally:
        os.close(stall_read)
        for process in (other, window):
            process.send_signal(signal.SIGTERM)
            process.wait(timeout=DEADLINE)
    return stalls


def spread(values):
    values = sorted(values)
    return f"median {statistics.median(values):.2f} ms (min {values[0]:.2f}, max {values[-1]:.2f})"


def main():
    if len(sys.argv) != 4:
        raise SystemExit(__doc__.strip().split("\n\n")[1])
    quorvane, windows, copies = os.path.realpath(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
    first, later = [], []
    for number in range(windows):
        stalls = stalls_of_one_window(quorvane, copies, number)
        first.append(stalls[0])
        later += stalls[1:]
    print(f"windows: {windows}, {copies} copies each")
    print(f"first copy:   {spread(first)}")
    print(f"later copies: {spread(later)}")
    print(f"ratio first / later: {statistics.median(first) / statistics.median(later):.2f} (medians)")


if __name__ == "__main__":
    main()
