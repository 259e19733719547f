"""What every test server shares: it ends with the tests that started it, and it writes
what it was asked to a log the tests read.

A server ends when its stdin closes (the test process has gone, however it ended), on
SIGTERM or SIGINT, and after its lifetime at the latest, so that none is ever left behind.
"""

import os
import signal
import sys
import threading


def _stop(*_):
    os._exit(0)


def _watch_stdin():
    try:
        while sys.stdin.buffer.read1(4096):
            pass
    except (OSError, ValueError):
        pass
    _stop()


def end_with_the_tests(lifetime):
    signal.signal(signal.SIGTERM, _stop)
    signal.signal(signal.SIGINT, _stop)
    threading.Thread(target=_watch_stdin, daemon=True).start()
    timer = threading.Timer(lifetime, _stop)
    timer.daemon = True
    timer.start()


_log_file = None
_log_lock = threading.Lock()


def open_log(path):
    """Lines given to log_line go to `path` from now on; without a path, nowhere."""
    global _log_file
    if path:
        _log_file = open(path, "a", encoding="ascii", errors="backslashreplace")


def log_line(line):
    """One line, written whole and flushed, whichever thread writes it."""
    if _log_file is None:
        return
    with _log_lock:
        _log_file.write(line + "\n")
        _log_file.flush()


def announce_port(port):
    """Tells the test which port was given to the server."""
    sys.stdout.write("PORT %d\n" % port)
    sys.stdout.flush()
