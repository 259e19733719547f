"""What the benchmarks share: timing a process, and nginx on a free port of 127.0.0.1."""

import os
import shutil
import socket
import subprocess
import sys
import time


def spawn_and_wait(argv):
    devnull = os.open(os.devnull, os.O_WRONLY)
    try:
        actions = [(os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)]
        start = time.perf_counter()
        pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
        _, status = os.waitpid(pid, 0)
        took = time.perf_counter() - start
    finally:
        os.close(devnull)
    return took, os.waitstatus_to_exitcode(status)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def start_nginx(folder, files={"big": 5_000_000_000}):
    """nginx on a free port of 127.0.0.1, serving sparse files of the given sizes by name."""
    port = free_port()
    os.makedirs(os.path.join(folder, "www"))
    for name, size in files.items():
        with open(os.path.join(folder, "www", name), "wb") as file:
            file.truncate(size)
    conf = os.path.join(folder, "nginx.conf")
    with open(conf, "w") as out:
        out.write(f"""worker_processes 1;
error_log {folder}/error.log;
pid {folder}/nginx.pid;
events {{ worker_connections 1024; }}
http {{
  access_log off;
  client_body_temp_path {folder}; proxy_temp_path {folder}; fastcgi_temp_path {folder};
  uwsgi_temp_path {folder}; scgi_temp_path {folder};
  server {{ listen 127.0.0.1:{port}; root {folder}/www; }}
}}
""")
    nginx = subprocess.Popen([shutil.which("nginx") or "/usr/sbin/nginx", "-c", conf, "-g", "daemon off;"])
    # nginx tells no one when it listens: a bounded wait for its port to accept.
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return nginx, port
        except OSError:
            time.sleep(0.05)
    sys.exit("nginx did not start")
