#!/usr/bin/python3
"""How soon a window started with an address asks for it: spawn to the request's head.

  first_query.py RUNS NAME=QUORVANE [NAME=QUORVANE ...]

A listener on 127.0.0.1 stands for the server. Each run spawns `QUORVANE http://…` and
takes the time when the request's head has arrived (accept and read, waited for with
select, at most 10 s); the server answers with a head, and 0.3 s later the program is
ended with SIGTERM. The programs alternate run after run after one warm-up each; the
first is the reference for the ratios. Needs DISPLAY and private settings (see
bench-first-query.sh).
"""

import os
import select
import signal
import socket
import statistics
import sys
import time


def one_query(listener, argv):
    devnull = os.open(os.devnull, os.O_RDWR)
    actions = [(os.POSIX_SPAWN_DUP2, devnull, 0), (os.POSIX_SPAWN_DUP2, devnull, 1)]
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
    os.close(devnull)
    try:
        if not select.select([listener], [], [], 10)[0]:
            raise SystemExit(f"{argv[0]} asked nothing within 10 s")
        connection, _ = listener.accept()
        with connection:
            connection.settimeout(10)
            head = b""
            while b"\r\n\r\n" not in head:
                data = connection.recv(4096)
                if not data:
                    raise SystemExit(f"{argv[0]} closed before its request was complete")
                head += data
            asked = time.perf_counter()
            connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n")
            time.sleep(0.3)
    finally:
        os.kill(pid, signal.SIGTERM)
        os.waitpid(pid, 0)
    return asked - start


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__.strip().split("\n\n")[0])
    runs = int(sys.argv[1])
    listener = socket.socket()
    listener.bind(("127.0.0.1", 0))
    listener.listen(4)
    url = f"http://127.0.0.1:{listener.getsockname()[1]}/file"
    programs = []
    for spec in sys.argv[2:]:
        name, _, path = spec.partition("=")
        programs.append((name, [path, url]))

    for _, argv in programs:
        one_query(listener, argv)
    times = {name: [] for name, _ in programs}
    for _ in range(runs):
        for name, argv in programs:
            times[name].append(one_query(listener, argv))

    print(f"runs: {runs} of each, alternating")
    for name, _ in programs:
        values = sorted(t * 1000 for t in times[name])
        print(f"{name}: start to the first request "
              f"median {statistics.median(values):.1f} ms (min {values[0]:.1f}, max {values[-1]:.1f})")
    reference = statistics.median(times[programs[0][0]])
    for name, _ in programs[1:]:
        print(f"ratio {name} / {programs[0][0]}: {statistics.median(times[name]) / reference:.2f} (medians)")


if __name__ == "__main__":
    main()
