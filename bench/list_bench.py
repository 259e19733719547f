#!/usr/bin/python3
"""A list of addresses: quorvane-size against curl --parallel, in the same run.

Two servers on 127.0.0.1, each asked for COUNT addresses (default 100):
  slow   tests/support/http_server.py, every answer DELAY seconds late (default 0.2),
         as a far server is
  nginx  nginx serving a real 5 GB sparse file from a folder of its own, no delay

For each, these run RUNS times (default 5), alternating, and their medians (min-max)
and ratios to the reference are printed:
  curl      curl -s --parallel --parallel-max N -o /dev/null -r 0-0 ... (the reference;
            N as quorvane-size's --parallel)
  list      quorvane-size --parallel N --input LIST
  loop      one quorvane-size per address, one after another (once: it is slow)
Each run is one process (or, for the loop, one after another), timed from posix_spawn
to waitpid, nothing else in between.

Usage: list_bench.py QUORVANE_SIZE
Environment: RUNS, COUNT, DELAY, PARALLEL (default 16). Needs curl and nginx (installed
by bench-list.sh when missing).
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from bench_support import spawn_and_wait, start_nginx

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "..", "tests", "support", "http_server.py")


def start_test_server():
    server = subprocess.Popen(["/usr/bin/python3", SERVER, "--lifetime", "3600"],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    return server, int(server.stdout.readline().split()[1])


def summary(times):
    return statistics.median(times), min(times), max(times)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    size_tool = os.path.abspath(sys.argv[1])
    runs = int(os.environ.get("RUNS", "5"))
    count = int(os.environ.get("COUNT", "100"))
    delay = float(os.environ.get("DELAY", "0.2"))
    parallel = os.environ.get("PARALLEL", "16")
    curl = shutil.which("curl")
    os.environ["XDG_CONFIG_HOME"] = tempfile.mkdtemp()

    folder = tempfile.mkdtemp()
    server, slow_port = start_test_server()
    nginx, nginx_port = start_nginx(folder)
    try:
        targets = {
            "slow": [f"http://127.0.0.1:{slow_port}/file/{n}?delay={delay}" for n in range(count)],
            "nginx": [f"http://127.0.0.1:{nginx_port}/big?n={n}" for n in range(count)],
        }
        for name, addresses in targets.items():
            listing = os.path.join(folder, name + ".list")
            with open(listing, "w") as out:
                out.write("\n".join(addresses) + "\n")
            curl_argv = [curl, "-s", "--parallel", "--parallel-max", parallel, "-r", "0-0"]
            for address in addresses:
                curl_argv += ["-o", "/dev/null", address]
            commands = {
                "curl": curl_argv,
                "list": [size_tool, "--parallel", parallel, "--input", listing],
            }
            times = {key: [] for key in commands}
            for _ in range(runs):
                for key, argv in commands.items():
                    took, status = spawn_and_wait(argv)
                    if status not in (0, 1):
                        sys.exit(f"{key} failed with {status}")
                    times[key].append(took)
            start = time.perf_counter()
            for address in addresses:
                spawn_and_wait([size_tool, address])
            loop = time.perf_counter() - start
            reference = statistics.median(times["curl"])
            print(f"{name}: {count} addresses, parallel {parallel}, {runs} runs each")
            for key in commands:
                median, low, high = summary(times[key])
                print(f"  {key:5} {median * 1000:8.1f} ms ({low * 1000:.1f}-{high * 1000:.1f})"
                      f"  ratio {median / reference:.2f}")
            print(f"  loop  {loop * 1000:8.1f} ms (once)  ratio {loop / reference:.2f}")
    finally:
        server.stdin.close()
        server.wait()
        nginx.terminate()
        nginx.wait()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
