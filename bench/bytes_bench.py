#!/usr/bin/python3
"""What crosses the connection in one size query, and how long the query takes.

For each file size, `curl -sI` and every quorvane-size given ask an HTTP server on
127.0.0.1 in turn, RUNS times each, alternating: the project's test server (the body
written as zeros until the client goes), or with SERVER=nginx, nginx serving sparse
files of those sizes from a folder of its own (a real server: sendfile, as fast as
the client's window lets it). tcpdump on the loopback interface
records the whole run; each query is one connection, so the payload bytes that went
from the server to the client (head and body, what really crossed, not what the
server handed its kernel) are counted per connection. The query time is taken
around posix_spawn and waitpid of each query, nothing else.

Usage: bytes_bench.py QUORVANE_SIZE [QUORVANE_SIZE ...]   (e.g. an old build, then the new one)
Environment: RUNS (default 15), SIZES (default "1048576 5000000000"), SERVER (test or
nginx; default test).
"""

import contextlib
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from bench_support import spawn_and_wait, start_nginx

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "tests", "support", "http_server.py")
PACKET = re.compile(r"127\.0\.0\.1\.(\d+) > 127\.0\.0\.1\.(\d+): .*?\blength (\d+)")
SYN = re.compile(r"127\.0\.0\.1\.(\d+) > 127\.0\.0\.1\.(\d+): Flags \[S\]")


def which(name):
    for folder in os.environ.get("PATH", "/usr/bin").split(":"):
        path = os.path.join(folder, name)
        if os.access(path, os.X_OK):
            return path
    sys.exit(f"{name} not found")


@contextlib.contextmanager
def test_server(folder, sizes):
    server = subprocess.Popen(["/usr/bin/python3", SERVER, "--lifetime", "3600"],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        port = int(server.stdout.readline().split()[1])
        yield port, lambda size: f"http://127.0.0.1:{port}/file/{size}"
    finally:
        server.stdin.close()
        server.wait(timeout=10)


@contextlib.contextmanager
def nginx_server(folder, sizes):
    nginx, port = start_nginx(folder, {str(size): size for size in sizes})
    try:
        yield port, lambda size: f"http://127.0.0.1:{port}/{size}"
    finally:
        nginx.terminate()
        nginx.wait(timeout=10)


def start_tcpdump(port, pcap):
    # -U writes each packet as it comes; "listening on" on stderr says capture has begun.
    dump = subprocess.Popen(["tcpdump", "-i", "lo", "-nn", "-U", "--immediate-mode", "-s", "128", "-w", pcap,
                             f"tcp port {port}"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    line = dump.stderr.readline()
    if "listening" not in line:
        sys.exit(f"tcpdump did not start: {line.strip()}")
    return dump


def payload_per_connection(pcap, port):
    """Server-to-client payload bytes of each connection, in the order they opened."""
    text = subprocess.run(["tcpdump", "-r", pcap, "-nn", "-tt"], capture_output=True,
                          text=True, check=True).stdout
    order, sent = [], {}
    for line in text.splitlines():
        syn = SYN.search(line)
        if syn and int(syn.group(2)) == port:
            client = int(syn.group(1))
            order.append(client)
            sent[client] = 0
            continue
        packet = PACKET.search(line)
        if packet and int(packet.group(1)) == port and int(packet.group(2)) in sent:
            sent[int(packet.group(2))] += int(packet.group(3))
    return [sent[client] for client in order]


def summary(values, unit, scale=1.0, digits=1):
    values = sorted(v * scale for v in values)
    return (f"median {statistics.median(values):.{digits}f} {unit} "
            f"(min {values[0]:.{digits}f}, max {values[-1]:.{digits}f})")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__.strip().split("\n\n")[1])
    runs = int(os.environ.get("RUNS", "15"))
    sizes = [int(s) for s in os.environ.get("SIZES", "1048576 5000000000").split()]
    programs = [("curl -sI", [which("curl"), "-sI"])]
    programs += [(path, [os.path.realpath(path)]) for path in sys.argv[1:]]

    serving = {"test": test_server, "nginx": nginx_server}[os.environ.get("SERVER", "test")]
    with tempfile.TemporaryDirectory() as folder, serving(folder, sizes) as (port, url_of):
        for size in sizes:
            url = url_of(size)
            pcap = os.path.join(folder, f"{size}.pcap")
            dump = start_tcpdump(port, pcap)
            times = {name: [] for name, _ in programs}
            failures = {name: 0 for name, _ in programs}
            run_order = []
            for name, argv in programs:  # one warm-up each, also counted on the wire
                spawn_and_wait(argv + [url])
                run_order.append(None)
            for _ in range(runs):
                for name, argv in programs:
                    took, status = spawn_and_wait(argv + [url])
                    times[name].append(took)
                    failures[name] += status != 0
                    run_order.append(name)
            time.sleep(0.5)  # the last packets reach the capture
            dump.send_signal(signal.SIGTERM)
            dump.wait(timeout=10)
            counts = payload_per_connection(pcap, port)
            if len(counts) != len(run_order):
                sys.exit(f"{len(counts)} connections seen for {len(run_order)} queries")
            bytes_of = {name: [] for name, _ in programs}
            for name, count in zip(run_order, counts):
                if name is not None:
                    bytes_of[name].append(count)

            print(f"== file of {size} bytes from {os.environ.get('SERVER', 'test')}, {runs} queries each, alternating")
            reference = statistics.median(times["curl -sI"])
            for name, _ in programs:
                print(f"{name}:")
                print(f"  server->client payload: {summary(bytes_of[name], 'B', digits=0)}")
                print(f"  query time:             {summary(times[name], 'ms', 1000)}")
                ratio = statistics.median(times[name]) / reference
                print(f"  time ratio to curl -sI (medians): {ratio:.2f}"
                      + (f"   ({failures[name]} queries failed)" if failures[name] else ""))


if __name__ == "__main__":
    main()
